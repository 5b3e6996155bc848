#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "fonts.h"

namespace dosat::win32 {

/// A GDI font of `face`'s first family, `pixelHeight` pixels to the em, normal weight,
/// for Japanese text: Windows finds a stand-in for the family where it is missing.
HFONT MakeFont(const fonts::Face& face, int pixelHeight);

}  // namespace dosat::win32
