// Computes the saturation model for the temperatures of a table file and checks that
// the bits come out as the file says: the same file, and so the same bits, for every
// build (Linux, both dosat.exe builds under wine, the browser's).
//
//   saturation_bits TABLE [OUTPUT]
//
// Each temperature text is read as the calculation window reads it, then written as one
// line: the text, and the bits of T, FN1, FN2 and the saturated DO at sea water
// (21000 mg/L chloride) in hexadecimal, then the result text shown ("-" for none).
// OUTPUT, if given, receives the lines, to compare two builds line by line.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "dosat/calculate.h"
#include "dosat/numbertext.h"
#include "dosat/saturation.h"

namespace {

constexpr dosat::NumberLocale kLocale{U'.', U','};

std::string Hex(std::uint64_t bits) {
  std::string text(16, '0');
  for (int i = 15, shift = 0; i >= 0; --i, shift += 4) text[i] = "0123456789abcdef"[(bits >> shift) & 0xF];
  return text;
}

std::string Hex(double value) {
  // Every NaN is one: processors differ in the sign and payload of a NaN they make.
  if (value != value) return "nan";
  std::uint64_t bits;  // std::bit_cast, which Emscripten's libc++ 13 lacks
  std::memcpy(&bits, &value, sizeof bits);
  return Hex(bits);
}

// The temperature k / 10^decimals as typed: "-9.999", "0.000", "35.000".
std::string Decimal(long k, int decimals) {
  const std::string sign = k < 0 ? "-" : "";
  std::string digits = std::to_string(k < 0 ? -k : k);
  if (digits.size() <= static_cast<std::size_t>(decimals)) {
    digits.insert(0, decimals + 1 - digits.size(), '0');
  }
  return sign + digits.substr(0, digits.size() - decimals) + "." + digits.substr(digits.size() - decimals);
}

// Appends the line of one temperature text; false if the text is not a number.
bool AddLine(const std::string& text, std::string& out) {
  const dosat::ReadResult t = dosat::ReadNumber(text, kLocale);
  if (t.status != dosat::ReadStatus::Number) return false;
  double dot = 0, dzep = 0;
  dosat::FN1(dot, t.value);
  dosat::FN2(dzep, t.value);
  const double saturatedDo = dot - 210.0 * dzep;
  const std::string shown = dosat::Calculate(text, "21000", kLocale).text;
  out += text + ' ' + Hex(t.value) + ' ' + Hex(dot) + ' ' + Hex(dzep) + ' ' + Hex(saturatedDo) + ' ' +
         (shown.empty() ? "-" : shown) + '\n';
  return true;
}

// FNV-1a, 64 bits: enough to tell one build's lines from another's.
std::uint64_t Checksum(const std::string& text) {
  std::uint64_t h = 0xcbf29ce484222325u;
  for (unsigned char c : text) h = (h ^ c) * 0x100000001b3u;
  return h;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::cerr << "usage: saturation_bits TABLE [OUTPUT]\n";
    return 2;
  }
  std::ifstream table(argv[1]);
  if (!table) {
    std::cerr << "cannot read " << argv[1] << '\n';
    return 2;
  }
  std::string out;
  std::string expected;
  int failures = 0;
  for (std::string line; std::getline(table, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream fields(line);
    std::string keyword;
    fields >> keyword;
    if (keyword.empty() || keyword[0] == '#') continue;
    if (keyword == "range") {
      long first = 0, last = 0;
      int decimals = 0;
      fields >> first >> last >> decimals;
      for (long k = first; k <= last; ++k) AddLine(Decimal(k, decimals), out);
    } else if (keyword == "t") {
      // An edge case, with the line it must give.
      std::string text;
      fields >> text;
      std::string want;
      std::getline(fields >> std::ws, want);
      std::string got;
      if (!AddLine(text, got)) {
        std::cerr << "not a number: " << text << '\n';
        return 2;
      }
      out += got;
      if (got != text + ' ' + want + '\n') {
        std::cerr << "want: " << text << ' ' << want << "\ngot:  " << got;
        ++failures;
      }
    } else if (keyword == "checksum") {
      fields >> expected;
    } else {
      std::cerr << "unknown line: " << line << '\n';
      return 2;
    }
  }

  const std::string sum = Hex(Checksum(out));
  std::cout << std::count(out.begin(), out.end(), '\n') << " temperatures, checksum " << sum << '\n';
  if (argc == 3) std::ofstream(argv[2], std::ios::binary) << out;
  if (sum != expected) {
    std::cerr << "the table's checksum is " << expected << '\n';
    ++failures;
  }
  return failures == 0 ? 0 : 1;
}
