// The encoder parameter dialog as a user meets it: its controls, the three
// commands seen in the item details grid, its lists after a lock, and how it
// is opened, closed and kept on top.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>

#include "model/numbers.h"
#include "qt_test_support.h"
#include "ui/form1.h"
#include "ui/form2.h"
#include "ui/qt/encoder_dialog.h"
#include "ui/qt/look.h"
#include "ui/qt/main_window.h"
#include "ui/qt/widgets.h"

using namespace rq::testing;

namespace {

constexpr int kWidthColumn = 7;
constexpr int kPassesColumn = 8;

// The main window with its encoder dialog shown.
struct Windows : Window {
    Windows() { form.Form2().Show(); }
    QStringList ItemColumn(int col) const { return GridColumn("StringGrid4", col); }
};

}  // namespace

class EncoderDialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { rq::SetNumberSeparators({'.', ','}); }

    void startsWithItsControlsAndOnlyAllInTheLists()
    {
        Windows w;
        rq::qt::EncoderDialog& dialog = w.Dialog();
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("ECL Parameter Modifer"));
        QCOMPARE(dialog.windowOpacity(), 240.0 / 255.0);
        QVERIFY(!(dialog.windowFlags() & Qt::WindowStaysOnTopHint));
        const struct {
            const char* name;
            const char* text;
            QStringList items;
        } selectors[] = {{"ComboBox1", "", {"All"}},
                         {"ComboBox2", "", {"All"}},
                         {"ComboBox3", "Half", {"Full", "Half"}},
                         {"ComboBox4", "5", {"2", "3", "4", "5", "6"}},
                         {"ComboBox5", "5", {"2", "3", "4", "5", "6"}}};
        for (const auto& s : selectors) {
            auto* selector = w.InDialog<QComboBox>(s.name);
            QCOMPARE(selector->currentText(), QLatin1String(s.text));
            QCOMPARE(Items(selector), s.items);
            QVERIFY(selector->isEditable());
        }
        QCOMPARE(w.InDialog<QLineEdit>("Edit3")->text(), QStringLiteral("2000"));
        QCOMPARE(w.InDialog<QPushButton>("Button3")->text(), QStringLiteral("&Close"));
        QCOMPARE(w.InDialog<QPushButton>("Button2")->text(), QStringLiteral("Change"));
    }

    void passesAndWidthReachTheItemDetails()
    {
        QTemporaryDir dir;
        Windows w;
        w.Load(WriteProject(dir, SmallProject()));
        // The aggregation chose the shortest title set for both VTS selectors.
        QCOMPARE(w.InDialog<QComboBox>("ComboBox1")->currentText(), QStringLiteral("v01"));
        QCOMPARE(w.InDialog<QComboBox>("ComboBox2")->currentText(), QStringLiteral("v01"));

        auto* setPasses = w.InDialog<QPushButton>("Button1");
        TypeInto(w.InDialog<QComboBox>("ComboBox1"), QStringLiteral("All"));
        TypeInto(w.InDialog<QComboBox>("ComboBox4"), QStringLiteral("3"));
        w.Click(setPasses);
        QCOMPARE(w.ItemColumn(kPassesColumn), (QStringList{"3", "3", "3", "3"}));

        // Only the exact "All" means every item; confirming the typed text
        // does not turn it into the list's "All".
        TypeInto(w.InDialog<QComboBox>("ComboBox1"), QStringLiteral("all"));
        QTest::keyClick(w.InDialog<QComboBox>("ComboBox1")->lineEdit(), Qt::Key_Return);
        QCOMPARE(w.InDialog<QComboBox>("ComboBox1")->currentText(), QStringLiteral("all"));
        TypeInto(w.InDialog<QComboBox>("ComboBox4"), QStringLiteral("four"));
        w.Click(setPasses);
        QCOMPARE(w.ItemColumn(kPassesColumn), (QStringList{"3", "3", "3", "3"}));

        // A pass count typed as a word is written as typed.
        TypeInto(w.InDialog<QComboBox>("ComboBox1"), QStringLiteral("v03"));
        w.Click(setPasses);
        QCOMPARE(w.ItemColumn(kPassesColumn), (QStringList{"3", "3", "3", "four"}));

        auto* setWidth = w.InDialog<QPushButton>("Button8");
        TypeInto(w.InDialog<QComboBox>("ComboBox2"), QStringLiteral("All"));
        w.Click(setWidth);  // "Half" is the default
        QCOMPARE(w.ItemColumn(kWidthColumn), (QStringList{"Half", "Half", "Half", "Half"}));
        TypeInto(w.InDialog<QComboBox>("ComboBox2"), QStringLiteral("v02"));
        TypeInto(w.InDialog<QComboBox>("ComboBox3"), QStringLiteral("Full"));
        w.Click(setWidth);
        QCOMPARE(w.ItemColumn(kWidthColumn), (QStringList{"Half", "Full", "Full", "Half"}));
        QCOMPARE(w.errors, std::vector<std::string>{});
    }

    void thresholdIsStrictlyBelow_data()
    {
        QTest::addColumn<QString>("threshold");
        QTest::addColumn<QStringList>("passes");
        QTest::addColumn<QString>("error");
        QTest::newRow("2000") << QStringLiteral("2000") << QStringList{"2", "6", "2", "2"} << QString();
        QTest::newRow("2001") << QStringLiteral("2001") << QStringList{"2", "6", "6", "2"} << QString();
        QTest::newRow("2000.5 refused") << QStringLiteral("2000.5") << QStringList{"2", "2", "2", "2"}
                                        << QStringLiteral("'2000.5' is not a valid integer value.");
    }

    void thresholdIsStrictlyBelow()
    {
        QFETCH(QString, threshold);
        QFETCH(QStringList, passes);
        QFETCH(QString, error);
        QTemporaryDir dir;
        Windows w;
        w.Load(WriteProject(dir, SmallProject()));
        TypeInto(w.InDialog<QLineEdit>("Edit3"), threshold);
        TypeInto(w.InDialog<QComboBox>("ComboBox5"), QStringLiteral("6"));
        w.Click(w.InDialog<QPushButton>("Button2"));
        QCOMPARE(w.ItemColumn(kPassesColumn), passes);
        if (error.isEmpty())
            QCOMPARE(w.errors, std::vector<std::string>{});
        else
            QCOMPARE(w.errors, std::vector<std::string>{error.toStdString()});
    }

    void opensBesideTheMainWindowAndWaitsForAProject()
    {
        // Its first appearance goes beside the main window, on the side with
        // room, and stays on the screen.
        for (const bool left : {false, true}) {
            Window placed;
            const QRect screen = placed.window->screen()->availableGeometry();
            placed.window->move(left ? screen.right() - placed.window->width() - 40 : screen.left() + 40, 40);
            placed.window->RunCommand([&] { placed.form.Form2().Show(); });
            const QRect dialog = placed.Dialog().frameGeometry();
            const QRect main = placed.window->frameGeometry();
            QVERIFY(screen.contains(dialog));
            QCOMPARE(dialog.top(), main.top());
            // A screen too small for both (Qt's offscreen default under Wine)
            // leaves it over the main window; ctest gives this test a desktop.
            const int room = left ? main.left() - screen.left() : screen.right() - main.right();
            if (room >= dialog.width() + rq::qt::Px(8))
                QVERIFY2(left ? dialog.right() < main.left() : dialog.left() > main.right(),
                         qPrintable(QStringLiteral("dialog at %1,%2").arg(dialog.x()).arg(dialog.y())));
            // Just room enough on the right is room enough.
            if (left && room >= dialog.width() + rq::qt::Px(8)) {
                Window fit;
                fit.window->move(screen.right() + 1 - rq::qt::Px(8) - dialog.width() - fit.window->frameGeometry().width(), 40);
                fit.window->RunCommand([&] { fit.form.Form2().Show(); });
                QCOMPARE(fit.Dialog().frameGeometry().left(), fit.window->frameGeometry().right() + 1 + rq::qt::Px(8));
            }
        }

        QTemporaryDir dir;
        Windows w;
        // Without a project its commands are disabled; a load enables them,
        // and each says what came of it.
        const char* commands[] = {"Button8", "Button1", "Button2"};
        for (const char* name : commands)
            QVERIFY(!w.InDialog<QPushButton>(name)->isEnabled());
        QVERIFY(w.InDialog<QPushButton>("Button3")->isEnabled());
        w.Load(WriteProject(dir, SmallProject()));
        for (const char* name : commands)
            QVERIFY(w.InDialog<QPushButton>(name)->isEnabled());
        TypeInto(w.InDialog<QComboBox>("ComboBox1"), QStringLiteral("v02"));
        TypeInto(w.InDialog<QComboBox>("ComboBox4"), QStringLiteral("3"));
        w.Click(w.InDialog<QPushButton>("Button1"));
        auto* status = w.Find<rq::qt::StatusLabel>("StatusMessage");
        QCOMPARE(status->FullText(), QStringLiteral("v02: 2 segments at 3 passes (2 changed)"));
        TypeInto(w.InDialog<QLineEdit>("Edit3"), QStringLiteral("2OOO"));
        w.Click(w.InDialog<QPushButton>("Button2"));
        QCOMPARE(w.errors, std::vector<std::string>{"'2OOO' is not a valid integer value."});
        QCOMPARE(status->FullText(),
                 QStringLiteral("Bitrates below (ECL Parameter Modifer): '2OOO' is not a valid integer value."));
    }

    void closeHidesAndReopeningRebuildsTheLists()
    {
        QTemporaryDir dir;
        Windows w;
        w.Load(WriteProject(dir, SmallProject()));
        auto* pages = w.Find<QTabWidget>("PageControl1");
        // The dialog was open before the load: it follows the project.
        QCOMPARE(Items(w.InDialog<QComboBox>("ComboBox1")), (QStringList{"All", "v01", "v02", "v03"}));
        w.Click(w.InDialog<QPushButton>("Button3"));
        w.Press("Button11");
        QCOMPARE(Items(w.InDialog<QComboBox>("ComboBox1")), (QStringList{"All", "v01", "v02", "v03"}));

        // Lock v01 in the main window; the open dialog follows the lock list...
        w.ToggleLock(0);
        QCOMPARE(Items(w.InDialog<QComboBox>("ComboBox2")), (QStringList{"All", "v02", "v03"}));

        // ... "&Close" hides it and shows the "Main" page ...
        pages->setCurrentIndex(2);
        w.Click(w.InDialog<QPushButton>("Button3"));
        QVERIFY(!w.Dialog().isVisible());
        QCOMPARE(pages->currentIndex(), 0);

        // ... and "Modify CCE Encoding Parameters" shows "VTS Details" and
        // the dialog on top, its lists without the locked title set.
        w.Press("Button11");
        QCOMPARE(pages->currentIndex(), 1);
        QVERIFY(w.Dialog().isVisible());
        QVERIFY(w.Dialog().windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(w.form.Form2().StayOnTop());
        QCOMPARE(Items(w.InDialog<QComboBox>("ComboBox1")), (QStringList{"All", "v02", "v03"}));
        QCOMPARE(Items(w.InDialog<QComboBox>("ComboBox2")), (QStringList{"All", "v02", "v03"}));
        // The selectors' texts are not touched by the rebuild.
        QCOMPARE(w.InDialog<QComboBox>("ComboBox1")->currentText(), QStringLiteral("v01"));
    }

    void closeBoxHidesWithoutSwitchingPages()
    {
        Windows w;
        auto* pages = w.Find<QTabWidget>("PageControl1");
        pages->setCurrentIndex(3);
        QVERIFY(w.Dialog().close());
        QVERIFY(!w.Dialog().isVisible());
        QVERIFY(!w.form.Form2().Visible());
        QCOMPARE(pages->currentIndex(), 3);
        QCOMPARE(w.form.PageIndex(), 3);
        // The model shows it again: the window follows.
        w.window->RunCommand([&] { w.form.Form2().Show(); });
        QVERIFY(w.Dialog().isVisible());
    }
};

QTEST_MAIN(EncoderDialogTest)
#include "encoder_dialog_test.moc"
