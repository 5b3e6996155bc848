#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

#include "dosat/floatchars.h"
#include "dosat/numbertext.h"
#include "dosat/utf8.h"

// Reading a number as people type it: full-width forms folded, the locale's separators.
namespace dosat {
namespace {

using utf8::kInvalid;

// People type numbers with a Japanese input method switched on: its full-width
// digits, signs and separators mean the same as the ASCII ones.
char32_t FoldWidth(char32_t cp) {
  if (cp >= U'０' && cp <= U'９') return U'0' + (cp - U'０');
  switch (cp) {
    case U'＋': return U'+';
    case U'－':
    case U'\u2212': return U'-';
    case U'．': return U'.';
    case U'，': return U',';
    default: return cp;
  }
}

bool IsSpaceLike(char32_t cp) { return cp == U' ' || cp == U'\u00A0' || cp == U'\u202F'; }

// Where the locale groups digits with a (no-break) space, people type an
// ordinary space for it.
bool IsGroup(char32_t cp, NumberLocale locale) {
  if (cp == locale.decimal) return false;
  return cp == locale.group || (IsSpaceLike(locale.group) && IsSpaceLike(cp));
}

// The text without the blanks around it.
std::string_view TrimBlanks(std::string_view text) {
  constexpr std::string_view kIdeographicSpace = "\u3000";
  for (bool trimmed = true; trimmed;) {
    trimmed = false;
    if (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
      text.remove_prefix(1), trimmed = true;
    } else if (text.starts_with(kIdeographicSpace)) {
      text.remove_prefix(kIdeographicSpace.size()), trimmed = true;
    }
    if (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
      text.remove_suffix(1), trimmed = true;
    } else if (text.ends_with(kIdeographicSpace)) {
      text.remove_suffix(kIdeographicSpace.size()), trimmed = true;
    }
  }
  return text;
}
bool IsDigit(char32_t cp) { return cp >= U'0' && cp <= U'9'; }

// Reads the text one folded code point at a time, with one code point of look-ahead.
class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) { Advance(); }
  char32_t Peek() const { return current_; }
  bool AtEnd() const { return atEnd_; }
  void Advance() {
    atEnd_ = pos_ >= text_.size();
    current_ = atEnd_ ? kInvalid : FoldWidth(utf8::Decode(text_, pos_));
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
  char32_t current_ = kInvalid;
  bool atEnd_ = true;
};

// A double needs at most 767 significant decimal digits to tell which side of
// a rounding boundary a number lies; past those, one sticky non-zero digit
// keeps the rounding right and the conversion's work bounded.
constexpr std::size_t kMaxDigits = 780;
constexpr std::int64_t kExponentClamp = 1'000'000'000;

// Digits of a number without leading zeros: value = digits × 10^exponent.
struct Mantissa {
  char digits[kMaxDigits + 1];
  std::size_t count = 0;
  std::int64_t exponent = 0;
  bool sticky = false;

  void AddInteger(char32_t d) {
    if (count == 0 && d == U'0') return;
    if (count < kMaxDigits) {
      digits[count++] = static_cast<char>(d);
    } else {
      ++exponent;
      sticky = sticky || d != U'0';
    }
  }
  void AddFraction(char32_t d) {
    if (count == 0 && d == U'0') {
      --exponent;
    } else if (count < kMaxDigits) {
      digits[count++] = static_cast<char>(d);
      --exponent;
    } else {
      sticky = sticky || d != U'0';
    }
  }
};

std::int64_t Clamp(std::int64_t v) {
  return v > kExponentClamp ? kExponentClamp : v < -kExponentClamp ? -kExponentClamp : v;
}

ReadResult ToDouble(Mantissa& m, std::int64_t exponent, bool negative) {
  const double zero = negative ? -0.0 : 0.0;
  if (m.count == 0) return {ReadStatus::Number, zero};
  if (m.sticky) {
    m.digits[m.count++] = '1';
    --exponent;
  }
  // The magnitude lies in [10^(magnitude-1), 10^magnitude).
  const std::int64_t magnitude = exponent + static_cast<std::int64_t>(m.count);
  if (magnitude > 310) return {ReadStatus::OutOfRange, 0.0};
  if (magnitude < -330) return {ReadStatus::Number, zero};

  char buffer[kMaxDigits + 32];
  char* out = buffer;
  if (negative) *out++ = '-';
  for (std::size_t i = 0; i < m.count; ++i) *out++ = m.digits[i];
  *out++ = 'e';
  out = std::to_chars(out, buffer + sizeof buffer, exponent).ptr;

  double value = 0.0;
  const auto [end, error] = ReadDouble(buffer, out, value);
  if (error == std::errc::result_out_of_range) {
    return magnitude > 0 ? ReadResult{ReadStatus::OutOfRange, 0.0}
                         : ReadResult{ReadStatus::Number, zero};
  }
  if (error != std::errc() || end != out) return {ReadStatus::NotANumber, 0.0};
  return {ReadStatus::Number, value};
}

}  // namespace

ReadResult ReadNumber(std::string_view text, NumberLocale locale) {
  constexpr ReadResult kNotANumber{ReadStatus::NotANumber, 0.0};
  Scanner in(TrimBlanks(text));

  bool negative = false;
  if (in.Peek() == U'+' || in.Peek() == U'-') {
    negative = in.Peek() == U'-';
    in.Advance();
  }

  // Integer part: the group separator may only stand between groups of three
  // digits, the first of one to three and not starting with 0. "0,500" is no
  // grouped 500 but a mistyped 0.5 (or 20.500 with the 2 lost): it must not
  // pass as a number a thousand times too large.
  Mantissa m;
  bool anyDigit = false;
  bool leadingZero = false;
  bool grouped = false;
  int run = 0;
  for (; !in.AtEnd(); in.Advance()) {
    const char32_t c = in.Peek();
    if (IsDigit(c)) {
      if (!anyDigit) leadingZero = c == U'0';
      m.AddInteger(c);
      anyDigit = true;
      ++run;
    } else if (IsGroup(c, locale)) {
      if (run == 0 || run > 3 || (grouped && run != 3) || leadingZero) return kNotANumber;
      grouped = true;
      run = 0;
    } else {
      break;
    }
  }
  if (grouped && run != 3) return kNotANumber;

  if (!in.AtEnd() && in.Peek() == locale.decimal) {
    for (in.Advance(); !in.AtEnd() && IsDigit(in.Peek()); in.Advance()) {
      m.AddFraction(in.Peek());
      anyDigit = true;
    }
  }
  if (!anyDigit) return kNotANumber;

  std::int64_t exponent = 0;
  if (!in.AtEnd() && (in.Peek() == U'e' || in.Peek() == U'E')) {
    in.Advance();
    bool negativeExponent = false;
    if (in.Peek() == U'+' || in.Peek() == U'-') {
      negativeExponent = in.Peek() == U'-';
      in.Advance();
    }
    if (in.AtEnd() || !IsDigit(in.Peek())) return kNotANumber;
    for (; !in.AtEnd() && IsDigit(in.Peek()); in.Advance()) {
      exponent = Clamp(exponent * 10 + (in.Peek() - U'0'));
    }
    if (negativeExponent) exponent = -exponent;
  }

  if (!in.AtEnd()) return kNotANumber;

  return ToDouble(m, Clamp(m.exponent + exponent), negative);
}

}  // namespace dosat
