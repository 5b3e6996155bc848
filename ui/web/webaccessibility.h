#pragma once

#include <cstddef>
#include <string_view>

#include "design.h"

namespace dosat::plan {
struct Window;
}

namespace dosat::web {

/// Tells screen readers what the shared layer has them told of each control of window
/// `handle`: a box's name and description by the labels beside it, the table's by its words.
void TellReaders(int handle, const plan::Window& layout);

/// Tells screen readers the new value of the box in `row`, named by its label.
void Announce(const design::Window& design, std::size_t row, std::string_view value);

/// Lays the table's cells over picture box `control` of window `handle`, where the
/// drawing has them, for screen readers to read as a table: the headings and the numbers.
void MakeAccessibleTable(int handle, int control);

}  // namespace dosat::web
