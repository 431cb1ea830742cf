#pragma once
// What the program does without a window: usage, version, the report, and a
// whole job when no window can be shown. Shared by the window program and the
// window-free ratequill-cli, so both print the same texts and end with the
// same status.
#include <optional>
#include <string>
#include <vector>

namespace rq {

// Runs what the arguments ask for when it needs no window, or when no window
// can be shown; returns the exit status. Returns nothing when the window
// should open.
std::optional<int> RunWithoutWindow(const std::vector<std::string>& args, bool windowPossible);

}  // namespace rq
