#pragma once

#include <QtTest>

// The device pixel ratios the table is drawn at, and the thickness every one-pixel rule
// must then have: the rows of a data-driven test.
inline void AddRatioRows() {
  QTest::addColumn<double>("ratio");
  QTest::addColumn<int>("thickness");
  QTest::newRow("1") << 1.0 << 1;
  QTest::newRow("1.25") << 1.25 << 1;
  QTest::newRow("1.5") << 1.5 << 2;
  QTest::newRow("1.75") << 1.75 << 2;
  QTest::newRow("2") << 2.0 << 2;
  QTest::newRow("2.5") << 2.5 << 3;
  QTest::newRow("3") << 3.0 << 3;
}
