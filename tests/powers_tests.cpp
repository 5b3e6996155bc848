// T² and T³ against MPFR, which rounds the exact power once, to nearest, ties to even,
// in IEEE double's exponent range (subnormals included).
#include <gtest/gtest.h>
#include <mpfr.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "dosat/powers.h"

namespace {

class Mpfr {
 public:
  Mpfr() {
    // A double's range: 53 bits, the least subnormal 2^-1074 = 0.1 × 2^-1073.
    mpfr_set_emin(-1073);
    mpfr_set_emax(1024);
    mpfr_init2(x_, 53);
    mpfr_init2(r_, 53);
  }
  ~Mpfr() {
    mpfr_clear(x_);
    mpfr_clear(r_);
  }
  double Power(double t, unsigned n) {
    mpfr_set_d(x_, t, MPFR_RNDN);
    const int inexact = mpfr_pow_ui(r_, x_, n, MPFR_RNDN);
    mpfr_subnormalize(r_, inexact, MPFR_RNDN);
    return mpfr_get_d(r_, MPFR_RNDN);
  }

 private:
  mpfr_t x_, r_;
};

bool SameBits(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

// Counts the values whose square or cube differs from MPFR's, printing the first few.
int Mismatches(const std::vector<double>& values) {
  Mpfr mpfr;
  int mismatches = 0;
  for (double t : values) {
    const double square = mpfr.Power(t, 2), cube = mpfr.Power(t, 3);
    if (!SameBits(dosat::Squared(t), square) || !SameBits(dosat::Cubed(t), cube)) {
      if (++mismatches <= 10) {
        ADD_FAILURE() << std::hexfloat << "T = " << t << ": square " << dosat::Squared(t) << " against "
                      << square << ", cube " << dosat::Cubed(t) << " against " << cube;
      }
    }
  }
  return mismatches;
}

TEST(Powers, AreCorrectlyRoundedForTemperaturesAsTyped) {
  std::mt19937_64 random(20261209);
  std::uniform_real_distribution<double> temperature(-1000.0, 1000.0);
  std::vector<double> values(10'000'000);
  for (double& t : values) t = temperature(random);
  EXPECT_EQ(Mismatches(values), 0);
}

TEST(Powers, AreCorrectlyRoundedOverEveryExponent) {
  std::mt19937_64 random(1075);
  std::vector<double> values;
  for (int i = 0; i < 1'000'000; ++i) {
    const double t = std::bit_cast<double>(random());
    if (std::isfinite(t)) values.push_back(t);
  }
  EXPECT_EQ(Mismatches(values), 0);
}

TEST(Powers, AreCorrectlyRoundedAtTheEdges) {
  constexpr double kMax = std::numeric_limits<double>::max();
  constexpr double kLeastSubnormal = std::numeric_limits<double>::denorm_min();
  std::vector<double> values = {0.0, -0.0, 1.0, -1.0, 2.0, 3.0, 10.0, 0.1, 4.56, 35.0, 100.0,
                                kLeastSubnormal, std::numeric_limits<double>::min(), kMax, -kMax,
                                std::cbrt(kMax), std::sqrt(kMax)};
  // Cubes exactly halfway between two doubles: an odd m with 54 bits in m³ (m from
  // 208064 to 262143), at every scale. Ties go to the even neighbour.
  for (std::int64_t m = 208065; m < 262144; m += 2 * 997) {
    for (int e : {-400, -30, -13, 0, 13, 300}) values.push_back(std::ldexp(double(m), e));
  }
  // Squares halfway between two doubles: an odd m with 54 bits in m².
  for (std::int64_t m = 94906267; m < (1 << 27); m += 2 * 99991) values.push_back(std::ldexp(double(m), -20));
  // Exact cubes and squares of small integers, and their neighbours.
  for (int n = 1; n <= 2000; ++n) {
    values.push_back(n);
    values.push_back(std::nextafter(double(n), 0.0));
    values.push_back(std::nextafter(double(n), 1e9));
  }
  // Where the cube and the square become subnormal, underflow to zero, or overflow.
  for (double edge : {0x1p-358, 0x1p-341, 0x1p-537, 0x1p-511, 0x1p-1074, std::cbrt(0x1p-1074),
                      std::ldexp(std::cbrt(0.5), -358) /* the cube root of 2^-1075 */, std::cbrt(0x1p-1022), std::sqrt(0x1p-1022),
                      std::cbrt(kMax), std::sqrt(kMax), 0x1p341, 0x1p512}) {
    double t = edge;
    for (int i = 0; i < 64; ++i) t = std::nextafter(t, 0.0);
    for (int i = 0; i < 128; ++i, t = std::nextafter(t, HUGE_VAL)) {
      values.push_back(t);
      values.push_back(-t);
    }
  }
  EXPECT_EQ(Mismatches(values), 0);
  EXPECT_TRUE(std::signbit(dosat::Cubed(-0.0)));
  EXPECT_TRUE(std::signbit(dosat::Cubed(-0x1p-1074)));
  EXPECT_EQ(dosat::Cubed(HUGE_VAL), HUGE_VAL);
  EXPECT_EQ(dosat::Cubed(-HUGE_VAL), -HUGE_VAL);
  EXPECT_TRUE(std::isnan(dosat::Cubed(std::nan(""))));
}

}  // namespace
