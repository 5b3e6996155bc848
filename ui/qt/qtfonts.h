#pragma once

#include <QFont>

#include "fonts.h"

namespace dosat {

/// `face` at `pixels` to the em, falling back to the Japanese Gothic faces Linux has.
QFont FontOf(const fonts::Face& face, double pixels);

/// The font of most of the calculation window's controls: "ＭＳ Ｐゴシック" at
/// 12 points, normal weight, falling back to the proportional Japanese Gothic
/// faces Linux has.
QFont DesignFont();

/// The toolkit's default font for the program: a Japanese UI Gothic at
/// 9 points, used by every control that sets no font of its own.
QFont DefaultFont();

}  // namespace dosat
