#pragma once

// The table picture of the table window as data: the rules and the texts of the drawing,
// in pixels. Standard C++ only, so that every renderer (Qt's, GDI on Windows, the page's
// canvas) draws from the same description. The numbers are in tablenumbers.h.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tablenumbers.h"

namespace dosat::table {

/// A rectangle of whole pixels.
struct PixelRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;

  bool operator==(const PixelRect&) const = default;
};

/// Which point of a text's advance its anchor is.
enum class Align { Left, Centre, Right };

/// One line of text drawn in the table's face (IPA P Gothic).
struct TextRun {
  std::string text;        ///< UTF-8
  int pixelSize = 0;       ///< the font's pixel size (em height)
  int letterSpacing = 0;   ///< pixels added after every character, counted in the advance
  Align align = Align::Left;
  /// The left end, middle or right end of the text's advance, per `align`. A renderer puts
  /// the text's origin at floor(anchorX - k * advance), k = 0, 1/2 or 1, with its own advance:
  /// with the generator's metrics that is exactly where the generator drew it, and with others
  /// right-aligned numbers still line up on their decimal points.
  double anchorX = 0;
  int baseline = 0;        ///< the baseline's pixel row

  bool operator==(const TextRun&) const = default;
};

/// The drawing of the table picture: filled black rectangles on white, then texts in black.
struct TableLayout {
  int width = 0;   ///< the picture's size
  int height = 0;
  /// The part of the picture the table window shows (the picture box's interior; it may
  /// reach past the picture, where it is white).
  PixelRect clip;
  std::vector<PixelRect> rules;
  std::vector<TextRun> texts;
  /// Where the cells are, for assistive technology: the x of the rule left of each column
  /// and of the right frame (kColumnCount + 1 values), the y of the table's top rule, and
  /// the y of the rule above each row and of the bottom rule (kRowCount + 1 values).
  std::vector<int> columnRules;
  int topRule = 0;
  std::vector<int> rowRules;

  bool operator==(const TableLayout&) const = default;
};

/// The layout as the text of `assets/do-table-layout.txt` (format in `assets/README.md`).
std::string FormatLayout(const TableLayout& layout);

/// The layout from that text; nothing (and a message naming the line in `error`, if given)
/// when a line is malformed or the grid has the wrong number of rules.
std::optional<TableLayout> ParseLayout(std::string_view text, std::string* error = nullptr);

/// Where the pixel edge at 1x coordinate `p` lies at `ratio`: round(p * ratio).
int ScalePosition(int p, double ratio);

/// A rule's thickness `t` at `ratio`: round(t * ratio), at least 1, the same for every
/// rule of that thickness wherever it lies.
int ScaleThickness(int t, double ratio);

/// `layout` for a device with `ratio` device pixels per picture pixel. A rule keeps its
/// thickness `ScaleThickness` across its short side and starts at `ScalePosition`; along
/// its length it runs to the far side of the scaled pixel it ended on, so that rules still
/// meet at the corners. Text anchors and baselines move with the ratio, font sizes and
/// letter spacing are scaled and rounded; the picture's size and the clip keep their
/// edges at round(edge * ratio), and the grid positions move as the rules do.
TableLayout ScaleLayout(const TableLayout& layout, double ratio);

/// Where the cell in `row` (-1 for the headings) and `column` is, for screen readers, in
/// `layout` drawn at `ratio`: inside its rules as they are drawn, from the top-left corner
/// of the shown part (the clip).
PixelRect CellRect(const TableLayout& layout, int row, int column, double ratio);

/// The ratio to draw `layout` at in a picture box whose interior is `width` × `height`
/// pixels, in a window laid out at `ratio` pixels per picture pixel: `ratio`, or less
/// where the box's edge, which keeps its width, leaves less room than the shown part
/// (the clip) takes at `ratio`, so that the whole table stays in view.
double ShownRatio(const TableLayout& layout, double ratio, int width, int height);

}  // namespace dosat::table
