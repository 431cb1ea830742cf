#pragma once
// What the main window's parts share: the window's state (MainWindow::Impl),
// built by the layout, the pages and the menus, and used by the command runner.
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
#include "project/paths.h"
#include "project/reader.h"
#include "ui/batch_job.h"
#include "ui/form2.h"
#include "ui/status.h"
#include "ui/qt/about.h"
#include "ui/qt/bindings.h"
#include "ui/qt/control_models.h"
#include "ui/qt/encoder_dialog.h"
#include "ui/qt/look.h"
#include "ui/qt/widgets.h"
#include "views/grid_views.h"

namespace rq::qt {

class DiscPictureWidget;

// How far a control moves or grows when the window is larger than its
// specified size: not at all, by half the extra room, by all of it, or by the
// other half (so that two controls side by side share the room exactly).
enum Share { kNone, kHalf, kAll, kOtherHalf };

inline int Part(int extra, Share share)
{
    switch (share) {
    case kNone: return 0;
    case kHalf: return extra / 2;
    case kAll: return extra;
    case kOtherHalf: return extra - extra / 2;
    }
    return 0;
}

// Marks a box whose typing runs a command: Ctrl+Z there is the project's undo.
inline constexpr const char* kTypingIsSteps = "rqTypingIsSteps";

// The window's client area at its specified size, in 96 dpi pixels.
constexpr int kClientWidth = 721;
constexpr int kClientHeight = 551;

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
    StatusLabel* statusMessage = nullptr;
    QLabel* statusTotals = nullptr;
    std::string message;       // what the last command did
    std::string failingIn;     // the command that failed, when no box is to blame
    double loadedTotal = 0;    // the total size as the project was loaded
    std::optional<StatusBefore> loaded;  // the figures as the project was loaded
    bool projectLoaded = false;
    QAction* saveAction = nullptr;
    QPushButton* saveButton = nullptr;
    QAction* revertAction = nullptr;
    QAction* undoAction = nullptr;
    QAction* redoAction = nullptr;
    std::vector<Syncer> syncers;
    std::vector<TextGridModel*> grids;
    // A grid's columns at the specified size; a wider grid shares its extra
    // width among them in proportion.
    struct Columns {
        QTableView* view;
        int baseWidth;
        std::vector<int> widths;
    };
    std::vector<Columns> columnSets;
    std::vector<TextListModel*> lists;
    CheckListModel* locks = nullptr;
    std::vector<TrackBarWidget*> sliders;
    std::unique_ptr<EncoderDialog> dialog;
    DiscPictureWidget* discPicture = nullptr;
    QPushButton* savePicture = nullptr;
    QTimer timer1;
    int running = 0;
    // User input arrived while a command ran and was refused: the widgets that
    // hold their own state (selectors, sliders) are mirrored again afterwards.
    bool refused = false;
    bool shownBefore = false;
    bool lastOk = false;  // the last command ran to its end
    std::uint64_t formSeen = 0;

    // One command at a time: none runs while another does, nor while a load
    // lets the window's events through.
    bool Busy() const { return running > 0 || form.Busy(); }

    CommandRunner Runner();

    void Sync(bool force);

    void SyncActions();

    void ShowStatus();
    // The failure of the command that ran last: what failed, the error box's
    // text and where it was found.
    void SayFailure();
    // After the start-up timer's run: what a whole batch job left in the window.
    void DescribeBatchJob();

    // A command that says what came of it in the status bar once it succeeded.
    std::function<void()> Described(Step step, std::function<void()> handler);
    // A command whose failure the status bar puts down to `what` ("Could not
    // save /discs/FILM/REBUILDER.ECL"), worked out when it fails.
    std::function<void()> Failing(std::function<std::string()> what, std::function<void()> handler);

    // Saves the project and names the files written and kept.
    std::function<void()> SaveCommand();
    // Applies when needed, then saves, each as a command; false when either failed.
    bool SaveWork();

    void Anchored(QWidget* widget, Share moveX, Share moveY, Share growW = kNone, Share growH = kNone);

    // At the specified size every control is where it was built; a larger
    // window gives the grids, the lock list and the text buffers more room.
    void Relayout();

    // Return in a number box runs the command beside it. The typing it used
    // is then no longer the box's own to undo: Ctrl+Z undoes the command.
    static void ReturnRuns(QLineEdit* edit, QPushButton* button);

    void ChooseProject();

    void BuildMenus();
    void BuildStatusBar();

    QWidget* AddPage(const char* name, const char* caption);

    QPushButton* AddButton(QWidget* parent, const char* name, const Button& model, QRect r, std::function<void()> handler, char mnemonic = 0);

    QLineEdit* AddEdit(QWidget* parent, const char* name, EditBox& model, QRect r);

    QComboBox* AddSelector(QWidget* parent, const char* name, ComboBox& model, QRect r);

    QLabel* AddLabel(QWidget* parent, const char* name, const Label& model, int x, int y);

    TrackBarWidget* AddTrackBar(QWidget* parent, const char* name, TrackBar& model, QRect r, Step step);

    QTableView* AddGrid(QWidget* parent, const char* name, const TextGrid& grid, int shownColumns, QRect r, const std::vector<int>& widths, bool fixedPitch);

    QListView* AddList(QWidget* parent, const char* name, const TextList& list, QRect r);

    void BuildMainPage(QWidget* page);
    void BuildDetailsPage(QWidget* page);
    void BuildInternalPage(QWidget* page);
    void BuildFilesPage(QWidget* page);
    void BuildDiscPage(QWidget* page);
    void SyncDiscPage();
    // Asks where, then writes the picture as PNG, whole or not at all.
    void SavePicture();
    void BuildAboutPage(QWidget* page);
    void InstallServices();
    std::optional<std::string> AskOpenFile();
};

}  // namespace rq::qt
