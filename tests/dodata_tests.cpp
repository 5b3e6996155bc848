// The table window and its picture, on the offscreen platform; CTest runs it again at
// device pixel ratios 1.5 and 2 (QT_SCALE_FACTOR), where the picture is drawn afresh.
#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

#include <cmath>
#include <optional>

#include "dodata.h"
#include "embeddedtable.h"
#include "qtfonts.h"
#include "forms.h"
#include "program.h"
#include "reference.h"
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
  void looksAsDesignedOnTheDefaultPalette();
  void controls_data();
  void controls();
  void pictureIsTheEmbeddedBitmap();
  void pictureShowsUnscaledFromTheTopLeftAndIsCutOff();
  void rulesAreSharpAtTheDevicesPixels();
  void drawingForARatioIsMadeOnceAndKept_data();
  void drawingForARatioIsMadeOnceAndKept();
  void fitsTheWorkAreaWhole_data();
  void fitsTheWorkAreaWhole();
  void aWorkAreaChangeFitsTheTableWindowAgain();

  void pictureIsAnAccessibleTable();
  void accessibleCells_data();
  void accessibleCells();
  void accessibleColumnHeaders_data();
  void accessibleColumnHeaders();
  void everyAccessibleCellReadsAsTheTable();
  void accessibleChildrenAreTheHeadersThenTheCells();

 private:
  dosat::DOData& table() { return program_->tableWindow(); }
  QAccessibleTableInterface* accessibleTable();

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

void DODataTest::looksAsDesignedOnTheDefaultPalette() {
  QWidget* w = WindowOf(table());
  if (w->devicePixelRatioF() != 1.0) QSKIP("the reference is the window at device pixel ratio 1");
  w->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(w));
  CompareWithReference(w->grab().toImage(), "table-window");
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
  QCOMPARE(control->font(), dosat::DefaultFont());
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

namespace {

qreal Ratio(const QWidget* widget) { return widget->devicePixelRatioF(); }
int Device(int logical, qreal ratio) { return int(std::lround(logical * ratio)); }

/// What the picture box should show inside its frame at `ratio`: the committed bitmap
/// at 1, else the table drawn for that ratio.
QImage ExpectedPicture(qreal ratio) {
  const QImage picture = ratio == 1.0 ? QImage(DOSAT_TABLE_BMP) : dosat::table::RenderShownTable(ratio);
  return picture.convertToFormat(QImage::Format_RGB32);
}

/// The first pixel of `interior` in `shown` that is not `picture`'s, drawn from the
/// interior's corner (white past its edges); none if all are.
std::optional<QPoint> FirstDifference(const QImage& shown, const QRect& interior, const QImage& picture) {
  for (int y = 0; y < interior.height(); ++y) {
    for (int x = 0; x < interior.width(); ++x) {
      const QRgb expected = picture.rect().contains(x, y) ? picture.pixel(x, y) : qRgb(255, 255, 255);
      if (shown.pixel(interior.left() + x, interior.top() + y) != expected) return QPoint(x, y);
    }
  }
  return std::nullopt;
}

/// Starts `program` and opens its table window with a click; the window, once shown.
QWidget* OpenTable(Program& program) {
  program.Start();
  QTest::mouseClick(Button(program.calculationWindow().Command3), Qt::LeftButton);
  QWidget* window = WindowOf(program.tableWindow());
  return window && QTest::qWaitForWindowExposed(window) ? window : nullptr;
}

/// The program's windows on Qt, on one monitor of the size and work area given.
class OneMonitor final : public dosat::Platform {
 public:
  OneMonitor(QRect screen, QRect work) { monitor_ = {Twips(screen), Twips(work), 15}; }
  void setWork(QRect work) { monitor_.work = Twips(work); }
  std::unique_ptr<dosat::NativeWindow> MakeWindow(const dosat::design::Window& design,
                                                  dosat::WindowEvents& events) override {
    return qt_.MakeWindow(design, events);
  }
  dosat::placement::Monitor PrimaryMonitor() const override { return monitor_; }
  dosat::placement::Monitor MonitorAt(float, float) const override { return monitor_; }
  dosat::NumberLocale UserNumberLocale() const override { return qt_.UserNumberLocale(); }
  void Quit(int) override {}

 private:
  static dosat::placement::Area Twips(const QRect& r) {
    return {r.x() * 15.0f, r.y() * 15.0f, r.width() * 15.0f, r.height() * 15.0f};
  }
  dosat::QtPlatform qt_;
  dosat::placement::Monitor monitor_;
};

}  // namespace

// A sunken frame two pixels wide; inside it the table's top 629 rows, pixel
// for pixel, and the interior's last column empty. The note below the table
// does not show. At other ratios the same, in device pixels.
void DODataTest::pictureShowsUnscaledFromTheTopLeftAndIsCutOff() {
  dosat::PictureBox* box = Picture(table().Picture1);
  QCOMPARE(box->frameWidth(), 2);
  QCOMPARE(box->contentsRect(), QRect(2, 2, 465, 629));

  const qreal ratio = Ratio(box);
  const QImage shown = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QImage picture = ExpectedPicture(ratio);
  QCOMPARE(shown.size(), QSize(Device(469, ratio), Device(633, ratio)));
  const int inset = Device(2, ratio);
  const QRect interior(QPoint(inset, inset), QPoint(Device(467, ratio) - 1, Device(631, ratio) - 1));
  if (const auto differs = FirstDifference(shown, interior, picture)) {
    QFAIL(qPrintable(QString("pixel %1,%2 differs").arg(differs->x()).arg(differs->y())));
  }
  if (ratio == 1.0) {
    for (int y = 0; y < interior.height(); ++y) QCOMPARE(shown.pixelColor(466, y + 2), QColor(Qt::white));
  }
  // The frame's own shades, unbroken by the picture: dark along the top and
  // left, light along the bottom.
  const QRgb shadow = shown.pixel(0, 0);
  QVERIFY(shadow != qRgb(255, 255, 255));
  for (int y = 0; y < interior.bottom(); ++y) QCOMPARE(shown.pixel(0, y), shadow);
  for (int x = 0; x < interior.right(); ++x) QCOMPARE(shown.pixel(x, 0), shadow);
  for (int row = interior.bottom() + 1; row < shown.height(); ++row) {
    for (int x = inset; x <= interior.right(); ++x) QCOMPARE(shown.pixel(x, row), shown.pixel(interior.right() + 1, row));
  }
}

// Each rule of the table is whole device pixels of black, not a blur of grey rows, and
// the pixels beside it are white: scanned across every rule of the grabbed picture box.
void DODataTest::rulesAreSharpAtTheDevicesPixels() {
  dosat::PictureBox* box = Picture(table().Picture1);
  const qreal ratio = Ratio(box);
  const QImage shown = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const dosat::table::TableLayout layout = dosat::table::ScaleLayout(*dosat::table::EmbeddedLayout(), ratio);
  const int inset = Device(2, ratio);
  const int thickness = dosat::table::ScaleThickness(1, ratio);
  QCOMPARE(thickness, ratio == 1.0 ? 1 : 2);
  for (const auto& rule : layout.rules) {
    const QRect r = QRect(rule.x, rule.y, rule.width, rule.height).translated(inset, inset);
    if (r.bottom() >= Device(631, ratio)) continue;  // cut off with the interior
    QCOMPARE(qMin(r.width(), r.height()), thickness);
    for (int y = r.top(); y <= r.bottom(); ++y) {
      for (int x = r.left(); x <= r.right(); ++x) {
        if (qGray(shown.pixel(x, y)) != 0) QFAIL(qPrintable(QString("rule pixel %1,%2 is not black").arg(x).arg(y)));
      }
    }
    // Along both sides: white, or black where another rule crosses; never a grey edge.
    const bool horizontal = r.width() > r.height();
    for (int i = 0; i < (horizontal ? r.width() : r.height()); ++i) {
      for (const QPoint beside : {horizontal ? QPoint(r.left() + i, r.top() - 1) : QPoint(r.left() - 1, r.top() + i),
                                  horizontal ? QPoint(r.left() + i, r.bottom() + 1) : QPoint(r.right() + 1, r.top() + i)}) {
        const int level = qGray(shown.pixel(beside));
        if (level != 0 && level != 255) {
          QFAIL(qPrintable(QString("grey %1 at %2,%3 beside a rule").arg(level).arg(beside.x()).arg(beside.y())));
        }
      }
    }
  }
}

void DODataTest::drawingForARatioIsMadeOnceAndKept_data() {
  QTest::addColumn<bool>("drawsNothing");
  QTest::newRow("a drawing") << false;
  QTest::newRow("a null image") << true;
}

// At 1 the picture is drawn as it is; elsewhere the drawing for the ratio is made on the
// first paint only, and a null one leaves the picture.
void DODataTest::drawingForARatioIsMadeOnceAndKept() {
  QFETCH(bool, drawsNothing);
  dosat::PictureBox box;
  box.resize(20, 20);
  QImage picture(16, 16, QImage::Format_RGB32);
  picture.fill(Qt::red);
  box.setPicture(picture);
  int draws = 0;
  box.setPictureForRatio([&](qreal ratio, QColor, QColor) {
    ++draws;
    if (drawsNothing) return QImage();
    QImage drawn(Device(16, ratio), Device(16, ratio), QImage::Format_RGB32);
    drawn.fill(Qt::blue);
    drawn.setDevicePixelRatio(ratio);
    return drawn;
  });
  const qreal ratio = Ratio(&box);
  const QColor first = box.grab().toImage().pixelColor(Device(10, ratio), Device(10, ratio));
  const QColor second = box.grab().toImage().pixelColor(Device(10, ratio), Device(10, ratio));
  QCOMPARE(draws, ratio == 1.0 ? 0 : 1);
  QCOMPARE(first, QColor(ratio == 1.0 || drawsNothing ? Qt::red : Qt::blue));
  QCOMPARE(second, first);
}

void DODataTest::fitsTheWorkAreaWhole_data() {
  QTest::addColumn<QRect>("screen");
  QTest::addColumn<QRect>("work");
  QTest::newRow("1920 x 1080 at 150 %, a 48-pixel taskbar") << QRect(0, 0, 1280, 720) << QRect(0, 0, 1280, 672);
  QTest::newRow("1366 x 768 at 125 %, a 48-pixel taskbar") << QRect(0, 0, 1093, 614) << QRect(0, 0, 1093, 566);
  QTest::newRow("1024 x 600, a taskbar on the left") << QRect(0, 0, 1024, 600) << QRect(48, 0, 976, 600);
}

// Where the table window does not fit, it is made smaller as one piece: its frame and
// 「戻る」 inside the work area, the table drawn afresh at the window's scale, never the
// picture stretched, with all 36 rows in the box; and 「戻る」 still goes back.
void DODataTest::fitsTheWorkAreaWhole() {
  QFETCH(QRect, screen);
  QFETCH(QRect, work);
  OneMonitor platform(screen, work);
  Program program(platform, [](int) {});
  QWidget* window = OpenTable(program);
  QVERIFY(window);
  dosat::DOData& fitted = program.tableWindow();
  QVERIFY(fitted.Scale() < 1);
  const QRect frame = window->frameGeometry();
  QVERIFY2(work.contains(frame), qPrintable(QString("frame %1,%2 %3x%4").arg(frame.x()).arg(frame.y())
                                                 .arg(frame.width()).arg(frame.height())));
  QPushButton* back = Button(fitted.Command1);
  QVERIFY(work.contains(QRect(back->mapToGlobal(QPoint(0, 0)), back->size())));
  QCOMPARE(back->font().pointSizeF(), dosat::DefaultFont().pointSizeF() * fitted.Scale());

  dosat::PictureBox* box = Picture(fitted.Picture1);
  const qreal ratio = Ratio(box) * box->scale();
  QVERIFY(box->scale() <= fitted.Scale());
  const QImage shown = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QImage drawn = dosat::table::RenderShownTable(ratio).convertToFormat(QImage::Format_RGB32);
  QVERIFY(drawn.width() < Device(464, Ratio(box)));
  const int inset = Device(2, Ratio(box));
  const QRect interior = shown.rect().adjusted(inset, inset, -inset, -inset);
  if (const auto differs = FirstDifference(shown, interior, drawn)) {
    QFAIL(qPrintable(QString("pixel %1,%2 differs from the table drawn at %3").arg(differs->x()).arg(differs->y()).arg(ratio)));
  }
  const auto scaled = dosat::table::ScaleLayout(*dosat::table::EmbeddedLayout(), ratio);
  QVERIFY2(scaled.rowRules.back() + dosat::table::ScaleThickness(1, ratio) <= interior.height(),
           "the table's bottom rule is cut off");
  QVERIFY(qGray(shown.pixel(interior.left() + scaled.columnRules.front(), interior.top() + scaled.rowRules.back())) == 0);

  QTest::mouseClick(back, Qt::LeftButton);
  QVERIFY(WindowOf(program.calculationWindow())->isVisible());
}

// A panel grown while the table is shown, as Qt hears of it from its screen: the window is
// fitted to what is left, and takes its own size again once there is room.
void DODataTest::aWorkAreaChangeFitsTheTableWindowAgain() {
  const QRect screen(0, 0, 1280, 1024), smaller(0, 100, 1280, 500);
  OneMonitor platform(screen, screen);
  Program program(platform, [](int) {});
  QWidget* window = OpenTable(program);
  QVERIFY(window);
  dosat::DOData& shown = program.tableWindow();
  QCOMPARE(shown.Scale(), 1.0f);
  QScreen* qscreen = window->screen();
  platform.setWork(smaller);
  emit qscreen->availableGeometryChanged(qscreen->availableGeometry());
  QTRY_VERIFY(shown.Scale() < 1);
  QVERIFY(smaller.contains(window->frameGeometry()));
  platform.setWork(screen);
  emit qscreen->availableGeometryChanged(qscreen->availableGeometry());
  QTRY_COMPARE(shown.Scale(), 1.0f);
  QCOMPARE(window->size(), QSize(495, 699));
  QVERIFY(screen.contains(window->frameGeometry()));
}

QAccessibleTableInterface* DODataTest::accessibleTable() {
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(Picture(table().Picture1));
  return iface ? iface->tableInterface() : nullptr;
}

void DODataTest::pictureIsAnAccessibleTable() {
  dosat::PictureBox* box = Picture(table().Picture1);
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(box);
  QVERIFY(iface);
  QCOMPARE(iface->role(), QAccessible::Table);
  QCOMPARE(iface->text(QAccessible::Name), QString::fromUtf8("水中の飽和溶存酸素量"));
  QVERIFY(iface->text(QAccessible::Description).contains(QString::fromUtf8("(参考：JIS K0102より)")));
  QCOMPARE(iface->object(), box);
  // A keyboard user reaches the table with Tab, and is told its name there.
  QCOMPARE(box->focusPolicy(), Qt::StrongFocus);
  QVERIFY(iface->state().focusable);
  box->setFocus();
  QVERIFY(iface->state().focused);
  QAccessibleTableInterface* grid = iface->tableInterface();
  QVERIFY(grid);
  QCOMPARE(grid->rowCount(), 36);
  QCOMPARE(grid->columnCount(), 7);
  QCOMPARE(grid->selectedCellCount(), 0);
  QVERIFY(!grid->cellAt(36, 0));
  QVERIFY(!grid->cellAt(0, 7));
  QVERIFY(!grid->cellAt(-1, 0));
  QCOMPARE(grid->rowDescription(20), QString::fromUtf8("20 ℃"));
}

void DODataTest::accessibleCells_data() {
  QTest::addColumn<int>("row");
  QTest::addColumn<int>("column");
  QTest::addColumn<QString>("text");
  QTest::newRow("0 °C") << 0 << 0 << "0";
  QTest::newRow("0 °C pure water") << 0 << 1 << "14.15";
  QTest::newRow("0 °C 5000") << 0 << 2 << "13.40";
  QTest::newRow("0 °C 20000") << 0 << 5 << "11.10";
  QTest::newRow("0 °C per 100") << 0 << 6 << "0.0153";
  QTest::newRow("8 °C pure water") << 8 << 1 << "11.47";
  QTest::newRow("20 °C pure water") << 20 << 1 << "8.84";
  QTest::newRow("20 °C 15000") << 20 << 4 << "7.54";
  QTest::newRow("21 °C per 100") << 21 << 6 << "0.0086";
  QTest::newRow("35 °C") << 35 << 0 << "35";
  QTest::newRow("35 °C 10000") << 35 << 3 << "6.30";
  QTest::newRow("35 °C per 100") << 35 << 6 << "0.0074";
}

void DODataTest::accessibleCells() {
  QFETCH(int, row);
  QFETCH(int, column);
  QFETCH(QString, text);
  QAccessibleTableInterface* grid = accessibleTable();
  QVERIFY(grid);
  QAccessibleInterface* cell = grid->cellAt(row, column);
  QVERIFY(cell);
  QVERIFY(cell->isValid());
  QCOMPARE(cell->text(QAccessible::Name), text);
  QCOMPARE(cell->role(), column == 0 ? QAccessible::RowHeader : QAccessible::Cell);
  QCOMPARE(cell->parent(), QAccessible::queryAccessibleInterface(Picture(table().Picture1)));
  QVERIFY(cell->state().readOnly);

  QAccessibleTableCellInterface* place = cell->tableCellInterface();
  QVERIFY(place);
  QCOMPARE(place->rowIndex(), row);
  QCOMPARE(place->columnIndex(), column);
  QCOMPARE(place->rowExtent(), 1);
  QCOMPARE(place->table(), cell->parent());
  QCOMPARE(place->columnHeaderCells().size(), 1);
  QCOMPARE(place->columnHeaderCells().front()->text(QAccessible::Name), grid->columnDescription(column));
  const auto rowHeaders = place->rowHeaderCells();
  if (column == 0) {
    QVERIFY(rowHeaders.isEmpty());
  } else {
    QCOMPARE(rowHeaders.size(), 1);
    QCOMPARE(rowHeaders.front(), grid->cellAt(row, 0));
  }
  // On the screen where the picture shows it, and found there again.
  const QRect box(Picture(table().Picture1)->mapToGlobal(QPoint(0, 0)), Picture(table().Picture1)->size());
  const QRect where = cell->rect();
  QVERIFY(box.contains(where));
  QVERIFY(where.width() > 30 && where.height() == 14);
  QCOMPARE(cell->parent()->childAt(where.center().x(), where.center().y()), cell);
}

void DODataTest::accessibleColumnHeaders_data() {
  QTest::addColumn<int>("column");
  QTest::addColumn<QString>("heading");
  QTest::newRow("temperature") << 0 << QString::fromUtf8("温度(℃)");
  QTest::newRow("pure water") << 1 << "0";
  QTest::newRow("5000") << 2 << "5000";
  QTest::newRow("10000") << 3 << "10000";
  QTest::newRow("15000") << 4 << "15000";
  QTest::newRow("20000") << 5 << "20000";
  QTest::newRow("per 100") << 6 << QString::fromUtf8("100 mgCl/ℓごとに減ずべき溶存酸素量");
}

void DODataTest::accessibleColumnHeaders() {
  QFETCH(int, column);
  QFETCH(QString, heading);
  QAccessibleTableInterface* grid = accessibleTable();
  QVERIFY(grid);
  QCOMPARE(grid->columnDescription(column), heading);
  QAccessibleInterface* header = grid->cellAt(0, column)->tableCellInterface()->columnHeaderCells().front();
  QCOMPARE(header->role(), QAccessible::ColumnHeader);
  QCOMPARE(header->text(QAccessible::Name), heading);
  // The units, for whoever reads on.
  QVERIFY(header->text(QAccessible::Description).contains(column == 0 ? QString::fromUtf8("℃") : "mg O/"));
  QVERIFY(!header->tableCellInterface());
  QVERIFY(header->rect().bottom() < grid->cellAt(0, column)->rect().top());
}

void DODataTest::everyAccessibleCellReadsAsTheTable() {
  QFile csv(DOSAT_TABLE_CSV);
  QVERIFY(csv.open(QIODevice::ReadOnly | QIODevice::Text));
  const QStringList lines = QString::fromUtf8(csv.readAll()).split('\n', Qt::SkipEmptyParts).mid(1);
  QCOMPARE(lines.size(), 36);
  QAccessibleTableInterface* grid = accessibleTable();
  QVERIFY(grid);
  for (int row = 0; row < 36; ++row) {
    const QStringList cells = lines[row].split(',');
    QCOMPARE(cells.size(), 7);
    for (int column = 0; column < 7; ++column) QCOMPARE(grid->cellAt(row, column)->text(QAccessible::Name), cells[column]);
  }
}

void DODataTest::accessibleChildrenAreTheHeadersThenTheCells() {
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(Picture(table().Picture1));
  QAccessibleTableInterface* grid = iface->tableInterface();
  QCOMPARE(iface->childCount(), 7 + 36 * 7);
  for (int i = 0; i < iface->childCount(); ++i) {
    QAccessibleInterface* child = iface->child(i);
    QVERIFY(child);
    QCOMPARE(iface->indexOfChild(child), i);
    QCOMPARE(child->parent(), iface);
    QCOMPARE(iface->child(i), child);  // made once, kept
    if (i >= 7) QCOMPARE(child, grid->cellAt((i - 7) / 7, (i - 7) % 7));
  }
  QVERIFY(!iface->child(iface->childCount()));
  QCOMPARE(iface->indexOfChild(QAccessible::queryAccessibleInterface(Button(table().Command1))), -1);
}

QTEST_MAIN(DODataTest)
#include "dodata_tests.moc"
