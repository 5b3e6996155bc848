#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iomanip>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "dosat/calculate.h"
#include "dosat/numbertext.h"
#include "dosat/saturation.h"

namespace {

using dosat::CalcInput;
using dosat::CalcStatus;
using dosat::NumberLocale;
using dosat::ReadStatus;

constexpr NumberLocale kDot{U'.', U','};
constexpr NumberLocale kComma{U',', U'.'};

// ---- The saturation model, bit for bit ----

struct ModelRow {
  double t;
  double fn1;
  double fn2;
};

void PrintTo(const ModelRow& row, std::ostream* os) { *os << row.t; }

class ModelTest : public testing::TestWithParam<ModelRow> {};

TEST_P(ModelTest, GivesTheseExactDoubles) {
  const ModelRow row = GetParam();
  double dot = 0, dzep = 0;
  const double t = row.t;
  dosat::FN1(dot, t);
  dosat::FN2(dzep, t);
  EXPECT_EQ(dot, row.fn1);
  EXPECT_EQ(dzep, row.fn2);
  EXPECT_EQ(t, row.t);
}

INSTANTIATE_TEST_SUITE_P(Temperatures, ModelTest,
                         testing::Values(ModelRow{0, 14.1545702, 0.0152866968},
                                         ModelRow{20, 8.842845400000002, 0.008726524283679999},
                                         ModelRow{35, 7.040616062500002, 0.007408561567847501},
                                         ModelRow{100, -12.490517799999985, 0.03955548746}));

// ---- The model against the printed table ----

struct TableRow {
  int t;
  std::string cl0;     // "14.15"
  std::string per100;  // "0.0153"
};

// Reads the digits of a fixed-point text as an integer number of last-digit units.
long Units(const std::string& text) {
  std::string digits;
  for (char c : text) {
    if (c != '.') digits += c;
  }
  return std::stol(digits);
}

std::vector<TableRow> ReadTable() {
  std::ifstream in(DOSAT_TABLE_CSV);
  std::vector<TableRow> rows;
  std::string line;
  std::getline(in, line);  // header
  while (std::getline(in, line)) {
    std::vector<std::string> cells;
    std::stringstream fields(line);
    for (std::string cell; std::getline(fields, cell, ',');) cells.push_back(cell);
    if (cells.size() == 7) rows.push_back({std::stoi(cells[0]), cells[1], cells[6]});
  }
  return rows;
}

TEST(ModelAgainstTable, MatchesEveryRowWithinOneUnitAndExactlyButForFourCells) {
  const std::vector<TableRow> rows = ReadTable();
  ASSERT_EQ(rows.size(), 36u);
  for (const TableRow& row : rows) {
    SCOPED_TRACE(row.t);
    double dot = 0, dzep = 0;
    const double t = row.t;
    dosat::FN1(dot, t);
    dosat::FN2(dzep, t);
    const long fn1Units = std::lround(dot * 100);
    const long fn2Units = std::lround(dzep * 10000);
    const bool fn1Differs = row.t == 8 || row.t == 18 || row.t == 32;
    const bool fn2Differs = row.t == 21;
    EXPECT_EQ(std::labs(fn1Units - Units(row.cl0)), fn1Differs ? 1 : 0);
    EXPECT_EQ(std::labs(fn2Units - Units(row.per100)), fn2Differs ? 1 : 0);
  }
}

// ---- The calculation, from texts to the result text ----

struct CalcRow {
  const char* temperature;
  const char* chloride;
  const char* text;
};

void PrintTo(const CalcRow& row, std::ostream* os) {
  *os << '"' << row.temperature << "\", \"" << row.chloride << '"';
}

class CalculateShows : public testing::TestWithParam<CalcRow> {};

TEST_P(CalculateShows, TheResultText) {
  const CalcRow row = GetParam();
  const dosat::CalcOutcome outcome = dosat::Calculate(row.temperature, row.chloride, kDot);
  EXPECT_EQ(outcome.status, CalcStatus::Shown);
  EXPECT_EQ(outcome.text, row.text);
}

INSTANTIATE_TEST_SUITE_P(Examples, CalculateShows,
                         testing::Values(CalcRow{"0", "0", "14.15"}, CalcRow{"20", "0", "8.84"},
                                         CalcRow{"20", "21000", "7.01"},
                                         CalcRow{"35", "20000", "5.56"},
                                         CalcRow{"35", "100000", "-.37"},
                                         CalcRow{"35", "95000", ".00"},
                                         CalcRow{"100", "0", "-12.49"},
                                         CalcRow{"20.5", "0", "8.76"},
                                         CalcRow{"-5", "0", "16.32"},
                                         CalcRow{"２０", "２１，０００", "7.01"},
                                         CalcRow{" 20\t", "　21000　", "7.01"},
                                         CalcRow{"2e1", "2.1e4", "7.01"}));

TEST(Calculate, KeepsTheNumbersBehindTheResult) {
  const dosat::CalcOutcome outcome = dosat::Calculate("20", "21000", kDot);
  ASSERT_EQ(outcome.status, CalcStatus::Shown);
  EXPECT_EQ(outcome.fields.temperature, 20.0);
  EXPECT_EQ(outcome.fields.chlorideFactor, 210.0);
  EXPECT_EQ(outcome.fields.dot, 8.842845400000002);
  EXPECT_EQ(outcome.fields.dzep, 0.008726524283679999);
  EXPECT_EQ(outcome.fields.saturatedDo, 7.010275300427201);
}

TEST(Calculate, UsesTheLocalesDecimalSeparatorBothWays) {
  EXPECT_EQ(dosat::Calculate("20,0", "21.000", kComma).text, "7,01");
  EXPECT_EQ(dosat::Calculate("35", "100000", kComma).text, "-,37");
  EXPECT_EQ(dosat::Calculate("20,0", "0", kDot).status, CalcStatus::NotANumber);
}

struct FailRow {
  const char* temperature;
  const char* chloride;
  CalcStatus status;
  CalcInput input;
};

void PrintTo(const FailRow& row, std::ostream* os) {
  *os << '"' << row.temperature << "\", \"" << row.chloride << '"';
}

class CalculateFails : public testing::TestWithParam<FailRow> {};

TEST_P(CalculateFails, WithoutAResultText) {
  const FailRow row = GetParam();
  const dosat::CalcOutcome outcome = dosat::Calculate(row.temperature, row.chloride, kDot);
  EXPECT_EQ(outcome.status, row.status);
  EXPECT_EQ(outcome.input, row.input);
  EXPECT_EQ(outcome.text, "");
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, CalculateFails,
    testing::Values(
        // Only the empty text is empty, and it wins over a bad other text.
        FailRow{"", "21000", CalcStatus::NoResult, CalcInput::None},
        FailRow{"20", "", CalcStatus::NoResult, CalcInput::None},
        FailRow{"", "", CalcStatus::NoResult, CalcInput::None},
        FailRow{"abc", "", CalcStatus::NoResult, CalcInput::None},
        FailRow{" ", "0", CalcStatus::NotANumber, CalcInput::Temperature},
        FailRow{"20℃", "0", CalcStatus::NotANumber, CalcInput::Temperature},
        FailRow{"20", "海水", CalcStatus::NotANumber, CalcInput::Chloride},
        FailRow{"x", "y", CalcStatus::NotANumber, CalcInput::Temperature},
        FailRow{"1e400", "0", CalcStatus::Overflow, CalcInput::Temperature},
        FailRow{"20", "-1e309", CalcStatus::Overflow, CalcInput::Chloride},
        // The cube of 1e103 leaves the double range.
        FailRow{"1e103", "0", CalcStatus::Overflow, CalcInput::Temperature},
        // Finite polynomials, but their drop times 1e298 does not fit.
        FailRow{"1e100", "1e300", CalcStatus::Overflow, CalcInput::Chloride}));

// ---- The pattern "###.00" ----

struct FormatRow {
  double value;
  const char* text;
};

void PrintTo(const FormatRow& row, std::ostream* os) {
  *os << std::setprecision(17) << row.value;
}

class FormatResultTest : public testing::TestWithParam<FormatRow> {};

TEST_P(FormatResultTest, Writes) {
  EXPECT_EQ(dosat::FormatResult(GetParam().value, kDot), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Pattern, FormatResultTest,
    testing::Values(FormatRow{14.1545702, "14.15"}, FormatRow{8.842845400000002, "8.84"},
                    FormatRow{0.4567, ".46"}, FormatRow{0.0, ".00"}, FormatRow{-0.0, ".00"},
                    FormatRow{1234.5, "1234.50"}, FormatRow{-0.3679455053474996, "-.37"},
                    FormatRow{-12.490517799999985, "-12.49"},
                    // Halves go away from zero, judged on 15 significant digits.
                    FormatRow{14.155, "14.16"}, FormatRow{-14.155, "-14.16"},
                    FormatRow{0.005, ".01"}, FormatRow{0.125, ".13"},
                    FormatRow{0.0049999, ".00"}, FormatRow{9.995, "10.00"},
                    FormatRow{99.999, "100.00"}, FormatRow{0.999, "1.00"},
                    // A negative value that rounds to zero has no sign.
                    FormatRow{-0.004, ".00"}, FormatRow{-0.005, "-.01"},
                    FormatRow{4.9e-324, ".00"}, FormatRow{0.0009, ".00"},
                    // Beyond 15 digits the decimal form carries zeros.
                    FormatRow{123456789012345.67, "123456789012346.00"},
                    FormatRow{1e20, "100000000000000000000.00"},
                    FormatRow{-1e16, "-10000000000000000.00"}));

TEST(FormatResult, GivesNoTextForAValueWithoutOne) {
  EXPECT_EQ(dosat::FormatResult(HUGE_VAL, kDot), "");
  EXPECT_EQ(dosat::FormatResult(-HUGE_VAL, kDot), "");
  EXPECT_EQ(dosat::FormatResult(std::nan(""), kDot), "");
}

TEST(FormatResult, WritesTheLocalesSeparatorWhateverItsWidth) {
  EXPECT_EQ(dosat::FormatResult(14.1545702, kComma), "14,15");
  EXPECT_EQ(dosat::FormatResult(0.5, NumberLocale{U'\u066B', U'\u066C'}), "\u066B50");
  EXPECT_EQ(dosat::FormatResult(1e308, kDot).size(), 309u + 3u);
}

// ---- Reading numbers ----

struct ReadRow {
  const char* text;
  NumberLocale locale;
  double value;
};

void PrintTo(const ReadRow& row, std::ostream* os) {
  *os << '"' << row.text << '"' << (row.locale.decimal == U',' ? " decimal comma" : "");
}

class ReadsNumber : public testing::TestWithParam<ReadRow> {};

TEST_P(ReadsNumber, AsThisDouble) {
  const ReadRow row = GetParam();
  const dosat::ReadResult result = dosat::ReadNumber(row.text, row.locale);
  ASSERT_EQ(result.status, ReadStatus::Number) << row.text;
  EXPECT_EQ(result.value, row.value) << row.text;
  EXPECT_EQ(std::signbit(result.value), std::signbit(row.value)) << row.text;
}

INSTANTIATE_TEST_SUITE_P(
    AcceptedForms, ReadsNumber,
    testing::Values(
        ReadRow{"20", kDot, 20}, ReadRow{"20.5", kDot, 20.5}, ReadRow{"-5", kDot, -5},
        ReadRow{"+5", kDot, 5}, ReadRow{".5", kDot, 0.5}, ReadRow{"5.", kDot, 5},
        ReadRow{"-0", kDot, -0.0}, ReadRow{"007", kDot, 7}, ReadRow{"0.1", kDot, 0.1},
        ReadRow{"  20  ", kDot, 20}, ReadRow{"\t20", kDot, 20}, ReadRow{"\u300020\u3000", kDot, 20},
        ReadRow{"２０", kDot, 20}, ReadRow{"－５", kDot, -5}, ReadRow{"\u22125", kDot, -5},
        ReadRow{"＋１．５", kDot, 1.5}, ReadRow{"２１，０００", kDot, 21000},
        ReadRow{"21,000", kDot, 21000}, ReadRow{"1,234,567.5", kDot, 1234567.5},
        ReadRow{"2.1e4", kDot, 21000}, ReadRow{"2.1E-1", kDot, 0.21}, ReadRow{"1e+2", kDot, 100},
        ReadRow{"1,000e3", kDot, 1e6}, ReadRow{"1e-400", kDot, 0.0}, ReadRow{"-1e-400", kDot, -0.0},
        ReadRow{"1.7976931348623157e308", kDot, 1.7976931348623157e308},
        ReadRow{"20,5", kComma, 20.5}, ReadRow{"21.000", kComma, 21000},
        ReadRow{"0,500", kComma, 0.5},
        ReadRow{"２１．０００，５", kComma, 21000.5}, ReadRow{"-1.000.000", kComma, -1e6},
        ReadRow{"2,1e4", kComma, 21000},
        ReadRow{"21\u00A0000,5", NumberLocale{U',', U'\u00A0'}, 21000.5},
        ReadRow{"21 000,5 ", NumberLocale{U',', U'\u202F'}, 21000.5},
        ReadRow{"\u30001 234 567\u3000", NumberLocale{U',', U'\u00A0'}, 1234567}));

class RejectsText : public testing::TestWithParam<const char*> {};

TEST_P(RejectsText, AsNotANumber) {
  EXPECT_EQ(dosat::ReadNumber(GetParam(), kDot).status, ReadStatus::NotANumber) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(
    BadTexts, RejectsText,
    testing::Values("", " ", "\u3000", "\t", "abc", "20℃", "20 mg/L", "inf", "-inf", "nan",
                    "NaN", "0x10", "1..2", "1.2.3", "+", "-", ".", "e5", "1e", "1e+", "1e5.5",
                    "- 5", "5 5", "++5", "+-5", "１ ２", "2,10", "1,2345", ",100", "1,000,",
                    "1000,000", "1,00,000", "1,000.5,0", ".5,000", "1 000", "20,5", "５％",
                    // A first group starting with 0 is no grouped number.
                    "0,500", "00,100", "-0,500", "０，５００", "0,000,000",
                    "\xff", "2\xc0\xb0", "\xe2\x88"));

TEST(ReadNumber, TakesASpaceForTheGroupSeparatorOnlyWhereTheLocaleGroupsWithOne) {
  constexpr NumberLocale kFrench{U',', U'\u202F'};
  EXPECT_EQ(dosat::ReadNumber("21 00", kFrench).status, ReadStatus::NotANumber);
  EXPECT_EQ(dosat::ReadNumber("21  000", kFrench).status, ReadStatus::NotANumber);
  EXPECT_EQ(dosat::ReadNumber("21\u3000000", kFrench).status, ReadStatus::NotANumber);
  EXPECT_EQ(dosat::ReadNumber("21 000", kDot).status, ReadStatus::NotANumber);
}

TEST(ReadNumber, ReportsNumbersBeyondTheDoubleRange) {
  EXPECT_EQ(dosat::ReadNumber("1e309", kDot).status, ReadStatus::OutOfRange);
  EXPECT_EQ(dosat::ReadNumber("-1.8e308", kDot).status, ReadStatus::OutOfRange);
  EXPECT_EQ(dosat::ReadNumber("1e99999999999999999999", kDot).status, ReadStatus::OutOfRange);
  EXPECT_EQ(dosat::ReadNumber(std::string(400, '9'), kDot).status, ReadStatus::OutOfRange);
}

TEST(ReadNumber, ReadsVeryLongTextsExactly) {
  // 0.000…0001 × 10^(zeros+1) is 0.1 whatever the number of zeros.
  const std::string zeros(1'000'000, '0');
  const dosat::ReadResult tenth = dosat::ReadNumber("0." + zeros + "1e1000000", kDot);
  EXPECT_EQ(tenth.status, ReadStatus::Number);
  EXPECT_EQ(tenth.value, 0.1);

  // 1 + 2^-53 lies exactly between two doubles and rounds to even; any digit
  // after it, however far, tips it up.
  const std::string half = "1.00000000000000011102230246251565404236316680908203125";
  EXPECT_EQ(dosat::ReadNumber(half, kDot).value, 1.0);
  EXPECT_EQ(dosat::ReadNumber(half + zeros + "1", kDot).value, 1.0 + 0x1p-52);
  EXPECT_EQ(dosat::ReadNumber(half + zeros, kDot).value, 1.0);

  EXPECT_EQ(dosat::ReadNumber(std::string(1'000'000, 'a'), kDot).status, ReadStatus::NotANumber);
  EXPECT_EQ(dosat::ReadNumber(std::string(1'000'000, ' '), kDot).status, ReadStatus::NotANumber);
}

}  // namespace
