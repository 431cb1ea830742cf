// rq_generate_project TITLE_SETS ITEMS SEED FOLDER: writes FOLDER/REBUILDER.ECL and .INF.
#include <cstdlib>
#include <fstream>
#include <iostream>

#include "project_generator.h"

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::cerr << "usage: rq_generate_project TITLE_SETS ITEMS SEED FOLDER\n";
        return 2;
    }
    const auto p = rq::bench::GenerateProject(std::atoi(argv[1]), std::atoi(argv[2]),
                                              static_cast<unsigned>(std::strtoul(argv[3], nullptr, 10)));
    const std::string folder = argv[4];
    std::ofstream(folder + "/REBUILDER.ECL", std::ios::binary) << p.ecl;
    std::ofstream(folder + "/REBUILDER.INF", std::ios::binary) << p.inf;
    return 0;
}
