#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>
#include <vector>

namespace dosat::win32 {

/// Draws the table picture into `dc` from the top-left corner of the picture box's
/// interior: at 96 dpi the table bitmap itself, pixel for pixel; at any other
/// resolution the table drawn anew from its layout at that resolution, so that
/// rules and figures stay sharp. The drawing is made once per resolution.
void DrawTablePicture(HDC dc, UINT dpi);

/// The table's cells row by row, the column headings first, for screen readers;
/// empty if the embedded numbers do not read.
std::vector<std::vector<std::wstring>> TableCells();

/// The table's title and the source note, as screen readers name and describe it.
std::wstring TableTitle();
std::wstring TableDescription();

}  // namespace dosat::win32
