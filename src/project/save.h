#pragma once
// Saving the rewritten buffers over the project files, keeping backups of the
// files as they were before the first save.
#include <string>
#include <string_view>

#include "model/project_state.h"

namespace rq {

// Writes the ECL text buffer and the INF text buffer over the pair derived
// from path, each line followed by CR LF. A file or folder the user may not
// write, or a pair that is one file, is refused before anything is written.
// Both files are written aside and flushed first; the first save keeps the
// old files under .ECLBAK / .INFBAK; then the new ECL file and the new INF
// file take the old ones' places, each in one step, one right after the
// other. A failure raises its I/O error (with the file, or the read-only
// folder, as its place) and leaves every file with its old or its new bytes,
// never a mix, and the INF file new only with the ECL file; no temporary file
// stays. A request to end the program (SIGTERM, SIGINT, Ctrl+C) waits for the
// save. The Save button is disabled only when both files are saved.
void SaveECL(ProjectState& s, const std::string& path);
// The files a save of the pair derived from path writes: each in the spelling
// it has on disk, a symbolic link followed to its file, and the backup names.
struct ProjectFiles {
    std::string ecl, inf, eclBackup, infBackup;
};
ProjectFiles FilesToSave(const std::string& path);
// Why a save of the pair derived from path would be refused before anything
// is written ("/x/REBUILDER.ECL: the file is read-only"); empty when nothing
// refuses it. Looks at the disk.
std::string SaveRefusal(const std::string& path);
// Removes the temporary files of this program's saves in folder whose
// process no longer runs (a save that was killed).
void RemoveStaleTemporaries(const std::string& folder);
// The same in the folders a save of the pair derived from path writes into.
void RemoveStaleTemporariesOf(const std::string& path);
// Writes bytes as the whole file at path, as a save writes a project file:
// aside under a temporary name, flushed, then put in the file's place in one
// step (a symbolic link stays a link). A file or folder the user may not
// write is refused before anything is written; a failure raises its I/O error
// with the file as its place and leaves the old file, or none, and no
// temporary file.
void WriteWholeFile(const std::string& path, std::string_view bytes);
// The Save button: saves to the project path.
void SaveProject(ProjectState& s);

}  // namespace rq
