#include <gtest/gtest.h>

#include "model/controls.h"

using namespace rq;

TEST(TextList, ReplacedLinesOfAnyLengthKeepEveryOtherLine)
{
    TextList list;
    list.Assign({"[item]", "title=v01", "vbr_brate_avg=4500", "", "vbr_pass=2"});
    list.Set(2, "vbr_brate_avg=123");             // shorter: in place
    list.Set(4, "vbr_pass=2; a much longer line");  // longer: written after the others
    list.Set(3, "x");
    EXPECT_EQ(list.Lines(), (std::vector<std::string>{"[item]", "title=v01", "vbr_brate_avg=123", "x",
                                                       "vbr_pass=2; a much longer line"}));
    // Many growing rewrites drop the old text now and then; the lines stay.
    for (int round = 0; round < 2000; ++round)
        list.Set(round % 5, std::string(static_cast<size_t>(20 + round % 7), static_cast<char>('a' + round % 5)));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(list[i], std::string(static_cast<size_t>(20 + (1995 + i) % 7), static_cast<char>('a' + i))) << i;
    list.Truncate(2);
    EXPECT_EQ(list.Count(), 2);
    TextList other;
    other.TakeFrom(list);
    EXPECT_EQ(other.Count(), 2);
    EXPECT_EQ(list.Count(), 0);
}

TEST(TextGrid, RowsWithoutCellsReadEmptyAndGrowWhenWritten)
{
    TextGrid grid(3, 2);
    grid.SetRowCount(5);
    EXPECT_EQ(grid.Cell(2, 4), "");
    EXPECT_EQ(grid.Row(4), (std::vector<std::string>{"", "", ""}));
    const auto before = grid.Version();
    grid.SetCell(1, 4, "");
    EXPECT_EQ(grid.Version(), before) << "writing an empty text into an empty cell changes nothing";
    grid.SetCell(1, 4, "x");
    EXPECT_EQ(grid.Row(4), (std::vector<std::string>{"", "x", ""}));
    EXPECT_EQ(grid.Cell(7, 4), "") << "outside the grid reads empty";
    // What the cells hold is counted again after a write.
    const std::size_t bytes = grid.CellBytes();
    const std::string longer(5000, 'y');
    grid.SetCell(1, 4, std::string_view(longer));
    EXPECT_GT(grid.CellBytes(), bytes);
    grid.SetCell(1, 4, "x");
    // Grids compare by every cell, the header row's too.
    TextGrid other(3, 5);
    other.SetCell(1, 4, "x");
    EXPECT_EQ(grid, other);
    other.SetCell(0, 0, "Title");
    EXPECT_NE(grid, other);
}
