// The two form models without a toolkit: the start-up batch run with what the
// window shows and how the program ends, one command at a time, the lock
// list's effect on the selectors, and the encoder parameter dialog.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/form_load.h"
#include "support/project_files.h"
#include "ui/form1.h"
#include "ui/form2.h"

using namespace rq;
using namespace rqtest;

namespace {

// v01 has 1,000 frames, v02 10,000 in two segments (1999.9 and 2000 kbit/s),
// v03 2,000.
void WriteSmallProject(const TempFolder& dir)
{
    WriteBytes(dir / "REBUILDER.ECL", EclItem("V01PGC1_0", "2500", 0, 999) + EclItem("V02PGC1_0", "1999.9", 0, 4999) +
                                          EclItem("V02PGC1_1", "2000", 0, 4999) + EclItem("V03PGC1_0", "3000", 0, 1999));
    WriteBytes(dir / "REBUILDER.INF", InfSection("V01PGC1_0", "50") + InfSection("V02PGC1_0", "60") +
                                          InfSection("V02PGC1_1", "60") + InfSection("V03PGC1_0", "70"));
}

// A main window as the program sets it up, recording what reaches the user.
struct Window {
    TForm1 form;
    std::string shown;            // "-" hidden, "+" shown, in order
    std::vector<std::string> boxes;  // "message: ..." and "error: ..."
    std::vector<int> ends;        // the statuses the program was asked to end with

    Window()
    {
        form.OnVisibilityChanged = [this] { shown += form.Visible() ? "+" : "-"; };
        form.ShowMessage = [this](const std::string& t) { boxes.push_back("message: " + t); };
        form.ShowError = [this](const std::string& t) { boxes.push_back("error: " + t); };
        form.Terminate = [this](int status) { ends.push_back(status); };
        form.Show();  // the event loop shows the window before the first tick
        shown.clear();
    }

    void Load(const std::string& path) { rqtest::Load(form, path); }
};

std::vector<std::string> PassesAndWidths(const ProjectState& s)
{
    std::vector<std::string> out;
    for (int r = 1; r < s.StringGrid1.RowCount(); ++r)
        out.push_back(std::string(s.StringGrid1.Cell(kColPass, r)).append(s.StringGrid1.Cell(kColHalfWidth, r)));
    return out;
}

}  // namespace

TEST(StartUpRun, WindowMessagesAndHowTheProgramEnds)
{
    const std::string missing = "message: ECL File not found or no ECL= specified on commandline";
    const std::string job[] = {"/vts=v02", "/min=1850", "/max_via_bitrate"};
    struct Case {
        std::vector<std::string> args;  // "ECL" stands for /ecl= of the project
        std::string shown;
        std::vector<std::string> boxes;
        std::vector<int> ends;
        int status;  // what the program ends with when the window is closed
        bool saved;
        std::string othersPercent = {};  // the percentage box after a job by percentage
    };
    const Case cases[] = {
        {{}, "", {}, {}, 0, false},
        {{"ECL", job[0], job[1], job[2], "/autosave", "/nogui"}, "-", {}, {0}, 0, true},
        {{"ECL", job[0], job[1], job[2], "/nogui"}, "-+", {}, {}, 0, false},
        {{"ECL", job[0], job[1], job[2], "/nogui", "/autoexit"}, "-+", {}, {0}, 0, false},
        {{"ECL", job[0], job[1], job[2], "/autosave", "/autoexit"}, "", {}, {0}, 0, true},
        // Incomplete: nothing loaded, nothing saved, no message.
        {{"ECL", job[0], job[2], "/autosave", "/nogui"}, "-+", {}, {}, 0, false},
        {{"ECL", job[0], "/min=30", "/max_via_percent", "/nogui"}, "-+", {}, {}, 0, false, "30"},
        {{"/ecl=nowhere/REBUILDER.ECL", "/nogui", "/autosave", "/autoexit"}, "-+", {missing}, {1}, 1, false},
        {{"/nogui"}, "-+", {missing}, {}, 1, false},
        // An error ends the run at once; a hidden window would leave nothing
        // to close, so the program ends with status 1.
        {{"ECL", job[0], "/min=18x0", job[2], "/autosave", "/nogui"},
         "-", {"error: '18x0' is not a valid integer value."}, {1}, 1, false},
        // With the window visible the user carries on by hand, /autoexit or
        // not; closing the window ends the program with status 1.
        {{"ECL", job[0], "/min=18x0", job[2], "/autosave", "/autoexit"},
         "", {"error: '18x0' is not a valid integer value."}, {}, 1, false},
        {{"ECL", job[0], "/min=18x0", job[2], "/autosave"}, "", {"error: '18x0' is not a valid integer value."}, {}, 1,
         false},
    };
    for (const Case& c : cases) {
        TempFolder dir;
        CopyExample(dir);
        Window w;
        for (const std::string& a : c.args)
            w.form.Arguments.push_back(a == "ECL" ? "/ecl=" + dir / "REBUILDER.ECL" : a);
        const std::string where = testing::PrintToString(c.args);
        w.form.Timer1Timer();
        EXPECT_EQ(w.shown, c.shown) << where;
        EXPECT_EQ(w.boxes, c.boxes) << where;
        EXPECT_EQ(w.ends, c.ends) << where;
        EXPECT_EQ(w.form.BatchExitCode(), c.status) << where;
        EXPECT_EQ(w.form.Visible(), c.shown.empty() || c.shown.back() == '+') << where;
        EXPECT_EQ(std::filesystem::exists(dir / "REBUILDER.ECLBAK"), c.saved) << where;
        if (!c.othersPercent.empty()) {
            EXPECT_EQ(w.form.s.Edit11.Text(), c.othersPercent) << where;
        }
        // The run happens once per process: showing the window re-arms the
        // timer, and the next tick does nothing.
        w.form.Hide();
        w.form.Show();
        EXPECT_TRUE(w.form.Timer1Enabled());
        w.form.Timer1Timer();
        EXPECT_EQ(w.boxes.size(), c.boxes.size()) << where;
        EXPECT_EQ(w.ends, c.ends) << where;
    }
}

// The user's moves of a slider run its handler when the thumb moved; the
// program's own moves run nothing.
TEST(FormCommands, SlidersRunTheirHandlerForTheUserOnly)
{
    TempFolder dir;
    WriteSmallProject(dir);
    Window w;
    w.Load(dir / "REBUILDER.ECL");
    ProjectState& s = w.form.s;
    s.Edit1.SetText("x");
    ASSERT_TRUE(s.TrackBar2.SetPosition(s.TrackBar2.Max()));
    EXPECT_EQ(s.Edit1.Text(), "x");
    w.form.UserMoveSlider(s.TrackBar2, s.TrackBar2.Position());  // no move
    EXPECT_EQ(s.Edit1.Text(), "x");
    w.form.UserMoveSlider(s.TrackBar2, s.TrackBar2.Max() + 5);  // pushed past the end: no move either
    EXPECT_EQ(s.Edit1.Text(), "x");
    s.Edit5.SetText("x");
    w.form.UserMoveSlider(s.TrackBar1, 3250);
    EXPECT_EQ(s.Edit5.Text(), "3250");
}

TEST(FormCommands, OneAtATime)
{
    TempFolder dir;
    CopyExample(dir);
    Window w;
    // Clicks that arrive while a load lets pending events through are refused.
    int offered = 0;
    int ran = 0;
    w.form.ProcessMessages = [&] {
        ++offered;
        EXPECT_TRUE(w.form.Busy());
        EXPECT_FALSE(w.form.Run([&] { ++ran; }));
    };
    w.Load(dir / "REBUILDER.ECL");
    EXPECT_GT(offered, 0);
    EXPECT_EQ(ran, 0);
    EXPECT_FALSE(w.form.Busy());
    // A failing command is reported and ends; the next one runs.
    w.form.s.Edit7.SetText("18x0");
    EXPECT_FALSE(w.form.Run([&] { w.form.Button10Click(); }));
    EXPECT_EQ(w.boxes, std::vector<std::string>{"error: '18x0' is not a valid integer value."});
    EXPECT_TRUE(w.form.Run([&] { ++ran; }));
    EXPECT_EQ(ran, 1);
}

// Locking refills the five selectors of the main page with the unlocked title
// sets; a selector keeps its title set while that stays unlocked, otherwise it
// shows the title set with the most frames (v02), even a locked one.
TEST(LockList, SelectorsKeepAFreeChoiceElseTheLongestTitleSet)
{
    struct Case {
        std::vector<int> toggles;  // lock list entries, v01 = 0
        std::vector<std::string> before;
        std::vector<std::string> items;
        std::vector<std::string> after;
    };
    const Case cases[] = {
        {{0}, {"v01", "v02", "v03", "v01", "v03"}, {"v02", "v03"}, {"v02", "v02", "v03", "v02", "v03"}},
        {{1}, {"v02", "v02", "v01", "v03", "v02"}, {"v01", "v03"}, {"v02", "v02", "v01", "v03", "v02"}},
        {{0, 2}, {"v01", "v03", "v01", "v03", "v01"}, {"v02"}, {"v02", "v02", "v02", "v02", "v02"}},
        // Unlocking puts the title set back in every list; the selectors that
        // moved away from it at the lock stay where they went.
        {{0, 0}, {"v03", "v01", "v03", "v01", "v03"}, {"v01", "v02", "v03"}, {"v03", "v02", "v03", "v02", "v03"}},
    };
    for (const Case& c : cases) {
        TempFolder dir;
        WriteSmallProject(dir);
        Window w;
        w.Load(dir / "REBUILDER.ECL");
        ProjectState& s = w.form.s;
        ComboBox* selectors[] = {&s.ComboBox1, &s.ComboBox3, &s.ComboBox4, &s.ComboBox5, &s.ComboBox6};
        for (size_t i = 0; i < 5; ++i)
            selectors[i]->SetText(c.before[i]);
        for (int entry : c.toggles)
            ASSERT_TRUE(w.form.Run([&] { w.form.UserToggleLock(entry); }));
        const std::string where = testing::PrintToString(c.toggles);
        for (size_t i = 0; i < 5; ++i) {
            EXPECT_EQ(selectors[i]->Items(), c.items) << where << " selector " << i;
            EXPECT_EQ(selectors[i]->Text(), c.after[i]) << where << " selector " << i;
        }
    }
}

// The item grid's pass count and width flag per segment ("20" = 2 passes,
// full width): v01, v02 at 1999.9 and 2000 kbit/s, v03.
TEST(EncoderDialog, PassesAndWidthPerTitleSet)
{
    struct Case {
        const char* what;
        std::function<void(TForm2&)> act;
        std::vector<std::string> itemsAfter;
    };
    const auto passes = [](const char* selector, const char* count) {
        return [=](TForm2& d) {
            d.ComboBox1().SetText(selector);
            d.ComboBox4.SetText(count);
            d.Button1Click();
        };
    };
    const auto passesBelow = [](const char* threshold, const char* count) {
        return [=](TForm2& d) {
            d.Edit3.SetText(threshold);
            d.ComboBox5.SetText(count);
            d.Button2Click();
        };
    };
    const auto width = [](const char* selector, const char* fullOrHalf) {
        return [=](TForm2& d) {
            d.ComboBox2().SetText(selector);
            d.ComboBox3.SetText(fullOrHalf);
            d.Button8Click();
        };
    };
    const Case cases[] = {
        {"4 passes for v02", passes("v02", "4"), {"20", "40", "40", "20"}},
        {"6 passes for all", passes("All", "6"), {"60", "60", "60", "60"}},
        // Strictly below the threshold: 1999.9 but not 2000.
        {"3 passes below 2000", passesBelow("2000", "3"), {"20", "30", "20", "20"}},
        {"3 passes below 2001", passesBelow("2001", "3"), {"20", "30", "30", "20"}},
        {"half width for v03", width("v03", "Half"), {"20", "20", "20", "21"}},
        {"half width for all", width("All", "Half"), {"21", "21", "21", "21"}},
    };
    for (const Case& c : cases) {
        TempFolder dir;
        WriteSmallProject(dir);
        Window w;
        w.Load(dir / "REBUILDER.ECL");
        EXPECT_TRUE(w.form.Run([&] { c.act(w.form.Form2()); })) << c.what;
        EXPECT_EQ(PassesAndWidths(w.form.s), c.itemsAfter) << c.what;
    }
}

// Showing the dialog lists "All" and the unlocked title sets of the main
// page; closing it returns the main window to its first page.
TEST(EncoderDialog, ShowListsTheFreeTitleSetsAndCloseReturnsToMain)
{
    TempFolder dir;
    WriteSmallProject(dir);
    Window w;
    w.Load(dir / "REBUILDER.ECL");
    TForm2& d = w.form.Form2();
    ASSERT_TRUE(w.form.Run([&] { w.form.UserToggleLock(0); }));
    // Opened from the main page: the lists are rebuilt now, without v01.
    w.form.Button11Click();
    EXPECT_EQ(w.form.PageIndex(), 1);
    EXPECT_TRUE(d.Visible());
    EXPECT_TRUE(d.StayOnTop());
    const std::vector<std::string> lists = {"All", "v02", "v03"};
    EXPECT_EQ(d.ComboBox1().Items(), lists);
    EXPECT_EQ(d.ComboBox2().Items(), lists);
    // Unlocking while it is open lists v01 again at once.
    ASSERT_TRUE(w.form.Run([&] { w.form.UserToggleLock(0); }));
    EXPECT_EQ(d.ComboBox1().Items(), (std::vector<std::string>{"All", "v01", "v02", "v03"}));
    d.Button3Click();
    EXPECT_FALSE(d.Visible());
    EXPECT_EQ(w.form.PageIndex(), 0);
    d.Show();
    EXPECT_EQ(d.ComboBox1().Items(), (std::vector<std::string>{"All", "v01", "v02", "v03"}));
}
