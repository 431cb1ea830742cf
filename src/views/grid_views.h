#pragma once
// The read-only views of the loaded project: the VTS summary grid, the item
// details grid, the total size label, the VTS details grid and the main VTS grid.
#include <cstdint>
#include <string>

#include "model/numbers.h"
#include "model/project_state.h"

namespace rq {

struct ViewCache;
// The views' cache, made on first use together with the read hooks that
// write the pending views.
ViewCache& CacheOf(ProjectState& s);

// Refreshes every view from the tables, in the order summary grid, item
// details, total label, VTS details, main VTS grid. A cell that does not parse
// ends the refresh there with its conversion error; what was written stays.
void UpdateVTSDataToStringGrid(ProjectState& s);

// For a run that no one watches: the item details grid is never written,
// while its refresh still raises the errors of the item table.
void LeaveItemDetailsUnwritten(ProjectState& s);

// "     hh:mm:ss ff" for an item: f frames, F its frame rate, G the rate as the
// two-decimal cell text reads back.
std::string ItemRunTime(std::int32_t f, double F, Extended G);
// "hhh:mmm:sss fff" of a title set: "01h:30m:38s 23f".
std::string VTSLength(std::int32_t f, double F);

// Writes the header rows of the item table, the summary grid and the three
// views, as every load does.
void WriteHeaders(ProjectState& s);

}  // namespace rq
