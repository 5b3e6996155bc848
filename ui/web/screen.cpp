#include "screen.h"

#include <algorithm>

#include "page.h"
#include "twips.h"

namespace dosat::web {

float Twips(double pixels) { return static_cast<float>(pixels * twips::kPerPixelAt96Dpi); }

placement::Monitor Viewport(float tallest) {
  const float width = twips::FromPixels(dosat_screen_width());
  const float height = twips::FromPixels(dosat_screen_height());
  placement::Monitor monitor;
  monitor.screen = {0, 0, width, height};
  monitor.work = {0, 0, width, std::max(height, tallest)};
  monitor.pixel = twips::kPerPixelAt96Dpi;
  return monitor;
}

}  // namespace dosat::web
