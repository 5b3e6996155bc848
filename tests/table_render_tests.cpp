// The table drawn from its layout by the Qt renderer: at 1x the committed picture itself,
// at other device pixel ratios sharp rules of one thickness with every number in its cell.
#include <QApplication>
#include <QFile>
#include <QtTest>

#include "ratios.h"
#include "embeddedtable.h"
#include "tablelayout.h"
#include "tablerenderer.h"

using dosat::table::PixelRect;
using dosat::table::TableLayout;

namespace {

QImage committedPicture() { return QImage(QStringLiteral(DOSAT_TABLE_BMP)).convertToFormat(QImage::Format_RGB32); }

/// The first pixel where `a` and `b` differ, as text; empty if they are the same.
QString firstDifference(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return QString("size %1x%2, not %3x%4").arg(a.width()).arg(a.height()).arg(b.width()).arg(b.height());
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      if (a.pixel(x, y) != b.pixel(x, y)) {
        return QString("pixel %1,%2: %3, not %4").arg(x).arg(y).arg(qGray(a.pixel(x, y))).arg(qGray(b.pixel(x, y)));
      }
    }
  }
  return {};
}

int grey(const QImage& image, int x, int y) { return qGray(image.pixel(x, y)); }

struct Run {
  int first;
  int length;
  bool operator==(const Run&) const = default;
};

/// The runs of black pixels along column `x` (or row `y` if `x` is -1), each with the
/// pixel before and after it no darker than light grey: no blurred edges.
std::optional<std::vector<Run>> blackRuns(const QImage& image, int x, int y) {
  const bool down = x >= 0;
  const int length = down ? image.height() : image.width();
  const auto at = [&](int i) { return down ? grey(image, x, i) : grey(image, i, y); };
  std::vector<Run> runs;
  for (int i = 0; i < length; ++i) {
    if (at(i) != 0) continue;
    int end = i;
    while (end < length && at(end) == 0) ++end;
    if ((i > 0 && at(i - 1) < 200) || (end < length && at(end) < 200)) return std::nullopt;
    runs.push_back({i, end - i});
    i = end;
  }
  return runs;
}

/// The rules of `layout` that cross column `x` (or row `y` if `x` is -1), as runs across them.
std::vector<Run> rulesAcross(const TableLayout& layout, int x, int y) {
  std::vector<Run> runs;
  for (const PixelRect& r : layout.rules) {
    if (x >= 0 && r.width > r.height && x >= r.x && x < r.x + r.width) runs.push_back({r.y, r.height});
    if (x < 0 && r.height > r.width && y >= r.y && y < r.y + r.height) runs.push_back({r.x, r.width});
  }
  std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) { return a.first < b.first; });
  return runs;
}

}  // namespace

namespace QTest {
template <>
char* toString(const std::vector<Run>& runs) {
  QString text;
  for (const Run& r : runs) text += QString("%1+%2 ").arg(r.first).arg(r.length);
  return qstrdup(qPrintable(text));
}
}  // namespace QTest

class TableRenderTest : public QObject {
  Q_OBJECT

 private slots:
  void theFaceIsInstalled();
  void layoutAtOneIsTheCommittedPicture();
  void shownPartAtOneIsThePicturesTop();
  void rulesAreBlackAndEquallyThick_data();
  void rulesAreBlackAndEquallyThick();
  void everyNumberSitsInsideItsCell_data();
  void everyNumberSitsInsideItsCell();
};

void TableRenderTest::theFaceIsInstalled() {
  // Found by its name through the font configuration, as the program finds it.
  QCOMPARE(dosat::table::TableFontFamily(), QStringLiteral("IPAPGothic"));
}

void TableRenderTest::layoutAtOneIsTheCommittedPicture() {
  QFile file(DOSAT_TABLE_LAYOUT);
  QVERIFY(file.open(QIODevice::ReadOnly));
  const auto layout = dosat::table::ParseLayout(file.readAll().toStdString());
  QVERIFY(layout);
  const QImage drawn = dosat::table::RenderLayout(*layout, dosat::table::TableFontFamily(), {0, 0, 464, 649});
  const QString difference = firstDifference(drawn, committedPicture());
  QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

// What the table window shows at 1x, from the program's own resources: the picture's top
// 629 rows and a white column to its right.
void TableRenderTest::shownPartAtOneIsThePicturesTop() {
  const QImage shown = dosat::table::RenderShownTable(1.0);
  QCOMPARE(shown.size(), QSize(465, 629));
  QCOMPARE(shown.devicePixelRatio(), 1.0);
  const QString difference = firstDifference(shown.copy(0, 0, 464, 629), committedPicture().copy(0, 0, 464, 629));
  QVERIFY2(difference.isEmpty(), qPrintable(difference));
  for (int y = 0; y < 629; ++y) QCOMPARE(grey(shown, 464, y), 255);
}

void TableRenderTest::rulesAreBlackAndEquallyThick_data() {
  AddRatioRows();
}

// Scans real pixel rows and columns of what the table window would show: every rule
// crossing them is a run of pure black exactly `thickness` pixels wide with white beside it.
void TableRenderTest::rulesAreBlackAndEquallyThick() {
  QFETCH(double, ratio);
  QFETCH(int, thickness);
  const QImage shown = dosat::table::RenderShownTable(ratio);
  const TableLayout scaled = dosat::table::ScaleLayout(*dosat::table::EmbeddedLayout(), ratio);
  QCOMPARE(shown.devicePixelRatio(), ratio);
  QCOMPARE(shown.size(), QSize(scaled.clip.width, scaled.clip.height));

  // Down the temperature column's left margin and the chloride columns' left margin (1x
  // columns 5 and 46, where no text reaches): all the rows' rules, then the headings' too.
  for (const int column : {5, 46}) {
    const int x = dosat::table::ScalePosition(column, ratio);
    const auto runs = blackRuns(shown, x, -1);
    QVERIFY2(runs, qPrintable(QString("a blurred rule edge in column %1").arg(x)));
    const auto expected = rulesAcross(scaled, x, -1);
    QCOMPARE(int(expected.size()), column == 5 ? 38 : 40);
    QCOMPARE(*runs, expected);
    for (const Run& r : *runs) QCOMPARE(r.length, thickness);
  }
  // Across the first pixel row under a few rows' rules: the frame and the six column rules.
  for (const int row : {0, 1, 17, 35}) {
    const int y = scaled.rowRules[std::size_t(row)] + thickness;
    const auto runs = blackRuns(shown, -1, y);
    QVERIFY2(runs, qPrintable(QString("a blurred rule edge in row %1").arg(y)));
    const auto expected = rulesAcross(scaled, -1, y);
    QCOMPARE(int(expected.size()), 8);
    QCOMPARE(*runs, expected);
    for (const Run& r : *runs) QCOMPARE(r.length, thickness);
  }
}

void TableRenderTest::everyNumberSitsInsideItsCell_data() {
  QTest::addColumn<double>("ratio");
  QTest::newRow("1") << 1.0;
  QTest::newRow("1.5") << 1.5;
  QTest::newRow("2") << 2.0;
  QTest::newRow("3") << 3.0;
}

// Every cell of the 36 rows has ink, and none of it touches the cell's rules.
void TableRenderTest::everyNumberSitsInsideItsCell() {
  QFETCH(double, ratio);
  const QImage shown = dosat::table::RenderShownTable(ratio);
  const TableLayout scaled = dosat::table::ScaleLayout(*dosat::table::EmbeddedLayout(), ratio);
  const int thickness = dosat::table::ScaleThickness(1, ratio);
  for (int row = 0; row < dosat::table::kRowCount; ++row) {
    for (int column = 0; column < dosat::table::kColumnCount; ++column) {
      const QRect inside(QPoint(scaled.columnRules[column] + thickness, scaled.rowRules[row] + thickness),
                         QPoint(scaled.columnRules[column + 1] - 1, scaled.rowRules[row + 1] - 1));
      bool ink = false, edgeInk = false;
      for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
          if (grey(shown, x, y) == 255) continue;
          ink = true;
          const bool edge = x == inside.left() || x == inside.right() || y == inside.top() || y == inside.bottom();
          edgeInk = edgeInk || edge;
        }
      }
      const QString where = QString("row %1, column %2").arg(row).arg(column);
      QVERIFY2(ink, qPrintable("no number in " + where));
      QVERIFY2(!edgeInk, qPrintable("the number touches the rules in " + where));
    }
  }
}

QTEST_MAIN(TableRenderTest)
#include "table_render_tests.moc"
