#include "tablerenderer.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QStringList>

#include <cmath>

#include "tabletext.h"

namespace dosat::table {

QString TableFontFamily() {
  // By family name first, so that the program needs no file path where the font is installed.
  static const QString family = [] {
    for (const QString& name : {QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック")}) {
      if (QFontDatabase::hasFamily(name)) return name;
    }
    const int id = QFontDatabase::addApplicationFont(QString::fromUtf8(kFontFile));
    const QStringList loaded = id < 0 ? QStringList{} : QFontDatabase::applicationFontFamilies(id);
    return loaded.isEmpty() ? QString() : loaded.front();
  }();
  return family;
}

QFont TableFont(const QString& family, int pixelSize, int letterSpacing) {
  QFont font;
  if (family.isEmpty()) {
    font.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL PGothic"),
                      QStringLiteral("Droid Sans Fallback")});
    font.setStyleStrategy(QFont::NoSubpixelAntialias);
  } else {
    font.setFamily(family);
    // No glyphs from other fonts: every character of the table is in IPA P Gothic.
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoFontMerging | QFont::NoSubpixelAntialias));
  }
  font.setPixelSize(pixelSize);
  // Colour fringes would show on the white table; full hinting keeps digits crisp.
  font.setHintingPreference(QFont::PreferFullHinting);
  font.setKerning(false);
  if (letterSpacing != 0) font.setLetterSpacing(QFont::AbsoluteSpacing, letterSpacing);
  return font;
}

QImage RenderLayout(const TableLayout& layout, const QString& family, const PixelRect& area, QColor ink,
                    QColor paper) {
  QImage image(area.width, area.height, QImage::Format_RGB32);
  image.fill(paper);
  QPainter painter(&image);
  painter.translate(-area.x, -area.y);
  painter.setPen(ink);
  for (const TextRun& run : layout.texts) {
    const QFont font = TableFont(family, run.pixelSize, run.letterSpacing);
    const QString text = QString::fromStdString(run.text);
    painter.setFont(font);
    painter.drawText(QPoint(TextOrigin(run, QFontMetrics(font).horizontalAdvance(text)), run.baseline), text);
  }
  for (const PixelRect& r : layout.rules) painter.fillRect(QRect(r.x, r.y, r.width, r.height), ink);
  return image;
}

}  // namespace dosat::table
