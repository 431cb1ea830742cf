// Program start: the window and its start-up timer, or a run without any
// window when there is no display or a report is asked for.
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "run/no_window.h"
#include "platform/system.h"
#include "ui/form1.h"
#include "ui/form2.h"
#include "run/process_setup.h"
#include "ui/qt/main_window.h"

namespace {

bool HasDisplay()
{
#if defined(_WIN32)
    return true;  // the desktop is always there
#else
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* v = std::getenv(name);
        if (v != nullptr && *v != '\0')
            return true;
    }
    return false;
#endif
}

}  // namespace

int main(int argc, char** argv)
{
    rq::sys::PrepareProcess();
    // Reports and messages byte for byte as ratequill-cli writes them (no CR added on Windows).
    rq::sys::BinaryStandardStreams();
    rq::KeepFreedMemoryForReuse();
    const std::vector<std::string> args = rq::sys::CommandLineArguments(argc, argv);
    if (const std::optional<int> status = rq::RunWithoutWindow(args, HasDisplay()))
        return *status;

    QApplication app(argc, argv);
    QApplication::setApplicationName(rq::TForm1::kAppTitle);
    rq::TForm1 form;
    // A plain path as the only argument opens that project; options run a job.
    const std::optional<QString> project = rq::qt::ProjectPathArgument(args);
    if (!project)
        form.Arguments = args;
    rq::qt::MainWindow window(form);
    form.Form2().Show();  // the dialog is visible from its creation
    window.show();
    if (project)
        QTimer::singleShot(0, &window, [&window, path = *project] { window.OpenProject(path); });
    const int status = QApplication::exec();
    return status != 0 ? status : form.BatchExitCode();
}
