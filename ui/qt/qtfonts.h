#pragma once

#include <QFont>

namespace dosat {

/// The font of most of the calculation window's controls: "ＭＳ Ｐゴシック" at
/// 12 points, normal weight, falling back to the proportional Japanese Gothic
/// faces Linux has.
QFont designFont();

/// The toolkit's default font for the program: a Japanese UI Gothic at
/// 9 points, used by every control that sets no font of its own.
QFont defaultFont();

}  // namespace dosat
