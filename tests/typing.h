#pragma once

#include <QString>
#include <QWidget>
#include <QtTest>

// Types text as a keyboard would, one character at a time; characters that
// have no key of their own arrive as an input method would send them.
inline void TypeText(QWidget* target, const QString& text) {
  for (const uint cp : text.toUcs4()) {
    if (cp < 0x7F && cp >= 0x20) {
      QTest::keyClick(target, static_cast<char>(cp));
    } else {
      const char32_t c = cp;
      QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString::fromUcs4(&c, 1),
                          Qt::NoModifier);
    }
  }
}
