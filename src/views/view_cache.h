#pragma once
// What the views have recorded but not written yet: one value, owned by the
// views and carried by the project state (so a copy of the state, an undo
// step, keeps it whole). Every size move refreshes every view, hundreds of
// times per click, so a refresh makes no text: it records what each view must
// show, checks that writing it cannot fail, and marks the view's grid stale.
// Whoever reads a view grid (a paint, the report, a test) first asks the views
// to write what is pending (WritePendingView). Records are copies, so a view
// shows what the last refresh saw even when the tables change before anyone
// looks.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/numbers.h"
#include "model/project_state.h"

namespace rq {

struct ViewCache {
    // ---- Item details grid (StringGrid4), from the item table (StringGrid1).

    // Valid: every row of the item table, as it stood at itemsVersion and
    // under itemsSeparators, was found to write without an error and the view
    // was recorded from it. A refresh clears it before it checks, and sets it
    // only when every row passed, so a failed refresh is never taken as shown.
    // While it holds and neither the table nor the separators changed, a
    // refresh leaves the item view alone.
    bool itemsValid = false;
    std::uint64_t itemsVersion = 0;
    // Pending: rows 1 to itemsRowCount - 1 are still to be written from the
    // item table, with itemsSeparators. Set by a refresh that recorded the
    // view; cleared by the first read of the grid, which writes them.
    bool itemsPending = false;
    int itemsRowCount = 0;
    Separators itemsSeparators;
    // The item table as the refresh saw it, while the view is pending: a
    // copy that shares its cells with the live table until either changes.
    std::optional<TextGrid> itemsSeen;

    // ---- VTS summary grid (StringGrid2), from the title-set records.

    // Pending: the rows holding a record are still to be written, with
    // summarySeparators. A refresh copies every named record into its row; a
    // row's copy is dropped once written. A row whose record lost its name
    // keeps an unwritten copy until the next write.
    std::array<std::optional<TVTSData>, kVTSRecords> summaryRows{};
    Separators summarySeparators;
    bool summaryPending = false;

    // ---- VTS details grid (StringGrid5) and main VTS grid (StringGrid3),
    // written together, row by row, from the same records.

    // Pending: as for the summary grid. Set only by a refresh that found every
    // row writable later; otherwise the refresh writes both grids at once.
    std::array<std::optional<TVTSData>, kVTSRecords> detailRows{};
    Separators detailSeparators;
    bool detailsPending = false;
    // Per record, the frames and frame rate whose length was last found to
    // compute. They change only when a project is aggregated, not when size
    // moves, so most refreshes skip that computation.
    std::array<std::optional<std::pair<std::int32_t, double>>, kVTSRecords> lengthComputes{};
};

}  // namespace rq
