#include <gtest/gtest.h>

#include <functional>

#include "support/form_load.h"
#include "support/project_files.h"
#include "support/project_text.h"
#include "ui/status.h"

using namespace rq;

TEST(StatusTexts, SaveNamesTheFilesAndBackupsAsOnDisk)
{
    // The folder as it stands before the save: which backups an earlier save left.
    const struct {
        std::vector<std::string> files;
        const char* text;
    } cases[] = {
        {{"REBUILDER.ECL", "REBUILDER.INF"},
         "Saved REBUILDER.ECL and REBUILDER.INF; originals kept as REBUILDER.ECLBAK and REBUILDER.INFBAK"},
        {{"rebuilder.ecl", "rebuilder.inf"},
         "Saved rebuilder.ecl and rebuilder.inf; originals kept as rebuilder.ECLBAK and rebuilder.INFBAK"},
        {{"REBUILDER.ECL", "REBUILDER.INF", "REBUILDER.ECLBAK", "REBUILDER.INFBAK"},
         "Saved REBUILDER.ECL and REBUILDER.INF; backups from an earlier save kept"},
        {{"REBUILDER.ECL", "REBUILDER.INF", "REBUILDER.ECLBAK"},
         "Saved REBUILDER.ECL and REBUILDER.INF; original kept as REBUILDER.INFBAK, REBUILDER.ECLBAK from an earlier "
         "save kept"},
        {{"REBUILDER.ECL", "REBUILDER.INF", "rebuilder.infbak"},
         "Saved REBUILDER.ECL and REBUILDER.INF; original kept as REBUILDER.ECLBAK, rebuilder.infbak from an earlier "
         "save kept"},
    };
    for (const auto& c : cases) {
        rqtest::TempFolder dir;
        for (const std::string& name : c.files)
            rqtest::WriteBytes(dir / name, "x");
        const SaveFiles before = SaveFilesOf(dir / c.files[0]);
        EXPECT_EQ(SavedText(before, before), c.text);
    }
}

TEST(StatusTexts, EachRequestNamesTheBoxesItRead)
{
    // Every selector and value box holds a text of its own, so a name that
    // read the wrong box shows it; numbers are grouped as the user writes them.
    ProjectState s;
    s.ComboBox1.SetText("v01");
    s.Edit2.SetText("-7");
    s.ComboBox3.SetText("v03");
    s.Edit5.SetText("3000");
    s.ComboBox4.SetText("v04");
    s.Edit1.SetText("45.5");
    s.ComboBox5.SetText("v05");
    s.Edit7.SetText("1850");
    s.ComboBox6.SetText("v06");
    s.Edit11.SetText("4O");
    s.Form2.ComboBox1.SetText("v07");
    s.Form2.ComboBox2.SetText("v08");
    Form2Controls dialog;
    dialog.ComboBox3.SetText("Full");
    dialog.ComboBox4.SetText("3");
    dialog.ComboBox5.SetText("6");
    dialog.Edit3.SetText("12000");
    const struct {
        Step step;
        const char* text;
    } cases[] = {
        {Step::ChangeByPercentage, "Changed v01 by -7 %"},
        {Step::SetBitrate, "Set v03 to 3,000 kbit/s"},
        {Step::SetPercentage, "Set v04 to 45.5 %"},
        {Step::MaximiseViaBitrate, "Maximised v05 with the others at 1,850 kbit/s"},
        {Step::MaximiseViaPercentage, "Maximised v06 with the others at 4O %"},
        {Step::Undo, "Undid the last change"},
        {Step::Redo, "Redid the change"},
        {Step::RevertToLoaded, "Back to the project as it was loaded"},
        {Step::EncoderWidth, "Set the width of v08 to Full"},
        {Step::EncoderPasses, "Set the passes of v07 to 3"},
        {Step::EncoderPassesBelow, "Set the passes below 12,000 kbit/s to 6"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StepText(s, c.step, &dialog), c.text);
}

namespace {

// v01: 1,000 frames at 2500 kbit/s, 50 % of its size on the disc (so 100 % is
// 5,000 kbit/s); v02: 10,000 frames near 2000 kbit/s at 60 % (100 % is 3,333);
// v03: 2,000 frames at 3000 kbit/s, 70 %.
struct Loaded {
    rqtest::TempFolder dir;
    TForm1 form;
    ProjectState& s = form.s;
    std::vector<std::string> errors;
    Loaded()
    {
        rqtest::WriteBytes(dir / "REBUILDER.ECL",
                           rqtest::EclItem("V01PGC1_0", "2500", 0, 999) + rqtest::EclItem("V02PGC1_0", "1999.9", 0, 4999) +
                               rqtest::EclItem("V02PGC1_1", "2000", 0, 4999) + rqtest::EclItem("V03PGC1_0", "3000", 0, 1999));
        rqtest::WriteBytes(dir / "REBUILDER.INF",
                           rqtest::InfSection("V01PGC1_0", "50") + rqtest::InfSection("V02PGC1_0", "60") +
                               rqtest::InfSection("V02PGC1_1", "60") + rqtest::InfSection("V03PGC1_0", "70"));
        form.ShowError = [this](const std::string& text) { errors.push_back(text); };
        rqtest::Load(form, dir / "REBUILDER.ECL");
    }
    void Handler(Step step)
    {
        switch (step) {
        case Step::ChangeByPercentage: form.Button3Click(); break;
        case Step::SetBitrate: form.Button5Click(); break;
        case Step::SetPercentage: form.Button9Click(); break;
        case Step::MaximiseViaBitrate: form.Button10Click(); break;
        case Step::MaximiseViaPercentage: form.Button2Click(); break;
        case Step::EncoderWidth: form.Form2().Button8Click(); break;
        case Step::EncoderPasses: form.Form2().Button1Click(); break;
        case Step::EncoderPassesBelow: form.Form2().Button2Click(); break;
        default: FAIL();
        }
    }
    // Runs the step as the window does; the status bar's text.
    std::string Said(Step step)
    {
        const StatusBefore before = StatusBeforeOf(s);
        if (!form.Run([&] { Handler(step); }))
            return FailureText(form.ErrorSource(), form.ErrorMessage(), form.ErrorPlace());
        return ResultText(before, s, step, &form.Form2().Controls());
    }
    void Lock(const char* name) { s.CheckListBox1.SetChecked(s.CheckListBox1.IndexOf(name), true); }
};

}  // namespace

TEST(StatusTexts, EachCommandSaysWhatCameOfIt)
{
    // Each case starts from the project as loaded; `before` runs first. The
    // figures are those the main grid shows, chosen so that they do not hang
    // on the allocation the load left.
    const struct {
        std::function<void(Loaded&)> before;
        Step step;
        const char* text;
    } cases[] = {
        {[](Loaded& l) { l.s.ComboBox3.SetText("v02"); l.s.Edit5.SetText("2000"); }, Step::SetBitrate,
         "v02: 2,000 kbit/s, 60 %"},
        {[](Loaded& l) { l.s.ComboBox3.SetText("v01"); l.s.Edit5.SetText("5502"); }, Step::SetBitrate,
         "v01: 5,000 kbit/s, 100 %; asked 5,502: held at 100 %"},
        {[](Loaded& l) { l.s.ComboBox3.SetText("v01"); l.s.Edit5.SetText("400"); }, Step::SetBitrate,
         "v01: 500 kbit/s, 10 %; asked 400: held at Min Bitrate 500"},
        {[](Loaded& l) {
             l.Lock("v03");
             l.s.Edit9.SetText("2600");
             l.s.ComboBox3.SetText("v01");
             l.s.Edit5.SetText("2700");
         },
         Step::SetBitrate, "v01: 2,600 kbit/s, 52 %; asked 2,700: held at Max Bitrate 2,600"},
        // The others fall below the minimum; raising them takes size back from v02.
        {[](Loaded& l) { l.s.ComboBox3.SetText("v02"); l.s.Edit5.SetText("3300"); }, Step::SetBitrate,
         "v02: 2,699 kbit/s, 81 %; asked 3,300: moved by the limit correction"},
        {[](Loaded& l) { l.s.ComboBox4.SetText("v01"); l.s.Edit1.SetText("120"); }, Step::SetPercentage,
         "v01: 5,000 kbit/s, 100 %; asked 120 %: held at 100 %"},
        {[](Loaded& l) { l.s.ComboBox4.SetText("v01"); l.s.Edit1.SetText("40.5"); }, Step::SetPercentage,
         "v01: 2,025 kbit/s, 40.5 %"},
        {[](Loaded& l) {
             l.s.ComboBox3.SetText("v02");
             l.s.Edit5.SetText("2000");
             l.form.Button5Click();
         },
         Step::SetBitrate, "v02 unchanged at 2,000 kbit/s, 60 %"},
        {[](Loaded& l) {
             l.s.ComboBox3.SetText("v02");
             l.s.Edit5.SetText("2000");
             l.form.Button5Click();
             l.Lock("v01");
             l.Lock("v03");
             l.s.ComboBox1.SetText("v02");
         },
         Step::ChangeByPercentage, "v02 unchanged at 2,000 kbit/s, 60 %: the others are all locked"},
        {[](Loaded& l) { l.Lock("v02"); l.s.ComboBox3.SetText("v02"); }, Step::SetBitrate,
         "v02 is locked: nothing changed"},
        // With v02 locked, v03 is the last free title set and keeps what v01 gave up.
        {[](Loaded& l) { l.Lock("v02"); l.s.ComboBox5.SetText("v02"); }, Step::MaximiseViaBitrate,
         "v02 is locked: it keeps 1,999 kbit/s, 60 %; the others at 1,850 kbit/s, held at their limits: v03"},
        {[](Loaded& l) { l.Lock("v02"); l.Lock("v03"); l.s.ComboBox5.SetText("v02"); }, Step::MaximiseViaBitrate,
         "v02 is locked: nothing changed"},
        {[](Loaded& l) { l.s.ComboBox4.SetText("v09"); }, Step::SetPercentage,
         "No title set is named v09: nothing changed"},
        {[](Loaded& l) { l.s.ComboBox5.SetText("v02"); }, Step::MaximiseViaBitrate,
         "v02 maximised: 2,294 kbit/s, 68.8 %; the others at 1,850 kbit/s"},
        // The others' value is never below "Min Bitrate".
        {[](Loaded& l) { l.s.ComboBox5.SetText("v02"); l.s.Edit7.SetText("300"); }, Step::MaximiseViaBitrate,
         "v02 maximised: 2,699 kbit/s, 81 %; the others at 500 kbit/s"},
        {[](Loaded& l) {
             l.s.ComboBox3.SetText("v03");
             l.s.Edit5.SetText("2000");
             l.form.Button5Click();
             l.Lock("v03");
             l.s.ComboBox5.SetText("v02");
         },
         Step::MaximiseViaBitrate, "v02 maximised: 2,264 kbit/s, 67.9 %; the others at 1,850 kbit/s, locked: v03"},
        {[](Loaded& l) { l.s.ComboBox6.SetText("v02"); l.s.Edit11.SetText("120"); }, Step::MaximiseViaPercentage,
         "v02 maximised: 1,431 kbit/s, 42.9 %; the others at 120 %, held at their limits: v01, v03"},
        {[](Loaded& l) { l.s.ComboBox1.SetText("v01"); l.s.Edit2.SetText("5OO"); }, Step::ChangeByPercentage,
         "Change by (Main): '5OO' is not a valid floating point value."},
        {[](Loaded& l) { l.s.Edit8.SetText("5OO"); l.s.ComboBox3.SetText("v02"); }, Step::SetBitrate,
         "Min Bitrate (Internal Calculation fields): '5OO' is not a valid floating point value."},
        {[](Loaded& l) { l.s.Edit9.SetText("x"); l.s.Edit5.SetText("x"); }, Step::SetBitrate,
         "Set to kbit (Main): 'x' is not a valid floating point value."},
        {[](Loaded& l) { l.s.Edit1.SetText("x"); l.s.ComboBox4.SetText("v01"); }, Step::SetPercentage,
         "Set to % (Main): 'x' is not a valid floating point value."},
        // Read as a real number the percentage is fine; "Min Bitrate" is also
        // read as a whole number.
        {[](Loaded& l) { l.s.Edit8.SetText("50.5"); l.s.Edit1.SetText("50.5"); l.s.ComboBox4.SetText("v01"); },
         Step::SetPercentage, "Min Bitrate (Internal Calculation fields): '50.5' is not a valid integer value."},
        {[](Loaded& l) { l.s.Edit7.SetText("1850.0"); }, Step::MaximiseViaBitrate,
         "Bitrate to Max: and all others to (Main): '1850.0' is not a valid integer value."},
        {[](Loaded& l) { l.s.Edit11.SetText(""); }, Step::MaximiseViaPercentage,
         "Percentage to Max: and all others to (Main): '' is not a valid integer value."},
        {[](Loaded& l) { l.form.Form2().Edit3.SetText("2000.5"); }, Step::EncoderPassesBelow,
         "Bitrates below (ECL Parameter Modifer): '2000.5' is not a valid integer value."},
        // The encoder dialog: how many segments hold the value, how many changed.
        {[](Loaded& l) { l.s.Form2.ComboBox2.SetText("v02"); l.form.Form2().ComboBox3.SetText("Half"); },
         Step::EncoderWidth, "v02: 2 segments at half width (2 changed)"},
        {[](Loaded& l) { l.s.Form2.ComboBox1.SetText("All"); l.form.Form2().ComboBox4.SetText("3"); },
         Step::EncoderPasses, "All: 4 segments at 3 passes (4 changed)"},
        {[](Loaded& l) {
             l.s.Form2.ComboBox1.SetText("v01");
             l.form.Form2().ComboBox4.SetText("5");
             l.form.Form2().Button1Click();
         },
         Step::EncoderPasses, "v01: 1 segment at 5 passes: nothing changed"},
        {[](Loaded& l) { l.s.Form2.ComboBox2.SetText("v09"); }, Step::EncoderWidth,
         "No segment in v09: nothing changed"},
        {[](Loaded& l) { l.form.Form2().Edit3.SetText("2000"); l.form.Form2().ComboBox5.SetText("3"); },
         Step::EncoderPassesBelow, "Below 2,000 kbit/s: 1 segment at 3 passes (1 changed)"},
        {[](Loaded& l) { l.form.Form2().Edit3.SetText("1000"); }, Step::EncoderPassesBelow,
         "No segment below 1,000 kbit/s: nothing changed"},
    };
    for (const auto& c : cases) {
        Loaded l;
        c.before(l);
        EXPECT_EQ(l.Said(c.step), c.text);
    }
}

TEST(StatusTexts, LocksSelectorsAndFailuresInWords)
{
    Loaded l;
    // Locking the title set the selectors show sends them to the longest one.
    StatusBefore before = StatusBeforeOf(l.s);
    l.s.ComboBox3.SetText("v01");
    before = StatusBeforeOf(l.s);
    l.form.UserToggleLock(0);
    EXPECT_EQ(LockText(before, l.s, 0), "Locked v01; its selectors now show v02");
    before = StatusBeforeOf(l.s);
    l.form.UserToggleLock(0);
    EXPECT_EQ(LockText(before, l.s, 0), "Unlocked v01");
    // A name typed that is no title set falls back too.
    l.form.UserToggleLock(1);
    l.s.ComboBox6.SetText("zz");
    before = StatusBeforeOf(l.s);
    l.form.UserToggleLock(1);
    EXPECT_EQ(LockText(before, l.s, 1), "Unlocked v02; selectors now show v02");
    EXPECT_EQ(LockText(before, l.s, 3), "");

    // Choosing in the set-percentage selector fits the slider to that title
    // set, and puts every title set back to its size as loaded.
    l.form.UserSetSelectorText(l.s.ComboBox4, "v03");
    before = StatusBeforeOf(l.s);
    l.form.UserSetSelectorText(l.s.ComboBox4, "v03");
    const std::string fitted = SelectorText(before, l.s);
    EXPECT_FALSE(IsResetText(fitted));
    EXPECT_EQ(fitted.rfind("Percentage slider fitted to v03: ", 0), 0U) << fitted;
    l.s.ComboBox3.SetText("v02");
    l.s.Edit5.SetText("2500");
    l.form.Button5Click();
    before = StatusBeforeOf(l.s);
    l.form.UserSetSelectorText(l.s.ComboBox4, "v01");
    EXPECT_EQ(SelectorText(before, l.s), "Allocation reset by choosing v01: Ctrl+Z brings it back");
    EXPECT_TRUE(IsResetText(SelectorText(before, l.s)));

    EXPECT_EQ(FailureText("Could not load /d/REBUILDER.ECL", "File not found", "in /d/REBUILDER.INF"),
              "Could not load /d/REBUILDER.ECL: File not found in /d/REBUILDER.INF");
    EXPECT_EQ(FailureText("", "Floating point overflow", ""), "Floating point overflow.");
    EXPECT_EQ(MissingProjectText("/d/REBUILDER.ECL"), "No project at /d/REBUILDER.ECL: the command line's /ecl= names no file");
    EXPECT_EQ(MissingProjectText(""), "No project: the command line has no /ecl=");

    // A failure names its own place only, never the one of the failure before.
    EXPECT_FALSE(l.form.Run([] { throw AppError("x").At(ErrorPlace{"/d/REBUILDER.ECL", 3, {}, {}, {}}); }));
    EXPECT_EQ(l.form.ErrorPlace(), "in /d/REBUILDER.ECL, line 3");
    EXPECT_FALSE(l.form.Run([] { throw AppError("y"); }));
    EXPECT_EQ(l.form.ErrorPlace(), "");
    EXPECT_FALSE(l.form.Run([] { throw AppError("x").At(ErrorPlace{"/d/REBUILDER.ECL", 3, {}, {}, {}}); }));
    EXPECT_TRUE(l.form.Run([] {}));
    EXPECT_EQ(l.form.ErrorPlace(), "");
    EXPECT_EQ(l.form.ErrorMessage(), "");
}
