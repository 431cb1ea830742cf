#pragma once
// Size redistribution: the only operation that moves size between title sets.
#include <string>

#include "model/project_state.h"

namespace rq {

// Gives the named title set a new average bitrate (kbit/s) and takes the
// difference from the other unlocked title sets in proportion to their sizes;
// refreshes the views on every call, also when fewer than two are free.
// An error (a division by zero, an overflow, a view cell that does not parse)
// leaves the records as far as they got: the target's size and ratios, then each
// other's, then every free one's bitrate, then its percentage; then the views as
// far as they were written. The lock list never changes.
void SetVTSBitRate(ProjectState& s, const std::string& name, double bitrate);
// Gives the named title set an overall percentage by converting it into a
// bitrate; does nothing at all while fewer than two title sets are free.
// "Min Bitrate" that is no whole number, or a title set without a percentage
// to scale from, fails before anything changes; later errors are SetVTSBitRate's.
void SetVTSPercent(ProjectState& s, const std::string& name, double percent);
// The NewOverallPercent of the named title set (record 0 included); 100 when
// none matches. Changes nothing and raises no error.
double GetVTSPercent(const ProjectState& s, const std::string& name);

}  // namespace rq
