// Every text of both windows against its background, measured in the X server's own
// pixels on an Xvfb, under the desktop theme CTest starts it with (a dark GTK theme,
// the high-contrast Adwaita styles): each must reach WCAG 2's 4.5:1. The table is drawn in
// the theme's field colours in high contrast, black on white otherwise.
#include <QApplication>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>
#include <QtTest>
#include <algorithm>
#include <cmath>

#include "contrast.h"
#include "dodata.h"
#include "forms.h"
#include "program.h"
#include "textcolour.h"
#include "typing.h"
#include "zepalt.h"

namespace {

/// Whether CTest starts the test under a high-contrast style.
bool HighContrast() { return qEnvironmentVariable("QT_STYLE_OVERRIDE").contains("HighContrast"); }

/// A text's colour and its background as the screen shows them.
struct Measured {
  QRgb text = 0;
  QRgb background = 0;
  double ratio = 0;
};

double Ratio(QRgb a, QRgb b) { return dosat::contrast::Ratio(dosat::ToBgr(a), dosat::ToBgr(b)); }

QRgb At(const QImage& screen, int x, int y) { return screen.pixel(x, y) & RGB_MASK; }

// The colour most of the counted pixels show.
QRgb MostCommon(const QHash<QRgb, int>& counts) {
  return std::max_element(counts.cbegin(), counts.cend()).key();
}

// Anti-aliased edges are blends of the text colour and the background, each lying
// between the two: the text colour is the pixel farthest from the background, a stroke's
// core. Where even the cores are blends (thin strokes of a small face), that pixel is
// nearer the background than the real colour and the ratio comes out low, never high.
// The background is the colour most of the area shows; where it is a gradient (a style's
// buttons), each row of the text has its own shade, and the text is measured against
// the shade it is least readable on.
Measured Measure(const QImage& screen, const QRect& area) {
  QHash<QRgb, int> counts;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) ++counts[At(screen, x, y)];
  }
  const QRgb background = MostCommon(counts);
  QRgb text = background;
  for (auto c = counts.cbegin(); c != counts.cend(); ++c) {
    if (Ratio(c.key(), background) > Ratio(text, background)) text = c.key();
  }
  // Pixels at least half way to the text colour, in contrast, are the glyphs': the
  // rows they span are the text's, and the others in those rows its background.
  const double glyph = std::sqrt(Ratio(text, background));
  const auto isGlyph = [&](QRgb pixel) { return Ratio(pixel, background) >= glyph; };
  Measured m{text, background, Ratio(text, background)};
  for (int y = area.top(); y <= area.bottom(); ++y) {
    QHash<QRgb, int> row;
    bool hasGlyph = false;
    for (int x = area.left(); x <= area.right(); ++x) {
      const QRgb pixel = At(screen, x, y);
      if (isGlyph(pixel)) {
        hasGlyph = true;
      } else {
        ++row[pixel];
      }
    }
    if (!hasGlyph || row.isEmpty()) continue;
    const QRgb shade = MostCommon(row);
    if (Ratio(text, shade) < m.ratio) m = {text, shade, Ratio(text, shade)};
  }
  return m;
}

// Where the control draws its text: inside the frame of a box or the bevel of a
// button, whose edges are no text.
QRect TextArea(QWidget* control) {
  QStyle* style = control->style();
  QRect area = control->rect();
  if (auto* box = qobject_cast<QLineEdit*>(control)) {
    QStyleOptionFrame option;
    option.initFrom(box);
    option.lineWidth = style->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box);
    area = style->subElementRect(QStyle::SE_LineEditContents, &option, box);
  } else if (auto* button = qobject_cast<QPushButton*>(control)) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    area = style->subElementRect(QStyle::SE_PushButtonContents, &option, button);
  }
  return QRect(control->mapToGlobal(area.topLeft()), area.size());
}

}  // namespace

class DesktopContrastTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void cleanupTestCase() { program_.reset(); }
  void texts_data();
  void texts();
  void tableColours();

 private:
  /// Makes `window` the active one and reads the screen once it shows; null if it
  /// cannot be made active.
  QImage showAndRead(QWidget* window);

  dosat::QtPlatform platform_;
  std::unique_ptr<dosat::Program> program_;
  QImage calculationScreen_, tableScreen_;
};

// The window typed in is the active one. An inactive window is drawn in its palette's
// Inactive colours, which some styles fade, as GTK does a window in the background.
QImage DesktopContrastTest::showAndRead(QWidget* window) {
  window->activateWindow();
  if (!QTest::qWaitForWindowActive(window)) return {};
  window->repaint();
  QTest::qWait(50);
  return QGuiApplication::primaryScreen()->grabWindow(0).toImage();
}

void DesktopContrastTest::initTestCase() {
  QCOMPARE(QGuiApplication::platformName(), QString("xcb"));
  QVERIFY2(dosat::ApplicationPaletteKind() == (HighContrast() ? dosat::contrast::Palette::HighContrast
                                                                : dosat::contrast::Palette::Other),
           "the desktop theme did not take, or was taken for another");
  dosat::ConfigureApplication();
  program_ = std::make_unique<dosat::Program>(platform_, [](int) {});
  program_->Start();
  dosat::ZEPALT& calc = program_->calculationWindow();
  QVERIFY(QTest::qWaitForWindowExposed(WindowOf(calc)));
  TypeText(Edit(calc.Text1), "20");
  TypeText(Edit(calc.Text2), "21000");
  QTest::mouseClick(Button(calc.Command1), Qt::LeftButton);
  QCOMPARE(Edit(calc.Text3)->text(), QString("7.01"));
  calculationScreen_ = showAndRead(WindowOf(calc));
  QVERIFY(!calculationScreen_.isNull());

  QTest::mouseClick(Button(calc.Command3), Qt::LeftButton);
  QWidget* table = WindowOf(program_->tableWindow());
  QVERIFY(QTest::qWaitForWindowExposed(table));
  tableScreen_ = showAndRead(table);
  QVERIFY(!tableScreen_.isNull());
}

void DesktopContrastTest::texts_data() {
  QTest::addColumn<bool>("table");
  QTest::addColumn<QString>("name");
  for (const auto& control : dosat::design::kCalculationWindow.controls) {
    const QString name = QString::fromUtf8(control.name.data(), qsizetype(control.name.size()));
    QTest::newRow(qPrintable("ZEPALT." + name)) << false << name;
  }
  QTest::newRow("DOData.Command1") << true << "Command1";
}

void DesktopContrastTest::texts() {
  QFETCH(bool, table);
  QFETCH(QString, name);
  QWidget* window = table ? WindowOf(program_->tableWindow()) : WindowOf(program_->calculationWindow());
  auto* control = window->findChild<QWidget*>(name);
  QVERIFY(control);
  const QImage& screen = table ? tableScreen_ : calculationScreen_;
  const Measured m = Measure(screen, TextArea(control));
  const QString figures = QString("%1 on %2: %3:1")
                              .arg(QColor(m.text).name(), QColor(m.background).name())
                              .arg(m.ratio, 0, 'f', 2);
  qInfo("%s", qPrintable(figures));
  QVERIFY2(m.ratio >= dosat::contrast::kMinimum, qPrintable(figures));
}

// Inside the picture box the commonest colour is the paper, and the rules are solid ink.
void DesktopContrastTest::tableColours() {
  QWidget* table = WindowOf(program_->tableWindow());
  auto* picture = table->findChild<QFrame*>("Picture1");
  QVERIFY(picture);
  const QRect inside(picture->mapToGlobal(picture->contentsRect().topLeft()), picture->contentsRect().size());
  QHash<QRgb, int> counts;
  for (int y = inside.top(); y <= inside.bottom(); ++y) {
    for (int x = inside.left(); x <= inside.right(); ++x) ++counts[tableScreen_.pixel(x, y) & 0xFFFFFF];
  }
  const QRgb paper = std::max_element(counts.keyValueBegin(), counts.keyValueEnd(),
                                      [](auto a, auto b) { return a.second < b.second; })->first;
  const QPalette desktop = QApplication::palette();
  const QRgb wantPaper = HighContrast() ? desktop.color(QPalette::Base).rgb() & 0xFFFFFF : 0xFFFFFF;
  const QRgb wantInk = HighContrast() ? desktop.color(QPalette::Text).rgb() & 0xFFFFFF : 0x000000;
  QCOMPARE(QColor(paper).name(), QColor(wantPaper).name());
  QVERIFY2(counts.value(wantInk) > 1000, qPrintable(QColor(wantInk).name() + " is not the table's ink"));
}

QTEST_MAIN(DesktopContrastTest)
#include "desktop_contrast_tests.moc"
