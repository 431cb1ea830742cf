#pragma once
// The Qt face of the main window: renders the TForm1 form model and forwards
// clicks, typing and drags to its handlers. Around the pages it adds a menu
// bar (another project, save, undo and redo) and a status bar that says what
// the last command did.
#include <QMainWindow>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/form1.h"
#include "ui/status.h"

namespace rq::qt {

class EncoderDialog;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Builds every page and control, creates the encoder parameter dialog and
    // installs the window services of the form (error box, message box,
    // file-open dialog, pending-event processing, visibility, termination).
    explicit MainWindow(TForm1& form, QWidget* parent = nullptr);
    ~MainWindow() override;

    TForm1& Form() { return form_; }
    EncoderDialog& Dialog();

    // Mirrors the form model into the widgets; runs once at the end of every
    // command, so a command that refreshes the views many times repaints once.
    void SyncFromModel();
    // Runs a user command through the form and then mirrors the result. A
    // command asked for while another runs (a click during a long load, which
    // lets pending events through) is refused. Returns false when the command
    // failed or was refused.
    bool RunCommand(const std::function<void()>& command);
    // A command that says in the status bar what came of it (run it with RunCommand).
    std::function<void()> Described(Step step, std::function<void()> handler);

    // Closes the current project (asking about unsaved work) and opens the
    // project at path from a fresh state. Returns false when the user kept
    // the current project or the load failed.
    bool OpenProject(const QString& path);
    // Asks "Save changes to ... before closing?" when there is unsaved work;
    // Save applies the changes first when needed, then saves. Returns true
    // when the caller may go on: nothing to save, saved, or discarded.
    bool ConfirmUnsavedWork();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // An .ECL or .INF file dropped on the window opens as the project; the
    // name of a file that does not exist goes into the file-name box.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    struct Impl;
    TForm1& form_;
    Impl* d_;
};

// The project to open when the program's only argument is a plain path (as a
// desktop entry or a file manager passes it) rather than a batch option.
std::optional<QString> ProjectPathArgument(const std::vector<std::string>& args);

}  // namespace rq::qt
