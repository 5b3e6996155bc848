#pragma once

// T² and T³ as the saturation model needs them: the exact power, rounded once to the
// nearest double, ties to even. A C library's pow is only nearly that, and not alike
// from one library to the next; these give the same bits on every build.

namespace dosat {

/// T × T, rounded once to the nearest double (ties to even). ±0, infinities and NaN as
/// the product gives them.
double Squared(double T);

/// T × T × T exactly, rounded once to the nearest double (ties to even), subnormal
/// results and overflow to ±infinity included. ±0, infinities and NaN as the product
/// gives them.
double Cubed(double T);

}  // namespace dosat
