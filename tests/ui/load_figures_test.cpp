#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "support/form_load.h"
#include "support/project_files.h"
#include "ui/form1.h"
#include "support/written_views.h"

using namespace rq;

namespace {

// A main feature at a low bitrate whose percentage cannot go below 78 (the
// minimum bitrate stops it), beside two title sets close to their full size.
std::string WriteSmallFeature(const rqtest::TempFolder& dir)
{
    rqtest::WriteBytes(dir / "REBUILDER.ECL", "[ECL]\r\nitem_count=3\r\n" + rqtest::EclItem("V01PGC1_0", "600", 0, 9999) +
                                                  rqtest::EclItem("V02PGC1_0", "3000", 0, 999) +
                                                  rqtest::EclItem("V03PGC1_0", "2500", 0, 1999));
    rqtest::WriteBytes(dir / "REBUILDER.INF", rqtest::InfSection("V01PGC1_0", "95") +
                                                  rqtest::InfSection("V02PGC1_0", "97") +
                                                  rqtest::InfSection("V03PGC1_0", "92"));
    return dir / "REBUILDER.ECL";
}

std::vector<std::string> MainGridRows(TForm1& f)
{
    std::vector<std::string> rows;
    const TextGrid& g = Written(f.s).StringGrid3;
    for (int r = 1; r < g.RowCount(); ++r)
        rows.push_back(g.Cell(0, r) + " " + g.Cell(1, r) + " " + g.Cell(2, r) + " " + g.Cell(3, r));
    return rows;
}

// Loading shows the project as it is on disk: no title set moves by more than
// what the tenth-of-a-percent cut of the chosen one frees, whether or not the
// slider's former position lies inside the new range.
TEST(Load, KeepsTheFiguresOnDisk)
{
    struct Case {
        const char* what;
        std::function<std::string(const rqtest::TempFolder&)> project;
        std::function<void(TForm1&)> then;
        std::vector<std::string> mainGrid;  // VTS, previous and new bitrate, percentage
        int min, max, position;
    };
    const Case cases[] = {
        {"the example (range below 750)",
         [](const rqtest::TempFolder&) { return std::string(RQ_EXAMPLES_DIR) + "/REBUILDER.ECL"; },
         [](TForm1&) {},
         {"v01 3264 3282 49.2", "v02 3469 3463 49.1", "v03 2870 2886 52.1", "v04 2489 2503 48.5",
          "v05 3805 3826 52.2", "v06 2682 2697 49.8"},
         332, 629, 491},
        {"range above 750", WriteSmallFeature, [](TForm1&) {},
         {"v01 600 600 95", "v02 3000 3000 97", "v03 2500 2500 92"}, 781, 1000, 950},
        // The picked title set goes back to its former percentage; the others
        // give way in proportion to their sizes as loaded.
        {"then a title set whose range leaves the thumb out", WriteSmallFeature,
         [](TForm1& f) {
             f.Run([&] { f.UserMoveSlider(f.s.TrackBar2, 800); });
             f.Run([&] { f.UserSetSelectorText(f.s.ComboBox4, "v03"); });
         },
         {"v01 600 571 90.4", "v02 3000 2855 92.3", "v03 2500 2717 100"}, 834, 1000, 1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        rqtest::TempFolder dir;
        TForm1 f;
        ASSERT_NO_FATAL_FAILURE(rqtest::Load(f, c.project(dir)));
        for (int k = 1; k <= f.s.VTSRangeEnd(); ++k) {
            const TVTSData& v = f.s.VTSData[static_cast<size_t>(k)];
            EXPECT_LE(std::abs(v.NewBitRateAvg - v.BitrateAvg), 0.01 * v.BitrateAvg) << v.Name;
        }
        c.then(f);
        EXPECT_EQ(MainGridRows(f), c.mainGrid);
        EXPECT_EQ(f.s.TrackBar2.Min(), c.min);
        EXPECT_EQ(f.s.TrackBar2.Max(), c.max);
        EXPECT_EQ(f.s.TrackBar2.Position(), c.position);
    }
}

}  // namespace
