// The windows driven as a user types and presses: the boxes, the keys, the calculation,
// and the trip to the table and back.
#include "window_fixture.h"

namespace window_tests {
namespace {

TEST_F(Win32Windows, TextBoxesHaveNoLengthLimit) {
  for (const char* name : {"Text1", "Text2", "Text3"}) {
    EXPECT_GE(SendMessageW(Calc(name), EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE) << name;
  }
}

TEST_F(Win32Windows, FocusStartsInTemperatureAndTabVisitsInOrder) {
  SetForegroundWindow(calc_);
  Pump();
  EXPECT_EQ(GetFocus(), Calc("Text1"));
  for (const char* next : {"Text2", "Command1", "Command2", "Text3", "Command3", "Text1"}) {
    Keys({VK_TAB});
    EXPECT_EQ(GetFocus(), Calc(next)) << next;
  }
}

TEST_F(Win32Windows, EnterAndEscapePressNothing) {
  SetForegroundWindow(calc_);
  Type(Calc("Text1"), L"20");
  Type(Calc("Text2"), L"21000");
  for (const char* target : {"Text1", "Command1", "Command3"}) {
    SetFocus(Calc(target));
    Keys({VK_RETURN, VK_ESCAPE});
  }
  EXPECT_EQ(TextOf(Calc("Text3")), L"");
  EXPECT_EQ(TextOf(Calc("Text1")), L"20");
  EXPECT_TRUE(IsWindowVisible(calc_));
  EXPECT_EQ(Table(), nullptr);
}

struct Calculation {
  const wchar_t* temperature;
  const wchar_t* chloride;
  const wchar_t* shown;
};

class Win32Calculate : public Win32Windows, public ::testing::WithParamInterface<Calculation> {};

TEST_P(Win32Calculate, PressingCalculateShowsTheResult) {
  const Calculation& c = GetParam();
  Type(Calc("Text1"), c.temperature);
  Type(Calc("Text2"), c.chloride);
  Press(Calc("Command1"));
  EXPECT_EQ(TextOf(Calc("Text3")), c.shown);
  EXPECT_EQ(TextOf(Calc("Text1")), c.temperature);
}

// The environment pins a "." decimal separator for these rows. The edit controls' texts in
// and out; the calculation's own rows are the calculation's tests.
INSTANTIATE_TEST_SUITE_P(Rows, Win32Calculate,
                         ::testing::Values(Calculation{L"20", L"21000", L"7.01"},
                                           Calculation{L"35", L"100000", L"-.37"},
                                           Calculation{L"２０", L"２１０００", L"7.01"}));

// The user's own number settings, read when Calculate is pressed: here a comma
// for decimals and a point for groups, as in Germany, set as the Region settings
// set them.
class Win32DecimalComma : public Win32Windows {
 protected:
  void SetUp() override {
    decimal_ = get(LOCALE_SDECIMAL);
    thousand_ = get(LOCALE_STHOUSAND);
    ASSERT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, L","));
    ASSERT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, L"."));
    Win32Windows::SetUp();
  }
  void TearDown() override {
    Win32Windows::TearDown();
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, decimal_.c_str());
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, thousand_.c_str());
  }

 private:
  static std::wstring get(LCTYPE type) {
    wchar_t text[16] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, type, text, 16);
    return text;
  }

  std::wstring decimal_, thousand_;
};

TEST_F(Win32DecimalComma, ReadsAndWritesTheUsersSeparators) {
  const dosat::NumberLocale locale = platform_.UserNumberLocale();
  ASSERT_EQ(locale.decimal, U',') << "the user's decimal separator is not read";
  EXPECT_EQ(locale.group, U'.');
  Type(Calc("Text1"), L"20,5");
  Type(Calc("Text2"), L"0");
  Press(Calc("Command1"));
  EXPECT_EQ(TextOf(Calc("Text3")), L"8,76");
  // "21,000" is 21 here; "21.000" is twenty-one thousand.
  Type(Calc("Text1"), L"20");
  Type(Calc("Text2"), L"21.000");
  Press(Calc("Command1"));
  EXPECT_EQ(TextOf(Calc("Text3")), L"7,01");

  Warning warning;
  expectedWarning = &warning;
  Type(Calc("Text1"), L"20.5");
  SetTimer(nullptr, 0, 20, AnswerWarning);
  Press(Calc("Command1"));
  expectedWarning = nullptr;
  EXPECT_EQ(warning.text, L"水温を数値で入力してください。\n小数点は「,」です（例: 20,5）。");
  EXPECT_EQ(TextOf(Calc("Text1")), L"20.5");
}

TEST_F(Win32Windows, EmptyInputKeepsTheEarlierResultAndTypingDoesNotRecalculate) {
  Type(Calc("Text1"), L"20");
  Type(Calc("Text2"), L"21000");
  Press(Calc("Command1"));
  for (const auto& [t, c] : {std::pair{L"25", L""}, std::pair{L"", L"5000"}, std::pair{L"abc", L""}}) {
    Type(Calc("Text1"), t);
    Type(Calc("Text2"), c);
    Press(Calc("Command1"));
    EXPECT_EQ(TextOf(Calc("Text3")), L"7.01");
    EXPECT_EQ(TextOf(Calc("Text1")), t);
  }
  Type(Calc("Text1"), L"30");
  Type(Calc("Text2"), L"0");
  EXPECT_EQ(TextOf(Calc("Text3")), L"7.01");
  Type(Calc("Text3"), L"typed");
  Press(Calc("Command1"));
  EXPECT_EQ(TextOf(Calc("Text3")), L"7.53");
}

TEST_F(Win32Windows, ClearEmptiesAllBoxesAndKeepsTheFocus) {
  SetForegroundWindow(calc_);
  Type(Calc("Text1"), L"20");
  Type(Calc("Text2"), L"21000");
  Press(Calc("Command1"));
  SetFocus(Calc("Command2"));
  Keys({VK_SPACE});
  for (const char* box : {"Text1", "Text2", "Text3"}) EXPECT_EQ(TextOf(Calc(box)), L"") << box;
  EXPECT_EQ(GetFocus(), Calc("Command2"));
  EXPECT_EQ(program_->calculationWindow().fields().saturatedDo, 7.010275300427201);
}

struct BadInput {
  const wchar_t* temperature;
  const wchar_t* chloride;
  const wchar_t* message;
  const char* box;
};

class Win32BadInput : public Win32Windows, public ::testing::WithParamInterface<BadInput> {};

TEST_P(Win32BadInput, WarnsNamesTheBoxAndKeepsEverything) {
  const BadInput& bad = GetParam();
  SetForegroundWindow(calc_);
  Type(Calc("Text1"), L"20");
  Type(Calc("Text2"), L"0");
  Press(Calc("Command1"));
  Type(Calc("Text1"), bad.temperature);
  Type(Calc("Text2"), bad.chloride);

  Warning warning;
  expectedWarning = &warning;
  SetTimer(nullptr, 0, 20, AnswerWarning);
  Press(Calc("Command1"));
  expectedWarning = nullptr;

  EXPECT_EQ(warning.seen, 1);
  EXPECT_EQ(warning.caption, L"溶存酸素濃度");
  EXPECT_EQ(warning.text, bad.message);
  EXPECT_EQ(TextOf(Calc("Text1")), bad.temperature);
  EXPECT_EQ(TextOf(Calc("Text2")), bad.chloride);
  EXPECT_EQ(TextOf(Calc("Text3")), L"8.84");
  HWND box = Calc(bad.box);
  EXPECT_EQ(GetFocus(), box);
  DWORD start = 1, end = 0;
  SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, static_cast<DWORD>(GetWindowTextLengthW(box)));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Win32BadInput,
    ::testing::Values(
        BadInput{L"abc", L"0", L"水温を数値で入力してください。\n小数点は「.」です（例: 20.5）。", "Text1"},
        BadInput{L"20", L"海水", L"塩素イオン濃度を数値で入力してください。\n小数点は「.」です（例: 20.5）。",
                 "Text2"}));

TEST_F(Win32Windows, TableAndBackKeepTextsAndPositions) {
  Type(Calc("Text1"), L"20");
  Type(Calc("Text2"), L"21000");
  Press(Calc("Command1"));
  SetWindowPos(calc_, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  RECT calcAt;
  GetWindowRect(calc_, &calcAt);

  Press(Calc("Command3"));
  HWND table = Table();
  ASSERT_NE(table, nullptr);
  EXPECT_FALSE(IsWindowVisible(calc_));
  EXPECT_TRUE(IsWindowVisible(table));
  ExpectCentred(table);
  SetWindowPos(table, nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);

  Press(TableControl("Command1"));
  EXPECT_FALSE(IsWindowVisible(table));
  EXPECT_TRUE(IsWindowVisible(calc_));
  RECT now;
  GetWindowRect(calc_, &now);
  EXPECT_EQ(now.left, calcAt.left);
  EXPECT_EQ(now.top, calcAt.top);
  EXPECT_EQ(TextOf(Calc("Text1")), L"20");
  EXPECT_EQ(TextOf(Calc("Text2")), L"21000");
  EXPECT_EQ(TextOf(Calc("Text3")), L"7.01");

  // The table window is not made again: the same window, where it was.
  Press(Calc("Command3"));
  EXPECT_EQ(Table(), table);
  GetWindowRect(table, &now);
  EXPECT_EQ(now.left, 10);
  EXPECT_EQ(now.top, 20);
  EXPECT_TRUE(ends_.empty());
}

}  // namespace
}  // namespace window_tests
