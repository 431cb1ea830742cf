#include <gtest/gtest.h>

#include <random>

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
    // A write outside the grid changes nothing, the row after it neither.
    TextGrid two(2, 3);
    two.SetCell(0, 1, "a");
    two.SetCell(0, 2, "b");
    two.SetCell(2, 1, "outside");
    EXPECT_EQ(two.Row(2), (std::vector<std::string>{"b", ""}));
}

// Random writes, copies and row changes against a plain table of strings:
// texts that outgrow their room, texts taken from other cells of the same
// grid, copies written on both sides, rows dropped and made again.
TEST(TextGrid, MatchesAPlainTableThroughWritesCopiesAndRowChanges)
{
    std::mt19937 rng(20261208);
    const int cols = 4;
    TextGrid grid(cols, 3);
    std::vector<std::vector<std::string>> model(3, std::vector<std::string>(cols));
    std::vector<std::pair<TextGrid, std::vector<std::vector<std::string>>>> copies;
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    for (int step = 0; step < 20000; ++step) {
        const int op = pick(100);
        const int rows = static_cast<int>(model.size());
        if (op < 70 && rows > 0) {
            const int c = pick(cols), r = pick(rows);
            std::string text(static_cast<size_t>(pick(4) == 0 ? pick(3000) : pick(24)), static_cast<char>('a' + step % 26));
            grid.SetCell(c, r, text);
            model[static_cast<size_t>(r)][static_cast<size_t>(c)] = text;
        } else if (op < 80 && rows > 0) {
            const int c = pick(cols), r = pick(rows), fc = pick(cols), fr = pick(rows);
            const size_t length = static_cast<size_t>(pick(30));
            grid.SetCell(c, r, grid.Cell(fc, fr).substr(0, length));
            model[static_cast<size_t>(r)][static_cast<size_t>(c)] =
                model[static_cast<size_t>(fr)][static_cast<size_t>(fc)].substr(0, length);
        } else if (op < 88) {
            const int n = pick(12);
            grid.SetRowCount(n);
            model.resize(static_cast<size_t>(n), std::vector<std::string>(cols));
        } else if (op < 95) {
            copies.emplace_back(grid, model);
            if (copies.size() > 4)
                copies.erase(copies.begin());
        } else if (!copies.empty()) {
            std::swap(grid, copies.back().first);
            std::swap(model, copies.back().second);
        }
        if (step % 97 == 0 || op >= 88) {
            ASSERT_EQ(grid.RowCount(), static_cast<int>(model.size())) << step;
            for (size_t r = 0; r < model.size(); ++r)
                ASSERT_EQ(grid.Row(static_cast<int>(r)), model[r]) << "step " << step << " row " << r;
            for (const auto& [g, m] : copies)
                for (size_t r = 0; r < m.size(); ++r)
                    ASSERT_EQ(g.Row(static_cast<int>(r)), m[r]) << "a copy, step " << step;
        }
    }
}
