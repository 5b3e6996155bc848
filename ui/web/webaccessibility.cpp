#include "webaccessibility.h"

#include <string>

#include "accessibility.h"
#include "page.h"
#include "tablepicture.h"
#include "tabletext.h"

namespace dosat::web {

void TellReaders(int handle, const design::Window& design) {
  for (std::size_t i = 0; i < design.controls.size(); ++i) {
    const int control = static_cast<int>(i);
    const accessibility::Told told = accessibility::WhatReadersAreTold(design, i, TableRows());
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
  const auto& columns = layout->columnRules;
  // The headings' row (-1) between the table's top rule and the first row's rule, then a
  // row between each two rules; the temperatures head the rows.
  for (int r = -1; r < static_cast<int>(rows->size()); ++r) {
    const int top = r < 0 ? layout->topRule : layout->rowRules[r];
    const int bottom = layout->rowRules[r + 1];
    dosat_table_row(top - layout->clip.y, bottom - top);
    for (int c = 0; c < table::kColumnCount; ++c) {
      const std::string text = table::CellText(*rows, r, c);
      const int kind = r < 0 ? 0 : c == 0 ? 1 : 2;
      dosat_table_cell(kind, text.data(), Length(text), columns[c] - layout->clip.x, columns[c + 1] - columns[c]);
    }
  }
}

}  // namespace dosat::web
