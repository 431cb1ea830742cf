// The real window on Qt's offscreen platform: how long the Load and the
// maximise clicks take on the largest project, until the window has painted,
// and how often the main title-set grid paints per command.
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "project_generator.h"
#include "ui/form1.h"
#include "ui/form2.h"
#include "run/process_setup.h"
#include "ui/qt/disc_picture_widget.h"
#include "ui/qt/main_window.h"

namespace {

class PaintCounter : public QObject {
public:
    explicit PaintCounter(QObject* target) : target_(target) {}
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == target_ && event->type() == QEvent::Paint)
            ++count;
        return false;
    }

private:
    QObject* target_;
};

double Click(QApplication& app, QPushButton* button, PaintCounter& paints, int& painted)
{
    QElapsedTimer timer;
    const int before = paints.count;
    timer.start();
    button->click();
    // Until every posted update has been painted.
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        app.processEvents();
    }
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    painted = paints.count - before;
    return ms;
}

}  // namespace

int main(int argc, char** argv)
{
    rq::KeepFreedMemoryForReuse();  // as the program itself does
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const int titleSets = argc > 1 ? std::atoi(argv[1]) : 99;
    const int items = argc > 2 ? std::atoi(argv[2]) : 20000;
    const auto dir = std::filesystem::temp_directory_path() / ("rq-window-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto p = rq::bench::GenerateProject(titleSets, items, 20041005u);
    std::ofstream(dir / "REBUILDER.ECL", std::ios::binary) << p.ecl;
    std::ofstream(dir / "REBUILDER.INF", std::ios::binary) << p.inf;

    QApplication app(argc, argv);
    rq::TForm1 form;
    rq::qt::MainWindow window(form);
    form.Form2().Show();
    window.show();
    app.processEvents();

    auto* grid = window.findChild<QTableView*>(QStringLiteral("StringGrid3"));
    auto* load = window.findChild<QPushButton*>(QStringLiteral("Button1"));
    auto* maximise = window.findChild<QPushButton*>(QStringLiteral("Button10"));
    if (grid == nullptr || load == nullptr || maximise == nullptr) {
        std::fprintf(stderr, "window controls not found\n");
        return 1;
    }
    PaintCounter paints(grid->viewport());
    app.installEventFilter(&paints);

    form.s.Edit10.SetText((dir / "REBUILDER.ECL").string());
    window.SyncFromModel();
    app.processEvents();
    int painted = 0;
    const double loadMs = Click(app, load, paints, painted);
    std::printf("window load click     %8.1f ms  main grid painted %d time(s)\n", loadMs, painted);
    form.s.ComboBox5.SetText("v01");
    window.SyncFromModel();
    app.processEvents();
    const double maxMs = Click(app, maximise, paints, painted);
    std::printf("window maximise click %8.1f ms  main grid painted %d time(s)\n", maxMs, painted);

    // The "Disc" page shown: each command's picture (figures, layout with
    // the window's font, and the paint), after maximises of alternating value.
    auto* pages = window.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    auto* picture = window.findChild<rq::qt::DiscPictureWidget*>(QStringLiteral("DiscPicture"));
    if (pages == nullptr || picture == nullptr) {
        std::fprintf(stderr, "disc page not found\n");
        return 1;
    }
    pages->setCurrentIndex(rq::TForm1::kDiscPage);
    app.processEvents();
    constexpr int kRefreshes = 20;
    double followMs = 0, paintMs = 0;
    for (int i = 0; i < kRefreshes; ++i) {
        form.s.Edit7.SetText(i % 2 == 0 ? "1900" : "1850");
        form.Button10Click();
        QElapsedTimer timer;
        timer.start();
        picture->Follow(form.s);
        followMs += static_cast<double>(timer.nsecsElapsed()) / 1e6;
        timer.start();
        picture->repaint();
        paintMs += static_cast<double>(timer.nsecsElapsed()) / 1e6;
    }
    std::printf("disc picture refresh  %8.2f ms  mean of %d: figures and layout %.2f ms, paint %.2f ms (target 2 ms)\n",
                (followMs + paintMs) / kRefreshes, kRefreshes, followMs / kRefreshes, paintMs / kRefreshes);
    std::filesystem::remove_all(dir);
    return 0;
}
