// The table's layout and numbers as data: the committed layout file, its scaling to other
// device pixel ratios, and the readers of the layout and the CSV.
#include <QFile>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <set>

#include "ratios.h"
#include "tablelayout.h"

using dosat::table::Align;
using dosat::table::PixelRect;
using dosat::table::TableLayout;

namespace {

std::string readFile(const char* path) {
  QFile file(QString::fromUtf8(path));
  return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

const TableLayout& committed() {
  static const TableLayout layout = [] {
    std::string error;
    const auto parsed = dosat::table::ParseLayout(readFile(DOSAT_TABLE_LAYOUT), &error);
    if (!parsed) qFatal("%s: %s", DOSAT_TABLE_LAYOUT, error.c_str());
    return *parsed;
  }();
  return layout;
}

bool isHorizontal(const PixelRect& r) { return r.width > r.height; }

std::vector<PixelRect> rules(const TableLayout& layout, bool horizontal) {
  std::vector<PixelRect> out;
  std::copy_if(layout.rules.begin(), layout.rules.end(), std::back_inserter(out),
               [&](const PixelRect& r) { return isHorizontal(r) == horizontal; });
  return out;
}

/// The distinct positions of the rules across their thickness, in rising order.
std::vector<int> positions(const std::vector<PixelRect>& rules, bool horizontal) {
  std::set<int> at;
  for (const PixelRect& r : rules) at.insert(horizontal ? r.y : r.x);
  return {at.begin(), at.end()};
}

}  // namespace

class TableLayoutTest : public QObject {
  Q_OBJECT

 private slots:
  void committedLayoutIsThePicturesDrawing();
  void horizontalRulesAreTheTablesRows();
  void verticalRulesAreTheColumns();
  void textsAreTheTitleHeadingsNumbersAndNote();
  void formatReadsBackToTheCommittedText();

  void scaledRulesHaveOneThickness_data();
  void scaledRulesHaveOneThickness();
  void scaledRulesKeepTheirOrderAndMeet_data();
  void scaledRulesKeepTheirOrderAndMeet();
  void scaledTextsAndClip_data();
  void scaledTextsAndClip();

  void malformedLayoutsAreRefused_data();
  void malformedLayoutsAreRefused();

  void csvGivesTheNumbersAsWritten_data();
  void csvGivesTheNumbersAsWritten();
  void malformedCsvIsRefused_data();
  void malformedCsvIsRefused();
};

void TableLayoutTest::committedLayoutIsThePicturesDrawing() {
  const TableLayout& layout = committed();
  QCOMPARE(layout.width, 464);
  QCOMPARE(layout.height, 649);
  QVERIFY(layout.clip == (PixelRect{0, 0, 465, 629}));
  QCOMPARE(layout.topRule, 30);
  QCOMPARE(int(layout.rowRules.size()), 37);
  QCOMPARE(layout.rowRules.front(), 85);
  QCOMPARE(layout.rowRules.back(), 625);
  for (std::size_t r = 1; r < layout.rowRules.size(); ++r) {
    QCOMPARE(layout.rowRules[r] - layout.rowRules[r - 1], 15);
  }
  for (const PixelRect& r : layout.rules) {
    QCOMPARE(std::min(r.width, r.height), 1);
    QVERIFY(r.x >= 0 && r.y >= 0 && r.x + r.width <= layout.width && r.y + r.height <= layout.height);
  }
}

void TableLayoutTest::horizontalRulesAreTheTablesRows() {
  const auto horizontal = rules(committed(), true);
  std::vector<int> expected{30, 48, 66};
  for (int r = 0; r <= 36; ++r) expected.push_back(85 + 15 * r);
  QCOMPARE(positions(horizontal, true), expected);
  QCOMPARE(int(horizontal.size()), 40);
  for (const PixelRect& r : horizontal) {
    // The two rules in the chloride heading span its five columns; the rest the whole table.
    const bool chlorideHeading = r.y == 48 || r.y == 66;
    QCOMPARE(r.x, chlorideHeading ? 43 : 2);
    QCOMPARE(r.x + r.width - 1, chlorideHeading ? 348 : 461);
  }
}

void TableLayoutTest::verticalRulesAreTheColumns() {
  const TableLayout& layout = committed();
  const auto vertical = rules(layout, false);
  const std::vector<int> columns{2, 43, 104, 165, 226, 287, 348, 461};
  QCOMPARE(positions(vertical, false), columns);
  QCOMPARE(layout.columnRules, columns);
  for (const PixelRect& r : vertical) {
    QCOMPARE(r.y + r.height - 1, r.y == 48 ? 66 : 625);
    QVERIFY(r.y == 30 || r.y == 48 || r.y == 85);
  }
}

void TableLayoutTest::textsAreTheTitleHeadingsNumbersAndNote() {
  const auto& texts = committed().texts;
  QCOMPARE(int(texts.size()), 1 + 13 + 36 * 7 + 1);
  QCOMPARE(texts.front().text, std::string(dosat::table::kTitle));
  QCOMPARE(texts.front().pixelSize, 18);
  QCOMPARE(texts.front().letterSpacing, 2);
  QCOMPARE(texts.back().text, std::string(dosat::table::kNote));
  QVERIFY(texts.back().align == Align::Right);
  // Every number is right-aligned on its column's edge, so the decimal points line up.
  const auto& rows = committed().rowRules;
  for (std::size_t i = 14; i < 14 + 36 * 7; ++i) {
    const auto& number = texts[i];
    const std::size_t row = (i - 14) / 7, column = (i - 14) % 7;
    QVERIFY(number.align == Align::Right);
    QCOMPARE(number.pixelSize, 12);
    QCOMPARE(number.anchorX, texts[14 + column].anchorX);
    QVERIFY(number.baseline > rows[row] && number.baseline < rows[row + 1]);
  }
}

void TableLayoutTest::formatReadsBackToTheCommittedText() {
  QCOMPARE(dosat::table::FormatLayout(committed()), readFile(DOSAT_TABLE_LAYOUT));
}

void TableLayoutTest::scaledRulesHaveOneThickness_data() {
  AddRatioRows();
}

// Where 15-px rows become 22.5 px, rounding each rule's two edges would give 1- and
// 2-px rules in turn; every rule must come out equally thick.
void TableLayoutTest::scaledRulesHaveOneThickness() {
  QFETCH(double, ratio);
  QFETCH(int, thickness);
  const TableLayout scaled = dosat::table::ScaleLayout(committed(), ratio);
  QCOMPARE(scaled.rules.size(), committed().rules.size());
  for (const PixelRect& r : scaled.rules) QCOMPARE(std::min(r.width, r.height), thickness);
}

void TableLayoutTest::scaledRulesKeepTheirOrderAndMeet_data() { scaledRulesHaveOneThickness_data(); }

void TableLayoutTest::scaledRulesKeepTheirOrderAndMeet() {
  QFETCH(double, ratio);
  QFETCH(int, thickness);
  const TableLayout scaled = dosat::table::ScaleLayout(committed(), ratio);
  for (const bool horizontal : {true, false}) {
    const auto at = positions(rules(scaled, horizontal), horizontal);
    QCOMPARE(at.size(), positions(rules(committed(), horizontal), horizontal).size());
    // Rising, and never so close that two rules run together.
    for (std::size_t i = 1; i < at.size(); ++i) QVERIFY2(at[i] - at[i - 1] > thickness, qPrintable(QString::number(at[i])));
    for (std::size_t i = 0; i < at.size(); ++i) {
      const auto& original = positions(rules(committed(), horizontal), horizontal);
      QCOMPARE(at[i], int(std::lround(original[i] * ratio)));
    }
  }
  // Each rule ends on the far side of the rule it meets, so the corners are closed.
  const auto vertical = rules(scaled, false);
  const auto horizontal = rules(scaled, true);
  const auto meetsVertical = [&](int x) {
    return std::any_of(vertical.begin(), vertical.end(), [x](const PixelRect& v) { return x >= v.x && x < v.x + v.width; });
  };
  const auto meetsHorizontal = [&](int y) {
    return std::any_of(horizontal.begin(), horizontal.end(),
                       [y](const PixelRect& h) { return y >= h.y && y < h.y + h.height; });
  };
  for (const PixelRect& h : horizontal) {
    QVERIFY(meetsVertical(h.x) && !meetsVertical(h.x - 1));
    QVERIFY(meetsVertical(h.x + h.width - 1) && !meetsVertical(h.x + h.width));
  }
  for (const PixelRect& v : vertical) {
    QVERIFY(meetsHorizontal(v.y) && !meetsHorizontal(v.y - 1));
    QVERIFY(meetsHorizontal(v.y + v.height - 1) && !meetsHorizontal(v.y + v.height));
  }
}

void TableLayoutTest::scaledTextsAndClip_data() {
  QTest::addColumn<double>("ratio");
  QTest::addColumn<QRect>("clip");
  QTest::addColumn<QSize>("picture");
  QTest::addColumn<int>("digitPixels");
  QTest::newRow("1") << 1.0 << QRect(0, 0, 465, 629) << QSize(464, 649) << 12;
  QTest::newRow("1.25") << 1.25 << QRect(0, 0, 581, 786) << QSize(580, 811) << 15;
  QTest::newRow("1.5") << 1.5 << QRect(0, 0, 698, 944) << QSize(696, 974) << 18;
  QTest::newRow("2") << 2.0 << QRect(0, 0, 930, 1258) << QSize(928, 1298) << 24;
  QTest::newRow("3") << 3.0 << QRect(0, 0, 1395, 1887) << QSize(1392, 1947) << 36;
}

void TableLayoutTest::scaledTextsAndClip() {
  QFETCH(double, ratio);
  QFETCH(QRect, clip);
  QFETCH(QSize, picture);
  QFETCH(int, digitPixels);
  const TableLayout& original = committed();
  const TableLayout scaled = dosat::table::ScaleLayout(original, ratio);
  QCOMPARE(QRect(scaled.clip.x, scaled.clip.y, scaled.clip.width, scaled.clip.height), clip);
  QCOMPARE(QSize(scaled.width, scaled.height), picture);
  QCOMPARE(scaled.texts.size(), original.texts.size());
  // The numbers of a column keep one right edge, and stay between their row's rules.
  for (std::size_t i = 14; i < 14 + 36 * 7; ++i) {
    const std::size_t row = (i - 14) / 7, column = (i - 14) % 7;
    QCOMPARE(scaled.texts[i].anchorX, scaled.texts[14 + column].anchorX);
    QVERIFY(scaled.texts[i].baseline > scaled.rowRules[row] && scaled.texts[i].baseline < scaled.rowRules[row + 1]);
  }
  QCOMPARE(scaled.texts[14].pixelSize, digitPixels);
  QCOMPARE(scaled.texts.front().letterSpacing, int(std::lround(2 * ratio)));
  QCOMPARE(scaled.rowRules.back(), int(std::lround(625 * ratio)));
}

void TableLayoutTest::malformedLayoutsAreRefused_data() {
  QTest::addColumn<QString>("change");  // what replaces the committed file's line "top 30"
  QTest::addColumn<QString>("message");
  QTest::newRow("unknown line") << "frame 1 2" << "line 6: unknown line";
  QTest::newRow("text without its text") << "text 12 0 right 30 97" << "line 6: a text needs";
  QTest::newRow("text with bad alignment") << "text 12 0 middle 30 97 0" << "line 6: malformed text";
  QTest::newRow("text at no number") << "text 12 0 left 3O 97 0" << "line 6: malformed text";
  QTest::newRow("empty rule") << "rule 2 30 0 1" << "line 6: a rectangle must have a positive size";
  QTest::newRow("short rule") << "rule 2 30 460" << "line 6: expected 4 integers";
  QTest::newRow("no top") << "# top 30" << "lacks its size, clip or top";
  QTest::newRow("columns falling") << "top 30\ncolumns 2 1 3 4 5 6 7 8" << "line 7: expected rising integers";
  QTest::newRow("seven columns") << "top 30\ncolumns 2 43 104 165 226 287 348" << "8 column rules";
}

void TableLayoutTest::malformedLayoutsAreRefused() {
  QFETCH(QString, change);
  QFETCH(QString, message);
  QString text = QString::fromStdString(readFile(DOSAT_TABLE_LAYOUT));
  QVERIFY(text.contains("\ntop 30\n"));
  text.replace("\ntop 30\n", "\n" + change + "\n");
  std::string error;
  QVERIFY(!dosat::table::ParseLayout(text.toStdString(), &error));
  QVERIFY2(QString::fromStdString(error).contains(message), error.c_str());
}

void TableLayoutTest::csvGivesTheNumbersAsWritten_data() {
  QTest::addColumn<int>("row");
  QTest::addColumn<int>("column");
  QTest::addColumn<QString>("text");
  QTest::newRow("0 °C") << 0 << 0 << "0";
  QTest::newRow("0 °C pure water") << 0 << 1 << "14.15";
  QTest::newRow("8 °C pure water, as printed") << 8 << 1 << "11.47";
  QTest::newRow("21 °C per 100, as printed") << 21 << 6 << "0.0086";
  QTest::newRow("35 °C 10000, trailing zero") << 35 << 3 << "6.30";
  QTest::newRow("35 °C") << 35 << 0 << "35";
}

void TableLayoutTest::csvGivesTheNumbersAsWritten() {
  QFETCH(int, row);
  QFETCH(int, column);
  QFETCH(QString, text);
  const auto rows = dosat::table::ParseTableCsv(readFile(DOSAT_TABLE_CSV));
  QVERIFY(rows);
  QCOMPARE(int(rows->size()), 36);
  QCOMPARE(QString::fromStdString((*rows)[row][column]), text);
}

void TableLayoutTest::malformedCsvIsRefused_data() {
  QTest::addColumn<QString>("from");  // replaced in the committed CSV by `to`
  QTest::addColumn<QString>("to");
  QTest::addColumn<QString>("message");
  QTest::newRow("no header") << "temp_c," << "temp," << "no temp_c header";
  QTest::newRow("six fields") << "\n8,11.47," << "\n8," << "line 10 has 6 fields";
  QTest::newRow("a decimal comma") << "\n8,11.47," << "\n8,11,47," << "line 10 has 8 fields";
  QTest::newRow("a sign") << "\n8,11.47," << "\n8,-11.47," << "line 10: \"-11.47\" is not a number";
  QTest::newRow("a temperature out of order") << "\n8,11.47," << "\n9,11.47," << "line 10 is for 9 °C, expected 8";
  QTest::newRow("a row short") << "\n35,7.04,6.67,6.30,5.93,5.56,0.0074" << "" << "has 35 rows";
  QTest::newRow("Windows line ends and spaces are fine") << "\n" << " \r\n" << "";
}

void TableLayoutTest::malformedCsvIsRefused() {
  QFETCH(QString, from);
  QFETCH(QString, to);
  QFETCH(QString, message);
  QString csv = QString::fromStdString(readFile(DOSAT_TABLE_CSV));
  QVERIFY(csv.contains(from));
  csv.replace(from, to);
  std::string error;
  const auto rows = dosat::table::ParseTableCsv(csv.toStdString(), &error);
  if (message.isEmpty()) {
    QVERIFY2(rows, error.c_str());
    QCOMPARE((*rows)[35][6], std::string("0.0074"));
  } else {
    QVERIFY(!rows);
    QVERIFY2(QString::fromStdString(error).contains(message), error.c_str());
  }
}

QTEST_APPLESS_MAIN(TableLayoutTest)
#include "table_layout_tests.moc"
