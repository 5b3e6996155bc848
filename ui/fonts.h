#pragma once

#include <cmath>
#include <span>
#include <string>
#include <string_view>

#include "design.h"

// The faces and sizes the windows' texts are set in, as data for every platform: the
// Windows faces first, then those that stand in for them on Linux (IPA's, with nearly the
// same metrics), the Japanese Gothics of a Mac and of newer Windows, and then any Japanese
// Gothic there is.
namespace dosat::fonts {

/// A face to ask for: family names in order of preference, and the size in points.
struct Face {
  std::span<const std::string_view> families;
  int points;
  /// Whether its glyphs are to advance by whole pixels, as the Windows face's do, where a
  /// platform can ask for that: the texts set in it then keep within their labels.
  bool wholePixelAdvances = false;
};

/// "ＭＳ Ｐゴシック" 12 pt, as designed; IPA P Gothic's whole-pixel advances keep
/// "塩素イオン濃度(mg/L)" within its 153-pixel label, as the Windows face does.
inline constexpr std::string_view kGothicFamilies[] = {
    "ＭＳ Ｐゴシック", "MS PGothic", "IPAPGothic", "IPA Pゴシック", "Hiragino Kaku Gothic ProN", "Hiragino Sans",
    "Yu Gothic", "YuGothic", "Meiryo"};
/// The platform's default window font, a Japanese UI Gothic at 9 points: IPA Gothic's
/// half-width Latin keeps "(海水標準=21000mg/L)" on one line of its 129-pixel label.
inline constexpr std::string_view kPlainFamilies[] = {
    "MS UI Gothic", "IPAGothic", "IPAゴシック", "Hiragino Kaku Gothic ProN", "Hiragino Sans", "Yu Gothic UI", "Meiryo"};
/// What any face falls back to where none of its own is installed.
inline constexpr std::string_view kFallbackFamilies[] = {"Noto Sans CJK JP", "Noto Sans JP", "VL PGothic",
                                                         "Droid Sans Fallback"};
/// The table picture's face: IPA P Gothic, whose metrics its layout was drawn with, then
/// the Windows face of the same design, then the Japanese Gothics of a Mac and of newer Windows.
inline constexpr std::string_view kTableFamilies[] = {"IPAPGothic", "IPA Pゴシック", "ＭＳ Ｐゴシック", "MS PGothic",
                                                      "Hiragino Kaku Gothic ProN", "Hiragino Sans", "Yu Gothic"};

/// The face of a control's design font.
constexpr Face FaceOf(design::Font font) {
  return font == design::Font::Gothic12 ? Face{kGothicFamilies, 12, true} : Face{kPlainFamilies, 9};
}

/// A face's families and then the fallbacks, as a CSS font-family list.
inline std::string CssFamilies(std::span<const std::string_view> families) {
  std::string list;
  const auto add = [&list](std::string_view family) {
    if (!list.empty()) list += ", ";
    list += '"';
    list += family;
    list += '"';
  };
  for (const std::string_view family : families) add(family);
  for (const std::string_view family : kFallbackFamilies) add(family);
  return list + ", sans-serif";
}

/// A face's height in whole pixels at `dpi` dots per inch: its points, 72 to the inch.
inline int PixelHeight(const Face& face, double dpi) { return static_cast<int>(std::lround(face.points * dpi / 72)); }

}  // namespace dosat::fonts
