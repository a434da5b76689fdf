#include "agentphone/core/lists/grid_routines.h"

#include <gtest/gtest.h>

#include "agentphone/core/lists/grid_texts.h"
#include "agentphone/core/lists/list_date.h"
#include "tests/agentphone/lists/list_fakes.h"

namespace agentphone::lists {
namespace {

using testing::MemoryGrid;

TEST(GetCellValue, ReadsEachCellTypeByItsRule) {
  struct Case {
    int type;
    const char* text;
    const char* value;
    const char* expected;
  } cases[] = {
      {kCellDate, "2026-03-01", "", "20260301"},
      {kCellDate, "2026/3/9", "", "20260309"},
      {kCellDate, "   ", "", ""},
      {kCellFloat, "", "12.5", "12.5"},
      {kCellInteger, "", "abc", "0"},  // not numeric
      {kCellInteger, "", "", "0"},
      {kCellCurrency, "", "  7 ", "7"},
      {kCellPercent, "", "   ", ""},
      {kCellCombo, "2|보류", "", "보류"},
      {kCellCombo, " 0 ", "", ""},
      {kCellCheckBox, "", "0", "N"},
      {kCellCheckBox, "", "1", "Y"},
      {kCellCheckBox, "", "2", ""},  // neither 0 nor 1
      {kCellEdit, "  ", "", ""},
      {kCellEdit, " 통화중 ", "", " 통화중 "},  // text cells are read untrimmed
      {5, "static", "", "static"},
  };
  for (const Case& c : cases) {
    MemoryGrid grid(1);
    grid.SetMaxRows(1);
    grid.SetCell(1, 1, c.type, c.text, c.value);
    EXPECT_EQ(GetCellValue(grid, 1, 1), c.expected) << "type " << c.type << " text '" << c.text
                                                    << "' value '" << c.value << "'";
  }
}

MemoryGrid ThreeRows() {
  MemoryGrid grid(2);
  grid.SetMaxRows(3);
  const char* rows[][2] = {{"b", "1"}, {"a", "2"}, {"c", "3"}};
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 2; ++c) grid.SetText(r + 1, c + 1, rows[r][c]);
  }
  return grid;
}

TEST(SortGrid, FirstSortIsDescendingAndEachFurtherCallReverses) {
  MemoryGrid grid = ThreeRows();
  SortGrid(grid, 1);
  EXPECT_EQ(grid.Column(1), (std::vector<std::string>{"c", "b", "a"}));
  EXPECT_EQ(grid.Row(1), (std::vector<std::string>{"c", "3"})) << "whole rows move";
  SortGrid(grid, 1);
  EXPECT_EQ(grid.Column(1), (std::vector<std::string>{"a", "b", "c"}));
  // The order toggles per grid, whichever column is clicked.
  SortGrid(grid, 2);
  EXPECT_EQ(grid.Column(2), (std::vector<std::string>{"3", "2", "1"}));
  EXPECT_TRUE(grid.redraw);
}

TEST(SortGrid, KeepsEqualRowsInOrderAndLeavesAnUnknownOrderAlone) {
  MemoryGrid grid(2);
  grid.SetMaxRows(3);
  grid.SetText(1, 1, "x"), grid.SetText(1, 2, "first");
  grid.SetText(2, 1, "x"), grid.SetText(2, 2, "second");
  grid.SetText(3, 1, "a"), grid.SetText(3, 2, "third");
  SortGrid(grid, 1);
  EXPECT_EQ(grid.Column(2), (std::vector<std::string>{"first", "second", "third"}));

  MemoryGrid odd = ThreeRows();
  odd.sortOrder = 3;
  SortGrid(odd, 1);
  EXPECT_EQ(odd.sortOrder, 3);
  EXPECT_EQ(odd.Column(1), (std::vector<std::string>{"b", "a", "c"}));
}

TEST(GridTexts, DigitMasksAndInboundLineCodes) {
  struct Case {
    const char* text;
    const char* mask;
    const char* expected;
  } cases[] = {
      {"20260301", "####-##-##", "2026-03-01"},
      {"091510", "##:##:##", "09:15:10"},
      {"91510", "##:##:##", "9:15:10"},  // a leading zero the database dropped
      {"", "##:##:##", ""},
      {"2026-03-01", "####-##-##", "2026-03-01"},  // not digits: shown as stored
      {"20260301093012", "####-##-##  ##:##:##", "2026-03-01  09:30:12"},
      {"120260301", "####-##-##", "12026-03-01"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatDigitMask(c.text, c.mask), c.expected) << c.text << " " << c.mask;
  }
  EXPECT_EQ(InboundLineCode("1201"), "0038");
  EXPECT_EQ(InboundLineCode("1202"), "0006");
  EXPECT_EQ(InboundLineCode("1203"), "0776");
  EXPECT_EQ(InboundLineCode("1204"), "1204");
}

TEST(ListDate, DaysAcrossMonthAndYearEnds) {
  EXPECT_EQ(DaysBetween({2026, 3, 1}, {2026, 3, 8}), 7);
  EXPECT_EQ(DaysBetween({2026, 1, 30}, {2026, 2, 2}), 3);
  EXPECT_EQ(DaysBetween({2024, 2, 28}, {2024, 3, 1}), 2);
  EXPECT_EQ(DaysBetween({2026, 12, 30}, {2027, 1, 2}), 3);
  EXPECT_EQ(DaysBetween({2026, 3, 9}, {2026, 3, 1}), -8);
  EXPECT_EQ(Ymd({2026, 3, 1}), "20260301");
}

}  // namespace
}  // namespace agentphone::lists
