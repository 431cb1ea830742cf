#include <gtest/gtest.h>

#include "ui/batch_job.h"

using namespace rq;

TEST(ParseBatchArguments, OptionsNamesAndValues)
{
    struct Case {
        std::vector<std::string> args;
        BatchSettings expected;
    };
    const Case cases[] = {
        {{}, {}},
        {{"/ecl=/dvd/REBUILDER.ECL", "/vts=v01", "/min=1850", "/max_via_bitrate", "/autosave", "/autoexit"},
         {"/dvd/REBUILDER.ECL", "v01", "1850", BatchMode::ViaBitrate, false, true, true}},
        // Names are compared in lower case; values keep their case.
        {{"/ECL=/Dvd/Rebuilder.ECL", "/VTS=V01", "/NOGUI", "/Max_Via_Percent"},
         {"/Dvd/Rebuilder.ECL", "V01", "", BatchMode::ViaPercentage, true, false, false}},
        // The later mode counts; the last occurrence of a value wins.
        {{"/max_via_percent", "/max_via_bitrate", "/min=1", "/min=2"}, {"", "", "2", BatchMode::ViaBitrate, false, false, false}},
        // /vts= and /min= keep at most ten characters.
        {{"/min=12345678901234", "/vts=abcdefghijklmn"}, {"", "abcdefghij", "1234567890", BatchMode::None, false, false, false}},
        // Unknown and near-miss arguments are ignored.
        {{"/nogui2", "--report", "/autosave=1", "ecl=x", "/ecl"}, {}},
        {{"/ecl=/a path/with blanks/REBUILDER.ECL"}, {"/a path/with blanks/REBUILDER.ECL", "", "", BatchMode::None, false, false, false}},
    };
    for (const Case& c : cases) {
        const BatchSettings b = ParseBatchArguments(c.args);
        const std::string where = c.args.empty() ? "(none)" : c.args.front();
        EXPECT_EQ(b.ProjectPath, c.expected.ProjectPath) << where;
        EXPECT_EQ(b.Target, c.expected.Target) << where;
        EXPECT_EQ(b.Others, c.expected.Others) << where;
        EXPECT_EQ(b.Mode, c.expected.Mode) << where;
        EXPECT_EQ(b.NoGui, c.expected.NoGui) << where;
        EXPECT_EQ(b.AutoSave, c.expected.AutoSave) << where;
        EXPECT_EQ(b.AutoExit, c.expected.AutoExit) << where;
    }
}

TEST(ParseBatchArguments, HidesTheWindowTheMomentNoGuiIsRead)
{
    const std::vector<std::string> args = {"/ecl=x", "/nogui", "/vts=v01"};
    int hides = 0;
    ParseBatchArguments(args, [&] { ++hides; });
    EXPECT_EQ(hides, 1);
}

TEST(ParseBatchArguments, ThePathIsKeptWholeAndTheValuesAreCut)
{
    const std::string longPath(5000, 'p');
    const BatchSettings b = ParseBatchArguments({"/ecl=" + longPath, "/vts=v01234567890", "/min=12345678901"});
    EXPECT_EQ(b.ProjectPath, longPath);
    EXPECT_EQ(b.Target, "v012345678");
    EXPECT_EQ(b.Others, "1234567890");
}
