#include "fonts.h"

#include <QStringList>

namespace dosat {
namespace {

QFont Font(const QStringList& families, int pointSize) {
  QFont font;
  font.setFamilies(families + QStringList{"Noto Sans CJK JP", "VL PGothic", "Droid Sans Fallback"});
  font.setPointSize(pointSize);
  font.setWeight(QFont::Normal);
  return font;
}

}  // namespace

// The Windows faces come first; on Linux, IPA P Gothic (fonts-ipafont-gothic)
// stands in with nearly the same proportional metrics. Whole-pixel glyph
// advances keep "塩素イオン濃度(mg/L)" within its 153-pixel label, as it is
// with the Windows face.
QFont designFont() {
  QFont font = Font({"ＭＳ Ｐゴシック", "MS PGothic", "IPAPGothic", "IPA Pゴシック"}, 12);
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

// IPA Gothic's half-width Latin keeps "(海水標準=21000mg/L)" on one line of
// its 129-pixel label, where the proportional face needs 131 pixels.
QFont defaultFont() { return Font({"MS UI Gothic", "IPAGothic", "IPAゴシック"}, 9); }

}  // namespace dosat
