#include <gtest/gtest.h>

#include <random>

#include "project/key_lines.h"
#include "project/paths.h"
#include "project/reader.h"
#include "project/text_file.h"
#include "support/project_files.h"

using namespace rq;
using namespace rqtest;

TEST(SplitTextLines, FollowsTheLineEndAndCtrlZRules)
{
    using L = std::vector<std::string>;
    const struct {
        std::string bytes;
        L lines;
    } cases[] = {
        {"", {}},
        {"a\nb", {"a", "b"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\n\nb\n", {"a", "", "b"}},
        {"a\rb\r\n", {"ab"}},                    // a lone CR is dropped
        {"a\r", {"a"}},
        {"a\r\n\x1a\r\nb\r\n", {"a"}},           // Ctrl-Z first on a line ends the file
        {"ab\x1a" "cd\r\nef", {"ab", "ef"}},     // inside a line it ends that line
        {std::string("a\0b\n", 4), {std::string("a\0b", 3)}},
        // Lines longer than the sixteen bytes scanned at once, marks on either side of a block's end
        {std::string(20, 'x') + "\r\n" + std::string(17, 'y') + "\rz\n", {std::string(20, 'x'), std::string(17, 'y') + "z"}},
        {std::string(33, 'x') + "\x1a" "tail\r\n" + std::string(16, 'w'), {std::string(33, 'x'), std::string(16, 'w')}},
        {std::string(31, 'x') + "\r", {std::string(31, 'x')}},
        {std::string(15, 'x') + "\r\n\r\n", {std::string(15, 'x'), ""}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitTextLines(c.bytes), c.lines) << c.bytes;
}

// The rules read plainly: a line runs to its LF; a Ctrl-Z first on a line
// ends the file, inside a line it ends the line's text; every CR is dropped.
// Random texts of long and short CR LF lines with the odd lone CR, bare LF
// and Ctrl-Z, so that both the block-wise and the general ways are taken.
TEST(SplitTextLines, AgreesWithThePlainRulesOnRandomTexts)
{
    const auto plain = [](const std::string& bytes) {
        std::vector<std::string> lines;
        for (size_t i = 0; i < bytes.size() && bytes[i] != '\x1a';) {
            const size_t lf = bytes.find('\n', i);
            const size_t end = lf == std::string::npos ? bytes.size() : lf;
            std::string text;
            for (size_t j = i; j < end && bytes[j] != '\x1a'; ++j)
                if (bytes[j] != '\r')
                    text += bytes[j];
            lines.push_back(text);
            i = end + 1;
        }
        return lines;
    };
    std::mt19937 rng(64);
    for (int t = 0; t < 4000; ++t) {
        std::string bytes;
        const int lines = static_cast<int>(rng() % 12);
        for (int l = 0; l < lines; ++l) {
            bytes.append(rng() % 3 == 0 ? rng() % 150 : rng() % 20, 'x');
            const auto odd = rng() % 40;
            if (odd == 0)
                bytes.insert(bytes.size() - (bytes.empty() ? 0 : rng() % bytes.size()), 1, '\r');
            else if (odd == 1)
                bytes.insert(bytes.size() - (bytes.empty() ? 0 : rng() % bytes.size()), 1, '\x1a');
            bytes += rng() % 8 == 0 ? "\n" : "\r\n";
        }
        if (rng() % 4 == 0 && !bytes.empty())
            bytes.resize(bytes.size() - 1 - rng() % std::min<size_t>(bytes.size(), 3));
        ASSERT_EQ(SplitTextLines(bytes), plain(bytes)) << testing::PrintToString(bytes);
    }
}

TEST(ChangeFileExt, ReplacesOnlyTheLastNamesExtension)
{
    const struct {
        const char* path;
        const char* ecl;
    } cases[] = {
        {"/dvd/REBUILDER.ECL", "/dvd/REBUILDER.ECL"}, {"/dvd/REBUILDER.INF", "/dvd/REBUILDER.ECL"},
        {"/dvd/rebuilder.ecl", "/dvd/rebuilder.ECL"}, {"/dvd/REBUILDER", "/dvd/REBUILDER.ECL"},
        {"/dvd.2/REBUILDER", "/dvd.2/REBUILDER.ECL"}, {"C:\\dvd.2\\x", "C:\\dvd.2\\x.ECL"},
        {"C:x.txt", "C:x.ECL"},                       {"a.b.c", "a.b.ECL"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChangeFileExt(c.path, ".ECL"), c.ecl) << c.path;
}

TEST(LoadECL, RecognisesKeysOnlyAtTheStartAndStoresThemLowerCased)
{
    TempFolder dir;
    const std::string longTitle = "v01" + std::string(1100, 'X');
    WriteBytes(dir / "REBUILDER.ECL",
               Crlf({"title=Header", "[item] ", "[ITEM]", "Title=V01PGC1_0", "VBR_PASS=3", "Half_Width=1",
                     "vbr_brate_avg = 9", " vbr_brate_avg=9", "vbr_brate_avg=4500", "vbr_brate_avh=7", "encode_first=0",
                     "encode_last=999", "frame_rate_idx=3", "[item]", "title=" + longTitle, "vbr_brate_avg=1000",
                     "encode_first=0", "encode_last=99", "frame_rate_idx=3"}));
    WriteBytes(dir / "REBUILDER.INF", Crlf({"[V01PGC1_0]", "REDUCTION=50.5", "[" + longTitle.substr(0, 1024) + "]",
                                            "reduction=60" + std::string(120, ' '), "[v01pgc1_0] ",
                                            "reduction=1"}));
    ProjectState s;
    LoadECL(s, dir / "REBUILDER.ECL");
    const TextGrid& g = s.StringGrid1;
    ASSERT_EQ(g.RowCount(), 3);
    EXPECT_EQ(g.Cell(kColTitle, 0), "header");  // a key before the first item overwrites the header
    EXPECT_EQ(g.Row(1), (std::vector<std::string>{"v01pgc1_0", "4500", "3", "1", "50.5", "0", "999",
                                                  "21972.65625", "25", ""}));
    EXPECT_EQ(g.Cell(kColTitle, 2), LowerAscii(longTitle.substr(0, 1024)));
    EXPECT_EQ(g.Cell(kColReduction, 2), "60" + std::string(98, ' '));
    EXPECT_EQ(s.ListBox1.Count(), 19);
    EXPECT_EQ(s.ListBox1[3], "Title=V01PGC1_0");
    EXPECT_EQ(s.ListBox2.Count(), 6);
    EXPECT_EQ(s.ProjectPath, dir / "REBUILDER.ECL");
    EXPECT_FALSE(s.Button1.Enabled());
}

TEST(LoadECL, TranslatesTheFrameRateIndex)
{
    const struct {
        const char* index;
        const char* text;
    } cases[] = {{"0", "25"}, {"1", "23.97"}, {"2", "25"}, {"3", "25"}, {"4", "29.97"}, {"5", "25"}, {"8", "25"}};
    for (const auto& c : cases) {
        TempFolder dir;
        WriteBytes(dir / "REBUILDER.ECL", EclItem("v01", "4000", 0, 99, c.index));
        WriteBytes(dir / "REBUILDER.INF", InfSection("v01", "50"));
        ProjectState s;
        LoadECL(s, dir / "REBUILDER.ECL");
        EXPECT_EQ(s.StringGrid1.Cell(kColFrameRate, 1), c.text) << c.index;
    }
}

TEST(LoadECL, FailuresLeaveTheStatesDescribedForThem)
{
    TempFolder dir;
    ProjectState s;
    // A frame-rate index that is no integer ends the load at its line.
    WriteBytes(dir / "REBUILDER.ECL", Crlf({"[item]", "title=v01", "frame_rate_idx=abc", "encode_first=0"}));
    EXPECT_EQ(ErrorOf([&] { LoadECL(s, dir / "REBUILDER.ECL"); }), "'abc' is not a valid integer value");
    EXPECT_EQ(s.ListBox1.Count(), 3);
    EXPECT_TRUE(s.Button1.Enabled());

    // Without the INF file the ECL is read and nothing is aggregated.
    WriteBytes(dir / "REBUILDER.ECL", EclItem("v01", "4000", 0, 99));
    EXPECT_EQ(ErrorOf([&] { LoadECL(s, dir / "REBUILDER.ECL"); }), "File not found");
    EXPECT_EQ(s.ListBox1.Count(), 8);
    EXPECT_EQ(s.ListBox2.Count(), 0);
    EXPECT_EQ(s.VTSData[1].Name, "");
    EXPECT_TRUE(s.Button1.Enabled());

    // An item the INF does not name has no reduction.
    WriteBytes(dir / "REBUILDER.INF", InfSection("v02", "50"));
    EXPECT_EQ(ErrorOf([&] { LoadECL(s, dir / "REBUILDER.INF"); }), "'' is not a valid floating point value");
    EXPECT_EQ(s.ListBox2.Count(), 2);
}

TEST(LoadECL, FindsAPairWhoseNamesDifferInLetterCase)
{
    TempFolder dir;
    std::filesystem::create_directory(dir / "film.v2");
    WriteBytes(dir / "film.v2/rebuilder.ecl", EclItem("v01", "4500", 0, 999, "3"));
    WriteBytes(dir / "film.v2/Rebuilder.Inf", InfSection("V01", "40"));
    ProjectState s;
    LoadECL(s, dir / "film.v2/Rebuilder.Inf");
    EXPECT_EQ(s.VTSData[1].KBytes, 21972.65625);
    EXPECT_EQ(s.VTSData[1].OriginalAveragePercent, 40);
    EXPECT_EQ(FindFileIgnoringCase(dir / "film.v2/REBUILDER.ECL"), dir / "film.v2/rebuilder.ecl");
    EXPECT_EQ(FindFileIgnoringCase(dir / "film.v2/REBUILDER.ECLBAK"), dir / "film.v2/REBUILDER.ECLBAK");
}

TEST(LoadECL, LetsTheWindowBreatheBeforeTheFirstItemAndOnEveryTenthItem)
{
    TempFolder dir;
    std::string ecl = Crlf({"[ECL]"});
    std::string inf;
    for (int i = 1; i <= 21; ++i) {
        ecl += Crlf({"[item]", "title=v01_" + rq::FormatInteger(i), "encode_first=0", "encode_last=9",
                     "vbr_brate_avg=3000", "frame_rate_idx=3"});
        inf += InfSection("v01_" + rq::FormatInteger(i), "50");
    }
    WriteBytes(dir / "REBUILDER.ECL", ecl);
    WriteBytes(dir / "REBUILDER.INF", inf);
    ProjectState s;
    int calls = 0;
    LoadECL(s, dir / "REBUILDER.ECL", [&] { ++calls; });
    EXPECT_EQ(calls, 1 + 6 + 6);  // the header line, then the lines of items 10 and 20
}

TEST(LoadECL, ReadsTheExampleProject)
{
    ProjectState s;
    LoadECL(s, RQ_EXAMPLES_DIR "/REBUILDER.ECL");
    EXPECT_EQ(s.CheckListBox1.Count(), 6);
    EXPECT_EQ(s.ComboBox5.Text(), "v02");
    for (int r = 1; r < s.StringGrid1.RowCount(); ++r)
        EXPECT_FALSE(s.StringGrid1.Cell(kColReduction, r).empty()) << r;
    for (int k = 1; k <= 6; ++k) {
        EXPECT_GT(s.VTSData[static_cast<size_t>(k)].BitrateAvg, 1850) << k;
        if (k != 2) {
            EXPECT_LT(s.VTSData[static_cast<size_t>(k)].Frames, s.VTSData[2].Frames);
        }
    }
}

TEST(LoadECL, SectionsOpenAtAnyBracketAndLinesBeforeThemBelongToTheEmptyTitle)
{
    // Item 1 has no title line: its title is empty. Item 2 is v01.
    const std::string ecl = Crlf({"[item]", "vbr_brate_avg=3000", "encode_first=0", "encode_last=99",
                                  "frame_rate_idx=3"}) +
                            EclItem("V01", "4000", 0, 99);
    using R = std::vector<std::string>;
    const struct {
        std::vector<std::string> inf;
        R reductions;  // of item 1 and item 2
    } cases[] = {
        {{"reduction=30", "[V01]", "reduction=50"}, {"30", "50"}},
        // A "[" after the start of a line opens a section too: "x[" names the empty one.
        {{"[V01]", "reduction=50", "x[", "reduction=30"}, {"30", "50"}},
        {{"reduction=30", "[V01]", "reduction=50", "; [note]", "reduction=10"}, {"30", "50"}},
        {{"reduction=30", "[V01]", "reduction=50[", "reduction=10"}, {"30", ""}},
    };
    for (const auto& c : cases) {
        TempFolder dir;
        WriteBytes(dir / "REBUILDER.ECL", ecl);
        std::string inf;
        for (const std::string& line : c.inf)
            inf += line + "\r\n";
        WriteBytes(dir / "REBUILDER.INF", inf);
        ProjectState s;
        const std::string error = ErrorOf([&] { LoadECL(s, dir / "REBUILDER.ECL"); });
        EXPECT_EQ(Column(s.StringGrid1, kColReduction), (R{"Reduction", c.reductions[0], c.reductions[1]})) << inf;
        EXPECT_EQ(error, c.reductions[1].empty() ? "'' is not a valid floating point value" : "(no error)") << inf;
    }
}

TEST(LoadECL, OfSeveralSpellingsBesideTheProjectTheExactOneIsRead)
{
#if defined(_WIN32)
    GTEST_SKIP() << "one folder holds one spelling of a name";
#endif
    TempFolder dir;
    WriteBytes(dir / "rebuilder.ecl", EclItem("v01", "4500", 0, 999));
    WriteBytes(dir / "REBUILDER.INF", InfSection("v01", "50"));
    WriteBytes(dir / "rebuilder.inf", InfSection("v01", "45"));
    WriteBytes(dir / "rebuilder.INF", InfSection("v01", "40"));
    // The spelling the ECL file's name gives ("rebuilder" + ".INF") is read
    // where it exists; without it, the first spelling in byte order.
    for (const auto& [remove, reduction] : {std::pair{"", "40"}, std::pair{"rebuilder.INF", "50"}}) {
        if (*remove != '\0')
            std::filesystem::remove(FsPath(dir / remove));
        ProjectState s;
        LoadECL(s, dir / "rebuilder.ecl");
        EXPECT_EQ(s.StringGrid1.Cell(kColReduction, 1), reduction) << remove;
    }
}

// The word-at-a-time key tests and lower-casing against the rule itself, a
// letter at a time, over texts of the bytes next to A to Z and a to z.
TEST(KeyLines, WordsAtATimeAgreeWithTheRuleLetterByLetter)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    const auto lowered = [&](std::string t) {
        for (char& c : t)
            c = lower(c);
        return t;
    };
    const auto startsWith = [&](std::string_view line, std::string_view key) {
        return line.size() >= key.size() && lowered(std::string(line.substr(0, key.size()))) == key;
    };
    const std::string bytes = std::string("@AMZ[`amz{=_0") + '\x7f' + '\x80' + '\xc1' + '\xda' + '\xfa';
    std::vector<std::string> keys;
    for (const EclKey& k : kEclKeys)
        keys.emplace_back(k.key);
    std::mt19937 random(20261208);
    const auto text = [&](size_t n) {
        std::string t(n, ' ');
        for (char& c : t)
            c = bytes[random() % bytes.size()];
        return t;
    };
    for (int i = 0; i < 200000; ++i) {
        const size_t n = random() % 21;
        // Lines that are a key, or a key with some letters upper-cased or changed, or anything.
        std::string line = text(n);
        if (random() % 2) {
            line = keys[random() % keys.size()] + line;
            for (char& c : line)
                if (random() % 4 == 0)
                    c = random() % 2 ? static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c) : bytes[random() % bytes.size()];
        }
        const std::string key = random() % 2 ? keys[random() % keys.size()] : lowered(text(random() % 20));
        ASSERT_EQ(StartsWithKey(line, key), startsWith(line, key)) << line << " / " << key;
        const EclKey* expected = nullptr;
        for (const EclKey& k : kEclKeys)
            if (startsWith(line, k.key))
                expected = &k;
        ASSERT_EQ(KeyOfLine(line), expected) << line;
        ASSERT_EQ(LowerAscii(line), lowered(line)) << line;
        std::string out = random() % 2 ? lowered(line) : lowered(text(n));
        const std::string was = out;
        ASSERT_EQ(AssignLowerAscii(out, line), was != lowered(line)) << line;
        ASSERT_EQ(out, lowered(line)) << line;
    }
}
