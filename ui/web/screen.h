#pragma once

#include "placement.h"

namespace dosat::web {

/// CSS pixels of the page in twips, fractions and all.
float Twips(double pixels);

/// The page's viewport as the one monitor windows are placed on. The page scrolls down
/// but never sideways: the work area is the viewport's width, and as tall as the viewport
/// or as `tallest` (the tallest window's frame, in twips), whichever is taller. So a window
/// wider than the viewport is drawn smaller to fit it, and one only taller keeps its size,
/// its title bar at the top of the page.
placement::Monitor Viewport(float tallest);

}  // namespace dosat::web
