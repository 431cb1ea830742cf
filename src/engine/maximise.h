#pragma once
// Making one title set as large as possible while the others are held at a
// common bitrate or overall percentage. Each reads the title-set records and
// the locks and changes the records (and the views); the form hands over the
// target's name, the others' value and "Min Bitrate" as typed. An others'
// value (or, for the bitrate, "Min Bitrate") that is no whole number fails
// before anything changes. An error partway leaves the title sets set so far
// and the temporary locks of the phase it failed in checked; the user's locks
// are put back only at a phase's end.
#include <string>

#include "model/project_state.h"

namespace rq {

// Maximise the target, the others to `others` kbit/s (at least minBitrate).
void MaximiseViaBitrate(ProjectState& s, std::string target, const std::string& others, const std::string& minBitrate);
// Maximise the target, the others to `others` percent.
void MaximiseViaPercentage(ProjectState& s, std::string target, const std::string& others,
                           const std::string& minBitrate);

}  // namespace rq
