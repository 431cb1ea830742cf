// The batch job killed at random moments, over two hundred times: whenever it dies,
// each project file holds exactly its old or its new bytes and loads, the INF
// file is never newer than the ECL file, and a backup, once there, is exactly
// the original. Ended by SIGTERM or SIGINT it leaves no temporary file; after
// SIGKILL the next load removes the ones it left. The kill times are seeded and spread, half of them over the
// whole run and half over the save itself, both measured from clean runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <iterator>
#include <map>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "model/errors.h"
#include "project/reader.h"
#include "support/project_files.h"
#include "support/seeded_random.h"

extern char** environ;

namespace fs = std::filesystem;
using rqtest::ReadBytes;
using rqtest::WriteBytes;
using Clock = std::chrono::steady_clock;
using Micros = std::chrono::microseconds;

namespace {

// The whole job of the README, started without a display, its output discarded.
class Job {
public:
    explicit Job(const fs::path& dir)
        : args_{RQ_PROGRAM, "/ecl=" + (dir / "REBUILDER.ECL").string(), "/vts=v02", "/min=1850", "/max_via_bitrate",
                "/autosave"}
    {
        for (char** e = environ; *e != nullptr; ++e)
            if (std::strncmp(*e, "DISPLAY=", 8) != 0 && std::strncmp(*e, "WAYLAND_DISPLAY=", 16) != 0 &&
                std::strncmp(*e, "QT_QPA_PLATFORM=", 16) != 0)
                env_.push_back(*e);
        env_.push_back(nullptr);
        for (std::string& a : args_)
            argv_.push_back(a.data());
        argv_.push_back(nullptr);
    }

    pid_t Start()
    {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        pid_t pid = -1;
        const int rc = ::posix_spawn(&pid, argv_[0], &actions, nullptr, argv_.data(), env_.data());
        posix_spawn_file_actions_destroy(&actions);
        return rc == 0 ? pid : -1;
    }

private:
    std::vector<std::string> args_;
    std::vector<char*> argv_;
    std::vector<char*> env_;
};

// When, after the start, the save begins (its first file appears), when it
// ends (the last file takes its name), and when the process is gone.
struct Timing {
    Micros saveStart{0}, saveEnd{0}, total{0};
};

Timing Measure(Job& job, const fs::path& dir)
{
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ::inotify_add_watch(watch, dir.c_str(), IN_CREATE | IN_MOVED_TO);
    Timing t;
    const auto start = Clock::now();
    const pid_t pid = job.Start();
    for (;;) {
        pollfd p{watch, POLLIN, 0};
        ::poll(&p, 1, 1);
        alignas(inotify_event) char buf[4096];
        for (ssize_t n; (n = ::read(watch, buf, sizeof buf)) > 0;)
            for (char* at = buf; at < buf + n;) {
                const auto* ev = reinterpret_cast<const inotify_event*>(at);
                const auto now = std::chrono::duration_cast<Micros>(Clock::now() - start);
                if ((ev->mask & IN_CREATE) && t.saveStart.count() == 0)
                    t.saveStart = now;
                if (ev->mask & IN_MOVED_TO)
                    t.saveEnd = now;
                at += sizeof(inotify_event) + ev->len;
            }
        int status = 0;
        if (pid < 0 || ::waitpid(pid, &status, WNOHANG) == pid)
            break;
    }
    t.total = std::chrono::duration_cast<Micros>(Clock::now() - start);
    ::close(watch);
    return t;
}

class CrashSafety : public ::testing::Test {
protected:
    void SetUp() override
    {
        oldEcl_ = ReadBytes(fs::path(RQ_EXAMPLES_DIR) / "REBUILDER.ECL");
        oldInf_ = ReadBytes(fs::path(RQ_EXAMPLES_DIR) / "REBUILDER.INF");
    }

    // The original pair and nothing else.
    void Restore()
    {
        for (const auto& e : fs::directory_iterator(dir_))
            fs::remove(e.path());
        WriteBytes(dir_ / "REBUILDER.ECL", oldEcl_);
        WriteBytes(dir_ / "REBUILDER.INF", oldInf_);
    }

    rqtest::TempFolder temp_;
    const fs::path dir_ = rqtest::FsPath(temp_.Path());
    std::string oldEcl_, oldInf_;
};

}  // namespace

TEST_F(CrashSafety, KilledAtAnyMomentTheBatchSaveLosesNothing)
{
    Job job(dir_);

    // A clean run gives the new bytes.
    Restore();
    Measure(job, dir_);
    const std::string newEcl = ReadBytes(dir_ / "REBUILDER.ECL");
    const std::string newInf = ReadBytes(dir_ / "REBUILDER.INF");
    ASSERT_NE(newEcl, oldEcl_);
    ASSERT_NE(newInf, oldInf_);
    ASSERT_EQ(ReadBytes(dir_ / "REBUILDER.ECLBAK"), oldEcl_);

    // The timing follows the machine's load: the median of the latest three
    // clean runs, with one more after every tenth run.
    std::vector<Timing> recent;
    const auto measure = [&] {
        Restore();
        recent.push_back(Measure(job, dir_));
        EXPECT_GT(recent.back().saveEnd.count(), 0) << "the job saved nothing";
        if (recent.size() > 3)
            recent.erase(recent.begin());
    };
    for (int i = 0; i < 3; ++i)
        measure();

    // Every other kill anywhere in the run, the others in the save and a
    // little around it.
    rqtest::SeededRandom<std::mt19937_64> random(20261207);

    // A run that ends before its kill still counts as a run, not as a kill;
    // the jobs go on until enough were killed.
    constexpr int kKills = 220;
    int runs = 0, killed = 0, leftovers = 0;
    double total = 0, s0 = 0, s1 = 0;
    std::map<std::string, int> outcomes;
    for (; killed < kKills && runs < 2 * kKills; ++runs) {
        if (runs > 0 && runs % 10 == 0)
            measure();
        std::vector<Timing> sorted = recent;
        std::sort(sorted.begin(), sorted.end(), [](const Timing& a, const Timing& b) { return a.total < b.total; });
        total = static_cast<double>(sorted[1].total.count());
        s0 = static_cast<double>(sorted[1].saveStart.count());
        s1 = static_cast<double>(sorted[1].saveEnd.count());
        const double margin = std::max(200.0, (s1 - s0) / 4);

        Restore();
        const double at =
            runs % 2 == 0 ? random.Fraction(0, total) : random.Fraction(std::max(0.0, s0 - margin), s1 + margin);
        const auto start = Clock::now();
        const pid_t pid = job.Start();
        ASSERT_GT(pid, 0);
        std::this_thread::sleep_until(start + Micros(static_cast<long long>(at)));
        // Mostly a kill nothing can catch; every fourth run the polite
        // requests to end, which a save finishes before it goes.
        const int signal = runs % 4 == 1 ? SIGTERM : runs % 4 == 3 ? SIGINT : SIGKILL;
        ::kill(pid, signal);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        if (WIFSIGNALED(status)) {
            ++killed;
        } else {
            ASSERT_EQ(WEXITSTATUS(status), 0) << "run " << runs;
        }
        const auto temporaries = [&] {
            int n = 0;
            for (const auto& e : fs::directory_iterator(dir_))
                n += e.path().filename().string().rfind(".ratequill-", 0) == 0;
            return n;
        };
        if (signal != SIGKILL) {
            ASSERT_EQ(temporaries(), 0) << "run " << runs << " ended by signal " << signal;
        }

        const std::string where = "run " + std::to_string(runs) + " at " + std::to_string(at / 1000) + " ms";
        const std::string ecl = ReadBytes(dir_ / "REBUILDER.ECL");
        const std::string inf = ReadBytes(dir_ / "REBUILDER.INF");
        ASSERT_TRUE(ecl == oldEcl_ || ecl == newEcl) << where;
        ASSERT_TRUE(inf == oldInf_ || inf == newInf) << where;
        ASSERT_FALSE(inf == newInf && ecl == oldEcl_) << where;
        if (fs::exists(dir_ / "REBUILDER.ECLBAK")) {
            ASSERT_EQ(ReadBytes(dir_ / "REBUILDER.ECLBAK"), oldEcl_) << where;
        }
        if (fs::exists(dir_ / "REBUILDER.INFBAK")) {
            ASSERT_EQ(ReadBytes(dir_ / "REBUILDER.INFBAK"), oldInf_) << where;
        }
        leftovers += temporaries();
        // The next load removes what the killed save left behind.
        rq::ProjectState s;
        EXPECT_NO_THROW(rq::LoadECL(s, (dir_ / "REBUILDER.ECL").string())) << where;
        EXPECT_EQ(s.StringGrid1.RowCount(), 58) << where;
        ASSERT_EQ(temporaries(), 0) << where;

        std::string outcome = std::string(ecl == newEcl ? "ECL new" : "ECL old") + (inf == newInf ? ", INF new" : ", INF old");
        outcome += fs::exists(dir_ / "REBUILDER.ECLBAK") ? ", ECL backup" : "";
        outcome += fs::exists(dir_ / "REBUILDER.INFBAK") ? ", INF backup" : "";
        ++outcomes[outcome];
    }
    RecordProperty("runs", runs);
    RecordProperty("kills", killed);
    RecordProperty("run_ms", static_cast<int>(total / 1000));
    RecordProperty("save_ms", static_cast<int>((s1 - s0) / 1000));
    RecordProperty("temporary_files_left_by_kills", leftovers);
    for (const auto& [outcome, count] : outcomes)
        RecordProperty(outcome, count);
    EXPECT_EQ(killed, kKills);
}
