#pragma once
#include <vector>

#include "model/project_state.h"

namespace rq {

// Turns the item table into the title-set records, rebuilds the selectors,
// the lock list and the total, enables the commands and ends with "Change" at 100 percent.
// A cell that does not parse while summing leaves the KBytes cells and the records
// summed up to its row, and the selectors untouched; an error in the derived figures
// leaves the selectors, lock list and total rebuilt up to that title set and the
// command buttons as they were; an error in the closing "Change" leaves Edit2 at "100".
// Keeps the item figures it read in s.itemFigures, for whoever reads the
// unchanged table next.
void ProcessLoadedECL(ProjectState& s);

// The sizes an apply has scaled and not yet written (by row; NaN where it
// has none). The aggregation that follows the apply writes every item's size
// anew from its new bitrate, so these are written only where it stops short
// of them: rows it has not reached when an error ends it.
struct PendingSizes {
    std::vector<Extended> kbytes;
    // Writes the sizes of rows `from` on into the item table.
    void WriteFrom(ProjectState& s, int from) const;
};
void ProcessLoadedECL(ProjectState& s, const PendingSizes& pending);

}  // namespace rq
