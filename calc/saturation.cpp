#include "dosat/saturation.h"

#include "dosat/powers.h"

namespace dosat {

void FN1(double& DOT, const double& T) {
  double s = 14.1545702 - (0.39355988 * T);
  s = s + (0.00768058 * Squared(T));
  s = s - (0.0000640949 * Cubed(T));
  DOT = s;
}

// Unlike FN1, the cubic term is added.
void FN2(double& DZEP, const double& T) {
  double s = 0.0152866968 - (0.000462300088 * T);
  s = s + (0.0000066307464 * Squared(T));
  s = s + (0.00000000419133546 * Cubed(T));
  DZEP = s;
}

}  // namespace dosat
