// The main window in daily use: the menu bar and its keys, the status bar,
// another project without restarting, the question before unsaved work is
// lost, a window that grows, the keyboard, and the About page.
#include <QAction>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QUrl>
#include <optional>
#include <tuple>

#include "engine/redistribution.h"
#include "model/errors.h"
#include "model/numbers.h"
#include "qt_test_support.h"
#include "support/read_only_file.h"
#include "ui/form1.h"
#include "ui/form2.h"
#include "ui/qt/encoder_dialog.h"
#include "ui/qt/look.h"
#include "ui/qt/main_window.h"
#include "ui/qt/widgets.h"

using namespace rq::testing;

namespace {

QByteArray Bytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The main window with the menu bar, the status bar and the keyboard.
struct Daily : Window {
    QAction* Action(const char* name) const { return Find<QAction>(name); }
    // The whole message; the label shows it cut when it is too long.
    QString Status() const { return Find<rq::qt::StatusLabel>("StatusMessage")->FullText(); }
    QString Totals() const { return Find<QLabel>("StatusTotals")->text(); }
    QStringList MainColumn(int col) const { return GridColumn("StringGrid3", col); }
    void ShowActive()
    {
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    // Presses keys with the focus on the main grid, away from any text box.
    void Keys(QKeySequence keys)
    {
        Find<QTableView>("StringGrid3")->setFocus();
        QTest::keySequence(window.get(), keys);
    }
};

// Answers the next question with `answer` and keeps its text in `asked`.
void Answer(QMessageBox::StandardButton answer, QString* asked)
{
    WhenModal([=](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        *asked = box->text();
        box->button(answer)->click();
    });
}

}  // namespace

class DailyUseTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { rq::SetNumberSeparators({'.', ','}); }

    void statusBarReportsLoadsCommandsAndSaves()
    {
        QTemporaryDir dir;
        const QString path = WriteProject(dir, SmallProject());
        Daily w;
        w.ShowActive();
        QVERIFY(!w.Action("actionSave")->isEnabled());
        w.Load(path);
        QCOMPARE(w.Status(), QStringLiteral("Loaded %1: 4 segments in 3 title sets").arg(path));
        QCOMPARE(w.Totals(), QStringLiteral("New total 139,158 KB against 139,158 KB loaded"));

        TypeInto(w.Find<QLineEdit>("Edit5"), QStringLiteral("2000"));
        QTest::keyClick(w.Find<QLineEdit>("Edit5"), Qt::Key_Return);  // runs the "Set" beside it
        QCOMPARE(w.Status(), QStringLiteral("v02: 2,000 kbit/s, 60 %"));
        QCOMPARE(w.MainColumn(2).at(1), QStringLiteral("2000"));

        QTest::keyClick(w.window.get(), Qt::Key_A, Qt::AltModifier);  // "&Apply Changes"
        QTRY_VERIFY(w.Action("actionSave")->isEnabled());  // a mnemonic clicks after a moment
        w.Keys(QKeySequence::Save);
        QCOMPARE(w.errors, std::vector<std::string>{});
        QCOMPARE(w.Status(), QStringLiteral("Saved REBUILDER.ECL and REBUILDER.INF; originals kept as "
                                            "REBUILDER.ECLBAK and REBUILDER.INFBAK"));
        QVERIFY(!w.Action("actionSave")->isEnabled());
        // A second save, of new work, keeps the first save's backups.
        TypeInto(w.Find<QLineEdit>("Edit5"), QStringLiteral("2100"));
        QTest::keyClick(w.Find<QLineEdit>("Edit5"), Qt::Key_Return);
        w.Press("Button4");
        w.Press("Button7");
        QCOMPARE(w.Status(), QStringLiteral("Saved REBUILDER.ECL and REBUILDER.INF; backups from an earlier save kept"));
        // A command that fails says so, with the box it read, and keeps saying it.
        TypeInto(w.Find<QLineEdit>("Edit5"), QStringLiteral("x"));
        w.Press("Button5");
        QCOMPARE(w.errors, std::vector<std::string>{"'x' is not a valid floating point value."});
        QCOMPARE(w.Status(), QStringLiteral("Set to kbit (Main): 'x' is not a valid floating point value."));
    }

    void undoRedoAndRevertFollowTheHistory()
    {
        QTemporaryDir dir;
        Daily w;
        w.ShowActive();
        w.Load(WriteProject(dir, SmallProject()));
        const QStringList loaded = w.MainColumn(2);
        // A drag of the slider, thumb moved three times, is one step.
        auto* slider = w.Find<QSlider>("TrackBar1");
        QTest::mousePress(slider, Qt::LeftButton, {}, slider->rect().center());
        for (int value : {2500, 2600, 2700})
            slider->setValue(value);
        QTest::mouseRelease(slider, Qt::LeftButton, {}, slider->rect().center());
        const QStringList dragged = w.MainColumn(2);
        QVERIFY(dragged != loaded);
        QCOMPARE(w.Action("actionUndo")->isEnabled(), w.form.CanUndo());
        if (!w.form.CanUndo())
            QSKIP("no history in this build");
        w.Keys(QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(w.MainColumn(2), loaded);
        QCOMPARE(w.Status(), QStringLiteral("Undid the last change"));
        w.Keys(QKeySequence(Qt::CTRL | Qt::Key_Y));
        QCOMPARE(w.MainColumn(2), dragged);
        w.Keys(QKeySequence(Qt::CTRL | Qt::Key_Z));
        w.Keys(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
        QCOMPARE(w.MainColumn(2), dragged);
        w.Action("actionRevert")->trigger();
        QCOMPARE(w.MainColumn(2), loaded);
        // After Return has run a number box's command, Ctrl+Z in the box undoes the command.
        auto* bitrate = w.Find<QLineEdit>("Edit5");
        TypeInto(bitrate, QStringLiteral("2000"));
        QTest::keyClick(bitrate, Qt::Key_Return);
        QVERIFY(w.MainColumn(2) != loaded);
        QTest::keySequence(bitrate, QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(w.MainColumn(2), loaded);
        // An arrow key held down on the slider, the system repeating its press,
        // is one step, complete once the key is let go.
        slider->setFocus();
        QTest::keyPress(slider, Qt::Key_Right);
        for (int i = 0; i < 3; ++i) {
            QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, QString(), true);
            QApplication::sendEvent(slider, &repeat);
        }
        QTest::keyRelease(slider, Qt::Key_Right);
        QVERIFY(w.MainColumn(2) != loaded);
        w.Action("actionUndo")->trigger();
        QCOMPARE(w.MainColumn(2), loaded);
        // A key let go in another window ends its run when the slider loses the focus.
        QTest::keyPress(slider, Qt::Key_Right);
        const QStringList once = w.MainColumn(2);
        QFocusEvent away(QEvent::FocusOut);
        QApplication::sendEvent(slider, &away);
        QTest::keyClick(slider, Qt::Key_Right);
        w.Action("actionUndo")->trigger();
        QCOMPARE(w.MainColumn(2), once);
    }

    void unsavedWorkIsNeverLostSilently_data()
    {
        QTest::addColumn<QString>("work");  // applied, set (not applied yet), overdrawn (cannot be applied)
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<bool>("saved");
        QTest::newRow("Save") << "applied" << int(QMessageBox::Save) << true << true;
        QTest::newRow("Save, applying first") << "set" << int(QMessageBox::Save) << true << true;
        QTest::newRow("Save, the apply refused") << "overdrawn" << int(QMessageBox::Save) << false << false;
        QTest::newRow("Discard") << "applied" << int(QMessageBox::Discard) << true << false;
        QTest::newRow("Cancel") << "applied" << int(QMessageBox::Cancel) << false << false;
    }

    void unsavedWorkIsNeverLostSilently()
    {
        QFETCH(QString, work);
        QFETCH(int, answer);
        QFETCH(bool, closed);
        QFETCH(bool, saved);
        QTemporaryDir dir;
        const QString path = WriteProject(dir, SmallProject());
        const QByteArray original = Bytes(path);
        Daily w;
        w.window->show();
        w.Load(path);
        if (work == "overdrawn") {
            // v02 takes more than the whole project: the others would get no size.
            w.form.Run([&] { rq::SetVTSBitRate(w.form.s, "v02", 99999); });
        } else {
            w.Press("Button5");
            if (work == "applied")
                w.Press("Button4");
        }
        QString asked;
        Answer(QMessageBox::StandardButton(answer), &asked);
        QCOMPARE(w.window->close(), closed);
        QCOMPARE(asked, QStringLiteral("Save changes to %1 before closing?").arg(path));
        QCOMPARE(w.window->isVisible(), !closed);
        QCOMPARE(Bytes(path) != original, saved);
        QCOMPARE(QFile::exists(dir.filePath(QStringLiteral("REBUILDER.ECLBAK"))), saved);
        QCOMPARE(w.errors.size(), size_t(work == "overdrawn" ? 1 : 0));
    }

    void batchWithAutoExitAndAProjectWithoutChangesCloseWithoutAsking()
    {
        QTemporaryDir dir;
        const QString path = WriteProject(dir, SmallProject());
        Window batch;
        batch.form.Arguments = {"/ecl=" + path.toStdString(), "/vts=v02", "/min=1850", "/max_via_bitrate", "/autoexit"};
        batch.form.Terminate = [](int) {};
        batch.window->show();
        QTRY_VERIFY(!batch.form.Timer1Enabled());
        QCOMPARE(batch.Find<rq::qt::StatusLabel>("StatusMessage")->FullText(),
                 QStringLiteral("Batch job: v02 maximised: 2,294 kbit/s, 68.8 %; the others at 1,850 kbit/s; applied, "
                                "Save writes it"));
        QVERIFY(batch.form.HasUnsavedWork());
        QVERIFY(batch.window->close());

        Window untouched;
        untouched.window->show();
        untouched.Load(path);
        QVERIFY(untouched.window->close());
    }

    void anotherProjectOpensWithoutRestarting()
    {
        QTemporaryDir first, second;
        Daily w;
        w.Load(WriteProject(first, SmallProject()));
        QString example = CopyExample(second);
        if (example.isEmpty())
            QSKIP("the example project is missing");
        QVERIFY(!w.Find<QPushButton>("Button1")->isEnabled());  // the Load button keeps its states

        // Ctrl+O, the file chosen in the dialog, while the encoder dialog is open.
        w.form.Form2().Show();
        w.ShowActive();
        w.chosenFile = example.toStdString();
        w.Keys(QKeySequence(Qt::CTRL | Qt::Key_O));
        QCOMPARE(w.errors, std::vector<std::string>{});
        QVERIFY(w.Status().startsWith(QStringLiteral("Loaded %1: ").arg(example)));
        const QStringList names = w.MainColumn(0);
        QCOMPARE(names.size(), w.form.s.CheckListBox1.Count());
        // The open encoder dialog lists the new project's title sets.
        QCOMPARE(Items(w.window->Dialog().findChild<QComboBox*>(QStringLiteral("ComboBox1"))),
                 QStringList{"All"} + names);

        // So does a path typed into the file-name box, with Return...
        const QString small = first.filePath(QStringLiteral("REBUILDER.ECL"));
        TypeInto(w.Find<QLineEdit>("Edit10"), small);
        QTest::keyClick(w.Find<QLineEdit>("Edit10"), Qt::Key_Return);
        QVERIFY(w.Status().startsWith(QStringLiteral("Loaded %1: ").arg(small)));

        // ... and a dropped project file, asking first about unsaved work.
        w.Press("Button5");
        w.Press("Button4");
        const QString dropped = second.filePath(QStringLiteral("REBUILDER.INF"));
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(dropped)});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w.window.get(), &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QString asked;
        Answer(QMessageBox::Discard, &asked);
        QApplication::sendEvent(w.window.get(), &drop);
        QTRY_VERIFY(w.Status().startsWith(QStringLiteral("Loaded %1: ").arg(QDir::toNativeSeparators(dropped))));
        QCOMPARE(asked, QStringLiteral("Save changes to %1 before closing?").arg(small));
    }

    void plainPathArgumentOpensAProject_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("opens");
        QTest::newRow("a project file") << QStringList{"/films/REBUILDER.ECL"} << true;
        QTest::newRow("lower-case inf") << QStringList{"/films/rebuilder.inf"} << true;
        QTest::newRow("batch project option") << QStringList{"/ecl=/films/REBUILDER.ECL"} << false;
        QTest::newRow("batch flag") << QStringList{"/AutoExit"} << false;
        QTest::newRow("other file") << QStringList{"/films/notes.txt"} << false;
        QTest::newRow("two arguments") << QStringList{"/films/REBUILDER.ECL", "/nogui"} << false;
    }

    void plainPathArgumentOpensAProject()
    {
        QFETCH(QStringList, args);
        QFETCH(bool, opens);
        std::vector<std::string> list;
        for (const QString& a : args)
            list.push_back(a.toStdString());
        const std::optional<QString> path = rq::qt::ProjectPathArgument(list);
        QCOMPARE(path.has_value(), opens);
        if (opens)  // on Windows the path gains the current drive: Z:\films\...
            QCOMPARE(*path, QDir::toNativeSeparators(QFileInfo(args.front()).absoluteFilePath()));
    }

    void windowGrowsAndShrinksBack()
    {
        Daily w;
        w.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
        QCOMPARE(w.Find<QWidget>("ClientArea")->size(), rq::qt::PxRect(0, 0, 721, 551).size());
        // Before a project there are no totals to show.
        QCOMPARE(w.Find<QLabel>("StatusTotals")->text(), QString());
        QCOMPARE(w.Find<QTabWidget>("PageControl1")->geometry(), rq::qt::PxRect(8, 8, 697, 505));
        // Where each control is at the specified size, and how it follows 200 x 120 more.
        const struct {
            const char* name;
            QRect specified;
            int dx, dy, dw, dh;
        } controls[] = {
            {"Button1", rq::qt::PxRect(8, 8, 97, 25), 0, 0, 0, 0},
            {"Panel2", rq::qt::PxRect(0, 88, 257, 65), 0, 0, 0, 0},
            {"Panel3", rq::qt::PxRect(0, 160, 257, 65), 0, 0, 0, 0},
            {"Panel1", rq::qt::PxRect(0, 40, 257, 41), 0, 0, 0, 0},
            {"Panel4", rq::qt::PxRect(0, 232, 257, 49), 0, 0, 0, 0},
            {"Panel5", rq::qt::PxRect(0, 288, 257, 49), 0, 0, 0, 0},
            {"Button11", rq::qt::PxRect(40, 384, 177, 25), 0, 0, 0, 0},
            {"StringGrid3", rq::qt::PxRect(264, 8, 417, 345), 0, 0, 200, 60},
            {"CheckListBox1", rq::qt::PxRect(264, 376, 129, 97), 0, 60, 0, 60},
            {"Button7", rq::qt::PxRect(440, 436, 193, 25), 100, 120, 0, 0},
            {"StringGrid5", rq::qt::PxRect(0, 256, 625, 176), 0, 60, 200, 60},
            {"Edit8", rq::qt::PxRect(72, 448, 49, 21), 0, 120, 0, 0},
            {"Edit9", rq::qt::PxRect(248, 448, 65, 21), 0, 120, 0, 0},
            {"ListBox2", rq::qt::PxRect(344, 16, 337, 457), 100, 0, 100, 120},
            {"Memo1", rq::qt::PxRect(0, 0, 609, 409), 0, 0, 200, 120},
            {"DiscPictureArea", rq::qt::PxRect(0, 0, 681, 441), 0, 0, 200, 120},
            {"SavePicture", rq::qt::PxRect(560, 448, 121, 25), 200, 120, 0, 0},
        };
        // The details grid's columns: their specified widths, and in a wider
        // window each one's share of the extra 200 pixels, by its width.
        auto* details = w.Find<QTableView>("StringGrid5");
        const std::vector<int> widths = {64, 66, 72, 88, 69, 117, 113};
        const auto columns = [details] {
            std::vector<int> shown;
            for (int c = 0; c < details->model()->columnCount(); ++c)
                shown.push_back(details->columnWidth(c));
            return shown;
        };
        std::vector<int> specifiedColumns;
        for (int width : widths)
            specifiedColumns.push_back(rq::qt::Px(width));
        for (const auto& c : controls)
            QCOMPARE(w.Find<QWidget>(c.name)->geometry(), c.specified);
        // Labels by their corner: their width follows the font.
        for (const auto& [label, x, y] : {std::tuple{"Label12", 232, 16}, std::tuple{"Label14", 168, 16}, std::tuple{"Label15", 232, 16}})
            QCOMPARE(w.Find<QWidget>(label)->pos(), rq::qt::PxRect(x, y, 1, 1).topLeft());
        QCOMPARE(w.Find<QTableView>("StringGrid3")->verticalHeader()->defaultSectionSize(), rq::qt::Px(15));
        QCOMPARE(w.Find<QWidget>("Label20")->pos(), rq::qt::PxRect(344, 0, 1, 1).topLeft());
        QCOMPARE(columns(), specifiedColumns);
        const QSize specified = w.window->size();
        w.window->resize(specified + QSize(200, 120));
        for (const auto& c : controls)
            QTRY_COMPARE(w.Find<QWidget>(c.name)->geometry(), c.specified.adjusted(c.dx, c.dy, c.dx + c.dw, c.dy + c.dh));
        const std::vector<int> wider = columns();
        int added = 0;
        for (size_t c = 0; c < wider.size(); ++c) {
            const int share = wider[c] - specifiedColumns[c];
            added += share;
            QVERIFY2(std::abs(share - 200 * specifiedColumns[c] / rq::qt::Px(589)) <= 1 || c + 1 == wider.size(),
                     qPrintable(QStringLiteral("column %1 got %2").arg(c).arg(share)));
        }
        QCOMPARE(added, 200);
        w.window->resize(specified);
        for (const auto& c : controls)
            QTRY_COMPARE(w.Find<QWidget>(c.name)->geometry(), c.specified);
        QCOMPARE(columns(), specifiedColumns);
    }

    void headersAndBarsExplainThemselves()
    {
        QTemporaryDir dir;
        Daily w;
        w.Load(WriteProject(dir, SmallProject()));
        // A header cut by its column shows its whole title as a tip; the
        // percentage column also says what its bars mean.
        const QAbstractItemModel* main = w.Find<QTableView>("StringGrid3")->model();
        QCOMPARE(main->headerData(1, Qt::Horizontal, Qt::ToolTipRole).toString(), QStringLiteral("PreviousBitRate (Avg)"));
        const QString bars = QStringLiteral("The bar is the new size as a share of the title set's size on the DVD: "
                                            "full at 100 %, red above it");
        QCOMPARE(main->headerData(3, Qt::Horizontal, Qt::ToolTipRole).toString(),
                 QStringLiteral("NewOverallPercent\n") + bars);
        QCOMPARE(main->index(1, 3).data(Qt::ToolTipRole).toString(), bars);
        QCOMPARE(main->index(1, 2).data(Qt::ToolTipRole), QVariant());
        const QAbstractItemModel* details = w.Find<QTableView>("StringGrid5")->model();
        QCOMPARE(details->headerData(6, Qt::Horizontal, Qt::ToolTipRole).toString(), QStringLiteral("NewOverallPercent"));
    }

    void statusBarSaysWhatCameOfEachCommand()
    {
        QTemporaryDir dir;
        const QString path = WriteProject(dir, SmallProject());
        Daily w;
        w.ShowActive();
        w.Load(path);
        // A request the 100 percent ceiling held back says what it got.
        TypeInto(w.Find<QComboBox>("ComboBox3"), QStringLiteral("v01"));
        TypeInto(w.Find<QLineEdit>("Edit5"), QStringLiteral("5502"));
        w.Press("Button5");
        QCOMPARE(w.Status(), QStringLiteral("v01: 5,000 kbit/s, 100 %; asked 5,502: held at 100 %"));
        QCOMPARE(w.MainColumn(2).at(0), QStringLiteral("5000"));
        // A slider's move says what came of it, not what it asked.
        w.Find<QSlider>("TrackBar1")->setValue(600);
        QCOMPARE(w.Status(), QStringLiteral("v01: 600 kbit/s, 12 %"));
        // A locked title set stays put, and the status bar says so.
        w.ToggleLock(0);
        QCOMPARE(w.Status(), QStringLiteral("Locked v01; its selectors now show v02"));
        TypeInto(w.Find<QComboBox>("ComboBox5"), QStringLiteral("v01"));
        w.Press("Button10");
        QCOMPARE(w.Status(), QStringLiteral("v01 is locked: it keeps 600 kbit/s, 12 %; the others at 1,850 kbit/s, "
                                            "held at their limits: v02, v03"));
        w.ToggleLock(0);
        // Choosing in the set-percentage selector puts the allocation back.
        auto* selector = w.Find<QComboBox>("ComboBox4");
        const int v03 = selector->findText(QStringLiteral("v03"));
        selector->setCurrentIndex(v03);
        emit selector->activated(v03);
        QCOMPARE(w.Status(), QStringLiteral("Allocation reset by choosing v03: Ctrl+Z brings it back"));

        // A bad number on another page names its box.
        auto* pages = w.Find<QTabWidget>("PageControl1");
        pages->setCurrentIndex(2);
        TypeInto(w.Find<QLineEdit>("Edit8"), QStringLiteral("5OO"));
        pages->setCurrentIndex(0);
        w.Press("Button9");
        QCOMPARE(w.errors, std::vector<std::string>{"'5OO' is not a valid integer value."});
        QCOMPARE(w.Status(), QStringLiteral("Min Bitrate (Internal Calculation fields): '5OO' is not a valid integer value."));
        pages->setCurrentIndex(2);
        TypeInto(w.Find<QLineEdit>("Edit8"), QStringLiteral("500"));
        pages->setCurrentIndex(0);

        // A save that fails says so, and why.
        w.Press("Button4");
        QVERIFY(QFile::remove(dir.filePath(QStringLiteral("REBUILDER.INF"))));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("REBUILDER.INF")));
        w.Press("Button7");
        QVERIFY(w.Status().startsWith(QStringLiteral("Could not save %1: ").arg(path)));
        QVERIFY2(w.Status().contains(QStringLiteral("REBUILDER.INF")), qPrintable(w.Status()));

        // So does a project that fails to open, with the file it tried.
        QTemporaryDir other;
        const QString lone = WriteProject(other, SmallProject());
        QVERIFY(QFile::remove(other.filePath(QStringLiteral("REBUILDER.INF"))));
        WhenModal([](QWidget* modal) {
            if (auto* box = qobject_cast<QMessageBox*>(modal))
                box->button(QMessageBox::Discard)->click();
        });
        w.window->OpenProject(lone);
        QVERIFY2(w.Status().startsWith(QStringLiteral("Could not open %1: File not found in ").arg(lone)),
                 qPrintable(w.Status()));
        QVERIFY(w.Status().endsWith(QStringLiteral("REBUILDER.INF")));
    }

    void batchWithoutItsProjectNamesThePathAndLongTextsEndInAnEllipsis()
    {
        const QString missing = QStringLiteral("/no/such/folder/%1/REBUILDER.ECL").arg(QString(200, QLatin1Char('x')));
        rq::TForm1 form;
        form.Arguments = {"/ecl=" + missing.toStdString()};
        rq::qt::MainWindow window(form);
        QString asked;
        WhenModal([&asked](QWidget* modal) { asked = qobject_cast<QMessageBox*>(modal)->text(); });
        window.show();
        QTRY_VERIFY(!asked.isEmpty());
        // The box keeps the program's words; the status bar adds the path.
        QCOMPARE(asked, QStringLiteral("ECL File not found or no ECL= specified on commandline"));
        auto* status = window.findChild<rq::qt::StatusLabel*>(QStringLiteral("StatusMessage"));
        const QString full = QStringLiteral("No project at %1: the command line's /ecl= names no file").arg(missing);
        QCOMPARE(status->FullText(), full);
        QVERIFY(status->text().endsWith(QChar(0x2026)));
        QVERIFY(status->text().size() < full.size());
        QCOMPARE(status->toolTip(), full);
        // A text that fits shows whole, without a tip.
        form.ShowError = [](const std::string&) {};
        window.RunCommand([] { throw rq::AppError("Floating point overflow"); });
        QCOMPARE(status->text(), QStringLiteral("Floating point overflow."));
        QCOMPARE(status->toolTip(), QString());
    }

    void aFailedOpenKeepsTheProject_data()
    {
        QTest::addColumn<QString>("broken");
        QTest::newRow("INF missing") << "REBUILDER.INF";
        QTest::newRow("bad content") << "REBUILDER.ECL";
    }

    // Open Project on a project that cannot be read: the error names the
    // file, and the project shown stays with its figures, history and unsaved work.
    void aFailedOpenKeepsTheProject()
    {
        QFETCH(QString, broken);
        QTemporaryDir dir, other;
        Daily w;
        w.ShowActive();
        w.Load(WriteProject(dir, SmallProject()));
        w.Press("Button5");
        const QStringList figures = w.MainColumn(2);
        const QString totals = w.Totals(), undo = w.Action("actionUndo")->text(), title = w.window->windowTitle();
        const QString path = WriteProject(other, SmallProject());
        const QString file = other.filePath(broken);
        if (broken.endsWith(QStringLiteral(".INF")))
            QFile::remove(file);
        else
            WriteFile(file, Bytes(file).replace("encode_first=0", "encode_first=x"));
        QString asked;
        Answer(QMessageBox::Discard, &asked);
        QVERIFY(!w.window->OpenProject(path));
        QCOMPARE(w.errors.size(), size_t{1});
        QCOMPARE(QString::fromStdString(w.form.ErrorFile()), file);
        QCOMPARE(w.MainColumn(2), figures);
        QCOMPARE(w.Totals(), totals);
        QCOMPARE(w.Action("actionUndo")->text(), undo);
        QVERIFY(w.Action("actionRevert")->isEnabled());
        QCOMPARE(w.window->windowTitle(), title);
        QVERIFY(w.window->isWindowModified());
        w.Action("actionUndo")->trigger();
        QVERIFY(w.MainColumn(2) != figures);
        QVERIFY(!w.window->isWindowModified());
    }

    // A batch run left in the window is undone step by step, and Revert goes
    // back to the files on disk.
    void aBatchRunLeftInTheWindowIsUndoable()
    {
        QTemporaryDir dir;
        const QString path = WriteProject(dir, SmallProject());
        Daily loaded;
        loaded.Load(path);
        Daily w;
        w.form.Arguments = {"/ecl=" + path.toStdString(), "/vts=v02", "/min=1850", "/max_via_bitrate"};
        w.ShowActive();
        QTRY_VERIFY(!w.form.Timer1Enabled());
        const QStringList job = w.MainColumn(2);
        QVERIFY(job != loaded.MainColumn(2));
        QCOMPARE(w.Action("actionUndo")->text(), QStringLiteral("&Undo Apply Changes"));
        QVERIFY(w.Action("actionRevert")->isEnabled());
        w.Keys(QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(w.Action("actionUndo")->text(), QStringLiteral("&Undo Maximise v02 with the others at 1,850 kbit/s"));
        QCOMPARE(w.Action("actionRedo")->text(), QStringLiteral("&Redo Apply Changes"));
        w.Keys(QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(w.MainColumn(2), loaded.MainColumn(2));
        QVERIFY(!w.Action("actionUndo")->isEnabled());
        w.Keys(QKeySequence(Qt::CTRL | Qt::Key_Y));
        w.Keys(QKeySequence(Qt::CTRL | Qt::Key_Y));
        QCOMPARE(w.MainColumn(2), job);
        w.Action("actionRevert")->trigger();
        QCOMPARE(w.MainColumn(2), loaded.MainColumn(2));
    }

    // Ctrl+Z in a box is the project's undo unless the box holds typing of
    // its own, which it then takes back without running anything.
    void undoInTextBoxes()
    {
        QTemporaryDir dir;
        Daily w;
        w.ShowActive();
        w.Load(WriteProject(dir, SmallProject()));
        w.Press("Button10");
        // Typing into the set-percentage selector runs its command at every
        // character: Ctrl+Z there undoes the last one, and Redo brings it back.
        auto* percent = w.Find<QComboBox>("ComboBox4");
        TypeInto(percent, QStringLiteral("v01"));
        const QStringList chosen = w.MainColumn(2);
        QTest::keySequence(percent->lineEdit(), QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(percent->currentText(), QStringLiteral("v0"));
        QVERIFY(w.form.CanRedo());
        QTest::keySequence(percent->lineEdit(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
        QCOMPARE(percent->currentText(), QStringLiteral("v01"));
        QCOMPARE(w.MainColumn(2), chosen);
        // A name typed into another selector is the box's own to take back: no step.
        w.Keys(QKeySequence(Qt::CTRL | Qt::Key_Z));
        const std::string redo = w.form.RedoName();
        const QStringList before = w.MainColumn(2);
        auto* change = w.Find<QComboBox>("ComboBox1");
        TypeInto(change, QStringLiteral("v03"));
        QTest::keySequence(change->lineEdit(), QKeySequence(Qt::CTRL | Qt::Key_Z));
        QVERIFY(change->currentText() != QStringLiteral("v03"));
        QCOMPARE(w.form.RedoName(), redo);
        QCOMPARE(w.MainColumn(2), before);
        // Its redo is its own too; with none left, Ctrl+Shift+Z is the project's.
        QTest::keySequence(change->lineEdit(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
        QCOMPARE(change->currentText(), QStringLiteral("v03"));
        QCOMPARE(w.form.RedoName(), redo);
        QTest::keySequence(change->lineEdit(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
        QVERIFY(!w.form.CanRedo() || w.form.RedoName() != redo);
        QCOMPARE(w.MainColumn(2), chosen);
    }

    // Unsaved means unlike the files on disk: the caption's mark, Save, Revert
    // and the question at closing all follow it.
    void unsavedMeansUnlikeTheFilesOnDisk()
    {
        QTemporaryDir dir;
        const QString path = WriteProject(dir, SmallProject());
        Daily w;
        w.ShowActive();
        QCOMPARE(w.window->windowTitle(), QStringLiteral("Ratequill V0.55a (10/05/2004)"));
        w.Load(path);
        const QString caption = QStringLiteral("REBUILDER.ECL[*] \u2013 Ratequill V0.55a (10/05/2004)");
        QCOMPARE(w.window->windowTitle(), caption);
        QVERIFY(!w.window->isWindowModified());
        QVERIFY(!w.Action("actionSave")->isEnabled());
        QCOMPARE(w.Action("actionSave")->statusTip(), QStringLiteral("Save is disabled: the files on disk hold the project as shown"));
        const QStringList loaded = w.MainColumn(2);
        TypeInto(w.Find<QLineEdit>("Edit5"), QStringLiteral("4000"));
        w.Press("Button5");
        QVERIFY(w.window->isWindowModified());
        QCOMPARE(w.Action("actionUndo")->text(), QStringLiteral("&Undo Set v02 to 4,000 kbit/s"));
        // Ctrl+S before Apply: applies, then saves.
        const QByteArray original = Bytes(path);
        w.Keys(QKeySequence::Save);
        QCOMPARE(w.errors, std::vector<std::string>{});
        QVERIFY(Bytes(path) != original);
        QVERIFY(!w.window->isWindowModified());
        QVERIFY(!w.Action("actionRevert")->isEnabled());
        const QStringList saved = w.MainColumn(2);
        // Undone past the save, the window differs from the files: Quit asks,
        // and Revert goes back to the files as saved.
        w.Keys(QKeySequence(Qt::CTRL | Qt::Key_Z));
        w.Keys(QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(w.MainColumn(2), loaded);
        QVERIFY(w.window->isWindowModified());
        QString asked;
        Answer(QMessageBox::Cancel, &asked);
        QVERIFY(!w.window->close());
        QVERIFY(!asked.isEmpty());
        w.Action("actionRevert")->trigger();
        QCOMPARE(w.MainColumn(2), saved);
        QVERIFY(!w.window->isWindowModified());
        QVERIFY(w.window->close());
    }

    // A project that cannot be saved says so at the load, and Save says why it
    // is disabled.
    void aReadOnlyProjectSaysSoAtTheLoad()
    {
        QTemporaryDir dir;
        const QString path = WriteProject(dir, SmallProject());
        const rqtest::ReadOnlyFile readOnly(path.toStdString());
        if (!readOnly.Holds())
            QSKIP("this process may write any file here");
        Daily w;
        w.ShowActive();
        w.Load(path);
        QCOMPARE(w.Status(), QStringLiteral("Loaded %1: 4 segments in 3 title sets; read-only (%1: the file is "
                                            "read-only): Save is disabled").arg(path));
        w.Press("Button5");
        w.Press("Button4");
        QVERIFY(w.window->isWindowModified());
        QVERIFY(!w.Action("actionSave")->isEnabled());
        QVERIFY(!w.Find<QPushButton>("Button7")->isEnabled());
        QCOMPARE(w.Find<QPushButton>("Button7")->toolTip(),
                 QStringLiteral("Save is disabled: %1: the file is read-only").arg(path));
    }

    void keyboardReachesEveryCommandAndTheAboutPageTellsTheTruth()
    {
        Daily w;
        // Captions with an ampersand of their own are shown as they are.
        const struct {
            const char* name;
            const char* text;
        } buttons[] = {{"Button1", "Load .ECL && .INF"}, {"Button3", "&Change"}, {"Button5", "&Set"},
                       {"Button9", "Se&t"}, {"Button4", "&Apply Changes"}, {"Button7", "Save Modified .ECL && .INF"},
                       {"Button11", "&Modify CCE Encoding Parameters"}};
        for (const auto& b : buttons)
            QCOMPARE(w.Find<QPushButton>(b.name)->text(), QString::fromUtf8(b.text));

        // Tab leads out of a grid; Ctrl+Tab turns the page.
        w.ShowActive();
        auto* grid = w.Find<QTableView>("StringGrid3");
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != grid);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(w.Find<QTabWidget>("PageControl1")->currentIndex(), 1);

        w.Action("actionAbout")->trigger();
        QCOMPARE(w.Find<QTabWidget>("PageControl1")->currentIndex(), rq::TForm1::kAboutPage);
        const QString about = w.Find<QPlainTextEdit>("Memo1")->toPlainText();
        // Where the installed README lies: README.txt beside bin\ on Windows.
#if defined(_WIN32)
        const QString kReadmeFromBin = QStringLiteral("/../README.txt");
#else
        const QString kReadmeFromBin = QStringLiteral("/../share/doc/ratequill/README.md");
#endif
        for (const QString& fact : {QStringLiteral("Ratequill 0.55a (commit "),
                                    QStringLiteral("running on Qt %1").arg(QLatin1String(qVersion())),
                                    QStringLiteral("MIT License"), QStringLiteral("REBUILDER.ECLBAK"),
                                    QStringLiteral("Ctrl+Z"),
                                    QDir::cleanPath(QCoreApplication::applicationDirPath() + kReadmeFromBin)})
            QVERIFY2(about.contains(fact), qPrintable(fact));
        QVERIFY(!about.contains(QStringLiteral("Version history")));
    }
};

QTEST_MAIN(DailyUseTest)
#include "daily_use_test.moc"
