#include <gtest/gtest.h>

#include "engine/redistribution.h"
#include "project/apply.h"
#include "project/reader.h"
#include "views/grid_views.h"
#include "support/project_files.h"

using namespace rq;
using namespace rqtest;

TEST(ModifyECL, RewritesRecognisedKeyLinesFromTheItems)
{
    TempFolder dir;
    WriteBytes(dir / "REBUILDER.ECL",
               Crlf({"vbr_pass=9", "[item]", "title=V01_A", "VBR_BRATE_AVG=4500", "vbr_pass = 2",
                     "Vbr_Pass=2 ; twice", "HALF_WIDTH=0", "encode_first=0", "encode_last=999", "frame_rate_idx=3", "[item]",
                     "vbr_brate_avg=3000", "title=v01_b", "encode_first=0", "encode_last=999", "frame_rate_idx=3",
                     "vbr_brate_avg=3000", "half_width=0"}));
    WriteBytes(dir / "REBUILDER.INF", Crlf({"reduction=11", "[V01_A]", "REDUCTION=54.93", "[v01_b]", "reduction=60"}));
    ProjectState s;
    LoadECL(s, dir / "REBUILDER.ECL");
    s.StringGrid1.SetCell(kColBitrate, 1, "4999.9");
    s.StringGrid1.SetCell(kColPass, 1, "3");
    s.StringGrid1.SetCell(kColHalfWidth, 1, "1");
    s.StringGrid1.SetCell(kColReduction, 2, "7.06");
    ModifyECL(s);
    EXPECT_EQ(s.ListBox1.Lines(),
              (std::vector<std::string>{"vbr_pass=9", "[item]", "title=V01_A", "vbr_brate_avg=4999", "vbr_pass = 2",
                                        "vbr_pass=3", "half_width=1", "encode_first=0", "encode_last=999",
                                        "frame_rate_idx=3", "[item]", "vbr_brate_avg=4999", "title=v01_b",
                                        "encode_first=0", "encode_last=999", "frame_rate_idx=3",
                                        "vbr_brate_avg=3000", "half_width=0"}));
    EXPECT_EQ(s.ListBox2.Lines(),
              (std::vector<std::string>{"reduction=11", "[V01_A]", "Reduction=54.9", "[v01_b]", "Reduction=7"}));
    EXPECT_TRUE(s.Button7.Enabled());

    const struct {
        const char* cell;
        const char* line;
    } reductions[] = {{"54.99", "Reduction=54.9"}, {"100", "Reduction=100"}, {"0.05", "Reduction=0"},
                      {"-7.06", "Reduction=-7"}};
    for (const auto& c : reductions) {
        s.StringGrid1.SetCell(kColReduction, 1, c.cell);
        ModifyECL(s);
        EXPECT_EQ(s.ListBox2[2], c.line) << c.cell;
    }

    // A bad Reduction stops the INF pass after the ECL pass has been applied.
    s.StringGrid1.SetCell(kColBitrate, 1, "4000");
    s.StringGrid1.SetCell(kColReduction, 1, "n/a");
    EXPECT_EQ(ErrorOf([&] { ModifyECL(s); }), "'n/a' is not a valid floating point value");
    EXPECT_EQ(s.ListBox1[3], "vbr_brate_avg=4000");
    EXPECT_EQ(s.ListBox2[2], "Reduction=-7");
}

TEST(ModifyECL, LeavesTheKeyLinesBeforeTheFirstItem)
{
    TempFolder dir;
    WriteBytes(dir / "REBUILDER.ECL", Crlf({"title=v09", "vbr_brate_avg=4500.7"}) + EclItem("v01", "3000", 0, 999));
    WriteBytes(dir / "REBUILDER.INF", InfSection("v01", "50"));
    ProjectState s;
    LoadECL(s, dir / "REBUILDER.ECL");
    ModifyECL(s);
    EXPECT_EQ(s.ListBox1[1], "vbr_brate_avg=4500.7");
    EXPECT_EQ(s.ListBox1[8], "vbr_brate_avg=3000");
}

class ApplyChanges : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteBytes(dir / "REBUILDER.ECL",
                   EclItem("v01a", "4500", 0, 999) + EclItem("v02a", "3000", 0, 1999) + EclItem("v02b", "3000", 0, 1999));
        WriteBytes(dir / "REBUILDER.INF",
                   InfSection("v01a", "50") + InfSection("v02a", "50") + InfSection("v02b", "50"));
        LoadECL(s, dir / "REBUILDER.ECL");
    }
    TempFolder dir;
    ProjectState s;
};

TEST_F(ApplyChanges, CarriesTheAllocationIntoItemsAndText)
{
    SetVTSBitRate(s, "v01", 5400);  // v01 grows by a fifth; v02 gives 7.5 percent
    s.CheckListBox1.SetChecked(1, true);
    rq::ApplyChanges(s);
    EXPECT_EQ(Column(s.StringGrid1, kColBitrate), (std::vector<std::string>{"Bitrate", "5400", "2775", "2775"}));
    EXPECT_EQ(Column(s.StringGrid1, kColReduction), (std::vector<std::string>{"Reduction", "60", "46.25", "46.25"}));
    EXPECT_EQ(s.StringGrid1.Cell(kColKBytes, 1), "26367.1875");
    EXPECT_EQ(s.VTSData[1].BitrateAvg, 5400);
    EXPECT_EQ(s.VTSData[2].PercentChange, 100);
    EXPECT_EQ(s.Label2.Caption(), "80566.40625");  // the total is kept
    EXPECT_FALSE(s.CheckListBox1.Checked(1));
    EXPECT_EQ(s.ListBox1[6], "vbr_brate_avg=5400");
    EXPECT_EQ(s.ListBox1[14], "vbr_brate_avg=2775");
    EXPECT_EQ(s.ListBox2[1], "Reduction=60");
    EXPECT_EQ(s.ListBox2[3], "Reduction=46.2");
    EXPECT_TRUE(s.Button7.Enabled());
}

TEST_F(ApplyChanges, RefusesATitleSetWithoutSizeAndChangesNothing)
{
    // At 18000 kbit/s v01 takes more than v02 has; at 16500 exactly all of it.
    const struct {
        double bitrate, v02Size;
        const char* error;
    } cases[] = {
        {18000, -7324.21875, "Title set v02 would get a bitrate of -375 kbit/s; nothing was applied"},
        {16500, 0, "Title set v02 would get a bitrate of 0 kbit/s; nothing was applied"},
    };
    for (const auto& c : cases) {
        ProjectState fresh;
        LoadECL(fresh, dir / "REBUILDER.ECL");
        SetVTSBitRate(fresh, "v01", c.bitrate);
        const std::vector<std::string> bitrates = Column(fresh.StringGrid1, kColBitrate);
        const std::vector<std::string> ecl = fresh.ListBox1.Lines();
        EXPECT_EQ(ErrorOf([&] { rq::ApplyChanges(fresh); }), c.error);
        EXPECT_EQ(Column(fresh.StringGrid1, kColBitrate), bitrates);
        EXPECT_EQ(fresh.ListBox1.Lines(), ecl);
        EXPECT_EQ(fresh.VTSData[2].NewSize, c.v02Size);
        EXPECT_FALSE(fresh.Button7.Enabled());
    }
}

TEST_F(ApplyChanges, StopsAtACellThatIsNoNumber)
{
    SetVTSBitRate(s, "v01", 5400);
    s.StringGrid1.SetCell(kColBitrate, 2, "fast");
    const std::vector<std::string> inf = s.ListBox2.Lines();
    EXPECT_EQ(ErrorOf([&] { rq::ApplyChanges(s); }), "'fast' is not a valid floating point value");
    EXPECT_EQ(s.StringGrid1.Cell(kColBitrate, 1), "5400");
    EXPECT_EQ(s.ListBox2.Lines(), inf);
    EXPECT_FALSE(s.Button7.Enabled());
    // Each case: a cell made no number, and the columns of the table after
    // the failed apply.
    using Col = std::vector<std::string>;
    const struct {
        int col, row;
        const char* text;
        Col bitrates, reductions, sizes;
    } cases[] = {
        // A size stops after its row's bitrate and reduction.
        {kColKBytes, 1, "big", {"Bitrate", "5400", "3000", "3000"}, {"Reduction", "60", "50", "50"}, {"KBytes", "big", "29296.875", "29296.875"}},
        // The rows before it keep their scaled sizes.
        {kColKBytes, 2, "big", {"Bitrate", "5400", "2775", "3000"}, {"Reduction", "60", "46.25", "50"}, {"KBytes", "26367.1875", "big", "29296.875"}},
        // An aggregation stopped by a frame rate leaves the sizes it has not
        // reached scaled, those before it made anew.
        {kColFrameRate, 3, "slow", {"Bitrate", "5400", "2775", "2775"}, {"Reduction", "60", "46.25", "46.25"}, {"KBytes", "26367.1875", "16734.0087890625", "27099.609375"}},
    };
    for (const auto& c : cases) {
        ProjectState t;
        LoadECL(t, dir / "REBUILDER.ECL");
        SetVTSBitRate(t, "v01", 5400);
        // Fewer frames for v02a: its size made anew is not its old one scaled.
        t.StringGrid1.SetCell(kColLastEncode, 2, "1234");
        t.StringGrid1.SetCell(c.col, c.row, c.text);
        EXPECT_EQ(ErrorOf([&] { rq::ApplyChanges(t); }), std::string("'") + c.text + "' is not a valid floating point value");
        EXPECT_EQ(Column(t.StringGrid1, kColBitrate), c.bitrates) << c.text << c.row;
        EXPECT_EQ(Column(t.StringGrid1, kColReduction), c.reductions) << c.text << c.row;
        EXPECT_EQ(Column(t.StringGrid1, kColKBytes), c.sizes) << c.text << c.row;
    }
}

TEST_F(ApplyChanges, FiguresKeptFromTheLastReadingNeverStandInForChangedCells)
{
    // Applied twice, with the figures the aggregation kept and without them;
    // once after a cell was written under the kept figures.
    for (const bool written : {false, true}) {
        ProjectState kept = s;
        ProjectState fresh = s;
        for (ProjectState* t : {&kept, &fresh}) {
            if (written)
                t->StringGrid1.SetCell(kColBitrate, 2, "2000");
            for (const double bitrate : {5400.0, 5000.0}) {
                SetVTSBitRate(*t, "v01", bitrate);
                if (t == &fresh)
                    t->itemFigures.read.reset();
                rq::ApplyChanges(*t);
            }
        }
        // What was kept is what the cells read as.
        const ItemFiguresRead& read = *kept.itemFigures.read;
        ASSERT_TRUE(read.Of(kept.StringGrid1, NumberSeparators())) << written;
        for (int r = 1; r < kept.StringGrid1.RowCount(); ++r) {
            const ItemFigures& f = read.rows[static_cast<size_t>(r - 1)];
            const auto cell = [&](int col) { return ParseReal(kept.StringGrid1.Cell(col, r)); };
            EXPECT_EQ(std::vector<Extended>({f.bitrate, f.reduction, f.kbytes, f.rate, Extended(f.first), Extended(f.last)}),
                      std::vector<Extended>({cell(kColBitrate), cell(kColReduction), cell(kColKBytes), cell(kColFrameRate),
                                             cell(kColFirstEncode), cell(kColLastEncode)}))
                << r;
        }
        EXPECT_EQ(kept.StringGrid1, fresh.StringGrid1) << written;
        EXPECT_EQ(kept.ListBox1.Lines(), fresh.ListBox1.Lines()) << written;
        EXPECT_EQ(kept.ListBox2.Lines(), fresh.ListBox2.Lines()) << written;
        EXPECT_EQ(kept.StringGrid1.Cell(kColBitrate, 2), written ? "1930" : "2875") << written;
    }
}
