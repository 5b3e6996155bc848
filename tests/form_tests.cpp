// The two windows' handlers, written once for every platform, against a platform that
// only records: the calculation window's buttons, what it says when a text is not a
// number, what screen readers hear of a new result, and the trips between the windows.
// Each platform's own tests then need only show that it carries these out.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "accessibility.h"
#include "design.h"
#include "dodata.h"
#include "program.h"
#include "zepalt.h"

namespace {

struct Recorded {
  std::vector<std::string> announced;  // the announcements, "name value"
  std::vector<std::string> warnings;
  std::string focused;                 // "CLASS.Control", selected or not
  std::function<void()> closeWarning;
};

class RecordingWindow final : public dosat::NativeWindow {
 public:
  RecordingWindow(const dosat::design::Window& design, Recorded& recorded) : design_(design), recorded_(recorded) {}

  void Show() override { visible_ = true; }
  void Hide() override { visible_ = false; }
  bool IsVisible() const override { return visible_; }
  void Move(float, float) override {}
  float OuterLeft() const override { return 0; }
  float OuterTop() const override { return 0; }
  float OuterWidth() const override { return float(design_.clientWidth); }
  float OuterHeight() const override { return float(design_.clientHeight); }
  float ClientWidth() const override { return float(design_.clientWidth); }
  float ClientHeight() const override { return float(design_.clientHeight); }
  dosat::placement::Margins FrameMargins() const override { return {}; }
  void SetScale(float) override {}
  std::string Text(std::size_t control) const override {
    const auto found = texts_.find(control);
    return found == texts_.end() ? std::string(design_.controls[control].text) : found->second;
  }
  void SetText(std::size_t control, std::string_view text) override { texts_[control] = text; }
  void Focus(std::size_t control, bool selectAll) override {
    recorded_.focused = std::string(design_.className) + "." + std::string(design_.controls[control].name) +
                        (selectAll ? " selected" : "");
  }
  void AnnounceValue(std::size_t control) override {
    recorded_.announced.push_back(dosat::accessibility::Announcement(design_, control, Text(control)));
  }
  void ShowWarning(std::string_view, std::string_view text, std::function<void()> closed) override {
    recorded_.warnings.emplace_back(text);
    recorded_.closeWarning = std::move(closed);
  }

 private:
  const dosat::design::Window& design_;
  Recorded& recorded_;
  bool visible_ = false;
  std::map<std::size_t, std::string> texts_;
};

class RecordingPlatform final : public dosat::Platform {
 public:
  std::unique_ptr<dosat::NativeWindow> MakeWindow(const dosat::design::Window& design,
                                                  dosat::WindowEvents& events) override {
    events_[design.className] = &events;
    return std::make_unique<RecordingWindow>(design, recorded);
  }
  dosat::placement::Monitor PrimaryMonitor() const override { return {{0, 0, 28800, 16200}, {0, 0, 28800, 15600}}; }
  dosat::placement::Monitor MonitorAt(float, float) const override { return PrimaryMonitor(); }
  dosat::NumberLocale UserNumberLocale() const override { return locale; }
  void Quit(int) override {}

  /// What the window of class `className` hears from its platform.
  dosat::WindowEvents& Events(std::string_view className) { return *events_.at(className); }

  Recorded recorded;
  dosat::NumberLocale locale;

 private:
  std::map<std::string_view, dosat::WindowEvents*> events_;
};

class Forms : public testing::Test {
 protected:
  void SetUp() override { program_.Start(); }

  dosat::ZEPALT& calc() { return program_.calculationWindow(); }
  void Press(std::string_view className, std::string_view control) {
    const auto& design = className == "ZEPALT" ? dosat::design::kCalculationWindow : dosat::design::kTableWindow;
    platform_.Events(className).Clicked(design.Find(control));
  }
  void Calculate(const char* temperature, const char* chloride) {
    calc().Text1.SetText(temperature);
    calc().Text2.SetText(chloride);
    Press("ZEPALT", "Command1");
  }

  RecordingPlatform platform_;
  int ends_ = 0;
  dosat::Program program_{platform_, [this](int) { ++ends_; }};
};

TEST_F(Forms, ANewResultIsShownAndAnnouncedUnderItsBoxsName) {
  Calculate("20", "21000");
  EXPECT_EQ(calc().Text3.Text(), "7.01");
  EXPECT_EQ(platform_.recorded.announced, (std::vector<std::string>{"飽和溶存酸素濃度(mg/L) 7.01"}));
}

// With a box empty there is no result: the earlier one stays, and nothing is said.
TEST_F(Forms, AnEmptyBoxKeepsTheEarlierResult) {
  Calculate("20", "21000");
  Calculate("30", "");
  EXPECT_EQ(calc().Text3.Text(), "7.01");
  EXPECT_EQ(platform_.recorded.announced.size(), 1u);
  EXPECT_TRUE(platform_.recorded.warnings.empty());
}

TEST_F(Forms, ClearEmptiesAllThreeBoxes) {
  Calculate("20", "21000");
  Press("ZEPALT", "Command2");
  EXPECT_EQ(calc().Text1.Text() + calc().Text2.Text() + calc().Text3.Text(), "");
}

struct BadRow {
  const char* temperature;
  const char* chloride;
  char32_t decimal;
  const char* message;
  const char* focus;
};

class BadInput : public Forms, public testing::WithParamInterface<BadRow> {};

// The box to correct is named, nothing changes, and the focus goes back into that box,
// its text selected, once the message is closed.
TEST_P(BadInput, NamesTheBoxChangesNothingAndGoesBackToIt) {
  const BadRow& row = GetParam();
  platform_.locale.decimal = row.decimal;
  calc().Text3.SetText("7.01");
  Calculate(row.temperature, row.chloride);
  EXPECT_EQ(platform_.recorded.warnings, (std::vector<std::string>{row.message}));
  EXPECT_EQ(calc().Text1.Text(), row.temperature);
  EXPECT_EQ(calc().Text2.Text(), row.chloride);
  EXPECT_EQ(calc().Text3.Text(), "7.01");
  ASSERT_TRUE(platform_.recorded.closeWarning);
  platform_.recorded.closeWarning();
  EXPECT_EQ(platform_.recorded.focused, row.focus);
  EXPECT_TRUE(platform_.recorded.announced.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BadInput,
    testing::Values(
        BadRow{"abc", "21000", U'.', "水温を数値で入力してください。\n小数点は「.」です（例: 20.5）。", "ZEPALT.Text1 selected"},
        BadRow{"20", "2x", U'.', "塩素イオン濃度を数値で入力してください。\n小数点は「.」です（例: 20.5）。",
               "ZEPALT.Text2 selected"},
        BadRow{"20.5", "0", U',', "水温を数値で入力してください。\n小数点は「,」です（例: 20,5）。", "ZEPALT.Text1 selected"},
        BadRow{"20℃", "0", U'.', "水温を数値で入力してください。\n小数点は「.」です（例: 20.5）。", "ZEPALT.Text1 selected"},
        BadRow{"   ", "0", U'.', "水温を数値で入力してください。\n小数点は「.」です（例: 20.5）。", "ZEPALT.Text1 selected"},
        BadRow{"x", "y", U'.', "水温を数値で入力してください。\n小数点は「.」です（例: 20.5）。", "ZEPALT.Text1 selected"},
        BadRow{"1e400", "0", U'.', "水温の値が大きすぎて計算できません。", "ZEPALT.Text1 selected"},
        BadRow{"1e103", "0", U'.', "水温の値が大きすぎて計算できません。", "ZEPALT.Text1 selected"},
        BadRow{"1e100", "1e300", U'.', "塩素イオン濃度の値が大きすぎて計算できません。", "ZEPALT.Text2 selected"}));

// The table button hides the calculation window behind the table; 「戻る」 brings it back
// with its boxes as they were.
TEST_F(Forms, TheTableAndBackKeepTheBoxes) {
  Calculate("20", "21000");
  Press("ZEPALT", "Command3");
  EXPECT_FALSE(calc().native()->IsVisible());
  ASSERT_TRUE(program_.hasTableWindow());
  EXPECT_TRUE(program_.tableWindow().native()->IsVisible());
  Press("DOData", "Command1");
  EXPECT_TRUE(calc().native()->IsVisible());
  EXPECT_FALSE(program_.tableWindow().native()->IsVisible());
  EXPECT_EQ(calc().Text1.Text() + " " + calc().Text2.Text() + " " + calc().Text3.Text(), "20 21000 7.01");
  EXPECT_EQ(ends_, 0);
}

// Closing either window ends the program, once.
TEST_F(Forms, ClosingEitherWindowEndsTheProgramOnce) {
  for (const char* window : {"ZEPALT", "DOData"}) {
    RecordingPlatform platform;
    int ends = 0;
    dosat::Program program(platform, [&](int) { ++ends; });
    program.Start();
    platform.Events("ZEPALT").Clicked(dosat::design::kCalculationWindow.Find("Command3"));
    platform.Events(window).CloseRequested();
    EXPECT_EQ(ends, 1) << window;
    EXPECT_TRUE(program.hasEnded()) << window;
  }
}

}  // namespace
