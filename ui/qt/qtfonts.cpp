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
  if (face.wholePixelAdvances) font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

}  // namespace

QFont FontOf(const fonts::Face& face, double pixels) {
  QFont font = Font(face);
  // Qt's points are 72 to its logical inch of 96 pixels.
  font.setPointSizeF(pixels * 72 / 96);
  return font;
}

QFont DefaultFont() { return Font(fonts::FaceOf(design::Font::Default)); }

}  // namespace dosat
