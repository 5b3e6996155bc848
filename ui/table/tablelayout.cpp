#include "tablelayout.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>
#include <type_traits>

#include "dosat/floatchars.h"
#include "textlines.h"

namespace dosat::table {
namespace {

using text::fields;
using text::lines;
using text::setError;
using text::trimmed;

template <typename Number>
std::optional<Number> Parsed(std::string_view text) {
  Number value{};
  const auto [end, ec] = [&] {
    if constexpr (std::is_floating_point_v<Number>) {
      return ReadDouble(text.data(), text.data() + text.size(), value);
    } else {
      return std::from_chars(text.data(), text.data() + text.size(), value);
    }
  }();
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

std::string ToText(int value) { return std::to_string(value); }

std::string ToText(double value) {
  // Shortest text that reads back as the same double, whatever the C locale says.
  char buffer[32];
  const auto [end, ec] = WriteShortest(buffer, buffer + sizeof buffer, value);
  return ec == std::errc() ? std::string(buffer, end) : std::string("0");
}

constexpr std::string_view AlignName(Align align) {
  switch (align) {
    case Align::Left: return "left";
    case Align::Centre: return "centre";
    case Align::Right: return "right";
  }
  return "left";
}

std::optional<Align> AlignFromName(std::string_view name) {
  for (const Align a : {Align::Left, Align::Centre, Align::Right}) {
    if (name == AlignName(a)) return a;
  }
  return std::nullopt;
}

/// Reads `count` integers (any number if `count` is 0) from `words`; nothing if one is not.
std::optional<std::vector<int>> integers(const std::vector<std::string_view>& words, std::size_t first,
                                         std::size_t count) {
  if (count != 0 && words.size() != first + count) return std::nullopt;
  std::vector<int> values;
  for (std::size_t i = first; i < words.size(); ++i) {
    const auto v = Parsed<int>(words[i]);
    if (!v) return std::nullopt;
    values.push_back(*v);
  }
  return values;
}

/// Pixels [first, last] of one axis at `ratio`: each pixel maps as a 1-px rule does, so
/// a span that ends on a crossing rule ends where that rule ends.
std::pair<int, int> ScaleSpan(int first, int last, double ratio) {
  return {ScalePosition(first, ratio), ScalePosition(last, ratio) + ScaleThickness(1, ratio) - 1};
}

}  // namespace

std::string FormatLayout(const TableLayout& layout) {
  std::string out =
      "# The drawing of assets/do-table.bmp, in its pixels; written by tools/make_table_bitmap.\n"
      "# Format: assets/README.md.\n";
  const auto line = [&out](std::string_view key, const std::vector<int>& values) {
    out += key;
    for (const int v : values) out += ' ' + ToText(v);
    out += '\n';
  };
  line("size", {layout.width, layout.height});
  line("clip", {layout.clip.x, layout.clip.y, layout.clip.width, layout.clip.height});
  line("columns", layout.columnRules);
  line("top", {layout.topRule});
  line("rows", layout.rowRules);
  for (const PixelRect& r : layout.rules) line("rule", {r.x, r.y, r.width, r.height});
  for (const TextRun& t : layout.texts) {
    out += "text " + ToText(t.pixelSize) + ' ' + ToText(t.letterSpacing) + ' ' + std::string(AlignName(t.align)) +
           ' ' + ToText(t.anchorX) + ' ' + ToText(t.baseline) + ' ' + t.text + '\n';
  }
  return out;
}

std::optional<TableLayout> ParseLayout(std::string_view text, std::string* error) {
  TableLayout layout;
  bool haveSize = false, haveClip = false, haveTop = false;
  const auto all = lines(text);
  for (std::size_t i = 0; i < all.size(); ++i) {
    const std::string_view line = all[i];
    if (trimmed(line).empty() || line.front() == '#') continue;
    const std::string where = "line " + std::to_string(i + 1);
    const auto bad = [&](std::string_view what) {
      setError(error, where + ": " + std::string(what));
      return std::nullopt;
    };
    const std::string_view key = line.substr(0, line.find(' '));
    if (key == "text") {
      // The text is everything after the sixth space, spaces and all.
      const auto words = fields(line, ' ', 7);
      if (words.size() != 7 || words[6].empty()) return bad("a text needs size, spacing, alignment, x, baseline and text");
      const auto size = Parsed<int>(words[1]);
      const auto spacing = Parsed<int>(words[2]);
      const auto align = AlignFromName(words[3]);
      const auto x = Parsed<double>(words[4]);
      const auto baseline = Parsed<int>(words[5]);
      if (!size || *size <= 0 || !spacing || !align || !x || !std::isfinite(*x) || !baseline) {
        return bad("malformed text");
      }
      layout.texts.push_back({std::string(words[6]), *size, *spacing, *align, *x, *baseline});
      continue;
    }
    const auto words = fields(trimmed(line), ' ');
    if (key == "size" || key == "clip" || key == "rule") {
      const auto v = integers(words, 1, key == "size" ? 2 : 4);
      if (!v) return bad("expected " + std::string(key == "size" ? "2" : "4") + " integers");
      if (key == "size") {
        if ((*v)[0] <= 0 || (*v)[1] <= 0) return bad("the size must be positive");
        layout.width = (*v)[0];
        layout.height = (*v)[1];
        haveSize = true;
        continue;
      }
      const PixelRect rect{(*v)[0], (*v)[1], (*v)[2], (*v)[3]};
      if (rect.width <= 0 || rect.height <= 0) return bad("a rectangle must have a positive size");
      if (key == "clip") {
        layout.clip = rect;
        haveClip = true;
      } else {
        layout.rules.push_back(rect);
      }
    } else if (key == "top") {
      const auto v = integers(words, 1, 1);
      if (!v) return bad("expected 1 integer");
      layout.topRule = v->front();
      haveTop = true;
    } else if (key == "columns" || key == "rows") {
      const auto v = integers(words, 1, 0);
      if (!v || !std::is_sorted(v->begin(), v->end())) return bad("expected rising integers");
      (key == "columns" ? layout.columnRules : layout.rowRules) = *v;
    } else {
      return bad("unknown line \"" + std::string(key) + "\"");
    }
  }
  if (!haveSize || !haveClip || !haveTop) {
    setError(error, "the layout lacks its size, clip or top line");
    return std::nullopt;
  }
  if (layout.columnRules.size() != kColumnCount + 1 || layout.rowRules.size() != kRowCount + 1) {
    setError(error, "the layout needs 8 column rules and 37 row rules");
    return std::nullopt;
  }
  return layout;
}

int ScalePosition(int p, double ratio) { return int(std::lround(p * ratio)); }

int ScaleThickness(int t, double ratio) { return std::max(1, int(std::lround(t * ratio))); }

TableLayout ScaleLayout(const TableLayout& layout, double ratio) {
  TableLayout out = layout;
  const auto area = [ratio](const PixelRect& r) {
    const int x = ScalePosition(r.x, ratio), y = ScalePosition(r.y, ratio);
    return PixelRect{x, y, ScalePosition(r.x + r.width, ratio) - x, ScalePosition(r.y + r.height, ratio) - y};
  };
  const PixelRect picture = area({0, 0, layout.width, layout.height});
  out.width = picture.width;
  out.height = picture.height;
  out.clip = area(layout.clip);

  for (PixelRect& r : out.rules) {
    // The short side is the thickness; a square rule is thin both ways.
    const bool thinAcross = r.height <= r.width;  // horizontal: thin vertically
    const bool thinAlong = r.width <= r.height;
    PixelRect s;
    if (thinAlong) {
      s.x = ScalePosition(r.x, ratio);
      s.width = ScaleThickness(r.width, ratio);
    } else {
      const auto [first, last] = ScaleSpan(r.x, r.x + r.width - 1, ratio);
      s.x = first;
      s.width = last - first + 1;
    }
    if (thinAcross) {
      s.y = ScalePosition(r.y, ratio);
      s.height = ScaleThickness(r.height, ratio);
    } else {
      const auto [first, last] = ScaleSpan(r.y, r.y + r.height - 1, ratio);
      s.y = first;
      s.height = last - first + 1;
    }
    r = s;
  }
  for (TextRun& t : out.texts) {
    t.pixelSize = std::max(1, int(std::lround(t.pixelSize * ratio)));
    t.letterSpacing = int(std::lround(t.letterSpacing * ratio));
    t.anchorX *= ratio;
    t.baseline = ScalePosition(t.baseline, ratio);
  }
  for (int& x : out.columnRules) x = ScalePosition(x, ratio);
  out.topRule = ScalePosition(out.topRule, ratio);
  for (int& y : out.rowRules) y = ScalePosition(y, ratio);
  return out;
}

double ShownRatio(const TableLayout& layout, double ratio, int width, int height) {
  if (layout.clip.width > 0) ratio = std::min(ratio, double(width) / layout.clip.width);
  if (layout.clip.height > 0) ratio = std::min(ratio, double(height) / layout.clip.height);
  return ratio;
}

PixelRect CellRect(const TableLayout& layout, int row, int column, double ratio) {
  const auto at = [ratio](int p) { return ScalePosition(p, ratio); };
  const std::vector<int>& x = layout.columnRules;
  const std::vector<int>& y = layout.rowRules;
  const int top = at(row < 0 ? layout.topRule : y[std::size_t(row)]);
  const int bottom = at(y[std::size_t(row + 1)]);
  const int left = at(x[std::size_t(column)]), right = at(x[std::size_t(column) + 1]);
  return {left + 1 - at(layout.clip.x), top + 1 - at(layout.clip.y), right - left - 1, bottom - top - 1};
}

}  // namespace dosat::table
