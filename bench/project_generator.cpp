#include "project_generator.h"

#include <algorithm>
#include <random>
#include <vector>

#include "model/numbers.h"

namespace rq::bench {

namespace {

std::string Two(int n) { return n < 10 ? "0" + std::to_string(n) : std::to_string(n); }

}  // namespace

GeneratedProject GenerateProject(int titleSets, int items, unsigned seed)
{
    titleSets = std::clamp(titleSets, 1, 99);
    items = std::max(items, titleSets);
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> pick(0, 999);

    // Items per title set: the film takes half, the rest is spread evenly.
    std::vector<int> count(static_cast<size_t>(titleSets) + 1, 0);
    count[1] = titleSets == 1 ? items : items / 2;
    int rest = items - count[1];
    for (int v = 2; v <= titleSets; ++v) {
        const int share = rest / (titleSets - v + 1);
        count[static_cast<size_t>(v)] = share;
        rest -= share;
    }

    GeneratedProject p;
    p.ecl.reserve(static_cast<size_t>(items) * 400);
    p.inf.reserve(static_cast<size_t>(items) * 40);
    p.ecl += "[options]\r\nencoder=cce\r\nversion=2\r\n";
    for (int v = 1; v <= titleSets; ++v) {
        const bool film = v == 1;
        const int rateIdx = (v % 7 == 0) ? 4 : 3;
        std::uniform_int_distribution<int> frames(film ? 3000 : 200, film ? 9000 : 3000);
        for (int i = 0; i < count[static_cast<size_t>(v)]; ++i) {
            const std::string title = "V" + Two(v) + "PGC" + std::to_string(1 + i / 40) + "_" + std::to_string(i % 40);
            const int length = frames(rng);
            const int bitrate = (film ? 4200 : 2500) + pick(rng) * 3;
            const int reduction10 = (film ? 600 : 450) + pick(rng) / 4;
            p.ecl += "[item]\r\n";
            p.ecl += "title=" + title + "\r\n";
            p.ecl += "source=D:\\DVD\\D2VAVS\\" + title + ".AVS\r\n";
            p.ecl += "output=D:\\DVD\\ENCODED\\" + title + ".MPV\r\n";
            p.ecl += "vbr_brate_avg=" + std::to_string(bitrate) + "\r\n";
            p.ecl += "vbr_brate_min=" + std::to_string(bitrate / 4) + "\r\n";
            p.ecl += "vbr_brate_max=9000\r\n";
            p.ecl += "vbr_pass=" + std::string(film ? "3" : "2") + "\r\n";
            p.ecl += "half_width=" + std::string(!film && pick(rng) < 100 ? "1" : "0") + "\r\n";
            p.ecl += "encode_first=0\r\n";
            p.ecl += "encode_last=" + std::to_string(length - 1) + "\r\n";
            p.ecl += "frame_rate_idx=" + std::to_string(rateIdx) + "\r\n";
            p.ecl += "aspect_ratio=" + std::string(film ? "16:9" : "4:3") + "\r\n";
            p.ecl += "quality_prec=13\r\n";
            p.inf += "[" + title + "]\r\n";
            p.inf += "Reduction=" + std::to_string(reduction10 / 10) + "." + std::to_string(reduction10 % 10) + "\r\n";
            p.inf += "Frames=" + std::to_string(length) + "\r\n";
        }
    }
    return p;
}

}  // namespace rq::bench
