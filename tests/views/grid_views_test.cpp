#include <gtest/gtest.h>

#include "model/errors.h"
#include "support/separators_guard.h"
#include "project/aggregation.h"
#include "views/grid_views.h"
#include "support/error_of.h"
#include "support/written_views.h"

using namespace rq;

namespace {

struct Item {
    const char* title;
    const char* bitrate;
    const char* pass;
    const char* half;
    const char* reduction;
    const char* first;
    const char* last;
    const char* kbytes;
    const char* rate;
};

void PutItems(ProjectState& s, const std::vector<Item>& items)
{
    s.StringGrid1.SetRowCount(static_cast<int>(items.size()) + 1);
    for (size_t i = 0; i < items.size(); ++i) {
        const Item& it = items[i];
        const int r = static_cast<int>(i) + 1;
        const char* cells[] = {it.title, it.bitrate, it.pass, it.half, it.reduction, it.first, it.last, it.kbytes, it.rate};
        for (int c = 0; c < 9; ++c)
            s.StringGrid1.SetCell(c, r, cells[c]);
    }
}

TVTSData Record(const char* name, std::int32_t frames, double kbytes, double bitrate, double percent, double rate)
{
    TVTSData v;
    v.Name = name;
    v.Frames = frames;
    v.KBytes = kbytes;
    v.BitrateAvg = bitrate;
    v.NewSize = kbytes;
    v.PercentChange = 100;
    v.NewBitRateAvg = bitrate;
    v.NewOverallPercent = percent;
    v.OriginalAveragePercent = percent;
    v.TempPercentChange = 100;
    v.FrameRate = rate;
    return v;
}

}  // namespace

TEST(RunTimes, ItemAndTitleSetLengths)
{
    struct Case {
        std::int32_t frames;
        double rate;
        const char* item;
        const char* vts;
    } cases[] = {
        {1000, 25, "     00:00:40 00", "00h:00m:40s 00f"},
        {90000, 25, "     01:00:00 00", "01h:00m:00s 00f"},
        {163000, 29.97, "     01:30:38 23", "01h:30m:38s 23f"},
        {123 * 3600 * 25 + 5 * 60 * 25, 25, "     123:05:00 00", "123h:05m:00s 00f"},
        {0, 25, "     00:00:00 00", "00h:00m:00s 00f"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ItemRunTime(c.frames, c.rate, ParseReal(FormatFloat("%10.2f", c.rate))), c.item) << c.frames;
        EXPECT_EQ(VTSLength(c.frames, c.rate), c.vts) << c.frames;
    }
    EXPECT_EQ(ErrorOf([] { VTSLength(10, 0); }), "Floating point division by zero");
    EXPECT_EQ(ErrorOf([] { VTSLength(0, 0); }), "Invalid floating point operation");
}

TEST(UpdateVTSDataToStringGrid, WritesEveryViewFromTheTables)
{
    SeparatorsGuard dot('.', ',');
    ProjectState s;
    WriteHeaders(s);
    PutItems(s, {{"v01pgc1_0", "4567.6", "2", "1", "45.25", "0", "1000", "21972.65625", "25"},
                 {"v03pgc1_0", "3000", "5", "0", "7", "0", "163000", "999", "29.97"}});
    s.StringGrid2.SetRowCount(4);
    s.VTSData[1] = Record("v01", 1001, 21972.65625, 4500, 75.29, 25);
    s.VTSData[3] = Record("v03", 163000, 4380000.5, 4567.89, 100, 29.97);
    s.Label2.SetCaption("4402973.15625");

    UpdateVTSDataToStringGrid(s);

    const std::vector<std::string> summary1 = {"v01", "1001", "21972.65625", "4500", "21972.65625", "100", "4500", "75.29", "75.29", "100", ""};
    EXPECT_EQ(Written(s).StringGrid2.Row(1), summary1);
    EXPECT_EQ(Written(s).StringGrid2.Cell(0, 2), "") << "a VTS number without items leaves a blank row";

    const std::vector<std::string> item1 = {"v01pgc1_0", "  4,568", "     45.3 ", "    1,000", "     00:00:40 00",
                                            "   21,973", "     25.00", "Half", "2"};
    EXPECT_EQ(Written(s).StringGrid4.Row(1), item1);
    EXPECT_EQ(Written(s).StringGrid4.Cell(2, 2), "      7.0 ");
    EXPECT_EQ(Written(s).StringGrid4.Cell(6, 2), "     29.97");
    EXPECT_EQ(Written(s).StringGrid4.Cell(7, 2), "Full");
    EXPECT_EQ(s.Label25.Caption(), "4,402,973");

    const std::vector<std::string> details1 = {"v01", "    1,001", "    21,973", "       4,500", "   21,973",
                                               "          4,500", "          75.3"};
    EXPECT_EQ(Written(s).StringGrid5.Row(1), details1);
    EXPECT_EQ(s.StringGrid5.RowCount(), 4);
    EXPECT_EQ(Written(s).StringGrid5.Cell(0, 2), "");

    const std::vector<std::string> main1 = {"v01", "4500", "4500", "75.2", "00h:00m:40s 01f"};
    EXPECT_EQ(Written(s).StringGrid3.Row(1), main1);
    EXPECT_EQ(Written(s).StringGrid3.Cell(1, 3), "4567");
    EXPECT_EQ(Written(s).StringGrid3.Cell(3, 3), "100");
    EXPECT_EQ(Written(s).StringGrid3.Cell(4, 3), "01h:30m:38s 23f");
}

TEST(UpdateVTSDataToStringGrid, WidthTextIsHalfOnlyForExactlyOne)
{
    ProjectState s;
    PutItems(s, {{"v01", "1", "", "1", "1", "0", "1", "1", "25"},
                 {"v01", "1", "", "0", "1", "0", "1", "1", "25"},
                 {"v01", "1", "", "01", "1", "0", "1", "1", "25"},
                 {"v01", "1", "", " 1", "1", "0", "1", "1", "25"},
                 {"v01", "1", "", "", "1", "0", "1", "1", "25"}});
    UpdateVTSDataToStringGrid(s);
    const char* expected[] = {"Half", "Full", "Full", "Full", "Full"};
    for (int r = 1; r <= 5; ++r)
        EXPECT_EQ(Written(s).StringGrid4.Cell(7, r), expected[r - 1]) << r;
}

TEST(UpdateVTSDataToStringGrid, CommaLocale)
{
    SeparatorsGuard comma(',', '.');
    ProjectState s;
    PutItems(s, {{"v01", "4567,6", "2", "0", "45,25", "0", "1000", "1", "29,97"}});
    UpdateVTSDataToStringGrid(s);
    EXPECT_EQ(Written(s).StringGrid4.Cell(1, 1), "  4.568");
    EXPECT_EQ(Written(s).StringGrid4.Cell(2, 1), "     45,3 ");
    EXPECT_EQ(Written(s).StringGrid4.Cell(6, 1), "     29,97");
}

TEST(UpdateVTSDataToStringGrid, AnUnreadableCellEndsTheRefreshThere)
{
    SeparatorsGuard dot('.', ',');
    ProjectState s;
    PutItems(s, {{"v01a", "4500", "2", "0", "50", "0", "1000", "1", "25"},
                 {"v01b", "", "2", "0", "50", "0", "1000", "1", "25"},
                 {"v01c", "4500", "2", "0", "50", "0", "1000", "1", "25"}});
    s.VTSData[1] = Record("v01", 3003, 3, 4500, 50, 25);
    s.Label2.SetCaption("3");

    EXPECT_EQ(ErrorOf([&] { UpdateVTSDataToStringGrid(s); }), "'' is not a valid floating point value");
    EXPECT_EQ(Written(s).StringGrid2.Cell(0, 1), "v01") << "the summary grid comes first";
    EXPECT_EQ(Written(s).StringGrid4.Cell(1, 1), "  4,500");
    EXPECT_EQ(Written(s).StringGrid4.Cell(0, 2), "v01b") << "the title is written before the bad bitrate";
    EXPECT_EQ(Written(s).StringGrid4.Cell(0, 3), "") << "later rows are not written";
    EXPECT_EQ(s.Label25.Caption(), "?");
    EXPECT_EQ(Written(s).StringGrid3.Cell(0, 1), "");

    // The same table fails again: a failed refresh is never taken as shown.
    EXPECT_EQ(ErrorOf([&] { UpdateVTSDataToStringGrid(s); }), "'' is not a valid floating point value");

    s.StringGrid1.SetCell(kColBitrate, 2, "4500");
    UpdateVTSDataToStringGrid(s);
    EXPECT_EQ(Written(s).StringGrid4.Cell(0, 3), "v01c");
    EXPECT_EQ(Written(s).StringGrid3.Cell(0, 1), "v01");
}

TEST(UpdateVTSDataToStringGrid, ItemDetailsFollowEveryChangeOfTheItemTable)
{
    ProjectState s;
    PutItems(s, {{"v01", "4500", "2", "0", "50", "0", "1000", "1", "25"}});
    UpdateVTSDataToStringGrid(s);
    EXPECT_EQ(Written(s).StringGrid4.Cell(8, 1), "2");
    s.StringGrid1.SetCell(kColPass, 1, "5");
    UpdateVTSDataToStringGrid(s);
    EXPECT_EQ(Written(s).StringGrid4.Cell(8, 1), "5");
    {
        SeparatorsGuard comma(',', '.');
        s.StringGrid1.SetCell(kColFrameRate, 1, "29,97");
        UpdateVTSDataToStringGrid(s);
        EXPECT_EQ(Written(s).StringGrid4.Cell(6, 1), "     29,97");
    }
    s.StringGrid1.SetCell(kColFrameRate, 1, "25");
    UpdateVTSDataToStringGrid(s);
    EXPECT_EQ(Written(s).StringGrid4.Cell(6, 1), "     25.00");
}

TEST(VTSNames, NameAndNumberOfATitle)
{
    EXPECT_EQ(VTSName("V01PGC1"), "v01");
    EXPECT_EQ(VTSName("v1"), "v1");
    EXPECT_EQ(VTSNumber("v01"), 1);
    EXPECT_EQ(VTSNumber("v1"), 1);
    EXPECT_EQ(VTSNumber("v00"), 0);
    EXPECT_EQ(VTSNumber("v99"), 99);
    EXPECT_EQ(ErrorOf([] { VTSNumber("men"); }), "'en' is not a valid integer value");
    EXPECT_EQ(ErrorOf([] { VTSNumber("v"); }), "'' is not a valid integer value");
    EXPECT_EQ(ErrorOf([] { VTSNumber("v-1"); }), "'-1' is not a valid integer value");
}

TEST(UpdateVTSDataToStringGrid, ViewsShowWhatTheLastRefreshSawNotWhatCameAfter)
{
    SeparatorsGuard dot('.', ',');
    ProjectState s;
    PutItems(s, {{"v01", "4500", "2", "0", "50", "0", "1000", "1", "25"},
                 {"v01", "3000", "2", "0", "50", "0", "1000", "1", "25"}});
    s.VTSData[1] = Record("v01", 2002, 2, 3750, 50, 25);
    s.Label2.SetCaption("2");
    UpdateVTSDataToStringGrid(s);

    // Changes after the refresh are not shown until the next refresh.
    s.StringGrid1.SetCell(kColBitrate, 1, "9999");
    s.StringGrid1.SetCell(kColBitrate, 1, "8888");
    s.VTSData[1].NewBitRateAvg = 1234;
    {
        SeparatorsGuard comma(',', '.');
        EXPECT_EQ(Written(s).StringGrid4.Cell(1, 1), "  4,500");
        EXPECT_EQ(Written(s).StringGrid4.Cell(1, 2), "  3,000");
        EXPECT_EQ(Written(s).StringGrid2.Cell(6, 1), "3750");
        EXPECT_EQ(Written(s).StringGrid3.Cell(2, 1), "3750");
    }

    // A refresh that fails in the item rows has written the summary grid, but
    // the grids after the failure keep showing the earlier records.
    s.StringGrid1.SetCell(kColReduction, 2, "x");
    EXPECT_EQ(ErrorOf([&] { UpdateVTSDataToStringGrid(s); }), "'x' is not a valid floating point value");
    EXPECT_EQ(Written(s).StringGrid2.Cell(6, 1), "1234");
    EXPECT_EQ(Written(s).StringGrid4.Cell(1, 1), "  8,888");
    EXPECT_EQ(Written(s).StringGrid4.Cell(1, 2), "  3,000");
    EXPECT_EQ(Written(s).StringGrid5.Cell(5, 1), "          3,750");
    EXPECT_EQ(Written(s).StringGrid3.Cell(2, 1), "3750");

    s.StringGrid1.SetCell(kColReduction, 2, "50");
    UpdateVTSDataToStringGrid(s);
    EXPECT_EQ(Written(s).StringGrid3.Cell(2, 1), "1234");
    EXPECT_EQ(Written(s).StringGrid4.Cell(1, 1), "  8,888");
}

TEST(UpdateVTSDataToStringGrid, FiguresTooLargeForTheMainGridFailThere)
{
    SeparatorsGuard dot('.', ',');
    ProjectState s;
    PutItems(s, {{"v01", "4500", "2", "0", "50", "0", "1000", "1", "25"}});
    s.StringGrid2.SetRowCount(3);
    s.VTSData[1] = Record("v01", 1001, 1, 4500, 50, 25);
    s.VTSData[2] = Record("v02", 1001, 1, 4500, 50, 25);
    s.VTSData[2].NewBitRateAvg = 1e19;
    EXPECT_EQ(ErrorOf([&] { UpdateVTSDataToStringGrid(s); }), "Invalid floating point operation");
    EXPECT_EQ(Written(s).StringGrid5.Cell(5, 2), "           1E19") << "the details grid comes first";
    EXPECT_EQ(Written(s).StringGrid3.Cell(0, 1), "v01");
    EXPECT_EQ(Written(s).StringGrid3.Cell(1, 2), "4500") << "written up to the failing cell";
    EXPECT_EQ(Written(s).StringGrid3.Cell(2, 2), "");

    s.VTSData[2].NewBitRateAvg = 4500;
    s.VTSData[2].FrameRate = 0;
    EXPECT_EQ(ErrorOf([&] { UpdateVTSDataToStringGrid(s); }), "Floating point division by zero");
    EXPECT_EQ(Written(s).StringGrid3.Cell(3, 2), "50");
}

TEST(UpdateVTSDataToStringGrid, FiguresAtTheEdgeOfTheMainGridAsTheirSummaryTextsReadBack)
{
    SeparatorsGuard dot('.', ',');
    struct Case {
        double bitrate;
        double percent;
        const char* error;
        const char* bitrateCell;
        const char* percentCell;
    } cases[] = {
        {9.2e18, 50, "(no error)", "9200000000000000000", "50"},
        {4500, 9.2e17, "(no error)", "4500", "9.2E17"},
        // Under the limit as a figure, over it as its 15-digit text reads back.
        {4500, 922337203685477504.0, "Invalid floating point operation", "4500", ""},
    };
    for (const Case& c : cases) {
        ProjectState s;
        PutItems(s, {{"v01", "4500", "2", "0", "50", "0", "1000", "1", "25"}});
        s.VTSData[1] = Record("v01", 1001, 1, 4500, 50, 25);
        s.VTSData[1].NewBitRateAvg = c.bitrate;
        s.VTSData[1].NewOverallPercent = c.percent;
        s.Label2.SetCaption("1");
        EXPECT_EQ(ErrorOf([&] { UpdateVTSDataToStringGrid(s); }), c.error) << c.percent;
        EXPECT_EQ(Written(s).StringGrid3.Cell(2, 1), c.bitrateCell) << c.bitrate;
        EXPECT_EQ(Written(s).StringGrid3.Cell(3, 1), c.percentCell) << c.percent;
    }
}

namespace {

// A refresh that must write at once (a figure at the edge of what its check
// allows) replaces what an earlier refresh recorded and left unwritten.
TEST(UpdateVTSDataToStringGrid, AWriteAtOnceReplacesWhatAnEarlierRefreshLeftUnwritten)
{
    SeparatorsGuard dot('.', ',');
    ProjectState s;
    PutItems(s, {{"v01", "4500", "2", "0", "50", "0", "1000", "1", "25"}});
    s.VTSData[1] = Record("v01", 1001, 1, 4500, 50, 25);
    s.Label2.SetCaption("1");
    UpdateVTSDataToStringGrid(s);
    s.VTSData[1].NewBitRateAvg = 9.2233720368547e18;
    UpdateVTSDataToStringGrid(s);
    EXPECT_EQ(Written(s).StringGrid3.Cell(2, 1), "9223372036854700000");
    EXPECT_EQ(Written(s).StringGrid5.Cell(5, 1), "9.2233720368547E18");
}

}  // namespace

// The item view's check reads each item's own kept figures: at half a frame a
// second, 2^30 frames run to 2^31 seconds, one more than a count of seconds
// holds, while the same frames counted backwards just fit.
TEST(UpdateVTSDataToStringGrid, TheItemCheckReadsEachItemsOwnFigures)
{
    SeparatorsGuard dot('.', ',');
    ProjectState s;
    PutItems(s, {{"v01a", "4500", "2", "0", "50", "0", "1000", "1", "25"},
                 {"v01b", "4500", "2", "0", "50", "0", "1073741824", "1", "0.5"},
                 {"v01c", "4500", "2", "0", "50", "0", "1000", "1", "25"},
                 {"v02a", "4500", "2", "0", "50", "0", "1000", "1", "25"}});
    EXPECT_EQ(ErrorOf([&] { ProcessLoadedECL(s); }), "Integer overflow");
    EXPECT_EQ(Written(s).StringGrid4.Cell(0, 2), "v01b");
    EXPECT_EQ(Written(s).StringGrid4.Cell(0, 3), "") << "the refresh ends at that item";
}
