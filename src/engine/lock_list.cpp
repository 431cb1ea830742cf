#include "engine/lock_list.h"

#include <algorithm>

namespace rq {

bool NotLocked(const ProjectState& s, const std::string& name)
{
    return !s.CheckListBox1.AnyCheckedWithText(name);
}

int VTSCount(const ProjectState& s)
{
    return s.CheckListBox1.Count() - s.CheckListBox1.CheckedCount();
}

void LockVTS(ProjectState& s, const std::string& name, bool locked)
{
    if (VTSCount(s) <= 1)
        return;
    CheckList& list = s.CheckListBox1;
    for (int i = 0; i < list.Count(); ++i)
        if (list.Text(i) == name)
            list.SetChecked(i, locked);
}

LockSnapshot TakeLockSnapshot(const ProjectState& s)
{
    LockSnapshot snap{};
    const CheckList& list = s.CheckListBox1;
    const int n = std::min(list.Count(), kVTSRecords);
    for (int i = 0; i < n; ++i)
        snap[static_cast<size_t>(i)] = list.Checked(i);
    return snap;
}

void RestoreLockSnapshot(ProjectState& s, const LockSnapshot& snapshot)
{
    CheckList& list = s.CheckListBox1;
    const int n = std::min(list.Count(), kVTSRecords);
    for (int i = 0; i < n; ++i)
        list.SetChecked(i, snapshot[static_cast<size_t>(i)]);
}

}  // namespace rq
