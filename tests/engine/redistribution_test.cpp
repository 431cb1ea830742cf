#include <gtest/gtest.h>

#include "engine/lock_list.h"
#include "engine/redistribution.h"
#include "engine_fixture.h"
#include "support/written_views.h"

using namespace rq;

namespace {

// Three title sets at 50 percent of their disc size: 1000, 2000 and 3000 KBytes.
std::vector<VTSSpec> Example() { return {{"v01", 1000, 4000}, {"v02", 2000, 3000}, {"v03", 3000, 2000}}; }

struct Expected {
    const char* name;
    double newSize, percentChange, temp, newBitRate, overall;
};

void ExpectRecord(EngineProject& p, const Expected& e)
{
    SCOPED_TRACE(e.name);
    const TVTSData& v = p[e.name];
    EXPECT_EQ(v.NewSize, e.newSize);
    EXPECT_EQ(v.PercentChange, e.percentChange);
    EXPECT_EQ(v.TempPercentChange, e.temp);
    EXPECT_EQ(v.NewBitRateAvg, e.newBitRate);
    EXPECT_EQ(v.NewOverallPercent, e.overall);
}

TEST(Redistribution, WorkedExampleByBitrateAndByPercentage)
{
    const std::vector<std::function<void(ProjectState&)>> asks = {
        [](ProjectState& s) { SetVTSBitRate(s, "v01", 5000); },
        [](ProjectState& s) { SetVTSPercent(s, "v01", 62.5); },
    };
    for (const auto& ask : asks) {
        EngineProject p(Example());
        ask(p.s);
        ExpectRecord(p, {"v01", 1250, 125, 125, 5000, 62.5});
        ExpectRecord(p, {"v02", 1900, 95, 95, 2850, 47.5});
        ExpectRecord(p, {"v03", 2850, 95, 95, 1900, 47.5});
        EXPECT_EQ(p.TotalNewSize(), 6000);
        // The views follow every call.
        EXPECT_EQ(Written(p.s).StringGrid2.Cell(4, 2), "1900");
    }
}

TEST(Redistribution, LockedTitleSetKeepsEveryField)
{
    EngineProject p(Example());
    SetVTSBitRate(p.s, "v01", 5000);  // gives v02 a TempPercentChange of 95
    const auto before = Fields(p["v02"]);
    p.Lock("v02");
    SetVTSBitRate(p.s, "v01", 3000);
    EXPECT_EQ(Fields(p["v02"]), before);
    // The whole difference went to v03, the only other free title set.
    EXPECT_EQ(p["v01"].NewSize, 750);
    EXPECT_EQ(p["v03"].NewSize, 3350);
    EXPECT_EQ(p.TotalNewSize(), 6000);
    // A locked target moves nothing either.
    SetVTSPercent(p.s, "v02", 90);
    EXPECT_EQ(Fields(p["v02"]), before);
    EXPECT_EQ(p["v01"].NewSize, 750);
}

TEST(Redistribution, NoTargetMovesNoSizeButRecomputesTheFreeOnes)
{
    struct Case {
        const char* name;
        bool lockV01;
    };
    for (const Case c : {Case{"", false}, Case{"v09", false}, Case{"V01", false}, Case{"v01", true},
                         Case{"v02", false}}) {
        SCOPED_TRACE(c.name);
        EngineProject p(Example());
        if (c.lockV01)
            p.Lock("v01");
        // Stale derived figures, as an earlier step might have left them.
        for (const char* n : {"v01", "v02", "v03"}) {
            p[n].NewBitRateAvg = 1;
            p[n].NewOverallPercent = 1;
            p[n].TempPercentChange = 1;
        }
        const double current = c.name == std::string("v02") ? 1 : 0;  // "v02": ask for its current bitrate
        SetVTSBitRate(p.s, c.name, current);
        for (const char* n : {"v01", "v02", "v03"}) {
            SCOPED_TRACE(n);
            const TVTSData& v = p[n];
            EXPECT_EQ(v.NewSize, v.KBytes);
            if (c.lockV01 && n == std::string("v01")) {
                EXPECT_EQ(v.TempPercentChange, 1);
                continue;
            }
            EXPECT_EQ(v.TempPercentChange, 100);
            EXPECT_EQ(v.NewBitRateAvg, v.BitrateAvg);
            EXPECT_EQ(v.NewOverallPercent, 50);
        }
    }
}

TEST(Redistribution, OneFreeTitleSetMovesNothing)
{
    EngineProject p(Example());
    p.Lock("v02");
    p.Lock("v03");
    p.s.Edit8.SetText("not read");
    SetVTSPercent(p.s, "v01", 80);  // nothing at all, not even the refresh
    EXPECT_EQ(Written(p.s).StringGrid2.Cell(0, 1), "");
    SetVTSBitRate(p.s, "v01", 8000);  // no size moves, but the views are refreshed
    EXPECT_EQ(p["v01"].NewSize, 1000);
    EXPECT_EQ(Written(p.s).StringGrid2.Cell(0, 1), "v01");
}

TEST(Redistribution, GrowthBeyondTheOthersMakesThemNegativeInOneRatio)
{
    EngineProject p(Example());
    SetVTSBitRate(p.s, "v01", 40000);  // 10000 KBytes: 9000 more than the others' 5000
    EXPECT_EQ(p["v02"].NewSize, -1600);
    EXPECT_EQ(p["v03"].NewSize, -2400);
    EXPECT_EQ(p["v02"].PercentChange, -80);
    EXPECT_EQ(p["v03"].PercentChange, -80);
    EXPECT_EQ(p.TotalNewSize(), 6000);
}

TEST(Redistribution, ZeroDivisorsEndTheCallWithWhatWasStored)
{
    {
        // A target driven to no size has no bitrate to scale from.
        EngineProject p(Example());
        p["v01"].NewSize = 0;
        p["v01"].NewBitRateAvg = 0;
        EXPECT_EQ(ErrorOf([&] { SetVTSBitRate(p.s, "v01", 3000); }), "Floating point division by zero");
        EXPECT_EQ(p["v02"].TempPercentChange, 100);
        EXPECT_EQ(Written(p.s).StringGrid2.Cell(0, 1), "");  // not refreshed
    }
    {
        // Another title set at exactly zero: 0/0 in its own ratio, after its
        // size and those before it were stored.
        EngineProject p(Example());
        p["v03"].NewSize = 0;
        EXPECT_EQ(ErrorOf([&] { SetVTSBitRate(p.s, "v01", 5000); }), "Invalid floating point operation");
        EXPECT_EQ(p["v01"].NewSize, 1250);
        EXPECT_EQ(p["v01"].NewBitRateAvg, 4000);  // step 5 never ran
        EXPECT_EQ(p["v02"].NewSize, 2000 - 250);
    }
    {
        EngineProject p(Example());
        p["v01"].OriginalAveragePercent = 0;
        EXPECT_EQ(ErrorOf([&] { SetVTSPercent(p.s, "v01", 50); }), "Floating point division by zero");
    }
}

TEST(Redistribution, GetVTSPercent)
{
    EngineProject p(Example());
    p["v02"].NewOverallPercent = 47.25;
    p.s.VTSData[0].Name = "v00";  // record 0 is looked at here, and only here
    p.s.VTSData[0].NewOverallPercent = 12;
    EXPECT_EQ(GetVTSPercent(p.s, "v02"), 47.25);
    EXPECT_EQ(GetVTSPercent(p.s, "v00"), 12);
    EXPECT_EQ(GetVTSPercent(p.s, "v09"), 100);
    EXPECT_EQ(GetVTSPercent(p.s, ""), 100);
    EXPECT_EQ(GetVTSPercent(p.s, "V02"), 100);
}

}  // namespace
