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

#include "model/numbers.h"
#include "ui/form1.h"
#include "ui/form2.h"
#include "ui/headless.h"
#include "ui/qt/main_window.h"

namespace {

bool HasDisplay()
{
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* v = std::getenv(name);
        if (v != nullptr && *v != '\0')
            return true;
    }
    return false;
}

bool Has(const std::vector<std::string>& args, const char* option)
{
    for (const std::string& a : args)
        if (a == option)
            return true;
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    rq::KeepFreedMemoryForReuse();
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (Has(args, "--help") || Has(args, "-h")) {
        std::cout << rq::UsageText();
        return 0;
    }
    if (Has(args, "--version")) {
        std::cout << rq::TForm1::kCaption << '\n';
        return 0;
    }
    // The separators come from the user's regional settings, read before the
    // toolkit touches the process locale.
    rq::NumberSeparators();

    if (Has(args, "--report"))
        return rq::RunReport(args, std::cout, std::cerr);
    if (!HasDisplay()) {
        if (args.empty()) {
            std::cerr << rq::UsageText();
            return 2;
        }
        // Nobody could see or close a window: run the job without one.
        return rq::RunHeadlessBatch(args, std::cerr);
    }

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
