#pragma once
// Fitting the percentage slider to the chosen title set.
#include <string>

#include "model/project_state.h"

namespace rq {

// Fits the slider's range to the named title set (discarding the allocations
// to unlocked title sets) and puts the thumb back at its former percentage.
// The slider's handler runs at most once, at the end, when the thumb ends
// elsewhere than it started. An error while probing or resetting leaves the
// records where that step got them and its temporary locks checked; an error
// after that (the former percentage as a position, the one set-percentage run)
// leaves the title sets reset and the slider's range set as far as it got.
void SetTrackBarPercentMinMax(ProjectState& s, TrackBar& slider, const std::string& name);
// The set-percentage selector's change handler (user changes only).
void FitPercentSliderRange(ProjectState& s);

}  // namespace rq
