#include "ui/status.h"

#include <algorithm>

#include "engine/vts_walk.h"
#include "model/numbers.h"
#include "platform/system.h"
#include "project/paths.h"
#include "project/save.h"

namespace rq {

namespace {

std::string Counted(int n, const char* one, const char* many)
{
    return FormatInteger(n) + ' ' + (n == 1 ? one : many);
}

std::string Kilobytes(double kbytes) { return FormatFloat("%.0n", kbytes) + " KB"; }

}  // namespace

double NewTotal(const ProjectState& s)
{
    double total = 0;
    for (int k = 1; k <= LastVTS(s); ++k)
        if (!s.VTSData[static_cast<size_t>(k)].Name.empty())
            total += s.VTSData[static_cast<size_t>(k)].NewSize;
    return total;
}

std::string LoadedText(const ProjectState& s)
{
    int titleSets = 0;
    for (int k = 1; k <= LastVTS(s); ++k)
        if (!s.VTSData[static_cast<size_t>(k)].Name.empty())
            ++titleSets;
    const int segments = std::max(s.StringGrid1.RowCount() - 1, 0);
    return "Loaded " + s.ProjectPath + ": " + Counted(segments, "segment", "segments") + " in " +
           Counted(titleSets, "title set", "title sets");
}

SaveFiles SaveFilesOf(const std::string& projectPath)
{
    // The very names the save writes, as they are on disk.
    const ProjectFiles paths = FilesToSave(projectPath);
    SaveFiles files;
    files.ecl = FileNameOf(paths.ecl);
    files.inf = FileNameOf(paths.inf);
    files.eclBackup = FileNameOf(paths.eclBackup);
    files.infBackup = FileNameOf(paths.infBackup);
    files.eclBackupBefore = FileExists(paths.eclBackup);
    files.infBackupBefore = FileExists(paths.infBackup);
    return files;
}

std::string SavedText(const SaveFiles& before, const SaveFiles& after)
{
    std::string text = "Saved " + after.ecl + " and " + after.inf + "; ";
    if (before.eclBackupBefore && before.infBackupBefore)
        return text + "backups from an earlier save kept";
    if (!before.eclBackupBefore && !before.infBackupBefore)
        return text + "originals kept as " + after.eclBackup + " and " + after.infBackup;
    // Only one of the pair had a backup: say which is which.
    const std::string& fresh = before.eclBackupBefore ? after.infBackup : after.eclBackup;
    const std::string& earlier = before.eclBackupBefore ? after.eclBackup : after.infBackup;
    return text + "original kept as " + fresh + ", " + earlier + " from an earlier save kept";
}

std::string StepText(const ProjectState& s, Step step)
{
    switch (step) {
    case Step::ChangeByPercentage: return "Changed " + s.ComboBox1.Text() + " by " + s.Edit2.Text() + " %";
    case Step::SetBitrate: return "Set " + s.ComboBox3.Text() + " to " + s.Edit5.Text() + " kbit/s";
    case Step::SetPercentage: return "Set " + s.ComboBox4.Text() + " to " + s.Edit1.Text() + " %";
    case Step::MaximiseViaBitrate:
        return "Maximised " + s.ComboBox5.Text() + " with the others at " + s.Edit7.Text() + " kbit/s";
    case Step::MaximiseViaPercentage:
        return "Maximised " + s.ComboBox6.Text() + " with the others at " + s.Edit11.Text() + " %";
    case Step::ApplyChanges: return "Applied the new bitrates and reductions to both texts; Save writes them";
    case Step::Undo: return "Undid the last change";
    case Step::Redo: return "Redid the change";
    case Step::RevertToLoaded: return "Back to the project as it was loaded";
    }
    return {};
}

std::string LockText(const ProjectState& s, int entry)
{
    if (entry < 0 || entry >= s.CheckListBox1.Count())
        return {};
    return (s.CheckListBox1.Checked(entry) ? "Locked " : "Unlocked ") + s.CheckListBox1.Text(entry);
}

std::string GroupedNumber(const std::string& typed)
{
    Extended value = 0;
    if (!TryParseReal(typed, value))
        return typed;
    const char decimal = NumberSeparators().decimal;
    const size_t point = typed.find(decimal);
    const std::string whole = typed.substr(0, point);
    // Only plain digits are grouped: a sign, a space or an exponent stays as typed.
    if (whole.empty() || whole.find_first_not_of("0123456789") != std::string::npos)
        return typed;
    return FormatFloat("%.0n", ParseReal(whole)) + (point == std::string::npos ? "" : typed.substr(point));
}

std::string ReadOnlyText(const std::string& refusal)
{
    return "; read-only (" + refusal + "): Save is disabled";
}

std::string SaveTip(bool projectLoaded, const std::string& refusal, bool unsaved)
{
    if (!projectLoaded)
        return "Save is disabled: no project is loaded";
    if (!refusal.empty())
        return "Save is disabled: " + refusal;
    if (!unsaved)
        return "Save is disabled: the files on disk hold the project as shown";
    return "Save the project (applies the changes first when needed)";
}

std::string TotalsText(double newTotal, double loadedTotal)
{
    return "New total " + Kilobytes(newTotal) + " against " + Kilobytes(loadedTotal) + " loaded";
}

}  // namespace rq
