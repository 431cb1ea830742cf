#pragma once
// The command line of a batch job: /ecl=, /vts=, /min=, /max_via_bitrate,
// /max_via_percent, /autosave, /autoexit, /nogui. What a job is; the form
// runs it (TForm1::RunBatchJob).
#include <functional>
#include <string>
#include <vector>

namespace rq {

// The message of a job whose project file is missing or not named.
inline constexpr const char* kMissingProjectMessage = "ECL File not found or no ECL= specified on commandline";

// How the named title set is made as large as possible.
enum class BatchMode {
    None,
    ViaBitrate,     // /max_via_bitrate: the others at a common bitrate
    ViaPercentage,  // /max_via_percent: the others at a common overall percentage
};

struct BatchSettings {
    std::string ProjectPath;  // /ecl=
    std::string Target;       // /vts=
    std::string Others;       // /min=
    BatchMode Mode = BatchMode::None;
    bool NoGui = false;
    bool AutoSave = false;
    bool AutoExit = false;

    // A job can run once it names the title set, the others' value and the mode.
    bool Complete() const { return !Target.empty() && !Others.empty() && Mode != BatchMode::None; }
};

// Reads every argument in order; names are compared after lower-casing the
// argument, values are kept as typed; the last occurrence wins; unknown
// arguments are ignored. onNoGui runs the moment "/nogui" is read.
BatchSettings ParseBatchArguments(const std::vector<std::string>& args, const std::function<void()>& onNoGui = {});

enum class BatchOutcome {
    MissingProject,  // the message was shown; nothing was loaded
    Incomplete,      // nothing to do (with a report: loaded and reported as it stands)
    Done,            // loaded, maximised, applied, and saved when /autosave asked for it
};

}  // namespace rq
