// Saving and loading on Windows: bytes as they stand, every path spelling
// Windows users type, names as they are on disk, and files another program
// holds or the user protected.
#include <gtest/gtest.h>

#include <set>
#include <windows.h>

#include "support/project_files.h"
#include "project/reader.h"
#include "project/save.h"
#include "project/text_file.h"

using namespace rq;
using namespace rqtest;

namespace {

std::wstring Wide(const std::string& utf8) { return FsPath(utf8).wstring(); }

std::string Backslashes(std::string path)
{
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

const std::string kEcl = EclItem("v01", "4000", 0, 999);
const std::string kInf = InfSection("v01", "50");

// The project loaded through `path`, its ECL buffer given a line, saved through `path`.
std::string SaveThrough(const std::string& path, ProjectState& s)
{
    LoadECL(s, path);
    s.ListBox1.Add("; saved");
    return ErrorOf([&] { SaveECL(s, path); });
}

}  // namespace

TEST(WindowsFiles, EveryPathSpellingLoadsAndSaves)
{
    TempFolder dir;
    const struct {
        std::string folder, path;  // the folder (UTF-8, "/") and the path as typed
    } cases[] = {
        {"a.v2/", Backslashes(dir / "a.v2/REBUILDER.ECL")},
        {"b/", Backslashes(dir / "b/rebuilder.inf")},
        {"Filme/\xCE\xA9/", Backslashes(dir / "Filme/\xCE\xA9/REBUILDER.ECL")},  // "Ω"
        {"c/", "c:" + (dir / "c/REBUILDER.ECL").substr(2)},  // a drive letter in lower case, "/" and "\" mixed
    };
    for (const auto& c : cases) {
        std::filesystem::create_directories(FsPath(dir / c.folder));
        WriteBytes(dir / c.folder + "REBUILDER.ECL", kEcl);
        WriteBytes(dir / c.folder + "REBUILDER.INF", kInf);
        ProjectState s;
        EXPECT_EQ(SaveThrough(c.path, s), "(no error)") << c.path;
        EXPECT_EQ(s.VTSData[1].Name, "v01") << c.path;
        // Binary writes: one CR LF per line, however the line ends looked.
        EXPECT_EQ(ReadBytes(dir / c.folder + "REBUILDER.ECL"), kEcl + "; saved\r\n") << c.path;
        EXPECT_EQ(ReadBytes(dir / c.folder + "REBUILDER.ECLBAK"), kEcl) << c.path;
        EXPECT_EQ(Names(dir / c.folder), (std::set<std::string>{"REBUILDER.ECL", "REBUILDER.INF", "REBUILDER.ECLBAK",
                                                                 "REBUILDER.INFBAK"}))
            << c.path;
    }
}

TEST(WindowsFiles, BytesAreReadAsTheyStand)
{
    TempFolder dir;
    const std::string bytes = std::string("a\r\n\x1a" "b\nc\r\r\n", 10);
    WriteBytes(dir / "x.ECL", bytes);
    EXPECT_EQ(ReadFileBytes(Backslashes(dir / "x.ECL")), bytes);
}

TEST(WindowsFiles, ASaveKeepsTheSpellingOnDisk)
{
    TempFolder dir;
    WriteBytes(dir / "rebuilder.ecl", kEcl);
    WriteBytes(dir / "Rebuilder.Inf", kInf);
    ProjectState s;
    EXPECT_EQ(SaveThrough(Backslashes(dir / "REBUILDER.ECL"), s), "(no error)");
    EXPECT_EQ(Names(dir.Path()),
              (std::set<std::string>{"rebuilder.ecl", "Rebuilder.Inf", "rebuilder.ECLBAK", "Rebuilder.INFBAK"}));
}

TEST(WindowsFiles, ALockedOrReadOnlyFileIsRefusedBeforeAnythingIsWritten)
{
    for (const bool locked : {true, false}) {
        TempFolder dir;
        WriteBytes(dir / "REBUILDER.ECL", kEcl);
        WriteBytes(dir / "REBUILDER.INF", kInf);
        const std::wstring inf = Wide(dir / "REBUILDER.INF");
        ProjectState s;
        LoadECL(s, dir / "REBUILDER.ECL");
        s.ListBox1.Add("; saved");
        s.Button7.SetEnabled(true);
        // Another program holds the INF file without sharing it, or the user protected it.
        HANDLE held = INVALID_HANDLE_VALUE;
        if (locked)
            held = ::CreateFileW(inf.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        else
            ::SetFileAttributesW(inf.c_str(), FILE_ATTRIBUTE_READONLY);
        ASSERT_TRUE(!locked || held != INVALID_HANDLE_VALUE);
        EXPECT_EQ(ErrorAndPlaceOf([&] { SaveECL(s, dir / "REBUILDER.ECL"); }),
                  "File access denied\nin " + (dir / "REBUILDER.INF") +
                      (locked ? " (the file is in use by another program)" : " (the file is read-only)"))
            << locked;
        EXPECT_TRUE(s.Button7.Enabled());
        if (locked)
            ::CloseHandle(held);
        else
            ::SetFileAttributesW(inf.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(ReadBytes(dir / "REBUILDER.ECL"), kEcl) << locked;
        EXPECT_EQ(ReadBytes(dir / "REBUILDER.INF"), kInf) << locked;
        EXPECT_EQ(Names(dir.Path()), (std::set<std::string>{"REBUILDER.ECL", "REBUILDER.INF"})) << locked;
        // Once free, the file saves.
        EXPECT_EQ(ErrorOf([&] { SaveECL(s, dir / "REBUILDER.ECL"); }), "(no error)") << locked;
        EXPECT_EQ(ReadBytes(dir / "REBUILDER.ECL"), kEcl + "; saved\r\n") << locked;
    }
}

TEST(WindowsFiles, APairThatIsOneFileIsRefusedAtLoading)
{
    TempFolder dir;
    WriteBytes(dir / "REBUILDER.ECL", kEcl);
    ASSERT_TRUE(::CreateHardLinkW(Wide(dir / "REBUILDER.INF").c_str(), Wide(dir / "REBUILDER.ECL").c_str(), nullptr));
    ProjectState s;
    EXPECT_EQ(ErrorOf([&] { LoadECL(s, Backslashes(dir / "REBUILDER.ECL")); }),
              "The ECL file and the INF file are the same file");
    EXPECT_EQ(s.ListBox1.Count(), 0);
    EXPECT_EQ(ReadBytes(dir / "REBUILDER.ECL"), kEcl);
}
