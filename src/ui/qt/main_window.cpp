// The main window: built from its parts, mirroring the form, and the
// window events (showing, closing, dropped files, the start-up timer).
#include "ui/qt/main_window_impl.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace rq::qt {

namespace {

// The first .ECL or .INF file among the dropped local files.
QString ProjectFileIn(const QMimeData* mime)
{
    if (!mime || !mime->hasUrls())
        return {};
    for (const QUrl& url : mime->urls())
        if (url.isLocalFile() && IsProjectFileName(url.toLocalFile()))
            return QDir::toNativeSeparators(url.toLocalFile());
    return {};
}

}  // namespace

void MainWindow::Impl::Sync(bool force)
{
    for (const Syncer& sync : syncers)
        sync(force);
    for (TextGridModel* grid : grids)
        grid->Sync(force);
    for (TextListModel* list : lists)
        list->Sync(force);
    locks->Sync(force);
    SyncDiscPage();
    if (force || form.Version() != formSeen) {
        formSeen = form.Version();
        const QSignalBlocker block(pages);
        pages->setCurrentIndex(form.PageIndex());
    }
    if (dialog)
        dialog->SyncFromModel(force);
    SyncActions();
    ShowStatus();
}

void MainWindow::Impl::DescribeBatchJob()
{
    const BatchSettings& job = form.Batch();
    if (!job.Complete() || !loaded || form.BatchExitCode() != 0 || !form.ErrorMessage().empty())
        return;
    const Step step = job.Mode == BatchMode::ViaBitrate ? Step::MaximiseViaBitrate : Step::MaximiseViaPercentage;
    message = "Batch job: " + ResultText(*loaded, s, step) +
              (job.AutoSave ? "; applied and saved" : "; applied, Save writes it");
}

std::optional<std::string> MainWindow::Impl::AskOpenFile()
{
    // Start where the file-name box points, when that folder exists.
    QString start;
    const QFileInfo typed(ToQt(s.Edit10.Text()));
    if (!s.Edit10.Text().empty() && typed.absoluteDir().exists())
        start = typed.absolutePath();
    std::unique_ptr<QFileDialog> picker = MakeOpenProjectDialog(&q, start);
    if (picker->exec() != QDialog::Accepted || picker->selectedFiles().isEmpty())
        return std::nullopt;
    return ToStd(QDir::toNativeSeparators(picker->selectedFiles().constFirst()));
}

void MainWindow::Impl::InstallServices()
{
    form.ShowError = [this](const std::string& text) {
        // Show where the command stopped, and let go of a slider the box interrupts.
        for (TrackBarWidget* slider : sliders)
            slider->CancelPress();
        // The status bar tells the failure's context while the box is up.
        SayFailure();
        Sync(false);
        // "File not found." explains itself once it names the file.
        QString shown = ToQt(text);
        if (!form.ErrorFile().empty())
            shown += QStringLiteral(" (%1)").arg(QDir::toNativeSeparators(ToQt(form.ErrorFile())));
        QMessageBox box(QMessageBox::Critical, QString::fromUtf8(TForm1::kAppTitle), shown, QMessageBox::Ok, &q);
        box.exec();
    };
    form.ShowMessage = [this](const std::string& text) {
        // The box keeps the program's own words; the status bar adds the path tried.
        if (text == kMissingProjectMessage) {
            message = MissingProjectText(form.Batch().ProjectPath);
            ShowStatus();
        }
        QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(TForm1::kAppTitle), ToQt(text), QMessageBox::Ok, &q);
        box.exec();
    };
    form.AskOpenFile = [this] { return AskOpenFile(); };
    form.Terminate = [](int exitCode) { QCoreApplication::exit(exitCode); };
    form.OnVisibilityChanged = [this] { q.setVisible(form.Visible()); };
    form.OnProjectLoaded = [this] {
        Extended total = 0;
        loadedTotal = TryParseReal(s.Label2.Caption(), total) ? static_cast<double>(total) : 0.0;
        projectLoaded = true;
        loaded = StatusBeforeOf(s);
        message = LoadedText(s);
        // Found out now, not at the first save.
        if (!form.SaveRefusal().empty())
            message += ReadOnlyText(form.SaveRefusal());
    };
    // A long load lets the windows repaint and the user's input arrive;
    // commands asked for meanwhile are refused.
    // The loader offers to let pending events through thousands of times on
    // a large project; letting them through once a frame keeps the window
    // just as responsive at a fraction of the cost.
    form.ProcessMessages = [clock = std::make_shared<QElapsedTimer>()] {
        if (clock->isValid() && clock->elapsed() < 16)
            return;
        QCoreApplication::processEvents();
        clock->start();
    };
    form.Form2().OnBringToFront = [this] {
        if (dialog)
            dialog->BringToFront();
    };
}

MainWindow::MainWindow(TForm1& form, QWidget* parent) : QMainWindow(parent), form_(form), d_(new Impl(*this, form))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(TForm1::kCaption));
    setFont(WindowFont());
    move(Px(192), Px(114));
    setAcceptDrops(true);

    // The pages fill the area between the menu bar and the status bar, which
    // has the window's specified size and grows with the window.
    d_->client = new QWidget(this);
    d_->client->setObjectName(QStringLiteral("ClientArea"));
    d_->client->setMinimumSize(Px(kClientWidth), Px(kClientHeight));
    setCentralWidget(d_->client);
    d_->pages = new QTabWidget(d_->client);
    d_->pages->setObjectName(QStringLiteral("PageControl1"));
    d_->pages->setGeometry(PxRect(8, 8, 697, 505));
    d_->BuildMainPage(d_->AddPage("TabSheet1", "Main"));
    d_->BuildDetailsPage(d_->AddPage("TabSheet2", "VTS Details"));
    d_->BuildInternalPage(d_->AddPage("TabSheet3", "Internal Calculation fields"));
    d_->BuildFilesPage(d_->AddPage("TabSheet4", "ECl File && INF File"));
    d_->BuildDiscPage(d_->AddPage("DiscPage", "Disc"));
    d_->BuildAboutPage(d_->AddPage("TabSheet5", "About"));
    connect(d_->pages, &QTabWidget::currentChanged, this, [this](int index) { form_.SetPageIndex(index); });

    // Dropped files are the window's business, not the edit boxes'; so are
    // undo and redo when a box has no typing of its own to take back.
    for (QLineEdit* edit : findChildren<QLineEdit*>()) {
        edit->setAcceptDrops(false);
        edit->installEventFilter(this);
    }
    // A selector hands its keys to its box itself, past the box's filters.
    for (QComboBox* selector : findChildren<QComboBox*>())
        selector->installEventFilter(this);

    d_->timer1.setSingleShot(true);
    d_->timer1.setInterval(10);
    connect(&d_->timer1, &QTimer::timeout, this, [this] {
        if (!form_.Timer1Enabled())
            return;
        if (d_->Busy()) {
            d_->timer1.start();
            return;
        }
        RunCommand([this] {
            d_->failingIn = "Batch job";
            form_.Timer1Timer();
            d_->DescribeBatchJob();
        });
    });

    d_->BuildMenus();
    d_->BuildStatusBar();
    resize(Px(kClientWidth), Px(kClientHeight) + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
    d_->client->installEventFilter(this);

    d_->InstallServices();
    d_->dialog = std::make_unique<EncoderDialog>(form_.Form2(), *this);
    // The dialog's commands are undone with the same keys, where it has the focus.
    d_->dialog->addActions({d_->undoAction, d_->redoAction, d_->saveAction});
    d_->Sync(true);
}

MainWindow::~MainWindow()
{
    // The form outlives the window: leave it no way back into the widgets.
    form_.ShowError = nullptr;
    form_.ShowMessage = nullptr;
    form_.AskOpenFile = nullptr;
    form_.Terminate = nullptr;
    form_.OnVisibilityChanged = nullptr;
    form_.OnProjectLoaded = nullptr;
    form_.ProcessMessages = nullptr;
    form_.Form2().OnBringToFront = nullptr;
    d_->dialog.reset();
    delete d_;
}

EncoderDialog& MainWindow::Dialog() { return *d_->dialog; }

void MainWindow::SyncFromModel() { d_->Sync(false); }

void MainWindow::closeEvent(QCloseEvent* event)
{
    // Not while a load lets events through: it is still using the window.
    if (d_->Busy()) {
        event->ignore();
        return;
    }
    // A batch run that ends by itself never waits for an answer.
    if (form_.Batch().AutoExit || ConfirmUnsavedWork())
        event->accept();
    else
        event->ignore();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == d_->client && event->type() == QEvent::Resize)
        d_->Relayout();
    if (event->type() == QEvent::ShortcutOverride) {
        auto* edit = qobject_cast<QLineEdit*>(watched);
        if (auto* selector = qobject_cast<QComboBox*>(watched))
            edit = selector->lineEdit();
        const auto* key = static_cast<QKeyEvent*>(event);
        // A box whose typing runs a command (the percentage slider's selector)
        // has nothing of its own to undo: its typing is the project's steps.
        const bool typingIsSteps = edit && edit->property(kTypingIsSteps).toBool();
        if (edit && ((key->matches(QKeySequence::Undo) && (typingIsSteps || !edit->isUndoAvailable())) ||
                     (key->matches(QKeySequence::Redo) && (typingIsSteps || !edit->isRedoAvailable())))) {
            event->ignore();  // the window's shortcut runs
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!d_->shownBefore) {
        d_->shownBefore = true;
        // The dialog opened first and sits centred over this window: keep it
        // in sight once this window has come up.
        if (d_->dialog && d_->dialog->isVisible())
            QTimer::singleShot(0, d_->dialog.get(), [dialog = d_->dialog.get()] { dialog->raise(); });
    }
    form_.Show();
    if (form_.Timer1Enabled() && !d_->timer1.isActive())
        d_->timer1.start();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (!ProjectFileIn(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    const QString path = ProjectFileIn(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    if (QFileInfo(path).isFile()) {
        // After the drop has finished: opening may ask a question first.
        QTimer::singleShot(0, this, [this, path] { OpenProject(path); });
        return;
    }
    form_.s.Edit10.SetText(ToStd(path));
    if (d_->Busy())
        d_->refused = true;
    else
        SyncFromModel();
}

std::optional<QString> ProjectPathArgument(const std::vector<std::string>& args)
{
    if (args.size() != 1)
        return std::nullopt;
    // Any option of the batch's, whatever its case, keeps its meaning.
    const BatchSettings options = ParseBatchArguments(args);
    if (!options.ProjectPath.empty() || !options.Target.empty() || !options.Others.empty() || options.Mode != BatchMode::None ||
        options.NoGui || options.AutoSave || options.AutoExit)
        return std::nullopt;
    const QString path = ToQt(args.front());
    if (!QFileInfo(path).isFile() && !IsProjectFileName(path))
        return std::nullopt;
    // Shown as the file dialog and a dropped file show it: D:\DVDRB\... on Windows.
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

}  // namespace rq::qt
