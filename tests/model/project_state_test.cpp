// The project state is a value: a copy holds what the original held, and
// changing either leaves the other as it was.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "project/reader.h"
#include "support/written_views.h"

using namespace rq;

namespace {

TEST(ProjectState, ACopyIsIndependentOfItsOriginal)
{
    const struct {
        const char* what;
        std::function<void(ProjectState&)> change;
    } cases[] = {
        {"an item cell", [](ProjectState& s) { s.StringGrid1.SetCell(kColPass, 1, "9"); }},
        {"an item row more", [](ProjectState& s) { s.StringGrid1.SetRowCount(s.StringGrid1.RowCount() + 1); }},
        {"an ECL line", [](ProjectState& s) { s.ListBox1.Set(0, "[changed]"); }},
        {"an INF line added", [](ProjectState& s) { s.ListBox2.Add("extra"); }},
        {"the INF text emptied", [](ProjectState& s) { s.ListBox2.Clear(); }},
        {"a view cell", [](ProjectState& s) { s.StringGrid3.SetCell(1, 1, "0"); }},
        {"a lock", [](ProjectState& s) { s.CheckListBox1.SetChecked(0, !s.CheckListBox1.Checked(0)); }},
        {"a selector", [](ProjectState& s) { s.ComboBox5.SetText("v09"); }},
        {"a box", [](ProjectState& s) { s.Edit7.SetText("1"); }},
        {"a slider", [](ProjectState& s) { (void)s.TrackBar2.SetPosition(s.TrackBar2.Min()); }},
        {"a record's last bit", [](ProjectState& s) { s.VTSData[1].NewSize = std::nextafter(s.VTSData[1].NewSize, 1e9); }},
        {"a button", [](ProjectState& s) { s.Button7.SetEnabled(!s.Button7.Enabled()); }},
    };
    ProjectState loaded;
    LoadECL(loaded, RQ_EXAMPLES_DIR "/REBUILDER.ECL");
    Written(loaded);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (bool changeTheCopy : {true, false}) {
            ProjectState original = loaded;
            ProjectState copy = original;
            EXPECT_EQ(copy, original);
            EXPECT_TRUE(copy.StringGrid1.SharesCellsWith(original.StringGrid1));  // the copy cost little
            c.change(changeTheCopy ? copy : original);
            EXPECT_NE(copy, original);
            EXPECT_EQ(changeTheCopy ? original : copy, loaded);
        }
    }
}

}  // namespace
