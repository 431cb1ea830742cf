#include "engine/slider_range.h"

#include <array>
#include <utility>

#include "engine/commands.h"
#include "engine/lock_list.h"
#include "engine/redistribution.h"
#include "engine/vts_walk.h"
#include "model/arith.h"
#include "model/numbers.h"

namespace rq {

namespace {

// A slider value in tenths of a percent, cut toward zero. The product with 10
// is exact in extended precision, so 39.29999... (40.3 - 1 as a double) gives 392.
int Tenths(double percent) { return NarrowInt32(Trunc64(Mul(percent, 10))); }

}  // namespace

bool SetTrackBarPercentMinMax(ProjectState& s, TrackBar& slider, const std::string& nameArg,
                              const BitrateLimits& limits)
{
    // The name may be the selector's own text; keep it steady for the whole call.
    const std::string name = nameArg;
    const int startPosition = slider.Position();
    const double former = GetVTSPercent(s, name);

    const int N = LastVTS(s);
    std::array<double, kVTSRecords> resetTarget{};
    for (int k = 1; k <= N; ++k)
        resetTarget[static_cast<size_t>(k)] = VTSAt(s, k).OriginalAveragePercent;

    // Probe both ends under the current limits and locks.
    SetVTSPercent(s, name, 10.0);
    CorrectMinMax(s, limits);
    double low = GetVTSPercent(s, name);
    SetVTSPercent(s, name, 100.0);
    CorrectMinMax(s, limits);
    double high = GetVTSPercent(s, name);

    // Put every free title set back to its default, one after another; each is
    // held once reset, so the last free one takes up what remains.
    const LockSnapshot snapshot = TakeLockSnapshot(s);
    for (int k = 1; k <= N; ++k) {
        const std::string other = VTSAt(s, k).Name;
        if (other.empty())
            continue;
        SetVTSPercent(s, other, resetTarget[static_cast<size_t>(k)]);
        LockVTS(s, other, true);
    }
    RestoreLockSnapshot(s, snapshot);
    CorrectMinMax(s, limits);

    // One percent of play on each side, but never below 1 or above 99 by it.
    if (low > 1)
        low = StoreDouble(Sub(low, 1));
    if (high < 99)
        high = StoreDouble(Add(high, 1));

    // The range and the thumb are set without a command: a thumb pushed to
    // an end of the new range on its way must not run the set-percentage
    // command there, or the limit correction at that end would lift the other
    // title sets and the move back would spread the size in proportion to
    // those lifted sizes, changing a project the user has not touched.
    (void)slider.SetMin(Tenths(low));
    (void)slider.SetMax(Tenths(high));

    // The former percentage goes back through its text: written with 15
    // significant digits (so 87.3 gives 873, not 872) and cut at the decimal
    // separator (62.45 gives 624). Cutting at the regional separator keeps a
    // comma locale working: "624,5" gives 624 as well.
    std::string text = FormatGeneral(Mul(former, 10));
    const size_t cut = text.find(NumberSeparators().decimal);
    if (cut != std::string::npos)
        text.resize(cut);
    (void)slider.SetPosition(ParseInteger(text));
    // At most one set-percentage run, for where the thumb ends, and only when
    // it ends elsewhere than it started.
    return slider.Position() != startPosition;
}

}  // namespace rq
