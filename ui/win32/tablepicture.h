#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>
#include <vector>

namespace dosat::win32 {

/// The table's ink and paper: black on white as printed, or a theme's colours.
struct TableColours {
  COLORREF ink = RGB(0, 0, 0);
  COLORREF paper = RGB(0xFF, 0xFF, 0xFF);
  bool operator==(const TableColours&) const = default;
};

/// Draws the table picture into `dc` from the top-left corner of the picture box's
/// interior: black on white at 96 dpi, the table bitmap itself, pixel for pixel; at
/// any other resolution or in other colours the table drawn anew from its layout,
/// so that rules and figures stay sharp. The drawing is kept for the next paint.
void DrawTablePicture(HDC dc, UINT dpi, TableColours colours = {});

/// The table's cells row by row, the column headings first, for screen readers;
/// empty if the embedded numbers do not read.
std::vector<std::vector<std::wstring>> TableCells();

/// The table's title and the source note, as screen readers name and describe it.
std::wstring TableTitle();
std::wstring TableDescription();

}  // namespace dosat::win32
