#include "ui/status.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "engine/vts_walk.h"
#include "model/arith.h"
#include "model/errors.h"
#include "model/numbers.h"
#include "platform/system.h"
#include "project/paths.h"
#include "project/save.h"
#include "views/grid_views.h"

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

namespace {

// A number as the user writes it: the general format with the thousands
// grouped ("5,502", "1,234.5").
std::string Grouped(Extended v)
{
    std::string text = FormatGeneral(v);
    if (text.find_first_of("Ee") != std::string::npos)
        return text;
    const Separators& seps = NumberSeparators();
    const size_t first = text[0] == '-' ? 1 : 0;
    size_t end = text.find(seps.decimal);
    if (end == std::string::npos)
        end = text.size();
    for (size_t at = end; at > first + 3; at -= 3)
        text.insert(at - 3, 1, seps.thousands);
    return text;
}

// A box's number grouped, or its text as typed when it is no number.
std::string GroupedText(const std::string& text)
{
    Extended v = 0;
    return TryParseReal(text, v) ? Grouped(v) : text;
}

// A figure read back from its text; nullopt when it is no number.
std::optional<Extended> Number(std::string_view text)
{
    Extended v = 0;
    if (!TryParseReal(text, v))
        return std::nullopt;
    return v;
}

std::optional<Extended> WholeNumber(const std::string& text)
{
    std::int32_t v = 0;
    if (!TryParseInteger(text, v))
        return std::nullopt;
    return v;
}

// Equal but for the last bits of the arithmetic.
bool Near(Extended a, Extended b) { return fabsl(a - b) <= 1e-6L * std::max(1.0L, fabsl(b)); }

// The record a selector names, as the commands find it; 0 for none.
int RecordOf(const ProjectState& s, const std::string& name)
{
    const TVTSData* v = FindVTS(s, name);
    return v ? static_cast<int>(v - s.VTSData.data()) : 0;
}

bool Locked(const ProjectState& s, const std::string& name) { return s.CheckListBox1.AnyCheckedWithText(name); }

// "4,372 kbit/s, 54.8 %": the title set's new bitrate and overall percentage
// exactly as the main grid shows them.
std::string Figures(ProjectState& s, int k)
{
    WritePendingView(s, s.StringGrid3);
    const std::string bitrate(s.StringGrid3.Cell(2, k));
    const std::optional<Extended> b = Number(bitrate);
    return (b ? FormatFloat("%.0n", *b) : bitrate) + " kbit/s, " + std::string(s.StringGrid3.Cell(3, k)) + " %";
}

// Why a set bitrate or percentage ended away from the request.
std::string HeldAt(const ProjectState& s, const TVTSData& v)
{
    if (Near(v.NewOverallPercent, 100))
        return "held at 100 %";
    const std::optional<Extended> min = Number(s.Edit8.Text());
    if (min && Near(v.NewBitRateAvg, *min))
        return "held at Min Bitrate " + Grouped(*min);
    const std::optional<Extended> max = Number(s.Edit9.Text());
    if (max && Near(v.NewBitRateAvg, *max))
        return "held at Max Bitrate " + Grouped(*max);
    return "moved by the limit correction";
}

// "; the others at 1,850 kbit/s, held at their limits: v01, locked: v03".
std::string OthersText(const ProjectState& s, int target, Step step)
{
    const bool viaBitrate = step == Step::MaximiseViaBitrate;
    std::optional<Extended> value = WholeNumber(viaBitrate ? s.Edit7.Text() : s.Edit11.Text());
    if (viaBitrate && value)
        if (const std::optional<Extended> min = WholeNumber(s.Edit8.Text()); min && *min > *value)
            value = min;  // the others never go below the minimum
    if (!value)
        return {};
    std::string held, locked;
    bool any = false;
    for (int k = 1; k <= LastVTS(s); ++k) {
        const TVTSData& v = VTSAt(s, k);
        if (v.Name.empty() || k == target)
            continue;
        any = true;
        if (Locked(s, v.Name))
            locked += (locked.empty() ? "" : ", ") + v.Name;
        else if (!Near(viaBitrate ? v.NewBitRateAvg : v.NewOverallPercent, *value))
            held += (held.empty() ? "" : ", ") + v.Name;
    }
    if (!any)
        return {};
    std::string text = "; the others at " + Grouped(*value) + (viaBitrate ? " kbit/s" : " %");
    if (!held.empty())
        text += ", held at their limits: " + held;
    if (!locked.empty())
        text += ", locked: " + locked;
    return text;
}

// Whether a title set's size moved by more than the arithmetic's last bits:
// a command that sets a title set to where it stands recomputes its figures.
bool Changed(const StatusBefore& before, const ProjectState& s)
{
    for (size_t k = 0; k < s.VTSData.size(); ++k) {
        const TVTSData& was = before.vts[k];
        const TVTSData& now = s.VTSData[k];
        if (was.Name != now.Name || fabsl(static_cast<Extended>(was.NewSize) - now.NewSize) >
                                        1e-9L * std::max(1.0L, fabsl(static_cast<Extended>(now.NewSize))))
            return true;
    }
    return false;
}

// Whether any title set but the target is free to give or take size.
bool OthersFree(const ProjectState& s, int target)
{
    for (int k = 1; k <= LastVTS(s); ++k)
        if (k != target && !VTSAt(s, k).Name.empty() && !Locked(s, VTSAt(s, k).Name))
            return true;
    return false;
}

// The main page's commands on one title set.
std::string TitleSetResult(const StatusBefore& before, ProjectState& s, Step step)
{
    const bool maximise = step == Step::MaximiseViaBitrate || step == Step::MaximiseViaPercentage;
    const std::string& name = step == Step::ChangeByPercentage   ? s.ComboBox1.Text()
                              : step == Step::SetBitrate         ? s.ComboBox3.Text()
                              : step == Step::SetPercentage      ? s.ComboBox4.Text()
                              : step == Step::MaximiseViaBitrate ? s.ComboBox5.Text()
                                                                 : s.ComboBox6.Text();
    const bool changed = Changed(before, s);
    const int k = RecordOf(s, name);
    const std::string others = maximise ? OthersText(s, k, step) : std::string();
    if (k == 0)
        return "No title set is named " + name + (changed ? "; the others moved" : ": nothing changed");
    if (Locked(s, name)) {
        if (!changed)
            return name + " is locked: nothing changed";
        return name + " is locked: it keeps " + Figures(s, k) + (maximise ? others : "; the others moved");
    }
    if (maximise)
        return name + " maximised: " + Figures(s, k) + others + (changed ? "" : " (nothing changed)");
    if (!changed && !OthersFree(s, k))
        return name + " unchanged at " + Figures(s, k) + ": the others are all locked";
    std::string text = name + (changed ? ": " : " unchanged at ") + Figures(s, k);
    const TVTSData& v = VTSAt(s, k);
    if (step == Step::SetBitrate) {
        if (const std::optional<Extended> asked = Number(s.Edit5.Text()); asked && !Near(v.NewBitRateAvg, *asked))
            text += "; asked " + Grouped(*asked) + ": " + HeldAt(s, v);
    } else if (step == Step::SetPercentage) {
        if (const std::optional<Extended> asked = Number(s.Edit1.Text()); asked && !Near(v.NewOverallPercent, *asked))
            text += "; asked " + Grouped(*asked) + " %: " + HeldAt(s, v);
    }
    return text;
}

// The encoder dialog's commands: how many segments now hold the value, and
// how many of them changed.
std::string EncoderResult(const StatusBefore& before, const ProjectState& s, Step step, const Form2Controls& dialog)
{
    const TextGrid& items = s.StringGrid1;
    const int column = step == Step::EncoderWidth ? kColHalfWidth : kColPass;
    std::string scope;
    std::string value;
    std::optional<Extended> threshold;
    if (step == Step::EncoderPassesBelow) {
        threshold = WholeNumber(dialog.Edit3.Text());
        if (!threshold)
            return {};
        scope = "Below " + Grouped(*threshold) + " kbit/s";
        value = dialog.ComboBox5.Text() + " passes";
    } else if (step == Step::EncoderPasses) {
        scope = s.Form2.ComboBox1.Text();
        value = dialog.ComboBox4.Text() + " passes";
    } else {
        scope = s.Form2.ComboBox2.Text();
        value = dialog.ComboBox3.Text() == "Full" ? "full width" : "half width";
    }
    int matched = 0;
    int changed = 0;
    for (int r = 1; r < items.RowCount(); ++r) {
        if (threshold) {
            const std::optional<Extended> bitrate = Number(items.Cell(kColBitrate, r));
            if (!bitrate || !(*bitrate < *threshold))
                continue;
        } else if (scope != "All" && items.Cell(kColTitle, r).substr(0, 3) != scope) {
            continue;
        }
        ++matched;
        if (r >= before.items.RowCount() || before.items.Cell(column, r) != items.Cell(column, r))
            ++changed;
    }
    if (matched == 0)
        return (threshold ? "No segment below " + Grouped(*threshold) + " kbit/s" : "No segment in " + scope) +
               ": nothing changed";
    return scope + ": " + Counted(matched, "segment", "segments") + " at " + value +
           (changed == 0 ? ": nothing changed" : " (" + FormatInteger(changed) + " changed)");
}

}  // namespace

std::string StepText(const ProjectState& s, Step step, const Form2Controls* dialog)
{
    switch (step) {
    case Step::ChangeByPercentage: return "Changed " + s.ComboBox1.Text() + " by " + GroupedText(s.Edit2.Text()) + " %";
    case Step::SetBitrate: return "Set " + s.ComboBox3.Text() + " to " + GroupedText(s.Edit5.Text()) + " kbit/s";
    case Step::SetPercentage: return "Set " + s.ComboBox4.Text() + " to " + GroupedText(s.Edit1.Text()) + " %";
    case Step::MaximiseViaBitrate:
        return "Maximised " + s.ComboBox5.Text() + " with the others at " + GroupedText(s.Edit7.Text()) + " kbit/s";
    case Step::MaximiseViaPercentage:
        return "Maximised " + s.ComboBox6.Text() + " with the others at " + GroupedText(s.Edit11.Text()) + " %";
    case Step::ApplyChanges: return "Applied the new bitrates and reductions to both texts; Save writes them";
    case Step::Undo: return "Undid the last change";
    case Step::Redo: return "Redid the change";
    case Step::RevertToLoaded: return "Back to the project as it was loaded";
    case Step::EncoderWidth:
        return dialog ? "Set the width of " + s.Form2.ComboBox2.Text() + " to " + dialog->ComboBox3.Text() : "Set the width";
    case Step::EncoderPasses:
        return dialog ? "Set the passes of " + s.Form2.ComboBox1.Text() + " to " + dialog->ComboBox4.Text()
                      : "Set the passes";
    case Step::EncoderPassesBelow:
        return dialog ? "Set the passes below " + GroupedText(dialog->Edit3.Text()) + " kbit/s to " +
                            dialog->ComboBox5.Text()
                      : "Set the passes below a bitrate";
    }
    return {};
}

StatusBefore StatusBeforeOf(const ProjectState& s)
{
    StatusBefore before;
    before.vts = s.VTSData;
    before.items = s.StringGrid1;
    const ComboBox* selectors[] = {&s.ComboBox1, &s.ComboBox3, &s.ComboBox4, &s.ComboBox5, &s.ComboBox6};
    for (int i = 0; i < 5; ++i)
        before.selectors[i] = selectors[i]->Text();
    return before;
}

std::string ResultText(const StatusBefore& before, ProjectState& s, Step step, const Form2Controls* dialog)
{
    switch (step) {
    case Step::ChangeByPercentage:
    case Step::SetBitrate:
    case Step::SetPercentage:
    case Step::MaximiseViaBitrate:
    case Step::MaximiseViaPercentage: return TitleSetResult(before, s, step);
    case Step::EncoderWidth:
    case Step::EncoderPasses:
    case Step::EncoderPassesBelow: return dialog ? EncoderResult(before, s, step, *dialog) : StepText(s, step);
    case Step::ApplyChanges:
    case Step::Undo:
    case Step::Redo:
    case Step::RevertToLoaded: break;
    }
    return StepText(s, step);
}

std::string LockText(const StatusBefore& before, const ProjectState& s, int entry)
{
    if (entry < 0 || entry >= s.CheckListBox1.Count())
        return {};
    std::string text = (s.CheckListBox1.Checked(entry) ? "Locked " : "Unlocked ") + s.CheckListBox1.Text(entry);
    const ComboBox* selectors[] = {&s.ComboBox1, &s.ComboBox3, &s.ComboBox4, &s.ComboBox5, &s.ComboBox6};
    // The selectors that fell back all show the longest title set.
    for (int i = 0; i < 5; ++i)
        if (selectors[i]->Text() != before.selectors[i])
            return text + (s.CheckListBox1.Checked(entry) ? "; its selectors now show " : "; selectors now show ") +
                   selectors[i]->Text();
    return text;
}

namespace {
constexpr const char* kResetTail = ": Ctrl+Z brings it back";
}

std::string SelectorText(const StatusBefore& before, const ProjectState& s)
{
    if (Changed(before, s))
        return "Allocation reset by choosing " + s.ComboBox4.Text() + kResetTail;
    return "Percentage slider fitted to " + s.ComboBox4.Text() + ": " + Grouped(Div(s.TrackBar2.Min(), 10)) +
           " to " + Grouped(Div(s.TrackBar2.Max(), 10)) + " %";
}

bool IsResetText(const std::string& text)
{
    const std::string tail = kResetTail;
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::string FailureText(const std::string& source, const std::string& error, const std::string& place)
{
    return (source.empty() ? "" : source + ": ") + (place.empty() ? WithFullStop(error) : error + " " + place);
}

std::string MissingProjectText(const std::string& path)
{
    if (path.empty())
        return "No project: the command line has no /ecl=";
    return "No project at " + path + ": the command line's /ecl= names no file";
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
