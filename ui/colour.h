#pragma once

#include <cstdint>

// The windows' colours are 0x00BBGGRR, red in the low byte, as the designs and Win32 give
// them; the other platforms take red, green and blue apart.
namespace dosat::colour {

struct Rgb {
  std::uint8_t red = 0, green = 0, blue = 0;
  bool operator==(const Rgb&) const = default;
};

constexpr Rgb FromBgr(std::uint32_t bgr) {
  return {static_cast<std::uint8_t>(bgr & 0xFF), static_cast<std::uint8_t>((bgr >> 8) & 0xFF),
          static_cast<std::uint8_t>((bgr >> 16) & 0xFF)};
}

constexpr std::uint32_t ToBgr(Rgb rgb) {
  return std::uint32_t{rgb.red} | std::uint32_t{rgb.green} << 8 | std::uint32_t{rgb.blue} << 16;
}

}  // namespace dosat::colour
