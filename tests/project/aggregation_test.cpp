#include <gtest/gtest.h>

#include "model/numbers.h"
#include "project/aggregation.h"
#include "views/grid_views.h"
#include "support/project_files.h"
#include "support/written_views.h"

using namespace rq;
using namespace rqtest;

namespace {

struct Item {
    std::string title, bitrate;
    int first, last;
    std::string rate, reduction;
};

// Fills the item table as a load would, without files.
void PutItems(ProjectState& s, const std::vector<Item>& items)
{
    WriteHeaders(s);
    s.StringGrid1.SetRowCount(static_cast<int>(items.size()) + 1);
    for (int r = 1; r <= static_cast<int>(items.size()); ++r) {
        const Item& it = items[static_cast<size_t>(r - 1)];
        for (const auto& [col, text] : std::vector<std::pair<int, std::string>>{
                 {kColTitle, it.title},
                 {kColBitrate, it.bitrate},
                 {kColPass, "2"},
                 {kColHalfWidth, "0"},
                 {kColReduction, it.reduction},
                 {kColFirstEncode, FormatInteger(it.first)},
                 {kColLastEncode, FormatInteger(it.last)},
                 {kColFrameRate, it.rate}})
            s.StringGrid1.SetCell(col, r, text);
    }
}

}  // namespace

TEST(ProcessLoadedECL, WorkedExamples)
{
    ProjectState s;
    s.Edit2.SetText("250");
    PutItems(s, {{"v01pgc1_0", "4500", 0, 999, "25", "50"}, {"v02pgc1_0", "5000", 0, 2396, "23.97", "60"}});
    ProcessLoadedECL(s);
    EXPECT_EQ(s.StringGrid1.Cell(kColKBytes, 1), "21972.65625");
    EXPECT_EQ(s.StringGrid1.Cell(kColKBytes, 2), "61035.15625");
    EXPECT_EQ(s.VTSData[1].Frames, 1000);
    EXPECT_EQ(s.VTSData[1].BitrateAvg, 4500);
    EXPECT_EQ(s.VTSData[2].BitrateAvg, 5000);
    EXPECT_EQ(s.VTSData[2].NewOverallPercent, 60);
    EXPECT_EQ(s.VTSData[2].TempPercentChange, 100);
    EXPECT_EQ(s.Label2.Caption(), "83007.8125");
    EXPECT_EQ(s.ComboBox1.Text(), "v02");
    EXPECT_EQ(s.ComboBox6.Text(), "v02");
    EXPECT_EQ(s.Form2.ComboBox1.Text(), "v01");
    EXPECT_EQ(s.Form2.ComboBox2.Text(), "v01");
    EXPECT_EQ(s.Edit2.Text(), "101");
    for (const Button* b : {&s.Button2, &s.Button3, &s.Button4, &s.Button5, &s.Button9, &s.Button10, &s.Button11})
        EXPECT_TRUE(b->Enabled());
    EXPECT_FALSE(s.Button7.Enabled());
}

TEST(ProcessLoadedECL, SumsATitleSetSplitOverSeveralRuns)
{
    ProjectState s;
    PutItems(s, {{"v01a", "4500", 0, 999, "25", "54.9"},
                 {"v02a", "4500", 0, 99, "25", "50"},
                 {"v01b", "4500", 0, 1999, "29.97", "55"}});
    ProcessLoadedECL(s);
    const TVTSData& v = s.VTSData[1];
    EXPECT_EQ(v.Frames, 3000);
    EXPECT_EQ(v.KBytes, static_cast<double>(21972.65625L + ParseReal(s.StringGrid1.Cell(kColKBytes, 3))));
    EXPECT_EQ(v.FrameRate, 25);  // that of the set's first item
    EXPECT_DOUBLE_EQ(v.OriginalAveragePercent, 54.95);
    EXPECT_EQ(v.NewSize, v.KBytes);
    EXPECT_EQ(s.VTSData[2].Frames, 100);
}

TEST(ProcessLoadedECL, ListsOnlyTheTitleSetsInUse)
{
    ProjectState s;
    PutItems(s, {{"v02", "3000", 0, 499, "25", "50"}, {"v05", "3000", 0, 99, "25", "50"},
                 {"v03", "3000", 0, 499, "25", "50"}, {"v00x", "3000", 0, 9999, "25", "50"}});
    ProcessLoadedECL(s);
    EXPECT_EQ(s.StringGrid2.RowCount(), 6);
    EXPECT_EQ(s.ComboBox4.Items(), (std::vector<std::string>{"v02", "v03", "v05"}));
    EXPECT_EQ(s.CheckListBox1.Count(), 3);
    EXPECT_EQ(s.ComboBox3.Text(), "v02");       // equal lengths: the lower number
    EXPECT_EQ(s.Form2.ComboBox1.Text(), "v05");
    EXPECT_EQ(Written(s).StringGrid2.Cell(0, 4), "");
    EXPECT_EQ(s.VTSData[0].Frames, 10000);      // filled, but outside every walk
    EXPECT_EQ(s.Label2.Caption(), "16113.28125");

    // A second run on the unchanged table arrives at the same state.
    const auto before = s.VTSData;
    const std::vector<std::string> kbytes = Column(s.StringGrid1, kColKBytes);
    ProcessLoadedECL(s);
    for (size_t k = 0; k < before.size(); ++k)
        EXPECT_EQ(s.VTSData[k].NewBitRateAvg, before[k].NewBitRateAvg) << k;
    EXPECT_EQ(Column(s.StringGrid1, kColKBytes), kbytes);
    EXPECT_EQ(s.Label2.Caption(), "16113.28125");
}

TEST(ProcessLoadedECL, EndsWithTheSpecifiedErrors)
{
    const struct {
        std::vector<Item> items;
        const char* error;
    } cases[] = {
        {{{"v", "3000", 0, 9, "25", "50"}}, "'' is not a valid integer value"},
        {{{"v-1", "3000", 0, 9, "25", "50"}}, "'-1' is not a valid integer value"},
        {{{"men", "3000", 0, 9, "25", "50"}}, "'en' is not a valid integer value"},
        {{{"v01", "3000", 0, 2147483647, "25", "50"}}, "Integer overflow"},
        {{{"v01", "3000", -2147483647, 2147483646, "25", "50"}}, "Integer overflow"},
        {{{"v01", "3000", 0, 9, "25", ""}}, "'' is not a valid floating point value"},
        {{{"v01", "3000", 0, -1, "25", "50"}}, "Invalid floating point operation"},
        {{{"v01", "3000", 0, 9, "25", "50"}, {"v01", "1000", 0, -11, "25", "50"}},
         "Floating point division by zero"},
        {{{"v01", "3000", 0, 9, "25", "50"}, {"v02", "0", 0, 9, "25", "50"}}, "Invalid floating point operation"},
    };
    for (const auto& c : cases) {
        ProjectState s;
        PutItems(s, c.items);
        EXPECT_EQ(ErrorOf([&] { ProcessLoadedECL(s); }), c.error) << c.items[0].title;
    }
}
