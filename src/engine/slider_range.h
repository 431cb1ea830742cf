#pragma once
// Fitting the percentage slider to the chosen title set.
#include <string>

#include "engine/commands.h"
#include "model/project_state.h"

namespace rq {

// Fits the slider's range to the named title set (discarding the allocations
// to unlocked title sets) and puts the thumb back at its former percentage.
// Runs no command: returns whether the thumb ended elsewhere than it started,
// and the caller decides whether the set-percentage command follows. An error while probing or resetting leaves the
// records where that step got them and its temporary locks checked; an error
// after that (the former percentage as a position, the one set-percentage run)
// leaves the title sets reset and the slider's range set as far as it got.
// Reads and changes the records, the locks for a while, the slider; writes nothing else.
[[nodiscard]] bool SetTrackBarPercentMinMax(ProjectState& s, TrackBar& slider, const std::string& name,
                                            const BitrateLimits& limits);

}  // namespace rq
