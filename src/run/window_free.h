#pragma once
// Runs without any window: the batch job for scripts and schedulers, and the
// --report that prints the title-set tables. Each is the last thing its
// process does: the job's project is left for the system to free at exit.
#include <iosfwd>
#include <string>
#include <vector>

namespace rq {

struct ProjectState;

// The batch job of the command line with its messages on `err` (prefixed
// "ratequill: "). Returns the exit status: 0 done, 1 project missing or an
// error ended the job.
int RunHeadlessBatch(const std::vector<std::string>& args, std::ostream& err);

// Loads the project of /ecl=, maximises when a complete job is given, prints
// the main VTS grid, the VTS details grid and the total to `out`, then goes on
// as the batch would (apply; save only with /autosave).
int RunReport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The title-set tables as the report prints them: the main VTS grid, the VTS
// details grid and the total, each grid row a line of tab-separated cells.
void PrintTitleSetTables(std::ostream& out, ProjectState& s);

// As the report, with or without its tables (report may be null), and then
// writes the picture of where the size goes as SVG to `picture`, replacing
// the file whole. A missing project, an error of the job or a file that
// cannot be written ends it with 1, and no picture is written.
int RunPicture(const std::vector<std::string>& args, const std::string& picture, std::ostream* report,
               std::ostream& err);

// The usage text of every option.
std::string UsageText();

}  // namespace rq
