#pragma once
#include "model/project_state.h"

namespace rq {

// "Apply Changes": carries the allocation into the items, aggregates again,
// rewrites both text buffers and enables Save. A title set with no size left is
// refused before anything changes; an item cell that does not parse leaves the
// item cells before it carrying the allocation; later errors are those of
// ProcessLoadedECL and ModifyECL.
void ApplyChanges(ProjectState& s);
// Rewrites the ECL and INF text buffers from the item table. Each buffer is
// rewritten whole or not at all: an error in the INF pass leaves the ECL buffer
// rewritten and the INF buffer as it was; Save is enabled only when both are done.
void ModifyECL(ProjectState& s);

}  // namespace rq
