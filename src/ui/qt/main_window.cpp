#include "ui/qt/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QKeyEvent>
#include <QKeySequence>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QUrl>
#include <memory>
#include <utility>
#include <vector>

#include "model/numbers.h"
#include "project/reader.h"
#include "ui/batch.h"
#include "ui/form2.h"
#include "ui/status.h"
#include "ui/qt/about.h"
#include "ui/qt/bindings.h"
#include "ui/qt/control_models.h"
#include "ui/qt/encoder_dialog.h"
#include "ui/qt/look.h"
#include "ui/qt/widgets.h"

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

// How far a control moves or grows when the window is larger than its
// specified size: not at all, by half the extra room, by all of it, or by the
// other half (so that two controls side by side share the room exactly).
enum Share { kNone, kHalf, kAll, kOtherHalf };

int Part(int extra, Share share)
{
    switch (share) {
    case kNone: return 0;
    case kHalf: return extra / 2;
    case kAll: return extra;
    case kOtherHalf: return extra - extra / 2;
    }
    return 0;
}

// The window's client area at its specified size, in 96 dpi pixels.
constexpr int kClientWidth = 721;
constexpr int kClientHeight = 551;

}  // namespace

struct MainWindow::Impl {
    Impl(MainWindow& window, TForm1& f) : q(window), form(f), s(f.s) {}

    MainWindow& q;
    TForm1& form;
    ProjectState& s;
    QWidget* client = nullptr;
    QTabWidget* pages = nullptr;
    // A control that follows the window's size: where it is at the specified
    // size, and how it moves and grows with the extra width and height.
    struct Anchor {
        QWidget* widget;
        QRect base;
        Share moveX, moveY, growW, growH;
    };
    std::vector<Anchor> anchors;
    QLabel* statusMessage = nullptr;
    QLabel* statusTotals = nullptr;
    std::string message;       // what the last command did
    double loadedTotal = 0;    // the total size as the project was loaded
    bool projectLoaded = false;
    QAction* saveAction = nullptr;
    QAction* revertAction = nullptr;
    QAction* undoAction = nullptr;
    QAction* redoAction = nullptr;
    std::vector<Syncer> syncers;
    std::vector<TextGridModel*> grids;
    std::vector<TextListModel*> lists;
    CheckListModel* locks = nullptr;
    std::vector<TrackBarWidget*> sliders;
    std::unique_ptr<EncoderDialog> dialog;
    QTimer timer1;
    int running = 0;
    // User input arrived while a command ran and was refused: the widgets that
    // hold their own state (selectors, sliders) are mirrored again afterwards.
    bool refused = false;
    bool shownBefore = false;
    bool lastOk = false;  // the last command ran to its end
    std::uint64_t formSeen = 0;

    CommandRunner Runner()
    {
        return [this](const std::function<void()>& command) { q.RunCommand(command); };
    }

    void Sync(bool force)
    {
        for (const Syncer& sync : syncers)
            sync(force);
        for (TextGridModel* grid : grids)
            grid->Sync(force);
        for (TextListModel* list : lists)
            list->Sync(force);
        locks->Sync(force);
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

    void SyncActions()
    {
        saveAction->setEnabled(s.Button7.Enabled());
        revertAction->setEnabled(form.CanRevert());
        undoAction->setEnabled(form.CanUndo());
        redoAction->setEnabled(form.CanRedo());
    }

    void ShowStatus()
    {
        statusMessage->setText(ToQt(message));
        statusTotals->setText(projectLoaded ? ToQt(TotalsText(NewTotal(s), loadedTotal)) : QString());
    }

    // A command that says what it did in the status bar once it succeeded.
    std::function<void()> Described(Step step, std::function<void()> handler)
    {
        return [this, step, handler = std::move(handler)] {
            handler();
            message = StepText(s, step);
        };
    }

    // Saves the project and names the files written and kept.
    std::function<void()> SaveCommand()
    {
        return [this] {
            const SaveFiles before = SaveFilesOf(s.ProjectPath);
            form.Button7Click();
            message = SavedText(before, SaveFilesOf(s.ProjectPath));
        };
    }

    void Anchored(QWidget* widget, Share moveX, Share moveY, Share growW = kNone, Share growH = kNone)
    {
        anchors.push_back(Anchor{widget, widget->geometry(), moveX, moveY, growW, growH});
    }

    // At the specified size every control is where it was built; a larger
    // window gives the grids, the lock list and the text buffers more room.
    void Relayout()
    {
        const int dw = std::max(0, client->width() - Px(kClientWidth));
        const int dh = std::max(0, client->height() - Px(kClientHeight));
        pages->setGeometry(PxRect(8, 8, 697, 505).adjusted(0, 0, dw, dh));
        for (const Anchor& a : anchors) {
            const QPoint at = a.base.topLeft() + QPoint(Part(dw, a.moveX), Part(dh, a.moveY));
            if (a.growW == kNone && a.growH == kNone)
                a.widget->move(at);  // a label keeps the size its text gives it
            else
                a.widget->setGeometry(QRect(at, a.base.size() + QSize(Part(dw, a.growW), Part(dh, a.growH))));
        }
    }

    // Return in a number box runs the command beside it. The typing it used
    // is then no longer the box's own to undo: Ctrl+Z undoes the command.
    static void ReturnRuns(QLineEdit* edit, QPushButton* button)
    {
        QObject::connect(edit, &QLineEdit::returnPressed, button, [edit, button] {
            if (!button->isEnabled())
                return;
            button->click();
            const QSignalBlocker block(edit);
            const int cursor = edit->cursorPosition();
            edit->setText(edit->text());
            edit->setCursorPosition(cursor);
        });
    }

    void ChooseProject()
    {
        if (running > 0 || form.Busy())
            return;
        if (!form.AskOpenFile)
            return;
        if (const std::optional<std::string> chosen = form.AskOpenFile())
            q.OpenProject(ToQt(*chosen));
    }

    void BuildMenus();
    void BuildStatusBar();

    QWidget* AddPage(const char* name, const char* caption)
    {
        auto* page = new QWidget;
        page->setObjectName(QLatin1String(name));
        pages->addTab(page, QString::fromUtf8(caption));
        return page;
    }

    QPushButton* AddButton(QWidget* parent, const char* name, const Button& model, QRect r,
                           std::function<void()> handler, char mnemonic = 0)
    {
        auto* button = new QPushButton(parent);
        button->setObjectName(QLatin1String(name));
        button->setGeometry(r);
        syncers.push_back(BindButton(button, model, Runner(), std::move(handler), mnemonic));
        return button;
    }

    QLineEdit* AddEdit(QWidget* parent, const char* name, EditBox& model, QRect r)
    {
        auto* edit = new QLineEdit(parent);
        edit->setObjectName(QLatin1String(name));
        edit->setGeometry(r);
        syncers.push_back(BindEdit(edit, model));
        return edit;
    }

    QComboBox* AddSelector(QWidget* parent, const char* name, ComboBox& model, QRect r)
    {
        auto* selector = new QComboBox(parent);
        selector->setObjectName(QLatin1String(name));
        selector->setGeometry(r);
        syncers.push_back(BindSelector(selector, model, Runner()));
        return selector;
    }

    QLabel* AddLabel(QWidget* parent, const char* name, const Label& model, int x, int y)
    {
        QLabel* label = MakeLabel(parent, name, QString(), x, y);
        syncers.push_back(BindLabel(label, model));
        return label;
    }

    TrackBarWidget* AddTrackBar(QWidget* parent, const char* name, TrackBar& model, QRect r, Step step)
    {
        auto* slider = new TrackBarWidget(parent);
        slider->setObjectName(QLatin1String(name));
        slider->setGeometry(r);
        syncers.push_back(BindTrackBar(slider, model, Runner()));
        sliders.push_back(slider);
        // A whole drag or keyboard run of the slider is one step to undo.
        QObject::connect(slider, &TrackBarWidget::stepRunStarted, slider, [this] { form.BeginStepGroup(); });
        QObject::connect(slider, &TrackBarWidget::stepRunEnded, slider, [this] {
            form.EndStepGroup();
            SyncActions();
        });
        // Connected after the binding: the slider's set command has run.
        QObject::connect(slider, &QSlider::valueChanged, slider, [this, step] {
            if (!lastOk)
                return;
            message = StepText(s, step);
            ShowStatus();
        });
        return slider;
    }

    QTableView* AddGrid(QWidget* parent, const char* name, const TextGrid& grid, int shownColumns, QRect r,
                        const std::vector<int>& widths, bool fixedPitch)
    {
        auto* view = new QTableView(parent);
        view->setObjectName(QLatin1String(name));
        view->setGeometry(r);
        if (fixedPitch)
            view->setFont(FixedPitchFont());
        auto* model = new TextGridModel(grid, shownColumns, view);
        grids.push_back(model);
        view->setModel(model);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setSelectionBehavior(QAbstractItemView::SelectItems);
        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        view->setWordWrap(false);
        view->setTextElideMode(Qt::ElideNone);
        view->setCornerButtonEnabled(false);
        // Tab leaves a grid for the next control; the arrows move within it.
        view->setTabKeyNavigation(false);
        view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
        view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        view->verticalHeader()->hide();
        view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        view->verticalHeader()->setMinimumSectionSize(Px(15));
        view->verticalHeader()->setDefaultSectionSize(Px(15));
        QHeaderView* header = view->horizontalHeader();
        header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        header->setHighlightSections(false);
        header->setStretchLastSection(false);
        header->setMinimumSectionSize(Px(8));
        header->setFixedHeight(Px(15));
        header->setTextElideMode(Qt::ElideNone);
        for (int c = 0; c < static_cast<int>(widths.size()) && c < shownColumns; ++c)
            view->setColumnWidth(c, Px(widths[static_cast<size_t>(c)]));
        return view;
    }

    QListView* AddList(QWidget* parent, const char* name, const TextList& list, QRect r)
    {
        auto* view = new QListView(parent);
        view->setObjectName(QLatin1String(name));
        view->setGeometry(r);
        // A project's text can run to hundreds of thousands of lines.
        view->setUniformItemSizes(true);
        view->setLayoutMode(QListView::SinglePass);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        view->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        auto* model = new TextListModel(list, view);
        lists.push_back(model);
        view->setModel(model);
        return view;
    }

    void BuildMainPage(QWidget* page);
    void BuildDetailsPage(QWidget* page);
    void BuildInternalPage(QWidget* page);
    void BuildFilesPage(QWidget* page);
    void BuildAboutPage(QWidget* page);
    void InstallServices();
    std::optional<std::string> AskOpenFile();
};

void MainWindow::Impl::BuildMainPage(QWidget* page)
{
    QPushButton* load = AddButton(page, "Button1", s.Button1, PxRect(8, 8, 97, 25), [this] { form.Button1Click(); });
    QLineEdit* edit10 = AddEdit(page, "Edit10", s.Edit10, PxRect(112, 8, 145, 21));

    QFrame* panel1 = MakePanel(page, "Panel1", PxRect(0, 40, 257, 41));
    QPushButton* change = AddButton(panel1, "Button3", s.Button3, PxRect(8, 8, 75, 25),
                                    Described(Step::ChangeByPercentage, [this] { form.Button3Click(); }), 'C');
    AddSelector(panel1, "ComboBox1", s.ComboBox1, PxRect(96, 8, 65, 21));
    MakeLabel(panel1, "Label3", QStringLiteral("by"), 168, 16, 182);
    ReturnRuns(AddEdit(panel1, "Edit2", s.Edit2, PxRect(184, 8, 41, 21)), change);
    MakeLabel(panel1, "Label4", QStringLiteral("%"), 232, 16);

    QFrame* panel2 = MakePanel(page, "Panel2", PxRect(0, 88, 257, 65));
    QPushButton* setBitrate = AddButton(panel2, "Button5", s.Button5, PxRect(8, 8, 75, 25),
                                        Described(Step::SetBitrate, [this] { form.Button5Click(); }), 'S');
    AddSelector(panel2, "ComboBox3", s.ComboBox3, PxRect(96, 8, 65, 21));
    MakeLabel(panel2, "Label11", QStringLiteral("to"), 168, 16, 182);
    ReturnRuns(AddEdit(panel2, "Edit5", s.Edit5, PxRect(184, 8, 41, 21)), setBitrate);
    MakeLabel(panel2, "Label12", QStringLiteral("kbit"), 232, 16);
    AddTrackBar(panel2, "TrackBar1", s.TrackBar1, PxRect(8, 32, 241, 31), Step::SetBitrate);

    QFrame* panel3 = MakePanel(page, "Panel3", PxRect(0, 160, 257, 65));
    QPushButton* setPercent = AddButton(panel3, "Button9", s.Button9, PxRect(8, 8, 75, 25),
                                        Described(Step::SetPercentage, [this] { form.Button9Click(); }), 't');
    AddSelector(panel3, "ComboBox4", s.ComboBox4, PxRect(96, 8, 65, 21));
    MakeLabel(panel3, "Label14", QStringLiteral("to"), 168, 16, 182);
    ReturnRuns(AddEdit(panel3, "Edit1", s.Edit1, PxRect(184, 8, 41, 21)), setPercent);
    MakeLabel(panel3, "Label15", QStringLiteral("%"), 232, 16);
    AddTrackBar(panel3, "TrackBar2", s.TrackBar2, PxRect(8, 32, 241, 31), Step::SetPercentage);

    QFrame* panel4 = MakePanel(page, "Panel4", PxRect(0, 232, 257, 49));
    QPushButton* maxBitrate = AddButton(panel4, "Button10", s.Button10, PxRect(8, 8, 75, 25),
                                        Described(Step::MaximiseViaBitrate, [this] { form.Button10Click(); }));
    AddSelector(panel4, "ComboBox5", s.ComboBox5, PxRect(88, 8, 65, 21));
    MakeLabel(panel4, "Label16", QStringLiteral("Bitrate to Max"), 160, 8, 255);
    MakeLabel(panel4, "Label17", QStringLiteral("and all others to"), 120, 32, 198);
    ReturnRuns(AddEdit(panel4, "Edit7", s.Edit7, PxRect(200, 24, 41, 21)), maxBitrate);

    QFrame* panel5 = MakePanel(page, "Panel5", PxRect(0, 288, 257, 49));
    QPushButton* maxPercent = AddButton(panel5, "Button2", s.Button2, PxRect(8, 8, 75, 25),
                                        Described(Step::MaximiseViaPercentage, [this] { form.Button2Click(); }));
    AddSelector(panel5, "ComboBox6", s.ComboBox6, PxRect(88, 8, 65, 21));
    MakeLabel(panel5, "Label21", QStringLiteral("Percentage to Max"), 160, 8, 255);
    MakeLabel(panel5, "Label22", QStringLiteral("and all others to"), 120, 32, 198);
    ReturnRuns(AddEdit(panel5, "Edit11", s.Edit11, PxRect(200, 24, 33, 21)), maxPercent);
    MakeLabel(panel5, "Label23", QStringLiteral("%"), 232, 32);

    AddButton(page, "Button11", s.Button11, PxRect(40, 384, 177, 25), [this] { form.Button11Click(); }, 'M');

    QTableView* grid3 = AddGrid(page, "StringGrid3", s.StringGrid3, 5, PxRect(264, 8, 417, 345), {64, 82, 85, 80, 81}, false);
    // Figures line up on their last digit, as in the details grids; the run
    // time, in the column that takes the spare width, stays beside them.
    for (int c : {1, 2})
        grid3->setItemDelegateForColumn(c, new RightAlignedDelegate(grid3));
    grid3->setItemDelegateForColumn(3, new PercentBarDelegate(grid3));
    // The run time ("01h:30m:38s 23f") needs more than its 81 pixels; the
    // grid has room to spare on the right.
    grid3->horizontalHeader()->setStretchLastSection(true);

    QLabel* label10 = MakeLabel(page, "Label10", QStringLiteral("Lock VTS from changes"), 264, 360);
    auto* lockView = new QListView(page);
    lockView->setObjectName(QStringLiteral("CheckListBox1"));
    lockView->setGeometry(PxRect(264, 376, 129, 97));
    lockView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    locks = new CheckListModel(
        s.CheckListBox1,
        [this](int row) {
            q.RunCommand([this, row] {
                s.CheckListBox1.UserToggle(row);
                message = LockText(s, row);
            });
        },
        lockView);
    lockView->setModel(locks);

    QPushButton* apply = AddButton(page, "Button4", s.Button4, PxRect(448, 392, 177, 25),
                                   Described(Step::ApplyChanges, [this] { form.Button4Click(); }), 'A');
    QPushButton* save = AddButton(page, "Button7", s.Button7, PxRect(440, 436, 193, 25), SaveCommand());

    // Return in the file-name box loads the project it names; once a project
    // is loaded, it opens the named one instead.
    QObject::connect(edit10, &QLineEdit::returnPressed, load, [this, load] {
        if (load->isEnabled())
            load->click();
        else if (FileExists(s.Edit10.Text()))
            q.OpenProject(ToQt(s.Edit10.Text()));
    });

    Anchored(grid3, kNone, kNone, kAll, kHalf);
    Anchored(label10, kNone, kHalf);
    Anchored(lockView, kNone, kHalf, kNone, kHalf);
    Anchored(apply, kHalf, kAll);
    Anchored(save, kHalf, kAll);
}

void MainWindow::Impl::BuildDetailsPage(QWidget* page)
{
    Anchored(AddGrid(page, "StringGrid4", s.StringGrid4, 9, PxRect(0, 8, 681, 209),
                     {110, 60, 69, 67, 116, 67, 77, 40, 39}, true),
             kNone, kNone, kAll, kHalf);
    Anchored(MakeLabel(page, "Label24", QStringLiteral("Total Size (in KBytes) of Encoding:"), 256, 224, 420), kNone,
             kHalf);
    Anchored(AddLabel(page, "Label25", s.Label25, 424, 224), kNone, kHalf);
    Anchored(AddGrid(page, "StringGrid5", s.StringGrid5, 7, PxRect(0, 256, 625, 176), {64, 66, 72, 88, 69, 117, 113},
                     true),
             kNone, kHalf, kAll, kHalf);
}

void MainWindow::Impl::BuildInternalPage(QWidget* page)
{
    Anchored(AddGrid(page, "StringGrid1", s.StringGrid1, 10, PxRect(8, 8, 673, 209),
                     {98, 64, 50, 64, 64, 64, 64, 64, 64, 64}, false),
             kNone, kNone, kAll, kHalf);
    Anchored(MakeLabel(page, "Label1", QStringLiteral("Total Size (in KBytes) of Encoding:"), 256, 224, 420), kNone,
             kHalf);
    Anchored(AddLabel(page, "Label2", s.Label2, 424, 224), kNone, kHalf);
    Anchored(AddGrid(page, "StringGrid2", s.StringGrid2, 9, PxRect(8, 256, 625, 176), std::vector<int>(9, 64), false),
             kNone, kHalf, kAll, kHalf);
    Anchored(MakeLabel(page, "Label18", QStringLiteral("Min Bitrate"), 16, 448, 70), kNone, kAll);
    Anchored(AddEdit(page, "Edit8", s.Edit8, PxRect(72, 448, 49, 21)), kNone, kAll);
    Anchored(MakeLabel(page, "Label19", QStringLiteral("Max Bitrate"), 184, 448, 246), kNone, kAll);
    Anchored(AddEdit(page, "Edit9", s.Edit9, PxRect(248, 448, 65, 21)), kNone, kAll);
}

void MainWindow::Impl::BuildFilesPage(QWidget* page)
{
    MakeLabel(page, "Label13", QStringLiteral("ECL File"), 0, 0);
    Anchored(AddList(page, "ListBox1", s.ListBox1, PxRect(0, 16, 337, 457)), kNone, kNone, kHalf, kAll);
    Anchored(MakeLabel(page, "Label20", QStringLiteral("INF File"), 344, 0), kHalf, kNone);
    Anchored(AddList(page, "ListBox2", s.ListBox2, PxRect(344, 16, 337, 457)), kHalf, kNone, kOtherHalf, kAll);
}

void MainWindow::Impl::BuildAboutPage(QWidget* page)
{
    auto* memo = new QPlainTextEdit(page);
    memo->setObjectName(QStringLiteral("Memo1"));
    memo->setGeometry(PxRect(0, 0, 609, 409));
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setPlainText(AboutText());
    Anchored(memo, kNone, kNone, kAll, kAll);
}

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
    saveAction = add(file, "actionSave", "&Save", {QKeySequence(Qt::CTRL | Qt::Key_S)},
                     [this] { q.RunCommand(SaveCommand()); });
    revertAction = add(file, "actionRevert", "&Revert to loaded", {},
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
        form.SetPageIndex(4);
        Sync(false);
    });
}

void MainWindow::Impl::BuildStatusBar()
{
    QStatusBar* bar = q.statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    statusMessage = new QLabel(bar);
    statusMessage->setObjectName(QStringLiteral("StatusMessage"));
    statusTotals = new QLabel(bar);
    statusTotals->setObjectName(QStringLiteral("StatusTotals"));
    bar->addWidget(statusMessage, 1);
    bar->addPermanentWidget(statusTotals);
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
        Sync(false);
        // "File not found." explains itself once it names the file.
        QString shown = ToQt(text);
        if (!form.ErrorFile().empty())
            shown += QStringLiteral(" (%1)").arg(QDir::toNativeSeparators(ToQt(form.ErrorFile())));
        QMessageBox box(QMessageBox::Critical, QString::fromUtf8(TForm1::kAppTitle), shown, QMessageBox::Ok, &q);
        box.exec();
    };
    form.ShowMessage = [this](const std::string& text) {
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
        message = LoadedText(s);
    };
    // A long load lets the windows repaint and the user's input arrive;
    // commands asked for meanwhile are refused.
    // The loader offers to let pending events through thousands of times on
    // a large project; letting them through once a frame keeps the window
    // just as responsive at a fraction of the cost.
    s.ProcessMessages = [clock = std::make_shared<QElapsedTimer>()] {
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
    d_->BuildAboutPage(d_->AddPage("TabSheet5", "About"));
    connect(d_->pages, &QTabWidget::currentChanged, this, [this](int index) { form_.SetPageIndex(index); });

    // Dropped files are the window's business, not the edit boxes'; so are
    // undo and redo when a box has no typing of its own to take back.
    for (QLineEdit* edit : findChildren<QLineEdit*>()) {
        edit->setAcceptDrops(false);
        edit->installEventFilter(this);
    }

    d_->timer1.setSingleShot(true);
    d_->timer1.setInterval(10);
    connect(&d_->timer1, &QTimer::timeout, this, [this] {
        if (!form_.Timer1Enabled())
            return;
        if (d_->running > 0 || form_.Busy()) {
            d_->timer1.start();
            return;
        }
        RunCommand([this] { form_.Timer1Timer(); });
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
    form_.s.ProcessMessages = nullptr;
    form_.Form2().OnBringToFront = nullptr;
    d_->dialog.reset();
    delete d_;
}

EncoderDialog& MainWindow::Dialog() { return *d_->dialog; }

void MainWindow::SyncFromModel() { d_->Sync(false); }

bool MainWindow::RunCommand(const std::function<void()>& command)
{
    if (d_->running > 0 || form_.Busy()) {
        d_->refused = true;
        d_->lastOk = false;
        return false;
    }
    struct Guard {
        int& depth;
        explicit Guard(int& d) : depth(d) { ++depth; }
        ~Guard() { --depth; }
        Guard(const Guard&) = delete;
        Guard& operator=(const Guard&) = delete;
    };
    {
        const Guard guard(d_->running);
        d_->lastOk = form_.Run(command);
    }
    // A failed command leaves a state of its own: the message of the one
    // before no longer describes it; where the error was found does.
    if (!d_->lastOk)
        d_->message = form_.ErrorPlace();
    d_->Sync(std::exchange(d_->refused, false));
    return d_->lastOk;
}

bool MainWindow::ConfirmUnsavedWork()
{
    if (!form_.HasUnsavedWork())
        return true;
    const std::string& path = form_.s.ProjectPath;
    QMessageBox box(QMessageBox::Question, QString::fromUtf8(TForm1::kAppTitle),
                    QStringLiteral("Save changes to %1 before closing?")
                        .arg(path.empty() ? QStringLiteral("the project") : ToQt(path)),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setObjectName(QStringLiteral("SaveChangesBox"));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Discard: return true;
    case QMessageBox::Save:
        // Changes not applied yet are part of the work: apply, then save.
        if (form_.NeedsApply() && !RunCommand([this] { form_.Button4Click(); }))
            return false;
        return RunCommand(d_->SaveCommand());
    default: return false;
    }
}

bool MainWindow::OpenProject(const QString& path)
{
    if (d_->running > 0 || form_.Busy()) {
        d_->refused = true;
        return false;
    }
    if (!ConfirmUnsavedWork())
        return false;
    return RunCommand([this, p = ToStd(path)] { form_.OpenProject(p); });
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // Not while a load lets events through: it is still using the window.
    if (d_->running > 0 || form_.Busy()) {
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
        const auto* key = static_cast<QKeyEvent*>(event);
        if (edit && ((key->matches(QKeySequence::Undo) && !edit->isUndoAvailable()) ||
                     (key->matches(QKeySequence::Redo) && !edit->isRedoAvailable()))) {
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
    if (d_->running > 0 || form_.Busy())
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
    return QFileInfo(path).absoluteFilePath();
}

}  // namespace rq::qt
