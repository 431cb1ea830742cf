#pragma once
// The texts of the main window's status bar: what the last command did, and
// the project's new total size against the size it had when it was loaded.
#include <string>

#include "model/project_state.h"

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
};
// What the command did, with the title set and figure it used, for example
// "Set v02 to 3000 kbit/s".
std::string StepText(const ProjectState& s, Step step);
// "Locked v03" or "Unlocked v03" for the lock list's entry.
std::string LockText(const ProjectState& s, int entry);

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
