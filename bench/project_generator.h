#pragma once
// Writes a realistic DVD-RB project pair for a chosen number of title sets
// and items, the same for the same seed.
#include <string>

namespace rq::bench {

struct GeneratedProject {
    std::string ecl;  // REBUILDER.ECL bytes (CR LF line ends)
    std::string inf;  // REBUILDER.INF bytes
};

// titleSets 1..99, items >= titleSets. Title set 1 is the feature film and
// gets about half of the items and most of the frames.
GeneratedProject GenerateProject(int titleSets, int items, unsigned seed);

}  // namespace rq::bench
