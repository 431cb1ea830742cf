// The item models behind the grids, the file texts and the lock list, checked
// by Qt's own model tester while projects load, fail to load and change:
// every row insertion and removal is announced and matches the count a view
// reads, and cells read between two syncs stay in bounds.
#include <QAbstractItemModelTester>
#include <QCoreApplication>
#include <memory>

#include "qt_test_support.h"
#include "ui/form1.h"
#include "views/grid_views.h"
#include "ui/qt/control_models.h"

using namespace rq::testing;
using rq::qt::CheckListModel;
using rq::qt::TextGridModel;
using rq::qt::TextListModel;

namespace {

struct Models {
    rq::TForm1 form;
    TextGridModel items{form.s.StringGrid1, 10};
    TextGridModel titleSets{form.s.StringGrid3, 5, [this] { rq::WritePendingView(form.s, form.s.StringGrid3); }};
    TextListModel ecl{form.s.ListBox1};
    TextListModel inf{form.s.ListBox2};
    CheckListModel locks{form.s.CheckListBox1, [this](int row) {
                             form.Run([this, row] { form.UserToggleLock(row); });
                         }};
    std::vector<std::unique_ptr<QAbstractItemModelTester>> testers;
    int repaints = 0;
    QStringList errors;

    Models()
    {
        for (QAbstractItemModel* m : All())
            testers.push_back(std::make_unique<QAbstractItemModelTester>(
                m, QAbstractItemModelTester::FailureReportingMode::QtTest));
        // As the window does: a long load lets views repaint from the row
        // counts of the last sync, and an error box comes after a sync.
        form.ProcessMessages = [this] { Repaint(); };
        form.ShowError = [this](const std::string& text) {
            Sync();
            errors << QString::fromStdString(text);
        };
    }

    std::vector<QAbstractItemModel*> All() { return {&items, &titleSets, &ecl, &inf, &locks}; }

    void Sync()
    {
        items.Sync();
        titleSets.Sync();
        ecl.Sync();
        inf.Sync();
        locks.Sync();
    }

    // Reads every cell a view would paint.
    void Repaint()
    {
        ++repaints;
        for (QAbstractItemModel* m : All())
            for (int r = 0; r < m->rowCount(); ++r)
                for (int c = 0; c < m->columnCount(); ++c) {
                    m->index(r, c).data(Qt::DisplayRole);
                    m->index(r, c).data(Qt::CheckStateRole);
                }
    }

    void Load(const QString& path)
    {
        form.s.Edit10.SetText(path.toStdString());
        form.Run([this] { form.Button1Click(); });
        Sync();
    }

    QList<int> Rows()
    {
        return {items.rowCount(), titleSets.rowCount(), ecl.rowCount(), inf.rowCount(), locks.rowCount()};
    }
};

}  // namespace

class TableModelsTest : public QObject {
    Q_OBJECT

private slots:
    // Row counts: segments, title sets, ECL lines, INF lines, lock entries.
    // The file texts are replaced by each load; the grids and the lock list
    // keep the rows they had.
    void rowsFollowEachLoad()
    {
        QTemporaryDir small, one, example;
        const QString smallPath = WriteProject(small, SmallProject());
        const QString onePath = WriteProject(one, {{"V01PGC1_0", "2500", 0, 999, 3, "50"}});
        const QString examplePath = CopyExample(example);
        QVERIFY(!examplePath.isEmpty());

        Models m;
        // Before a load each grid shows its one empty row.
        QCOMPARE(m.Rows(), (QList<int>{1, 1, 0, 0, 0}));
        // Four segments in three title sets; the ECL holds 2 + 4 x 9 lines, the INF 2 + 4 x 3.
        m.Load(smallPath);
        QCOMPARE(m.Rows(), (QList<int>{4, 3, 38, 14, 3}));
        m.Load(onePath);
        QCOMPARE(m.Rows(), (QList<int>{4, 3, 11, 5, 3}));
        // 57 segments in 6 title sets; the views repainted while it loaded.
        m.Load(examplePath);
        QCOMPARE(m.Rows(), (QList<int>{57, 6, 1263, 465, 6}));
        QVERIFY(m.repaints > 0);
        m.Load(smallPath);
        QCOMPARE(m.Rows(), (QList<int>{57, 6, 38, 14, 6}));
    }

    // The window syncs before it shows the error box: the views get the
    // texts as far as the load read them, 2 + 2 x 9 and 2 + 2 x 3 lines.
    void failedLoadShowsWhatItRead()
    {
        QTemporaryDir first, bad;
        const QString firstPath = WriteProject(first, SmallProject());
        // The second item's title names no title set.
        const QString badPath =
            WriteProject(bad, {{"V01PGC1_0", "2500", 0, 999, 3, "50"}, {"XYZ", "2500", 0, 999, 3, "50"}});
        Models m;
        m.Load(firstPath);
        m.Load(badPath);
        QCOMPARE(m.errors, (QStringList{QStringLiteral("'yz' is not a valid integer value.")}));
        QCOMPARE(m.Rows(), (QList<int>{4, 3, 20, 8, 3}));
    }

    void lockAndApplyChangeCellsNotRows()
    {
        QTemporaryDir dir;
        const QString path = WriteProject(dir, SmallProject());
        Models m;
        m.Load(path);
        QVERIFY(m.locks.setData(m.locks.index(1), Qt::Checked, Qt::CheckStateRole));
        m.Sync();
        QCOMPARE(m.locks.index(1).data(Qt::CheckStateRole).toInt(), static_cast<int>(Qt::Checked));
        m.form.s.ComboBox1.SetText("v01");
        QVERIFY(m.form.Run([&] {
            m.form.Button3Click();
            m.form.Button4Click();
        }));
        m.Sync();
        QCOMPARE(m.Rows(), (QList<int>{4, 3, 38, 14, 3}));
    }
};

QTEST_GUILESS_MAIN(TableModelsTest)
#include "table_models_test.moc"
