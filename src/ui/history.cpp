#include "ui/history.h"

#include <bit>
#include <string_view>
#include <deque>
#include <optional>
#include <tuple>
#include <unordered_set>
#include <utility>

#include "ui/form2.h"
#include "views/grid_views.h"
#include "views/view_cache.h"

namespace rq {

namespace {

// ---- Controls ------------------------------------------------------------------

// The controls copied whole into every snapshot: small, and changed by most steps.
auto SmallControls(ProjectState& s, TForm2& d)
{
    return std::tie(s.StringGrid2, s.StringGrid3, s.StringGrid5, s.CheckListBox1, s.ComboBox1, s.ComboBox3,
                    s.ComboBox4, s.ComboBox5, s.ComboBox6, s.Form2.ComboBox1, s.Form2.ComboBox2, s.Edit1, s.Edit2,
                    s.Edit5, s.Edit7, s.Edit8, s.Edit9, s.Edit10, s.Edit11, s.TrackBar1, s.TrackBar2, s.Label2,
                    s.Label25, s.Button1, s.Button2, s.Button3, s.Button4, s.Button5, s.Button7, s.Button9,
                    s.Button10, s.Button11, d.ComboBox3, d.ComboBox4, d.ComboBox5, d.Edit3);
}

template <typename Refs>
struct ValuesOf;
template <typename... T>
struct ValuesOf<std::tuple<T&...>> {
    using type = std::tuple<T...>;
};
using SmallCopies = ValuesOf<decltype(SmallControls(std::declval<ProjectState&>(), std::declval<TForm2&>()))>::type;

// What the views had recorded; none before the first refresh.
using ViewCacheCopy = std::optional<ViewCache>;

// Puts an earlier copy's contents back into a control in place. The handlers
// the window and the form bound to it stay, and none of them runs; the
// version moves on so every view repaints.
template <typename Control>
void PutBack(Control& target, const Control& saved)
{
    const std::uint64_t before = target.Version();
    if constexpr (requires { target.OnChange; }) {
        auto handler = std::move(target.OnChange);
        target = saved;
        target.OnChange = std::move(handler);
    } else if constexpr (requires { target.OnClickCheck; }) {
        auto handler = std::move(target.OnClickCheck);
        target = saved;
        target.OnClickCheck = std::move(handler);
    } else if constexpr (requires { target.SetReadHook({}); }) {
        // A grid's hooks feed the one live view cache, which comes back as a
        // value; whether the grid is pending comes back with the grid.
        auto read = target.ReadHook();
        auto change = std::move(target.BeforeCellChange);
        target = saved;
        target.SetReadHook(std::move(read));
        target.BeforeCellChange = std::move(change);
    } else {
        target = saved;
    }
    target.MoveVersionPast(before);
}

// ---- Sizes, for the bound --------------------------------------------------------

std::size_t HeapBytes(const std::string& text)
{
    return text.capacity() > std::string().capacity() ? text.capacity() + 1 : 0;
}

std::size_t BytesOf(const TextGrid& g)
{
    std::size_t bytes = sizeof(TextGrid) + static_cast<std::size_t>(g.RowCount()) * sizeof(std::vector<std::string>);
    for (int r = 0; r < g.RowCount(); ++r) {
        if (g.RawCell(0, r).empty() && g.RawCell(g.ColCount() - 1, r).empty() && g.RawCell(1, r).empty())
            continue;  // most likely a row never written
        bytes += static_cast<std::size_t>(g.ColCount()) * sizeof(std::string);
        for (int c = 0; c < g.ColCount(); ++c)
            bytes += HeapBytes(g.RawCell(c, r));
    }
    return bytes;
}

std::size_t BytesOf(const TextList& list)
{
    std::size_t bytes = sizeof(TextList) + static_cast<std::size_t>(list.Count()) * sizeof(TextList::Span);
    for (int i = 0; i < list.Count(); ++i)
        bytes += list[i].size();
    return bytes;
}

std::size_t BytesOf(const ComboBox& c)
{
    std::size_t bytes = sizeof(ComboBox) + c.Items().size() * sizeof(std::string);
    for (const std::string& item : c.Items())
        bytes += HeapBytes(item);
    return bytes;
}

template <typename Control>
std::size_t BytesOf(const Control&)
{
    return sizeof(Control);
}

// ---- Comparing ---------------------------------------------------------------------

bool SameBits(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

bool SameRecord(const TVTSData& a, const TVTSData& b)
{
    return a.Name == b.Name && a.Frames == b.Frames && SameBits(a.KBytes, b.KBytes) &&
           SameBits(a.BitrateAvg, b.BitrateAvg) && SameBits(a.NewSize, b.NewSize) &&
           SameBits(a.PercentChange, b.PercentChange) && SameBits(a.NewBitRateAvg, b.NewBitRateAvg) &&
           SameBits(a.NewOverallPercent, b.NewOverallPercent) &&
           SameBits(a.OriginalAveragePercent, b.OriginalAveragePercent) &&
           SameBits(a.TempPercentChange, b.TempPercentChange) && SameBits(a.FrameRate, b.FrameRate);
}

// What a step is recognised by. Views, selectors and argument boxes are left
// out: a view written when looked at, a name typed or a button state set by a
// save is no step.
struct Marks {
    std::uint64_t items, ecl, inf, locks, total, bitrateSlider, percentSlider;
    bool operator==(const Marks&) const = default;
};

Marks MarksOf(const ProjectState& s)
{
    return {s.StringGrid1.Version(),   s.ListBox1.Version(),  s.ListBox2.Version(),  s.CheckListBox1.Version(),
            s.Label2.Version(), s.TrackBar1.Version(), s.TrackBar2.Version()};
}

// The allocation fields a save must carry into the items first.
struct Allocation {
    double newSize, newBitrate, newPercent, percentChange;
};

Allocation AllocationOf(const TVTSData& v) { return {v.NewSize, v.NewBitRateAvg, v.NewOverallPercent, v.PercentChange}; }

bool SameAllocation(const Allocation& a, const Allocation& b)
{
    return SameBits(a.newSize, b.newSize) && SameBits(a.newBitrate, b.newBitrate) &&
           SameBits(a.newPercent, b.newPercent) && SameBits(a.percentChange, b.percentChange);
}

// A copy of a large control as it is, view hooks and pending state included.
template <typename Control>
struct Whole {
    explicit Whole(const Control& live) : value(live), bytes(BytesOf(live)) {}
    void PutBackInto(Control& live) const { PutBack(live, value); }
    Control value;
    std::size_t bytes;
};

// The item table's cells packed into one text: a fraction of the table's own
// size, made without an allocation per row or per long cell. The item table
// has no read hook and is never pending; its cell-change hook stays the live one.
struct PackedItems {
    explicit PackedItems(const TextGrid& live) : cols(live.ColCount()), rows(live.RowCount())
    {
        ends.reserve(static_cast<std::size_t>(cols) * static_cast<std::size_t>(rows));
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) {
                text += live.RawCell(c, r);
                ends.push_back(text.size());
            }
        bytes = sizeof(PackedItems) + text.capacity() + ends.capacity() * sizeof(ends[0]);
    }

    // Writes back only the cells that differ, without the cell-change hook:
    // the view cache that hook feeds comes back whole.
    void PutBackInto(TextGrid& live) const
    {
        const std::uint64_t before = live.Version();
        auto hook = std::move(live.BeforeCellChange);
        live.BeforeCellChange = nullptr;
        live.SetRowCount(rows);
        std::string cell;
        std::size_t at = 0;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) {
                const std::size_t end = ends[static_cast<std::size_t>(r * cols + c)];
                const std::string_view saved = std::string_view(text).substr(at, end - at);
                at = end;
                if (live.RawCell(c, r) != saved) {
                    cell.assign(saved);
                    live.SetCell(c, r, cell);
                }
            }
        live.BeforeCellChange = std::move(hook);
        live.MoveVersionPast(before);
    }

    int cols;
    int rows;
    std::string text;
    std::vector<std::size_t> ends;  // where each cell ends in text, row by row
    std::size_t bytes;
};

template <typename Stored>
using PartPtr = std::shared_ptr<const Stored>;

// The live control's latest copy, shared by every snapshot that saw the
// control unchanged, and the version the control had then.
template <typename Control, typename Stored>
struct LiveCopy {
    PartPtr<Stored> part;
    std::uint64_t version = 0;

    PartPtr<Stored> Share(const Control& live)
    {
        if (!part || version != live.Version()) {
            part = std::make_shared<const Stored>(live);
            version = live.Version();
        }
        return part;
    }
    void PutBackInto(Control& live, const PartPtr<Stored>& p)
    {
        if (part == p && version == live.Version())
            return;  // the live control holds just that
        p->PutBackInto(live);
        part = p;
        version = live.Version();
    }
};

struct Baseline {
    std::array<Allocation, kVTSRecords> allocation{};
};

struct Snapshot {
    PartPtr<PackedItems> items;
    PartPtr<Whole<TextGrid>> itemViews;  // the item details view
    PartPtr<Whole<TextList>> ecl;
    PartPtr<Whole<TextList>> inf;
    std::uint64_t itemsVersion;  // of the live item table, which the view cache refers to
    bool itemsAsApplied;         // the item table was the one the last load or apply left
    std::array<TVTSData, kVTSRecords> records;
    SmallCopies controls;
    ViewCacheCopy views;
    std::string projectPath;
    std::shared_ptr<const Baseline> baseline;
    std::uint64_t serial;
    Marks marks;
    std::size_t bytes;  // of what only this snapshot holds
};

}  // namespace

struct History::Impl {
    Impl(ProjectState& state, TForm2& d, const Limits& l) : s(state), dialog(d), limits(l) {}

    ProjectState& s;
    TForm2& dialog;
    const Limits& limits;
    LiveCopy<TextGrid, PackedItems> items;
    LiveCopy<TextGrid, Whole<TextGrid>> itemViews;
    LiveCopy<TextList, Whole<TextList>> ecl, inf;
    std::deque<Snapshot> undo, redo;
    std::optional<Snapshot> loaded, fresh, pending;
    std::shared_ptr<const Baseline> baseline;
    std::uint64_t appliedItemsVersion = 0;  // of the live item table the last load or apply left; 0: changed since
    bool recording = true;
    int depth = 0;
    int loading = 0;
    bool suppressed = false;
    std::uint64_t serial = 0;  // names the state as it stands; undo, redo and revert bring names back
    std::uint64_t lastSerial = 0;

    Snapshot Capture()
    {
        Snapshot snap{items.Share(s.StringGrid1),
                      itemViews.Share(s.StringGrid4),
                      ecl.Share(s.ListBox1),
                      inf.Share(s.ListBox2),
                      s.StringGrid1.Version(),
                      s.StringGrid1.Version() == appliedItemsVersion,
                      s.VTSData,
                      SmallCopies(SmallControls(s, dialog)),
                      s.viewCache ? ViewCacheCopy(*s.viewCache) : ViewCacheCopy(),
                      s.ProjectPath,
                      baseline,
                      serial,
                      MarksOf(s),
                      0};
        std::size_t bytes = sizeof(Snapshot) + (snap.views ? snap.views->itemsBefore.capacity() * sizeof(snap.views->itemsBefore[0]) : 0);
        std::apply([&](const auto&... c) { ((bytes += BytesOf(c)), ...); }, snap.controls);
        snap.bytes = bytes;
        return snap;
    }

    void Restore(const Snapshot& snap)
    {
        items.PutBackInto(s.StringGrid1, snap.items);
        appliedItemsVersion = snap.itemsAsApplied ? s.StringGrid1.Version() : 0;
        itemViews.PutBackInto(s.StringGrid4, snap.itemViews);
        ecl.PutBackInto(s.ListBox1, snap.ecl);
        inf.PutBackInto(s.ListBox2, snap.inf);
        s.VTSData = snap.records;
        auto live = SmallControls(s, dialog);
        [&]<std::size_t... I>(std::index_sequence<I...>) {
            (PutBack(std::get<I>(live), std::get<I>(snap.controls)), ...);
        }(std::make_index_sequence<std::tuple_size_v<SmallCopies>>{});
        if (snap.views || s.viewCache) {
            ViewCache& cache = CacheOf(s);
            cache = snap.views ? *snap.views : ViewCache{};
            // The item view's check holds for the table it saw, now under a new version.
            if (snap.views && cache.itemsVersion == snap.itemsVersion)
                cache.itemsVersion = s.StringGrid1.Version();
        }
        s.ProjectPath = snap.projectPath;
        baseline = snap.baseline;
        serial = snap.serial;
    }

    bool ChangedSince(const Snapshot& before) const
    {
        if (!(MarksOf(s) == before.marks))
            return true;
        for (std::size_t k = 0; k < before.records.size(); ++k)
            if (!SameRecord(before.records[k], s.VTSData[k]))
                return true;
        return false;
    }

    void Record(Snapshot&& before)
    {
        undo.push_back(std::move(before));
        redo.clear();
        serial = ++lastSerial;
        Trim();
    }

    std::size_t Bytes() const
    {
        std::unordered_set<const void*> seen;
        std::size_t bytes = 0;
        auto add = [&](const auto& part) {
            if (part && seen.insert(part.get()).second)
                bytes += part->bytes;
        };
        auto addSnapshot = [&](const Snapshot& snap) {
            bytes += snap.bytes;
            add(snap.items);
            add(snap.itemViews);
            add(snap.ecl);
            add(snap.inf);
        };
        for (const Snapshot& snap : undo)
            addSnapshot(snap);
        for (const Snapshot& snap : redo)
            addSnapshot(snap);
        if (loaded)
            addSnapshot(*loaded);
        return bytes;
    }

    void Trim()
    {
        while (!undo.empty() && undo.size() + redo.size() > limits.steps)
            undo.pop_front();
        while (!undo.empty() && Bytes() > limits.bytes)
            undo.pop_front();
    }

    // The allocation and the item table as they stand are what the files carry.
    void TakeBaseline()
    {
        auto b = std::make_shared<Baseline>();
        for (std::size_t k = 0; k < b->allocation.size(); ++k)
            b->allocation[k] = AllocationOf(s.VTSData[k]);
        baseline = std::move(b);
        appliedItemsVersion = s.StringGrid1.Version();
    }

    void Forget()
    {
        undo.clear();
        redo.clear();
        loaded.reset();
        suppressed = true;
    }
};

History::History(ProjectState& s, TForm2& dialog) : impl_(std::make_unique<Impl>(s, dialog, limits))
{
    impl_->TakeBaseline();
    impl_->fresh.emplace(impl_->Capture());
}

History::~History() = default;

void History::BeginStepGroup()
{
    Impl& h = *impl_;
    if (h.depth == 0 && h.recording) {
        h.pending.emplace(h.Capture());
        h.suppressed = false;
    }
    ++h.depth;
}

bool History::EndStepGroup() noexcept
{
    Impl& h = *impl_;
    if (h.depth == 0 || --h.depth > 0)
        return false;
    std::optional<Snapshot> before = std::move(h.pending);
    h.pending.reset();
    try {
        if (before && !h.suppressed && h.loading == 0 && h.ChangedSince(*before)) {
            h.Record(std::move(*before));
            return true;
        }
    } catch (...) {
        // Out of memory while recording: the steps are dropped, the project stays.
        h.undo.clear();
        h.redo.clear();
    }
    return false;
}

bool History::CanUndo() const { return !impl_->undo.empty(); }
bool History::CanRedo() const { return !impl_->redo.empty(); }
bool History::CanRevert() const { return impl_->loaded && impl_->serial != impl_->loaded->serial; }

namespace {

// Undo and redo are one move in opposite directions: the state as it stands
// goes on one list, the newest state of the other comes back.
template <typename Impl, typename Steps>
bool MoveOneStep(Impl& h, Steps& from, Steps& to)
{
    if (from.empty())
        return false;
    h.suppressed = true;
    to.push_back(h.Capture());
    auto snap = std::move(from.back());
    from.pop_back();
    h.Restore(snap);
    return true;
}

}  // namespace

bool History::Undo() { return MoveOneStep(*impl_, impl_->undo, impl_->redo); }
bool History::Redo() { return MoveOneStep(*impl_, impl_->redo, impl_->undo); }

bool History::RevertToLoaded()
{
    Impl& h = *impl_;
    if (!CanRevert())
        return false;
    h.suppressed = true;
    h.Record(h.Capture());
    h.Restore(*h.loaded);
    return true;
}

void History::Forget() { impl_->Forget(); }

void History::StartLoad()
{
    impl_->Forget();
    ++impl_->loading;
}

void History::FinishLoad(bool succeeded) noexcept
{
    Impl& h = *impl_;
    --h.loading;
    h.suppressed = true;
    h.serial = ++h.lastSerial;
    try {
        // A load that failed part way leaves nothing the user made: nothing to ask about.
        h.TakeBaseline();
        if (succeeded && h.recording)
            h.loaded.emplace(h.Capture());
    } catch (...) {
        // Out of memory: nothing to revert to, and every change counts as unapplied.
        h.loaded.reset();
    }
}

void History::MarkApplied() { impl_->TakeBaseline(); }

void History::SetRecording(bool on)
{
    if (!on)
        impl_->Forget();
    impl_->recording = on;
}

void History::RestoreFresh()
{
    Impl& h = *impl_;
    h.Forget();
    h.Restore(*h.fresh);
    h.serial = ++h.lastSerial;
}

bool History::NeedsApply() const
{
    const Impl& h = *impl_;
    if (h.s.StringGrid1.Version() != h.appliedItemsVersion)
        return true;
    for (std::size_t k = 0; k < h.baseline->allocation.size(); ++k)
        if (!SameAllocation(h.baseline->allocation[k], AllocationOf(h.s.VTSData[k])))
            return true;
    return false;
}

std::size_t History::Steps() const { return impl_->undo.size() + impl_->redo.size(); }
std::size_t History::Bytes() const { return impl_->Bytes(); }

}  // namespace rq
