#include "dosat/saturation.h"

#include <cmath>

namespace dosat {

void FN1(double& DOT, const double& T) {
  double s = 14.1545702 - (0.39355988 * T);
  s = s + (0.00768058 * std::pow(T, 2.0));
  s = s - (0.0000640949 * std::pow(T, 3.0));
  DOT = s;
}

// Unlike FN1, the cubic term is added.
void FN2(double& DZEP, const double& T) {
  double s = 0.0152866968 - (0.000462300088 * T);
  s = s + (0.0000066307464 * std::pow(T, 2.0));
  s = s + (0.00000000419133546 * std::pow(T, 3.0));
  DZEP = s;
}

}  // namespace dosat
