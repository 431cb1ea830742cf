#include "ui/batch.h"

#include "model/project_state.h"
#include "project/reader.h"
#include "project/save.h"
#include "ui/form1.h"

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

BatchOutcome RunBatchJob(TForm1& form, const BatchSettings& job, const std::function<void()>& report)
{
    if (!FileExists(job.ProjectPath)) {
        if (form.ShowMessage)
            form.ShowMessage(kMissingProjectMessage);
        return BatchOutcome::MissingProject;
    }
    // Without a whole job there is nothing to change; a report still shows
    // the project as it stands.
    const bool complete = job.Complete();
    if (!complete && !report)
        return BatchOutcome::Incomplete;

    ProjectState& s = form.s;
    form.LoadForBatch(job.ProjectPath);
    if (complete) {
        if (job.Mode == BatchMode::ViaBitrate) {
            s.ComboBox5.SetText(job.Target);
            s.Edit7.SetText(job.Others);
            form.Button10Click();
        } else {
            s.ComboBox6.SetText(job.Target);
            s.Edit11.SetText(job.Others);
            form.Button2Click();
        }
    }
    if (report)
        report();
    if (!complete)
        return BatchOutcome::Incomplete;
    form.Button4Click();
    if (job.AutoSave)
        SaveECL(s, job.ProjectPath);
    return BatchOutcome::Done;
}

}  // namespace rq
