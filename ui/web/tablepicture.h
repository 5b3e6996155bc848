#pragma once

#include <vector>

#include "tablelayout.h"

namespace dosat::web {

/// The table's layout and its numbers, built into the program: read the first time they
/// are asked for; null if they do not read.
const table::TableLayout* TableLayout();
const std::vector<table::TableRow>* TableRows();

/// Draws the part of the table the table window shows into picture box `control` of
/// window `handle`, at the device pixels of the moment: black on white, or in the
/// page's own colours where the browser forces its colours.
void DrawTable(int handle, int control);

}  // namespace dosat::web
