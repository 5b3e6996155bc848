// What the keyboard and screen readers meet in both windows, decided once for every
// platform: the tab order, what each control is told, the announcement of a new result and
// the table's description.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "accessibility.h"
#include "design.h"
#include "tablenumbers.h"
#include "tabletext.h"

namespace {

using dosat::accessibility::Announcement;
using dosat::accessibility::TabOrder;
using dosat::accessibility::WhatReadersAreTold;
using dosat::design::kCalculationWindow;
using dosat::design::kTableWindow;

std::vector<std::string> Names(const dosat::design::Window& window, const std::vector<std::size_t>& rows) {
  std::vector<std::string> names;
  for (std::size_t row : rows) names.emplace_back(window.controls[row].name);
  return names;
}

TEST(Accessibility, TabVisitsBoxesAndButtonsByTabIndex) {
  EXPECT_EQ(Names(kCalculationWindow, TabOrder(kCalculationWindow)),
            (std::vector<std::string>{"Text1", "Text2", "Command1", "Command2", "Text3", "Command3"}));
  EXPECT_EQ(Names(kTableWindow, TabOrder(kTableWindow)), (std::vector<std::string>{"Picture1", "Command1"}));
}

// Controls of one tab index keep their listed order, after those of a lower one.
TEST(Accessibility, TabKeepsTheListedOrderWithinOneIndex) {
  using dosat::design::Control;
  using enum dosat::design::Kind;
  static constexpr Control kRows[] = {{"B", Button, "", 0, 0, 1, 1, 2, {}, 0}, {"A", TextBox, "", 0, 0, 1, 1, 1, {}, 0},
                                      {"C", Button, "", 0, 0, 1, 1, 1, {}, 0}, {"L", Label, "", 0, 0, 1, 1, 0, {}, 0},
                                      {"D", TextBox, "", 0, 0, 1, 1, 0, {}, 0}};
  constexpr dosat::design::Window kWindow{"W", "", 10, 10, 0, kRows};
  EXPECT_EQ(Names(kWindow, TabOrder(kWindow)), (std::vector<std::string>{"D", "A", "C", "B"}));
}

TEST(Accessibility, ControlsAreMadeInTabOrderThenTheLabels) {
  EXPECT_EQ(Names(kCalculationWindow, dosat::accessibility::CreationOrder(kCalculationWindow)),
            (std::vector<std::string>{"Text1", "Text2", "Command1", "Command2", "Text3", "Command3", "Label5",
                                      "Label6", "Label1", "Label7", "Label2", "Label3", "Label4"}));
}

struct ToldRow {
  const char* control;
  const char* name;
  const char* description;
};

class WhatBoxesAreTold : public testing::TestWithParam<ToldRow> {};

TEST_P(WhatBoxesAreTold, NameFromTheLabelBesideDescriptionFromTheHintUnder) {
  const ToldRow& row = GetParam();
  const auto told = WhatReadersAreTold(kCalculationWindow, kCalculationWindow.Find(row.control));
  EXPECT_EQ(told.name, row.name);
  EXPECT_EQ(told.description, row.description);
}

INSTANTIATE_TEST_SUITE_P(CalculationWindow, WhatBoxesAreTold,
                         testing::Values(ToldRow{"Text1", "水温(℃)", "( 0～35℃ )"},
                                         ToldRow{"Text2", "塩素イオン濃度(mg/L)", "(海水標準=21000mg/L)"},
                                         ToldRow{"Text3", "飽和溶存酸素濃度(mg/L)", ""},
                                         ToldRow{"Command1", "", ""}),
                         [](const auto& info) { return std::string(info.param.control); });

// A new result is said with the name of its box, as every platform announces it.
TEST(Accessibility, ANewResultIsAnnouncedUnderItsBoxsName) {
  EXPECT_EQ(Announcement(kCalculationWindow, kCalculationWindow.Find("Text3"), "7.01"),
            "飽和溶存酸素濃度(mg/L) 7.01");
  EXPECT_EQ(Announcement(kCalculationWindow, kCalculationWindow.Find("Command1"), "7.01"), "7.01");
}

// The table's one description: the summary and, where the numbers read, a line per row.
TEST(Accessibility, TheTablesDescriptionHoldsItsNumbersRowByRow) {
  const std::size_t picture = kTableWindow.Find("Picture1");
  const auto alone = WhatReadersAreTold(kTableWindow, picture);
  EXPECT_EQ(alone.name, "水中の飽和溶存酸素量");
  EXPECT_EQ(alone.description, dosat::table::Summary());

  const std::vector<dosat::table::TableRow> rows{{"0", "14.15", "13.40", "12.63", "11.87", "11.10", "0.0153"},
                                                 {"1", "13.77", "13.03", "12.29", "11.55", "10.81", "0.0148"}};
  EXPECT_EQ(WhatReadersAreTold(kTableWindow, picture, &rows).description,
            dosat::table::Summary() +
                "\n0℃: 14.15 13.40 12.63 11.87 11.10 0.0153\n1℃: 13.77 13.03 12.29 11.55 10.81 0.0148");
}

}  // namespace
