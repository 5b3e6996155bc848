#pragma once

#include <QColor>
#include <QWidget>
#include <cstdint>

#include "contrast.h"

namespace dosat {

/// A 0x00BBGGRR colour of the window descriptions, and back.
QColor FromBgr(std::uint32_t bgr);
std::uint32_t ToBgr(const QColor& colour);

/// Designed while the application's palette is Qt's own default, the light one the
/// program gets with no desktop theme; Other for any other.
contrast::Palette ApplicationPaletteKind();

/// Gives `control` (a label or a text box) the text colour the contrast rule makes of
/// `designed` against the background it is drawn on: its window's Window colour for a
/// label, its own Base colour for a box. In each colour group.
void ApplyTextColour(QWidget& control, std::uint32_t designed, contrast::Palette palette);

}  // namespace dosat
