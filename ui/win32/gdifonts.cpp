#include "gdifonts.h"

#include "text.h"

namespace dosat::win32 {

HFONT MakeFont(const fonts::Face& face, int pixelHeight) {
  return CreateFontW(-pixelHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                     Wide(face.families.front()).c_str());
}

GdiMeasure::GdiMeasure(HWND hwnd) : hwnd_(hwnd) {}

GdiMeasure::~GdiMeasure() {
  for (const Made& made : fonts_) DeleteObject(made.font);
  if (dc_) ReleaseDC(hwnd_, dc_);
}

int GdiMeasure::Lines(std::string_view text, const fonts::Face& face, int pixelHeight, int width) const {
  // Asked for only where the window is laid out at another scale than designed.
  if (!dc_) dc_ = GetDC(hwnd_);
  const HGDIOBJ old = SelectObject(dc_, fontOf(face, pixelHeight));
  TEXTMETRICW metrics;
  GetTextMetricsW(dc_, &metrics);
  RECT r{0, 0, width, 0};
  DrawTextW(dc_, Wide(text).c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc_, old);
  return r.bottom / (metrics.tmHeight > 0 ? metrics.tmHeight : 1);
}

HFONT GdiMeasure::fontOf(const fonts::Face& face, int pixelHeight) const {
  const std::string_view family = face.families.front();
  for (const Made& made : fonts_) {
    if (made.family == family && made.pixelHeight == pixelHeight) return made.font;
  }
  fonts_.push_back({family, pixelHeight, MakeFont(face, pixelHeight)});
  return fonts_.back().font;
}

}  // namespace dosat::win32
