#pragma once

#include <cstddef>
#include <string_view>

#include "design.h"

namespace dosat::web {

/// Has screen readers name each box of window `handle` by the label beside it and read
/// the hint under it as its description.
void RelateLabels(int handle, const design::Window& design);

/// Tells screen readers the new value of the box in `row`, named by its label.
void Announce(const design::Window& design, std::size_t row, std::string_view value);

/// Lays the table's cells over picture box `control` of window `handle`, where the
/// drawing has them, for screen readers to read as a table: its title, the headings and
/// the numbers.
void MakeAccessibleTable(int handle, int control);

}  // namespace dosat::web
