// Running a command: one at a time (the busy guard), its error in the
// error box, and what the status bar says of it.
#include "ui/qt/main_window_impl.h"

namespace rq::qt {

CommandRunner MainWindow::Impl::Runner()
{
    return [this](const std::function<void()>& command) { q.RunCommand(command); };
}

// A command that says what came of it in the status bar once it succeeded.
std::function<void()> MainWindow::Impl::Described(Step step, std::function<void()> handler)
{
    return [this, step, handler = std::move(handler)] {
        const StatusBefore before = StatusBeforeOf(s);
        handler();
        message = ResultText(before, s, step, &form.Form2().Controls());
    };
}

std::function<void()> MainWindow::Impl::Failing(std::function<std::string()> what, std::function<void()> handler)
{
    return [this, what = std::move(what), handler = std::move(handler)] {
        try {
            handler();
        } catch (...) {
            failingIn = what();
            throw;
        }
    };
}

std::function<void()> MainWindow::Described(Step step, std::function<void()> handler)
{
    return d_->Described(step, std::move(handler));
}

// Saves the project and names the files written and kept.
std::function<void()> MainWindow::Impl::SaveCommand()
{
    return Failing([this] { return "Could not save " + s.ProjectPath; },
                   [this] {
                       const SaveFiles before = SaveFilesOf(s.ProjectPath);
                       form.Button7Click();
                       message = SavedText(before, SaveFilesOf(s.ProjectPath));
                   });
}

void MainWindow::Impl::SayFailure()
{
    const std::string& box = form.ErrorSource();
    message = FailureText(box.empty() ? failingIn : box, form.ErrorMessage(), form.ErrorPlace());
}

bool MainWindow::Impl::SaveWork()
{
    if (form.NeedsApply() && !q.RunCommand([this] { form.Button4Click(); }))
        return false;
    return q.RunCommand(SaveCommand());
}

void MainWindow::Impl::ChooseProject()
{
    if (Busy())
        return;
    if (!form.AskOpenFile)
        return;
    if (const std::optional<std::string> chosen = form.AskOpenFile())
        q.OpenProject(ToQt(*chosen));
}

bool MainWindow::RunCommand(const std::function<void()>& command)
{
    if (d_->Busy()) {
        d_->refused = true;
        d_->lastOk = false;
        return false;
    }
    struct Guard {
        int& depth;
        explicit Guard(int& d) : depth(d) { ++depth; }
        ~Guard() { --depth; }
        Guard(const Guard&) = delete;
        Guard& operator=(const Guard&) = delete;
    };
    d_->failingIn.clear();
    {
        const Guard guard(d_->running);
        d_->lastOk = form_.Run(command);
    }
    // A failed command leaves a state of its own: the message of the one
    // before no longer describes it; what failed, and where, does. (The
    // batch job shows its own errors and still ends as a command.)
    if (!d_->lastOk || !form_.ErrorMessage().empty())
        d_->SayFailure();
    d_->Sync(std::exchange(d_->refused, false));
    return d_->lastOk;
}

bool MainWindow::ConfirmUnsavedWork()
{
    if (!form_.HasUnsavedWork())
        return true;
    const std::string& path = form_.s.ProjectPath;
    QMessageBox box(QMessageBox::Question, QString::fromUtf8(TForm1::kAppTitle),
                    QStringLiteral("Save changes to %1 before closing?")
                        .arg(path.empty() ? QStringLiteral("the project") : ToQt(path)),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setObjectName(QStringLiteral("SaveChangesBox"));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Discard: return true;
    case QMessageBox::Save:
        // Changes not applied yet are part of the work: apply, then save.
        return d_->SaveWork();
    default: return false;
    }
}

bool MainWindow::OpenProject(const QString& path)
{
    if (d_->Busy()) {
        d_->refused = true;
        return false;
    }
    if (!ConfirmUnsavedWork())
        return false;
    const std::string p = ToStd(path);
    return RunCommand(d_->Failing([p] { return "Could not open " + p; }, [this, p] { form_.OpenProject(p); }));
}

}  // namespace rq::qt
