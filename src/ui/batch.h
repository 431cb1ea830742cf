#pragma once
// The command line of a batch job: /ecl=, /vts=, /min=, /max_via_bitrate,
// /max_via_percent, /autosave, /autoexit, /nogui.
#include <functional>
#include <string>
#include <vector>

namespace rq {

struct BatchSettings {
    std::string ProjectPath;  // /ecl=
    std::string Target;       // /vts=
    std::string Others;       // /min=
    std::string Mode;         // "", "MAXBITRATE" or "MAXPERCENT"
    bool NoGui = false;
    bool AutoSave = false;
    bool AutoExit = false;
};

// Reads every argument in order; names are compared after lower-casing the
// argument, values are kept as typed; the last occurrence wins; unknown
// arguments are ignored. onNoGui runs the moment "/nogui" is read.
BatchSettings ParseBatchArguments(const std::vector<std::string>& args, const std::function<void()>& onNoGui = {});

}  // namespace rq
