#pragma once
// Size redistribution: the only operation that moves size between title sets.
#include <string>

#include "model/project_state.h"

namespace rq {

// Gives the named title set a new average bitrate (kbit/s) and takes the
// difference from the other unlocked title sets in proportion to their sizes;
// refreshes the views on every call, also when fewer than two are free.
void SetVTSBitRate(ProjectState& s, const std::string& name, double bitrate);
// Gives the named title set an overall percentage by converting it into a
// bitrate; does nothing at all while fewer than two title sets are free.
void SetVTSPercent(ProjectState& s, const std::string& name, double percent);
// The NewOverallPercent of the named title set (record 0 included); 100 when none matches.
double GetVTSPercent(const ProjectState& s, const std::string& name);

}  // namespace rq
