#pragma once
#include "model/project_state.h"

namespace rq {

// Turns the item table into the title-set records, rebuilds the selectors,
// the lock list and the total, enables the commands and ends with "Change" at 100 percent.
void ProcessLoadedECL(ProjectState& s);

}  // namespace rq
