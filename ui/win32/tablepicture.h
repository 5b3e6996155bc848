#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "contrast.h"
#include "tablelayout.h"

namespace dosat::win32 {

/// The table's ink and paper, 0x00BBGGRR as a COLORREF is.
using TableColours = contrast::TableColours;

/// The ratio, in device pixels per pixel of the table picture, at which a picture box
/// with an interior of `interior` pixels shows the table in a window laid out at `ratio`:
/// `ratio`, or less where the box's edge leaves less room, so that every row stays in view.
double TableRatio(double ratio, SIZE interior);

/// Draws the table picture into `dc` from the top-left corner of the picture box's
/// interior, at `ratio` device pixels per picture pixel: black on white at 1, the table
/// bitmap itself, pixel for pixel; at any other ratio or in other colours the table
/// drawn anew from its layout, so that rules and figures stay sharp, larger or smaller.
/// The drawing is kept for the next paint.
void DrawTablePicture(HDC dc, double ratio, TableColours colours = {});

/// The table's cells row by row, the column headings first, for screen readers;
/// empty if the embedded numbers do not read.
std::vector<std::vector<std::wstring>> TableCells();

/// Where the cell in row `row` of TableCells and column `column` lies in the interior of a
/// picture box of `interior` pixels that draws the table at `ratio`: inside its rules, cut
/// off where the box ends; nothing where none of it is shown.
std::optional<RECT> TableCellArea(std::size_t row, std::size_t column, double ratio, SIZE interior);

/// The table's rows embedded in the program, read once; null if they do not read.
const std::vector<table::TableRow>* TableRows();

}  // namespace dosat::win32
