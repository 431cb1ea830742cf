// The pages of the main window, control by control; the Disc page has a file of its own.
#include "ui/qt/main_window_impl.h"

namespace rq::qt {

void MainWindow::Impl::BuildMainPage(QWidget* page)
{
    QPushButton* load = AddButton(page, "Button1", s.Button1, PxRect(8, 8, 97, 25),
                                  Failing([this] { return "Could not load " + s.Edit10.Text(); }, [this] { form.Button1Click(); }));
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
    AddSelector(panel3, "ComboBox4", s.ComboBox4, PxRect(96, 8, 65, 21))->lineEdit()->setProperty(kTypingIsSteps, true);
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
    qobject_cast<TextGridModel*>(grid3->model())->SetColumnTip(3, QStringLiteral("The bar is the new size as a share of the title set's size on the "
                                                 "DVD: full at 100 %, red above it"));
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
                const StatusBefore before = StatusBeforeOf(s);
                form.UserToggleLock(row);
                message = LockText(before, s, row);
            });
        },
        lockView);
    lockView->setModel(locks);

    QPushButton* apply = AddButton(page, "Button4", s.Button4, PxRect(448, 392, 177, 25),
                                   Described(Step::ApplyChanges, [this] { form.Button4Click(); }), 'A');
    QPushButton* save = AddButton(page, "Button7", s.Button7, PxRect(440, 436, 193, 25), SaveCommand());
    saveButton = save;

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

}  // namespace rq::qt
