#include "qtfonts.h"

#include <QStringList>

#include "fonts.h"

namespace dosat {
namespace {

QFont Font(const fonts::Face& face) {
  QStringList families;
  for (const auto& list : {face.families, std::span<const std::string_view>(fonts::kFallbackFamilies)}) {
    for (const std::string_view family : list) families << QString::fromUtf8(family.data(), qsizetype(family.size()));
  }
  QFont font;
  font.setFamilies(families);
  font.setPointSize(face.points);
  font.setWeight(QFont::Normal);
  return font;
}

}  // namespace

// Whole-pixel glyph advances keep the texts within their labels, as with the Windows face.
QFont designFont() {
  QFont font = Font(fonts::FaceOf(design::Font::Gothic12));
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

QFont defaultFont() { return Font(fonts::FaceOf(design::Font::Default)); }

}  // namespace dosat
