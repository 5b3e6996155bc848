// The calculation window, driven through its controls on the offscreen platform.
#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>
#include <climits>

#include "qtfonts.h"
#include "forms.h"
#include "program.h"
#include "reference.h"
#include "typing.h"
#include "zepalt.h"

using dosat::Program;
using dosat::ZEPALT;

class ZepaltTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { dosat::ConfigureApplication(); }
  void init();
  void cleanup();

  void caption();
  void controls_data();
  void controls();
  void focusStartsInTemperatureAndTabVisitsInOrder();
  void enterAndEscapePressNothing();
  void textBoxesHaveNoLengthLimit();
  void boxesAreNamedByTheirLabels();
  void boxesAreDescribedByTheirRangeHints();
  void looksAsDesignedOnTheDefaultPalette();

  void calculate_data();
  void calculate();
  void emptyInputKeepsTheEarlierResult_data();
  void emptyInputKeepsTheEarlierResult();
  void typingDoesNotRecalculate();
  void clearEmptiesAllBoxesAndKeepsFocusAndFields();

  void badInput_data();
  void badInput();

 private:
  QMessageBox* openMessage() const;
  void press(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
  void type(QLineEdit* box, const QString& text);

  dosat::QtPlatform platform_;
  std::unique_ptr<Program> program_;
  ZEPALT* window_ = nullptr;
  int ends_ = 0;
};

namespace {

// The locale's decimal separator, so one test file serves every LC_NUMERIC.
QString Decimal() { return QLocale::system().decimalPoint(); }
QString Local(QString text) { return text.replace('.', Decimal()); }

}  // namespace

void ZepaltTest::type(QLineEdit* box, const QString& text) {
  box->selectAll();
  if (text.isEmpty()) {
    QTest::keyClick(box, Qt::Key_Delete);
  } else {
    TypeText(box, text);
  }
}

void ZepaltTest::init() {
  ends_ = 0;
  program_ = std::make_unique<Program>(platform_, [this](int) { ++ends_; });
  program_->Start();
  window_ = &program_->calculationWindow();
  QVERIFY(QTest::qWaitForWindowExposed(WindowOf(*window_)));
}

void ZepaltTest::cleanup() {
  if (QWidget* modal = QApplication::activeModalWidget()) delete modal;
  program_.reset();
  QCOMPARE(ends_, 0);
}

QMessageBox* ZepaltTest::openMessage() const {
  return qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
}

void ZepaltTest::caption() {
  QWidget* w = WindowOf(*window_);
  QCOMPARE(w->windowTitle(), QString(7, QChar(0x3000)) + QString::fromUtf8("溶存酸素濃度(JISK0102)"));
  QCOMPARE(w->size(), QSize(311, 317));
}

void ZepaltTest::controls_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("kind");
  QTest::addColumn<QString>("text");
  QTest::addColumn<QRect>("geometry");
  QTest::addColumn<bool>("designFont");
  QTest::addColumn<QColor>("textColour");

  const QColor none;
  const QColor green(0x00, 0x80, 0x00);
  const QColor magenta(0xFF, 0x00, 0xFF);
  const auto row = [&](const char* name, const char* kind, const char* text, QRect geometry,
                       bool font, QColor colour) {
    QTest::newRow(name) << QString(name) << QString(kind) << QString::fromUtf8(text) << geometry
                        << font << colour;
  };
  row("Label5", "QLabel", "適用範囲 :Temp=0～35℃", {60, 17, 209, 17}, true, green);
  row("Label6", "QLabel", "Salt=純水～海水", {131, 41, 137, 17}, true, green);
  row("Label1", "QLabel", "水温(℃)", {24, 78, 73, 25}, true, none);
  row("Text1", "QLineEdit", "", {208, 72, 73, 26}, true, none);
  row("Label7", "QLabel", "( 0～35℃ )", {24, 98, 91, 17}, false, none);
  row("Label2", "QLabel", "塩素イオン濃度(mg/L)", {24, 120, 153, 33}, true, none);
  row("Text2", "QLineEdit", "", {208, 120, 73, 26}, true, none);
  row("Label3", "QLabel", "(海水標準=21000mg/L)", {24, 141, 129, 17}, false, none);
  row("Command1", "QPushButton", "計算", {56, 173, 73, 33}, true, none);
  row("Command2", "QPushButton", "クリヤ", {183, 172, 73, 33}, true, none);
  row("Text3", "QLineEdit", "", {208, 224, 73, 25}, true, magenta);
  row("Label4", "QLabel", "飽和溶存酸素濃度(mg/L)", {24, 232, 185, 25}, true, none);
  row("Command3", "QPushButton", "JIS K0102 溶存酸素(表)", {80, 275, 152, 26}, false, none);
}

void ZepaltTest::controls() {
  QFETCH(QString, name);
  QFETCH(QString, kind);
  QFETCH(QString, text);
  QFETCH(QRect, geometry);
  QFETCH(bool, designFont);
  QFETCH(QColor, textColour);

  QWidget* control = WindowOf(*window_)->findChild<QWidget*>(name);
  QVERIFY(control);
  QCOMPARE(control->metaObject()->className(), kind);
  QCOMPARE(control->geometry(), geometry);
  QCOMPARE(control->property("text").toString(), text);

  const QFont font = control->font();
  if (designFont) {
    QCOMPARE(font.families().value(0), QString::fromUtf8("ＭＳ Ｐゴシック"));
    QCOMPARE(font.pointSize(), 12);
    QCOMPARE(font.weight(), QFont::Normal);
  } else {
    QCOMPARE(font, dosat::DefaultFont());
  }
  // Whatever face stands in, it is a Japanese Gothic with every glyph of the text.
  QVERIFY2(QFontInfo(font).family().startsWith("IPA"), qPrintable(QFontInfo(font).family()));
  QVERIFY(QFontMetrics(font).inFontUcs4(U'℃'));

  if (auto* label = qobject_cast<QLabel*>(control)) {
    QVERIFY(label->wordWrap());
    QCOMPARE(label->alignment(), Qt::AlignLeft | Qt::AlignTop);
    // The text fits on the label's lines: nothing is cut off.
    const QFontMetrics metrics(font);
    const QRect needed =
        metrics.boundingRect(QRect(0, 0, geometry.width(), 1000), Qt::TextWordWrap, text);
    const int lines = needed.height() / metrics.lineSpacing();
    QVERIFY2(lines * metrics.height() <= geometry.height(), qPrintable(name));
  }
  const QPalette::ColorRole role =
      qobject_cast<QLineEdit*>(control) ? QPalette::Text : QPalette::WindowText;
  if (textColour.isValid()) {
    QCOMPARE(control->palette().color(role), textColour);
  } else {
    QCOMPARE(control->palette().color(role), QApplication::palette(control).color(role));
  }
}

void ZepaltTest::focusStartsInTemperatureAndTabVisitsInOrder() {
  QWidget* w = WindowOf(*window_);
  w->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(w));
  QCOMPARE(QApplication::focusWidget(), Edit(window_->Text1));

  const QList<QWidget*> expected = {Edit(window_->Text2), Button(window_->Command1), Button(window_->Command2),
                                    Edit(window_->Text3), Button(window_->Command3), Edit(window_->Text1)};
  for (QWidget* next : expected) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), next);
  }
}

void ZepaltTest::enterAndEscapePressNothing() {
  type(Edit(window_->Text1), "20");
  type(Edit(window_->Text2), "21000");
  for (QPushButton* button : {Button(window_->Command1), Button(window_->Command2), Button(window_->Command3)}) {
    QVERIFY(!button->isDefault());
    QVERIFY(!button->autoDefault());
  }
  for (QWidget* target : QList<QWidget*>{Edit(window_->Text1), Button(window_->Command1), Button(window_->Command3)}) {
    QTest::keyClick(target, Qt::Key_Return);
    QTest::keyClick(target, Qt::Key_Enter);
    QTest::keyClick(target, Qt::Key_Escape);
  }
  QCOMPARE(Edit(window_->Text3)->text(), QString());
  QCOMPARE(Edit(window_->Text1)->text(), QString("20"));
  QVERIFY(WindowOf(*window_)->isVisible());
}

void ZepaltTest::textBoxesHaveNoLengthLimit() {
  const QString longText(100000, '7');
  for (QLineEdit* box : {Edit(window_->Text1), Edit(window_->Text2), Edit(window_->Text3)}) {
    box->setText(longText);
    QCOMPARE(box->text().size(), longText.size());
    QTest::keyClicks(box, "8");
    QCOMPARE(box->text().size(), longText.size() + 1);
  }
}

void ZepaltTest::boxesAreNamedByTheirLabels() {
  QCOMPARE(Edit(window_->Text1)->accessibleName(), QString::fromUtf8("水温(℃)"));
  QCOMPARE(Edit(window_->Text2)->accessibleName(), QString::fromUtf8("塩素イオン濃度(mg/L)"));
  QCOMPARE(Edit(window_->Text3)->accessibleName(), QString::fromUtf8("飽和溶存酸素濃度(mg/L)"));
}

void ZepaltTest::boxesAreDescribedByTheirRangeHints() {
  QCOMPARE(Edit(window_->Text1)->accessibleDescription(), QString::fromUtf8("( 0～35℃ )"));
  QCOMPARE(Edit(window_->Text2)->accessibleDescription(), QString::fromUtf8("(海水標準=21000mg/L)"));
  QCOMPARE(Edit(window_->Text3)->accessibleDescription(), QString());
}

// Pixel for pixel: the range labels' green and the result's magenta included, on the
// palette the program gets with no desktop theme.
void ZepaltTest::looksAsDesignedOnTheDefaultPalette() {
  QWidget* w = WindowOf(*window_);
  w->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(w));
  // Set, not calculated, so that the decimal-comma run draws the same; the focus where a
  // press of 計算 leaves it, and no text cursor to blink.
  Edit(window_->Text1)->setText("20");
  Edit(window_->Text2)->setText("21000");
  Edit(window_->Text3)->setText("7.01");
  Button(window_->Command1)->setFocus();
  CompareWithReference(w->grab().toImage(), "calculation-window");
}

void ZepaltTest::calculate_data() {
  QTest::addColumn<QString>("temperature");
  QTest::addColumn<QString>("chloride");
  QTest::addColumn<QString>("result");
  QTest::addColumn<double>("saturatedDo");

  // The widgets' texts in and out; the calculation's own rows are the calculation's tests.
  QTest::newRow("sea water") << "20" << "21000" << "7.01" << 7.010275300427201;
  QTest::newRow("fraction") << "20.5" << "0" << "8.76" << 8.7621708296375;
  QTest::newRow("full width") << "２０" << "２１０００" << "7.01" << 7.010275300427201;
}

void ZepaltTest::calculate() {
  QFETCH(QString, temperature);
  QFETCH(QString, chloride);
  QFETCH(QString, result);
  QFETCH(double, saturatedDo);

  type(Edit(window_->Text1), Local(temperature));
  type(Edit(window_->Text2), chloride);
  press(Button(window_->Command1));
  QCOMPARE(Edit(window_->Text3)->text(), Local(result));
  QCOMPARE(window_->fields().saturatedDo, saturatedDo);
  QCOMPARE(Edit(window_->Text1)->text(), Local(temperature));
  QVERIFY(!openMessage());
}

void ZepaltTest::emptyInputKeepsTheEarlierResult_data() {
  QTest::addColumn<QString>("temperature");
  QTest::addColumn<QString>("chloride");
  QTest::newRow("empty chloride") << "25" << "";
  QTest::newRow("empty temperature") << "" << "5000";
  QTest::newRow("both empty") << "" << "";
  QTest::newRow("empty chloride, bad temperature") << "abc" << "";
}

void ZepaltTest::emptyInputKeepsTheEarlierResult() {
  QFETCH(QString, temperature);
  QFETCH(QString, chloride);
  type(Edit(window_->Text1), "20");
  type(Edit(window_->Text2), "21000");
  press(Button(window_->Command1));
  const dosat::CalculationFields before = window_->fields();

  type(Edit(window_->Text1), temperature);
  type(Edit(window_->Text2), chloride);
  press(Button(window_->Command1));
  QCOMPARE(Edit(window_->Text3)->text(), Local("7.01"));
  QCOMPARE(window_->fields().saturatedDo, before.saturatedDo);
  QCOMPARE(Edit(window_->Text1)->text(), temperature);
  QVERIFY(!openMessage());
}

void ZepaltTest::typingDoesNotRecalculate() {
  type(Edit(window_->Text1), "20");
  type(Edit(window_->Text2), "0");
  press(Button(window_->Command1));
  type(Edit(window_->Text1), "30");
  QCOMPARE(Edit(window_->Text3)->text(), Local("8.84"));
  type(Edit(window_->Text3), "typed");
  press(Button(window_->Command1));
  QCOMPARE(Edit(window_->Text3)->text(), Local("7.53"));
}

void ZepaltTest::clearEmptiesAllBoxesAndKeepsFocusAndFields() {
  type(Edit(window_->Text1), "20");
  type(Edit(window_->Text2), "21000");
  press(Button(window_->Command1));
  // Pressed from the keyboard, the button keeps the focus it had.
  Button(window_->Command2)->setFocus();
  QTest::keyClick(Button(window_->Command2), Qt::Key_Space);
  QCOMPARE(Edit(window_->Text1)->text(), QString());
  QCOMPARE(Edit(window_->Text2)->text(), QString());
  QCOMPARE(Edit(window_->Text3)->text(), QString());
  QCOMPARE(WindowOf(*window_)->focusWidget(), Button(window_->Command2));
  QCOMPARE(window_->fields().saturatedDo, 7.010275300427201);
}

void ZepaltTest::badInput_data() {
  QTest::addColumn<QString>("temperature");
  QTest::addColumn<QString>("chloride");
  QTest::addColumn<QString>("message");
  QTest::addColumn<QString>("box");

  // The message names the box and the decimal separator the user's settings expect.
  const QString hint = QString::fromUtf8("\n小数点は「") + Decimal() +
                       QString::fromUtf8("」です（例: 20") + Decimal() + QString::fromUtf8("5）。");
  const QString notTemperature = QString::fromUtf8("水温を数値で入力してください。") + hint;
  const QString notChloride = QString::fromUtf8("塩素イオン濃度を数値で入力してください。") + hint;
  // A message box over the window and the focus back in either box; which text gives
  // which message is the calculation window's own test (form_tests).
  QTest::newRow("letters") << "abc" << "0" << notTemperature << "Text1";
  QTest::newRow("bad chloride") << "20" << QString::fromUtf8("海水") << notChloride << "Text2";
}

void ZepaltTest::badInput() {
  QFETCH(QString, temperature);
  QFETCH(QString, chloride);
  QFETCH(QString, message);
  QFETCH(QString, box);

  type(Edit(window_->Text1), "20");
  type(Edit(window_->Text2), "0");
  press(Button(window_->Command1));
  const dosat::CalculationFields before = window_->fields();
  type(Edit(window_->Text1), temperature);
  type(Edit(window_->Text2), chloride);
  Edit(window_->Text2)->setFocus();
  press(Button(window_->Command1));

  QMessageBox* dialog = openMessage();
  QVERIFY(dialog);
  QCOMPARE(dialog->text(), message);
  QCOMPARE(Edit(window_->Text1)->text(), temperature);
  QCOMPARE(Edit(window_->Text2)->text(), chloride);
  QCOMPARE(Edit(window_->Text3)->text(), Local("8.84"));
  QCOMPARE(window_->fields().saturatedDo, before.saturatedDo);

  QTest::keyClick(dialog, Qt::Key_Return);
  QTRY_VERIFY(!openMessage());
  auto* wrong = WindowOf(*window_)->findChild<QLineEdit*>(box);
  QCOMPARE(WindowOf(*window_)->focusWidget(), wrong);
  QCOMPARE(wrong->selectedText(), wrong->text());
  QVERIFY(WindowOf(*window_)->isVisible());
}

QTEST_MAIN(ZepaltTest)
#include "zepalt_tests.moc"
