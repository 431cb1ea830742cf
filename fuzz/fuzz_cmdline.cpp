// The command line: arguments separated by NUL bytes.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "ui/batch_job.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> args(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0)
            args.emplace_back();
        else
            args.back() += static_cast<char>(data[i]);
    }
    int hides = 0;
    const rq::BatchSettings b = rq::ParseBatchArguments(args, [&hides] { ++hides; });
    if (b.ProjectPath.size() > size || b.Target.size() > 10 || b.Others.size() > 10)
        std::abort();
    if (b.NoGui != (hides > 0))
        std::abort();
    return 0;
}
