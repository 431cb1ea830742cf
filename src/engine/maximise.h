#pragma once
// Making one title set as large as possible while the others are held at a
// common bitrate or overall percentage. A value box (or, for the bitrate,
// "Min Bitrate") that is no whole number fails before anything changes. An error
// partway leaves the title sets set so far and the temporary locks of the phase
// it failed in checked; the user's locks are put back only at a phase's end.
#include "model/project_state.h"

namespace rq {

// Maximise the title set in ComboBox5, the others to Edit7 kbit/s (at least "Min Bitrate").
void MaximiseViaBitrate(ProjectState& s);
// Maximise the title set in ComboBox6, the others to Edit11 percent.
void MaximiseViaPercentage(ProjectState& s);

}  // namespace rq
