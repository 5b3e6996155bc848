// The numbering of a table's cells for screen readers, on the table window's 37 rows
// (the headings and 0 to 35 °C) of seven cells. Built with ASan and UBSan where the
// sanitizers are on: a screen reader's child id is a number from another process.
#include <gtest/gtest.h>

#include "tablechildren.h"

namespace {

using Step = dosat::TableChildren::Step;
const dosat::TableChildren kTable(37, 7);

struct FindRow {
  long id;
  bool found;
  std::size_t row, column;
};

class TableChildrenFind : public testing::TestWithParam<FindRow> {};

TEST_P(TableChildrenFind, GivesTheCellOfAChild) {
  const FindRow r = GetParam();
  const auto cell = kTable.Find(r.id);
  ASSERT_EQ(cell.has_value(), r.found) << r.id;
  if (cell) {
    EXPECT_EQ(cell->row, r.row);
    EXPECT_EQ(cell->column, r.column);
  }
}

INSTANTIATE_TEST_SUITE_P(Ids, TableChildrenFind,
                         testing::Values(FindRow{0, false, 0, 0}, FindRow{-1, false, 0, 0},
                                         FindRow{1, true, 0, 0}, FindRow{7, true, 0, 6},
                                         FindRow{8, true, 1, 0}, FindRow{259, true, 36, 6},
                                         FindRow{260, false, 0, 0},
                                         FindRow{2147483647, false, 0, 0}));

struct StepRow {
  long from;
  Step step;
  long to;  // 0: none
};

class TableChildrenNavigate : public testing::TestWithParam<StepRow> {};

TEST_P(TableChildrenNavigate, StopsAtTheEdges) {
  EXPECT_EQ(kTable.Navigate(GetParam().from, GetParam().step), GetParam().to) << GetParam().from;
}

INSTANTIATE_TEST_SUITE_P(
    Steps, TableChildrenNavigate,
    testing::Values(StepRow{1, Step::Next, 2}, StepRow{7, Step::Next, 8}, StepRow{259, Step::Next, 0},
                    StepRow{1, Step::Previous, 0}, StepRow{8, Step::Previous, 7},
                    StepRow{6, Step::Right, 7}, StepRow{7, Step::Right, 0}, StepRow{8, Step::Left, 0},
                    StepRow{9, Step::Left, 8}, StepRow{1, Step::Down, 8}, StepRow{253, Step::Down, 0},
                    StepRow{15, Step::Up, 8}, StepRow{7, Step::Up, 0}, StepRow{5, Step::Other, 0},
                    StepRow{0, Step::Next, 0}, StepRow{260, Step::Up, 0}, StepRow{-5, Step::Down, 0}));

TEST(TableChildren, AnEmptyTableHasNoChildren) {
  const dosat::TableChildren none(0, 0);
  EXPECT_EQ(none.count(), 0u);
  EXPECT_FALSE(none.Find(1));
  EXPECT_EQ(none.Navigate(1, Step::Next), 0);
}

}  // namespace
