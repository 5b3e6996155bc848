// What every platform makes of the two windows: places at each scale, stacking, Tab stops,
// fonts and the colours on each palette.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "design.h"
#include "plan.h"
#include "tablelayout.h"

namespace {

using dosat::contrast::Desktop;
using dosat::contrast::Palette;
using dosat::design::kCalculationWindow;
using dosat::design::kTableWindow;
using dosat::plan::ColoursOn;
using dosat::plan::LayOut;
using dosat::plan::Rect;

struct PlaceRow {
  const char* control;
  double ratio;
  Rect rect;
  int fontPixels;
};

class Places : public testing::TestWithParam<PlaceRow> {};

// 96 dpi, 125 %, 150 % and 200 %, and a window fitted to a screen smaller than it.
TEST_P(Places, RoundToTheNearestPixel) {
  const PlaceRow& row = GetParam();
  const dosat::plan::Window layout = LayOut(kCalculationWindow, row.ratio);
  const dosat::plan::Control& control = layout.OfRow(kCalculationWindow.Find(row.control));
  EXPECT_EQ(control.rect, row.rect);
  EXPECT_EQ(control.FontPixelHeight(), row.fontPixels);
}

INSTANTIATE_TEST_SUITE_P(
    Scales, Places,
    testing::Values(PlaceRow{"Text1", 1, {208, 72, 73, 26}, 16}, PlaceRow{"Text1", 1.25, {260, 90, 91, 33}, 20},
                    PlaceRow{"Text1", 1.5, {312, 108, 110, 39}, 24}, PlaceRow{"Text1", 2, {416, 144, 146, 52}, 32},
                    PlaceRow{"Label3", 1.5, {36, 212, 194, 26}, 18}, PlaceRow{"Label3", 0.8, {19, 113, 103, 14}, 10},
                    PlaceRow{"Command3", 0.8, {64, 220, 122, 21}, 10}),
    [](const testing::TestParamInfo<PlaceRow>& info) {
      return std::string(info.param.control) + "_at_" + std::to_string(static_cast<int>(info.param.ratio * 100));
    });

TEST(Plan, ClientAreaGrowsWithTheRatio) {
  const dosat::plan::Window at1 = LayOut(kTableWindow, 1), at2 = LayOut(kTableWindow, 2);
  EXPECT_EQ(at1.clientWidth, 495);
  EXPECT_EQ(at1.clientHeight, 699);
  EXPECT_EQ(at2.clientWidth, 990);
  EXPECT_EQ(at2.clientHeight, 1398);
}

// Labels under everything else, Label4 under the result box it reaches into, Label3 over
// Label2; and every control that takes the focus has one place in Tab's order, in the
// order it is made.
TEST(Plan, LabelsStackUnderTheBoxesAndTabFollowsTheMakingOrder) {
  const dosat::plan::Window layout = LayOut(kCalculationWindow, 1);
  const auto of = [&](const char* name) { return layout.OfRow(kCalculationWindow.Find(name)); };
  EXPECT_LT(of("Label4").stacking, of("Text3").stacking);
  EXPECT_LT(of("Label2").stacking, of("Label3").stacking);
  std::size_t next = 0;
  for (const dosat::plan::Control& control : layout.controls) {
    if (control.kind == dosat::design::Kind::Label) {
      EXPECT_FALSE(control.tabStop);
      EXPECT_LT(control.stacking, of("Text1").stacking);
    } else {
      ASSERT_TRUE(control.tabStop);
      EXPECT_EQ(*control.tabStop, next++);
      EXPECT_EQ(control.stacking, of("Text1").stacking);
    }
  }
  EXPECT_EQ(next, 6u);
}

// Glyphs that grow faster than the screen: 7 pixels a byte at 96 dpi, 12 at 150 %.
class GrowingGlyphs final : public dosat::plan::TextMeasure {
 public:
  int Lines(std::string_view text, const dosat::fonts::Face&, int pixelHeight, int width) const override {
    const int perCharacter = pixelHeight <= 16 ? 7 : 12;
    const int characters = static_cast<int>(text.size());
    return std::max(1, (characters * perCharacter + width - 1) / std::max(1, width));
  }
};

// Label5 keeps its one line at 150 % by growing; where the platform does not measure, or
// at 1, it keeps its designed width; a label is never made more than twice as wide.
TEST(Plan, LabelsWidenToKeepTheirLinesWhereThePlatformMeasures) {
  const GrowingGlyphs measure;
  const std::size_t label5 = kCalculationWindow.Find("Label5");
  const int designed = LayOut(kCalculationWindow, 1.5).OfRow(label5).rect.width;
  const int widened = LayOut(kCalculationWindow, 1.5, &measure).OfRow(label5).rect.width;
  const int needed = static_cast<int>(kCalculationWindow.controls[label5].text.size()) * 12;
  EXPECT_EQ(widened, std::min(needed, 2 * designed));
  EXPECT_GT(widened, designed);
  EXPECT_EQ(LayOut(kCalculationWindow, 1, &measure).OfRow(label5).rect.width, LayOut(kCalculationWindow, 1).OfRow(label5).rect.width);
  EXPECT_EQ(LayOut(kCalculationWindow, 1.5, &measure).OfRow(kCalculationWindow.Find("Text1")).rect,
            LayOut(kCalculationWindow, 1.5).OfRow(kCalculationWindow.Find("Text1")).rect);
}

constexpr Desktop kLight{0xF0F0F0, 0x000000, 0xFFFFFF, 0x000000, Palette::Designed};
constexpr Desktop kDark{0x202020, 0xE8E8E8, 0x2B2B2B, 0xF0F0F0, Palette::Other};
constexpr Desktop kHighContrast{0x000000, 0xFFFFFF, 0x000000, 0x00FFFF, Palette::HighContrast};

TEST(Plan, TheWindowsOwnBackgroundAndTheTableOnEachPalette) {
  EXPECT_EQ(ColoursOn(kTableWindow, kLight).background, 0xFFFFFFu);
  EXPECT_EQ(ColoursOn(kTableWindow, kDark).background, 0xFFFFFFu);
  EXPECT_EQ(ColoursOn(kTableWindow, kHighContrast).background, 0x000000u);
  EXPECT_EQ(ColoursOn(kCalculationWindow, kDark).background, 0x202020u);
  EXPECT_EQ(ColoursOn(kTableWindow, kHighContrast).table, (dosat::contrast::TableColours{0x00FFFF, 0x000000}));
  EXPECT_EQ(ColoursOn(kTableWindow, kDark).table, dosat::contrast::TableColours{});
}

// A label's text is chosen against the window's own background, not the desktop's face:
// pale yellow on a white window darkens, though it would read on the dark face.
TEST(Plan, TextsReadOnTheWindowsOwnBackground) {
  static constexpr dosat::design::Control kRows[] = {
      {"Label1", dosat::design::Kind::Label, "x", 0, 0, 150, 150, 0, dosat::design::Font::Default, 0x00AAFFFF}};
  constexpr dosat::design::Window kWhite{"W", "", 300, 300, 0x00FFFFFF, kRows};
  const dosat::plan::Colours colours = ColoursOn(kWhite, kDark);
  EXPECT_GE(dosat::contrast::Ratio(colours.text[0].colour, 0xFFFFFF), dosat::contrast::kMinimum);
  EXPECT_TRUE(colours.text[0].own);
  EXPECT_FALSE(ColoursOn(kCalculationWindow, kDark).text[kCalculationWindow.Find("Label1")].own);
}

// The cells readers are given lie inside the rules as drawn, at 1 and at 2, and the
// headings' row ends where the first row begins.
TEST(Plan, TableCellsLieInsideTheirRules) {
  dosat::table::TableLayout layout;
  layout.clip = {10, 20, 300, 300};
  layout.columnRules = {10, 50, 90};
  layout.topRule = 20;
  layout.rowRules = {40, 60};
  EXPECT_EQ(dosat::table::CellRect(layout, -1, 0, 1), (dosat::table::PixelRect{1, 1, 39, 19}));
  EXPECT_EQ(dosat::table::CellRect(layout, 0, 1, 1), (dosat::table::PixelRect{41, 21, 39, 19}));
  EXPECT_EQ(dosat::table::CellRect(layout, 0, 1, 2), (dosat::table::PixelRect{81, 41, 79, 39}));
}

}  // namespace
