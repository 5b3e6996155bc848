#include "contrast.h"

#include <algorithm>
#include <cmath>

#include "design.h"

namespace dosat::contrast {
namespace {

struct Rgb {
  double r, g, b;  // 0 to 1
};

Rgb Channels(std::uint32_t colour) {
  return {(colour & 0xFF) / 255.0, ((colour >> 8) & 0xFF) / 255.0, ((colour >> 16) & 0xFF) / 255.0};
}

std::uint32_t Pack(const Rgb& c) {
  const auto byte = [](double v) {
    return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0));
  };
  return byte(c.r) | byte(c.g) << 8 | byte(c.b) << 16;
}

double Linear(double channel) {
  return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

struct Hsl {
  double h, s, l;  // hue in sixths of a turn, 0 to 6
};

Hsl ToHsl(const Rgb& c) {
  const double high = std::max({c.r, c.g, c.b}), low = std::min({c.r, c.g, c.b});
  const double l = (high + low) / 2, chroma = high - low;
  if (chroma == 0) return {0, 0, l};
  const double s = chroma / (1 - std::abs(2 * l - 1));
  double h = high == c.r ? std::fmod((c.g - c.b) / chroma + 6, 6)
             : high == c.g ? (c.b - c.r) / chroma + 2
                           : (c.r - c.g) / chroma + 4;
  return {h, s, l};
}

Rgb FromHsl(const Hsl& c) {
  const double chroma = (1 - std::abs(2 * c.l - 1)) * c.s;
  const double x = chroma * (1 - std::abs(std::fmod(c.h, 2) - 1));
  const double m = c.l - chroma / 2;
  Rgb out{};
  switch (static_cast<int>(c.h) % 6) {
    case 0: out = {chroma, x, 0}; break;
    case 1: out = {x, chroma, 0}; break;
    case 2: out = {0, chroma, x}; break;
    case 3: out = {0, x, chroma}; break;
    case 4: out = {x, 0, chroma}; break;
    default: out = {chroma, 0, x}; break;
  }
  return {out.r + m, out.g + m, out.b + m};
}

}  // namespace

double Luminance(std::uint32_t colour) {
  const Rgb c = Channels(colour);
  return 0.2126 * Linear(c.r) + 0.7152 * Linear(c.g) + 0.0722 * Linear(c.b);
}

double Ratio(std::uint32_t a, std::uint32_t b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::uint32_t Readable(std::uint32_t colour, std::uint32_t background) {
  if (Ratio(colour, background) >= kMinimum) return colour;
  const Hsl start = ToHsl(Channels(colour));
  // Outwards from the colour's own lightness, darker and lighter by turns, in
  // steps finer than one level of an 8-bit channel; lightness 0 and 1 are black
  // and white, one of which always reads.
  constexpr int kSteps = 1024;
  for (int step = 1; step <= kSteps; ++step) {
    std::uint32_t best = 0;
    double bestRatio = 0;
    for (const double l : {start.l - double(step) / kSteps, start.l + double(step) / kSteps}) {
      if (l < 0 || l > 1) continue;
      const std::uint32_t candidate = Pack(FromHsl({start.h, start.s, l}));
      const double ratio = Ratio(candidate, background);
      if (ratio >= kMinimum && ratio > bestRatio) {
        best = candidate;
        bestRatio = ratio;
      }
    }
    if (bestRatio > 0) return best;
  }
  return Luminance(background) > 0.18 ? 0x000000 : 0xFFFFFF;
}

std::uint32_t TextColour(std::uint32_t designed, std::uint32_t background,
                         std::uint32_t systemText, Palette palette) {
  if (designed == design::kDefaultColour) return systemText;
  switch (palette) {
    case Palette::Designed: return designed;
    case Palette::Other: return Readable(designed, background);
    case Palette::HighContrast: break;
  }
  return systemText;
}

std::uint32_t ControlTextColour(const design::Control& row, const Desktop& desktop) {
  const bool field = row.kind == design::Kind::TextBox;
  return TextColour(row.colour, field ? desktop.field : desktop.window,
                    field ? desktop.fieldText : desktop.windowText, desktop.palette);
}

std::uint32_t WindowBackground(std::uint32_t designed, std::uint32_t face, std::uint32_t field, Palette palette) {
  if (designed == design::kDefaultColour) return face;
  return palette == Palette::HighContrast ? field : designed;
}

TableColours TableColoursOn(const Desktop& desktop) {
  if (desktop.palette == Palette::HighContrast) return {desktop.fieldText, desktop.field};
  return {};
}

}  // namespace dosat::contrast
