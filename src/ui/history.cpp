#include "ui/history.h"

#include <array>
#include <bit>
#include <deque>
#include <optional>
#include <string>
#include <unordered_set>
#include <utility>

#include "ui/form2.h"
#include "views/grid_views.h"

namespace rq {

namespace {

// The allocation fields a save must carry into the items first.
struct Allocation {
    double newSize, newBitrate, newPercent, percentChange;
};

Allocation AllocationOf(const TVTSData& v) { return {v.NewSize, v.NewBitRateAvg, v.NewOverallPercent, v.PercentChange}; }

bool SameBits(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

bool SameAllocation(const Allocation& a, const Allocation& b)
{
    return SameBits(a.newSize, b.newSize) && SameBits(a.newBitrate, b.newBitrate) &&
           SameBits(a.newPercent, b.newPercent) && SameBits(a.percentChange, b.percentChange);
}

struct Baseline {
    std::array<Allocation, kVTSRecords> allocation{};
};

// The whole state at one moment, and what the history knew of it then.
struct Snapshot {
    ProjectState project;
    Form2Controls dialog;
    bool itemsAsApplied;  // the item table was the one the last load or apply left
    std::shared_ptr<const Baseline> baseline;
    std::uint64_t serial;
    std::string name;  // of the step that leaves this state, on the undo and redo lists
};

// The two texts a save writes, as the files hold them.
struct DiskTexts {
    TextList ecl, inf;
};

}  // namespace

struct History::Impl {
    Impl(ProjectState& state, Form2Controls& d, const Limits& l) : s(state), dialog(d), limits(l) {}

    ProjectState& s;
    Form2Controls& dialog;
    const Limits& limits;
    std::deque<Snapshot> undo, redo;
    std::optional<Snapshot> loaded, fresh, pending;
    std::optional<Snapshot> live;  // only in what Keep took aside
    DiskTexts disk;
    // The versions of the live texts at the last comparison with the disk's,
    // and its result.
    mutable std::optional<std::pair<std::uint64_t, std::uint64_t>> compared;
    mutable bool textsDiffer = false;
    std::string stepName;
    std::shared_ptr<const Baseline> baseline;
    std::uint64_t appliedItemsVersion = 0;  // of the live item table the last load or apply left; 0: changed since
    bool recording = true;
    int depth = 0;
    int base = 0;  // the depth at which a group is the outermost: above a load's groups
    int loading = 0;
    bool suppressed = false;
    std::uint64_t serial = 0;  // names the state as it stands; undo, redo and revert bring names back
    std::uint64_t lastSerial = 0;

    Snapshot Capture() const
    {
        Snapshot snap{s, dialog, s.ItemsVersion() == appliedItemsVersion, baseline, serial, {}};
        // The item figures of the last aggregation never serve a state put
        // back (its item table gets a new version): a step keeps no copy.
        snap.project.itemFigures.read.reset();
        return snap;
    }

    void Restore(const Snapshot& snap)
    {
        s = snap.project;
        dialog = snap.dialog;
        appliedItemsVersion = snap.itemsAsApplied ? s.ItemsVersion() : 0;
        KeepItemViewRecord(s, snap.project.ItemsVersion());
        baseline = snap.baseline;
        serial = snap.serial;
    }

    bool ChangedSince(const Snapshot& before) const { return before.project.StepParts() != s.StepParts(); }

    void Record(Snapshot&& before)
    {
        before.name = stepName;
        undo.push_back(std::move(before));
        redo.clear();
        serial = ++lastSerial;
        Trim();
    }

    // What the history alone keeps alive: parts the live state shares are not counted.
    std::size_t Bytes() const
    {
        std::unordered_set<const void*> seen;
        for (const ProjectState::SharedPart& part : s.SharedParts())
            seen.insert(part.id);
        seen.insert(s.views.cache.get());
        std::size_t bytes = 0;
        auto addSnapshot = [&](const Snapshot& snap) {
            bytes += sizeof(Snapshot) - sizeof(ProjectState) + snap.project.OwnBytes();
            for (const ProjectState::SharedPart& part : snap.project.SharedParts())
                if (seen.insert(part.id).second)
                    bytes += part.bytes;
            if (seen.insert(snap.project.views.cache.get()).second)
                bytes += ViewRecordBytes(snap.project);
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
        appliedItemsVersion = s.ItemsVersion();
    }

    void TakeDiskTexts()
    {
        disk = DiskTexts{s.ListBox1, s.ListBox2};
        compared.reset();
    }

    void Forget()
    {
        undo.clear();
        redo.clear();
        loaded.reset();
        suppressed = true;
    }
};

History::History(ProjectState& s, Form2Controls& dialog) : impl_(std::make_unique<Impl>(s, dialog, limits))
{
    impl_->TakeBaseline();
    impl_->TakeDiskTexts();
    impl_->fresh.emplace(impl_->Capture());
}

History::~History() = default;

void History::BeginStepGroup()
{
    Impl& h = *impl_;
    if (h.depth == h.base && h.recording) {
        h.pending.emplace(h.Capture());
        h.suppressed = false;
        h.stepName.clear();
    }
    ++h.depth;
}

bool History::EndStepGroup() noexcept
{
    Impl& h = *impl_;
    if (h.depth == 0)
        return false;
    if (--h.depth < h.base) {
        // A group that held a load: the load ended what it would have recorded.
        h.base = h.depth;
        return false;
    }
    if (h.depth > h.base)
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

void History::NameStep(std::string name) { impl_->stepName = std::move(name); }

std::string History::UndoName() const { return impl_->undo.empty() ? std::string() : impl_->undo.back().name; }
std::string History::RedoName() const { return impl_->redo.empty() ? std::string() : impl_->redo.back().name; }

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
    to.back().name = from.back().name;
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
    // The groups open around the load record nothing; those opened after it do.
    h.base = h.depth;
    h.pending.reset();
    try {
        // A load that failed part way leaves nothing the user made: nothing to ask about.
        h.TakeBaseline();
        h.TakeDiskTexts();
        if (succeeded && h.recording)
            h.loaded.emplace(h.Capture());
    } catch (...) {
        // Out of memory: nothing to revert to, and every change counts as unapplied.
        h.loaded.reset();
    }
}

void History::MarkApplied() { impl_->TakeBaseline(); }

void History::MarkSaved()
{
    Impl& h = *impl_;
    h.TakeDiskTexts();
    try {
        if (h.recording)
            h.loaded.emplace(h.Capture());
    } catch (...) {
        // Out of memory: nothing to revert to.
        h.loaded.reset();
    }
}

bool History::TextsDifferFromDisk() const
{
    const Impl& h = *impl_;
    const std::pair versions{h.s.ListBox1.Version(), h.s.ListBox2.Version()};
    if (h.compared != versions) {
        h.textsDiffer = !(h.s.ListBox1 == h.disk.ecl) || !(h.s.ListBox2 == h.disk.inf);
        h.compared = versions;
    }
    return h.textsDiffer;
}

History::Kept::Kept(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
History::Kept::Kept(Kept&&) noexcept = default;
History::Kept::~Kept() = default;

History::Kept History::Keep()
{
    Impl& h = *impl_;
    auto kept = std::make_unique<Impl>(h.s, h.dialog, h.limits);
    kept->live.emplace(h.Capture());
    kept->undo = std::move(h.undo);
    kept->redo = std::move(h.redo);
    kept->loaded = std::move(h.loaded);
    kept->disk = h.disk;
    h.undo.clear();
    h.redo.clear();
    h.loaded.reset();
    return Kept(std::move(kept));
}

void History::PutBack(Kept&& kept)
{
    Impl& h = *impl_;
    Impl& k = *kept.impl_;
    h.undo = std::move(k.undo);
    h.redo = std::move(k.redo);
    h.loaded = std::move(k.loaded);
    h.disk = std::move(k.disk);
    h.compared.reset();
    // Nothing of the failed open is a step: its load ended the groups around it.
    h.Restore(*k.live);
}

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
    if (h.s.ItemsVersion() != h.appliedItemsVersion)
        return true;
    for (std::size_t k = 0; k < h.baseline->allocation.size(); ++k)
        if (!SameAllocation(h.baseline->allocation[k], AllocationOf(h.s.VTSData[k])))
            return true;
    return false;
}

std::size_t History::Steps() const { return impl_->undo.size() + impl_->redo.size(); }
std::size_t History::Bytes() const { return impl_->Bytes(); }

}  // namespace rq
