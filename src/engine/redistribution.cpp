#include "engine/redistribution.h"

#include <array>

#include "engine/lock_list.h"
#include "engine/vts_walk.h"
#include "model/arith.h"
#include "views/grid_views.h"

namespace rq {

void SetVTSBitRate(ProjectState& s, const std::string& name, double bitrate)
{
    const int N = LastVTS(s);
    if (VTSCount(s) > 1) {
        // The lock list does not change during one call: ask it once per record.
        std::array<bool, kVTSRecords> free{};
        for (int k = 1; k <= N; ++k) {
            const TVTSData& v = VTSAt(s, k);
            free[static_cast<size_t>(k)] = !v.Name.empty() && NotLocked(s, v.Name);
        }
        const bool targetFree = NotLocked(s, name);
        // Target step: delta and the target's ratios come from the unrounded new size.
        Extended delta = 0;
        for (int k = 1; k <= N; ++k) {
            TVTSData& v = VTSAt(s, k);
            if (!Matches(v, name) || !targetFree)
                continue;
            const Extended oldSize = v.NewSize;
            const Extended newSize = Mul(oldSize, Div(bitrate, v.NewBitRateAvg));
            v.NewSize = StoreDouble(newSize);
            v.PercentChange = StoreDouble(Mul(Div(newSize, v.KBytes), 100));
            v.TempPercentChange = StoreDouble(Mul(Div(newSize, oldSize), 100));
            delta = Sub(newSize, oldSize);
        }

        // The others share the difference in proportion to their sizes before the call.
        Extended total = 0;
        for (int k = 1; k <= N; ++k) {
            const TVTSData& v = VTSAt(s, k);
            if (free[static_cast<size_t>(k)] && v.Name != name)
                total = Add(total, v.NewSize);
        }
        for (int k = 1; k <= N; ++k) {
            TVTSData& v = VTSAt(s, k);
            if (!free[static_cast<size_t>(k)] || v.Name == name)
                continue;
            const Extended oldSize = v.NewSize;
            const Extended share = Mul(delta, Div(oldSize, total));
            v.NewSize = StoreDouble(Sub(oldSize, share));
            v.PercentChange = StoreDouble(Mul(Div(v.NewSize, v.KBytes), 100));
            v.TempPercentChange = StoreDouble(Mul(Div(v.NewSize, oldSize), 100));
        }

        for (int k = 1; k <= N; ++k) {
            TVTSData& v = VTSAt(s, k);
            if (free[static_cast<size_t>(k)])
                v.NewBitRateAvg = StoreDouble(Div(Mul(v.BitrateAvg, v.PercentChange), 100));
        }
        for (int k = 1; k <= N; ++k) {
            TVTSData& v = VTSAt(s, k);
            if (free[static_cast<size_t>(k)])
                v.NewOverallPercent = StoreDouble(Div(Mul(v.PercentChange, v.OriginalAveragePercent), 100));
        }
    }
    UpdateVTSDataToStringGrid(s);
}

void SetVTSPercent(ProjectState& s, const std::string& name, double percent)
{
    if (VTSCount(s) <= 1)
        return;
    Extended bitrate = ParseInteger(s.Edit8.Text());
    if (const TVTSData* v = FindVTS(s, name))
        bitrate = Mul(Div(percent, v->OriginalAveragePercent), v->BitrateAvg);
    SetVTSBitRate(s, name, StoreDouble(bitrate));
}

double GetVTSPercent(const ProjectState& s, const std::string& name)
{
    const TVTSData* v = FindVTS(s, name, 0);
    return v ? v->NewOverallPercent : 100.0;
}

}  // namespace rq
