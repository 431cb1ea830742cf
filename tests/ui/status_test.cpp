#include <gtest/gtest.h>

#include "support/separators_guard.h"
#include "ui/status.h"

using namespace rq;

TEST(StatusTexts, SaveNamesTheFilesAndBackupsAsOnDisk)
{
    const SaveFiles upper{"REBUILDER.ECL", "REBUILDER.INF", "REBUILDER.ECLBAK", "REBUILDER.INFBAK", false, false};
    SaveFiles lower{"rebuilder.ecl", "rebuilder.inf", "rebuilder.ECLBAK", "rebuilder.INFBAK", false, false};
    SaveFiles earlier = upper;
    earlier.eclBackupBefore = earlier.infBackupBefore = true;
    SaveFiles eclOnly = upper;
    eclOnly.eclBackupBefore = true;
    const struct {
        SaveFiles before, after;
        const char* text;
    } cases[] = {
        {upper, upper,
         "Saved REBUILDER.ECL and REBUILDER.INF; originals kept as REBUILDER.ECLBAK and REBUILDER.INFBAK"},
        {lower, lower, "Saved rebuilder.ecl and rebuilder.inf; originals kept as rebuilder.ECLBAK and rebuilder.INFBAK"},
        {earlier, earlier, "Saved REBUILDER.ECL and REBUILDER.INF; backups from an earlier save kept"},
        {eclOnly, upper,
         "Saved REBUILDER.ECL and REBUILDER.INF; original kept as REBUILDER.INFBAK, REBUILDER.ECLBAK from an earlier "
         "save kept"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SavedText(c.before, c.after), c.text);
}

TEST(StatusTexts, TotalsInTheUsersNumberFormat)
{
    const SeparatorsGuard guard(',', '.');
    EXPECT_EQ(TotalsText(4245618.4, 4245618), "New total 4.245.618 KB against 4.245.618 KB loaded");
    SetNumberSeparators({'.', ','});
    EXPECT_EQ(TotalsText(139157.6, 139158.2), "New total 139,158 KB against 139,158 KB loaded");
}
