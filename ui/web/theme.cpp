#include "theme.h"

#include "contrast.h"
#include "decisions.h"
#include "page.h"

namespace dosat::web {

void ApplyTextColours(int handle, const design::Window& design) {
  // The page's light colours are the ones the windows were designed on; a dark colour
  // scheme is another palette, and forced colours are the browser's high contrast.
  const int kind = dosat_theme_palette();
  const contrast::Palette palette = kind == 2   ? contrast::Palette::HighContrast
                                    : kind == 1 ? contrast::Palette::Other
                                                : contrast::Palette::Designed;
  for (std::size_t i = 0; i < design.controls.size(); ++i) {
    const design::Control& row = design.controls[i];
    if (row.colour == design::kDefaultColour) continue;
    const int control = static_cast<int>(i);
    const std::string colour = CssColour(ControlTextColour(row, dosat_theme_background(handle, control),
                                                           dosat_theme_default_text(handle, control), palette));
    dosat_theme_set_text(handle, control, colour.data(), Length(colour));
  }
}

}  // namespace dosat::web
