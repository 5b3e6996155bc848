// make_table_bitmap: lays out the table picture that the table window shows, and draws it.
//
//   make_table_bitmap assets/do-table.csv assets/do-table-layout.txt assets/do-table.bmp \
//                     assets/do-table-rle8.bmp
//
// The layout (ui/table/tablelayout.h) is worked out here, where Qt can measure the ink of
// the IPA P Gothic glyphs, and written as text; the program draws the table from it at
// other device pixel ratios. The picture is that layout drawn at 1x by the table's Qt
// renderer: 464 x 649 pixels, black on white, written as a bottom-up 24-bit BMP, and once
// more run-length encoded (8-bit, 256 greys) for dosat.exe to carry. Fonts
// come from the IPA Gothic file itself, not from the font configuration, so that the same
// machine always draws the same pixels.

#include <QByteArray>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QSaveFile>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "tablelayout.h"
#include "tablerenderer.h"

namespace {

using dosat::table::Align;
using dosat::table::PixelRect;
using dosat::table::TableLayout;
using dosat::table::TableRow;

constexpr int kWidth = 464;
constexpr int kHeight = 649;
constexpr int kRows = dosat::table::kRowCount;

// ---- Where everything goes (0-based pixel rows and columns of the rules) ----

// Vertical rules: the outer frame, after the temperature column, between the five
// chloride columns, and before the last column.
constexpr std::array<int, 8> kColumnRules{2, 43, 104, 165, 226, 287, 348, 461};

constexpr int kTitleTop = 0;
constexpr int kTableTop = 30;        // top rule of the table
constexpr int kChlorideRule = 48;    // under "水中の塩素イオン量"
constexpr int kConcRule = 66;        // under 0, 5000, ... 20000
constexpr int kHeaderBottom = 85;    // under "溶存酸素量", above 0 °C
constexpr int kRowPitch = 15;        // 14 pixel rows of cell and one of rule
constexpr int kTableBottom = kHeaderBottom + kRows * kRowPitch;  // 625
constexpr int kNoteTop = 631;
constexpr int kNoteHeight = 7;  // rows 631..637 and nothing more

static_assert(kTableBottom == 625, "the table must end at row 625");

// The table window's picture box shows this much of the picture: its interior is one
// column wider than the picture and ends above the note.
constexpr PixelRect kShown{0, 0, 465, 629};

constexpr int kTitlePx = 18;
constexpr int kTitleSpacing = 2;  // a little letter-spacing, as a printed table title has
constexpr int kHeaderPx = 11;
constexpr int kDigitPx = 12;

// The note's font size is found by measuring its ink, from here downwards.
constexpr int kNoteLargestPx = 10;

void fail(const QString& message) {
  std::fprintf(stderr, "make_table_bitmap: %s\n", qPrintable(message));
}

/// The 36 rows of the CSV, or nothing (with a message) if it is not that.
std::optional<std::vector<TableRow>> readTable(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    fail(QStringLiteral("cannot read %1").arg(path));
    return std::nullopt;
  }
  std::string error;
  auto rows = dosat::table::ParseTableCsv(file.readAll().toStdString(), &error);
  if (!rows) fail(QStringLiteral("%1: %2").arg(path, QString::fromStdString(error)));
  return rows;
}

/// Loads the font file; its family name, or an empty string (with a message) if Qt cannot use it.
QString loadFontFile() {
  const int id = QFontDatabase::addApplicationFont(QString::fromUtf8(dosat::table::kFontFile));
  const QStringList families = id < 0 ? QStringList{} : QFontDatabase::applicationFontFamilies(id);
  if (families.isEmpty()) {
    fail(QStringLiteral("cannot load %1 (package fonts-ipafont-gothic)").arg(dosat::table::kFontFile));
    return {};
  }
  return families.front();
}

/// The smallest rectangle holding every non-white pixel of `image`; empty if there is none.
QRect inkBounds(const QImage& image) {
  int left = image.width(), right = -1, top = image.height(), bottom = -1;
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if (qGray(line[x]) == 255) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  return right < 0 ? QRect{} : QRect(QPoint(left, top), QPoint(right, bottom));
}

/// Where `text` leaves ink when drawn with its baseline origin at (0, 0).
QRect inkOf(const QFont& font, const QString& text) {
  const QFontMetrics metrics(font);
  const int pad = font.pixelSize() * 2;
  QImage scratch(metrics.horizontalAdvance(text) + 2 * pad, 4 * pad, QImage::Format_RGB32);
  scratch.fill(Qt::white);
  {
    QPainter painter(&scratch);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(pad, 2 * pad, text);
  }
  return inkBounds(scratch).translated(-pad, -2 * pad);
}

/// Works out where every rule and text of the table goes, measuring the glyphs of `family`.
class LayoutBuilder {
 public:
  explicit LayoutBuilder(QString family) : family_(std::move(family)) {
    layout_.width = kWidth;
    layout_.height = kHeight;
    layout_.clip = kShown;
    layout_.columnRules.assign(kColumnRules.begin(), kColumnRules.end());
    layout_.topRule = kTableTop;
    for (int r = 0; r <= kRows; ++r) layout_.rowRules.push_back(kHeaderBottom + r * kRowPitch);
  }

  const TableLayout& layout() const { return layout_; }

  void title() {
    const QFont spaced = font(kTitlePx, kTitleSpacing);
    centreInk(spaced, QString::fromUtf8(dosat::table::kTitle), QRect(0, kTitleTop, kWidth, kTableTop - kTitleTop));
  }

  void rules() {
    const int left = kColumnRules.front();
    const int right = kColumnRules.back();
    hline(kTableTop, left, right);
    hline(kChlorideRule, kColumnRules[1], kColumnRules[6]);
    hline(kConcRule, kColumnRules[1], kColumnRules[6]);
    for (int r = 0; r <= kRows; ++r) hline(kHeaderBottom + r * kRowPitch, left, right);
    // The frame and the outer columns' rules run the full height; the rules between the
    // chloride columns stop where a heading spans all five.
    for (const int i : {0, 1, 6, 7}) vline(kColumnRules[i], kTableTop, kTableBottom);
    for (int i = 2; i <= 5; ++i) {
      vline(kColumnRules[i], kChlorideRule, kConcRule);
      vline(kColumnRules[i], kHeaderBottom, kTableBottom);
    }
  }

  void headings() {
    const QFont heading = font(kHeaderPx);
    const int headerTop = kTableTop + 1;
    const int headerHeight = kHeaderBottom - headerTop;

    stackedLines(heading, {QStringLiteral("温度"), QStringLiteral("(℃)")}, cell(0, headerTop, headerHeight), 15);

    const QRect chlorideBand(kColumnRules[1] + 1, headerTop, kColumnRules[6] - kColumnRules[1] - 1,
                             kChlorideRule - headerTop);
    centreText(heading, QStringLiteral("水中の塩素イオン量 (mg Cl/ℓ)"), chlorideBand);

    for (int c = 1; c <= 5; ++c) {
      centreText(font(kDigitPx), QString::fromUtf8(dosat::table::kColumnHeadings[c]),
                 cell(c, kChlorideRule + 1, kConcRule - kChlorideRule - 1));
    }

    const QRect oxygenBand(kColumnRules[1] + 1, kConcRule + 1, kColumnRules[6] - kColumnRules[1] - 1,
                           kHeaderBottom - kConcRule - 1);
    centreText(heading, QStringLiteral("溶存酸素量 (mg O/ℓ)"), oxygenBand);

    stackedLines(heading,
                 {QStringLiteral("塩素イオン 100"), QStringLiteral("mgCl/ℓごとに"),
                  QStringLiteral("減ずべき溶存酸素量"), QStringLiteral("(mg O/ℓ)")},
                 cell(6, headerTop, headerHeight), 13);
  }

  void values(const std::vector<TableRow>& rows) {
    const QFont digits = font(kDigitPx);
    const QFontMetrics metrics(digits);
    // Right-aligning on a common edge lines the decimal points up, as in print; the
    // edge sits so that the widest text of the column is centred.
    const std::array<QString, 7> widest{QStringLiteral("00"),    QStringLiteral("00.00"), QStringLiteral("00.00"),
                                        QStringLiteral("00.00"), QStringLiteral("00.00"), QStringLiteral("00.00"),
                                        QStringLiteral("0.0000")};
    const int baselineDrop = digitBaselineDrop(digits, kRowPitch - 1);
    for (int r = 0; r < kRows; ++r) {
      const int top = kHeaderBottom + 1 + r * kRowPitch;
      for (int c = 0; c < 7; ++c) {
        const QRect box = cell(c, top, kRowPitch - 1);
        const int right = box.center().x() + (metrics.horizontalAdvance(widest[c]) + 1) / 2;
        const QString value = QString::fromStdString(rows[r][c]);
        text(digits, right - metrics.horizontalAdvance(value), top + baselineDrop, value, Align::Right);
      }
    }
  }

  /// Places the source note in the largest size whose ink fits rows kNoteTop..kNoteTop+6.
  bool note() {
    const QString note = QString::fromUtf8(dosat::table::kNote);
    for (int px = kNoteLargestPx; px >= 4; --px) {
      const QFont small = font(px);
      const QRect ink = inkOf(small, note);
      if (ink.height() > kNoteHeight) continue;
      // Right under the table's right edge, where a printed table credits its source.
      text(small, kColumnRules.back() - ink.right(), kNoteTop - ink.top(), note, Align::Right);
      return true;
    }
    fail(QStringLiteral("the note does not fit in %1 pixel rows").arg(kNoteHeight));
    return false;
  }

 private:
  QFont font(int pixels, int spacing = 0) const { return dosat::table::TableFont(family_, pixels, spacing); }

  /// Records `value` drawn with its origin at (x, baseline), anchored by `align` so that a
  /// renderer with other metrics keeps it centred or right-aligned.
  void text(const QFont& font, int x, int baseline, const QString& value, Align align) {
    const int advance = QFontMetrics(font).horizontalAdvance(value);
    const double share = align == Align::Left ? 0.0 : align == Align::Centre ? 0.5 : 1.0;
    const int spacing = int(font.letterSpacing());
    layout_.texts.push_back({value.toStdString(), font.pixelSize(), spacing, align, x + share * advance, baseline});
  }

  void hline(int y, int x0, int x1) { layout_.rules.push_back({x0, y, x1 - x0 + 1, 1}); }
  void vline(int x, int y0, int y1) { layout_.rules.push_back({x, y0, 1, y1 - y0 + 1}); }

  /// The inside of column `c` (0 = temperature, 6 = per 100) from row `top`, `height` rows tall.
  static QRect cell(int c, int top, int height) {
    return QRect(kColumnRules[c] + 1, top, kColumnRules[c + 1] - kColumnRules[c] - 1, height);
  }

  /// Rows from a cell's top to the digits' baseline that centre the digits' ink in the cell.
  static int digitBaselineDrop(const QFont& font, int cellHeight) {
    const QRect ink = inkOf(font, QStringLiteral("0123456789"));
    return (cellHeight - ink.height()) / 2 - ink.top();
  }

  /// Centres the ink of `value` in `box`, so that parentheses and kana sit where the eye expects.
  void centreInk(const QFont& font, const QString& value, const QRect& box) {
    const QRect ink = inkOf(font, value);
    const int x = box.left() + (box.width() - ink.width()) / 2 - ink.left();
    const int y = box.top() + (box.height() - ink.height()) / 2 - ink.top();
    text(font, x, y, value, Align::Centre);
  }

  /// Centres `value` horizontally by its advance and vertically by the font's em box, so that
  /// texts side by side share a baseline whatever their ink.
  void centreText(const QFont& font, const QString& value, const QRect& box) {
    const QFontMetrics metrics(font);
    const QRect em = inkOf(font, QStringLiteral("温"));
    const int x = box.left() + (box.width() - metrics.horizontalAdvance(value) + 1) / 2;
    const int y = box.top() + (box.height() - em.height()) / 2 - em.top();
    text(font, x, y, value, Align::Centre);
  }

  /// Lines of text `pitch` rows apart, each centred horizontally, the block centred in `box`.
  void stackedLines(const QFont& font, const QStringList& lines, const QRect& box, int pitch) {
    const QFontMetrics metrics(font);
    const QRect em = inkOf(font, QStringLiteral("温"));
    const int blockHeight = int(lines.size() - 1) * pitch + em.height();
    int y = box.top() + (box.height() - blockHeight) / 2 - em.top();
    for (const QString& line : lines) {
      const int x = box.left() + (box.width() - metrics.horizontalAdvance(line) + 1) / 2;
      text(font, x, y, line, Align::Centre);
      y += pitch;
    }
  }

  QString family_;
  TableLayout layout_;
};

void putU16(QByteArray& out, std::uint16_t v) {
  out.append(char(v & 0xff));
  out.append(char(v >> 8));
}

void putU32(QByteArray& out, std::uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.append(char((v >> shift) & 0xff));
}

constexpr std::uint32_t kBmpPixelsPerMetre = 2851;  // about 72 dpi

/// A BMP's two headers: the 14-byte file header and a BITMAPINFOHEADER.
void putBmpHeaders(QByteArray& out, int width, int height, std::uint16_t bits, std::uint32_t compression,
                   std::uint32_t colours, std::uint32_t pixelBytes) {
  const std::uint32_t offset = 14 + 40 + 4 * colours;
  out.append("BM", 2);
  putU32(out, offset + pixelBytes);
  putU32(out, 0);
  putU32(out, offset);

  putU32(out, 40);
  putU32(out, std::uint32_t(width));
  putU32(out, std::uint32_t(height));  // positive: bottom row first
  putU16(out, 1);
  putU16(out, bits);
  putU32(out, compression);
  putU32(out, pixelBytes);
  putU32(out, kBmpPixelsPerMetre);
  putU32(out, kBmpPixelsPerMetre);
  putU32(out, colours);
  putU32(out, 0);
}

/// The grey level of each pixel, bottom row first.
std::vector<std::vector<std::uint8_t>> greyRowsBottomUp(const QImage& image) {
  std::vector<std::vector<std::uint8_t>> rows;
  for (int y = image.height() - 1; y >= 0; --y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    std::vector<std::uint8_t>& row = rows.emplace_back(std::size_t(image.width()));
    // Antialiasing is grey already; taking one level keeps B, G and R equal regardless.
    for (int x = 0; x < image.width(); ++x) row[std::size_t(x)] = std::uint8_t(qGray(line[x]));
  }
  return rows;
}

/// The picture as a 24-bit bottom-up BMP with a BITMAPINFOHEADER, every pixel grey.
QByteArray encodeBmp(const QImage& image) {
  const std::uint32_t stride = (std::uint32_t(image.width()) * 3 + 3) & ~3u;
  QByteArray out;
  putBmpHeaders(out, image.width(), image.height(), 24, 0 /* BI_RGB */, 0, stride * std::uint32_t(image.height()));
  for (const auto& row : greyRowsBottomUp(image)) {
    for (const std::uint8_t level : row) out.append(3, char(level));
    for (std::uint32_t pad = std::uint32_t(row.size()) * 3; pad < stride; ++pad) out.append('\0');
  }
  return out;
}

/// The same picture as an 8-bit BMP of 256 greys, run-length encoded (BI_RLE8) as
/// Windows draws it itself: a tenth of the size, for dosat.exe to carry.
QByteArray encodeRle8Bmp(const QImage& image) {
  QByteArray pixels;
  const auto pair = [&](std::size_t first, std::uint8_t second) {
    pixels.append(char(first));
    pixels.append(char(second));
  };
  const auto literal = [&](const std::uint8_t* from, std::size_t count) {
    if (count < 3) {  // an absolute run holds three or more: shorter ones go as runs of one
      for (std::size_t i = 0; i < count; ++i) pair(1, from[i]);
      return;
    }
    pair(0, std::uint8_t(count));
    pixels.append(reinterpret_cast<const char*>(from), qsizetype(count));
    if (count % 2) pixels.append('\0');  // absolute runs end on a 16-bit boundary
  };
  for (const auto& row : greyRowsBottomUp(image)) {
    std::size_t x = 0, pending = 0;  // pixels [pending, x) not yet written
    while (x < row.size()) {
      std::size_t run = 1;
      while (x + run < row.size() && run < 255 && row[x + run] == row[x]) ++run;
      if (run >= 3 || x - pending == 255) {
        literal(row.data() + pending, x - pending);
        pending = x;
      }
      if (run >= 3) {
        pair(run, row[x]);
        x += run;
        pending = x;
      } else {
        ++x;
      }
    }
    literal(row.data() + pending, row.size() - pending);
    pair(0, 0);  // end of line
  }
  pair(0, 1);  // end of bitmap

  QByteArray out;
  putBmpHeaders(out, image.width(), image.height(), 8, 1 /* BI_RLE8 */, 256, std::uint32_t(pixels.size()));
  for (int level = 0; level < 256; ++level) putU32(out, std::uint32_t(level) * 0x010101u);
  out.append(pixels);
  return out;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
  // A failed run must not leave half a picture in the source tree.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    fail(QStringLiteral("cannot write %1").arg(path));
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr,
                 "usage: make_table_bitmap <do-table.csv> <do-table-layout.txt> <do-table.bmp> <do-table-rle8.bmp>\n");
    return 2;
  }
  // Drawing needs no screen; this also lets it run in a build without a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);

  const auto rows = readTable(QString::fromLocal8Bit(argv[1]));
  if (!rows) return 1;
  const QString family = loadFontFile();
  if (family.isEmpty()) return 1;

  LayoutBuilder table(family);
  table.title();
  table.headings();
  table.values(*rows);
  table.rules();
  if (!table.note()) return 1;

  // The picture is drawn from the layout as written, as the program draws it.
  const std::string text = dosat::table::FormatLayout(table.layout());
  const auto layout = dosat::table::ParseLayout(text);
  if (!layout || *layout != table.layout()) {
    fail(QStringLiteral("the layout does not read back as written"));
    return 1;
  }
  const QImage image = dosat::table::RenderLayout(*layout, family, {0, 0, layout->width, layout->height});
  return writeFile(QString::fromLocal8Bit(argv[2]), QByteArray::fromStdString(text)) &&
                 writeFile(QString::fromLocal8Bit(argv[3]), encodeBmp(image)) &&
                 writeFile(QString::fromLocal8Bit(argv[4]), encodeRle8Bmp(image))
             ? 0
             : 1;
}
