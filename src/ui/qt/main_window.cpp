#include "ui/qt/main_window.h"


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
#include <QListView>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QUrl>
#include <memory>
#include <utility>
#include <vector>

#include "ui/form2.h"
#include "ui/qt/bindings.h"
#include "ui/qt/control_models.h"
#include "ui/qt/encoder_dialog.h"
#include "ui/qt/look.h"
#include "ui/qt/widgets.h"

namespace rq::qt {

namespace {

// Follows the caption.
const char* const kAboutText =
    "\n"
    "Moves the size budget of a re-encoding project between its video title sets\n"
    "while the total size of the encoding stays the same.\n"
    "\n"
    "Version history\n"
    "\n"
    "0.55a  (10/05/2004)\n"
    "  - Encoder parameter dialog: the pass count of every segment below a bitrate.\n"
    "  - The dialog's title set lists leave out the locked title sets.\n"
    "\n"
    "0.55   (02/05/2004)\n"
    "  - The percentage slider is fitted to the title set chosen beside it.\n"
    "  - Maximise one title set by percentage, the others held at a common percentage.\n"
    "\n"
    "0.50   (18/04/2004)\n"
    "  - Maximise one title set by bitrate, the others held at a common bitrate.\n"
    "  - Command-line batch run: /ecl=, /vts=, /min=, /max_via_bitrate,\n"
    "    /max_via_percent, /autosave, /autoexit, /nogui.\n"
    "\n"
    "0.40   (03/04/2004)\n"
    "  - Lock list: locked title sets keep their size through every change.\n"
    "  - Minimum and maximum bitrate limits; no title set above 100 percent.\n"
    "\n"
    "0.30   (21/03/2004)\n"
    "  - First release: load the ECL and INF pair, change one title set by a\n"
    "    percentage or to a bitrate, apply the changes and save with backups.\n";

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

struct MainWindow::Impl {
    Impl(MainWindow& window, TForm1& f) : q(window), form(f), s(f.s) {}

    MainWindow& q;
    TForm1& form;
    ProjectState& s;
    QTabWidget* pages = nullptr;
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
    }

    QWidget* AddPage(const char* name, const char* caption)
    {
        auto* page = new QWidget;
        page->setObjectName(QLatin1String(name));
        pages->addTab(page, QString::fromUtf8(caption));
        return page;
    }

    QPushButton* AddButton(QWidget* parent, const char* name, const Button& model, QRect r,
                           std::function<void()> handler)
    {
        auto* button = new QPushButton(parent);
        button->setObjectName(QLatin1String(name));
        button->setGeometry(r);
        syncers.push_back(BindButton(button, model, Runner(), std::move(handler)));
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

    TrackBarWidget* AddTrackBar(QWidget* parent, const char* name, TrackBar& model, QRect r)
    {
        auto* slider = new TrackBarWidget(parent);
        slider->setObjectName(QLatin1String(name));
        slider->setGeometry(r);
        syncers.push_back(BindTrackBar(slider, model, Runner()));
        sliders.push_back(slider);
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
    AddButton(page, "Button1", s.Button1, PxRect(8, 8, 97, 25), [this] { form.Button1Click(); });
    AddEdit(page, "Edit10", s.Edit10, PxRect(112, 8, 145, 21));

    QFrame* panel1 = MakePanel(page, "Panel1", PxRect(0, 40, 257, 41));
    AddButton(panel1, "Button3", s.Button3, PxRect(8, 8, 75, 25), [this] { form.Button3Click(); });
    AddSelector(panel1, "ComboBox1", s.ComboBox1, PxRect(96, 8, 65, 21));
    MakeLabel(panel1, "Label3", QStringLiteral("by"), 168, 16, 182);
    AddEdit(panel1, "Edit2", s.Edit2, PxRect(184, 8, 41, 21));
    MakeLabel(panel1, "Label4", QStringLiteral("%"), 232, 16);

    QFrame* panel2 = MakePanel(page, "Panel2", PxRect(0, 88, 257, 65));
    AddButton(panel2, "Button5", s.Button5, PxRect(8, 8, 75, 25), [this] { form.Button5Click(); });
    AddSelector(panel2, "ComboBox3", s.ComboBox3, PxRect(96, 8, 65, 21));
    MakeLabel(panel2, "Label11", QStringLiteral("to"), 168, 16, 182);
    AddEdit(panel2, "Edit5", s.Edit5, PxRect(184, 8, 41, 21));
    MakeLabel(panel2, "Label12", QStringLiteral("kbit"), 232, 16);
    AddTrackBar(panel2, "TrackBar1", s.TrackBar1, PxRect(8, 32, 241, 31));

    QFrame* panel3 = MakePanel(page, "Panel3", PxRect(0, 160, 257, 65));
    AddButton(panel3, "Button9", s.Button9, PxRect(8, 8, 75, 25), [this] { form.Button9Click(); });
    AddSelector(panel3, "ComboBox4", s.ComboBox4, PxRect(96, 8, 65, 21));
    MakeLabel(panel3, "Label14", QStringLiteral("to"), 168, 16, 182);
    AddEdit(panel3, "Edit1", s.Edit1, PxRect(184, 8, 41, 21));
    MakeLabel(panel3, "Label15", QStringLiteral("%"), 232, 16);
    AddTrackBar(panel3, "TrackBar2", s.TrackBar2, PxRect(8, 32, 241, 31));

    QFrame* panel4 = MakePanel(page, "Panel4", PxRect(0, 232, 257, 49));
    AddButton(panel4, "Button10", s.Button10, PxRect(8, 8, 75, 25), [this] { form.Button10Click(); });
    AddSelector(panel4, "ComboBox5", s.ComboBox5, PxRect(88, 8, 65, 21));
    MakeLabel(panel4, "Label16", QStringLiteral("Bitrate to Max"), 160, 8, 255);
    MakeLabel(panel4, "Label17", QStringLiteral("and all others to"), 120, 32, 198);
    AddEdit(panel4, "Edit7", s.Edit7, PxRect(200, 24, 41, 21));

    QFrame* panel5 = MakePanel(page, "Panel5", PxRect(0, 288, 257, 49));
    AddButton(panel5, "Button2", s.Button2, PxRect(8, 8, 75, 25), [this] { form.Button2Click(); });
    AddSelector(panel5, "ComboBox6", s.ComboBox6, PxRect(88, 8, 65, 21));
    MakeLabel(panel5, "Label21", QStringLiteral("Percentage to Max"), 160, 8, 255);
    MakeLabel(panel5, "Label22", QStringLiteral("and all others to"), 120, 32, 198);
    AddEdit(panel5, "Edit11", s.Edit11, PxRect(200, 24, 33, 21));
    MakeLabel(panel5, "Label23", QStringLiteral("%"), 232, 32);

    AddButton(page, "Button11", s.Button11, PxRect(40, 384, 177, 25), [this] { form.Button11Click(); });

    QTableView* grid3 = AddGrid(page, "StringGrid3", s.StringGrid3, 5, PxRect(264, 8, 417, 345), {64, 82, 85, 80, 81}, false);
    grid3->setItemDelegateForColumn(3, new PercentBarDelegate(grid3));
    // The run time ("01h:30m:38s 23f") needs more than its 81 pixels; the
    // grid has room to spare on the right.
    grid3->horizontalHeader()->setStretchLastSection(true);

    MakeLabel(page, "Label10", QStringLiteral("Lock VTS from changes"), 264, 360);
    auto* lockView = new QListView(page);
    lockView->setObjectName(QStringLiteral("CheckListBox1"));
    lockView->setGeometry(PxRect(264, 376, 129, 97));
    lockView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    locks = new CheckListModel(
        s.CheckListBox1, [this](int row) { q.RunCommand([this, row] { s.CheckListBox1.UserToggle(row); }); },
        lockView);
    lockView->setModel(locks);

    AddButton(page, "Button4", s.Button4, PxRect(448, 392, 177, 25), [this] { form.Button4Click(); });
    AddButton(page, "Button7", s.Button7, PxRect(440, 436, 193, 25), [this] { form.Button7Click(); });
}

void MainWindow::Impl::BuildDetailsPage(QWidget* page)
{
    AddGrid(page, "StringGrid4", s.StringGrid4, 9, PxRect(0, 8, 681, 209), {110, 60, 69, 67, 116, 67, 77, 40, 39}, true);
    MakeLabel(page, "Label24", QStringLiteral("Total Size (in KBytes) of Encoding:"), 256, 224, 420);
    AddLabel(page, "Label25", s.Label25, 424, 224);
    AddGrid(page, "StringGrid5", s.StringGrid5, 7, PxRect(0, 256, 625, 176), {64, 66, 72, 88, 69, 117, 113}, true);
}

void MainWindow::Impl::BuildInternalPage(QWidget* page)
{
    AddGrid(page, "StringGrid1", s.StringGrid1, 10, PxRect(8, 8, 673, 209), {98, 64, 50, 64, 64, 64, 64, 64, 64, 64},
            false);
    MakeLabel(page, "Label1", QStringLiteral("Total Size (in KBytes) of Encoding:"), 256, 224, 420);
    AddLabel(page, "Label2", s.Label2, 424, 224);
    AddGrid(page, "StringGrid2", s.StringGrid2, 9, PxRect(8, 256, 625, 176), std::vector<int>(9, 64), false);
    MakeLabel(page, "Label18", QStringLiteral("Min Bitrate"), 16, 448, 70);
    AddEdit(page, "Edit8", s.Edit8, PxRect(72, 448, 49, 21));
    MakeLabel(page, "Label19", QStringLiteral("Max Bitrate"), 184, 448, 246);
    AddEdit(page, "Edit9", s.Edit9, PxRect(248, 448, 65, 21));
}

void MainWindow::Impl::BuildFilesPage(QWidget* page)
{
    MakeLabel(page, "Label13", QStringLiteral("ECL File"), 0, 0);
    AddList(page, "ListBox1", s.ListBox1, PxRect(0, 16, 337, 457));
    MakeLabel(page, "Label20", QStringLiteral("INF File"), 344, 0);
    AddList(page, "ListBox2", s.ListBox2, PxRect(344, 16, 337, 457));
}

void MainWindow::Impl::BuildAboutPage(QWidget* page)
{
    auto* memo = new QPlainTextEdit(page);
    memo->setObjectName(QStringLiteral("Memo1"));
    memo->setGeometry(PxRect(0, 0, 609, 409));
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setPlainText(QString::fromUtf8(TForm1::kCaption) + QLatin1Char('\n') + QString::fromUtf8(kAboutText));
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
        QMessageBox box(QMessageBox::Critical, QString::fromUtf8(TForm1::kAppTitle), ToQt(text), QMessageBox::Ok, &q);
        box.exec();
    };
    form.ShowMessage = [this](const std::string& text) {
        QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(TForm1::kAppTitle), ToQt(text), QMessageBox::Ok, &q);
        box.exec();
    };
    form.AskOpenFile = [this] { return AskOpenFile(); };
    form.Terminate = [](int exitCode) { QCoreApplication::exit(exitCode); };
    form.OnVisibilityChanged = [this] { q.setVisible(form.Visible()); };
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

MainWindow::MainWindow(TForm1& form, QWidget* parent) : QWidget(parent), form_(form), d_(new Impl(*this, form))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(TForm1::kCaption));
    setFont(WindowFont());
    move(Px(192), Px(114));
    resize(Px(721), Px(551));
    setAcceptDrops(true);

    d_->pages = new QTabWidget(this);
    d_->pages->setObjectName(QStringLiteral("PageControl1"));
    d_->pages->setGeometry(PxRect(8, 8, 697, 505));
    d_->BuildMainPage(d_->AddPage("TabSheet1", "Main"));
    d_->BuildDetailsPage(d_->AddPage("TabSheet2", "VTS Details"));
    d_->BuildInternalPage(d_->AddPage("TabSheet3", "Internal Calculation fields"));
    d_->BuildFilesPage(d_->AddPage("TabSheet4", "ECl File && INF File"));
    d_->BuildAboutPage(d_->AddPage("TabSheet5", "About"));
    connect(d_->pages, &QTabWidget::currentChanged, this, [this](int index) { form_.SetPageIndex(index); });

    // Dropped files are the window's business, not the edit boxes'.
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        edit->setAcceptDrops(false);

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

    d_->InstallServices();
    d_->dialog = std::make_unique<EncoderDialog>(form_.Form2(), *this);
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
    form_.s.ProcessMessages = nullptr;
    form_.Form2().OnBringToFront = nullptr;
    d_->dialog.reset();
    delete d_;
}

EncoderDialog& MainWindow::Dialog() { return *d_->dialog; }

void MainWindow::SyncFromModel() { d_->Sync(false); }

void MainWindow::RunCommand(const std::function<void()>& command)
{
    if (d_->running > 0 || form_.Busy()) {
        d_->refused = true;
        return;
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
        form_.Run(command);
    }
    d_->Sync(std::exchange(d_->refused, false));
}

void MainWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
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
    form_.s.Edit10.SetText(ToStd(path));
    event->acceptProposedAction();
    if (d_->running > 0 || form_.Busy())
        d_->refused = true;
    else
        SyncFromModel();
}

}  // namespace rq::qt
