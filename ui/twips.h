#pragma once

// Window and control geometry is designed in twips, 1440 to the inch: 15 to
// the pixel at 96 dots per inch, the resolution of Qt's logical pixels and of
// an unscaled Windows screen.
namespace dosat::twips {

inline constexpr int kPerInch = 1440;
inline constexpr int kPerPixelAt96Dpi = kPerInch / 96;

/// Twips per pixel on a screen of `dpi` dots per inch.
constexpr double PerPixel(int dpi) { return static_cast<double>(kPerInch) / dpi; }

/// Twips to pixels, to the nearest pixel, halves away from zero.
constexpr int ToPixels(double twips, double twipsPerPixel = kPerPixelAt96Dpi) {
  const double pixels = twips / twipsPerPixel;
  return static_cast<int>(pixels < 0 ? pixels - 0.5 : pixels + 0.5);
}

/// Pixels to twips, in single precision as window placement uses.
constexpr float FromPixels(int pixels, double twipsPerPixel = kPerPixelAt96Dpi) {
  return static_cast<float>(pixels * twipsPerPixel);
}

}  // namespace dosat::twips
