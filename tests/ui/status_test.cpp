#include <gtest/gtest.h>

#include "support/project_files.h"
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

TEST(StatusTexts, EachCommandNamesTheBoxesItRead)
{
    // Every selector and value box holds a text of its own, so a message that
    // read the wrong box shows it.
    ProjectState s;
    s.ComboBox1.SetText("v01");
    s.Edit2.SetText("-7");
    s.ComboBox3.SetText("v03");
    s.Edit5.SetText("3000");
    s.ComboBox4.SetText("v04");
    s.Edit1.SetText("45");
    s.ComboBox5.SetText("v05");
    s.Edit7.SetText("1850");
    s.ComboBox6.SetText("v06");
    s.Edit11.SetText("40");
    const struct {
        Step step;
        const char* text;
    } cases[] = {
        {Step::ChangeByPercentage, "Changed v01 by -7 %"},
        {Step::SetBitrate, "Set v03 to 3000 kbit/s"},
        {Step::SetPercentage, "Set v04 to 45 %"},
        {Step::MaximiseViaBitrate, "Maximised v05 with the others at 1850 kbit/s"},
        {Step::MaximiseViaPercentage, "Maximised v06 with the others at 40 %"},
        {Step::Undo, "Undid the last change"},
        {Step::Redo, "Redid the change"},
        {Step::RevertToLoaded, "Back to the project as it was loaded"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StepText(s, c.step), c.text);

    s.CheckListBox1.Add("v01");
    s.CheckListBox1.Add("v02");
    s.CheckListBox1.SetChecked(1, true);
    EXPECT_EQ(LockText(s, 0), "Unlocked v01");
    EXPECT_EQ(LockText(s, 1), "Locked v02");
    EXPECT_EQ(LockText(s, 2), "");
}
