#include <gtest/gtest.h>

#include "engine/lock_list.h"
#include "engine_fixture.h"

using namespace rq;

namespace {

std::vector<VTSSpec> Three() { return {{"v01", 1000, 4000}, {"v02", 2000, 3000}, {"v03", 3000, 2000}}; }

TEST(LockList, TheLastFreeTitleSetCannotBeLocked)
{
    EngineProject p(Three());
    EXPECT_EQ(VTSCount(p.s), 3);
    LockVTS(p.s, "v01", true);
    LockVTS(p.s, "v03", true);
    LockVTS(p.s, "v02", true);
    EXPECT_EQ(p.Locks(), (std::vector<bool>{true, false, true}));
    EXPECT_EQ(VTSCount(p.s), 1);
    EXPECT_FALSE(NotLocked(p.s, "v01"));
    EXPECT_TRUE(NotLocked(p.s, "V01"));  // names are compared exactly
    EXPECT_TRUE(NotLocked(p.s, "v07"));
}

TEST(LockList, EmptyListLocksNothing)
{
    ProjectState s;
    EXPECT_EQ(VTSCount(s), 0);
    EXPECT_TRUE(NotLocked(s, "v01"));
    LockVTS(s, "v01", true);
    EXPECT_EQ(s.CheckListBox1.Count(), 0);
}

TEST(LockList, SnapshotRestoresThePatternWhateverHappenedBetween)
{
    EngineProject p(Three());
    p.Lock("v02");
    const LockSnapshot snap = TakeLockSnapshot(p.s);
    LockVTS(p.s, "v01", true);  // now only v03 is free
    p.Lock("v02", false);
    LockVTS(p.s, "v03", true);
    RestoreLockSnapshot(p.s, snap);
    EXPECT_EQ(p.Locks(), (std::vector<bool>{false, true, false}));
}

}  // namespace
