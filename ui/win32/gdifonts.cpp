#include "gdifonts.h"

#include "text.h"

namespace dosat::win32 {

HFONT MakeFont(const fonts::Face& face, int pixelHeight) {
  return CreateFontW(-pixelHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                     Wide(face.families.front()).c_str());
}

}  // namespace dosat::win32
