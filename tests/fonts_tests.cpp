// The windows' faces and sizes, as every platform asks for them.
#include <gtest/gtest.h>

#include "fonts.h"

namespace {

using dosat::design::Font;
using dosat::fonts::FaceOf;
using dosat::fonts::PixelHeight;

struct SizeRow {
  Font font;
  double dpi;
  int pixels;
};

class FontSizes : public testing::TestWithParam<SizeRow> {};

// 12 and 9 points at 100 %, 125 %, 150 % and 200 %, rounded to whole pixels.
TEST_P(FontSizes, PointsToWholePixels) {
  EXPECT_EQ(PixelHeight(FaceOf(GetParam().font), GetParam().dpi), GetParam().pixels);
}

INSTANTIATE_TEST_SUITE_P(Screens, FontSizes,
                         testing::Values(SizeRow{Font::Gothic12, 96, 16}, SizeRow{Font::Default, 96, 12},
                                         SizeRow{Font::Gothic12, 120, 20}, SizeRow{Font::Default, 120, 15},
                                         SizeRow{Font::Gothic12, 144, 24}, SizeRow{Font::Default, 144, 18},
                                         SizeRow{Font::Default, 168, 21}, SizeRow{Font::Gothic12, 192, 32}));

// The Windows face first, where Windows has it; IPA's stand-ins on Linux after it.
TEST(Fonts, TheWindowsFaceFirstThenIpasStandIn) {
  EXPECT_EQ(FaceOf(Font::Gothic12).families.front(), "ＭＳ Ｐゴシック");
  EXPECT_EQ(FaceOf(Font::Default).families.front(), "MS UI Gothic");
  EXPECT_EQ(FaceOf(Font::Gothic12).families[2], "IPAPGothic");
  EXPECT_EQ(FaceOf(Font::Default).families[1], "IPAGothic");
}

}  // namespace
