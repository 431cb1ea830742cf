#include <gtest/gtest.h>

#include <cerrno>
#include <set>
#include <vector>
#if !defined(_WIN32)
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "project/file_ops.h"
#include "project/reader.h"
#include "project/save.h"
#include "project/text_file.h"
#include "support/project_files.h"

using namespace rq;
using namespace rqtest;

namespace {

const std::string kOldEcl = "[item]\ntitle=v01\r\nvbr_pass=2";  // as another tool left it
const std::string kOldInf = Crlf({"[v01]", "reduction=50"});

class Save : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteBytes(dir / "REBUILDER.ECL", kOldEcl);
        WriteBytes(dir / "REBUILDER.INF", kOldInf);
        s.ProjectPath = dir / "REBUILDER.ECL";
        s.ListBox1.Assign({"[item]", "title=v01", "vbr_pass=1", ""});
        s.ListBox2.Assign({"[v01]", "Reduction=40"});
        s.Button7.SetEnabled(true);
    }
    TempFolder dir;
    ProjectState s;
};

}  // namespace

TEST_F(Save, KeepsTheOldestFilesAsBackups)
{
#if !defined(_WIN32)
    // Root saving another user's files keeps their owner, also when the group is root's own (id 0).
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown((dir / "REBUILDER.ECL").c_str(), 1234, 0), 0);
        ASSERT_EQ(::chown((dir / "REBUILDER.INF").c_str(), 0, 1234), 0);
    }
    // Set-group-id on one file, set-user-id and sticky on the other: the saved files keep them.
    ::chmod((dir / "REBUILDER.ECL").c_str(), 02666);
    ::chmod((dir / "REBUILDER.INF").c_str(), 05640);
#endif
    SaveProject(s);
    EXPECT_EQ(ReadBytes(dir / "REBUILDER.ECL"), "[item]\r\ntitle=v01\r\nvbr_pass=1\r\n\r\n");
    EXPECT_EQ(ReadBytes(dir / "REBUILDER.INF"), "[v01]\r\nReduction=40\r\n");
    EXPECT_EQ(ReadBytes(dir / "REBUILDER.ECLBAK"), kOldEcl);
    EXPECT_EQ(ReadBytes(dir / "REBUILDER.INFBAK"), kOldInf);
#if !defined(_WIN32)  // permission bits are POSIX's
    for (const auto& [name, mode] : {std::pair{"REBUILDER.ECL", 02666u}, std::pair{"REBUILDER.INF", 05640u}}) {
        struct stat st {};
        ::stat((dir / name).c_str(), &st);
        EXPECT_EQ(st.st_mode & 07777, mode) << name;
        if (root) {
            EXPECT_EQ(st.st_uid + st.st_gid, 1234u) << name;
        }
    }
#endif
    EXPECT_FALSE(s.Button7.Enabled());

    s.ListBox1.Assign({"second"});
    s.ListBox2.Clear();
    SaveProject(s);
    EXPECT_EQ(ReadBytes(dir / "REBUILDER.ECL"), "second\r\n");
    EXPECT_EQ(ReadBytes(dir / "REBUILDER.INF"), "");
    EXPECT_EQ(ReadBytes(dir / "REBUILDER.ECLBAK"), kOldEcl);
    EXPECT_EQ(ReadBytes(dir / "REBUILDER.INFBAK"), kOldInf);
    EXPECT_EQ(Names(dir), (std::set<std::string>{"REBUILDER.ECL", "REBUILDER.INF", "REBUILDER.ECLBAK",
                                                 "REBUILDER.INFBAK"}));
}

TEST_F(Save, WritesEveryLineWithCrLfWhateverEndItWasReadWith)
{
    const struct {
        const char* read;
        const char* written;  // with the second line replaced by "B"
    } cases[] = {
        {"a\r\nb\r\nc\r\n", "a\r\nB\r\nc\r\n"},
        {"a\nb\r\nc", "a\r\nB\r\nc\r\n"},
        {"a\r\nb\nc\r\nd", "a\r\nB\r\nc\r\nd\r\n"},
        {"a\r\n\r\nb\r\r\nc\r\nd", "a\r\nB\r\nb\r\nc\r\nd\r\n"},  // a lone CR is dropped
        {"a\r\nb\r\n\r\n", "a\r\nB\r\n\r\n"},
    };
    for (const auto& c : cases) {
        SplitTextLinesInto(c.read, s.ListBox1);
        SaveProject(s);
        std::string unchanged = c.written;
        unchanged.replace(unchanged.find('B'), 1, std::string(s.ListBox1[1]));
        EXPECT_EQ(ReadBytes(dir / "REBUILDER.ECL"), unchanged) << c.read;
        s.ListBox1.Set(1, "B");
        SaveProject(s);
        EXPECT_EQ(ReadBytes(dir / "REBUILDER.ECL"), c.written) << c.read;
    }
}

TEST_F(Save, CreatesAMissingFileAndFindsLowerCaseNames)
{
    std::filesystem::remove(dir / "REBUILDER.ECL");
    std::filesystem::remove(dir / "REBUILDER.INF");
    WriteBytes(dir / "rebuilder.inf", kOldInf);
    SaveECL(s, dir / "REBUILDER.INF");
    EXPECT_EQ(ReadBytes(dir / "REBUILDER.ECL"), "[item]\r\ntitle=v01\r\nvbr_pass=1\r\n\r\n");
    EXPECT_EQ(ReadBytes(dir / "rebuilder.inf"), "[v01]\r\nReduction=40\r\n");
    // Nothing to back up for the missing ECL file.
    EXPECT_EQ(Names(dir), (std::set<std::string>{"REBUILDER.ECL", "rebuilder.inf", "rebuilder.INFBAK"}));
}

namespace {

// Fails the nth call (from 1) of a step with a chosen errno.
class FailingOps : public FileOps {
public:
    enum Step { kCreate, kWrite, kFlush, kClose, kLink, kRename, kSteps };
    struct Rule {
        Step step;
        int nth;
        FileError err;
    };
    explicit FailingOps(std::vector<Rule> rules) : rules_(std::move(rules)) { SetFileOps(this); }
    ~FailingOps() override { SetFileOps(nullptr); }

    FileError Create(const std::string& p, const FileInfo* like, FileHandle& h) override
    {
        return Fail(kCreate, [&] { return FileOps::Create(p, like, h); });
    }
    FileError Write(FileHandle fd, std::string_view b) override
    {
        return Fail(kWrite, [&] { return FileOps::Write(fd, b); });
    }
    FileError Flush(FileHandle fd) override { return Fail(kFlush, [&] { return FileOps::Flush(fd); }); }
    FileError Close(FileHandle fd) override
    {
        const FileError rc = FileOps::Close(fd);  // the handle is gone either way
        return Fail(kClose, [&] { return rc; });
    }
    FileError Link(const std::string& f, const std::string& b) override
    {
        return Fail(kLink, [&] { return FileOps::Link(f, b); });
    }
    FileError Rename(const std::string& f, const std::string& t, Replacing replacing) override
    {
        return Fail(kRename, [&] { return FileOps::Rename(f, t, replacing); });
    }

private:
    FileError Fail(Step step, const std::function<FileError()>& real)
    {
        const int call = ++calls_[step];
        for (const Rule& r : rules_)
            if (r.step == step && r.nth == call)
                return r.err;
        return real();
    }
    std::vector<Rule> rules_;
    int calls_[kSteps] = {};
};

}  // namespace

TEST_F(Save, AFailingStepLosesNothing)
{
    // Both new files are written and both backups made before either project
    // file is replaced: only a failing second rename leaves the ECL file new.
    const std::string newEcl = "[item]\r\ntitle=v01\r\nvbr_pass=1\r\n\r\n";
    const struct {
        FailingOps::Step step;
        int nth, err;
        const char* error;
        bool eclSaved, eclBackup, infBackup;
    } cases[] = {
        {FailingOps::kCreate, 1, EACCES, "File access denied", false, false, false},
        {FailingOps::kCreate, 1, EPERM, "File access denied", false, false, false},
        {FailingOps::kWrite, 1, ENOSPC, "Disk full", false, false, false},
        {FailingOps::kFlush, 1, EIO, "I/O error 5", false, false, false},
#if defined(EDQUOT)
        {FailingOps::kClose, 1, EDQUOT, "Disk full", false, false, false},
#endif
        {FailingOps::kCreate, 2, ENOSPC, "Disk full", false, false, false},  // the INF file's, after the ECL file's
        {FailingOps::kWrite, 2, EFBIG, "Disk full", false, false, false},
        {FailingOps::kLink, 1, EROFS, "File access denied", false, false, false},
        {FailingOps::kLink, 2, EROFS, "File access denied", false, true, false},
        {FailingOps::kRename, 1, EIO, "I/O error 5", false, true, true},
        {FailingOps::kRename, 2, EBUSY, "I/O error 16", true, true, true},  // the INF file's rename
    };
    for (const auto& c : cases) {
        const std::string where = std::to_string(c.step) + " " + std::to_string(c.nth);
        TempFolder d;
        WriteBytes(d / "REBUILDER.ECL", kOldEcl);
        WriteBytes(d / "REBUILDER.INF", kOldInf);
        {
            FailingOps ops({{c.step, c.nth, FileError::FromErrno(c.err)}});
            EXPECT_EQ(ErrorOf([&] { SaveECL(s, d / "REBUILDER.ECL"); }), c.error) << where;
        }
        EXPECT_EQ(ReadBytes(d / "REBUILDER.ECL"), c.eclSaved ? newEcl : kOldEcl) << where;
        EXPECT_EQ(ReadBytes(d / "REBUILDER.INF"), kOldInf) << where;
        std::set<std::string> names{"REBUILDER.ECL", "REBUILDER.INF"};
        if (c.eclBackup)
            names.insert("REBUILDER.ECLBAK");
        if (c.infBackup)
            names.insert("REBUILDER.INFBAK");
        EXPECT_EQ(Names(d), names) << where;
        EXPECT_TRUE(s.Button7.Enabled());
    }
}

TEST_F(Save, CopiesTheBackupWhereLinksAreNotSupported)
{
    {
        FailingOps ops({{FailingOps::kLink, 1, {FileFault::LinksUnsupported, EPERM}},
                        {FailingOps::kLink, 2, {FileFault::LinksUnsupported, EXDEV}}});
        SaveECL(s, s.ProjectPath);
    }
    EXPECT_EQ(ReadBytes(dir / "REBUILDER.ECLBAK"), kOldEcl);
    EXPECT_EQ(ReadBytes(dir / "REBUILDER.INFBAK"), kOldInf);

    // A copy that cannot be finished leaves no half backup behind.
    TempFolder d;
    WriteBytes(d / "REBUILDER.ECL", kOldEcl);
    s.Button7.SetEnabled(true);
    {
        // The first two writes are the new files', the third the copy's.
        FailingOps ops({{FailingOps::kLink, 1, {FileFault::LinksUnsupported, EPERM}},
                        {FailingOps::kWrite, 3, FileError::FromErrno(ENOSPC)}});
        EXPECT_EQ(ErrorOf([&] { SaveECL(s, d / "REBUILDER.ECL"); }), "Disk full");
    }
    EXPECT_EQ(Names(d), (std::set<std::string>{"REBUILDER.ECL"}));
}

TEST_F(Save, ABackupThatAppearsBeforeItIsMadeIsKept)
{
    // Another save of the same project made its backup after this one found
    // the name free: just before the link, or, where the backup is a copy,
    // while the copy was made. The backup that is there first stays.
    class BackupAppears : public FailingOps {
    public:
        BackupAppears(std::string backup, bool links)
            : FailingOps(links ? std::vector<Rule>{} : std::vector<Rule>{{kLink, 1, {FileFault::LinksUnsupported, EXDEV}}}),
              backup_(std::move(backup)), links_(links)
        {
        }
        FileError Link(const std::string& f, const std::string& b) override
        {
            if (links_ && b == backup_)
                WriteBytes(backup_, "the other save's backup");
            return FailingOps::Link(f, b);
        }
        FileError Rename(const std::string& f, const std::string& t, Replacing replacing) override
        {
            if (!links_ && t == backup_)
                WriteBytes(backup_, "the other save's backup");
            return FailingOps::Rename(f, t, replacing);
        }

    private:
        std::string backup_;
        bool links_;
    };
    for (const bool links : {true, false}) {
        TempFolder d;
        WriteBytes(d / "REBUILDER.ECL", kOldEcl);
        WriteBytes(d / "REBUILDER.INF", kOldInf);
        {
            BackupAppears ops(d / "REBUILDER.ECLBAK", links);
            SaveECL(s, d / "REBUILDER.ECL");
        }
        EXPECT_EQ(ReadBytes(d / "REBUILDER.ECLBAK"), "the other save's backup") << links;
        EXPECT_EQ(ReadBytes(d / "REBUILDER.ECL"), "[item]\r\ntitle=v01\r\nvbr_pass=1\r\n\r\n") << links;
        EXPECT_EQ(ReadBytes(d / "REBUILDER.INFBAK"), kOldInf) << links;
        EXPECT_EQ(Names(d),
                  (std::set<std::string>{"REBUILDER.ECL", "REBUILDER.ECLBAK", "REBUILDER.INF", "REBUILDER.INFBAK"}));
    }
}

TEST_F(Save, AFolderWhereAFileBelongsIsAnInvalidFilename)
{
    std::filesystem::remove(dir / "REBUILDER.INF");
    std::filesystem::create_directory(dir / "REBUILDER.INF");
    ProjectState loaded;
    EXPECT_EQ(ErrorOf([&] { LoadECL(loaded, dir / "REBUILDER.ECL"); }), "Invalid filename");
    // Nothing is written, not even the ECL file.
    EXPECT_EQ(ErrorOf([&] { SaveProject(s); }), "Invalid filename");
    EXPECT_EQ(ReadBytes(dir / "REBUILDER.ECL"), kOldEcl);
    EXPECT_EQ(Names(dir), (std::set<std::string>{"REBUILDER.ECL", "REBUILDER.INF"}));
}

TEST_F(Save, APairThatBecameOneFileIsRefused)
{
    // Made one file after loading: the INF text would land on the ECL text.
    std::filesystem::remove(dir / "REBUILDER.INF");
    std::filesystem::create_hard_link(FsPath(dir / "REBUILDER.ECL"), FsPath(dir / "REBUILDER.INF"));
    EXPECT_EQ(ErrorAndPlaceOf([&] { SaveProject(s); }),
              std::string(kSameFileMessage) + "\nin " + (dir / "REBUILDER.INF") + " (the same file as " +
                  (dir / "REBUILDER.ECL") + ")");
    EXPECT_EQ(ReadBytes(dir / "REBUILDER.ECL"), kOldEcl);
    EXPECT_EQ(Names(dir), (std::set<std::string>{"REBUILDER.ECL", "REBUILDER.INF"}));
}

#if !defined(_WIN32)  // a process that has ended, by fork
TEST_F(Save, RemovesOnlyTheTemporaryFilesOfSavesThatDied)
{
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        ::_exit(0);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    const std::string dead = ".ratequill-" + std::to_string(child) + "-0.tmp";
    const std::string living = ".ratequill-1-0.tmp";  // init's: it always runs
    const std::string own = ".ratequill-" + std::to_string(::getpid()) + "-7.tmp";
    const std::string odd = ".ratequill-" + std::to_string(child) + "-.tmp";  // no attempt number: not ours
    const std::string beyond = ".ratequill-4294967297-0.tmp";  // a number no process can have
    for (const std::string& name : {dead, living, own, odd, beyond, std::string(".ratequill-x-0.tmp"), std::string("notes.tmp")})
        WriteBytes(dir / name, "left behind");
    std::filesystem::create_directory(dir / (".ratequill-" + std::to_string(child) + "-1.tmp"));
    SaveProject(s);
    EXPECT_EQ(Names(dir), (std::set<std::string>{"REBUILDER.ECL", "REBUILDER.ECLBAK", "REBUILDER.INF",
                                                 "REBUILDER.INFBAK", living, own, odd, ".ratequill-x-0.tmp", "notes.tmp",
                                                 ".ratequill-" + std::to_string(child) + "-1.tmp"}));
}
#endif
