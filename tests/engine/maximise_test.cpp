#include <gtest/gtest.h>

#include <cmath>

#include "engine/maximise.h"
#include "engine_fixture.h"

using namespace rq;

namespace {

// The main film v01 at 50 percent of its disc size, with room to grow; two
// extras loaded above the default 1850 kbit/s.
std::vector<VTSSpec> Film() { return {{"v01", 4000000, 5000}, {"v02", 1000000, 3000}, {"v03", 1000000, 2500}}; }

double Rel(double a, double b) { return std::fabs(a - b) / std::fabs(b); }

TEST(Maximise, OthersEndAtTheBitrateAndTheTargetTakesTheRest)
{
    struct Case {
        const char* value;
        double expected;
    };
    // 300 is below "Min Bitrate" 500 and works as 500.
    for (const Case c : {Case{"1850", 1850}, Case{"300", 500}}) {
        SCOPED_TRACE(c.value);
        EngineProject p(Film());
        p.s.Edit7.SetText(c.value);
        MaximiseViaBitrate(p.s);
        EXPECT_LT(Rel(p["v02"].NewBitRateAvg, c.expected), 1e-12);
        EXPECT_LT(Rel(p["v03"].NewBitRateAvg, c.expected), 1e-12);
        EXPECT_LT(Rel(p["v01"].NewSize, 6000000 - p["v02"].NewSize - p["v03"].NewSize), 1e-12);
        EXPECT_LT(Rel(static_cast<double>(p.TotalNewSize()), 6000000), 1e-12);
        EXPECT_EQ(p.Locks(), (std::vector<bool>{false, false, false}));
    }
}

TEST(Maximise, UserLockedTitleSetKeepsItsSize)
{
    // v04 is locked below the minimum: phase B visits it, but nothing moves it.
    std::vector<VTSSpec> sets = Film();
    sets.push_back({"v04", 500000, 400});
    EngineProject p(sets);
    p.Lock("v04");
    const auto before = Fields(p["v04"]);
    MaximiseViaBitrate(p.s);
    EXPECT_EQ(Fields(p["v04"]), before);
    EXPECT_LT(Rel(p["v02"].NewBitRateAvg, 1850), 1e-12);
    EXPECT_EQ(p.Locks(), (std::vector<bool>{false, false, false, true}));
}

TEST(Maximise, OtherAtFullSizeEndsAtHundredPercentNotAtTheValue)
{
    // v02 is stored at its full disc size at 1000 kbit/s: setting it to 1850
    // would take it to 185 percent; the second pass's cap has the last word.
    EngineProject p({{"v01", 4000000, 5000}, {"v02", 1000000, 1000, 100}, {"v03", 1000000, 2500}});
    MaximiseViaBitrate(p.s);
    EXPECT_LT(Rel(p["v02"].NewOverallPercent, 100), 1e-12);
    EXPECT_LT(Rel(p["v02"].NewBitRateAvg, 1000), 1e-12);
    // Its surplus went back to the free ones after v03 had been set.
    EXPECT_GT(p["v03"].NewBitRateAvg, 1850);
    EXPECT_LT(Rel(static_cast<double>(p.TotalNewSize()), 6000000), 1e-12);
}

TEST(Maximise, TargetIsCappedAtHundredPercent)
{
    // At 90 percent the target v01 has only a ninth left to grow.
    EngineProject p({{"v01", 4000000, 5000, 90}, {"v02", 1000000, 3000}, {"v03", 1000000, 2500}});
    MaximiseViaBitrate(p.s);
    EXPECT_LT(Rel(p["v01"].NewOverallPercent, 100), 1e-12);
    EXPECT_GT(p["v02"].NewBitRateAvg, 1850);
    EXPECT_GT(p["v03"].NewBitRateAvg, 1850);
    EXPECT_LT(Rel(static_cast<double>(p.TotalNewSize()), 6000000), 1e-12);
}

TEST(Maximise, WithoutATargetTheLastFreeOneTakesTheDifference)
{
    for (const char* target : {"", "v09", "V01"}) {
        SCOPED_TRACE(target);
        EngineProject p({{"v01", 1000000, 3000}, {"v02", 1000000, 2500}, {"v03", 4000000, 5000}});
        p.s.ComboBox5.SetText(target);
        MaximiseViaBitrate(p.s);
        EXPECT_LT(Rel(p["v01"].NewBitRateAvg, 1850), 1e-12);
        EXPECT_LT(Rel(p["v02"].NewBitRateAvg, 1850), 1e-12);
        EXPECT_GT(p["v03"].NewSize, 4000000);
        EXPECT_EQ(p.Locks(), (std::vector<bool>{false, false, false}));
    }
}

TEST(Maximise, ByBitrateTheBitrateAsLoadedTellsTheSmallOnes)
{
    // v01 and v02 were loaded at 3000 kbit/s and now run at 1500; v03 was
    // loaded at 1000. With no free target, v03 is the last one left free: it
    // is not set but takes up the difference, down to 222 kbit/s. Loaded at or
    // below the value, it counts as small and is lifted to the minimum, with
    // size from v01 and v02, which were loaded above the value and stay free.
    for (const char* target : {"", "v04"}) {
        SCOPED_TRACE(target);
        std::vector<VTSSpec> sets = {{"v01", 1000000, 3000}, {"v02", 1000000, 3000}, {"v03", 300000, 1000}};
        if (*target != '\0')
            sets.push_back({"v04", 1000000, 3000});
        EngineProject p(sets);
        for (const char* n : {"v01", "v02"}) {
            p[n].NewSize = 500000;
            p[n].PercentChange = 50;
            p[n].NewBitRateAvg = 1500;
            p[n].NewOverallPercent = 25;
        }
        if (*target != '\0')
            p.Lock(target);
        p.s.ComboBox5.SetText(target);
        MaximiseViaBitrate(p.s);
        EXPECT_LT(Rel(p["v03"].NewBitRateAvg, 500), 1e-12);
        EXPECT_LT(Rel(p["v01"].NewSize, 575000), 1e-12);
        EXPECT_LT(Rel(p["v02"].NewSize, 575000), 1e-12);
        EXPECT_LT(Rel(static_cast<double>(p.TotalNewSize()), *target != '\0' ? 2300000 : 1300000), 1e-12);
    }
}

TEST(Maximise, OneFreeTitleSetMovesNothing)
{
    EngineProject p(Film());
    p.Lock("v02");
    p.Lock("v03");
    MaximiseViaBitrate(p.s);
    MaximiseViaPercentage(p.s);
    for (const char* n : {"v01", "v02", "v03"})
        EXPECT_EQ(p[n].NewSize, p[n].KBytes) << n;
    EXPECT_EQ(p.Locks(), (std::vector<bool>{false, true, true}));
}

TEST(Maximise, ByPercentageLiftsTheSmallOnesToTheMinimum)
{
    // At 40 percent v02 would run at 2400 kbit/s, v03 at 400: below the minimum.
    EngineProject p({{"v01", 4000000, 5000}, {"v02", 1000000, 3000}, {"v03", 1000000, 500}});
    MaximiseViaPercentage(p.s);
    EXPECT_LT(Rel(p["v02"].NewOverallPercent, 40), 1e-12);
    EXPECT_LT(Rel(p["v03"].NewBitRateAvg, 500), 1e-12);
    EXPECT_LT(Rel(static_cast<double>(p.TotalNewSize()), 6000000), 1e-12);
    EXPECT_EQ(p.Locks(), (std::vector<bool>{false, false, false}));
}

TEST(Maximise, ByPercentageTheSecondPassSharesOutTheFilmsCapAgain)
{
    // The film v01 at 85 percent can grow only to 100 (7058823.5 KB). At 20
    // percent v02 would run at 300 kbit/s: the first pass lifts it to the minimum
    // before the film's cap shares out its surplus, which leaves v02 at 47.46 and
    // v03 at 27.99 percent. The second pass sets both to 20 percent again (v02's
    // comes back a hair above 20 and is not lifted this time); the cap's surplus,
    // shared by size, leaves both at 600/17 = 35.29 percent, v02 at 529 kbit/s.
    EngineProject p({{"v01", 6000000, 4000, 85}, {"v02", 1000000, 1500, 100}, {"v03", 1000000, 3500, 60}});
    p.s.Edit11.SetText("20");
    MaximiseViaPercentage(p.s);
    EXPECT_LT(Rel(p["v01"].NewSize, 6000000 / 0.85), 1e-12);
    EXPECT_LT(Rel(p["v02"].NewSize, 6000000 / 17.0), 1e-12);
    EXPECT_LT(Rel(p["v03"].NewSize, 10000000 / 17.0), 1e-12);
    EXPECT_LT(Rel(p["v02"].NewOverallPercent, 600 / 17.0), 1e-12);
    EXPECT_LT(Rel(p["v03"].NewOverallPercent, 600 / 17.0), 1e-12);
}

TEST(Maximise, BoxesThatAreNoWholeNumber)
{
    struct Case {
        void (*command)(ProjectState&);
        const char* edit7;
        const char* edit11;
        const char* edit8;
        const char* error;
    };
    const Case cases[] = {
        {MaximiseViaBitrate, "1850.5", "40", "abc", "'1850.5' is not a valid integer value"},  // value box first
        {MaximiseViaBitrate, "1850", "40", "500.5", "'500.5' is not a valid integer value"},
        {MaximiseViaPercentage, "x", "40.5", "500", "'40.5' is not a valid integer value"},
        // The percentage variant first meets the minimum in its first set.
        {MaximiseViaPercentage, "x", "40", "500.5", "'500.5' is not a valid integer value"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        EngineProject p(Film());
        p.s.Edit7.SetText(c.edit7);
        p.s.Edit11.SetText(c.edit11);
        p.s.Edit8.SetText(c.edit8);
        EXPECT_EQ(ErrorOf([&] { c.command(p.s); }), c.error);
        for (const char* n : {"v01", "v02", "v03"})
            EXPECT_EQ(p[n].NewSize, p[n].KBytes) << n;
        EXPECT_EQ(p.Locks(), (std::vector<bool>{false, false, false}));
    }
}

TEST(Maximise, ErrorMidPhaseLeavesTheTemporaryLocks)
{
    // v03 has no bitrate to scale from; v02, set just before it, stays locked.
    EngineProject p(Film());
    p["v03"].BitrateAvg = 0;
    p["v03"].NewBitRateAvg = 0;
    EXPECT_EQ(ErrorOf([&] { MaximiseViaBitrate(p.s); }), "Floating point division by zero");
    EXPECT_LT(Rel(p["v02"].NewBitRateAvg, 1850), 1e-12);
    EXPECT_EQ(p.Locks(), (std::vector<bool>{false, true, false}));
}

}  // namespace
