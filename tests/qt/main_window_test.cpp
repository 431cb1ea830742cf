// The main window as a user meets it: loading, the grids and totals, enabled
// commands, the lock list and the selectors, sliders, error boxes, dropped
// files, input during a long load, and the start-up timer.
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QListView>
#include <QMessageBox>
#include <QMimeData>
#include <QFontInfo>
#include <QHeaderView>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>
#include <new>

#include "model/errors.h"
#include "model/numbers.h"
#include "qt_test_support.h"
#include "ui/form1.h"
#include "ui/form2.h"
#include "ui/qt/encoder_dialog.h"
#include "ui/qt/main_window.h"
#include "ui/qt/widgets.h"
#include "views/grid_views.h"

using namespace rq::testing;

namespace {

QStringList EnabledCommands(const Window& w)
{
    QStringList names;
    for (const char* name :
         {"Button1", "Button2", "Button3", "Button4", "Button5", "Button7", "Button9", "Button10", "Button11"})
        if (w.Find<QPushButton>(name)->isEnabled())
            names << QLatin1String(name);
    return names;
}

const char* const kSelectors[] = {"ComboBox1", "ComboBox3", "ComboBox4", "ComboBox5", "ComboBox6"};

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { rq::SetNumberSeparators({'.', ','}); }

    void startsWithOnlyTheLoadCommand()
    {
        Window w;
        QCOMPARE(w.window->windowTitle(), QStringLiteral("Ratequill V0.55a (10/05/2004)"));
        auto* pages = w.Find<QTabWidget>("PageControl1");
        QCOMPARE(pages->currentIndex(), 0);
        // "&&" in a caption is one ampersand on screen, for pages and buttons alike.
        QCOMPARE(pages->tabText(3), QStringLiteral("ECl File && INF File"));
        QCOMPARE(w.Find<QPushButton>("Button1")->text(), QStringLiteral("Load .ECL && .INF"));
        QCOMPARE(EnabledCommands(w), QStringList{"Button1"});
        QCOMPARE(w.Find<QLineEdit>("Edit2")->text(), QStringLiteral("101"));
        QCOMPARE(w.Find<QLabel>("Label25")->text(), QStringLiteral("?"));

        auto* percent = w.Find<QSlider>("TrackBar2");
        QCOMPARE((QList<int>{percent->minimum(), percent->maximum(), percent->value(), percent->pageStep(),
                             percent->tickInterval()}),
                 (QList<int>{50, 1000, 750, 1, 100}));
        // Every grid starts with its header row and one empty row, its vertical
        // scroll bar always there; the text buffers let the user select lines.
        for (const char* name : {"StringGrid1", "StringGrid2", "StringGrid3", "StringGrid4", "StringGrid5"}) {
            QCOMPARE(w.Find<QTableView>(name)->model()->rowCount(), 1);
            QCOMPARE(w.Find<QTableView>(name)->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
            const QHeaderView* header = w.Find<QTableView>(name)->horizontalHeader();
            QCOMPARE(header->defaultAlignment(), Qt::AlignLeft | Qt::AlignVCenter);
            QVERIFY(!header->highlightSections());
        }
        for (const char* name : {"ListBox1", "ListBox2"})
            QCOMPARE(w.Find<QListView>(name)->selectionMode(), QAbstractItemView::ExtendedSelection);
        QCOMPARE(w.Find<QTableView>("StringGrid2")->model()->columnCount(), 9);
        QVERIFY(QFontInfo(w.Find<QTableView>("StringGrid4")->font()).fixedPitch() ||
                w.Find<QTableView>("StringGrid4")->font().fixedPitch());
    }

    void loadsTheExampleTypedIntoTheFileNameBox()
    {
        QTemporaryDir dir;
        QString path = CopyExample(dir);
        if (path.isEmpty())
            path = WriteProject(dir, SmallProject());
        Window w;
        w.Load(path);
        QCOMPARE(w.dialogsAsked, 0);
        QCOMPARE(w.errors, std::vector<std::string>{});

        // The grids show exactly the tables' texts, header row on top.
        rq::WritePendingViews(w.form.s);
        const rq::ProjectState& s = w.form.s;
        const struct {
            const char* name;
            const rq::TextGrid& table;
        } grids[] = {{"StringGrid1", s.StringGrid1}, {"StringGrid2", s.StringGrid2}, {"StringGrid3", s.StringGrid3},
                     {"StringGrid4", s.StringGrid4}, {"StringGrid5", s.StringGrid5}};
        for (const auto& g : grids) {
            auto* grid = w.Find<QTableView>(g.name);
            QCOMPARE(grid->model()->rowCount(), g.table.RowCount() - 1);
            for (int c = 0; c < grid->model()->columnCount(); ++c) {
                QCOMPARE(Headers(grid).at(c), QString::fromStdString(std::string(g.table.Cell(c, 0))));
                for (int r = 1; r < g.table.RowCount(); ++r)
                    QCOMPARE(Cell(grid, r - 1, c), QString::fromStdString(std::string(g.table.Cell(c, r))));
            }
        }
        auto* main = w.Find<QTableView>("StringGrid3");
        QCOMPARE(Headers(main),
                 (QStringList{"VTS", "PreviousBitRate (Avg)", "NewBitRate (Avg)", "NewOverallPercent", "VTSLength"}));
        QVERIFY(!Cell(main, 0, 0).isEmpty());
        // Loading moves no title set by itself: each new bitrate stays within
        // 1 % of the bitrate on disk.
        for (int r = 0; r < main->model()->rowCount(); ++r) {
            const double previous = Cell(main, r, 1).toDouble();
            QVERIFY2(qAbs(Cell(main, r, 2).toDouble() - previous) <= 0.01 * previous, qPrintable(Cell(main, r, 0)));
        }

        QCOMPARE(w.Find<QLabel>("Label25")->text(), QString::fromStdString(s.Label25.Caption()));
        QVERIFY(w.Find<QLabel>("Label25")->text() != QStringLiteral("?"));
        QCOMPARE(w.Find<QLabel>("Label2")->text(), QString::fromStdString(s.Label2.Caption()));
        QCOMPARE(w.Find<QListView>("ListBox1")->model()->rowCount(), s.ListBox1.Count());
        QCOMPARE(w.Find<QListView>("ListBox2")->model()->rowCount(), s.ListBox2.Count());
        QCOMPARE(w.Find<QListView>("CheckListBox1")->model()->rowCount(), s.CheckListBox1.Count());
        for (const char* name : kSelectors)
            QCOMPARE(w.Find<QComboBox>(name)->currentText(), QString::fromStdString(s.ComboBox1.Text()));

        QCOMPARE(EnabledCommands(w),
                 (QStringList{"Button2", "Button3", "Button4", "Button5", "Button9", "Button10", "Button11"}));
        w.Press("Button4");
        QVERIFY(w.Find<QPushButton>("Button7")->isEnabled());
        w.Press("Button7");
        QCOMPARE(w.errors, std::vector<std::string>{});
        QVERIFY(!w.Find<QPushButton>("Button7")->isEnabled());
    }

    void fileNameBoxWithoutAFileAsksForOne_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("confirm");
        QTest::newRow("empty box, cancelled") << QString() << false;
        QTest::newRow("missing file, cancelled") << QStringLiteral("/no/such/REBUILDER.ECL") << false;
        QTest::newRow("missing file, confirmed") << QStringLiteral("/no/such/REBUILDER.ECL") << true;
    }

    void fileNameBoxWithoutAFileAsksForOne()
    {
        QFETCH(QString, typed);
        QFETCH(bool, confirm);
        QTemporaryDir dir;
        const QString project = WriteProject(dir, SmallProject());
        Window w;
        if (confirm)
            w.chosenFile = project.toStdString();
        w.Load(typed);
        QCOMPARE(w.dialogsAsked, 1);
        QCOMPARE(w.errors, std::vector<std::string>{});
        if (confirm) {
            QCOMPARE(w.Find<QLineEdit>("Edit10")->text(), project);
            QCOMPARE(Column(w.Find<QTableView>("StringGrid3"), 0), (QStringList{"v01", "v02", "v03"}));
            QVERIFY(w.Find<QPushButton>("Button4")->isEnabled());
        } else {
            // Nothing loaded, and still only one try per run.
            QCOMPARE(w.Find<QLineEdit>("Edit10")->text(), typed);
            QCOMPARE(Column(w.Find<QTableView>("StringGrid3"), 0), QStringList{""});
            QCOMPARE(EnabledCommands(w), QStringList{});
        }
    }

    void openDialogMatchesProjectFilesInAnyCase()
    {
        // The real file-open dialog, as the window installs it, started from
        // the folder the file-name box names.
        QTemporaryDir dir;
        const QString project = WriteProject(dir, SmallProject());
        // Through another name: a file system that ignores case (Windows)
        // may keep the old spelling on a rename that changes only the case.
        QVERIFY(QFile::rename(project, dir.filePath(QStringLiteral("renamed"))));
        QVERIFY(QFile::rename(dir.filePath(QStringLiteral("renamed")), dir.filePath(QStringLiteral("rebuilder.ecl"))));
        rq::TForm1 form;
        rq::qt::MainWindow window(form);
        form.s.Edit10.SetText(dir.filePath(QStringLiteral("missing.ECL")).toStdString());
        QString title;
        QStringList filters;
        bool resizable = false, listed = false;
        WhenModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (!dialog)
                return;
            title = dialog->windowTitle();
            filters = dialog->nameFilters();
            resizable = dialog->isSizeGripEnabled();
            auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
            auto lowerCaseShown = [&] {
                const QModelIndex root = view->rootIndex();
                for (int r = 0; r < view->model()->rowCount(root); ++r) {
                    const QModelIndex item = view->model()->index(r, 0, root);
                    if (item.data().toString() == QStringLiteral("rebuilder.ecl"))
                        return bool(item.flags() & Qt::ItemIsEnabled);
                }
                return false;
            };
            listed = view && QTest::qWaitFor(lowerCaseShown, 3000);
        });
        window.RunCommand([&] { form.Button1Click(); });
        QCOMPARE(title, QStringLiteral("Open DVD-Rebuilder ECL/INF files"));
        QCOMPARE(filters, (QStringList{"REBUILDER.ECL/.INF (*.ECL *.INF)", "All Files (*)"}));
        QVERIFY(resizable);
        QVERIFY(listed);
        QVERIFY(!window.findChild<QPushButton*>(QStringLiteral("Button1"))->isEnabled());
    }

    void lockingRebuildsTheSelectors()
    {
        QTemporaryDir dir;
        Window w;
        w.Load(WriteProject(dir, SmallProject()));
        auto* set = w.Find<QComboBox>("ComboBox3");
        auto* change = w.Find<QComboBox>("ComboBox1");
        TypeInto(set, QStringLiteral("v01"));
        TypeInto(change, QStringLiteral("v03"));
        TypeInto(w.Find<QComboBox>("ComboBox6"), QStringLiteral("no such"));

        // Locking the title set shown in ComboBox3: gone from every list; that
        // selector falls back to the longest title set, the others keep theirs.
        w.ToggleLock(0);
        for (const char* name : kSelectors)
            QCOMPARE(Items(w.Find<QComboBox>(name)), (QStringList{"v02", "v03"}));
        QCOMPARE(set->currentText(), QStringLiteral("v02"));
        QCOMPARE(change->currentText(), QStringLiteral("v03"));
        QCOMPARE(w.Find<QComboBox>("ComboBox6")->currentText(), QStringLiteral("v02"));

        // Locking the longest one: gone from the lists, yet still shown.
        w.ToggleLock(1);
        QCOMPARE(Items(set), QStringList{"v03"});
        QCOMPARE(set->currentText(), QStringLiteral("v02"));
        QCOMPARE(change->currentText(), QStringLiteral("v03"));

        // Unlocking puts it back in lock list order.
        w.ToggleLock(0);
        QCOMPARE(Items(set), (QStringList{"v01", "v03"}));
        auto* locks = w.Find<QListView>("CheckListBox1");
        QCOMPARE(locks->model()->index(0, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
        QCOMPARE(locks->model()->index(1, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));

        // A mark set by the program shows, and rebuilds nothing.
        w.form.s.CheckListBox1.SetChecked(2, true);
        w.window->SyncFromModel();
        QCOMPARE(locks->model()->index(2, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
        QCOMPARE(Items(set), (QStringList{"v01", "v03"}));
    }

    void onlyTheSetPercentageSelectorRefitsItsSlider()
    {
        QTemporaryDir dir;
        Window w;
        w.Load(WriteProject(dir, SmallProject()));
        auto* slider = w.Find<QSlider>("TrackBar2");
        const int min = slider->minimum(), max = slider->maximum();

        TypeInto(w.Find<QComboBox>("ComboBox3"), QStringLiteral("zz"));
        QCOMPARE(slider->minimum(), min);
        QCOMPARE(slider->maximum(), max);

        // A name that is no title set: the range 990..1000, thumb at 1000.
        TypeInto(w.Find<QComboBox>("ComboBox4"), QStringLiteral("zz"));
        QCOMPARE(slider->minimum(), 990);
        QCOMPARE(slider->maximum(), 1000);
        QCOMPARE(slider->value(), 1000);

        // A pick from the list runs it as well.
        auto* selector = w.Find<QComboBox>("ComboBox4");
        const int v03 = selector->findText(QStringLiteral("v03"));
        QVERIFY(v03 >= 0);
        emit selector->activated(v03);
        QCOMPARE(selector->currentText(), QStringLiteral("v03"));
        QVERIFY(slider->minimum() < 990);
        QCOMPARE(w.errors, std::vector<std::string>{});

        // Once per character typed and per pick; never for confirming the
        // text, nor for what the program sets.
        // A run refits the slider: the program squeezes its range to 0..5
        // before each action, and a run is seen as a range that left it.
        int runs = 0;
        rq::TrackBar& model = w.form.s.TrackBar2;
        const auto squeeze = [&] {
            w.window->RunCommand([&] {
                (void)model.SetMin(0);
                (void)model.SetMax(5);
            });
        };
        const auto counted = [&](const std::function<void()>& action) {
            squeeze();
            action();
            runs += model.Max() != 5;
        };
        selector->lineEdit()->setFocus();
        selector->lineEdit()->selectAll();
        for (const char key : {'v', '0', '1'})
            counted([&] { QTest::keyClick(selector->lineEdit(), key); });
        QCOMPARE(selector->currentText(), QStringLiteral("v01"));
        QCOMPARE(runs, 3);
        counted([&] { QTest::keyClick(selector->lineEdit(), Qt::Key_Return); });
        QCOMPARE(runs, 3);
        counted([&] { emit selector->activated(selector->findText(QStringLiteral("v02"))); });
        QCOMPARE(runs, 4);
        counted([&] { w.window->RunCommand([&] { w.form.s.ComboBox4.SetText("v03"); }); });
        QCOMPARE(selector->currentText(), QStringLiteral("v03"));
        QCOMPARE(runs, 4);
    }

    void slidersRunTheirSetCommands()
    {
        QTemporaryDir dir;
        Window w;
        w.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
        w.Load(WriteProject(dir, SmallProject()));
        TypeInto(w.Find<QComboBox>("ComboBox3"), QStringLiteral("v03"));
        auto* slider = w.Find<QSlider>("TrackBar1");
        slider->setFocus();
        QTest::keyClick(slider, Qt::Key_Right);
        QCOMPARE(w.form.s.TrackBar1.Position(), 3001);
        QCOMPARE(w.Find<QLineEdit>("Edit5")->text(), QStringLiteral("3001"));
        QTest::keyClick(slider, Qt::Key_PageDown);
        QCOMPARE(w.Find<QLineEdit>("Edit5")->text(), QStringLiteral("2951"));

        // Only a change of position runs the command: not the end of a scroll,
        // so the box the user changed meanwhile keeps its text.
        auto* box = w.Find<QLineEdit>("Edit5");
        QTest::keyPress(slider, Qt::Key_Left);
        QCOMPARE(box->text(), QStringLiteral("2950"));
        TypeInto(box, QStringLiteral("2500"));
        QTest::keyRelease(slider, Qt::Key_Left);
        QCOMPARE(box->text(), QStringLiteral("2500"));
        // A click on the groove left of the thumb: one page step down, at the press.
        QStyleOptionSlider option;
        option.initFrom(slider);
        option.orientation = slider->orientation();
        option.minimum = slider->minimum();
        option.maximum = slider->maximum();
        option.sliderPosition = slider->sliderPosition();
        option.sliderValue = slider->value();
        option.tickPosition = slider->tickPosition();
        option.tickInterval = slider->tickInterval();
        const QRect grooveRect = slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, slider);
        const QPoint groove(grooveRect.left() + 4, grooveRect.center().y());
        QTest::mousePress(slider, Qt::LeftButton, {}, groove);
        QCOMPARE(box->text(), QString::number(slider->value()));
        QVERIFY(slider->value() < 2950);
        TypeInto(box, QStringLiteral("2500"));
        QTest::mouseRelease(slider, Qt::LeftButton, {}, groove);
        QCOMPARE(box->text(), QStringLiteral("2500"));

        // A click on either thumb that does not move it runs nothing: after a
        // maximise, the figures and the history stay as they are.
        w.Press("Button10");
        const QStringList maximised = w.GridColumn("StringGrid3", 2);
        const std::string step = w.form.UndoName();
        for (const char* name : {"TrackBar1", "TrackBar2"}) {
            auto* thumb = w.Find<QSlider>(name);
            option.initFrom(thumb);
            option.minimum = thumb->minimum();
            option.maximum = thumb->maximum();
            option.sliderPosition = option.sliderValue = thumb->value();
            const QPoint on = thumb->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, thumb).center();
            QTest::mouseClick(thumb, Qt::LeftButton, {}, on);
            QCOMPARE(w.GridColumn("StringGrid3", 2), maximised);
            QCOMPARE(w.form.UndoName(), step);
            QVERIFY(!w.form.CanRedo());
        }
        QCOMPARE(w.errors, std::vector<std::string>{});
    }

    void errorsEndInTheErrorBox()
    {
        QTemporaryDir dir;
        Window w;
        w.Load(WriteProject(dir, SmallProject()));
        TypeInto(w.Find<QLineEdit>("Edit8"), QStringLiteral("abc"));
        w.Press("Button9");
        // Setting a percentage reads "Min Bitrate" as a whole number first.
        QCOMPARE(w.errors, std::vector<std::string>{"'abc' is not a valid integer value."});

        // The box the window installs: titled, a stop icon, one OK button.
        rq::TForm1 form;
        rq::qt::MainWindow real(form);
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        int buttons = 0;
        WhenModal([&](QWidget* modal) {
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                title = box->windowTitle();
                text = box->text();
                icon = box->icon();
                buttons = static_cast<int>(box->buttons().size());
            }
        });
        real.RunCommand([] { throw std::runtime_error("File not found"); });
        QCOMPARE(title, QStringLiteral("Ratequill"));
        QCOMPARE(text, QStringLiteral("File not found."));
        QCOMPARE(icon, QMessageBox::Critical);
        QCOMPARE(buttons, 1);

        // Memory running out is told in words; a fault in a project file says
        // in the status bar where it was found.
        const auto answer = [&](QWidget* modal) {
            if (auto* box = qobject_cast<QMessageBox*>(modal))
                text = box->text();
        };
        WhenModal(answer);
        real.RunCommand([] { throw std::bad_alloc(); });
        QCOMPARE(text, QStringLiteral("Not enough memory to finish the command."));
        WhenModal(answer);
        real.RunCommand([] {
            throw rq::AppError("'' is not a valid integer value", rq::ErrorPlace{"/discs/REBUILDER.ECL", 12, "v02pgc1_0",
                                                                                "encode_first", {}});
        });
        QCOMPARE(text, QStringLiteral("'' is not a valid integer value. (%1)")
                           .arg(QDir::toNativeSeparators(QStringLiteral("/discs/REBUILDER.ECL"))));
        const auto status = [&real] { return real.findChild<rq::qt::StatusLabel*>(QStringLiteral("StatusMessage"))->FullText(); };
        QCOMPARE(status(), QStringLiteral("'' is not a valid integer value in /discs/REBUILDER.ECL, line 12, segment "
                                          "v02pgc1_0, key encode_first"));
        WhenModal(answer);
        real.RunCommand([] { throw rq::AppError("Floating point overflow"); });
        QCOMPARE(status(), QStringLiteral("Floating point overflow."));
    }

    void droppedProjectFileGoesIntoTheFileNameBox_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("taken");
        QTest::newRow("ECL") << QStringLiteral("REBUILDER.ECL") << true;
        QTest::newRow("lower-case inf") << QStringLiteral("rebuilder.inf") << true;
        QTest::newRow("text file") << QStringLiteral("notes.txt") << false;
    }

    void droppedProjectFileGoesIntoTheFileNameBox()
    {
        QFETCH(QString, name);
        QFETCH(bool, taken);
        Window w;
        const QString path = QDir::temp().filePath(name);
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(path)});
        const QPoint at(5, 5);
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w.window.get(), &enter);
        QCOMPARE(enter.isAccepted(), taken);
        if (taken) {
            QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(w.window.get(), &drop);
        }
        QCOMPARE(w.Find<QLineEdit>("Edit10")->text(), taken ? QDir::toNativeSeparators(path) : QString());
    }

    void inputDuringALoadIsRefused()
    {
        QTemporaryDir dir;
        QString path = CopyExample(dir);
        if (path.isEmpty())
            path = WriteProject(dir, SmallProject());
        Window w;
        // While the reader lets pending events through, the user clicks Load
        // again and types into the set-percentage selector.
        int depth = 0, deepest = 0, calls = 0;
        bool opened = true;
        const std::function<void()> process = w.form.ProcessMessages;
        w.form.ProcessMessages = [&] {
            ++depth;
            deepest = std::max(deepest, depth);
            if (++calls == 1) {
                opened = w.window->OpenProject(path);  // a drop or Ctrl+O
                w.Press("Button1");
                QTest::keyClicks(w.Find<QComboBox>("ComboBox4")->lineEdit(), QStringLiteral("x"));
                w.ToggleLock(0);
            }
            process();
            --depth;
        };
        w.Load(path);
        QVERIFY(calls > 0);
        QVERIFY(!opened);
        QCOMPARE(deepest, 1);
        QCOMPARE(w.errors, std::vector<std::string>{});
        // The refused typing is undone; the selector shows what the load chose.
        QCOMPARE(w.Find<QComboBox>("ComboBox4")->currentText(), QString::fromStdString(w.form.s.ComboBox4.Text()));
        QVERIFY(!w.form.s.CheckListBox1.Checked(0));
    }

    void showingStartsTheCommandLineJobOnce()
    {
        rq::TForm1 form;
        form.Arguments = {"/ecl=/no/such/REBUILDER.ECL"};
        rq::qt::MainWindow window(form);
        QStringList messages;
        form.ShowMessage = [&](const std::string& text) { messages << QString::fromStdString(text); };
        form.Form2().Show();
        QVERIFY(window.Dialog().isVisible());
        window.show();
        QTRY_COMPARE(messages, QStringList{"ECL File not found or no ECL= specified on commandline"});
        QVERIFY(!form.Timer1Enabled());
        window.hide();
        window.show();
        QTest::qWait(50);
        QCOMPARE(messages.size(), 1);
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
