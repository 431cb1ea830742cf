#include <gtest/gtest.h>

#include "engine/lock_list.h"
#include "engine/redistribution.h"
#include "engine/slider_range.h"
#include "engine_fixture.h"
#include "support/separators_guard.h"

using namespace rq;

namespace {

TEST(Slider, RangeAndPositionRules)
{
    struct Case {
        const char* what;
        int (*change)(TrackBar&);  // how many of its calls said the thumb moved
        int min, max, position, runs;
    };
    // Each starts from the percentage slider's initial 50..1000 at 750.
    const Case cases[] = {
        {"minimum above the maximum", [](TrackBar& t) { return int(t.SetMin(1001)); }, 50, 1000, 750, 0},
        {"maximum below the minimum", [](TrackBar& t) { return int(t.SetMax(49)); }, 50, 1000, 750, 0},
        {"minimum equal to the maximum", [](TrackBar& t) { return int(t.SetMin(1000)); }, 1000, 1000, 1000, 1},
        {"new minimum pushes the thumb", [](TrackBar& t) { return int(t.SetMin(800)); }, 800, 1000, 800, 1},
        {"new maximum pulls the thumb", [](TrackBar& t) { return int(t.SetMax(600)); }, 50, 600, 600, 1},
        {"range around the thumb", [](TrackBar& t) { const int n = t.SetMin(700); return n + t.SetMax(800); }, 700, 800, 750, 0},
        {"position beyond the maximum", [](TrackBar& t) { return int(t.SetPosition(5000)); }, 50, 1000, 1000, 1},
        {"position below the minimum", [](TrackBar& t) { return int(t.SetPosition(-3)); }, 50, 1000, 50, 1},
        {"same position", [](TrackBar& t) { return int(t.SetPosition(750)); }, 50, 1000, 750, 0},
        {"clamped to where it is", [](TrackBar& t) { const int n = t.SetMax(750); return n + t.SetPosition(900); }, 50, 750, 750, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TrackBar t(50, 1000, 750, 1, 100);
        const int runs = c.change(t);
        EXPECT_EQ(t.Min(), c.min);
        EXPECT_EQ(t.Max(), c.max);
        EXPECT_EQ(t.Position(), c.position);
        EXPECT_EQ(runs, c.runs);
    }
}

// A title set locked by the user at `percent` does not move in the probes, so
// the range is built around its percentage alone.
TEST(SliderRange, RangeAroundALockedTitleSet)
{
    struct Case {
        double percent;
        int min, max, position;
    };
    const Case cases[] = {
        {62.45, 614, 634, 624},
        {40.3, 392, 412, 403},  // 39.3 and 41.3 are held just below as doubles
        {87.3, 862, 882, 873},  // the position goes through the text "873"
        {0.5, 5, 15, 5},        // 1 or less is not lowered
        {1, 10, 20, 10},        // exactly 1 is not lowered to 0
        {99, 980, 990, 990},    // exactly 99 is not raised to 100
        {100, 990, 1000, 1000}, // 99 or more is not raised
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.percent);
        EngineProject p({{"v01", 2000, 4000}, {"v02", 3000, 3000, c.percent}, {"v03", 2000, 2500}}, "v02");
        p.Lock("v02");
        const auto before = Fields(p["v02"]);
        FitSlider(p.s, "v02");
        EXPECT_EQ(p.s.TrackBar2.Min(), c.min);
        EXPECT_EQ(p.s.TrackBar2.Max(), c.max);
        EXPECT_EQ(p.s.TrackBar2.Position(), c.position);
        EXPECT_EQ(Fields(p["v02"]), before);
        EXPECT_EQ(p.Locks(), (std::vector<bool>{false, true, false}));
    }
}

TEST(SliderRange, MinimumAboveTheCurrentMaximumIsIgnored)
{
    EngineProject p({{"v01", 2000, 4000}, {"v02", 3000, 3000, 62.45}, {"v03", 2000, 2500}}, "v02");
    p.Lock("v02");
    FollowSlider(p.s, p.s.TrackBar2, p.s.TrackBar2.SetMax(600));
    FitSlider(p.s, "v02");
    EXPECT_EQ(p.s.TrackBar2.Min(), 50);
    EXPECT_EQ(p.s.TrackBar2.Max(), 634);
    EXPECT_EQ(p.s.TrackBar2.Position(), 624);
}

TEST(SliderRange, UnknownNameResetsEveryFreeTitleSet)
{
    EngineProject p({{"v01", 2000, 4000}, {"v02", 3000, 3000}, {"v03", 2000, 2500}});
    SetVTSBitRate(p.s, "v02", 2000);
    p.s.ComboBox4.SetText("v0");  // half typed
    FitSlider(p.s, p.s.ComboBox4.Text());
    EXPECT_EQ(p.s.TrackBar2.Min(), 990);
    EXPECT_EQ(p.s.TrackBar2.Max(), 1000);
    EXPECT_EQ(p.s.TrackBar2.Position(), 1000);
    EXPECT_EQ(p.s.Edit1.Text(), "100");
    for (const char* n : {"v01", "v02", "v03"})
        EXPECT_NEAR(p[n].NewSize, p[n].KBytes, 1e-9) << n;
}

TEST(SliderRange, LoadMovesTheThumbToTheDefaultCutToATenth)
{
    // The longest title set's default is 62.45 percent; 10 percent of it
    // (800.6 kbit/s) is above the minimum, so the low probe holds.
    EngineProject p({{"v01", 2000000, 5000, 62.45}, {"v02", 2000000, 4000}, {"v03", 2000000, 4000}});
    FitSlider(p.s, p.s.ComboBox4.Text());
    // About 9 to 100 percent, with the thumb's 750 inside it.
    EXPECT_LE(p.s.TrackBar2.Min(), 90);
    EXPECT_GE(p.s.TrackBar2.Max(), 999);
    EXPECT_EQ(p.s.TrackBar2.Position(), 624);
    EXPECT_EQ(p.s.Edit1.Text(), "62.4");
    EXPECT_NEAR(p["v01"].NewOverallPercent, 62.4, 1e-9);
    EXPECT_NEAR(static_cast<double>(p.TotalNewSize()), 6000000, 1e-6);
    EXPECT_EQ(p.Locks(), (std::vector<bool>{false, false, false}));
}

// The range is set quietly; the set-percentage command runs once, for where
// the thumb ends, and only when it ends elsewhere than it started.
TEST(SliderRange, TheCommandRunsOnceWhereTheThumbEnds)
{
    struct Case {
        int start;
        std::vector<int> runs;
    };
    const Case cases[] = {
        {750, {624}},  // the range 614..634 leaves the thumb out above
        {50, {624}},   // and below
        {630, {624}},  // inside the range
        {624, {}},     // already there
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        EngineProject p({{"v01", 2000, 4000}, {"v02", 3000, 3000, 62.45}, {"v03", 2000, 2500}}, "v02");
        p.Lock("v02");
        MoveSlider(p.s, p.s.TrackBar2, c.start);
        std::vector<int> runs;
        if (SetTrackBarPercentMinMax(p.s, p.s.TrackBar2, "v02")) {
            runs.push_back(p.s.TrackBar2.Position());
            FollowPercentSlider(p.s);
        }
        EXPECT_EQ(runs, c.runs);
        EXPECT_EQ(p.s.TrackBar2.Position(), 624);
    }
}

TEST(SliderRange, SingleTitleSetBuildsTheRangeAroundItsDefault)
{
    EngineProject p({{"v01", 2000, 4000, 62.45}});
    FitSlider(p.s, "v01");
    EXPECT_EQ(p.s.TrackBar2.Min(), 614);
    EXPECT_EQ(p.s.TrackBar2.Max(), 634);
    EXPECT_EQ(p.s.TrackBar2.Position(), 624);
    EXPECT_EQ(p["v01"].NewSize, 2000);
}

TEST(SliderRange, CommaLocaleCutsAtItsOwnSeparator)
{
    SeparatorsGuard comma(',', '.');
    EngineProject p({{"v01", 2000, 4000}, {"v02", 3000, 3000, 62.45}, {"v03", 2000, 2500}}, "v02");
    p.Lock("v02");
    FitSlider(p.s, "v02");
    EXPECT_EQ(p.s.TrackBar2.Position(), 624);
    EXPECT_EQ(p.s.Edit1.Text(), "62,4");
}

TEST(SliderRange, FormerPercentageInExponentFormFailsAfterTheRange)
{
    EngineProject p({{"v01", 2000, 4000}, {"v02", 3000, 3000, 1e-6}, {"v03", 2000, 2500}}, "v02");
    p.Lock("v02");
    EXPECT_EQ(ErrorOf([&] { FitSlider(p.s, "v02"); }),
              "'1E-5' is not a valid integer value");
    EXPECT_EQ(p.s.TrackBar2.Min(), 0);
    EXPECT_EQ(p.s.TrackBar2.Max(), 10);
}

}  // namespace
