#pragma once

// The table as the program embeds it: the layout and the numbers are read from the
// program's resources the first time something asks for them, never at start-up.

#include <QImage>
#include <QWidget>

#include <vector>

#include "tablelayout.h"

namespace dosat::table {

/// The 1x layout embedded from assets/do-table-layout.txt; null if it does not read.
const TableLayout* EmbeddedLayout();

/// The table's 36 rows embedded from assets/do-table.csv; null if they do not read.
const std::vector<TableRow>* EmbeddedRows();

/// The part of the table the table window shows (the layout's clip), drawn for `ratio`
/// device pixels per pixel in `ink` on `paper`: an image in device pixels with that
/// devicePixelRatio, or a null image if the layout does not read.
QImage RenderShownTable(qreal ratio, QColor ink = Qt::black, QColor paper = Qt::white);

/// The scale a widget shows the table at, as a qreal dynamic property of the widget; 1
/// where it is not set. Assistive technology finds the cells there.
inline constexpr char kScaleProperty[] = "dosatTableScale";

/// Has assistive technology read `widget`, which shows the table picture from its
/// contents' top-left corner, as the table itself (a TableAccessible). Call it before the
/// widget is first shown.
void MakeTableAccessible(QWidget* widget);

}  // namespace dosat::table
