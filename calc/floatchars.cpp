#include "dosat/floatchars.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <system_error>

namespace dosat {
namespace detail {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The C library reads and writes the decimal point of the C locale, which a program may
// have set to the user's.
char LocalePoint() {
  const char* point = std::localeconv()->decimal_point;
  return point && point[0] != '\0' && point[1] == '\0' ? point[0] : '.';
}

std::to_chars_result Copy(const std::string& text, char* first, char* last) {
  if (static_cast<std::size_t>(last - first) < text.size()) return {last, std::errc::value_too_large};
  std::memcpy(first, text.data(), text.size());
  return {first + text.size(), std::errc()};
}

// The value in printf's form `conversion` with `precision` digits after the point, '.'
// for the point.
std::string Printed(double value, int precision, const char* conversion = "%.*e") {
  char buffer[400];
  const int n = std::snprintf(buffer, sizeof buffer, conversion, precision, value);
  std::string text(buffer, n > 0 && n < static_cast<int>(sizeof buffer) ? static_cast<std::size_t>(n) : 0);
  const char point = LocalePoint();
  for (char& c : text) {
    if (c == point) c = '.';
  }
  return text;
}

double Strtod(std::string text) {
  const char point = LocalePoint();
  for (char& c : text) {
    if (c == '.') c = point;
  }
  return std::strtod(text.c_str(), nullptr);
}

}  // namespace

std::from_chars_result ReadDoubleWithStrtod(const char* first, const char* last, double& value) {
  // The pattern std::from_chars reads: -? digits (. digits)? (e [+-]? digits)?
  const char* p = first;
  if (p != last && *p == '-') ++p;
  bool anyDigit = false, nonZero = false;
  for (; p != last && IsDigit(*p); ++p) anyDigit = true, nonZero = nonZero || *p != '0';
  if (p != last && *p == '.') {
    for (++p; p != last && IsDigit(*p); ++p) anyDigit = true, nonZero = nonZero || *p != '0';
  }
  if (!anyDigit) return {first, std::errc::invalid_argument};
  if (p != last && (*p == 'e' || *p == 'E')) {
    const char* e = p + 1;
    if (e != last && (*e == '+' || *e == '-')) ++e;
    if (e != last && IsDigit(*e)) {
      for (p = e; p != last && IsDigit(*p); ++p) {
      }
    }
  }
  const double read = Strtod(std::string(first, p));
  if (std::isinf(read) || (read == 0 && nonZero)) return {p, std::errc::result_out_of_range};
  value = read;
  return {p, std::errc()};
}

std::to_chars_result WriteScientificWithPrintf(char* first, char* last, double value, int precision) {
  return Copy(Printed(value, precision), first, last);
}

std::to_chars_result WriteShortestWithPrintf(char* first, char* last, double value) {
  // The fewest significant digits that read back as the value: those are its shortest
  // digits, and the nearest of them to it.
  std::string sci;
  for (int precision = 0; precision <= 16; ++precision) {
    sci = Printed(value, precision);
    if (Strtod(sci) == value) break;
  }
  // sci is "-d.ddde±xx": the digits without the point, and the exponent.
  const bool negative = sci[0] == '-';
  const std::size_t e = sci.find('e');
  std::string digits = sci.substr(negative ? 1 : 0, e - (negative ? 1 : 0));
  if (digits.size() > 1) digits.erase(1, 1);
  const int exponent = std::atoi(sci.c_str() + e + 1);

  std::string scientific = digits.substr(0, 1);
  if (digits.size() > 1) scientific += "." + digits.substr(1);
  const int magnitude = exponent < 0 ? -exponent : exponent;
  scientific += std::string(exponent < 0 ? "e-" : "e+") + (magnitude < 10 ? "0" : "") + std::to_string(magnitude);

  std::string plain;
  const int count = static_cast<int>(digits.size());
  if (exponent < 0) {
    plain = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  } else if (exponent + 1 >= count) {
    // A whole number is written with its exact digits, as <charconv> writes it.
    plain = Printed(std::fabs(value), 0, "%.*f");
  } else {
    plain = digits.substr(0, static_cast<std::size_t>(exponent + 1)) + "." +
            digits.substr(static_cast<std::size_t>(exponent + 1));
  }
  if (value == 0) plain = "0";
  const std::string& shorter = scientific.size() < plain.size() ? scientific : plain;
  return Copy((negative ? "-" : "") + shorter, first, last);
}

}  // namespace detail

#if defined(__cpp_lib_to_chars)

std::from_chars_result ReadDouble(const char* first, const char* last, double& value) {
  return std::from_chars(first, last, value, std::chars_format::general);
}

std::to_chars_result WriteScientific(char* first, char* last, double value, int precision) {
  return std::to_chars(first, last, value, std::chars_format::scientific, precision);
}

std::to_chars_result WriteShortest(char* first, char* last, double value) {
  return std::to_chars(first, last, value);
}

#else

std::from_chars_result ReadDouble(const char* first, const char* last, double& value) {
  return detail::ReadDoubleWithStrtod(first, last, value);
}

std::to_chars_result WriteScientific(char* first, char* last, double value, int precision) {
  return detail::WriteScientificWithPrintf(first, last, value, precision);
}

std::to_chars_result WriteShortest(char* first, char* last, double value) {
  return detail::WriteShortestWithPrintf(first, last, value);
}

#endif

}  // namespace dosat
