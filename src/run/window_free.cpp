#include "run/window_free.h"

#include <memory>
#include <ostream>

#include "model/errors.h"
#include "ui/form1.h"
#include "ui/history.h"
#include "project/save.h"
#include "views/disc_picture.h"
#include "views/grid_views.h"

namespace rq {

namespace {

void PrintGrid(std::ostream& out, const TextGrid& grid)
{
    for (int r = 0; r < grid.RowCount(); ++r) {
        if (r > 0 && grid.Cell(0, r).empty())
            continue;
        for (int c = 0; c < grid.ColCount(); ++c) {
            if (c > 0)
                out << '\t';
            out << grid.Cell(c, r);
        }
        out << '\n';
    }
}

#if defined(__SANITIZE_ADDRESS__)
#define RQ_FREE_BEFORE_EXIT 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define RQ_FREE_BEFORE_EXIT 1
#endif
#endif

// The program ends right after a job without a window. A loaded project is
// hundreds of thousands of small blocks, and the system takes the process's
// memory back in one go: freeing them one by one first only costs time. So
// the form is left in place (still reachable, through this pointer). A
// sanitizer build frees it, so that its leak check still sees every block.
#if !defined(RQ_FREE_BEFORE_EXIT)
const TForm1* g_formLeftToTheSystem = nullptr;
#endif

template <typename Job>
int WithJobForm(Job&& job)
{
    auto form = std::make_unique<TForm1>();
    // Neither the job nor the report shows the item details.
    LeaveItemDetailsUnwritten(form->s);
    const int code = job(*form);
#if !defined(RQ_FREE_BEFORE_EXIT)
    g_formLeftToTheSystem = form.release();
#endif
    return code;
}

// triedPath: the project the job asked for, named after a missing-project
// message as an error's place is.
void WireToStream(TForm1& form, std::ostream& err, int& exitCode, std::function<std::string()> triedPath)
{
    // The error, and on the next line where it was found.
    form.ShowError = [&err, &form](const std::string& text) {
        err << "ratequill: " << text << '\n';
        if (!form.ErrorPlace().empty())
            err << "ratequill: " << form.ErrorPlace() << '\n';
    };
    form.ShowMessage = [&err, triedPath = std::move(triedPath)](const std::string& text) {
        err << "ratequill: " << text << '\n';
        if (text == kMissingProjectMessage)
            if (const std::string path = triedPath(); !path.empty())
                err << "ratequill: in " << path << '\n';
    };
    form.Terminate = [&exitCode](int code) { exitCode = code; };
}

}  // namespace

void PrintTitleSetTables(std::ostream& out, ProjectState& s)
{
    WritePendingViews(s);
    PrintGrid(out, s.StringGrid3);
    PrintGrid(out, s.StringGrid5);
    out << "Total Size (in KBytes) of Encoding:\t" << s.Label25.Caption() << '\n';
}

std::string UsageText()
{
    return "Usage: ratequill [options]\n"
           "Moves size between the title sets of a DVD-RB project (REBUILDER.ECL and REBUILDER.INF).\n"
           "Started without options it opens its window.\n"
           "\n"
           "Batch job:\n"
           "  /ecl=PATH           the project to load (REBUILDER.ECL or REBUILDER.INF)\n"
           "  /vts=NAME           the title set to make as large as possible, in lower case (v01)\n"
           "  /min=VALUE          the whole number the other title sets are set to\n"
           "  /max_via_bitrate    the others' value is a bitrate in kbit/s\n"
           "  /max_via_percent    the others' value is an overall percentage\n"
           "  /autosave           save the project (backups .ECLBAK/.INFBAK on the first save)\n"
           "  /autoexit           end the program after the job\n"
           "  /nogui              hide the main window while the job runs\n"
           "\n"
           "Other options:\n"
           "  --report            no window: load, maximise when a whole job is given, print the\n"
           "                      title-set tables, then apply (and save with /autosave)\n"
           "  --picture FILE.svg  no window: load, run the job when one is given (as the batch does),\n"
           "                      then write the picture of where the size goes as SVG; with\n"
           "                      --report the tables are printed too\n"
           "  --help, -h          this text\n"
           "  --version           the program's name and version\n"
           "\n"
           "Without a display the job runs without a window; messages go to standard error.\n"
           "Exit status: 0 when the job did what was asked, 1 when the project was missing or an\n"
           "error ended the job, 2 when started without options and without a display.\n";
}

int RunHeadlessBatch(const std::vector<std::string>& args, std::ostream& err)
{
    return WithJobForm([&](TForm1& form) {
        int exitCode = 0;
        WireToStream(form, err, exitCode, [&form] { return form.Batch().ProjectPath; });
        // No window will follow the job: nobody could undo its steps.
        form.StepHistory().SetRecording(false);
        form.Arguments = args;
        form.Timer1Timer();
        return form.BatchExitCode() != 0 ? form.BatchExitCode() : exitCode;
    });
}

namespace {

// Loads the project of /ecl=, maximises when a complete job is given, prints
// the tables to `out` when given, applies and saves as the batch does, and
// then writes the picture when asked for.
int ReportOrPicture(const std::vector<std::string>& args, std::ostream* out, const std::string* picture,
                    std::ostream& err)
{
    return WithJobForm([&](TForm1& form) {
        int exitCode = 0;
        const BatchSettings job = ParseBatchArguments(args);
        WireToStream(form, err, exitCode, [&job] { return job.ProjectPath; });
        // The job ends the program: nobody could undo its steps.
        form.StepHistory().SetRecording(false);
        BatchOutcome outcome = BatchOutcome::Incomplete;
        const bool ok = form.Run([&] {
            outcome = form.RunBatchJob(job, [&] {
                if (!out)
                    return;
                PrintTitleSetTables(*out, form.s);
                out->flush();
            });
            if (picture && outcome != BatchOutcome::MissingProject)
                WriteWholeFile(*picture, DiscPictureSvg(MakeDiscPicture(form.s)));
        });
        return ok && outcome != BatchOutcome::MissingProject ? 0 : 1;
    });
}

}  // namespace

int RunReport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    return ReportOrPicture(args, &out, nullptr, err);
}

int RunPicture(const std::vector<std::string>& args, const std::string& picture, std::ostream* report,
               std::ostream& err)
{
    return ReportOrPicture(args, report, &picture, err);
}

}  // namespace rq
