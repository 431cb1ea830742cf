#pragma once
// Shared by the window tests: small projects written on the spot, the
// example project copied aside, the main window with its form, and a user's
// hand on the widgets.
#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QStringList>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/project_text.h"
#include "ui/form1.h"
#include "ui/qt/encoder_dialog.h"
#include "ui/qt/main_window.h"

namespace rq::testing {

struct Segment {
    const char* title;
    const char* bitrate;
    int first;
    int last;
    int rateIndex;  // 1 = 23.97, 3 = 25, 4 = 29.97
    const char* reduction;
};

// Three title sets: v02 has the most frames, v01 the fewest. Two segments of
// v02 lie just below and exactly at 2000 kbit/s.
inline const std::vector<Segment>& SmallProject()
{
    static const std::vector<Segment> segments = {
        {"V01PGC1_0", "2500", 0, 999, 3, "50"},
        {"V02PGC1_0", "1999.9", 0, 4999, 3, "60"},
        {"V02PGC1_1", "2000", 0, 4999, 3, "60"},
        {"V03PGC1_0", "3000", 0, 1999, 3, "70"},
    };
    return segments;
}

inline void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Writes REBUILDER.ECL and REBUILDER.INF for the segments; returns the ECL path.
inline QString WriteProject(const QTemporaryDir& dir, const std::vector<Segment>& segments)
{
    std::string ecl = rqtest::Crlf({"[ECL]", "item_count=" + std::to_string(segments.size())});
    std::string inf = rqtest::Crlf({"[Project]", "version=2"});
    for (const Segment& s : segments) {
        ecl += "\r\n" + rqtest::EclItem(s.title, s.bitrate, s.first, s.last, std::to_string(s.rateIndex));
        inf += "\r\n" + rqtest::InfSection(s.title, s.reduction);
    }
    const QString eclPath = dir.filePath(QStringLiteral("REBUILDER.ECL"));
    WriteFile(eclPath, QByteArray::fromStdString(ecl));
    WriteFile(dir.filePath(QStringLiteral("REBUILDER.INF")), QByteArray::fromStdString(inf));
    return eclPath;
}

// Copies the example project into dir; empty when the example is missing.
inline QString CopyExample(const QTemporaryDir& dir)
{
    const QDir examples(QStringLiteral(RQ_EXAMPLES_DIR));
    for (const char* name : {"REBUILDER.ECL", "REBUILDER.INF"})
        if (!QFile::copy(examples.filePath(QLatin1String(name)), dir.filePath(QLatin1String(name))))
            return {};
    return dir.filePath(QStringLiteral("REBUILDER.ECL"));
}

// Replaces the text of a box the way a user does: select it all, then type.
inline void TypeInto(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Delete);
    else
        QTest::keyClicks(edit, text);
}

inline void TypeInto(QComboBox* selector, const QString& text) { TypeInto(selector->lineEdit(), text); }

inline QStringList Items(const QComboBox* selector)
{
    QStringList items;
    for (int i = 0; i < selector->count(); ++i)
        items << selector->itemText(i);
    return items;
}

inline QString Cell(const QTableView* grid, int row, int col)
{
    return grid->model()->index(row, col).data().toString();
}

inline QStringList Column(const QTableView* grid, int col)
{
    QStringList texts;
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        texts << Cell(grid, r, col);
    return texts;
}

inline QStringList Headers(const QTableView* grid)
{
    QStringList texts;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        texts << grid->model()->headerData(c, Qt::Horizontal).toString();
    return texts;
}

// Once a modal window is up, lets `inspect` look at it, then closes it.
inline void WhenModal(std::function<void(QWidget*)> inspect)
{
    QTimer::singleShot(0, [inspect = std::move(inspect)]() mutable {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) {
            WhenModal(std::move(inspect));
            return;
        }
        inspect(modal);
        modal->close();
    });
}

// The main window over its form: errors are kept instead of shown, and the
// file dialog answers with `chosenFile`, counting how often it was asked.
struct Window {
    rq::TForm1 form;
    std::unique_ptr<rq::qt::MainWindow> window;
    std::vector<std::string> errors;
    int dialogsAsked = 0;
    std::optional<std::string> chosenFile;

    Window()
    {
        window = std::make_unique<rq::qt::MainWindow>(form);
        form.ShowError = [this](const std::string& text) { errors.push_back(text); };
        form.AskOpenFile = [this] {
            ++dialogsAsked;
            return chosenFile;
        };
    }

    rq::qt::EncoderDialog& Dialog() const { return window->Dialog(); }

    // A control of the main window, or else of the encoder dialog.
    template <typename T>
    T* Find(const char* name) const
    {
        T* widget = window->findChild<T*>(QLatin1String(name));
        return widget ? widget : InDialog<T>(name);
    }

    template <typename T>
    T* InDialog(const char* name) const
    {
        return Dialog().findChild<T*>(QLatin1String(name));
    }

    static void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    void Press(const char* button) const { Click(Find<QPushButton>(button)); }

    // Toggles a lock list entry as the user does: select it, press space.
    void ToggleLock(int row) const
    {
        auto* locks = Find<QListView>("CheckListBox1");
        locks->setFocus();
        locks->setCurrentIndex(locks->model()->index(row, 0));
        QTest::keyClick(locks, Qt::Key_Space);
    }

    // Types the path into the project box and presses Load.
    void Load(const QString& path)
    {
        TypeInto(Find<QLineEdit>("Edit10"), path);
        Press("Button1");
    }

    QStringList GridColumn(const char* grid, int col) const { return Column(Find<QTableView>(grid), col); }
};

}  // namespace rq::testing
