#include "accessibility.h"

#include <string>

#include "decisions.h"
#include "page.h"
#include "tablepicture.h"

namespace dosat::web {

void RelateLabels(int handle, const design::Window& design) {
  const std::size_t none = design.controls.size();
  for (std::size_t i = 0; i < design.controls.size(); ++i) {
    const int control = static_cast<int>(i);
    if (const std::size_t label = LabelledBy(design, i); label != none) {
      dosat_control_relate(handle, control, 0, static_cast<int>(label));
    }
    if (const std::size_t hint = DescribedBy(design, i); hint != none) {
      dosat_control_relate(handle, control, 1, static_cast<int>(hint));
    }
  }
}

void Announce(const design::Window& design, std::size_t row, std::string_view value) {
  const std::string said = Announcement(design, row, value);
  dosat_announce(said.data(), Length(said));
}

void MakeAccessibleTable(int handle, int control) {
  const table::TableLayout* layout = TableLayout();
  const std::vector<table::TableRow>* rows = TableRows();
  if (!layout || !rows) return;
  dosat_table_begin(handle, control, table::kTitle.data(), Length(table::kTitle));
  const auto cells = TableCells(*rows);
  const auto& columns = layout->columnRules;
  for (std::size_t r = 0; r < cells.size(); ++r) {
    // The headings stand between the table's top rule and the first row's rule.
    const int top = r == 0 ? layout->topRule : layout->rowRules[r - 1];
    const int bottom = layout->rowRules[r == 0 ? 0 : r];
    dosat_table_row(top - layout->clip.y, bottom - top);
    for (std::size_t c = 0; c < cells[r].size() && c + 1 < columns.size(); ++c) {
      const std::string& text = cells[r][c];
      dosat_table_cell(static_cast<int>(KindOfCell(r, c)), text.data(), Length(text),
                       columns[c] - layout->clip.x, columns[c + 1] - columns[c]);
    }
  }
}

}  // namespace dosat::web
