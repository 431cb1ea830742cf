#pragma once
// The Qt face of the main window: renders the TForm1 form model and forwards
// clicks, typing and drags to its handlers.
#include <QWidget>
#include <functional>

#include "ui/form1.h"

namespace rq::qt {

class EncoderDialog;

class MainWindow : public QWidget {
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
    // lets pending events through) is refused.
    void RunCommand(const std::function<void()>& command);

protected:
    void showEvent(QShowEvent* event) override;
    // An .ECL or .INF file dropped on the window goes into the file-name box.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    struct Impl;
    TForm1& form_;
    Impl* d_;
};

}  // namespace rq::qt
