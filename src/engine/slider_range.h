#pragma once
// Fitting the percentage slider to the chosen title set.
#include <string>

#include "model/project_state.h"

namespace rq {

// Probes the lowest and highest percentage the title set can reach, puts every
// title set back to its default and fits the slider around the two. An error
// while probing or resetting leaves the records where that step got them and
// its temporary locks checked; an error after that (a set-percentage run by a
// moved thumb, the former percentage as a position) leaves the title sets reset
// and the slider's range set as far as it got.
void SetTrackBarPercentMinMax(ProjectState& s, TrackBar& slider, const std::string& name);
// The set-percentage selector's change handler (user changes only).
void FitPercentSliderRange(ProjectState& s);

}  // namespace rq
