#pragma once

// Draws a table layout with Qt (QtGui only, so that the asset generator shares it).

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>

#include "tablelayout.h"

namespace dosat::table {

/// Where Debian's fonts-ipafont-gothic puts IPA P Gothic.
inline constexpr auto kFontFile = "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf";

/// IPA P Gothic's family name as the font database knows it: the installed face, else the
/// face loaded from kFontFile, else an empty string (nothing to draw the table in exactly).
QString TableFontFamily();

/// The table's face at `pixelSize` with `letterSpacing` pixels after each character: grey
/// antialiasing, full hinting, no kerning, and no glyphs from other fonts. An empty
/// `family` gives the nearest Japanese Gothic there is, with fallback fonts allowed.
QFont TableFont(const QString& family, int pixelSize, int letterSpacing = 0);

/// `area` of `layout`'s drawing, one image pixel per layout pixel, in `ink` on `paper`
/// (black on white by default), in the face `family` (see TableFont). With
/// TableFontFamily() the area of the 1x layout, black on white, is pixel for pixel what
/// the table picture holds there.
QImage RenderLayout(const TableLayout& layout, const QString& family, const PixelRect& area,
                    QColor ink = Qt::black, QColor paper = Qt::white);

}  // namespace dosat::table
