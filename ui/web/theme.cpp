#include "theme.h"

#include <cstdio>

#include "colour.h"
#include "contrast.h"
#include "page.h"
#include "plan.h"

namespace dosat::web {

std::string CssColour(std::uint32_t colour) {
  const colour::Rgb rgb = colour::FromBgr(colour);
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", rgb.red, rgb.green, rgb.blue);
  return text;
}

std::uint32_t FromPage(unsigned rgb) {
  return colour::ToBgr({static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                        static_cast<std::uint8_t>(rgb)});
}

void ApplyTextColours(int handle, const design::Window& design) {
  // The page's light colours are the ones the windows were designed on; a dark colour
  // scheme is another palette, and forced colours are the browser's high contrast.
  const int kind = dosat_theme_palette();
  const contrast::Palette palette = kind == 2   ? contrast::Palette::HighContrast
                                    : kind == 1 ? contrast::Palette::Other
                                                : contrast::Palette::Designed;
  // The page's own colours, read without the window's background of its own.
  const bool ownBackground = design.background != design::kDefaultColour;
  if (ownBackground) dosat_theme_set_background(handle, "", 0);
  const contrast::Desktop desktop{FromPage(dosat_theme_colour(handle, 0)), FromPage(dosat_theme_colour(handle, 1)),
                                  FromPage(dosat_theme_colour(handle, 2)), FromPage(dosat_theme_colour(handle, 3)),
                                  palette};
  const plan::Colours colours = plan::ColoursOn(design, desktop);
  if (ownBackground) {
    const std::string background = CssColour(colours.background);
    dosat_theme_set_background(handle, background.data(), Length(background));
  }
  for (std::size_t i = 0; i < design.controls.size(); ++i) {
    // A control that sets no colour keeps the page's own, which is the desktop's.
    if (!colours.text[i].own) continue;
    const std::string colour = CssColour(colours.text[i].colour);
    dosat_theme_set_text(handle, static_cast<int>(i), colour.data(), Length(colour));
  }
}

}  // namespace dosat::web
