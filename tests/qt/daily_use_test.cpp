// The main window in daily use: the menu bar and its keys, the status bar,
// another project without restarting, the question before unsaved work is
// lost, a window that grows, the keyboard, and the About page.
#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QUrl>
#include <optional>

#include "engine/redistribution.h"
#include "model/numbers.h"
#include "qt_test_support.h"
#include "ui/form1.h"
#include "ui/form2.h"
#include "ui/qt/encoder_dialog.h"
#include "ui/qt/look.h"
#include "ui/qt/main_window.h"

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
    QString Status() const { return Find<QLabel>("StatusMessage")->text(); }
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
        QCOMPARE(w.Status(), QStringLiteral("Set v02 to 2000 kbit/s"));
        QCOMPARE(w.MainColumn(2).at(1), QStringLiteral("2000"));

        QTest::keyClick(w.window.get(), Qt::Key_A, Qt::AltModifier);  // "&Apply Changes"
        QTRY_VERIFY(w.Action("actionSave")->isEnabled());  // a mnemonic clicks after a moment
        w.Keys(QKeySequence::Save);
        QCOMPARE(w.errors, std::vector<std::string>{});
        QCOMPARE(w.Status(), QStringLiteral("Saved REBUILDER.ECL and REBUILDER.INF; originals kept as "
                                            "REBUILDER.ECLBAK and REBUILDER.INFBAK"));
        QVERIFY(!w.Action("actionSave")->isEnabled());
        w.Press("Button4");
        w.Press("Button7");
        QCOMPARE(w.Status(), QStringLiteral("Saved REBUILDER.ECL and REBUILDER.INF; backups from an earlier save kept"));
        // A command that fails leaves a state the last message no longer describes.
        TypeInto(w.Find<QLineEdit>("Edit5"), QStringLiteral("x"));
        w.Press("Button5");
        QCOMPARE(w.errors.size(), size_t{1});
        QCOMPARE(w.Status(), QString());
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
            {"StringGrid3", rq::qt::PxRect(264, 8, 417, 345), 0, 0, 200, 60},
            {"CheckListBox1", rq::qt::PxRect(264, 376, 129, 97), 0, 60, 0, 60},
            {"Button7", rq::qt::PxRect(440, 436, 193, 25), 100, 120, 0, 0},
            {"StringGrid5", rq::qt::PxRect(0, 256, 625, 176), 0, 60, 200, 60},
            {"Edit8", rq::qt::PxRect(72, 448, 49, 21), 0, 120, 0, 0},
            {"ListBox2", rq::qt::PxRect(344, 16, 337, 457), 100, 0, 100, 120},
            {"Memo1", rq::qt::PxRect(0, 0, 609, 409), 0, 0, 200, 120},
            {"DiscPictureArea", rq::qt::PxRect(0, 0, 681, 441), 0, 0, 200, 120},
            {"SavePicture", rq::qt::PxRect(560, 448, 121, 25), 200, 120, 0, 0},
        };
        for (const auto& c : controls)
            QCOMPARE(w.Find<QWidget>(c.name)->geometry(), c.specified);
        const QSize specified = w.window->size();
        w.window->resize(specified + QSize(200, 120));
        for (const auto& c : controls)
            QTRY_COMPARE(w.Find<QWidget>(c.name)->geometry(), c.specified.adjusted(c.dx, c.dy, c.dx + c.dw, c.dy + c.dh));
        w.window->resize(specified);
        for (const auto& c : controls)
            QTRY_COMPARE(w.Find<QWidget>(c.name)->geometry(), c.specified);
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
