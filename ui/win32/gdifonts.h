#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string_view>
#include <vector>

#include "fonts.h"
#include "plan.h"

namespace dosat::win32 {

/// A GDI font of `face`'s first family, `pixelHeight` pixels to the em, normal weight,
/// for Japanese text: Windows finds a stand-in for the family where it is missing.
HFONT MakeFont(const fonts::Face& face, int pixelHeight);

/// Lines of text as GDI wraps them in a window's device context, in fonts made once for
/// each face and size asked for.
class GdiMeasure final : public plan::TextMeasure {
 public:
  explicit GdiMeasure(HWND hwnd);
  ~GdiMeasure();
  GdiMeasure(const GdiMeasure&) = delete;
  GdiMeasure& operator=(const GdiMeasure&) = delete;

  int Lines(std::string_view text, const fonts::Face& face, int pixelHeight, int width) const override;

 private:
  HFONT fontOf(const fonts::Face& face, int pixelHeight) const;

  HWND hwnd_;
  mutable HDC dc_ = nullptr;
  struct Made {
    std::string_view family;
    int pixelHeight;
    HFONT font;
  };
  mutable std::vector<Made> fonts_;
};

}  // namespace dosat::win32
