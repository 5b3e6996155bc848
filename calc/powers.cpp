#include "dosat/powers.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

namespace dosat {
namespace {

constexpr std::uint64_t kSignBit = std::uint64_t{1} << 63;
constexpr std::uint64_t kInfinity = 0x7FF0'0000'0000'0000;
constexpr std::uint64_t kHiddenBit = std::uint64_t{1} << 52;

// std::bit_cast, which Emscripten's libc++ 13 lacks.
std::uint64_t BitsOf(double v) {
  std::uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  return bits;
}
double FromBits(std::uint64_t bits) {
  double v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

// An unsigned integer of up to 192 bits in 32-bit limbs, least significant first: room
// for the cube of a 53-bit significand, multiplied without the 128-bit integers that
// 32-bit targets lack.
class Wide {
 public:
  static constexpr int kBits = 192;

  explicit Wide(std::uint64_t v) {
    limb_[0] = static_cast<std::uint32_t>(v);
    limb_[1] = static_cast<std::uint32_t>(v >> 32);
  }

  /// This × v; the product must fit in 192 bits.
  Wide Times(std::uint64_t v) const {
    const std::uint32_t factor[2] = {static_cast<std::uint32_t>(v),
                                     static_cast<std::uint32_t>(v >> 32)};
    Wide product(0);
    for (int i = 0; i < kLimbs; ++i) {
      std::uint64_t carry = 0;
      for (int j = 0; j < 2 && i + j < kLimbs; ++j) {
        const std::uint64_t t =
            std::uint64_t{limb_[i]} * factor[j] + product.limb_[i + j] + carry;
        product.limb_[i + j] = static_cast<std::uint32_t>(t);
        carry = t >> 32;
      }
      if (i + 2 < kLimbs) product.limb_[i + 2] += static_cast<std::uint32_t>(carry);
    }
    return product;
  }

  int BitLength() const {
    for (int i = kLimbs - 1; i >= 0; --i) {
      if (limb_[i] != 0) return 32 * i + std::bit_width(limb_[i]);
    }
    return 0;
  }

  bool Bit(int n) const { return n >= 0 && n < kBits && ((Limb(n / 32) >> (n % 32)) & 1) != 0; }

  /// Whether any bit below bit n is set.
  bool AnyBelow(int n) const {
    if (n <= 0) return false;
    if (n >= kBits) return BitLength() != 0;
    for (int i = 0; i < n / 32; ++i) {
      if (limb_[i] != 0) return true;
    }
    return (limb_[n / 32] & ((std::uint32_t{1} << (n % 32)) - 1)) != 0;
  }

  /// This ÷ 2^n, rounded down; the quotient must fit in 64 bits.
  std::uint64_t ShiftedRight(int n) const {
    if (n >= kBits) return 0;
    const int i = n / 32, r = n % 32;
    const std::uint64_t low = Limb(i) | std::uint64_t{Limb(i + 1)} << 32;
    return r == 0 ? low : low >> r | std::uint64_t{Limb(i + 2)} << (64 - r);
  }

 private:
  static constexpr int kLimbs = kBits / 32;
  std::uint32_t Limb(int i) const { return i < kLimbs ? limb_[i] : 0; }
  std::uint32_t limb_[kLimbs] = {};
};

}  // namespace

// A single IEEE multiplication is rounded once, to nearest, ties to even, wherever it
// runs in SSE2, the x64 or the WebAssembly instruction set (never on the x87, whose
// 80-bit registers would round twice).
double Squared(double T) { return T * T; }

// |T| = m · 2^e with m a 53-bit integer, so T³ = m³ · 2^3e exactly: m³ in integers,
// then rounded once at the bit that is the double's last, 2^-1074 where the cube is
// subnormal.
double Cubed(double T) {
  const auto bits = BitsOf(T);
  const std::uint64_t sign = bits & kSignBit;
  const int biased = static_cast<int>((bits >> 52) & 0x7FF);
  std::uint64_t m = bits & (kHiddenBit - 1);
  if (biased == 0x7FF || (biased == 0 && m == 0)) return T * T * T;
  if (biased != 0) m |= kHiddenBit;
  const int e = std::max(biased, 1) - 1075;

  const Wide cube = Wide(m).Times(m).Times(m);
  const int length = cube.BitLength();
  // The cube's leading bit stands for 2^top.
  const int top = length - 1 + 3 * e;
  if (top > 1023) return FromBits(sign | kInfinity);
  const int kept = top >= -1022 ? 53 : top + 1075;  // < 0: less than half the least subnormal
  if (kept < 0) return FromBits(sign);
  const int dropped = length - kept;

  std::uint64_t q = cube.ShiftedRight(dropped);
  if (cube.Bit(dropped - 1) && (cube.AnyBelow(dropped - 1) || (q & 1) != 0)) ++q;
  // A normal result: q holds the hidden bit, which adds one to the exponent field set
  // below it, and a carry out of q moves the result into the next binade, up to infinity.
  const std::uint64_t magnitude =
      top >= -1022 ? std::min((std::uint64_t(top + 1022) << 52) + q, kInfinity) : q;
  return FromBits(sign | magnitude);
}

}  // namespace dosat
