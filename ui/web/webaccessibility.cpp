#include "webaccessibility.h"

#include <string>

#include "accessibility.h"
#include "plan.h"
#include "page.h"
#include "tablepicture.h"
#include "tabletext.h"

namespace dosat::web {

void TellReaders(int handle, const plan::Window& layout) {
  for (const plan::Control& made : layout.controls) {
    const int control = static_cast<int>(made.row);
    const accessibility::Told& told = made.told;
    // A box is named and described by the labels beside it; the picture box by its own
    // words, the table's title and what the table is.
    if (told.labelledBy) {
      dosat_control_relate(handle, control, 0, static_cast<int>(*told.labelledBy));
    } else if (!told.name.empty()) {
      dosat_control_tell(handle, control, 0, told.name.data(), Length(told.name));
    }
    if (told.describedBy) {
      dosat_control_relate(handle, control, 1, static_cast<int>(*told.describedBy));
    } else if (!told.description.empty()) {
      dosat_control_tell(handle, control, 1, told.description.data(), Length(told.description));
    }
  }
}

void Announce(const design::Window& design, std::size_t row, std::string_view value) {
  const std::string said = accessibility::Announcement(design, row, value);
  dosat_announce(said.data(), Length(said));
}

void MakeAccessibleTable(int handle, int control) {
  const table::TableLayout* layout = TableLayout();
  const std::vector<table::TableRow>* rows = TableRows();
  if (!layout || !rows) return;
  dosat_table_begin(handle, control);
  // The headings' row (-1), then the numbers' rows; the temperatures head the rows. In CSS
  // pixels, which the page zooms with the window.
  for (int r = -1; r < static_cast<int>(rows->size()); ++r) {
    const table::PixelRect row = table::CellRect(*layout, r, 0, 1.0);
    dosat_table_row(row.y, row.height);
    for (int c = 0; c < table::kColumnCount; ++c) {
      const std::string text = table::CellText(*rows, r, c);
      const int kind = r < 0 ? 0 : c == 0 ? 1 : 2;
      const table::PixelRect cell = table::CellRect(*layout, r, c, 1.0);
      dosat_table_cell(kind, text.data(), Length(text), cell.x, cell.width);
    }
  }
}

}  // namespace dosat::web
