#pragma once
#include "model/project_state.h"

namespace rq {

// "Apply Changes": carries the allocation into the items, aggregates again,
// rewrites both text buffers and enables Save.
void ApplyChanges(ProjectState& s);
// Rewrites the ECL and INF text buffers from the item table.
void ModifyECL(ProjectState& s);

}  // namespace rq
