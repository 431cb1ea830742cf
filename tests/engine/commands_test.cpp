#include <gtest/gtest.h>

#include "engine/commands.h"
#include "engine/lock_list.h"
#include "engine/redistribution.h"
#include "engine_fixture.h"

using namespace rq;

namespace {

// v01 loaded at 400 kbit/s, under the default minimum of 500.
std::vector<VTSSpec> OneLow() { return {{"v01", 1000, 400}, {"v02", 2000, 3000}, {"v03", 3000, 2000}}; }

const std::vector<bool> kNoLocks{false, false, false};

TEST(CorrectMinMax, RaisesToTheMinimumFromTheOthersInProportion)
{
    EngineProject p(OneLow());
    CorrectMinMax(p.s);
    EXPECT_EQ(p["v01"].NewSize, 1250);  // a quarter more
    EXPECT_EQ(p["v01"].NewBitRateAvg, 500);
    EXPECT_EQ(p["v02"].NewSize, 1900);
    EXPECT_EQ(p["v03"].NewSize, 2850);
    EXPECT_EQ(p.Locks(), kNoLocks);
}

TEST(CorrectMinMax, LeavesTitleSetsExactlyAtALimitAlone)
{
    // v01 at exactly 500 kbit/s, v02 at exactly 100 percent, v03 at exactly 9000.
    EngineProject p({{"v01", 1000, 500}, {"v02", 2000, 3000, 100}, {"v03", 3000, 9000}});
    for (const char* n : {"v01", "v02", "v03"})
        p[n].TempPercentChange = 77;  // any redistribution would reset it
    CorrectMinMax(p.s);
    for (const char* n : {"v01", "v02", "v03"})
        EXPECT_EQ(p[n].TempPercentChange, 77) << n;
}

TEST(CorrectMinMax, LimitsAreComparedAsTyped)
{
    // v01 runs at the double nearest to the typed limit. That double lies below
    // 500.2 and above 9000.1, so v01 counts as outside those limits (its
    // correction moves no size but redistributes, resetting v02's ratio); it
    // lies above 500.1, which leaves it alone.
    struct Case {
        const char* min;
        const char* max;
        double bitrate;
        double v02Temp;
    };
    for (const Case c : {Case{"500.2", "9000", 500.2, 100}, Case{"500", "9000.1", 9000.1, 100},
                         Case{"500.1", "9000", 500.1, 77}}) {
        SCOPED_TRACE(c.bitrate);
        EngineProject p({{"v01", 1000, c.bitrate}, {"v02", 2000, 3000}, {"v03", 3000, 2000}});
        p.s.Edit8.SetText(c.min);
        p.s.Edit9.SetText(c.max);
        p["v02"].TempPercentChange = 77;
        CorrectMinMax(p.s);
        EXPECT_EQ(p["v02"].TempPercentChange, c.v02Temp);
        EXPECT_EQ(p["v01"].NewSize, 1000);
    }
}

TEST(CorrectMinMax, SecondLowTitleSetTakesOnlyFromTheUnsettled)
{
    EngineProject p({{"v01", 1000, 400}, {"v02", 1000, 450}, {"v03", 3000, 2000}, {"v04", 5000, 2000}});
    CorrectMinMax(p.s);
    const TVTSData& v01 = p["v01"];
    // v01 was raised first and then held: its own step's figures are still there.
    EXPECT_EQ(v01.NewSize, 1250);
    EXPECT_EQ(v01.TempPercentChange, 125);
    EXPECT_DOUBLE_EQ(p["v02"].NewBitRateAvg, 500);
    // Both raises came out of v03 and v04 alone, in one ratio.
    EXPECT_DOUBLE_EQ(p["v03"].TempPercentChange, p["v04"].TempPercentChange);
    EXPECT_NEAR(static_cast<double>(p.TotalNewSize()), 10000, 1e-9);
    EXPECT_EQ(p.Locks(), (std::vector<bool>{false, false, false, false}));
}

TEST(CorrectMinMax, UserLockedTitleSetStaysBelowTheMinimum)
{
    EngineProject p(OneLow());
    p.Lock("v01");
    CorrectMinMax(p.s);
    EXPECT_EQ(p["v01"].NewBitRateAvg, 400);
    EXPECT_EQ(p.Locks(), (std::vector<bool>{true, false, false}));
}

TEST(CorrectMinMax, FractionalMinimumFailsOnlyAtTheHundredPercentCut)
{
    // v02 lies above 100 percent of its disc size.
    EngineProject p({{"v01", 1000, 400}, {"v02", 2000, 3000, 120}, {"v03", 3000, 2000}});
    p.s.Edit8.SetText("500.5");
    EXPECT_EQ(ErrorOf([&] { CorrectMinMax(p.s); }), "'500.5' is not a valid integer value");
    EXPECT_EQ(p["v01"].NewBitRateAvg, 500.5);  // the bitrate test took the fraction
    EXPECT_GT(p["v02"].NewOverallPercent, 100);
    // The temporary lock of v01 stays: the command never got to its restore.
    EXPECT_EQ(p.Locks(), (std::vector<bool>{true, false, false}));
}

TEST(Commands, TextThatIsNoNumberFailsBeforeAnythingMoves)
{
    struct Case {
        EditBox ProjectState::*box;
        void (*command)(ProjectState&);
    };
    for (const Case c : {Case{&ProjectState::Edit8, CorrectMinMax}, Case{&ProjectState::Edit9, CorrectMinMax},
                         Case{&ProjectState::Edit5, SetBitrate}, Case{&ProjectState::Edit1, SetPercentage},
                         Case{&ProjectState::Edit2, ChangeByPercentage}}) {
        EngineProject p(OneLow());
        (p.s.*c.box).SetText("12a");
        const auto before = Fields(p["v01"]);
        EXPECT_EQ(ErrorOf([&] { c.command(p.s); }), "'12a' is not a valid floating point value");
        EXPECT_EQ(Fields(p["v01"]), before);
    }
    // "Change" reads its box only for a title set it can find.
    EngineProject p(OneLow());
    p.s.Edit2.SetText("12a");
    p.s.ComboBox1.SetText("v09");
    EXPECT_EQ(ErrorOf([&] { ChangeByPercentage(p.s); }), "(no error)");
}

TEST(Commands, SetBitrateIsCappedAtTheHundredPercentBitrate)
{
    struct Case {
        const char* requested;
        double v01Bitrate;
    };
    // v01: BitrateAvg 4000 at 50 percent, so 100 percent is 8000 kbit/s.
    for (const Case c : {Case{"9000", 8000}, Case{"6000", 6000}}) {
        SCOPED_TRACE(c.requested);
        EngineProject p({{"v01", 1000, 4000}, {"v02", 1000, 2000}, {"v03", 3000, 2000}});
        p.s.Edit5.SetText(c.requested);
        SetBitrate(p.s);
        EXPECT_EQ(p["v01"].NewBitRateAvg, c.v01Bitrate);
    }
    // A name without a title set moves nothing itself, but the limit correction
    // that follows still lifts v02 (loaded at 400) to the minimum.
    EngineProject p({{"v01", 1000, 4000}, {"v02", 1000, 400}, {"v03", 3000, 2000}}, "v07");
    p.s.Edit5.SetText("12000");
    SetBitrate(p.s);
    EXPECT_EQ(p["v02"].NewBitRateAvg, 500);
    EXPECT_EQ(p["v02"].NewSize, 1250);
}

TEST(Commands, ChangeAppliesNoLimit)
{
    EngineProject p(OneLow(), "v02");
    ChangeByPercentage(p.s);  // the initial 101 percent
    EXPECT_DOUBLE_EQ(p["v02"].NewBitRateAvg, 3030);
    EXPECT_LT(p["v01"].NewBitRateAvg, 400);
    p.s.Edit2.SetText("400");
    ChangeByPercentage(p.s);
    EXPECT_GT(p["v02"].NewBitRateAvg, 9000);
    EXPECT_GT(p["v02"].NewOverallPercent, 100);
}

TEST(Commands, SlidersWriteTheirBoxAndRunTheirCommand)
{
    EngineProject p(OneLow());
    struct Case {
        int position;
        const char* text;
    };
    for (const Case c : {Case{755, "75.5"}, Case{750, "75"}, Case{1000, "100"}, Case{53, "5.3"}}) {
        MoveSlider(p.s, p.s.TrackBar2, c.position);
        EXPECT_EQ(p.s.Edit1.Text(), c.text);
        EXPECT_NEAR(p["v01"].NewOverallPercent, std::max(static_cast<double>(ParseReal(c.text)), 62.5), 1e-9) << c.text;
    }
    MoveSlider(p.s, p.s.TrackBar1, 3250);
    EXPECT_EQ(p.s.Edit5.Text(), "3250");
    // v01's 100 percent bitrate is 800, so that is what it gets.
    EXPECT_DOUBLE_EQ(p["v01"].NewBitRateAvg, 800);
}

TEST(Commands, SlidersBeforeALoadChangeOnlyTheirBox)
{
    ProjectState s;
    MoveSlider(s, s.TrackBar2, 755);
    EXPECT_EQ(s.Edit1.Text(), "75.5");
    // The refresh meets the empty item row that a fresh item table holds.
    EXPECT_EQ(ErrorOf([&] { MoveSlider(s, s.TrackBar1, 4000); }), "'' is not a valid floating point value");
    EXPECT_EQ(s.Edit5.Text(), "4000");
    EXPECT_EQ(s.VTSData[1].NewSize, 0);
}

}  // namespace
