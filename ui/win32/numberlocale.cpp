#include "win32platform.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace dosat {

// The separators of the user's own settings, whatever the program's locale; read by
// locale id, which Windows XP knows (it has no locale names).
NumberLocale Win32Platform::UserNumberLocale() const {
  const auto first = [](LCTYPE type, char32_t fallback) -> char32_t {
    wchar_t text[8] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, type, text, 8) < 2) return fallback;
    const auto high = static_cast<char32_t>(text[0]);
    if (high >= 0xD800 && high < 0xDC00 && text[1] >= 0xDC00 && text[1] < 0xE000) {
      return ((high - 0xD800) << 10) + (static_cast<char32_t>(text[1]) - 0xDC00) + 0x10000;
    }
    return high;
  };
  const NumberLocale fallback;
  return {first(LOCALE_SDECIMAL, fallback.decimal), first(LOCALE_STHOUSAND, fallback.group)};
}

}  // namespace dosat
