// The table window and its picture, on the offscreen platform.
#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QtTest>

#include "dodata.h"
#include "fonts.h"
#include "forms.h"
#include "program.h"
#include "zepalt.h"

using dosat::Program;

class DODataTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { dosat::ConfigureApplication(); }
  void init();
  void cleanup() { program_.reset(); }

  void notMadeUntilTheTableButton();
  void window();
  void controls_data();
  void controls();
  void pictureIsTheEmbeddedBitmap();
  void pictureShowsUnscaledFromTheTopLeftAndIsCutOff();

 private:
  dosat::DOData& table() { return program_->tableWindow(); }

  dosat::QtPlatform platform_;
  std::unique_ptr<Program> program_;
};

void DODataTest::init() {
  program_ = std::make_unique<Program>(platform_, [](int) {});
  program_->Start();
  QTest::mouseClick(Button(program_->calculationWindow().Command3), Qt::LeftButton);
  QVERIFY(QTest::qWaitForWindowExposed(WindowOf(table())));
}

void DODataTest::notMadeUntilTheTableButton() {
  Program fresh(platform_, [](int) {});
  fresh.Start();
  QVERIFY(!fresh.hasTableWindow());
  QTest::mouseClick(Button(fresh.calculationWindow().Command3), Qt::LeftButton);
  QVERIFY(fresh.hasTableWindow());
  QVERIFY(WindowOf(fresh.tableWindow())->isVisible());
  QVERIFY(!WindowOf(fresh.calculationWindow())->isVisible());
}

void DODataTest::window() {
  QWidget* w = WindowOf(table());
  QCOMPARE(w->windowTitle(), QString(42, ' ') + "DO(JIS K0102)");
  QCOMPARE(w->windowTitle().size(), 55);
  QCOMPARE(w->size(), QSize(495, 699));
  QVERIFY(w->autoFillBackground());
  QCOMPARE(w->palette().color(QPalette::Window), QColor(Qt::white));
  QCOMPARE(w->grab().toImage().pixelColor(2, 2), QColor(Qt::white));
}

void DODataTest::controls_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QRect>("geometry");
  QTest::addColumn<QString>("text");
  QTest::newRow("Picture1") << "Picture1" << QRect(13, 23, 469, 633) << QString();
  QTest::newRow("Command1") << "Command1" << QRect(406, 664, 69, 25) << QString::fromUtf8("戻る");
}

void DODataTest::controls() {
  QFETCH(QString, name);
  QFETCH(QRect, geometry);
  QFETCH(QString, text);
  QWidget* control = WindowOf(table())->findChild<QWidget*>(name);
  QVERIFY(control);
  QCOMPARE(control->geometry(), geometry);
  QCOMPARE(control->property("text").toString(), text);
  QCOMPARE(control->font(), dosat::defaultFont());
  // Tab goes from the picture to the button and round again.
  QCOMPARE(Picture(table().Picture1)->nextInFocusChain(), Button(table().Command1));
}

void DODataTest::pictureIsTheEmbeddedBitmap() {
  QFile embedded(":/do-table.bmp");
  QFile committed(DOSAT_TABLE_BMP);
  QVERIFY(embedded.open(QIODevice::ReadOnly));
  QVERIFY(committed.open(QIODevice::ReadOnly));
  QCOMPARE(embedded.readAll(), committed.readAll());
  QCOMPARE(Picture(table().Picture1)->picture().size(), QSize(464, 649));
}

// A sunken frame two pixels wide; inside it the table's top 629 rows, pixel
// for pixel, and the interior's last column empty. The note below the table
// does not show.
void DODataTest::pictureShowsUnscaledFromTheTopLeftAndIsCutOff() {
  dosat::PictureBox* box = Picture(table().Picture1);
  QCOMPARE(box->frameWidth(), 2);
  QCOMPARE(box->contentsRect(), QRect(2, 2, 465, 629));

  const QImage shown = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QImage picture = QImage(DOSAT_TABLE_BMP).convertToFormat(QImage::Format_RGB32);
  QCOMPARE(shown.size(), QSize(469, 633));
  for (int y = 0; y < 629; ++y) {
    for (int x = 0; x < 464; ++x) {
      if (shown.pixel(x + 2, y + 2) != picture.pixel(x, y)) {
        QFAIL(qPrintable(QString("pixel %1,%2 differs").arg(x).arg(y)));
      }
    }
    QCOMPARE(shown.pixelColor(466, y + 2), QColor(Qt::white));
  }
  // The frame's own shades, unbroken by the picture: dark along the top and
  // left, light along the bottom.
  const QRgb shadow = shown.pixel(0, 0);
  QVERIFY(shadow != qRgb(255, 255, 255));
  for (int y = 0; y < 632; ++y) QCOMPARE(shown.pixel(0, y), shadow);
  for (int x = 0; x < 468; ++x) QCOMPARE(shown.pixel(x, 0), shadow);
  for (int row : {631, 632}) {
    for (int x = 2; x < 467; ++x) QCOMPARE(shown.pixel(x, row), shown.pixel(467, row));
  }
}

QTEST_MAIN(DODataTest)
#include "dodata_tests.moc"
