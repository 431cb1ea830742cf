#include <gtest/gtest.h>

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
