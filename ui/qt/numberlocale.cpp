#include <QList>
#include <QLocale>
#include <QString>

#include "qtplatform.h"

namespace dosat {

// The locale's number characters, as the user's settings give them.
NumberLocale QtPlatform::UserNumberLocale() const {
  const QLocale locale = QLocale::system();
  const auto first = [](const QString& text, char32_t fallback) {
    const QList<uint> ucs4 = text.toUcs4();
    return ucs4.isEmpty() ? fallback : static_cast<char32_t>(ucs4.first());
  };
  const NumberLocale fallback;
  return {first(locale.decimalPoint(), fallback.decimal), first(locale.groupSeparator(), fallback.group)};
}

}  // namespace dosat
