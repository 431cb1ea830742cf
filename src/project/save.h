#pragma once
// Saving the rewritten buffers over the project files, keeping backups of the
// files as they were before the first save.
#include <string>

#include "model/project_state.h"

namespace rq {

void SaveECL(ProjectState& s, const std::string& path);
// The Save button: saves to the project path.
void Button7Click(ProjectState& s);

}  // namespace rq
