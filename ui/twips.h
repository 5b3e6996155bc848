#pragma once

#include <QRect>

// Window and control geometry is designed in twips, 1440 to the inch. At the
// 96 dots per inch of Qt's logical pixels that is 15 twips to the pixel.
namespace dosat::twips {

inline constexpr int kPerPixel = 15;

/// Twips to logical pixels, to the nearest pixel.
constexpr int toPixels(double twips) {
  const double pixels = twips / kPerPixel;
  return static_cast<int>(pixels < 0 ? pixels - 0.5 : pixels + 0.5);
}

/// Logical pixels to twips, in single precision as window placement uses.
constexpr float fromPixels(int pixels) { return static_cast<float>(pixels * kPerPixel); }

/// A rectangle given in twips, in logical pixels.
constexpr QRect toPixels(int left, int top, int width, int height) {
  return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

}  // namespace dosat::twips
