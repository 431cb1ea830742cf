#pragma once
// The read-only views of the loaded project: the VTS summary grid, the item
// details grid, the total size label, the VTS details grid and the main VTS grid.
#include <cstdint>
#include <string>
#include <vector>

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

// An item's figures as the aggregation read them from its cells.
// Zero when value-initialised (`ItemFigures{}`, a vector's resize): without
// member initialisers a table of them is cleared in one sweep rather than
// through the floating-point unit one figure at a time.
struct ItemFigures {
    Extended bitrate;
    Extended reduction;
    Extended kbytes;
    Extended rate;
    std::int32_t first;
    std::int32_t last;
};
// The figures of every item (row r at index r - 1), read from the item table
// at one version with one pair of separators: whoever reads the table again
// at that version need not parse its cells again.
struct ItemFiguresRead {
    std::uint64_t version = 0;
    Separators seps;
    std::vector<ItemFigures> rows;
    // The sizes are the aggregation's own, from the other figures of their
    // rows, and their texts stand in the table: an aggregation of the same
    // table would write them again, the very same.
    bool sizesOwn = false;

    // Whether these are the figures of the table as it stands.
    bool Of(const TextGrid& items, const Separators& now) const
    {
        return version == items.Version() && seps == now && rows.size() + 1 == static_cast<size_t>(items.RowCount());
    }
};

// Refreshes every view from the tables, in the order summary grid, item
// details, total label, VTS details, main VTS grid. A cell that does not parse
// ends the refresh there with its conversion error; what was written stays.
// `read`: the item table's figures, when the caller has just read them all.
void UpdateVTSDataToStringGrid(ProjectState& s, const ItemFiguresRead* read = nullptr);

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
