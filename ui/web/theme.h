#pragma once

#include <cstdint>
#include <string>

#include "design.h"

namespace dosat::web {

/// A colour 0x00BBGGRR as CSS writes it, "#rrggbb".
std::string CssColour(std::uint32_t colour);

/// 0x00BBGGRR of a colour the page gives as 0xRRGGBB.
std::uint32_t FromPage(unsigned rgb);

/// Gives each control of the window `handle` that sets a text colour the colour the
/// contrast rule makes of it on the page's colours of the moment.
void ApplyTextColours(int handle, const design::Window& design);

}  // namespace dosat::web
