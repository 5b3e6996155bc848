#pragma once

#include <string>
#include <string_view>

namespace dosat {

/// The two characters of the user's number format. Passed in by the caller;
/// nothing here reads a global locale.
struct NumberLocale {
  char32_t decimal = U'.';
  char32_t group = U',';
};

enum class ReadStatus {
  Number,      ///< value holds the number
  NotANumber,  ///< the text is not a number in the locale's form
  OutOfRange,  ///< a number too large for a double
};

struct ReadResult {
  ReadStatus status = ReadStatus::NotANumber;
  double value = 0.0;
};

/// Reads a UTF-8 text as a number: optional blanks (space, tab, U+3000) around
/// an optional sign, digits with the locale's group separator only between
/// groups of three, the first of which does not start with 0 (a space where the
/// locale groups with a no-break space),
/// the locale's decimal separator, and an optional exponent.
/// Full-width digits, signs and separators, and U+2212, read as their ASCII
/// forms. A number too small for a double reads as zero. Linear in the text's
/// length.
ReadResult ReadNumber(std::string_view text, NumberLocale locale);

/// Formats a value with the pattern "###.00": rounded half away from zero on
/// its 15-significant-digit decimal form, no leading zero, no grouping, two
/// decimals, "-" before a negative value that does not round to zero.
/// The value must be finite: an infinity or NaN has no such form, and gives the
/// empty text.
std::string FormatResult(double value, NumberLocale locale);

}  // namespace dosat
