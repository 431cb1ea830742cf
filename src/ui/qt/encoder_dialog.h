#pragma once
// The Qt face of the encoder parameter dialog: renders the TForm2 form model.
// Its commands run through the main window, which mirrors both windows after
// each one.
#include <QWidget>
#include <vector>

#include "ui/form2.h"
#include "ui/qt/bindings.h"

namespace rq::qt {

class MainWindow;

class EncoderDialog : public QWidget {
    Q_OBJECT
public:
    EncoderDialog(TForm2& form, MainWindow& main);
    ~EncoderDialog() override;

    TForm2& Form() { return form_; }
    // Mirrors the dialog's controls, its visibility and its stay-on-top kind.
    void SyncFromModel(bool force = false);
    // Shows the dialog as the model wants it and raises it above other windows.
    void BringToFront();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void PlaceBesideMainWindow();
    TForm2& form_;
    MainWindow& main_;
    std::vector<Syncer> syncers_;
    std::vector<QWidget*> commands_;  // enabled once a project is loaded
    bool placed_ = false;
    bool stayOnTop_ = false;
};

}  // namespace rq::qt
