// The form's command-line job: what the start-up timer runs.
#include "engine/maximise.h"
#include "project/paths.h"
#include "project/reader.h"
#include "project/save.h"
#include "ui/form1.h"
#include "ui/history.h"
#include "ui/status.h"

namespace rq {

BatchOutcome TForm1::RunBatchJob(const BatchSettings& job, const std::function<void()>& report)
{
    if (!FileExists(job.ProjectPath)) {
        if (ShowMessage)
            ShowMessage(kMissingProjectMessage);
        return BatchOutcome::MissingProject;
    }
    // Without a whole job there is nothing to change; a report still shows
    // the project as it stands.
    const bool complete = job.Complete();
    if (!complete && !report)
        return BatchOutcome::Incomplete;

    LoadForBatch(job.ProjectPath);
    if (complete) {
        // The boxes show the job's title set and value, as if typed; the
        // maximise takes them from the job itself.
        const StepScope step(*this);
        const bool viaBitrate = job.Mode == BatchMode::ViaBitrate;
        NameStep("Maximise " + job.Target + " with the others at " + GroupedNumber(job.Others) +
                 (viaBitrate ? " kbit/s" : " %"));
        if (viaBitrate) {
            s.ComboBox5.SetText(job.Target);
            s.Edit7.SetText(job.Others);
            MaximiseViaBitrate(s, job.Target, job.Others, s.Edit8.Text());
        } else {
            s.ComboBox6.SetText(job.Target);
            s.Edit11.SetText(job.Others);
            MaximiseViaPercentage(s, job.Target, job.Others, s.Edit8.Text());
        }
    }
    if (report)
        report();
    if (!complete)
        return BatchOutcome::Incomplete;
    Button4Click();
    if (job.AutoSave) {
        SaveECL(s, job.ProjectPath);
        StepHistory().MarkSaved();
    }
    return BatchOutcome::Done;
}

}  // namespace rq
