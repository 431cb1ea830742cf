#pragma once
// Runs without any window: the batch job for scripts and schedulers, the
// --report that prints the title-set tables.
#include <iosfwd>
#include <string>
#include <vector>

namespace rq {

// The batch job of the command line with its messages on `err` (prefixed
// "ratequill: "). Returns the exit status: 0 done, 1 project missing or an
// error ended the job.
int RunHeadlessBatch(const std::vector<std::string>& args, std::ostream& err);

// Loads the project of /ecl=, maximises when a complete job is given, prints
// the main VTS grid, the VTS details grid and the total to `out`, then goes on
// as the batch would (apply; save only with /autosave).
int RunReport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The usage text of every option.
std::string UsageText();

}  // namespace rq
