#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "support/form_load.h"
#include "support/project_files.h"
#include "run/window_free.h"
#include "support/written_views.h"
#include "ui/form1.h"

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
        rows.push_back(std::string(g.Cell(0, r)) + " " + std::string(g.Cell(1, r)) + " " + std::string(g.Cell(2, r)) + " " +
                       std::string(g.Cell(3, r)));
    return rows;
}

// Loading shows the project as it is on disk, and placing the percentage
// slider, at the load or by choosing a title set, sets nothing: whether or not
// the slider's former position lies inside the new range.
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
         {"v01 3264 3264 48.9", "v02 3469 3469 49.1", "v03 2870 2870 51.8", "v04 2489 2489 48.3",
          "v05 3805 3805 51.9", "v06 2682 2682 49.5"},
         332, 629, 491},
        {"range above 750", WriteSmallFeature, [](TForm1&) {},
         {"v01 600 600 95", "v02 3000 3000 97", "v03 2500 2500 92"}, 781, 1000, 950},
        // Choosing a title set puts every one back to its size on disk; the
        // thumb shows the chosen one's former percentage, which nothing sets.
        {"then a title set whose range leaves the thumb out", WriteSmallFeature,
         [](TForm1& f) {
             f.Run([&] { f.UserMoveSlider(f.s.TrackBar2, 800); });
             f.Run([&] { f.UserSetSelectorText(f.s.ComboBox4, "v03"); });
         },
         {"v01 600 600 95", "v02 3000 3000 97", "v03 2500 2500 92"}, 834, 1000, 1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        rqtest::TempFolder dir;
        TForm1 f;
        ASSERT_NO_FATAL_FAILURE(rqtest::Load(f, c.project(dir)));
        c.then(f);
        EXPECT_EQ(MainGridRows(f), c.mainGrid);
        EXPECT_EQ(f.s.TrackBar2.Min(), c.min);
        EXPECT_EQ(f.s.TrackBar2.Max(), c.max);
        EXPECT_EQ(f.s.TrackBar2.Position(), c.position);
    }
}

std::string Report(std::vector<std::string> args)
{
    std::ostringstream out, err;
    EXPECT_EQ(RunReport(args, out, err), 0) << err.str();
    return out.str();
}

std::string Tables(TForm1& f)
{
    std::ostringstream out;
    PrintTitleSetTables(out, f.s);
    return out.str();
}

// The window shows what ratequill-cli --report prints: after a load, and after
// the job's maximise, which stays a step of its own to undo; the saved job is
// what Revert goes back to.
TEST(Load, TheWindowShowsWhatTheReportPrints)
{
    const struct {
        std::vector<std::string> job;
        const char* step;  // its maximise, as Undo names it
    } cases[] = {
        {{"/vts=v02", "/min=1850", "/max_via_bitrate"}, "Maximise v02 with the others at 1,850 kbit/s"},
        {{"/vts=v02", "/min=40", "/max_via_percent"}, "Maximise v02 with the others at 40 %"},
        {{"/vts=v03", "/min=2500", "/max_via_bitrate"}, "Maximise v03 with the others at 2,500 kbit/s"},
    };
    for (const auto& [job, step] : cases) {
        SCOPED_TRACE(step);
        rqtest::TempFolder cli, window;
        rqtest::CopyExample(cli);
        rqtest::CopyExample(window);
        const std::string asLoaded = Report({"/ecl=" + cli / "REBUILDER.ECL"});
        std::vector<std::string> args = job;
        args.push_back("/ecl=" + cli / "REBUILDER.ECL");
        const std::string maximised = Report(args);

        TForm1 loaded;
        ASSERT_NO_FATAL_FAILURE(rqtest::Load(loaded, window / "REBUILDER.ECL"));
        EXPECT_EQ(Tables(loaded), asLoaded);

        // The job runs as the window's timer runs it: as a command.
        TForm1 f;
        f.Arguments = job;
        f.Arguments.push_back("/ecl=" + window / "REBUILDER.ECL");
        f.Arguments.push_back("/autosave");
        ASSERT_TRUE(f.Run([&] { f.Timer1Timer(); }));
        const std::string saved = Tables(f);
        EXPECT_FALSE(f.HasUnsavedWork() || f.CanRevert());
        EXPECT_EQ(f.UndoName(), "Apply Changes");
        f.Undo();
        EXPECT_EQ(Tables(f), maximised);
        EXPECT_EQ(f.UndoName(), step);
        f.Undo();
        EXPECT_EQ(Tables(f), asLoaded);
        EXPECT_FALSE(f.CanUndo());
        EXPECT_TRUE(f.HasUnsavedWork());
        f.RevertToLoaded();
        EXPECT_EQ(Tables(f), saved);
        EXPECT_FALSE(f.HasUnsavedWork());
    }
}

}  // namespace
