#include "engine/commands.h"

#include "engine/lock_list.h"
#include "engine/redistribution.h"
#include "engine/vts_walk.h"
#include "model/arith.h"

namespace rq {

void CorrectMinMax(ProjectState& s)
{
    const LockSnapshot snapshot = TakeLockSnapshot(s);
    // Both limits are read before anything moves; they stay in extended
    // precision for the comparisons and are rounded only when handed on.
    const Extended min = ParseReal(s.Edit8.Text());
    const Extended max = ParseReal(s.Edit9.Text());
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

void ChangeByPercentage(ProjectState& s)
{
    Extended bitrate = 500.0L;
    const std::string name = s.ComboBox1.Text();
    if (const TVTSData* v = FindVTS(s, name))
        bitrate = Mul(Div(ParseReal(s.Edit2.Text()), 100), v->NewBitRateAvg);
    SetVTSBitRate(s, name, StoreDouble(bitrate));
}

void SetBitrate(ProjectState& s)
{
    Extended requested = ParseReal(s.Edit5.Text());
    // The bitrate at which the title set is back at 100 percent of its size on
    // the disc; a name without a title set is capped at a fixed 9000.
    Extended ceiling = 9000;
    const std::string name = s.ComboBox3.Text();
    if (const TVTSData* v = FindVTS(s, name))
        ceiling = Mul(Div(v->BitrateAvg, v->OriginalAveragePercent), 100);
    if (requested > ceiling)
        requested = ceiling;
    SetVTSBitRate(s, name, StoreDouble(requested));
    CorrectMinMax(s);
}

void SetPercentage(ProjectState& s)
{
    const double percent = StoreDouble(ParseReal(s.Edit1.Text()));
    SetVTSPercent(s, s.ComboBox4.Text(), percent);
    CorrectMinMax(s);
}

void FollowBitrateSlider(ProjectState& s)
{
    s.Edit5.SetText(FormatInteger(s.TrackBar1.Position()));
    SetBitrate(s);
}

void FollowPercentSlider(ProjectState& s)
{
    // The slider counts tenths of a percent: 755 is written "75.5", 750 "75".
    s.Edit1.SetText(FormatGeneral(Div(s.TrackBar2.Position(), 10)));
    SetPercentage(s);
}

}  // namespace rq
