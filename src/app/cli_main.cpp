// ratequill-cli: the window-free program for scripts and schedulers. It runs
// the batch job, --report, --help and --version as ratequill does without a
// display, and starts faster, with no toolkit to load.
#include "run/no_window.h"
#include "platform/system.h"
#include "run/process_setup.h"

int main(int argc, char** argv)
{
    rq::sys::PrepareProcess();
    rq::sys::BinaryStandardStreams();
    rq::KeepFreedMemoryForReuse();
    return *rq::RunWithoutWindow(rq::sys::CommandLineArguments(argc, argv), false);
}
