#pragma once

#include <QFont>

#include "fonts.h"

namespace dosat {

/// `face` at `pixels` to the em, falling back to the Japanese Gothic faces Linux has.
QFont FontOf(const fonts::Face& face, double pixels);

/// The toolkit's default font for the program, the windows' plain face at its size: what
/// the message boxes are set in.
QFont DefaultFont();

}  // namespace dosat
