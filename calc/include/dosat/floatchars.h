#pragma once

#include <charconv>

// Doubles to and from decimal text, exactly: with <charconv> where the standard library
// has it for floating point, and with the C library's strtod and snprintf where it has
// not (Emscripten's libc++). Both round correctly, so both give the same bits. No locale
// is read: the decimal point is always '.'.
namespace dosat {

/// Reads a decimal number, plain or with an exponent ("-12.5", "1.25e-3"), at the start
/// of [first, last), as std::from_chars does in chars_format::general: no blanks, no
/// '+', no hexadecimal; rounded to the nearest double, ties to even. A value beyond the
/// double range, or one that underflows to zero, gives result_out_of_range and leaves
/// `value` as it was. What "inf" and "nan" give depends on the build: the program reads
/// only texts of digits.
std::from_chars_result ReadDouble(const char* first, const char* last, double& value);

/// Writes a finite value as std::to_chars does in chars_format::scientific with
/// `precision` digits after the point ("1.41545702000000e+01"): the exact binary value
/// rounded to that many digits, ties to even.
std::to_chars_result WriteScientific(char* first, char* last, double value, int precision);

/// Writes the shortest text that reads back as the same finite value, as std::to_chars
/// does without a format: plain or with an exponent, whichever is shorter, a whole
/// number plain with all its exact digits.
std::to_chars_result WriteShortest(char* first, char* last, double value);

namespace detail {
// The C library's forms of the three, always built, so that a test can hold them against
// <charconv> where both exist.
std::from_chars_result ReadDoubleWithStrtod(const char* first, const char* last, double& value);
std::to_chars_result WriteScientificWithPrintf(char* first, char* last, double value, int precision);
std::to_chars_result WriteShortestWithPrintf(char* first, char* last, double value);
}  // namespace detail

}  // namespace dosat
