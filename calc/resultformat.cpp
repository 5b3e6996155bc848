#include <algorithm>
#include <charconv>
#include <cmath>

#include "dosat/floatchars.h"
#include "dosat/numbertext.h"
#include "dosat/utf8.h"

// The result as the calculation window shows it.
namespace dosat {

std::string FormatResult(double value, NumberLocale locale) {
  if (!std::isfinite(value)) return {};
  constexpr int kSignificant = 15;
  // The value's 15-significant-digit decimal form, d.dddddddddddddde±x, is
  // what gets rounded: 14.155 is stored just below the half but reads 14.155.
  char sci[64];
  const char* end = WriteScientific(sci, sci + sizeof sci, std::abs(value), kSignificant - 1).ptr;
  char digits[kSignificant];
  digits[0] = sci[0];
  for (int i = 1; i < kSignificant; ++i) digits[i] = sci[i + 1];
  const char* exponentText = sci + kSignificant + 2;  // after "d.dd…de"
  if (*exponentText == '+') ++exponentText;
  int exponent = 0;
  std::from_chars(exponentText, end, exponent);

  // The digits from the first one down to the hundredths, rounded half away
  // from zero; a carry may add a digit in front.
  const int kept = exponent + 3;
  std::string number;
  if (kept >= kSignificant) {
    number.assign(digits, kSignificant);
    number.append(static_cast<std::size_t>(kept - kSignificant), '0');
  } else if (kept >= 0) {
    number.assign(digits, static_cast<std::size_t>(kept));
    if (digits[kept] >= '5') {
      int i = kept - 1;
      for (; i >= 0 && number[i] == '9'; --i) number[i] = '0';
      if (i >= 0) {
        ++number[i];
      } else {
        number.insert(number.begin(), '1');
      }
    }
  }
  if (number.size() < 2) number.insert(0, 2 - number.size(), '0');

  const std::string_view all(number);
  std::string_view integer = all.substr(0, all.size() - 2);
  integer.remove_prefix(std::min(integer.find_first_not_of('0'), integer.size()));
  const std::string_view decimals = all.substr(all.size() - 2);

  std::string text;
  if (value < 0 && (!integer.empty() || decimals != "00")) text += '-';
  text += integer;
  utf8::Append(text, locale.decimal);
  text += decimals;
  return text;
}

}  // namespace dosat
