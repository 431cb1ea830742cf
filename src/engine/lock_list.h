#pragma once
// The lock list: which title sets take part in a redistribution. Program-set
// check states are silent; they never run the user-click handler. None of
// these operations raises an error.
#include <array>
#include <string>

#include "model/project_state.h"

namespace rq {

// False when at least one entry with exactly this text is checked.
bool NotLocked(const ProjectState& s, const std::string& name);
// The number of unchecked entries: the title sets free to change.
int VTSCount(const ProjectState& s);
// Does nothing while one or no title set is free; otherwise sets every entry
// with this text to the given state.
void LockVTS(ProjectState& s, const std::string& name, bool locked);

// Check states by position, taken at the start of a multi-step command.
using LockSnapshot = std::array<bool, kVTSRecords>;
LockSnapshot TakeLockSnapshot(const ProjectState& s);
void RestoreLockSnapshot(ProjectState& s, const LockSnapshot& snapshot);

}  // namespace rq
