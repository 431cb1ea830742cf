#include "engine/commands.h"

#include "engine/lock_list.h"
#include "engine/redistribution.h"
#include "engine/vts_walk.h"
#include "model/arith.h"

namespace rq {

void CorrectMinMax(ProjectState& s, const BitrateLimits& limits)
{
    const LockSnapshot snapshot = TakeLockSnapshot(s);
    // Both limits are read before anything moves; they stay in extended
    // precision for the comparisons and are rounded only when handed on.
    const Extended min = ParseReal(limits.min);
    const Extended max = ParseReal(limits.max);
    const int N = LastVTS(s);
    for (int k = 1; k <= N; ++k) {
        const TVTSData& v = VTSAt(s, k);
        if (v.Name.empty())
            continue;
        const std::string name = v.Name;
        // Each test sees the record as the previous correction left it. A title
        // set raised to the minimum or cut to 100 percent is held for the rest
        // of the pass, so later corrections spread only over the unsettled ones.
        if (v.NewBitRateAvg < min) {
            SetVTSBitRate(s, name, StoreDouble(min));
            LockVTS(s, name, true);
        }
        if (v.NewOverallPercent > 100) {
            SetVTSPercent(s, name, 100.0);
            LockVTS(s, name, true);
        }
        if (v.NewBitRateAvg > max)
            SetVTSBitRate(s, name, StoreDouble(max));
    }
    RestoreLockSnapshot(s, snapshot);
}

void ChangeByPercentage(ProjectState& s, std::string name, std::string percent)
{
    Extended bitrate = 500.0L;
    if (const TVTSData* v = FindVTS(s, name))
        bitrate = Mul(Div(ParseReal(percent), 100), v->NewBitRateAvg);
    SetVTSBitRate(s, name, StoreDouble(bitrate));
}

void SetBitrate(ProjectState& s, std::string name, std::string bitrate, const BitrateLimits& limits)
{
    Extended requested = ParseReal(bitrate);
    // The bitrate at which the title set is back at 100 percent of its size on
    // the disc; a name without a title set is capped at a fixed 9000.
    Extended ceiling = 9000;
    if (const TVTSData* v = FindVTS(s, name))
        ceiling = Mul(Div(v->BitrateAvg, v->OriginalAveragePercent), 100);
    if (requested > ceiling)
        requested = ceiling;
    SetVTSBitRate(s, name, StoreDouble(requested));
    CorrectMinMax(s, limits);
}

void SetPercentage(ProjectState& s, std::string name, std::string percent, const BitrateLimits& limits)
{
    const double value = StoreDouble(ParseReal(percent));
    SetVTSPercent(s, name, value);
    CorrectMinMax(s, limits);
}

void FollowBitrateSlider(ProjectState& s, const std::string& name, const BitrateLimits& limits)
{
    s.Edit5.SetText(FormatInteger(s.TrackBar1.Position()));
    SetBitrate(s, name, s.Edit5.Text(), limits);
}

void FollowPercentSlider(ProjectState& s, const std::string& name, const BitrateLimits& limits)
{
    // The slider counts tenths of a percent: 755 is written "75.5", 750 "75".
    s.Edit1.SetText(FormatGeneral(Div(s.TrackBar2.Position(), 10)));
    SetPercentage(s, name, s.Edit1.Text(), limits);
}

}  // namespace rq
