#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>

#include "colour.h"
#include "contrast.h"
#include "design.h"

namespace {

using dosat::contrast::kMinimum;
using dosat::contrast::Palette;
using dosat::contrast::Ratio;
using dosat::contrast::Readable;
using dosat::contrast::TextColour;

constexpr std::uint32_t Bgr(int r, int g, int b) {
  return dosat::colour::ToBgr({static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(b)});
}

// The designs' colours have red in the low byte, as Win32's do; the top byte is dropped.
static_assert(dosat::colour::ToBgr({0x12, 0x34, 0x56}) == 0x563412);
static_assert(dosat::colour::FromBgr(0xFF563412) == dosat::colour::Rgb{0x12, 0x34, 0x56});

constexpr std::uint32_t kGreen = Bgr(0, 0x80, 0);      // the range labels
constexpr std::uint32_t kMagenta = Bgr(0xFF, 0, 0xFF);  // the result

TEST(Contrast, RatiosByTheWcagFormula) {
  EXPECT_DOUBLE_EQ(Ratio(0x000000, 0xFFFFFF), 21.0);
  EXPECT_DOUBLE_EQ(Ratio(0xFFFFFF, 0x000000), 21.0);
  EXPECT_DOUBLE_EQ(Ratio(kGreen, kGreen), 1.0);
  // The designed look sits just under the floor, and stays there.
  EXPECT_NEAR(Ratio(kGreen, Bgr(0xEF, 0xEF, 0xEF)), 4.47, 0.005);
  // What a dark GTK theme gives the range labels.
  EXPECT_NEAR(Ratio(kGreen, Bgr(0x35, 0x35, 0x35)), 2.39, 0.005);
}

struct ReadableRow {
  const char* name;
  std::uint32_t colour, background;
};

void PrintTo(const ReadableRow& row, std::ostream* os) { *os << row.name; }

int Channel(std::uint32_t c, int i) { return static_cast<int>((c >> (8 * i)) & 0xFF); }

class ReadableTest : public testing::TestWithParam<ReadableRow> {};

// Reaches the floor, keeps the hue (the order and the ratios of the channels
// that are not the smallest), and moves no further than needed: the colour
// one step back towards the original is below the floor.
TEST_P(ReadableTest, NearestColourOfTheSameHueThatReads) {
  const ReadableRow row = GetParam();
  const std::uint32_t got = Readable(row.colour, row.background);
  EXPECT_GE(Ratio(got, row.background), kMinimum);
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      if (Channel(row.colour, i) > Channel(row.colour, j)) {
        EXPECT_GE(Channel(got, i), Channel(got, j)) << "channels " << i << ", " << j;
      }
    }
  }
  const bool lighter = dosat::contrast::Luminance(got) > dosat::contrast::Luminance(row.colour);
  std::uint32_t back = got;
  for (int i = 0; i < 3; ++i) {
    const int c = Channel(got, i), original = Channel(row.colour, i);
    const int stepped = c == original ? c : lighter ? c - 2 : c + 2;
    back = (back & ~(0xFFu << (8 * i))) | static_cast<std::uint32_t>(stepped) << (8 * i);
  }
  if (back != got) EXPECT_LT(Ratio(back, row.background), kMinimum) << std::hex << got;
}

INSTANTIATE_TEST_SUITE_P(
    Palettes, ReadableTest,
    testing::Values(ReadableRow{"green on a dark window", kGreen, Bgr(0x35, 0x35, 0x35)},
                    ReadableRow{"magenta on a dark box", kMagenta, Bgr(0x2D, 0x2D, 0x2D)},
                    ReadableRow{"magenta on black", kMagenta, 0x000000},
                    ReadableRow{"green on a mid grey", kGreen, Bgr(0x80, 0x80, 0x80)},
                    ReadableRow{"magenta on light grey", kMagenta, Bgr(0xEF, 0xEF, 0xEF)},
                    ReadableRow{"green on white", kGreen, 0xFFFFFF}));

TEST(Contrast, AColourThatReadsIsKept) {
  EXPECT_EQ(Readable(kGreen, 0xFFFFFF), kGreen);
  EXPECT_EQ(Readable(0xFFFFFF, 0x000000), 0xFFFFFFu);
  // Grey has no hue to keep: it goes to black or white, whichever is nearer.
  const std::uint32_t grey = Bgr(0x90, 0x90, 0x90);
  EXPECT_GE(Ratio(Readable(grey, grey), grey), kMinimum);
}

TEST(Contrast, TextColourByPalette) {
  const std::uint32_t light = Bgr(0xEF, 0xEF, 0xEF), dark = Bgr(0x35, 0x35, 0x35);
  const std::uint32_t systemText = Bgr(0xEE, 0xEE, 0xEC);
  EXPECT_EQ(TextColour(kGreen, light, 0, Palette::Designed), kGreen);
  EXPECT_EQ(TextColour(kGreen, dark, systemText, Palette::Designed), kGreen);
  EXPECT_NE(TextColour(kGreen, light, 0, Palette::Other), kGreen) << "4.47 is under the floor";
  EXPECT_EQ(TextColour(kGreen, dark, systemText, Palette::Other), Readable(kGreen, dark));
  EXPECT_EQ(TextColour(kGreen, dark, systemText, Palette::HighContrast), systemText);
  EXPECT_EQ(TextColour(dosat::design::kDefaultColour, dark, systemText, Palette::Other), systemText);
}

// A window's own background and the table's ink and paper: as designed (white, black on
// white) on every palette the platform does not report as high contrast, the theme's
// field colours on one it does.
TEST(Contrast, WindowBackgroundAndTableColoursByPalette) {
  const std::uint32_t face = Bgr(0x20, 0x20, 0x20), field = Bgr(0, 0, 0), fieldText = Bgr(0xFF, 0xFF, 0);
  const std::uint32_t white = 0xFFFFFF;
  for (const Palette palette : {Palette::Designed, Palette::Other, Palette::HighContrast}) {
    const bool high = palette == Palette::HighContrast;
    EXPECT_EQ(dosat::contrast::WindowBackground(white, face, field, palette), high ? field : white);
    EXPECT_EQ(dosat::contrast::WindowBackground(dosat::design::kDefaultColour, face, field, palette), face);
    const dosat::contrast::Desktop desktop{face, fieldText, field, fieldText, palette};
    const dosat::contrast::TableColours table = dosat::contrast::TableColoursOn(desktop);
    const dosat::contrast::TableColours expected = high ? dosat::contrast::TableColours{fieldText, field}
                                                        : dosat::contrast::TableColours{0, white};
    EXPECT_EQ(table, expected);
  }
}

}  // namespace
