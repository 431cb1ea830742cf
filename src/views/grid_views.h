#pragma once
// The read-only views of the loaded project: the VTS summary grid, the item
// details grid, the total size label, the VTS details grid and the main VTS grid.
#include <cstdint>
#include <string>

#include "model/numbers.h"
#include "model/project_state.h"

namespace rq {

struct ViewCache;
// The views' record in the state, made on first use; a record shared with a
// copy of the state is copied first, so the copy keeps what it recorded.
ViewCache& CacheOf(ProjectState& s);

// Writes the text the last refresh recorded for a view grid (StringGrid2 to
// StringGrid5) and has not written yet; nothing for any other grid or when
// nothing is pending. Read a view grid only after this. Cannot fail: every
// pending row was found writable when it was recorded.
void WritePendingView(ProjectState& s, const TextGrid& grid) noexcept;
// The same for every view grid.
void WritePendingViews(ProjectState& s) noexcept;

// After the state was put back from a copy (an undo): the item view's record
// still holds for the item table it saw, which had seenItemsVersion then and
// has a new version now, so the next refresh need not check it again.
void KeepItemViewRecord(ProjectState& s, std::uint64_t seenItemsVersion);
// Bytes of what the views recorded, for a bound on what copies hold.
std::size_t ViewRecordBytes(const ProjectState& s);

// Refreshes every view from the tables, in the order summary grid, item
// details, total label, VTS details, main VTS grid. A cell that does not parse
// ends the refresh there with its conversion error; what was written stays.
void UpdateVTSDataToStringGrid(ProjectState& s);

// "     hh:mm:ss ff" for an item: f frames, F its frame rate, G the rate as the
// two-decimal cell text reads back.
std::string ItemRunTime(std::int32_t f, double F, Extended G);
// "hhh:mmm:sss fff" of a title set: "01h:30m:38s 23f".
std::string VTSLength(std::int32_t f, double F);

// Writes the header rows of the item table, the summary grid and the three
// views, as every load does.
void WriteHeaders(ProjectState& s);

}  // namespace rq
