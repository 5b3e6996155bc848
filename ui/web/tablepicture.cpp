#include "tablepicture.h"

#include <cmath>
#include <optional>
#include <string_view>

#include "contrast.h"
#include "fonts.h"
#include "page.h"
#include "tabletext.h"
#include "theme.h"

namespace dosat::web {

// Generated from assets/ when the page is built (embed.cmake).
extern const std::string_view kTableLayoutText;
extern const std::string_view kTableCsvText;

const table::TableLayout* TableLayout() {
  static const std::optional<table::TableLayout> layout = table::ParseLayout(kTableLayoutText);
  return layout ? &*layout : nullptr;
}

const std::vector<table::TableRow>* TableRows() {
  static const std::optional<std::vector<table::TableRow>> rows = table::ParseTableCsv(kTableCsvText);
  return rows ? &*rows : nullptr;
}

void DrawTable(int handle, int control) {
  const table::TableLayout* layout = TableLayout();
  if (!layout) return;
  const table::TableLayout drawn = table::ScaleLayout(*layout, dosat_picture_ratio(handle));
  // Forced colours are the browser's high contrast; the page gives the box its own
  // colours then, which are the theme's field colours.
  const bool forced = dosat_theme_palette() == 2;
  contrast::Desktop desktop{};
  if (forced) {
    desktop.palette = contrast::Palette::HighContrast;
    desktop.field = FromPage(dosat_picture_forced_colour(handle, control, false));
    desktop.fieldText = FromPage(dosat_picture_forced_colour(handle, control, true));
  }
  const contrast::TableColours colours = contrast::TableColoursOn(desktop);
  const std::string paper = CssColour(colours.paper), ink = CssColour(colours.ink);
  static const std::string families = fonts::CssFamilies(fonts::kTableFamilies);
  dosat_picture_begin(handle, control, layout->clip.width, layout->clip.height, drawn.clip.width,
                      drawn.clip.height, paper.data(), Length(paper), ink.data(), Length(ink), families.data(),
                      Length(families));
  const int x0 = drawn.clip.x, y0 = drawn.clip.y;
  for (const table::PixelRect& r : drawn.rules) dosat_picture_rule(r.x - x0, r.y - y0, r.width, r.height);
  for (const table::TextRun& run : drawn.texts) {
    const char* text = run.text.data();
    const int length = Length(run.text);
    // In whole pixels, as the desktop renderers measure it.
    const int advance = static_cast<int>(std::lround(dosat_picture_advance(text, length, run.pixelSize, run.letterSpacing)));
    dosat_picture_text(text, length, run.pixelSize, run.letterSpacing, table::TextOrigin(run, advance) - x0,
                       run.baseline - y0);
  }
}

}  // namespace dosat::web
