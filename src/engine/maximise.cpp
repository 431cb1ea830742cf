#include "engine/maximise.h"

#include <cstdint>
#include <string>

#include "engine/lock_list.h"
#include "engine/redistribution.h"
#include "engine/vts_walk.h"
#include "model/arith.h"

namespace rq {

namespace {

// The two ways of giving the others' common value.
enum class Via { Bitrate, Percentage };

// Phase A's set operation: the others to the common value.
void SetOther(ProjectState& s, Via via, const std::string& name, std::int32_t value)
{
    if (via == Via::Bitrate)
        SetVTSBitRate(s, name, value);
    else
        SetVTSPercent(s, name, value);
}

// Phase B's test: which of the others counts as small. The bitrate variant
// looks at the bitrate as loaded, the percentage variant at the current share.
double ComparedField(const TVTSData& v, Via via)
{
    return via == Via::Bitrate ? v.BitrateAvg : v.NewOverallPercent;
}

// Two passes of: set the others, lift the small ones to "Min Bitrate", cap
// everything at 100 percent. The user's locks are put back after each phase.
// Two passes, not a loop to a fixed point: the second pass re-sets the others
// that the first pass's cap may have lowered, and its cap has the last word.
void Maximise(ProjectState& s, Via via, const std::string& target, std::int32_t value, const std::string& minBitrate,
              const LockSnapshot& snapshot)
{
    const int N = LastVTS(s);
    for (int pass = 0; pass < 2; ++pass) {
        // Phase A. Locking each title set once it is set keeps the later sets
        // from moving it, so the whole difference ends up in the target (or,
        // with no target, in the last title set left free).
        for (int k = 1; k <= N; ++k) {
            const std::string name = VTSAt(s, k).Name;
            if (name.empty() || name == target || !NotLocked(s, name))
                continue;
            SetOther(s, via, name, value);
            LockVTS(s, name, true);
        }
        RestoreLockSnapshot(s, snapshot);

        // Phase B. Visits user-locked title sets too; the set operation leaves
        // them where they are.
        for (int k = 1; k <= N; ++k) {
            const std::string name = VTSAt(s, k).Name;
            if (name.empty() || name == target)
                continue;
            if (ComparedField(VTSAt(s, k), via) > static_cast<Extended>(value))
                continue;
            const Extended min = ParseReal(minBitrate);
            if (min > VTSAt(s, k).NewBitRateAvg)
                SetVTSBitRate(s, name, StoreDouble(min));
            LockVTS(s, name, true);
        }
        RestoreLockSnapshot(s, snapshot);

        // Phase C. Nothing is locked here, so each cut goes back to every title
        // set the user left free, the target included.
        for (int k = 1; k <= N; ++k) {
            const std::string name = VTSAt(s, k).Name;
            if (name.empty() || !NotLocked(s, name))
                continue;
            if (VTSAt(s, k).NewOverallPercent > 100)
                SetVTSPercent(s, name, 100.0);
        }
        RestoreLockSnapshot(s, snapshot);
    }
}

}  // namespace

void MaximiseViaBitrate(ProjectState& s, std::string target, const std::string& others, const std::string& minBitrate)
{
    const LockSnapshot snapshot = TakeLockSnapshot(s);
    // The others' value before "Min Bitrate"; the others never go below the minimum.
    std::int32_t value = ParseInteger(others);
    const std::int32_t min = ParseInteger(minBitrate);
    if (min > value)
        value = min;
    Maximise(s, Via::Bitrate, target, value, minBitrate, snapshot);
}

void MaximiseViaPercentage(ProjectState& s, std::string target, const std::string& others,
                           const std::string& minBitrate)
{
    const LockSnapshot snapshot = TakeLockSnapshot(s);
    // No lower bound here: a percentage is not compared with "Min Bitrate".
    const std::int32_t value = ParseInteger(others);
    Maximise(s, Via::Percentage, target, value, minBitrate, snapshot);
}

}  // namespace rq
