#pragma once

// What the table says beyond its drawing, for every platform alike: what screen readers
// are told of it and its cells, and where a renderer puts each text run.

#include <string>
#include <string_view>
#include <vector>

#include "tablelayout.h"

namespace dosat::table {

/// What the table is, for a screen reader's description of it: ends with the source note.
std::string Summary();

/// The text of the cell in `row` (0 to 35) and `column` (0 to 6), or of the column's
/// heading for row -1; empty outside the table.
std::string CellText(const std::vector<TableRow>& rows, int row, int column);

/// A row's heading as a screen reader says it: its temperature, "20 ℃".
std::string RowHeading(const std::vector<TableRow>& rows, int row);

/// What the numbers of `column` are, with their units; empty outside the table.
std::string_view ColumnMeaning(int column);

/// What a screen reader is told the table is: the summary, then, where the numbers read,
/// a line of them for each row (ValuesByRow).
std::string Description(const std::vector<TableRow>* rows);

/// The numbers row by row, a line each ("20℃: 8.84 8.41 7.97 7.54 7.10 0.0087"), for a
/// screen reader that reads a description but does not walk a table's cells.
std::string ValuesByRow(const std::vector<TableRow>& rows);

/// The x of a text run's origin when the renderer's font gives the text `advance` pixels:
/// floor(anchorX - k × advance), k = 0, 1/2 or 1 for left, centred and right.
int TextOrigin(const TextRun& run, int advance);

}  // namespace dosat::table
