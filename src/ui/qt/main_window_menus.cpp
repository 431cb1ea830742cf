// The menus and the status bar: what the window offers beside its pages,
// and what the last command did.
#include "ui/qt/main_window_impl.h"

namespace rq::qt {

void MainWindow::Impl::BuildMenus()
{
    auto add = [this](QMenu* menu, const char* name, const char* text, QList<QKeySequence> keys,
                      std::function<void()> triggered) {
        QAction* action = menu->addAction(QString::fromUtf8(text));
        action->setObjectName(QLatin1String(name));
        action->setShortcuts(keys);
        QObject::connect(action, &QAction::triggered, &q, std::move(triggered));
        return action;
    };
    QMenuBar* bar = q.menuBar();
    bar->setObjectName(QStringLiteral("MenuBar"));
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    add(file, "actionOpenProject", "&Open Project...", {QKeySequence(Qt::CTRL | Qt::Key_O)},
        [this] { ChooseProject(); });
    // As the close prompt's Save: what is not applied yet is applied first.
    saveAction = add(file, "actionSave", "&Save", {QKeySequence(Qt::CTRL | Qt::Key_S)}, [this] { SaveWork(); });
    revertAction = add(file, "actionRevert", "&Revert to saved", {},
                       [this] { q.RunCommand(Described(Step::RevertToLoaded, [this] { form.RevertToLoaded(); })); });
    file->addSeparator();
    add(file, "actionQuit", "&Quit", {QKeySequence(Qt::CTRL | Qt::Key_Q)}, [this] { q.close(); });

    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    undoAction = add(edit, "actionUndo", "&Undo", {QKeySequence(Qt::CTRL | Qt::Key_Z)},
                     [this] { q.RunCommand(Described(Step::Undo, [this] { form.Undo(); })); });
    redoAction = add(edit, "actionRedo", "&Redo",
                     {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)},
                     [this] { q.RunCommand(Described(Step::Redo, [this] { form.Redo(); })); });

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    add(help, "actionAbout", "&About", {}, [this] {
        form.SetPageIndex(TForm1::kAboutPage);
        Sync(false);
    });
}

void MainWindow::Impl::BuildStatusBar()
{
    QStatusBar* bar = q.statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    statusMessage = new StatusLabel(bar);
    statusMessage->setObjectName(QStringLiteral("StatusMessage"));
    statusTotals = new QLabel(bar);
    statusTotals->setObjectName(QStringLiteral("StatusTotals"));
    bar->addWidget(statusMessage, 1);
    bar->addPermanentWidget(statusTotals);
}

namespace {

// "&Undo Set v02 to 4,000 kbit/s": the command's name with its step's.
QString Named(const char* command, const std::string& step)
{
    QString text = QString::fromUtf8(command);
    if (!step.empty())
        text += QLatin1Char(' ') + ToQt(step).replace(QLatin1Char('&'), QStringLiteral("&&"));
    return text;
}

}  // namespace

void MainWindow::Impl::SyncActions()
{
    // Save follows the disk: enabled while the window shows what the files do
    // not hold, and never for files that cannot be written; its tip says why.
    const bool unsaved = form.HasUnsavedWork();
    const QString tip = ToQt(SaveTip(!s.ProjectPath.empty(), form.SaveRefusal(), unsaved));
    saveAction->setEnabled(form.CanSave());
    saveButton->setEnabled(s.Button7.Enabled() && form.CanSave());
    saveAction->setStatusTip(tip);
    saveAction->setToolTip(tip);
    saveButton->setToolTip(tip);
    revertAction->setEnabled(form.CanRevert());
    undoAction->setEnabled(form.CanUndo());
    undoAction->setText(Named("&Undo", form.UndoName()));
    redoAction->setEnabled(form.CanRedo());
    redoAction->setText(Named("&Redo", form.RedoName()));
    q.setWindowTitle(ToQt(form.Caption("[*]")));
    q.setWindowModified(unsaved);
}

void MainWindow::Impl::ShowStatus()
{
    statusMessage->SetFullText(ToQt(message));
    statusTotals->setText(projectLoaded ? ToQt(TotalsText(NewTotal(s), loadedTotal)) : QString());
}

}  // namespace rq::qt
