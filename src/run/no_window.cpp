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

// The file named after "--picture", and the arguments without the two; no
// file when the option is last.
struct PictureRequest {
    std::optional<std::string> file;
    std::vector<std::string> rest;
};
PictureRequest PictureOption(const std::vector<std::string>& args)
{
    PictureRequest request;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--picture") {
            request.file.reset();
            if (i + 1 < args.size())
                request.file = args[++i];
        } else {
            request.rest.push_back(args[i]);
        }
    }
    return request;
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

    if (Has(args, "--picture")) {
        const PictureRequest picture = PictureOption(args);
        if (!picture.file || picture.file->empty()) {
            std::cerr << "ratequill: --picture needs the name of the SVG file to write\n";
            return 1;
        }
        return RunPicture(picture.rest, *picture.file, Has(picture.rest, "--report") ? &std::cout : nullptr, std::cerr);
    }
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
