#pragma once

#include <QColor>
#include <QWidget>
#include <cstdint>

#include "contrast.h"
#include "design.h"

namespace dosat {

/// A 0x00BBGGRR colour of the window descriptions, and back.
QColor FromBgr(std::uint32_t bgr);
std::uint32_t ToBgr(const QColor& colour);

/// HighContrast under a high-contrast style or GTK theme; Designed while the
/// application's palette is Qt's own default, the light one the program gets with no
/// desktop theme; Other for any other.
contrast::Palette ApplicationPaletteKind();

/// Gives `control`, made for design row `row`, the text colour the contrast rule makes of
/// its designed one on this palette, in each colour group.
void ApplyTextColour(QWidget& control, const design::Control& row, contrast::Palette palette);

}  // namespace dosat
