// Start-up, moving between the two windows, and the end of the program.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScreen>
#include <QStyle>
#include <QtTest>

#include "contrast.h"
#include "dodata.h"
#include "form.h"
#include "forms.h"
#include "program.h"
#include "textcolour.h"
#include "typing.h"
#include "zepalt.h"

using dosat::Program;

namespace {

// A window of any size that centres itself when loaded, as both windows do.
struct SizedDesign {
  dosat::design::Window sized;
};
class SizedForm : private SizedDesign, public dosat::Form {
 public:
  SizedForm(Program& program, int widthTwips, int heightTwips)
      : SizedDesign{{"Sized", "sized", widthTwips, heightTwips, dosat::design::kDefaultColour, {}}},
        Form(program, sized) {}

 protected:
  void Form_Load() override { CentreOnScreen(); }
  void Form_Unload() override {}
  void Click(std::size_t) override {}
};

QRect Screen() { return QGuiApplication::primaryScreen()->geometry(); }

// Twice the offset from the primary screen's corner is the room left over, give or
// take the half pixel that centring in twips leaves.
void VerifyCentred(const QWidget* window) {
  const QRect frame = window->frameGeometry();
  const QRect screen = Screen();
  QVERIFY2(qAbs(2 * (frame.left() - screen.left()) - (screen.width() - frame.width())) <= 1,
           qPrintable(QString("left %1").arg(frame.left())));
  QVERIFY2(qAbs(2 * (frame.top() - screen.top()) - (screen.height() - frame.height())) <= 1,
           qPrintable(QString("top %1").arg(frame.top())));
}

}  // namespace

class ProgramTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { dosat::ConfigureApplication(); }
  void init();
  void cleanup();

  void startShowsOnlyTheCalculationWindowCentred();
  void aWindowLargerThanTheScreenIsMadeSmallerToFitIt();
  void tableAndBackKeepTextsAndPositions();
  void closing_data();
  void closing();
  void closingBeforeTheTableWasEverShown();
  void textColoursFollowThePaletteInBothWindows_data();
  void textColoursFollowThePaletteInBothWindows();
  void randomUseNeverBreaksTheRules();

 private:
  dosat::ZEPALT& calc() { return program_->calculationWindow(); }
  dosat::DOData& table() { return program_->tableWindow(); }
  void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

  dosat::QtPlatform platform_;
  std::unique_ptr<Program> program_;
  QList<int> ends_;
};

void ProgramTest::init() {
  ends_.clear();
  program_ = std::make_unique<Program>(platform_, [this](int code) { ends_.append(code); });
  program_->Start();
  QVERIFY(QTest::qWaitForWindowExposed(WindowOf(calc())));
}

void ProgramTest::cleanup() {
  program_.reset();
  QApplication::setPalette(QApplication::style()->standardPalette());
}

void ProgramTest::startShowsOnlyTheCalculationWindowCentred() {
  QVERIFY(calc().IsLoaded());
  QVERIFY(WindowOf(calc())->isVisible());
  QVERIFY(!program_->hasTableWindow());
  VerifyCentred(WindowOf(calc()));
}

// Centred as designed it would stand partly off the screen, its title bar with it: it is
// laid out smaller, as much as it must be, and centred, on the screen whole.
void ProgramTest::aWindowLargerThanTheScreenIsMadeSmallerToFitIt() {
  const QRect screen = Screen();
  const int width = (screen.width() + 200) * 15;
  const int height = (screen.height() + 100) * 15;
  SizedForm big(*program_, width, height);
  big.Load();
  QVERIFY(big.Scale() < 1);
  QCOMPARE(big.Width(), float(WindowOf(big)->frameGeometry().width() * 15));
  big.Show();
  QVERIFY(QTest::qWaitForWindowExposed(WindowOf(big)));
  const QRect frame = WindowOf(big)->frameGeometry();
  QVERIFY2(screen.contains(frame), qPrintable(QString("%1,%2 %3x%4").arg(frame.x()).arg(frame.y())
                                                  .arg(frame.width()).arg(frame.height())));
  QVERIFY(frame.width() >= screen.width() - 1 || frame.height() >= screen.height() - 1);
  VerifyCentred(WindowOf(big));
}

void ProgramTest::tableAndBackKeepTextsAndPositions() {
  QTest::keyClicks(Edit(calc().Text1), "20");
  QTest::keyClicks(Edit(calc().Text2), "21000");
  click(Button(calc().Command1));
  WindowOf(calc())->move(40, 30);
  const QPoint calcAt = WindowOf(calc())->pos();

  click(Button(calc().Command3));
  QVERIFY(!WindowOf(calc())->isVisible());
  QVERIFY(WindowOf(table())->isVisible());
  QVERIFY(QTest::qWaitForWindowExposed(WindowOf(table())));
  VerifyCentred(WindowOf(table()));
  WindowOf(table())->move(10, 20);
  const QPoint tableAt = WindowOf(table())->pos();
  QWidget* tableWindow = WindowOf(table());

  click(Button(table().Command1));
  QVERIFY(!WindowOf(table())->isVisible());
  QVERIFY(WindowOf(calc())->isVisible());
  QCOMPARE(WindowOf(calc())->pos(), calcAt);
  QCOMPARE(Edit(calc().Text1)->text(), QString("20"));
  QCOMPARE(Edit(calc().Text2)->text(), QString("21000"));
  QVERIFY(!Edit(calc().Text3)->text().isEmpty());

  // The table window is not made again: same window, where it was.
  click(Button(calc().Command3));
  QCOMPARE(WindowOf(table()), tableWindow);
  QCOMPARE(WindowOf(table())->pos(), tableAt);
  QVERIFY(ends_.isEmpty());
}

void ProgramTest::closing_data() {
  QTest::addColumn<bool>("closeTable");
  QTest::newRow("calculation window") << false;
  QTest::newRow("table window, calculation window hidden") << true;
}

// Whichever window the user closes, both go, and the program ends once, with status 0.
void ProgramTest::closing() {
  QFETCH(bool, closeTable);
  click(Button(calc().Command3));
  if (!closeTable) click(Button(table().Command1));

  QWidget* closed = closeTable ? WindowOf(table()) : WindowOf(calc());
  closed->close();
  QCOMPARE(ends_, QList<int>{0});
  QVERIFY(!calc().IsLoaded());
  QVERIFY(!table().IsLoaded());

  // After the end no handler runs: nothing comes back.
  program_->Start();
  QVERIFY(!calc().IsLoaded());
  QCOMPARE(ends_.size(), 1);
}

void ProgramTest::closingBeforeTheTableWasEverShown() {
  WindowOf(calc())->close();
  QCOMPARE(ends_, QList<int>{0});
  QVERIFY(!calc().IsLoaded());
  QVERIFY(!program_->tableWindow().IsLoaded());
}

namespace {

QPalette Palette(QColor window, QColor base, QColor text) {
  QPalette palette = QApplication::style()->standardPalette();
  palette.setColor(QPalette::Window, window);
  palette.setColor(QPalette::Button, window);
  palette.setColor(QPalette::Base, base);
  for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    palette.setColor(role, text);
  }
  return palette;
}

double Ratio(const QColor& a, const QColor& b) {
  return dosat::contrast::Ratio(dosat::ToBgr(a), dosat::ToBgr(b));
}

}  // namespace

void ProgramTest::textColoursFollowThePaletteInBothWindows_data() {
  QTest::addColumn<QPalette>("palette");
  QTest::addColumn<bool>("tableShown");
  const QPalette dark = Palette(QColor(0x32, 0x32, 0x32), QColor(0x24, 0x24, 0x24), QColor(0xF0, 0xF0, 0xF0));
  QTest::newRow("dark, calculation window hidden") << dark << true;
  QTest::newRow("dark, table window hidden") << dark << false;
  // Light, but not the default: the green only just misses on the default's grey, and
  // the magenta reads on no light grey.
  QTest::newRow("light grey, calculation window hidden")
      << Palette(QColor(0xE0, 0xE0, 0xE0), QColor(0xE8, 0xE8, 0xE8), Qt::black) << true;
}

// Changed while the program runs, the palette brings readable range labels and result
// into both windows, hidden or shown; the default brings back the designed colours.
// Nothing typed is lost, and the table window keeps its white.
void ProgramTest::textColoursFollowThePaletteInBothWindows() {
  QFETCH(QPalette, palette);
  QFETCH(bool, tableShown);
  QTest::keyClicks(Edit(calc().Text1), "20");
  QTest::keyClicks(Edit(calc().Text2), "21000");
  click(Button(calc().Command1));
  click(Button(calc().Command3));
  if (!tableShown) click(Button(table().Command1));
  QCOMPARE(WindowOf(table())->isVisible(), tableShown);
  QCOMPARE(WindowOf(calc())->isVisible(), !tableShown);

  QWidget* labels[] = {WindowOf(calc())->findChild<QWidget*>("Label5"),
                       WindowOf(calc())->findChild<QWidget*>("Label6")};
  QLineEdit* result = Edit(calc().Text3);
  const auto colours = [&] {
    return QList<QColor>{labels[0]->palette().color(QPalette::WindowText),
                         labels[1]->palette().color(QPalette::WindowText),
                         result->palette().color(QPalette::Text)};
  };
  const QList<QColor> designed = {QColor(0, 0x80, 0), QColor(0, 0x80, 0), QColor(0xFF, 0, 0xFF)};
  QCOMPARE(colours(), designed);

  // Readable on the new palette in every colour group, and still green and magenta:
  // the same hue, lighter or darker.
  const auto unreadable = [&] {
    QStringList found;
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
      for (QWidget* label : labels) {
        const QColor green = label->palette().color(group, QPalette::WindowText);
        if (Ratio(green, palette.color(group, QPalette::Window)) < dosat::contrast::kMinimum ||
            green.red() != green.blue() || green.green() <= green.red()) {
          found << label->objectName() + " " + green.name();
        }
      }
      const QColor magenta = result->palette().color(group, QPalette::Text);
      if (Ratio(magenta, palette.color(group, QPalette::Base)) < dosat::contrast::kMinimum ||
          magenta.red() != magenta.blue() || magenta.green() >= magenta.red()) {
        found << "Text3 " + magenta.name();
      }
    }
    return found;
  };
  QApplication::setPalette(palette);
  QTRY_COMPARE(unreadable(), QStringList());
  QCOMPARE(WindowOf(table())->palette().color(QPalette::Window), QColor(Qt::white));
  QCOMPARE(Button(table().Command1)->palette().color(QPalette::ButtonText), palette.color(QPalette::ButtonText));

  QApplication::setPalette(QApplication::style()->standardPalette());
  QTRY_COMPARE(colours(), designed);
  QCOMPARE(Edit(calc().Text1)->text(), QString("20"));
  QCOMPARE(Edit(calc().Text2)->text(), QString("21000"));
  QCOMPARE(result->text(), QString("7.01"));
  QVERIFY(ends_.isEmpty());
}

// The test environment pins LC_ALL=C.UTF-8.
// Thousands of clicks, keystrokes and pastes over both windows, long and odd
// texts included. After each: exactly one window shows, and the result box
// changes only by the calculate or clear button, to what they should give.
void ProgramTest::randomUseNeverBreaksTheRules() {
  QRandomGenerator random(20261208);
  const QStringList pieces = {"0", "1", "2", "5", "9", ".", ",", "-", "+", "e", "E", " ",
                              "２", "０", "．", "，", "－", "\u3000", "\u2212", "℃", "a",
                              "1e308", "21000", "35", "\t", "🌊", "\u00A0"};
  const auto randomText = [&](int maxPieces) {
    QString text;
    const int n = random.bounded(maxPieces + 1);
    for (int i = 0; i < n; ++i) text += pieces[random.bounded(pieces.size())];
    return text;
  };
  const auto pasted = [&] {
    switch (random.bounded(4)) {
      case 0: return QString(random.bounded(1, 40000), QChar('9'));
      case 1: return "0." + QString(random.bounded(1, 5000), QChar('0')) + "1e300";
      default: return randomText(12);
    }
  };

  int results = 0;
  for (int step = 0; step < 3000; ++step) {
    QString before = Edit(calc().Text3)->text();
    QString expected = before;
    if (auto* dialog = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      QTest::keyClick(dialog, Qt::Key_Return);
      QTRY_VERIFY(!QApplication::activeModalWidget());
    } else if (WindowOf(calc())->isVisible()) {
      QLineEdit* box = random.bounded(2) ? Edit(calc().Text1) : Edit(calc().Text2);
      switch (random.bounded(10)) {
        case 0:
        case 1: {
          const QByteArray t = Edit(calc().Text1)->text().toUtf8();
          const QByteArray c = Edit(calc().Text2)->text().toUtf8();
          const dosat::CalcOutcome outcome =
              dosat::Calculate(t.toStdString(), c.toStdString(), {U'.', U','});
          if (outcome.status == dosat::CalcStatus::Shown) {
            expected = QString::fromStdString(outcome.text);
            ++results;
          }
          click(Button(calc().Command1));
          break;
        }
        case 2:
          if (random.bounded(4) == 0) {
            expected.clear();
            click(Button(calc().Command2));
          } else {
            box->selectAll();
            TypeText(box, QString::number(random.bounded(0, 40000)));
          }
          break;
        case 3:
          click(Button(calc().Command3));
          break;
        case 4:
          QApplication::clipboard()->setText(pasted());
          QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
          break;
        case 5:
          QTest::keyClick(box, random.bounded(2) ? Qt::Key_Backspace : Qt::Key_Home);
          break;
        case 6:
          QTest::keyClick(box, random.bounded(2) ? Qt::Key_Return : Qt::Key_Escape);
          break;
        case 7:
          box->selectAll();
          TypeText(box, QString::number(random.bounded(-5, 120) / 2.0) +
                            (random.bounded(4) ? "" : randomText(1)));
          break;
        default:
          TypeText(box, randomText(3));
      }
    } else {
      switch (random.bounded(3)) {
        case 0: click(Button(table().Command1)); break;
        case 1: QTest::mouseClick(Picture(table().Picture1), Qt::LeftButton); break;
        default: QTest::keyClick(Picture(table().Picture1), Qt::Key_Space);
      }
    }

    const bool calcShown = WindowOf(calc())->isVisible();
    const bool tableShown = program_->hasTableWindow() && table().IsLoaded() &&
                            WindowOf(table())->isVisible();
    QVERIFY2(calcShown != tableShown, qPrintable(QString("step %1").arg(step)));
    QVERIFY2(Edit(calc().Text3)->text() == expected, qPrintable(QString("step %1").arg(step)));
    QVERIFY(ends_.isEmpty());
  }
  // The walk did reach results, not only refusals.
  QVERIFY2(results > 50, qPrintable(QString::number(results)));
}

QTEST_MAIN(ProgramTest)
#include "program_tests.moc"
