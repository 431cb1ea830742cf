// Saving under failure: every file operation of a save fails in turn with the
// errors a full, read-only or broken disk gives, a save dies at every step,
// and a real file-size limit stops a write. Whatever happens, each project
// file holds exactly its old or its new bytes, a backup holds exactly the
// file it was made from, no temporary file is left, the error box names the
// error, and Save stays enabled so that the user can save again.
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <map>
#include <set>
#include <string>
#if !defined(_WIN32)  // the tests that end a save by ending its process
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "project/file_ops.h"
#include "support/project_files.h"
#include "project/reader.h"
#include "project/save.h"
#include "ui/form1.h"

using namespace rqtest;

namespace {

const std::string kOlderEcl = "[item]\r\ntitle=the oldest state\r\n";
const std::string kOlderInf = "[the oldest state]\r\nreduction=1\r\n";

bool EndsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// The example project as the batch job leaves it before saving: loaded, the
// film's title set maximised with the others at 1850 kbit/s, applied.
void PrepareJob(rq::TForm1& form, const std::string& ecl)
{
    rq::LoadECL(form.s, ecl);
    form.s.ComboBox5.SetText("v02");
    form.s.Edit7.SetText("1850");
    form.Button10Click();
    form.Button4Click();
}

class SaveUnderFailure : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        oldEcl_ = ReadBytes(std::string(RQ_EXAMPLES_DIR) + "/REBUILDER.ECL");
        oldInf_ = ReadBytes(std::string(RQ_EXAMPLES_DIR) + "/REBUILDER.INF");
        TempFolder d;
        Restore(d, false);
        rq::TForm1 form;
        PrepareJob(form, d / "REBUILDER.ECL");
        rq::SaveECL(form.s, d / "REBUILDER.ECL");
        newEcl_ = ReadBytes(d / "REBUILDER.ECL");
        newInf_ = ReadBytes(d / "REBUILDER.INF");
    }

    // The example pair, with backups of an older state when asked.
    static void Restore(const TempFolder& d, bool backups)
    {
        WriteBytes(d / "REBUILDER.ECL", oldEcl_);
        WriteBytes(d / "REBUILDER.INF", oldInf_);
        if (backups) {
            WriteBytes(d / "REBUILDER.ECLBAK", kOlderEcl);
            WriteBytes(d / "REBUILDER.INFBAK", kOlderInf);
        }
    }

    // Each project file holds its old or its new bytes, never the INF file
    // before the ECL file; backups hold what they were made from.
    static void ExpectNothingLost(const TempFolder& d, bool backups, const std::string& where)
    {
        const std::string ecl = ReadBytes(d / "REBUILDER.ECL");
        const std::string inf = ReadBytes(d / "REBUILDER.INF");
        EXPECT_TRUE(ecl == oldEcl_ || ecl == newEcl_) << where;
        EXPECT_TRUE(inf == oldInf_ || (inf == newInf_ && ecl == newEcl_)) << where;
        const std::set<std::string> names = Names(d);
        if (names.count("REBUILDER.ECLBAK")) {
            EXPECT_EQ(ReadBytes(d / "REBUILDER.ECLBAK"), backups ? kOlderEcl : oldEcl_) << where;
        }
        if (names.count("REBUILDER.INFBAK")) {
            EXPECT_EQ(ReadBytes(d / "REBUILDER.INFBAK"), backups ? kOlderInf : oldInf_) << where;
        }
    }

    static std::string oldEcl_, oldInf_, newEcl_, newInf_;
};

std::string SaveUnderFailure::oldEcl_, SaveUnderFailure::oldInf_, SaveUnderFailure::newEcl_,
    SaveUnderFailure::newInf_;

enum class Step { Create, Write, Flush, Close, Link, CopyCreate, CopyWrite, CopyFlush, CopyClose, CopyRename, Rename };
const char* const kStepNames[] = {"create", "write", "flush", "close", "link", "copy create",
                                  "copy write", "copy flush", "copy close", "copy rename", "rename"};
bool IsCopyStep(Step s) { return s >= Step::CopyCreate && s <= Step::CopyRename; }

// Which step a file operation is, and whether it is the INF file's. Both new
// files are written first (the ECL file's, then the INF file's), then the
// backups are made, then both renamed. After a link fails because the file
// system has none, the operations up to the next rename make that file's
// backup copy.
class SaveSteps : public rq::FileOps {
public:
    explicit SaveSteps(bool linksSupported) : linksSupported_(linksSupported) { rq::SetFileOps(this); }
    ~SaveSteps() override { rq::SetFileOps(nullptr); }

    rq::FileError Create(const std::string& path, const rq::FileInfo* like, rq::FileHandle& handle) override
    {
        const bool inf = copying_ ? copyingInf_ : creates_++ > 0;
        const rq::FileError rc = Perform(copying_ ? Step::CopyCreate : Step::Create, inf,
                                         [&] { return FileOps::Create(path, like, handle); });
        if (!rc)
            infHandles_[handle] = inf;
        return rc;
    }
    rq::FileError Write(rq::FileHandle fd, std::string_view bytes) override
    {
        return Perform(copying_ ? Step::CopyWrite : Step::Write, infHandles_[fd],
                       [&] { return FileOps::Write(fd, bytes); }, fd, bytes);
    }
    rq::FileError Flush(rq::FileHandle fd) override
    {
        return Perform(copying_ ? Step::CopyFlush : Step::Flush, infHandles_[fd], [&] { return FileOps::Flush(fd); });
    }
    rq::FileError Close(rq::FileHandle fd) override
    {
        return Perform(copying_ ? Step::CopyClose : Step::Close, infHandles_[fd], [&] { return FileOps::Close(fd); });
    }
    rq::FileError Link(const std::string& file, const std::string& backup) override
    {
        const bool inf = EndsWith(file, ".INF");
        const rq::FileError rc = Perform(Step::Link, inf, [&] {
            return linksSupported_ ? FileOps::Link(file, backup) : rq::FileError(rq::FileFault::LinksUnsupported, EPERM);
        });
        copying_ = rc.Fault() == rq::FileFault::LinksUnsupported;
        copyingInf_ = inf;
        return rc;
    }
    rq::FileError Rename(const std::string& from, const std::string& to, rq::Replacing replacing) override
    {
        const bool inf = copying_ ? copyingInf_ : EndsWith(to, ".INF");
        const rq::FileError rc = Perform(copying_ ? Step::CopyRename : Step::Rename, inf,
                                         [&] { return FileOps::Rename(from, to, replacing); });
        copying_ = false;
        return rc;
    }

protected:
    // Runs one step; a derived class may break it instead.
    virtual rq::FileError Perform(Step step, bool inf, const std::function<rq::FileError()>& real,
                                  rq::FileHandle fd = -1, std::string_view bytes = {}) = 0;

private:
    bool linksSupported_;
    bool copying_ = false;
    bool copyingInf_ = false;
    int creates_ = 0;
    std::map<rq::FileHandle, bool> infHandles_;
};

// Fails one step of one file with an errno; the descriptor of a failing close
// is released all the same, as the system does.
class InjectedFailure : public SaveSteps {
public:
    InjectedFailure(Step step, bool inf, int err) : SaveSteps(!IsCopyStep(step)), step_(step), inf_(inf), err_(err) {}
    bool Fired() const { return fired_; }

protected:
    rq::FileError Perform(Step step, bool inf, const std::function<rq::FileError()>& real, rq::FileHandle,
                          std::string_view) override
    {
        if (fired_ || step != step_ || inf != inf_)
            return real();
        fired_ = true;
        if (step == Step::Close || step == Step::CopyClose)
            real();
        return rq::FileError::FromErrno(err_);
    }

private:
    Step step_;
    bool inf_;
    int err_;
    bool fired_ = false;
};

}  // namespace

// The picture of the disc goes the same way: whole or not at all.
TEST_F(SaveUnderFailure, APictureIsWrittenWholeOrNotAtAll)
{
    for (const Step step : {Step::Create, Step::Write, Step::Flush, Step::Close, Step::Rename}) {
        TempFolder d;
        WriteBytes(d / "disc.svg", "the older picture");
        {
            InjectedFailure failure(step, false, ENOSPC);
            EXPECT_EQ(ErrorAndPlaceOf([&] { rq::WriteWholeFile(d / "disc.svg", "<svg/>"); }),
                      "Disk full\nin " + d / "disc.svg")
                << kStepNames[static_cast<int>(step)];
        }
        EXPECT_EQ(ReadBytes(d / "disc.svg"), "the older picture") << kStepNames[static_cast<int>(step)];
        EXPECT_EQ(Names(d), std::set<std::string>{"disc.svg"}) << kStepNames[static_cast<int>(step)];
        rq::WriteWholeFile(d / "disc.svg", "<svg/>");
        EXPECT_EQ(ReadBytes(d / "disc.svg"), "<svg/>");
    }
}

TEST_F(SaveUnderFailure, EveryFailingStepKeepsOldOrNewBytesAndSaveStaysEnabled)
{
    const struct {
        int err;
        const char* box;
    } errors[] = {{ENOSPC, "Disk full."}, {EACCES, "File access denied."}, {EIO, "I/O error 5."}};
    int injected = 0;
    for (const bool backups : {false, true})
        for (const bool inf : {false, true})
            for (int st = 0; st <= static_cast<int>(Step::Rename); ++st) {
                const Step step = static_cast<Step>(st);
                // A backup is made only by the first save.
                if (backups && (step == Step::Link || IsCopyStep(step)))
                    continue;
                for (const auto& e : errors) {
                    const std::string where = std::string(inf ? "INF " : "ECL ") + kStepNames[st] + " " +
                                              e.box + (backups ? " (backups exist)" : "");
                    TempFolder d;
                    Restore(d, backups);
                    rq::TForm1 form;
                    PrepareJob(form, d / "REBUILDER.ECL");
                    std::string box;
                    form.ShowError = [&box](const std::string& text) { box = text; };
                    {
                        InjectedFailure failure(step, inf, e.err);
                        EXPECT_FALSE(form.Run([&] { form.Button7Click(); })) << where;
                        ASSERT_TRUE(failure.Fired()) << where;
                    }
                    ++injected;
                    EXPECT_EQ(box, e.box) << where;
                    EXPECT_TRUE(form.s.Button7.Enabled()) << where;
                    // Only the INF file's rename fails after the ECL file
                    // took its place; every earlier failure leaves both old.
                    const bool lastRename = inf && step == Step::Rename;
                    EXPECT_EQ(ReadBytes(d / "REBUILDER.ECL"), lastRename ? newEcl_ : oldEcl_) << where;
                    EXPECT_EQ(ReadBytes(d / "REBUILDER.INF"), oldInf_) << where;
                    std::set<std::string> names = {"REBUILDER.ECL", "REBUILDER.INF"};
                    if (backups || step == Step::Rename || (inf && (step == Step::Link || IsCopyStep(step))))
                        names.insert("REBUILDER.ECLBAK");
                    if (backups || step == Step::Rename)
                        names.insert("REBUILDER.INFBAK");
                    EXPECT_EQ(Names(d), names) << where;
                    ExpectNothingLost(d, backups, where);

                    // The user saves again, and this time it works.
                    EXPECT_TRUE(form.Run([&] { form.Button7Click(); })) << where << ": " << box;
                    EXPECT_EQ(ReadBytes(d / "REBUILDER.ECL"), newEcl_) << where;
                    EXPECT_EQ(ReadBytes(d / "REBUILDER.INF"), newInf_) << where;
                    EXPECT_EQ(Names(d).size(), 4u) << where;
                    ExpectNothingLost(d, backups, where);
                    EXPECT_FALSE(form.s.Button7.Enabled()) << where;
                }
            }
    RecordProperty("injected", injected);
    EXPECT_EQ(injected, 2 * 11 * 3 + 2 * 5 * 3);
}

#if !defined(_WIN32)  // fork and setrlimit

namespace {

// Ends the process as a crash or a kill would: before the nth file operation
// of a save, or halfway through the bytes of its nth write.
class Crash : public SaveSteps {
public:
    static constexpr int kCrashed = 9;
    Crash(bool linksSupported, int at, bool halfway) : SaveSteps(linksSupported), at_(at), halfway_(halfway) {}

protected:
    rq::FileError Perform(Step step, bool, const std::function<rq::FileError()>& real, rq::FileHandle fd,
                          std::string_view bytes) override
    {
        const bool write = step == Step::Write || step == Step::CopyWrite;
        if ((halfway_ && !write) || ++calls_ != at_)
            return real();
        if (halfway_)
            static_cast<void>(FileOps::Write(fd, bytes.substr(0, bytes.size() / 2)));
        ::_exit(kCrashed);
    }

private:
    int calls_ = 0;
    int at_;
    bool halfway_;
};

}  // namespace

TEST_F(SaveUnderFailure, ASaveCutShortAtAnyStepLosesNothing)
{
    int crashes = 0;
    for (const bool linksSupported : {true, false})
        for (const bool halfway : {false, true})
            for (int at = 1;; ++at) {
                const std::string where = std::string(linksSupported ? "link" : "copy") + " step " +
                                          std::to_string(at) + (halfway ? " halfway" : "");
                TempFolder d;
                Restore(d, false);
                rq::TForm1 form;
                PrepareJob(form, d / "REBUILDER.ECL");
                const pid_t child = ::fork();
                ASSERT_GE(child, 0);
                if (child == 0) {
                    Crash crash(linksSupported, at, halfway);
                    ::_exit(form.Run([&] { form.Button7Click(); }) ? 0 : 1);
                }
                int status = 0;
                ASSERT_EQ(::waitpid(child, &status, 0), child);
                ASSERT_TRUE(WIFEXITED(status)) << where;
                ExpectNothingLost(d, false, where);
                if (WEXITSTATUS(status) == 0)
                    break;  // the save ended before the nth step
                ASSERT_EQ(WEXITSTATUS(status), Crash::kCrashed) << where;
                ++crashes;
                // The next save completes the job and keeps the originals.
                EXPECT_TRUE(form.Run([&] { form.Button7Click(); })) << where;
                EXPECT_EQ(ReadBytes(d / "REBUILDER.ECL"), newEcl_) << where;
                EXPECT_EQ(ReadBytes(d / "REBUILDER.INF"), newInf_) << where;
                EXPECT_EQ(ReadBytes(d / "REBUILDER.ECLBAK"), oldEcl_) << where;
                EXPECT_EQ(ReadBytes(d / "REBUILDER.INFBAK"), oldInf_) << where;
                // The temporary files of the dead save are gone with it.
                EXPECT_EQ(Names(d), (std::set<std::string>{"REBUILDER.ECL", "REBUILDER.ECLBAK", "REBUILDER.INF",
                                                           "REBUILDER.INFBAK"}))
                    << where;
            }
    RecordProperty("crashes", crashes);
    EXPECT_GE(crashes, 40);
}

TEST_F(SaveUnderFailure, AFileSizeLimitStopsTheWriteForReal)
{
    TempFolder d;
    Restore(d, false);
    rq::TForm1 form;
    PrepareJob(form, d / "REBUILDER.ECL");
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Half the new ECL file may be written, then the system refuses.
        ::signal(SIGXFSZ, SIG_IGN);
        const rlim_t half = newEcl_.size() / 2;
        const struct rlimit limit = {half, half};
        std::string box = "(no error)";
        form.ShowError = [&box](const std::string& text) { box = text; };
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            box = "setrlimit failed";
        else
            form.Run([&] { form.Button7Click(); });
        box += form.s.Button7.Enabled() ? " enabled" : " disabled";
        static_cast<void>(::write(pipeFds[1], box.data(), box.size()));
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    std::string box;
    char buf[256];
    for (ssize_t n; (n = ::read(pipeFds[0], buf, sizeof buf)) > 0;)
        box.append(buf, static_cast<size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(box, "Disk full. enabled");
    EXPECT_EQ(ReadBytes(d / "REBUILDER.ECL"), oldEcl_);
    EXPECT_EQ(ReadBytes(d / "REBUILDER.INF"), oldInf_);
    EXPECT_EQ(Names(d), (std::set<std::string>{"REBUILDER.ECL", "REBUILDER.INF"}));
}

#endif
