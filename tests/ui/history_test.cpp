#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "engine/redistribution.h"
#include "support/project_files.h"
#include "support/error_of.h"
#include "support/form_load.h"
#include "support/shown_state.h"
#include "ui/form1.h"
#include "ui/form2.h"
#include "ui/history.h"

using namespace rq;
using rqtest::Load;

namespace {

const std::string kExample = std::string(RQ_EXAMPLES_DIR) + "/REBUILDER.ECL";

// A step of each kind after a load, run as the window runs them.
const std::vector<std::function<void(TForm1&)>> kSteps = {
    [](TForm1& f) { f.Run([&] { f.Button10Click(); }); },  // maximise
    [](TForm1& f) {                                        // a slider drag
        f.BeginStepGroup();
        for (int p : {400, 420, 450})
            f.Run([&] { f.UserMoveSlider(f.s.TrackBar2, p); });
        f.EndStepGroup();
    },
    [](TForm1& f) { f.Run([&] { f.UserToggleLock(2); }); },  // a lock click
    [](TForm1& f) {                                                       // passes for every item
        f.Run([&] {
            f.Form2().ComboBox1().SetText("All");
            f.Form2().ComboBox4.SetText("3");
            f.Form2().Button1Click();
        });
    },
    [](TForm1& f) {  // set bitrate, ended by an error after it moved the size
        f.Run([&] {
            f.s.Edit8.SetText("x");
            f.Button5Click();
        });
    },
    [](TForm1& f) { f.Run([&] { f.Button4Click(); }); },  // apply
};

TEST(History, UndoRedoAndRevertPutBackWhatEveryControlShowed)
{
    // One form is looked at after every step; the other only after each undo,
    // redo or revert, so its views come back still unwritten, with their cache.
    TForm1 seen, unseen;
    Load(seen, kExample);
    const auto loaded = ShownState(seen);
    for (TForm1* f : {&seen, &unseen}) {
        if (f == &unseen)
            Load(unseen, kExample);
        f->Run([&] { f->UserSetSelectorText(f->s.ComboBox1, "v0"); });  // typing a name is no step
        f->Run([&] { f->Button11Click(); });                // nor is opening the dialog
        EXPECT_FALSE(f->CanUndo());
    }
    std::vector<Shown> states = {ShownState(seen)};
    for (const auto& step : kSteps) {
        step(seen);
        step(unseen);
        states.push_back(ShownState(seen));
        EXPECT_NE(states.back(), states[states.size() - 2]);
    }
    const std::uint64_t grid = unseen.s.StringGrid3.Version(), slider = unseen.s.TrackBar2.Version();
    for (size_t k = kSteps.size(); k-- > 0;) {
        unseen.Undo();
        EXPECT_EQ(Differences(ShownState(unseen), states[k]), std::vector<std::string>{}) << "undo " << k;
    }
    EXPECT_FALSE(unseen.CanUndo());
    EXPECT_GT(unseen.s.StringGrid3.Version(), grid);  // the windows repaint
    EXPECT_GT(unseen.s.TrackBar2.Version(), slider);
    for (size_t k = 1; k <= kSteps.size(); ++k) {
        unseen.Redo();
        EXPECT_EQ(Differences(ShownState(unseen), states[k]), std::vector<std::string>{}) << "redo " << k;
    }
    EXPECT_FALSE(unseen.CanRedo());

    ASSERT_TRUE(unseen.CanRevert());
    unseen.RevertToLoaded();
    EXPECT_EQ(Differences(ShownState(unseen), loaded), std::vector<std::string>{});
    EXPECT_FALSE(unseen.CanRevert());
    unseen.Undo();  // the revert is a step too
    EXPECT_EQ(Differences(ShownState(unseen), states.back()), std::vector<std::string>{});
}

TEST(History, TheOldestStepsGoFirstPastTheBound)
{
    struct Case {
        History::Limits limits;
        size_t steps;
        int oldestPosition;  // of the slider, once every step kept is undone
    };
    const Case cases[] = {
        {{100, size_t{256} << 20}, 8, 491},  // as loaded
        {{3, size_t{256} << 20}, 3, 440},
        {{100, 1}, 0, 470},  // not even one state fits
    };
    EXPECT_EQ(TForm1().StepHistory().Bytes(), 0u);  // a new start holds nothing
    for (const Case& c : cases) {
        TForm1 f;
        f.StepHistory().limits = c.limits;
        Load(f, kExample);
        for (int p = 0; p < 8; ++p)
            f.Run([&] { f.UserMoveSlider(f.s.TrackBar2, 400 + 10 * p); });
        EXPECT_EQ(f.StepHistory().Steps(), c.steps);
        while (f.CanUndo())
            f.Undo();
        EXPECT_EQ(f.s.TrackBar2.Position(), c.oldestPosition) << c.steps;
    }
}

TEST(History, OpenProjectIsANewStartThenALoad)
{
    rqtest::TempFolder dir;
    rqtest::WriteBytes(dir / "REBUILDER.ECL", "[ECL]\r\nitem_count=2\r\n" + rqtest::EclItem("V01PGC1_0", "2500", 0, 999) +
                                                  rqtest::EclItem("V02PGC1_0", "3000", 0, 4999));
    rqtest::WriteBytes(dir / "REBUILDER.INF",
                       rqtest::InfSection("V01PGC1_0", "50") + rqtest::InfSection("V02PGC1_0", "60"));
    TForm1 used, fresh;
    Load(used, kExample);
    for (const auto& step : kSteps)
        step(used);
    const auto before = ShownState(used);
    const size_t steps = used.StepHistory().Steps();
    EXPECT_EQ(ErrorOf([&] { used.OpenProject(dir / "MISSING.ECL"); }), "File not found");
    EXPECT_EQ(ShownState(used), before);
    // A project that fails part way through its load leaves the one shown as
    // it was: figures, history and unsaved work.
    rqtest::TempFolder broken;
    rqtest::WriteBytes(broken / "REBUILDER.ECL", rqtest::EclItem("V01PGC1_0", "2500", 0, 999));
    EXPECT_EQ(ErrorOf([&] { used.OpenProject(broken / "REBUILDER.ECL"); }), "File not found");
    EXPECT_EQ(Differences(ShownState(used), before), std::vector<std::string>{});
    EXPECT_EQ(used.StepHistory().Steps(), steps);
    EXPECT_TRUE(used.CanUndo() && used.CanRevert() && used.HasUnsavedWork());
    used.Undo();
    EXPECT_NE(ShownState(used), before);
    used.Redo();

    const std::uint64_t version = used.Version();
    used.OpenProject(dir / "REBUILDER.ECL");
    Load(fresh, dir / "REBUILDER.ECL");
    EXPECT_EQ(Differences(ShownState(used), ShownState(fresh)), std::vector<std::string>{});
    EXPECT_NE(used.Version(), version);
    EXPECT_FALSE(used.CanUndo() || used.CanRedo() || used.CanRevert() || used.HasUnsavedWork());
    // Loading again by the Load button leaves no step to redo either.
    kSteps[0](used);
    used.Undo();
    Load(used, dir / "REBUILDER.ECL");
    EXPECT_FALSE(used.CanRedo());
}

TEST(History, UnsavedWorkIsKnown)
{
    rqtest::TempFolder dir;
    rqtest::CopyExample(dir);
    TForm1 f;
    Load(f, dir / "REBUILDER.ECL");
    const auto passes = [&](const char* vts, const char* count) {
        f.Form2().ComboBox1().SetText(vts);
        f.Form2().ComboBox4.SetText(count);
        f.Form2().Button1Click();
    };
    std::optional<Shown> saved;
    const struct {
        const char* what;
        std::function<void()> run;
        bool needsApply, unsaved;
        size_t steps;  // to undo and to redo
    } cases[] = {
        {"loaded", [] {}, false, false, 0},
        {"maximised", [&] { f.Button10Click(); }, true, true, 1},
        {"applied", [&] { f.Button4Click(); }, false, true, 2},
        {"applied again, nothing new", [&] { f.Button4Click(); }, false, true, 2},
        {"saved",
         [&] {
             f.Button7Click();
             saved = ShownState(f);
         },
         false, false, 2},
        {"passes written as they are", [&] { passes("v02", "2"); }, false, false, 2},
        {"locked", [&] { f.Run([&] { f.UserToggleLock(0); }); }, false, false, 3},
        {"width changed", [&] { f.Form2().Button8Click(); }, true, true, 4},
        {"passes changed", [&] { passes("v02", "3"); }, true, true, 5},
        {"undone to the width change", [&] { f.Undo(); }, true, true, 5},
        {"undone", [&] { f.Undo(); }, false, false, 5},
        {"slider moved", [&] { f.UserMoveSlider(f.s.TrackBar2, f.s.TrackBar2.Min()); }, true, true, 4},
        {"undone again", [&] { f.Undo(); }, false, false, 4},
        {"the lock undone", [&] { f.Undo(); }, false, false, 4},
        {"undone past the save", [&] { f.Undo(); }, true, true, 4},
        {"back to the load", [&] { f.Undo(); }, false, true, 4},
        {"reverted to the files as saved",
         [&] {
             f.RevertToLoaded();
             EXPECT_EQ(Differences(ShownState(f), *saved), std::vector<std::string>{});
         },
         false, false, 1},
        {"passes changed and applied: only the ECL text differs",
         [&] {
             passes("v02", "3");
             f.Button4Click();
         },
         false, true, 3},
    };
    for (const auto& c : cases) {
        c.run();
        EXPECT_EQ(f.NeedsApply(), c.needsApply) << c.what;
        EXPECT_EQ(f.HasUnsavedWork(), c.unsaved) << c.what;
        EXPECT_EQ(f.CanSave(), c.unsaved) << c.what;
        EXPECT_EQ(f.StepHistory().Steps(), c.steps) << c.what;
    }
    EXPECT_EQ(f.s.ListBox2, saved->project.ListBox2);
}

// Undo and Redo name the step they take back or bring back, its figure
// grouped as the grids group it.
TEST(History, StepsAreNamed)
{
    TForm1 f;
    EXPECT_EQ(f.Caption("*"), "Ratequill V0.55a (10/05/2004)");
    Load(f, kExample);
    EXPECT_EQ(f.Caption("*"), "REBUILDER.ECL* \xE2\x80\x93 Ratequill V0.55a (10/05/2004)");
    EXPECT_EQ(f.UndoName(), "");
    const auto typed = [&](EditBox& box, const char* text, void (TForm1::*click)()) {
        return [&f, &box, text, click] {
            box.SetText(text);
            (f.*click)();
        };
    };
    const auto dialog = [&](void (TForm2::*click)()) { return [&f, click] { (f.Form2().*click)(); }; };
    const struct {
        std::function<void()> run;
        const char* name;
    } cases[] = {
        {typed(f.s.Edit5, "4000", &TForm1::Button5Click), "Set v02 to 4,000 kbit/s"},
        {typed(f.s.Edit1, "45.5", &TForm1::Button9Click), "Set v02 to 45.5 %"},
        {typed(f.s.Edit2, "-7", &TForm1::Button3Click), "Change v02 by -7 %"},
        {typed(f.s.Edit2, "1E1", &TForm1::Button3Click), "Change v02 by 1E1 %"},
        {typed(f.s.Edit7, "1850", &TForm1::Button10Click), "Maximise v02 with the others at 1,850 kbit/s"},
        {typed(f.s.Edit11, "40", &TForm1::Button2Click), "Maximise v02 with the others at 40 %"},
        {[&] { f.UserMoveSlider(f.s.TrackBar1, 12500); }, "Set v02 to 9,000 kbit/s"},
        {[&] { f.UserMoveSlider(f.s.TrackBar2, 455); }, "Set v02 to 45.5 %"},
        {[&] { f.UserToggleLock(2); }, "Lock v03"},
        {[&] { f.UserToggleLock(2); }, "Unlock v03"},
        {[&] { f.UserSetSelectorText(f.s.ComboBox4, "v03"); }, "Choose v03"},
        {dialog(&TForm2::Button1Click), "Set the passes of v02 to 5"},
        {dialog(&TForm2::Button8Click), "Set the width of v02 to Half"},
        {dialog(&TForm2::Button2Click), "Set the passes below 9,000 kbit/s to 3"},
        {[&] { f.Button4Click(); }, "Apply Changes"},
        {[&] { f.RevertToLoaded(); }, "Revert to saved"},
        {[&] { SetVTSBitRate(f.s, "v02", 3000); }, ""},  // a change no command names: no name of another's
    };
    f.Form2().ComboBox1().SetText("v02");
    f.Form2().ComboBox2().SetText("v02");
    f.Form2().ComboBox3.SetText("Half");
    f.Form2().ComboBox4.SetText("5");
    f.Form2().ComboBox5.SetText("3");
    f.Form2().Edit3.SetText("9000");
    for (const auto& c : cases) {
        EXPECT_TRUE(f.Run(c.run)) << c.name;
        EXPECT_EQ(f.UndoName(), c.name);
        f.Undo();
        EXPECT_EQ(f.RedoName(), c.name);
        f.Redo();
    }
}

TEST(History, OnlyABatchJobThatLeavesTheWindowOpenKeepsItsSteps)
{
    for (const auto& [ending, steps] : {std::pair{"", 2}, std::pair{"/nogui", 2}, std::pair{"/autoexit", 0}}) {
        TForm1 f;
        f.Arguments = {"/ecl=" + kExample, "/vts=v02", "/min=1850", "/max_via_bitrate", ending};
        f.Timer1Timer();
        EXPECT_EQ(f.Visible(), std::string(ending) == "/nogui") << ending;  // the hidden window came back
        EXPECT_EQ(f.StepHistory().Steps(), static_cast<size_t>(steps)) << ending;  // maximise, apply
        EXPECT_EQ(f.CanRevert(), steps > 0) << ending;
        if (steps == 0)
            continue;
        const auto applied = ShownState(f);
        const std::uint64_t version = f.Version();
        f.Undo();
        EXPECT_NE(ShownState(f), applied) << ending;
        EXPECT_NE(f.Version(), version) << ending;  // the window redraws
        EXPECT_TRUE(f.CanRedo()) << ending;
        f.Redo();
        EXPECT_EQ(ShownState(f), applied) << ending;
    }
}

TEST(History, AFailedLoadLeavesNothingToRevertTo)
{
    // The ECL file is read, then the INF file is missing: the load ends half done.
    rqtest::TempFolder dir;
    rqtest::WriteBytes(dir / "REBUILDER.ECL", rqtest::EclItem("V01PGC1_0", "2500", 0, 999));
    TForm1 f;
    Load(f, kExample);
    kSteps[0](f);
    ASSERT_TRUE(f.CanRevert());
    f.s.Edit10.SetText(dir / "REBUILDER.ECL");
    EXPECT_FALSE(f.Run([&] { f.Button1Click(); }));
    EXPECT_FALSE(f.CanUndo() || f.CanRevert() || f.HasUnsavedWork());
    f.Run([&] { f.UserMoveSlider(f.s.TrackBar2, f.s.TrackBar2.Min()); });  // one more command
    EXPECT_FALSE(f.CanRevert());
    const auto now = ShownState(f);
    f.RevertToLoaded();
    EXPECT_EQ(ShownState(f), now);
}

}  // namespace
