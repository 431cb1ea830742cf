// Runs the built programs as processes, the way scripts and schedulers do:
// ratequill without a display and the window-free ratequill-cli, which must
// give the same texts and exit status.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "support/project_files.h"

namespace fs = std::filesystem;
using rqtest::Names;
using rqtest::ReadBytes;

namespace {

std::string Quote(const std::string& s)
{
    std::string out = "'";
    for (char c : s)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

class ProgramTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        rqtest::CopyExample(temp_);
        ecl_ = ReadBytes(dir_ / "REBUILDER.ECL");
        inf_ = ReadBytes(dir_ / "REBUILDER.INF");
    }

    // Runs the program without a display, after the shell words of `before`
    // (a limit, or a change of user); with `platform`, Qt's platform is the
    // only display there is.
    Result Run(const std::vector<std::string>& args, const std::string& before = "", const std::string& platform = "")
    {
        const std::string display = platform.empty() ? "-u QT_QPA_PLATFORM" : "QT_QPA_PLATFORM=" + Quote(platform);
        std::string cmd = before + " env -u DISPLAY -u WAYLAND_DISPLAY " + display + " " + Quote(program_);
        for (const std::string& a : args)
            cmd += " " + Quote(a);
        cmd += " >" + Quote((dir_ / "stdout.txt").string()) + " 2>" + Quote((dir_ / "stderr.txt").string());
        const int raw = std::system(cmd.c_str());
        Result r;
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        r.out = ReadBytes(dir_ / "stdout.txt");
        r.err = ReadBytes(dir_ / "stderr.txt");
        fs::remove(dir_ / "stdout.txt");
        fs::remove(dir_ / "stderr.txt");
        return r;
    }

    std::string Ecl() const { return "/ecl=" + (dir_ / "REBUILDER.ECL").string(); }
    bool Untouched() const
    {
        return ReadBytes(dir_ / "REBUILDER.ECL") == ecl_ && ReadBytes(dir_ / "REBUILDER.INF") == inf_ &&
               !fs::exists(dir_ / "REBUILDER.ECLBAK") && !fs::exists(dir_ / "REBUILDER.INFBAK");
    }

    std::string program_ = GetParam();
    rqtest::TempFolder temp_;
    const fs::path dir_ = rqtest::FsPath(temp_.Path());
    std::string ecl_;
    std::string inf_;
};

}  // namespace

TEST_P(ProgramTest, WholeJobsSaveTheProjectAndKeepTheOriginalsAsBackups)
{
    const std::vector<std::vector<std::string>> jobs = {
        {"/max_via_bitrate", "/vts=v02", "/min=1850"},
        {"/max_via_percent", "/vts=v02", "/min=40"},
        // Upper-case option names work like lower-case ones.
        {"/MAX_VIA_BITRATE", "/VTS=v02", "/MIN=1850"},
    };
    for (const auto& job : jobs) {
        std::vector<std::string> args = {"/ECL=" + (dir_ / "REBUILDER.ECL").string(), "/autosave", "/nogui"};
        args.insert(args.end(), job.begin(), job.end());
        const Result r = Run(args);
        EXPECT_EQ(r.status, 0) << job[0] << r.err;
        EXPECT_EQ(r.err, "") << job[0];
        EXPECT_EQ(ReadBytes(dir_ / "REBUILDER.ECLBAK"), ecl_) << job[0];
        EXPECT_EQ(ReadBytes(dir_ / "REBUILDER.INFBAK"), inf_) << job[0];
        const std::string saved = ReadBytes(dir_ / "REBUILDER.ECL");
        EXPECT_NE(saved, ecl_) << job[0];
        EXPECT_EQ(saved.substr(saved.size() - 2), "\r\n");
        // Start the next job from the original project again.
        fs::remove(dir_ / "REBUILDER.ECLBAK");
        fs::remove(dir_ / "REBUILDER.INFBAK");
        rqtest::WriteBytes(dir_ / "REBUILDER.ECL", ecl_);
        rqtest::WriteBytes(dir_ / "REBUILDER.INF", inf_);
    }
}

TEST_P(ProgramTest, JobsThatCannotRunWriteNothing)
{
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string err;
    };
    const std::string missing = "ratequill: ECL File not found or no ECL= specified on commandline\n";
    const Case cases[] = {
        {{"/autosave", "/max_via_bitrate", "/vts=v02", "/min=1850"}, 1, missing},
        // The next line names the project the job looked for.
        {{"/ecl=" + (dir_ / "NOPE.ECL").string(), "/autosave", "/max_via_bitrate", "/vts=v02", "/min=1850"}, 1,
         missing + "ratequill: in " + (dir_ / "NOPE.ECL").string() + "\n"},
        {{"--report", "/ecl=" + (dir_ / "NOPE.ECL").string()}, 1,
         missing + "ratequill: in " + (dir_ / "NOPE.ECL").string() + "\n"},
        // No mode: nothing is loaded or written, without a message.
        {{Ecl(), "/autosave", "/vts=v02", "/min=1850"}, 0, ""},
        {{Ecl(), "/autosave", "/max_via_bitrate", "/min=1850"}, 0, ""},
        // An others value that is not a whole number ends the job.
        {{Ecl(), "/autosave", "/max_via_bitrate", "/vts=v02", "/min=18x0"}, 1,
         "ratequill: '18x0' is not a valid integer value.\n"},
        {{Ecl(), "/autosave", "/max_via_percent", "/vts=v02", "/min=40.5"}, 1,
         "ratequill: '40.5' is not a valid integer value.\n"},
    };
    for (const Case& c : cases) {
        const Result r = Run(c.args);
        EXPECT_EQ(r.status, c.status) << c.args[0] << " " << r.err;
        EXPECT_EQ(r.err, c.err) << c.args[0];
        EXPECT_TRUE(Untouched()) << c.args[0];
    }
}

TEST_P(ProgramTest, AJobWithoutAutosaveLeavesTheFilesAlone)
{
    const Result r = Run({Ecl(), "/max_via_bitrate", "/vts=V02", "/min=1850", "/nogui2"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(Untouched());
}

TEST_P(ProgramTest, ReportPrintsTheTitleSetTables)
{
    const Result r = Run({"--report", Ecl()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("VTS\tPreviousBitRate (Avg)\tNewBitRate (Avg)\tNewOverallPercent\tVTSLength\n", 0), 0u)
        << r.out;
    EXPECT_NE(r.out.find("VTS\t   Frames\t    KBytes\tBitrate (Avg)\t  NewSize\tNewBitRate (Avg)\tNewOverallPercent\n"),
              std::string::npos);
    EXPECT_NE(r.out.find("\nTotal Size (in KBytes) of Encoding:\t"), std::string::npos);
    EXPECT_NE(r.out.find("\nv02\t"), std::string::npos);
    EXPECT_TRUE(Untouched());

    // An error ends the report with its message and status 1; nothing is written.
    const Result bad = Run({"--report", Ecl(), "/vts=v02", "/min=18x0", "/max_via_bitrate", "/autosave"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.err, "ratequill: '18x0' is not a valid integer value.\n");
    EXPECT_TRUE(Untouched());

    // With a whole job the report shows the others at the value, then saves.
    const Result percent = Run({"--report", Ecl(), "/vts=v02", "/min=30", "/max_via_percent"});
    EXPECT_EQ(percent.status, 0) << percent.err;
    EXPECT_NE(percent.out.find("\nv01\t3264\t2001\t30\t"), std::string::npos) << percent.out;
    const Result job = Run({"--report", Ecl(), "/vts=v02", "/min=1850", "/max_via_bitrate", "/autosave"});
    EXPECT_EQ(job.status, 0) << job.err;
    EXPECT_NE(job.out.find("\nv01\t3264\t1850\t"), std::string::npos) << job.out;
    EXPECT_EQ(ReadBytes(dir_ / "REBUILDER.ECLBAK"), ecl_);
}

TEST_P(ProgramTest, PictureIsWrittenAfterTheJobAsSvgAndChangesNoReport)
{
    const std::string svg = (dir_ / "disc.svg").string();
    const std::vector<std::string> job = {Ecl(), "/vts=v02", "/min=1850", "/max_via_bitrate"};
    std::vector<std::string> args = {"--report"};
    args.insert(args.end(), job.begin(), job.end());
    const Result plain = Run(args);
    args.insert(args.end(), {"--picture", svg});
    const Result both = Run(args);
    EXPECT_EQ(both.status, 0) << both.err;
    EXPECT_EQ(both.err, "");
    EXPECT_EQ(both.out, plain.out);
    const std::string picture = ReadBytes(svg);
    EXPECT_EQ(picture.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg ", 0), 0u);
    for (const char* piece : {">As loaded</text>", ">Now</text>", ">v02</text>", "<title>v02 now: ", "</svg>\n"})
        EXPECT_NE(picture.find(piece), std::string::npos) << piece;

    // A project alone: the picture as loaded, nothing printed or saved.
    const Result alone = Run({"--picture", svg, Ecl()});
    EXPECT_EQ(alone.status, 0) << alone.err;
    EXPECT_EQ(alone.out, "");
    EXPECT_NE(ReadBytes(svg), picture);
    EXPECT_TRUE(Untouched());

    // A picture that cannot be written, or no name for it: status 1, the
    // error and where, and no file of any kind left behind.
    const std::set<std::string> before = Names(temp_);
    const Result bad = Run({"--picture", (dir_ / "REBUILDER.ECL" / "disc.svg").string(), Ecl()});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.err.rfind("ratequill: ", 0), 0u) << bad.err;
    EXPECT_NE(bad.err.find("\nratequill: in " + (dir_ / "REBUILDER.ECL").string()), std::string::npos) << bad.err;
    // The last --picture counts, even when an earlier one named a file.
    const Result unnamed = Run({"--picture", svg, Ecl(), "--picture"});
    EXPECT_EQ(unnamed.status, 1);
    EXPECT_EQ(unnamed.err, "ratequill: --picture needs the name of the SVG file to write\n");
    EXPECT_EQ(Names(temp_), before);
    EXPECT_TRUE(Untouched());
}

TEST_P(ProgramTest, HelpVersionAndUsage)
{
    const Result help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* option : {"/ecl=", "/vts=", "/min=", "/max_via_bitrate", "/max_via_percent", "/autosave",
                               "/autoexit", "/nogui", "--report", "--picture", "--version"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    const Result version = Run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "Ratequill V0.55a (10/05/2004)\n");
    const Result bare = Run({});
    EXPECT_EQ(bare.status, 2);
    EXPECT_NE(bare.err.find("Usage:"), std::string::npos);
}

TEST_P(ProgramTest, TheLastProjectNamedIsTheOneSaved)
{
    fs::create_directories(dir_ / "first");
    fs::copy_file(dir_ / "REBUILDER.ECL", dir_ / "first" / "REBUILDER.ECL");
    fs::copy_file(dir_ / "REBUILDER.INF", dir_ / "first" / "REBUILDER.INF");
    const Result r = Run({"/ecl=" + (dir_ / "first" / "REBUILDER.ECL").string(), Ecl(), "/vts=v02", "/min=1850",
                          "/max_via_bitrate", "/autosave", "/nogui"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadBytes(dir_ / "REBUILDER.ECLBAK"), ecl_);
    EXPECT_NE(ReadBytes(dir_ / "REBUILDER.ECL"), ecl_);
    EXPECT_EQ(ReadBytes(dir_ / "first" / "REBUILDER.ECL"), ecl_);
    EXPECT_FALSE(fs::exists(dir_ / "first" / "REBUILDER.ECLBAK"));
}

namespace {

const std::vector<std::string> kJob = {"/vts=v02", "/min=1850", "/max_via_bitrate", "/autosave"};

std::vector<std::string> Job(const std::string& ecl)
{
    std::vector<std::string> args = {ecl};
    args.insert(args.end(), kJob.begin(), kJob.end());
    return args;
}

// How to run the program as an ordinary user with `group` among its groups:
// root becomes "nobody"; anyone else stays who they are.
std::string AsUser(unsigned group)
{
    if (::geteuid() != 0)
        return "";
    return "setpriv --reuid=65534 --regid=65534 --groups=" + std::to_string(group);
}

// A group the user running the program belongs to besides its own; 0 when none.
unsigned SecondGroup()
{
    if (::geteuid() == 0)
        return 100;  // "users"
    gid_t groups[64];
    const int n = ::getgroups(64, groups);
    for (int i = 0; i < n; ++i)
        if (groups[i] != ::getegid())
            return groups[i];
    return 0;
}

}  // namespace

TEST_P(ProgramTest, AQtPlatformAloneIsADisplayForTheWindow)
{
    if (GetParam() != RQ_PROGRAM)
        GTEST_SKIP() << "ratequill-cli has no window";
    // Without options and without a display the program prints its usage and
    // ends at once; its window stays open until it is closed, here by timeout.
    const Result r = Run({}, "timeout 2", "offscreen");
    EXPECT_EQ(r.status, 124) << r.err;
    EXPECT_EQ(r.err.find("Usage:"), std::string::npos);
    // The window runs a whole job and, with /autoexit, ends by itself.
    std::vector<std::string> job = Job(Ecl());
    job.push_back("/autoexit");
    const Result ran = Run(job, "timeout 20", "offscreen");
    EXPECT_EQ(ran.status, 0) << ran.err;
    EXPECT_EQ(ReadBytes(dir_ / "REBUILDER.ECLBAK"), ecl_);
}

TEST_P(ProgramTest, OddFilesAndFaultyValuesEndTheJobSayingWhere)
{
    const std::string ecl = (dir_ / "REBUILDER.ECL").string();
    const std::string inf = (dir_ / "REBUILDER.INF").string();
    const std::string small = rqtest::EclItem("V01PGC1_0", "4500", 0, 999) + rqtest::EclItem("V02PGC1_0", "3000", 0, 2396);
    const std::string smallInf = rqtest::InfSection("V01PGC1_0", "54.9") + rqtest::InfSection("V02PGC1_0", "60");
    const auto replace = [](std::string text, const std::string& from, const std::string& to) {
        return text.replace(text.find(from), from.size(), to);
    };
    const auto sparse = [](const fs::path& file, std::uintmax_t size) {
        fs::remove(file);
        rqtest::WriteBytes(file.string(), "");
        fs::resize_file(file, size);
    };
    struct Case {
        const char* what;
        std::function<void()> make;  // after the example pair is back
        std::string err;
        std::string before = "";  // shell words before the program
    };
    const std::string place = "ratequill: in ";
    std::vector<Case> cases = {
        // Nothing waits for a pipe's writer, nothing reads a device without end.
        {"pipe", [&] { fs::remove(inf); ::mkfifo(inf.c_str(), 0600); },
         "ratequill: Not a regular file.\n" + place + inf + "\n", "timeout 20"},
        {"device", [&] { fs::remove(inf); fs::create_symlink("/dev/zero", inf); },
         "ratequill: Not a regular file.\n" + place + inf + "\n", "timeout 20"},
        {"folder", [&] { fs::remove(inf); fs::create_directory(inf); },
         "ratequill: Invalid filename.\n" + place + inf + "\n"},
        {"missing", [&] { fs::remove(inf); }, "ratequill: File not found.\n" + place + inf + "\n"},
        {"over 1 GB", [&] { sparse(ecl, (1ULL << 30) + 1); },
         "ratequill: File larger than 1 GB.\n" + place + ecl + "\n"},
        // A save would write the INF text over the ECL text.
        {"link to the ECL", [&] { fs::remove(inf); fs::create_symlink("REBUILDER.ECL", inf); },
         "ratequill: The ECL file and the INF file are the same file.\n" + place + inf + " (the same file as " + ecl +
             ")\n"},
        {"second name of the ECL", [&] { fs::remove(inf); fs::create_hard_link(ecl, inf); },
         "ratequill: The ECL file and the INF file are the same file.\n" + place + inf + " (the same file as " + ecl +
             ")\n"},
        {"no first frame",
         [&] {
             rqtest::WriteBytes(ecl, replace(small, "encode_first=0\r\nencode_last=2396", "encode_first=\r\nencode_last=2396"));
             rqtest::WriteBytes(inf, smallInf);
         },
         "ratequill: '' is not a valid integer value.\n" + place + ecl + ", line 12, segment v02pgc1_0, key encode_first\n"},
        {"no first frame line",
         [&] {
             rqtest::WriteBytes(ecl, replace(small, "encode_first=0\r\nencode_last=2396", "encode_last=2396"));
             rqtest::WriteBytes(inf, smallInf);
         },
         "ratequill: '' is not a valid integer value.\n" + place + ecl +
             ", line 9, segment v02pgc1_0, key encode_first (missing)\n"},
        {"frame rate index",
         [&] {
             rqtest::WriteBytes(ecl, replace(small, "frame_rate_idx=3", "frame_rate_idx=abc"));
             rqtest::WriteBytes(inf, smallInf);
         },
         "ratequill: 'abc' is not a valid integer value.\n" + place + ecl + ", line 3, segment v01pgc1_0, key frame_rate_idx\n"},
        {"no reduction",
         [&] {
             rqtest::WriteBytes(ecl, small);
             rqtest::WriteBytes(inf, rqtest::InfSection("V01PGC1_0", "54.9"));
         },
         "ratequill: '' is not a valid floating point value.\n" + place + inf + ", segment v02pgc1_0, key reduction (missing)\n"},
        {"reduction not a number",
         [&] {
             rqtest::WriteBytes(ecl, small);
             rqtest::WriteBytes(inf, smallInf + rqtest::InfSection("V02PGC1_0", "6O"));
         },
         "ratequill: '6O' is not a valid floating point value.\n" + place + inf +
             ", line 6, segment v02pgc1_0, key reduction\n"},
    };
#if !defined(__SANITIZE_ADDRESS__)  // the sanitizer's shadow memory needs more than any cap
    // Under a memory cap a file of just the bound cannot be held.
    cases.push_back({"memory", [&] { sparse(ecl, 1ULL << 30); },
                     "ratequill: Not enough memory to finish the command.\n", "ulimit -v 600000;"});
#endif
    for (const Case& c : cases) {
        for (const fs::path& name : {dir_ / "REBUILDER.ECL", dir_ / "REBUILDER.INF"})
            fs::remove_all(name);
        rqtest::WriteBytes(ecl, ecl_);
        rqtest::WriteBytes(inf, inf_);
        c.make();
        const std::string eclBefore = fs::file_size(ecl) < (1 << 20) ? ReadBytes(ecl) : std::string();
        const std::set<std::string> names = Names(temp_);
        const Result r = Run(Job(Ecl()), c.before);
        EXPECT_EQ(r.status, 1) << c.what;
        EXPECT_EQ(r.err, c.err) << c.what;
        if (!eclBefore.empty())
            EXPECT_EQ(ReadBytes(ecl), eclBefore) << c.what;
        EXPECT_EQ(Names(temp_), names) << c.what;
    }
}

TEST_P(ProgramTest, AProjectDeepInNestedFoldersIsFound)
{
    // Over 1,024 characters of path, as deep archives have.
    fs::path deep = dir_;
    for (int i = 0; i < 6; ++i)
        deep /= std::string(200, static_cast<char>('a' + i));
    fs::create_directories(deep);
    for (const char* name : {"REBUILDER.ECL", "REBUILDER.INF"})
        fs::rename(dir_ / name, deep / name);
    const std::string path = (deep / "REBUILDER.ECL").string();
    ASSERT_GT(path.size(), 1024u);
    const Result r = Run(Job("/ecl=" + path));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadBytes(deep / "REBUILDER.ECLBAK"), ecl_);
    EXPECT_NE(ReadBytes(deep / "REBUILDER.ECL"), ecl_);
}

TEST_P(ProgramTest, AFileSizeLimitEndsTheSaveWithDiskFullAndLosesNothing)
{
    // Both new files are written before either replaces its old one: a limit
    // that the ECL file passes and the INF file does not leaves the pair whole.
    const std::string padding = "; " + std::string(200000, 'x') + "\r\n";
    const struct {
        const char* limit;
        std::string inf;
        const char* failing;
    } cases[] = {
        // 16 blocks are 8 or 16 KB, whichever the shell counts: less than the new ECL file.
        {"ulimit -f 16;", inf_, "REBUILDER.ECL"},
        // 128 blocks: more than the new ECL file, less than the padded INF file.
        {"ulimit -f 128;", inf_ + padding, "REBUILDER.INF"},
    };
    for (const auto& c : cases) {
        rqtest::WriteBytes(dir_ / "REBUILDER.INF", c.inf);
        const Result r = Run(Job(Ecl()), c.limit);
        EXPECT_EQ(r.status, 1) << c.limit;
        EXPECT_EQ(r.err, "ratequill: Disk full.\nratequill: in " + (dir_ / c.failing).string() + "\n") << c.limit;
        EXPECT_EQ(ReadBytes(dir_ / "REBUILDER.ECL"), ecl_) << c.limit;
        EXPECT_EQ(ReadBytes(dir_ / "REBUILDER.INF"), c.inf) << c.limit;
        EXPECT_EQ(Names(temp_), (std::set<std::string>{"REBUILDER.ECL", "REBUILDER.INF"})) << c.limit;
    }
}

TEST_P(ProgramTest, ASymbolicLinkStaysALinkAndItsFileGetsTheText)
{
    // One link relative to its folder, the other a whole path.
    fs::create_directory(dir_ / "disc");
    fs::rename(dir_ / "REBUILDER.ECL", dir_ / "disc" / "REBUILDER.ECL");
    fs::create_symlink("disc/REBUILDER.ECL", dir_ / "REBUILDER.ECL");
    fs::rename(dir_ / "REBUILDER.INF", dir_ / "disc" / "REBUILDER.INF");
    fs::create_symlink(dir_ / "disc" / "REBUILDER.INF", dir_ / "REBUILDER.INF");
    // The second save finds the backups made by the first.
    std::string before = ecl_;
    for (const char* mode : {"/max_via_bitrate", "/max_via_percent"}) {
        const Result r = Run({Ecl(), "/vts=v02", "/min=45", mode, "/autosave"});
        EXPECT_EQ(r.status, 0) << mode << r.err;
        EXPECT_TRUE(fs::is_symlink(dir_ / "REBUILDER.ECL")) << mode;
        const std::string saved = ReadBytes(dir_ / "disc" / "REBUILDER.ECL");
        EXPECT_TRUE(saved != before) << mode;
        before = saved;
        EXPECT_EQ(ReadBytes(dir_ / "disc" / "REBUILDER.ECLBAK"), ecl_) << mode;
        EXPECT_EQ(ReadBytes(dir_ / "disc" / "REBUILDER.INFBAK"), inf_) << mode;
        EXPECT_TRUE(fs::is_symlink(dir_ / "REBUILDER.INF")) << mode;
        EXPECT_EQ(Names(temp_), (std::set<std::string>{"REBUILDER.ECL", "REBUILDER.INF", "disc"}));
    }
}

TEST_P(ProgramTest, AnOrdinaryUserIsRefusedAReadOnlyFileAndKeepsTheGroup)
{
    const unsigned group = SecondGroup();
    if (group == 0)
        GTEST_SKIP() << "the user belongs to no second group";
    fs::permissions(dir_, fs::perms::all);
    // The build folder may be private to its owner: the user runs a copy.
    const rqtest::TempFolder bin;
    fs::permissions(rqtest::FsPath(bin.Path()), fs::perms(0755));
    fs::copy_file(program_, rqtest::FsPath(bin / "program"));
    program_ = bin / "program";
    for (const char* name : {"REBUILDER.ECL", "REBUILDER.INF"}) {
        ASSERT_EQ(::chown((dir_ / name).c_str(), static_cast<uid_t>(-1), group), 0);
        ASSERT_EQ(::chmod((dir_ / name).c_str(), 02666), 0);  // set-group-id, as a shared folder's files have
    }
    // Write protection on either file, or on the folder: nothing is written,
    // and the message says which it is.
    for (const char* name : {"REBUILDER.ECL", "REBUILDER.INF", ""}) {
        const fs::path protect = dir_ / name;
        fs::permissions(protect, fs::perms(*name ? 0444 : 0555));
        const Result r = Run(Job(Ecl()), AsUser(group));
        EXPECT_EQ(r.status, 1) << name;
        EXPECT_EQ(r.err, "ratequill: File access denied.\nratequill: in " + protect.string() +
                             (*name ? " (the file is read-only)\n" : " (the folder is read-only)\n"))
            << name;
        EXPECT_TRUE(Untouched()) << name;
        EXPECT_EQ(Names(temp_), (std::set<std::string>{"REBUILDER.ECL", "REBUILDER.INF"})) << name;
        if (*name)
            ASSERT_EQ(::chmod(protect.c_str(), 02666), 0);
        else
            fs::permissions(protect, fs::perms(0777));
    }
    // Writable files are saved, and keep their group and permissions.
    const Result r = Run(Job(Ecl()), AsUser(group));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(ReadBytes(dir_ / "REBUILDER.ECL"), ecl_);
    for (const char* name : {"REBUILDER.ECL", "REBUILDER.INF"}) {
        struct stat st {};
        ASSERT_EQ(::stat((dir_ / name).c_str(), &st), 0);
        EXPECT_EQ(st.st_gid, group) << name;
        EXPECT_EQ(st.st_mode & 07777, 02666u) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Programs, ProgramTest, ::testing::Values(RQ_PROGRAM, RQ_CLI_PROGRAM),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             return info.index == 0 ? std::string("Window") : std::string("Cli");
                         });
