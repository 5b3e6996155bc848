#include "accessibility.h"

#include "tabletext.h"

namespace dosat::accessibility {

bool TakesFocus(design::Kind kind) { return kind != design::Kind::Label; }

std::vector<std::size_t> TabOrder(const design::Window& window) {
  const auto& rows = window.controls;
  std::vector<std::size_t> order;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (TakesFocus(rows[i].kind)) order.push_back(i);
  }
  // Sorted by insertion, which keeps rows of one index in their order: a window has a dozen
  // controls, and the library's stable sort would weigh more in the web page than all this.
  for (std::size_t k = 1; k < order.size(); ++k) {
    const std::size_t row = order[k];
    std::size_t j = k;
    for (; j > 0 && rows[order[j - 1]].tabIndex > rows[row].tabIndex; --j) order[j] = order[j - 1];
    order[j] = row;
  }
  return order;
}

std::vector<std::size_t> CreationOrder(const design::Window& window) {
  std::vector<std::size_t> order = TabOrder(window);
  for (std::size_t i = 0; i < window.controls.size(); ++i) {
    if (!TakesFocus(window.controls[i].kind)) order.push_back(i);
  }
  return order;
}

Told WhatReadersAreTold(const design::Window& window, std::size_t row,
                        const std::vector<table::TableRow>* tableRows) {
  const design::Control& control = window.controls[row];
  Told told;
  // A screen reader names each box by the label beside it, and reads the range hint
  // under it as its description; the picture box is the table.
  if (control.kind == design::Kind::Picture) {
    told.name = table::kTitle;
    told.description = table::Description(tableRows);
    return told;
  }
  const auto label = [&](std::string_view name) -> std::optional<std::size_t> {
    const std::size_t found = window.Find(name);
    return name.empty() || found == window.controls.size() ? std::nullopt : std::optional(found);
  };
  told.labelledBy = label(control.labelledBy);
  told.describedBy = label(control.describedBy);
  if (told.labelledBy) told.name = window.controls[*told.labelledBy].text;
  if (told.describedBy) told.description = window.controls[*told.describedBy].text;
  return told;
}

std::string Announcement(const design::Window& window, std::size_t row, std::string_view value) {
  const std::string name = WhatReadersAreTold(window, row).name;
  return name.empty() ? std::string(value) : name + ' ' + std::string(value);
}

}  // namespace dosat::accessibility
