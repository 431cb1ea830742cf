#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "project/project_files.h"
#include "support/error_of.h"
#include "support/shown_state.h"
#include "ui/form1.h"
#include "ui/form2.h"
#include "ui/history.h"

using namespace rq;

namespace {

const std::string kExample = std::string(RQ_EXAMPLES_DIR) + "/REBUILDER.ECL";

void Load(TForm1& f, const std::string& path)
{
    f.s.Edit10.SetText(path);
    ASSERT_TRUE(f.Run([&] { f.Button1Click(); }));
}

struct Step {
    const char* what;
    std::function<void(TForm1&)> run;
};

// Load, then a step of each kind; run as the window runs them.
const std::vector<Step>& Steps()
{
    static const std::vector<Step> steps = {
        {"maximise via bitrate", [](TForm1& f) { f.Run([&] { f.Button10Click(); }); }},
        {"slider drag",
         [](TForm1& f) {
             f.BeginStepGroup();
             for (int p : {400, 420, 450})
                 f.Run([&] { f.s.TrackBar2.SetPosition(p); });
             f.EndStepGroup();
         }},
        {"lock click", [](TForm1& f) { f.Run([&] { f.s.CheckListBox1.UserToggle(2); }); }},
        {"passes for all",
         [](TForm1& f) {
             f.Run([&] {
                 f.Form2().ComboBox1().SetText("All");
                 f.Form2().ComboBox4.SetText("3");
                 f.Form2().Button1Click();
             });
         }},
        {"set bitrate ended by an error",
         [](TForm1& f) {
             EXPECT_FALSE(f.Run([&] {
                 f.s.Edit8.SetText("x");
                 f.Button5Click();
             }));
         }},
        {"apply", [](TForm1& f) { f.Run([&] { f.Button4Click(); }); }},
    };
    return steps;
}

TEST(History, UndoAndRedoPutBackWhatEveryControlShowed)
{
    // One form is looked at after every step; the other only after each undo
    // or redo, so its views come back still unwritten, with their cache.
    TForm1 seen;
    TForm1 unseen;
    std::string error;
    unseen.ShowError = [&](const std::string& e) { error = e; };
    Load(seen, kExample);
    Load(unseen, kExample);
    std::vector<std::vector<std::string>> states = {ShownState(seen)};
    for (const Step& step : Steps()) {
        step.run(seen);
        step.run(unseen);
        states.push_back(ShownState(seen));
        EXPECT_NE(states.back(), states[states.size() - 2]) << step.what;
    }
    EXPECT_EQ(error, "'x' is not a valid floating point value.");

    const std::uint64_t mainGrid = unseen.s.StringGrid3.Version();
    const std::uint64_t slider = unseen.s.TrackBar2.Version();
    for (size_t k = Steps().size(); k-- > 0;) {
        SCOPED_TRACE(std::string("undo ") + Steps()[k].what);
        ASSERT_TRUE(unseen.CanUndo());
        unseen.Undo();
        EXPECT_EQ(Differences(ShownState(unseen), states[k]), std::vector<std::string>{});
    }
    EXPECT_FALSE(unseen.CanUndo());
    EXPECT_GT(unseen.s.StringGrid3.Version(), mainGrid);  // the windows repaint
    EXPECT_GT(unseen.s.TrackBar2.Version(), slider);
    for (size_t k = 0; k < Steps().size(); ++k) {
        SCOPED_TRACE(std::string("redo ") + Steps()[k].what);
        ASSERT_TRUE(unseen.CanRedo());
        unseen.Redo();
        EXPECT_EQ(Differences(ShownState(unseen), states[k + 1]), std::vector<std::string>{});
    }
    EXPECT_FALSE(unseen.CanRedo());
}

TEST(History, RevertIsAStepBackToTheLoadedState)
{
    TForm1 f;
    Load(f, kExample);
    EXPECT_FALSE(f.CanRevert());
    const auto loaded = ShownState(f);
    Steps()[0].run(f);
    Steps()[2].run(f);
    const auto changed = ShownState(f);
    ASSERT_TRUE(f.CanRevert());
    f.RevertToLoaded();
    EXPECT_EQ(ShownState(f), loaded);
    EXPECT_FALSE(f.CanRevert());
    f.Undo();
    EXPECT_EQ(ShownState(f), changed);
    f.Undo();
    f.Undo();
    EXPECT_EQ(ShownState(f), loaded);
    EXPECT_FALSE(f.CanRevert());
}

TEST(History, NoStepForWhatChangesNoFigure)
{
    TForm1 f;
    Load(f, kExample);
    f.Run([&] { f.s.ComboBox1.UserSetText("v0"); });  // typing a name
    f.Run([&] { f.Button11Click(); });                // opening the dialog
    EXPECT_FALSE(f.CanUndo());
}

TEST(History, TheOldestStepsGoFirstPastTheBound)
{
    struct Case {
        History::Limits limits;
        size_t steps;
        int oldestPosition;  // where undoing every step kept leaves the slider
    };
    const Case cases[] = {
        {{100, size_t{256} << 20}, 8, 491},  // as loaded
        {{3, size_t{256} << 20}, 3, 440},
        {{100, 1}, 0, 470},  // not even one state fits
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.steps);
        TForm1 f;
        f.StepHistory().limits = c.limits;
        Load(f, kExample);
        for (int p = 0; p < 8; ++p)
            f.Run([&] { f.s.TrackBar2.SetPosition(400 + 10 * p); });
        EXPECT_EQ(f.StepHistory().Steps(), c.steps);
        for (size_t k = 0; k < c.steps; ++k)
            f.Undo();
        EXPECT_FALSE(f.CanUndo());
        EXPECT_EQ(f.s.TrackBar2.Position(), c.oldestPosition);
    }
}

TEST(History, OpenProjectIsANewStartThenALoad)
{
    rqtest::TempFolder dir;
    rqtest::WriteBytes(dir / "REBUILDER.ECL", "[ECL]\r\nitem_count=2\r\n" + rqtest::EclItem("V01PGC1_0", "2500", 0, 999) +
                                                  rqtest::EclItem("V02PGC1_0", "3000", 0, 4999));
    rqtest::WriteBytes(dir / "REBUILDER.INF", rqtest::InfSection("V01PGC1_0", "50") + rqtest::InfSection("V02PGC1_0", "60"));

    TForm1 used;
    Load(used, kExample);
    for (const Step& step : Steps())
        step.run(used);
    const auto before = ShownState(used);
    EXPECT_EQ(ErrorOf([&] { used.OpenProject(dir / "MISSING.ECL"); }), "File not found");
    EXPECT_EQ(ShownState(used), before);

    const std::uint64_t version = used.Version();
    used.OpenProject(dir / "REBUILDER.ECL");
    TForm1 fresh;
    Load(fresh, dir / "REBUILDER.ECL");
    EXPECT_EQ(ShownState(used), ShownState(fresh));
    EXPECT_EQ(used.s.ProjectPath, fresh.s.ProjectPath);
    EXPECT_NE(used.Version(), version);
    EXPECT_FALSE(used.CanUndo());
    EXPECT_FALSE(used.CanRedo());
    EXPECT_FALSE(used.CanRevert());
    EXPECT_FALSE(used.HasUnsavedWork());
}

TEST(History, UnsavedWorkIsKnown)
{
    rqtest::TempFolder dir;
    for (const char* name : {"REBUILDER.ECL", "REBUILDER.INF"})
        std::filesystem::copy_file(std::string(RQ_EXAMPLES_DIR) + "/" + name, dir / name);
    TForm1 f;
    EXPECT_FALSE(f.HasUnsavedWork());
    Load(f, dir / "REBUILDER.ECL");
    struct Case {
        const char* what;
        std::function<void()> run;
        bool needsApply, unsaved;
    };
    const Case cases[] = {
        {"loaded", [] {}, false, false},
        {"maximised", [&] { f.Button10Click(); }, true, true},
        {"applied", [&] { f.Button4Click(); }, false, true},
        {"saved", [&] { f.Button7Click(); }, false, false},
        {"locked", [&] { f.Run([&] { f.s.CheckListBox1.UserToggle(0); }); }, false, false},
        {"width changed", [&] { f.Form2().Button8Click(); }, true, true},
        {"undone", [&] { f.Undo(); }, false, false},
        {"slider moved", [&] { f.s.TrackBar2.SetPosition(f.s.TrackBar2.Min()); }, true, true},
        {"undone again", [&] { f.Undo(); }, false, false},
    };
    for (const Case& c : cases) {
        c.run();
        EXPECT_EQ(f.NeedsApply(), c.needsApply) << c.what;
        EXPECT_EQ(f.HasUnsavedWork(), c.unsaved) << c.what;
    }
}

TEST(History, OnlyABatchJobThatLeavesTheWindowOpenKeepsItsSteps)
{
    struct Case {
        std::vector<std::string> ending;
        size_t steps;  // maximise and apply
    };
    const Case cases[] = {{{}, 2}, {{"/autoexit"}, 0}};
    for (const Case& c : cases) {
        TForm1 f;
        f.Arguments = {"/ecl=" + kExample, "/vts=v02", "/min=1850", "/max_via_bitrate"};
        f.Arguments.insert(f.Arguments.end(), c.ending.begin(), c.ending.end());
        f.Timer1Timer();
        EXPECT_EQ(f.StepHistory().Steps(), c.steps);
        EXPECT_EQ(f.CanRevert(), c.steps > 0);
    }
}

}  // namespace
