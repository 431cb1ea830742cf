#include "ui/batch_job.h"

#include "model/project_state.h"

namespace rq {

BatchSettings ParseBatchArguments(const std::vector<std::string>& args, const std::function<void()>& onNoGui)
{
    BatchSettings b;
    for (const std::string& arg : args) {
        const std::string lower = LowerAscii(arg);
        const std::string head = lower.substr(0, 5);
        if (lower == "/nogui") {
            b.NoGui = true;
            if (onNoGui)
                onNoGui();
        }
        // The whole path: a project deep in nested folders must be found.
        if (head == "/ecl=")
            b.ProjectPath = arg.substr(5);
        if (head == "/vts=")
            b.Target = arg.substr(5, 10);
        if (lower == "/max_via_bitrate")
            b.Mode = BatchMode::ViaBitrate;
        if (lower == "/max_via_percent")
            b.Mode = BatchMode::ViaPercentage;
        if (lower == "/autosave")
            b.AutoSave = true;
        if (lower == "/autoexit")
            b.AutoExit = true;
        if (head == "/min=")
            b.Others = arg.substr(5, 10);
    }
    return b;
}

}  // namespace rq
