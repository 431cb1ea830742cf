#pragma once
// The texts of the main window's status bar: what the last command did, and
// the project's new total size against the size it had when it was loaded.
#include <array>
#include <string>

#include "model/project_state.h"
#include "ui/form2.h"

namespace rq {

// The sum of the title sets' new sizes, in KBytes.
double NewTotal(const ProjectState& s);

// "Loaded PATH: N segments in M title sets", for the project at s.ProjectPath.
std::string LoadedText(const ProjectState& s);

// The files a save of the project at a path writes and the backups it keeps,
// named as they are on disk, and whether each backup was there before.
struct SaveFiles {
    std::string ecl, inf;              // file names without their folder
    std::string eclBackup, infBackup;
    bool eclBackupBefore = false;
    bool infBackupBefore = false;
};
// Looks at the disk: call it before the save, and again after it for the
// names the new backups got.
SaveFiles SaveFilesOf(const std::string& projectPath);
// "Saved REBUILDER.ECL and REBUILDER.INF; originals kept as REBUILDER.ECLBAK
// and REBUILDER.INFBAK", or "; backups from an earlier save kept" when both
// backups were there before the save.
std::string SavedText(const SaveFiles& before, const SaveFiles& after);

// The commands whose result the status bar describes in words.
enum class Step {
    ChangeByPercentage,
    SetBitrate,
    SetPercentage,
    MaximiseViaBitrate,
    MaximiseViaPercentage,
    ApplyChanges,
    Undo,
    Redo,
    RevertToLoaded,
    EncoderWidth,        // the encoder dialog's width "Set"
    EncoderPasses,       // its passes "Set"
    EncoderPassesBelow,  // its "Change" of the passes below a bitrate
};
// The request in the user's words, with the title set and the figure its
// boxes hold ("Set v02 to 4,000 kbit/s"): the name of the step, whatever came
// of it.
std::string StepText(const ProjectState& s, Step step, const Form2Controls* dialog = nullptr);

// What a command's result is measured against: the figures, the locks and
// the selectors as they stood before it ran. Cheap: the item table is shared.
struct StatusBefore {
    std::array<TVTSData, kVTSRecords> vts;
    TextGrid items{10, 2};
    std::string selectors[5];  // the main page's, in the lock list's rebuild order
};
StatusBefore StatusBeforeOf(const ProjectState& s);

// What came of a command, read from the state after it (figures as the main
// grid shows them, in the user's number format):
//   "v02: 4,372 kbit/s, 54.8 %"                          the title set moved
//   "v02: 4,372 kbit/s, 54.8 %; asked 5,502: held at 100 %"
//        set bitrate or percentage, the result away from the request: held at
//        100 %, at "Min Bitrate 500", at "Max Bitrate 9,000", or "moved by the
//        limit correction" when the correction of the others pushed it back
//   "v02 unchanged at 4,372 kbit/s, 54.8 %"              no figure changed
//   "v02 unchanged at ...: the others are all locked"   nowhere to take size from
//   "v02 is locked: nothing changed"                     the locked target stayed
//   "v02 is locked: it keeps 4,372 kbit/s, 54.8 %; the others moved"
//   "No title set is named v09: nothing changed"         (or "; the others moved")
//   "v02 maximised: 6,020 kbit/s, 80.1 %; the others at 1,850 kbit/s"
//        followed by ", held at their limits: v01, v04" and ", locked: v03"
//        for the others that are not at that value; " (nothing changed)" ends
//        a maximise that moved nothing
//   Apply, Undo, Redo, Revert: StepText's words.
//   Encoder dialog: "v02: 12 segments at half width (5 changed)",
//        "All: 57 segments at 3 passes (57 changed)",
//        "Below 2,000 kbit/s: 8 segments at 5 passes (3 changed)",
//        "... : nothing changed" when every cell had that value already, and
//        "No segment in v09: nothing changed" / "No segment below 2,000
//        kbit/s: nothing changed" when none matched.
// `dialog` holds the encoder dialog's boxes; only its steps read it.
std::string ResultText(const StatusBefore& before, ProjectState& s, Step step, const Form2Controls* dialog = nullptr);

// "Locked v03" or "Unlocked v03" for the lock list's entry, and "; its
// selectors now show v02" when selectors fell back to the longest title set
// ("; selectors now show v02" after an unlock, for names typed that are none).
std::string LockText(const StatusBefore& before, const ProjectState& s, int entry);

// After the user changed the set-percentage selector: "Allocation reset by
// choosing v03: Ctrl+Z brings it back" when fitting the slider put the title
// sets back to their sizes as loaded, else "Percentage slider fitted to v03:
// 39.2 to 100 %".
std::string SelectorText(const StatusBefore& before, const ProjectState& s);
// Whether the text is SelectorText's reset message.
bool IsResetText(const std::string& text);

// A command that failed: "Min Bitrate (Internal Calculation fields): '5OO' is
// not a valid floating point value." with the box (or the command, "Could not
// load /discs/FILM/REBUILDER.ECL") it came from, the error box's own text, and
// where in which file it was found ("File not found in /discs/FILM/REBUILDER.INF").
std::string FailureText(const std::string& source, const std::string& error, const std::string& place);

// A batch job whose project is missing: "No project at PATH: the command
// line's /ecl= names no file", or "No project: the command line has no /ecl=".
std::string MissingProjectText(const std::string& path);

// A number as the user typed it, with its whole part grouped in the user's
// format ("4000" gives "4,000"); a text that is no number stays as it is.
std::string GroupedNumber(const std::string& typed);
// What the status bar adds at a load when a save would be refused:
// "; read-only (REFUSAL): Save is disabled".
std::string ReadOnlyText(const std::string& refusal);
// Why Save is enabled or not, for its tooltip.
std::string SaveTip(bool projectLoaded, const std::string& refusal, bool unsaved);

// "New total 4,372,121 KB against 4,372,121 KB loaded", in the user's number format.
std::string TotalsText(double newTotal, double loadedTotal);

}  // namespace rq
