#pragma once

// What the Qt and Win32 windows decide alike, in one place for the web platform until the
// shared layer in ui/ gives it to every platform: the tab order, the accessible names and
// relations, the text colours on the palette of the moment, the table's cells as screen
// readers read them, and where a text run of the table starts. The rest of ui/web/ only
// creates and updates the page's elements from these.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "contrast.h"
#include "design.h"
#include "tablelayout.h"

namespace dosat::web {

/// The window's rows in the order of their tab index (rows with equal indices as listed):
/// the order Tab visits those that take the focus, labels never taking it.
std::vector<std::size_t> TabOrder(const design::Window& window);

/// The row of the label that names (or describes) the control in `row`; none where the
/// design gives none.
std::size_t LabelledBy(const design::Window& window, std::size_t row);
std::size_t DescribedBy(const design::Window& window, std::size_t row);

/// What a screen reader is told when the box in `row` takes a new value: the label that
/// names it, then the value.
std::string Announcement(const design::Window& window, std::size_t row, std::string_view value);

/// "#rrggbb" for a colour 0x00BBGGRR.
std::string CssColour(std::uint32_t colour);

/// The colour a control draws its text in: its designed colour on the palette the windows
/// were designed on, the nearest readable one on any other, and the desktop's own text
/// colour in high contrast or where the design sets none.
std::uint32_t ControlTextColour(const design::Control& row, std::uint32_t background,
                                std::uint32_t systemText, contrast::Palette palette);

/// The table as screen readers read it: the headings' row, then the 36 rows of numbers,
/// each cell's text as printed.
std::vector<std::vector<std::string>> TableCells(const std::vector<table::TableRow>& rows);

/// What a cell of TableCells is to a screen reader: the headings' row heads the columns,
/// the temperatures head the rows.
enum class CellKind { ColumnHeader, RowHeader, Cell };
CellKind KindOfCell(std::size_t row, std::size_t column);

/// The x of a text run's origin for a renderer whose advance of the run is `advance`.
int TextOrigin(const table::TextRun& run, double advance);

}  // namespace dosat::web
