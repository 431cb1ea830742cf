#pragma once
// Saving the rewritten buffers over the project files, keeping backups of the
// files as they were before the first save.
#include <string>

#include "model/project_state.h"

namespace rq {

// Writes the ECL text buffer, then the INF text buffer, over the pair derived
// from path, each line followed by CR LF. Each file is written aside and
// flushed first; the first save keeps the old file under .ECLBAK / .INFBAK;
// then the new file takes the old one's place in one step. A failure raises
// its I/O error and leaves every file with its old or its new bytes, never a
// mix; the Save button is disabled only when both files are saved.
void SaveECL(ProjectState& s, const std::string& path);
// The files a save of the pair derived from path writes: each in the spelling
// it has on disk, a symbolic link followed to its file, and the backup names.
struct ProjectFiles {
    std::string ecl, inf, eclBackup, infBackup;
};
ProjectFiles FilesToSave(const std::string& path);
// The Save button: saves to the project path.
void SaveProject(ProjectState& s);

}  // namespace rq
