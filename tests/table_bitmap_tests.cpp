// Checks the committed table picture: the exact BMP layout the table window reads, and
// that the drawing has a title, a ruled table of 36 filled rows and the source note where
// they belong.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 464;
constexpr int kHeight = 649;
constexpr std::size_t kFileSize = 903462;
constexpr std::size_t kPixelOffset = 54;

std::uint32_t le(const std::vector<unsigned char>& bytes, std::size_t at, int size) {
  std::uint32_t v = 0;
  for (int i = size - 1; i >= 0; --i) v = (v << 8) | bytes[at + i];
  return v;
}

const std::vector<unsigned char>& fileBytes() {
  static const std::vector<unsigned char> bytes = [] {
    std::ifstream in(DOSAT_TABLE_BMP, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
  }();
  return bytes;
}

/// Grey level at (x, y), y counted from the top; the file stores the bottom row first.
int level(int x, int y) {
  return fileBytes()[kPixelOffset + std::size_t(kHeight - 1 - y) * kWidth * 3 + std::size_t(x) * 3];
}

bool inkAt(int x, int y) { return level(x, y) < 255; }
bool darkAt(int x, int y) { return level(x, y) < 128; }

bool inkInRows(int top, int bottom, int left = 0, int right = kWidth - 1) {
  for (int y = top; y <= bottom; ++y)
    for (int x = left; x <= right; ++x)
      if (inkAt(x, y)) return true;
  return false;
}

/// Rows dark across at least nine tenths of the width: the table's long rules.
std::vector<int> longRules() {
  std::vector<int> rows;
  for (int y = 0; y < kHeight; ++y) {
    int dark = 0;
    for (int x = 0; x < kWidth; ++x) dark += darkAt(x, y);
    if (dark * 10 >= kWidth * 9) rows.push_back(y);
  }
  return rows;
}

/// Columns dark over at least four fifths of the rows between rows `top` and `bottom`.
std::vector<int> verticalRules(int top, int bottom) {
  std::vector<int> columns;
  for (int x = 0; x < kWidth; ++x) {
    int dark = 0;
    for (int y = top; y <= bottom; ++y) dark += darkAt(x, y);
    if (dark * 5 >= (bottom - top + 1) * 4) columns.push_back(x);
  }
  return columns;
}

struct Band {
  int top;
  int bottom;
};

/// Runs of rows with ink between columns `left` and `right`, skipping the long rules.
std::vector<Band> inkBands(int top, int bottom, int left, int right, const std::vector<int>& rules) {
  std::vector<Band> bands;
  bool open = false;
  for (int y = top; y <= bottom; ++y) {
    const bool rule = std::find(rules.begin(), rules.end(), y) != rules.end();
    const bool ink = !rule && inkInRows(y, y, left, right);
    if (ink && !open) bands.push_back({y, y});
    if (ink) bands.back().bottom = y;
    open = ink;
  }
  return bands;
}

// ---- The file ----

struct HeaderField {
  const char* name;
  std::size_t offset;
  int size;
  std::uint32_t value;
};

void PrintTo(const HeaderField& field, std::ostream* os) { *os << field.name; }

class BmpHeaderTest : public testing::TestWithParam<HeaderField> {};

TEST_P(BmpHeaderTest, HoldsThisValue) {
  ASSERT_EQ(fileBytes().size(), kFileSize) << DOSAT_TABLE_BMP;
  const HeaderField field = GetParam();
  EXPECT_EQ(le(fileBytes(), field.offset, field.size), field.value);
}

INSTANTIATE_TEST_SUITE_P(Fields, BmpHeaderTest,
                         testing::Values(HeaderField{"magic BM", 0, 2, 0x4d42},
                                         HeaderField{"file size", 2, 4, kFileSize},
                                         HeaderField{"reserved", 6, 4, 0},
                                         HeaderField{"pixel offset", 10, 4, kPixelOffset},
                                         HeaderField{"info size", 14, 4, 40},
                                         HeaderField{"width", 18, 4, kWidth},
                                         HeaderField{"height, bottom-up", 22, 4, kHeight},
                                         HeaderField{"planes", 26, 2, 1},
                                         HeaderField{"bits per pixel", 28, 2, 24},
                                         HeaderField{"compression", 30, 4, 0},
                                         HeaderField{"image size", 34, 4, kWidth * kHeight * 3},
                                         HeaderField{"x pixels per metre", 38, 4, 2851},
                                         HeaderField{"y pixels per metre", 42, 4, 2851},
                                         HeaderField{"colours used", 46, 4, 0},
                                         HeaderField{"important colours", 50, 4, 0}));

TEST(TableBitmap, EveryPixelIsGrey) {
  const auto& bytes = fileBytes();
  ASSERT_EQ(bytes.size(), kFileSize);
  for (std::size_t i = kPixelOffset; i < bytes.size(); i += 3) {
    ASSERT_TRUE(bytes[i] == bytes[i + 1] && bytes[i] == bytes[i + 2]) << "byte " << i;
  }
}

// ---- The drawing ----

class TableBitmapDrawing : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(fileBytes().size(), kFileSize); }
};

TEST_F(TableBitmapDrawing, TitleStandsCentredAboveTheTable) {
  const auto rules = longRules();
  ASSERT_FALSE(rules.empty());
  const int tableTop = rules.front();
  EXPECT_GE(tableTop, 20);
  EXPECT_LE(tableTop, 60);
  int left = kWidth, right = -1;
  for (int y = 0; y < tableTop; ++y)
    for (int x = 0; x < kWidth; ++x)
      if (inkAt(x, y)) left = std::min(left, x), right = std::max(right, x);
  ASSERT_GE(right, 0) << "no title";
  EXPECT_NEAR((left + right) / 2, kWidth / 2, 4);
  EXPECT_GT(right - left, kWidth / 3);
}

TEST_F(TableBitmapDrawing, HasSevenColumnsOf36FilledRowsUnderAHeading) {
  const auto rules = longRules();
  ASSERT_GE(rules.size(), 2u);
  const int top = rules.front(), bottom = rules.back();
  const auto columns = verticalRules(top, bottom);
  ASSERT_EQ(columns.size(), 8u) << "the frame and six rules between seven columns";

  const auto bands = inkBands(top + 1, bottom - 1, columns[0] + 1, columns[1] - 1, rules);
  ASSERT_GT(bands.size(), 36u) << "a heading and 36 temperatures";
  const std::vector<Band> rows(bands.end() - 36, bands.end());
  const Band heading = bands[bands.size() - 37];
  EXPECT_TRUE(std::any_of(rules.begin(), rules.end(),
                          [&](int y) { return y > heading.bottom && y < rows.front().top; }))
      << "a rule between the heading and 0 °C";

  for (std::size_t r = 0; r < rows.size(); ++r) {
    SCOPED_TRACE("row " + std::to_string(r));
    // Digits smaller than this are not legible at 100 %.
    EXPECT_GE(rows[r].bottom - rows[r].top + 1, 7);
    if (r > 0) {
      EXPECT_NEAR(rows[r].top - rows[r - 1].top, rows[1].top - rows[0].top, 1);
    }
    for (std::size_t c = 0; c + 1 < columns.size(); ++c) {
      EXPECT_TRUE(inkInRows(rows[r].top, rows[r].bottom, columns[c] + 1, columns[c + 1] - 1))
          << "empty cell in column " << c;
    }
  }
}

struct RowRange {
  const char* what;
  int top;
  int bottom;
  bool ink;
};

void PrintTo(const RowRange& range, std::ostream* os) { *os << range.what; }

class BelowTheTableTest : public testing::TestWithParam<RowRange> {};

TEST_P(BelowTheTableTest, HasInkOnlyWhereTheNoteIs) {
  ASSERT_EQ(fileBytes().size(), kFileSize);
  const RowRange range = GetParam();
  EXPECT_EQ(inkInRows(range.top, range.bottom), range.ink);
}

INSTANTIATE_TEST_SUITE_P(Rows, BelowTheTableTest,
                         testing::Values(RowRange{"gap under the table", 626, 630, false},
                                         RowRange{"source note", 631, 637, true},
                                         RowRange{"margin under the note", 638, kHeight - 1, false}));

TEST_F(TableBitmapDrawing, EndsWithItsBottomRuleAtRow625) {
  const auto rules = longRules();
  ASSERT_FALSE(rules.empty());
  EXPECT_EQ(rules.back(), 625);
}

}  // namespace
