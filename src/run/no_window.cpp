#include "run/no_window.h"

#include <cstdio>
#include <iostream>
#include <new>

#include "model/errors.h"
#include "model/numbers.h"
#include "ui/form1.h"
#include "run/process_setup.h"
#include "run/window_free.h"

namespace rq {

namespace {

bool Has(const std::vector<std::string>& args, const char* option)
{
    for (const std::string& a : args)
        if (a == option)
            return true;
    return false;
}

}  // namespace

namespace {

std::optional<int> Run(const std::vector<std::string>& args, bool windowPossible)
{
    if (Has(args, "--help") || Has(args, "-h")) {
        std::cout << UsageText();
        return 0;
    }
    if (Has(args, "--version")) {
        std::cout << TForm1::kCaption << '\n';
        return 0;
    }
    // The separators come from the user's regional settings, read before a
    // toolkit touches the process locale.
    UseRegionalSeparators();

    if (Has(args, "--report"))
        return RunReport(args, std::cout, std::cerr);
    if (windowPossible)
        return std::nullopt;
    if (args.empty()) {
        std::cerr << UsageText();
        return 2;
    }
    // Nobody could see or close a window: run the job without one.
    return RunHeadlessBatch(args, std::cerr);
}

}  // namespace

std::optional<int> RunWithoutWindow(const std::vector<std::string>& args, bool windowPossible)
{
    try {
        return Run(args, windowPossible);
    } catch (const std::bad_alloc&) {
        // Whatever ran out of memory outside a command; the message needs none.
        std::fputs("ratequill: ", stderr);
        std::fputs(kNotEnoughMemory, stderr);
        std::fputs(".\n", stderr);
        return 1;
    }
}

}  // namespace rq
