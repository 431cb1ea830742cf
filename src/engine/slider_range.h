#pragma once
// Fitting the percentage slider to the chosen title set.
#include <string>

#include "model/project_state.h"

namespace rq {

void SetTrackBarPercentMinMax(ProjectState& s, TrackBar& slider, const std::string& name);
// The set-percentage selector's change handler (user changes only).
void FitPercentSliderRange(ProjectState& s);

}  // namespace rq
