// make_table_bitmap: draws the table picture that the table window shows.
//
//   make_table_bitmap assets/do-table.csv assets/do-table.bmp
//
// The picture is 464 x 649 pixels, black on white, written as a bottom-up 24-bit BMP.
// Fonts come from the IPA Gothic file itself, not from the font configuration, so that
// the same machine always draws the same pixels.

#include <QByteArray>
#include <QColor>
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
#include <vector>

namespace {

constexpr int kWidth = 464;
constexpr int kHeight = 649;
constexpr int kRows = 36;

constexpr auto kFontFile = "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf";

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

constexpr int kTitlePx = 18;
constexpr int kHeaderPx = 11;
constexpr int kDigitPx = 12;

// The note's font size is found by measuring its ink, from here downwards.
constexpr int kNoteLargestPx = 10;

/// One line of the table as the CSV spells it: temperature, five chloride columns, per 100.
using TableRow = std::array<QString, 7>;

void fail(const QString& message) {
  std::fprintf(stderr, "make_table_bitmap: %s\n", qPrintable(message));
}

bool isDecimalText(const QString& text) {
  if (text.isEmpty()) return false;
  for (const QChar c : text) {
    if (!(c.isDigit() && c.unicode() < 0x80) && c != u'.') return false;
  }
  return true;
}

/// The 36 rows of the CSV, 0 to 35 °C in order, or nothing (with a message) if it is not that.
std::optional<std::vector<TableRow>> readTable(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
    fail(QStringLiteral("cannot read %1").arg(path));
    return std::nullopt;
  }
  const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
  if (lines.isEmpty() || !lines.front().startsWith(u"temp_c,")) {
    fail(QStringLiteral("%1 has no temp_c header line").arg(path));
    return std::nullopt;
  }
  std::vector<TableRow> rows;
  for (qsizetype i = 1; i < lines.size(); ++i) {
    const QStringList fields = lines[i].trimmed().split(u',');
    if (fields.size() != 7) {
      fail(QStringLiteral("line %1 has %2 fields, not 7").arg(i + 1).arg(fields.size()));
      return std::nullopt;
    }
    TableRow row;
    for (int c = 0; c < 7; ++c) {
      row[c] = fields[c].trimmed();
      if (!isDecimalText(row[c])) {
        fail(QStringLiteral("line %1: \"%2\" is not a number").arg(i + 1).arg(row[c]));
        return std::nullopt;
      }
    }
    if (row[0] != QString::number(rows.size())) {
      fail(QStringLiteral("line %1 is for %2 °C, expected %3").arg(i + 1).arg(row[0]).arg(rows.size()));
      return std::nullopt;
    }
    rows.push_back(row);
  }
  if (rows.size() != kRows) {
    fail(QStringLiteral("%1 has %2 rows, expected %3").arg(path).arg(rows.size()).arg(kRows));
    return std::nullopt;
  }
  return rows;
}

class Fonts {
 public:
  /// Loads the font file; false (with a message) if Qt cannot use it.
  bool load() {
    const int id = QFontDatabase::addApplicationFont(QString::fromUtf8(kFontFile));
    const QStringList families = id < 0 ? QStringList{} : QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty()) {
      fail(QStringLiteral("cannot load %1 (package fonts-ipafont-gothic)").arg(kFontFile));
      return false;
    }
    family_ = families.front();
    return true;
  }

  /// The loaded face at `pixels` pixels, grey-antialiased and fully hinted for crisp digits.
  QFont at(int pixels) const {
    QFont font(family_);
    font.setPixelSize(pixels);
    // No fallback to other installed fonts, and no colour fringes from subpixel rendering.
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoFontMerging | QFont::NoSubpixelAntialias));
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setKerning(false);
    return font;
  }

 private:
  QString family_;
};

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

class TablePainter {
 public:
  TablePainter(QImage& image, const Fonts& fonts) : painter_(&image), fonts_(fonts) {
    painter_.setPen(Qt::black);
  }

  void title() {
    const QFont font = fonts_.at(kTitlePx);
    // A little letter-spacing, as a printed table title has.
    QFont spaced = font;
    spaced.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    centreInk(spaced, QStringLiteral("水中の飽和溶存酸素量"), QRect(0, kTitleTop, kWidth, kTableTop - kTitleTop));
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
    const QFont font = fonts_.at(kHeaderPx);
    const int headerTop = kTableTop + 1;
    const int headerHeight = kHeaderBottom - headerTop;

    stackedLines(font, {QStringLiteral("温度"), QStringLiteral("(℃)")},
                 cell(0, headerTop, headerHeight), 15);

    const QRect chlorideBand(kColumnRules[1] + 1, headerTop, kColumnRules[6] - kColumnRules[1] - 1,
                             kChlorideRule - headerTop);
    centreText(font, QStringLiteral("水中の塩素イオン量 (mg Cl/ℓ)"), chlorideBand);

    const QStringList concentrations{QStringLiteral("0"), QStringLiteral("5000"), QStringLiteral("10000"),
                                     QStringLiteral("15000"), QStringLiteral("20000")};
    for (int c = 0; c < 5; ++c) {
      centreText(fonts_.at(kDigitPx), concentrations[c], cell(c + 1, kChlorideRule + 1, kConcRule - kChlorideRule - 1));
    }

    const QRect oxygenBand(kColumnRules[1] + 1, kConcRule + 1, kColumnRules[6] - kColumnRules[1] - 1,
                           kHeaderBottom - kConcRule - 1);
    centreText(font, QStringLiteral("溶存酸素量 (mg O/ℓ)"), oxygenBand);

    stackedLines(font,
                 {QStringLiteral("塩素イオン 100"), QStringLiteral("mgCl/ℓごとに"),
                  QStringLiteral("減ずべき溶存酸素量"), QStringLiteral("(mg O/ℓ)")},
                 cell(6, headerTop, headerHeight), 13);
  }

  void values(const std::vector<TableRow>& rows) {
    const QFont font = fonts_.at(kDigitPx);
    const QFontMetrics metrics(font);
    // Right-aligning on a common edge lines the decimal points up, as in print; the
    // edge sits so that the widest text of the column is centred.
    const std::array<QString, 7> widest{QStringLiteral("00"),    QStringLiteral("00.00"), QStringLiteral("00.00"),
                                        QStringLiteral("00.00"), QStringLiteral("00.00"), QStringLiteral("00.00"),
                                        QStringLiteral("0.0000")};
    const int baselineDrop = digitBaselineDrop(font, kRowPitch - 1);
    for (int r = 0; r < kRows; ++r) {
      const int top = kHeaderBottom + 1 + r * kRowPitch;
      for (int c = 0; c < 7; ++c) {
        const QRect box = cell(c, top, kRowPitch - 1);
        const int right = box.center().x() + (metrics.horizontalAdvance(widest[c]) + 1) / 2;
        painter_.setFont(font);
        painter_.drawText(right - metrics.horizontalAdvance(rows[r][c]), top + baselineDrop, rows[r][c]);
      }
    }
  }

  /// Draws the source note in the largest size whose ink fits rows kNoteTop..kNoteTop+6.
  bool note() {
    const QString text = QStringLiteral("(参考：JIS K0102より)");
    for (int px = kNoteLargestPx; px >= 4; --px) {
      const QFont font = fonts_.at(px);
      const QRect ink = inkOf(font, text);
      if (ink.height() > kNoteHeight) continue;
      // Right under the table's right edge, where a printed table credits its source.
      const int x = kColumnRules.back() - ink.right();
      const int y = kNoteTop - ink.top();
      painter_.setFont(font);
      painter_.drawText(x, y, text);
      return true;
    }
    fail(QStringLiteral("the note does not fit in %1 pixel rows").arg(kNoteHeight));
    return false;
  }

 private:
  void hline(int y, int x0, int x1) { painter_.fillRect(QRect(QPoint(x0, y), QPoint(x1, y)), Qt::black); }
  void vline(int x, int y0, int y1) { painter_.fillRect(QRect(QPoint(x, y0), QPoint(x, y1)), Qt::black); }

  /// The inside of column `c` (0 = temperature, 6 = per 100) from row `top`, `height` rows tall.
  static QRect cell(int c, int top, int height) {
    return QRect(kColumnRules[c] + 1, top, kColumnRules[c + 1] - kColumnRules[c] - 1, height);
  }

  /// Rows from a cell's top to the digits' baseline that centre the digits' ink in the cell.
  static int digitBaselineDrop(const QFont& font, int cellHeight) {
    const QRect ink = inkOf(font, QStringLiteral("0123456789"));
    return (cellHeight - ink.height()) / 2 - ink.top();
  }

  /// Centres the ink of `text` in `box`, so that parentheses and kana sit where the eye expects.
  void centreInk(const QFont& font, const QString& text, const QRect& box) {
    const QRect ink = inkOf(font, text);
    const int x = box.left() + (box.width() - ink.width()) / 2 - ink.left();
    const int y = box.top() + (box.height() - ink.height()) / 2 - ink.top();
    painter_.setFont(font);
    painter_.drawText(x, y, text);
  }

  /// Centres `text` horizontally by its advance and vertically by the font's em box, so that
  /// texts side by side share a baseline whatever their ink.
  void centreText(const QFont& font, const QString& text, const QRect& box) {
    const QFontMetrics metrics(font);
    const QRect em = inkOf(font, QStringLiteral("温"));
    const int x = box.left() + (box.width() - metrics.horizontalAdvance(text) + 1) / 2;
    const int y = box.top() + (box.height() - em.height()) / 2 - em.top();
    painter_.setFont(font);
    painter_.drawText(x, y, text);
  }

  /// Lines of text `pitch` rows apart, each centred horizontally, the block centred in `box`.
  void stackedLines(const QFont& font, const QStringList& lines, const QRect& box, int pitch) {
    const QFontMetrics metrics(font);
    const QRect em = inkOf(font, QStringLiteral("温"));
    const int blockHeight = (lines.size() - 1) * pitch + em.height();
    int y = box.top() + (box.height() - blockHeight) / 2 - em.top();
    painter_.setFont(font);
    for (const QString& line : lines) {
      const int x = box.left() + (box.width() - metrics.horizontalAdvance(line) + 1) / 2;
      painter_.drawText(x, y, line);
      y += pitch;
    }
  }

  QPainter painter_;
  const Fonts& fonts_;
};

void putU16(QByteArray& out, std::uint16_t v) {
  out.append(char(v & 0xff));
  out.append(char(v >> 8));
}

void putU32(QByteArray& out, std::uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.append(char((v >> shift) & 0xff));
}

/// The picture as a 24-bit bottom-up BMP with a BITMAPINFOHEADER, every pixel grey.
QByteArray encodeBmp(const QImage& image) {
  const int width = image.width();
  const int height = image.height();
  const std::uint32_t stride = (std::uint32_t(width) * 3 + 3) & ~3u;
  const std::uint32_t pixelBytes = stride * std::uint32_t(height);
  constexpr std::uint32_t kOffset = 14 + 40;
  constexpr std::uint32_t kPixelsPerMetre = 2851;  // about 72 dpi

  QByteArray out;
  out.reserve(int(kOffset + pixelBytes));
  out.append("BM", 2);
  putU32(out, kOffset + pixelBytes);
  putU32(out, 0);
  putU32(out, kOffset);

  putU32(out, 40);
  putU32(out, std::uint32_t(width));
  putU32(out, std::uint32_t(height));  // positive: bottom row first
  putU16(out, 1);
  putU16(out, 24);
  putU32(out, 0);  // BI_RGB
  putU32(out, pixelBytes);
  putU32(out, kPixelsPerMetre);
  putU32(out, kPixelsPerMetre);
  putU32(out, 0);
  putU32(out, 0);

  for (int y = height - 1; y >= 0; --y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < width; ++x) {
      // Antialiasing is grey already; taking one level keeps B, G and R equal regardless.
      const char level = char(qGray(line[x]));
      out.append(level);
      out.append(level);
      out.append(level);
    }
    for (std::uint32_t pad = std::uint32_t(width) * 3; pad < stride; ++pad) out.append('\0');
  }
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
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_table_bitmap <do-table.csv> <do-table.bmp>\n");
    return 2;
  }
  // Drawing needs no screen; this also lets it run in a build without a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);

  const auto rows = readTable(QString::fromLocal8Bit(argv[1]));
  if (!rows) return 1;
  Fonts fonts;
  if (!fonts.load()) return 1;

  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    TablePainter table(image, fonts);
    table.title();
    table.headings();
    table.values(*rows);
    table.rules();
    if (!table.note()) return 1;
  }
  return writeFile(QString::fromLocal8Bit(argv[2]), encodeBmp(image)) ? 0 : 1;
}
