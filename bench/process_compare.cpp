// rq_process_compare RUNS SETUP_CMD -- CMD_A -- CMD_B
// Runs SETUP_CMD (through sh) before every run, then CMD_A and CMD_B in turn,
// RUNS times each, interleaved so both share the machine's mood; prints the
// median wall time, the peak resident memory, the ratio B / A and the
// difference B - A.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Sample {
    double ms;
    long maxRssKb;
};

Sample RunOnce(const std::vector<std::string>& cmd)
{
    std::vector<char*> argv;
    for (const std::string& a : cmd)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const auto t0 = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage ru{};
    wait4(pid, &status, 0, &ru);
    const auto t1 = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed with status %d\n", cmd[0].c_str(), status);
        std::exit(1);
    }
    return {std::chrono::duration<double, std::milli>(t1 - t0).count(), ru.ru_maxrss};
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 6)
        return 2;
    const int runs = std::atoi(argv[1]);
    const std::string setup = argv[2];
    std::vector<std::vector<std::string>> cmds(1);
    for (int i = 4; i < argc; ++i) {
        if (std::string(argv[i]) == "--")
            cmds.emplace_back();
        else
            cmds.back().push_back(argv[i]);
    }
    if (cmds.size() != 2)
        return 2;
    std::vector<double> ms[2];
    long rss[2] = {0, 0};
    for (int r = 0; r < runs; ++r)
        for (int c = 0; c < 2; ++c) {
            if (std::system(setup.c_str()) != 0)
                return 1;
            const Sample s = RunOnce(cmds[static_cast<size_t>(c)]);
            ms[c].push_back(s.ms);
            rss[c] = std::max(rss[c], s.maxRssKb);
        }
    const double a = Median(ms[0]);
    const double b = Median(ms[1]);
    std::printf("%-10s median %8.2f ms  peak RSS %6.1f MB  (%s)\n", "floor", a, rss[0] / 1024.0, cmds[0][0].c_str());
    std::printf("%-10s median %8.2f ms  peak RSS %6.1f MB  (%s)\n", "ratequill", b, rss[1] / 1024.0, cmds[1][0].c_str());
    std::printf("ratio %.2f  difference %.2f ms\n", b / a, b - a);
    return 0;
}
