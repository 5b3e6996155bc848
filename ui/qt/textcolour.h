#pragma once

#include <QColor>
#include <QPalette>
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

/// The desktop's colours in colour group `group`: the application palette's, with a text
/// box's field as `fields` has it (a style may polish boxes to a field of their own).
contrast::Desktop DesktopColours(QPalette::ColorGroup group, const QPalette& fields, contrast::Palette palette);

}  // namespace dosat
