#include "ui/form1.h"

#include "engine/commands.h"
#include "engine/maximise.h"
#include "engine/slider_range.h"
#include "model/arith.h"
#include "model/errors.h"
#include "model/numbers.h"
#include "project/aggregation.h"
#include "project/apply.h"
#include "project/paths.h"
#include "project/reader.h"
#include "project/save.h"
#include "ui/form2.h"
#include "ui/history.h"
#include "ui/status.h"

namespace rq {

namespace {

// The names of steps in the Undo and Redo commands, with the figure as typed
// but grouped as the grids group it.
std::string SetName(const std::string& vts, const std::string& value, const char* unit)
{
    return "Set " + vts + " to " + GroupedNumber(value) + " " + unit;
}

std::string MaximiseName(const std::string& vts, const std::string& others, const char* unit)
{
    return "Maximise " + vts + " with the others at " + GroupedNumber(others) + " " + unit;
}

}  // namespace

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
    errorSource_.clear();
    errorMessage_.clear();
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
        errorMessage_ = ErrorText(e);
        error = WithFullStop(errorMessage_);
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
    const bool read = path && FileExists(*path);
    if (read) {
        s.ProjectPath = *path;
        LoadECL(s, *path, ProcessMessages);
        ProcessLoadedECL(s);
    }
    s.Button1.SetEnabled(false);
    FitPercentSlider();
    if (read)
        ProjectLoaded();
    load.Succeeded();
}

namespace {

// The number boxes as the user finds them: caption, then page.
constexpr const char* kChangeBy = "Change by (Main)";
constexpr const char* kSetBitrate = "Set to kbit (Main)";
constexpr const char* kSetPercentage = "Set to % (Main)";
constexpr const char* kOthersBitrate = "Bitrate to Max: and all others to (Main)";
constexpr const char* kOthersPercentage = "Percentage to Max: and all others to (Main)";
constexpr const char* kMinBitrate = "Min Bitrate (Internal Calculation fields)";
constexpr const char* kMaxBitrate = "Max Bitrate (Internal Calculation fields)";

// The text a conversion error quotes, and whether it was read as a real
// number; nullopt for any other error.
std::optional<std::pair<std::string, bool>> QuotedNumber(const std::string& error)
{
    for (const bool real : {true, false}) {
        const std::string tail = real ? "' is not a valid floating point value" : "' is not a valid integer value";
        if (error.size() >= tail.size() + 1 && error.front() == '\'' &&
            error.compare(error.size() - tail.size(), tail.size(), tail) == 0)
            return std::make_pair(error.substr(1, error.size() - tail.size() - 1), real);
    }
    return std::nullopt;
}

}  // namespace

// The boxes a command reads before the limit correction's: "Min Bitrate" and
// "Max Bitrate" as real numbers, then "Min Bitrate" as a whole number for a
// cut to 100 percent.
std::vector<TForm1::NumberBox> TForm1::WithLimits(std::optional<NumberBox> first) const
{
    std::vector<NumberBox> boxes;
    if (first)
        boxes.push_back(*first);
    boxes.push_back({s.Edit8, kMinBitrate, true, true});
    boxes.push_back({s.Edit9, kMaxBitrate, true, false});
    return boxes;
}

void TForm1::ReadingNumbers(const std::vector<NumberBox>& boxes, const std::function<void()>& command)
{
    try {
        command();
    } catch (const AppError& e) {
        // The first box read that way whose text it quotes: a box read only
        // as a real number cannot have failed as a whole number.
        if (const auto quoted = QuotedNumber(e.Text()))
            for (const NumberBox& b : boxes)
                if ((quoted->second ? b.real : b.whole) && b.box.Text() == quoted->first) {
                    errorSource_ = b.name;
                    break;
                }
        throw;
    }
}

// Each command below reads its boxes and selectors and hands them to its
// operation, as one step of the undo history.

void TForm1::NameStep(std::string name) { history_->NameStep(std::move(name)); }

void TForm1::Button2Click()
{
    const StepScope step(*this);
    NameStep(MaximiseName(s.ComboBox6.Text(), s.Edit11.Text(), "%"));
    ReadingNumbers({{s.Edit11, kOthersPercentage, false, true}, {s.Edit8, kMinBitrate, true, true}},
                   [this] { MaximiseViaPercentage(s, s.ComboBox6.Text(), s.Edit11.Text(), s.Edit8.Text()); });
}

void TForm1::Button3Click()
{
    const StepScope step(*this);
    NameStep("Change " + s.ComboBox1.Text() + " by " + GroupedNumber(s.Edit2.Text()) + " %");
    ReadingNumbers({{s.Edit2, kChangeBy, true, false}, {s.Edit8, kMinBitrate, false, true}},
                   [this] { ChangeByPercentage(s, s.ComboBox1.Text(), s.Edit2.Text()); });
}

void TForm1::Button4Click()
{
    {
        const StepScope step(*this);
        NameStep("Apply Changes");
        ApplyChanges(s);
    }
    history_->MarkApplied();
}

void TForm1::Button5Click()
{
    const StepScope step(*this);
    NameStep(SetName(s.ComboBox3.Text(), s.Edit5.Text(), "kbit/s"));
    ReadingNumbers(WithLimits(NumberBox{s.Edit5, kSetBitrate, true, false}),
                   [this] { SetBitrate(s, s.ComboBox3.Text(), s.Edit5.Text(), LimitsOf(s)); });
}

void TForm1::Button7Click()
{
    rq::SaveProject(s);
    history_->MarkSaved();
}

void TForm1::Button9Click()
{
    const StepScope step(*this);
    NameStep(SetName(s.ComboBox4.Text(), s.Edit1.Text(), "%"));
    ReadingNumbers(WithLimits(NumberBox{s.Edit1, kSetPercentage, true, false}),
                   [this] { SetPercentage(s, s.ComboBox4.Text(), s.Edit1.Text(), LimitsOf(s)); });
}

void TForm1::Button10Click()
{
    const StepScope step(*this);
    NameStep(MaximiseName(s.ComboBox5.Text(), s.Edit7.Text(), "kbit/s"));
    ReadingNumbers({{s.Edit7, kOthersBitrate, false, true}, {s.Edit8, kMinBitrate, true, true}},
                   [this] { MaximiseViaBitrate(s, s.ComboBox5.Text(), s.Edit7.Text(), s.Edit8.Text()); });
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
    NameStep("Choose " + s.ComboBox4.Text());
    ReadingNumbers(WithLimits(), [this] { FitPercentSlider(); });
}

void TForm1::FitPercentSlider()
{
    // Only the user's move of the thumb runs the set-percentage command: the
    // thumb placed here sets nothing, so a load shows the files as they are.
    static_cast<void>(SetTrackBarPercentMinMax(s, s.TrackBar2, s.ComboBox4.Text(), LimitsOf(s)));
}

// A slider move the user makes is a step (a whole drag when grouped).
void TForm1::TrackBar1Change()
{
    const StepScope step(*this);
    NameStep(SetName(s.ComboBox3.Text(), FormatInteger(s.TrackBar1.Position()), "kbit/s"));
    ReadingNumbers(WithLimits(), [this] { FollowBitrateSlider(s, s.ComboBox3.Text(), LimitsOf(s)); });
}

void TForm1::TrackBar2Change()
{
    const StepScope step(*this);
    NameStep(SetName(s.ComboBox4.Text(), FormatGeneral(Div(s.TrackBar2.Position(), 10)), "%"));
    ReadingNumbers(WithLimits(), [this] { FollowPercentSlider(s, s.ComboBox4.Text(), LimitsOf(s)); });
}

void TForm1::UserMoveSlider(TrackBar& slider, int position)
{
    // A click on the thumb, or a key at the end of the range, moves nothing
    // and sets nothing.
    if (!slider.SetPosition(position))
        return;
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
    const StepScope step(*this);
    NameStep((s.CheckListBox1.Checked(entry) ? "Lock " : "Unlock ") + s.CheckListBox1.Text(entry));
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
    saveRefusal_ = rq::SaveRefusal(s.ProjectPath);
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
        errorMessage_ = ErrorText(e);
        if (ShowError)
            ShowError(WithFullStop(errorMessage_));
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
    NameStep("Revert to saved");
    if (history_->RevertToLoaded())
        Touch();
}

void TForm1::BeginStepGroup() { history_->BeginStepGroup(); }

void TForm1::EndStepGroup()
{
    if (history_->EndStepGroup())
        Touch();
}

bool TForm1::HasUnsavedWork() const { return NeedsApply() || history_->TextsDifferFromDisk(); }
bool TForm1::CanSave() const { return !s.ProjectPath.empty() && saveRefusal_.empty() && HasUnsavedWork(); }

std::string TForm1::UndoName() const { return history_->UndoName(); }
std::string TForm1::RedoName() const { return history_->RedoName(); }

std::string TForm1::Caption(const std::string& unsavedMark) const
{
    if (s.ProjectPath.empty())
        return kCaption;
    return FileNameOf(s.ProjectPath) + unsavedMark + " \xE2\x80\x93 " + kCaption;
}
bool TForm1::NeedsApply() const { return history_->NeedsApply(); }

void TForm1::OpenProject(const std::string& path)
{
    if (!FileExists(path))
        throw AppError(IoErrorText(2), path);
    // The project shown stays, history and all, until the new one is in.
    History::Kept kept = history_->Keep();
    const std::string refusal = saveRefusal_;
    try {
        history_->RestoreFresh();
        Touch();
        s.Edit10.SetText(path);
        LoadChosen(path);
    } catch (...) {
        history_->PutBack(std::move(kept));
        saveRefusal_ = refusal;
        Touch();
        throw;
    }
}

}  // namespace rq
