#pragma once

#include <QDir>
#include <QImage>
#include <QString>
#include <QtTest>

// A window's rendering against a picture of it committed under tests/reference/. Where
// they differ, the rendering is written beside the test, NAME.actual.png, to look at.
// DOSAT_WRITE_REFERENCES=1 writes the rendering as the new reference instead: for a
// change to the look that is meant.
inline void CompareWithReference(const QImage& rendering, const QString& name) {
  const QImage shown = rendering.convertToFormat(QImage::Format_RGB32);
  const QString path = QStringLiteral(DOSAT_REFERENCE_DIR "/") + name + ".png";
  if (qEnvironmentVariableIntValue("DOSAT_WRITE_REFERENCES") == 1) {
    QVERIFY(shown.save(path));
    QSKIP(qPrintable("wrote " + path));
  }
  const QImage expected = QImage(path).convertToFormat(QImage::Format_RGB32);
  QVERIFY2(!expected.isNull(), qPrintable("no " + path));
  QCOMPARE(shown.size(), expected.size());
  int differing = 0;
  QPoint first;
  for (int y = 0; y < shown.height(); ++y) {
    for (int x = 0; x < shown.width(); ++x) {
      if (shown.pixel(x, y) != expected.pixel(x, y) && differing++ == 0) first = {x, y};
    }
  }
  if (differing) {
    const QString actual = QDir::current().filePath(name + ".actual.png");
    shown.save(actual);
    QFAIL(qPrintable(QString("%1 pixels differ from %2, the first at %3,%4; see %5")
                         .arg(differing).arg(path).arg(first.x()).arg(first.y()).arg(actual)));
  }
}
