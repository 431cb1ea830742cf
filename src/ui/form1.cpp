#include "ui/form1.h"

#include "engine/commands.h"
#include "engine/maximise.h"
#include "engine/slider_range.h"
#include "model/errors.h"
#include "project/aggregation.h"
#include "project/apply.h"
#include "project/paths.h"
#include "project/reader.h"
#include "project/save.h"
#include "ui/form2.h"
#include "ui/history.h"

namespace rq {

TForm1::TForm1() : form2_(std::make_unique<TForm2>(*this))
{
    history_ = std::make_unique<History>(s, form2_->Controls());
}

TForm1::~TForm1() = default;

void TForm1::SetPageIndex(int page)
{
    if (page < 0 || page > kAboutPage || page == pageIndex_)
        return;
    pageIndex_ = page;
    Touch();
}

void TForm1::Show()
{
    if (visible_)
        return;
    visible_ = true;
    Touch();
    if (OnVisibilityChanged)
        OnVisibilityChanged();
    FormShow();
}

void TForm1::Hide()
{
    if (!visible_)
        return;
    visible_ = false;
    Touch();
    if (OnVisibilityChanged)
        OnVisibilityChanged();
}

bool TForm1::Run(const std::function<void()>& command)
{
    errorFile_.clear();
    errorPlace_.clear();
    // Commands never overlap: a click that arrives while a load processes
    // pending events is refused.
    if (busy_ > 0)
        return false;
    ++busy_;
    std::optional<std::string> error;
    try {
        // Whatever the command changed is one step, its partial state after an
        // error too; the step is recorded before the error box opens.
        const StepScope step(*this);
        command();
    } catch (const std::exception& e) {
        error = WithFullStop(ErrorText(e));
        errorFile_ = rq::ErrorFile(e);
        errorPlace_ = ErrorPlaceText(e);
    }
    --busy_;
    if (!error)
        return true;
    if (ShowError)
        ShowError(*error);
    return false;
}

void TForm1::Button1Click()
{
    std::optional<std::string> path;
    if (FileExists(s.Edit10.Text())) {
        path = s.Edit10.Text();
    } else if (AskOpenFile) {
        if (std::optional<std::string> chosen = AskOpenFile()) {
            s.Edit10.SetText(*chosen);
            path = s.Edit10.Text();
        }
    }
    LoadChosen(path);
}

void TForm1::LoadChosen(const std::optional<std::string>& path)
{
    // A load is no step: it starts a new history.
    LoadScope load(*history_);
    if (path && FileExists(*path)) {
        s.ProjectPath = *path;
        LoadECL(s, *path, ProcessMessages);
        ProcessLoadedECL(s);
        ProjectLoaded();
    }
    s.Button1.SetEnabled(false);
    FollowPlacedPercentSlider(SetTrackBarPercentMinMax(s, s.TrackBar2, s.ComboBox4.Text(), LimitsOf(s)));
    load.Succeeded();
}

// Each command below reads its boxes and selectors and hands them to its
// operation, as one step of the undo history.

void TForm1::Button2Click()
{
    const StepScope step(*this);
    MaximiseViaPercentage(s, s.ComboBox6.Text(), s.Edit11.Text(), s.Edit8.Text());
}

void TForm1::Button3Click()
{
    const StepScope step(*this);
    ChangeByPercentage(s, s.ComboBox1.Text(), s.Edit2.Text());
}

void TForm1::Button4Click()
{
    {
        const StepScope step(*this);
        ApplyChanges(s);
    }
    history_->MarkApplied();
}

void TForm1::Button5Click()
{
    const StepScope step(*this);
    SetBitrate(s, s.ComboBox3.Text(), s.Edit5.Text(), LimitsOf(s));
}

void TForm1::Button7Click() { rq::SaveProject(s); }

void TForm1::Button9Click()
{
    const StepScope step(*this);
    SetPercentage(s, s.ComboBox4.Text(), s.Edit1.Text(), LimitsOf(s));
}

void TForm1::Button10Click()
{
    const StepScope step(*this);
    MaximiseViaBitrate(s, s.ComboBox5.Text(), s.Edit7.Text(), s.Edit8.Text());
}

void TForm1::Button11Click()
{
    SetPageIndex(1);
    form2_->Show();
    form2_->MakeStayOnTop();
}

void TForm1::ComboBox4Change()
{
    const StepScope step(*this);
    FollowPlacedPercentSlider(SetTrackBarPercentMinMax(s, s.TrackBar2, s.ComboBox4.Text(), LimitsOf(s)));
}

void TForm1::FollowPlacedPercentSlider(bool moved)
{
    if (moved)
        TrackBar2Change();
}

// A slider move the user makes is a step (a whole drag when grouped).
void TForm1::TrackBar1Change()
{
    const StepScope step(*this);
    FollowBitrateSlider(s, s.ComboBox3.Text(), LimitsOf(s));
}

void TForm1::TrackBar2Change()
{
    const StepScope step(*this);
    FollowPercentSlider(s, s.ComboBox4.Text(), LimitsOf(s));
}

void TForm1::UserMoveSlider(TrackBar& slider, int position)
{
    if (!slider.SetPosition(position))
        return;
    UserEndScroll(slider);
}

void TForm1::UserEndScroll(TrackBar& slider)
{
    if (&slider == &s.TrackBar1)
        TrackBar1Change();
    else if (&slider == &s.TrackBar2)
        TrackBar2Change();
}

void TForm1::UserSetSelectorText(ComboBox& selector, std::string text)
{
    selector.SetText(std::move(text));
    if (&selector == &s.ComboBox4)
        ComboBox4Change();
}

void TForm1::UserToggleLock(int entry)
{
    if (entry < 0 || entry >= s.CheckListBox1.Count())
        return;
    s.CheckListBox1.SetChecked(entry, !s.CheckListBox1.Checked(entry));
    CheckListBox1ClickCheck();
}

void TForm1::CheckListBox1ClickCheck()
{
    // The check mark itself changed before this runs: only a click run as a
    // command (which the window does) has it in its step.
    const StepScope step(*this);
    ComboBox* selectors[] = {&s.ComboBox1, &s.ComboBox3, &s.ComboBox4, &s.ComboBox5, &s.ComboBox6};
    std::string remembered[5];
    for (int i = 0; i < 5; ++i) {
        remembered[i] = selectors[i]->Text();
        selectors[i]->Clear();
    }
    const CheckList& locks = s.CheckListBox1;
    for (int e = 0; e < locks.Count(); ++e)
        if (!locks.Checked(e))
            for (ComboBox* c : selectors)
                c->AddItem(locks.Text(e));

    // The fallback is the longest title set, locked or not.
    std::string fallback;
    std::int32_t most = 0;
    for (int k = 1; k <= s.VTSRangeEnd(); ++k) {
        const TVTSData& v = s.VTSData[static_cast<size_t>(k)];
        if (v.Frames > most) {
            most = v.Frames;
            fallback = v.Name;
        }
    }
    for (int i = 0; i < 5; ++i) {
        for (int e = 0; e < locks.Count(); ++e)
            if (!locks.Checked(e) && locks.Text(e) == remembered[i]) {
                selectors[i]->SetText(remembered[i]);
                break;
            }
        if (selectors[i]->Text().empty())
            selectors[i]->SetText(fallback);
    }
    RefreshDialogLists();
}

void TForm1::LoadForBatch(const std::string& path)
{
    LoadScope load(*history_);
    s.Edit10.SetText(path);
    s.ProjectPath = path;
    LoadECL(s, path, ProcessMessages);
    ProjectLoaded();
    load.Succeeded();
}

void TForm1::ProjectLoaded()
{
    RefreshDialogLists();
    if (OnProjectLoaded)
        OnProjectLoaded();
}

void TForm1::RefreshDialogLists()
{
    if (form2_->Visible())
        form2_->RefreshLists();
}

void TForm1::FormShow()
{
    timer1Enabled_ = true;
    Touch();
}

void TForm1::Timer1Timer()
{
    timer1Enabled_ = false;
    Touch();
    if (batchDone_)
        return;
    batchDone_ = true;
    batch_ = BatchSettings{};
    if (Arguments.empty())
        return;
    try {
        batch_ = ParseBatchArguments(Arguments, [this] { Hide(); });
        // A job that ends the program has nobody to undo anything.
        if (batch_.AutoExit || (batch_.NoGui && batch_.AutoSave))
            history_->SetRecording(false);
        const BatchOutcome outcome = RunBatchJob(batch_);
        if (outcome == BatchOutcome::MissingProject)
            batchExitCode_ = 1;
        if (outcome != BatchOutcome::Done)
            batch_.AutoSave = false;
        // A hidden window comes back unless the job saved the project.
        if (!batch_.AutoSave && batch_.NoGui) {
            Show();
            batch_.NoGui = false;
        }
        if ((batch_.NoGui || batch_.AutoExit) && Terminate)
            Terminate(batchExitCode_);
    } catch (const std::exception& e) {
        history_->SetRecording(true);
        batchExitCode_ = 1;
        errorFile_ = rq::ErrorFile(e);
        errorPlace_ = ErrorPlaceText(e);
        if (ShowError)
            ShowError(WithFullStop(ErrorText(e)));
        // Nobody could end a program whose only window is hidden.
        if (!visible_ && Terminate)
            Terminate(1);
    }
}

bool TForm1::CanUndo() const { return history_->CanUndo(); }
bool TForm1::CanRedo() const { return history_->CanRedo(); }
bool TForm1::CanRevert() const { return history_->CanRevert(); }

void TForm1::Undo()
{
    if (history_->Undo())
        Touch();
}

void TForm1::Redo()
{
    if (history_->Redo())
        Touch();
}

void TForm1::RevertToLoaded()
{
    if (history_->RevertToLoaded())
        Touch();
}

void TForm1::BeginStepGroup() { history_->BeginStepGroup(); }

void TForm1::EndStepGroup()
{
    if (history_->EndStepGroup())
        Touch();
}

bool TForm1::HasUnsavedWork() const { return s.Button7.Enabled() || NeedsApply(); }
bool TForm1::NeedsApply() const { return history_->NeedsApply(); }

void TForm1::OpenProject(const std::string& path)
{
    if (!FileExists(path))
        throw AppError(IoErrorText(2), path);
    history_->RestoreFresh();
    Touch();
    s.Edit10.SetText(path);
    LoadChosen(path);
}

}  // namespace rq
