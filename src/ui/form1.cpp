#include "ui/form1.h"

#include "engine/commands.h"
#include "engine/maximise.h"
#include "engine/slider_range.h"
#include "model/errors.h"
#include "project/aggregation.h"
#include "project/apply.h"
#include "project/reader.h"
#include "project/save.h"
#include "ui/form2.h"

namespace rq {

namespace {
constexpr const char* kMissingProject = "ECL File not found or no ECL= specified on commandline";
}

TForm1::TForm1() : form2_(std::make_unique<TForm2>(*this))
{
    ConnectEngineHandlers(s);
    s.ComboBox4.OnChange = [this] { ComboBox4Change(); };
    s.CheckListBox1.OnClickCheck = [this] { CheckListBox1ClickCheck(); };
}

TForm1::~TForm1() = default;

void TForm1::SetPageIndex(int page)
{
    if (page < 0 || page > 4 || page == pageIndex_)
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
    // Commands never overlap: a click that arrives while a load processes
    // pending events is refused.
    if (busy_ > 0)
        return false;
    ++busy_;
    try {
        command();
        --busy_;
        return true;
    } catch (const AppError& e) {
        --busy_;
        if (ShowError)
            ShowError(WithFullStop(ErrorText(e)));
    } catch (const std::exception& e) {
        --busy_;
        if (ShowError)
            ShowError(WithFullStop(ErrorText(e)));
    }
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
    if (path && FileExists(*path)) {
        s.ProjectPath = *path;
        LoadECL(s, *path);
        ProcessLoadedECL(s);
        ProjectLoaded();
    }
    s.Button1.SetEnabled(false);
    SetTrackBarPercentMinMax(s, s.TrackBar2, s.ComboBox4.Text());
}

void TForm1::Button2Click() { rq::MaximiseViaPercentage(s); }
void TForm1::Button3Click() { rq::ChangeByPercentage(s); }
void TForm1::Button4Click() { rq::ApplyChanges(s); }
void TForm1::Button5Click() { rq::SetBitrate(s); }
void TForm1::Button7Click() { rq::SaveProject(s); }
void TForm1::Button9Click() { rq::SetPercentage(s); }
void TForm1::Button10Click() { rq::MaximiseViaBitrate(s); }

void TForm1::Button11Click()
{
    SetPageIndex(1);
    form2_->Show();
    form2_->MakeStayOnTop();
}

void TForm1::ComboBox4Change() { rq::FitPercentSliderRange(s); }

void TForm1::CheckListBox1ClickCheck()
{
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

bool TForm1::CanUndo() const { return false; }
bool TForm1::CanRedo() const { return false; }
void TForm1::Undo() {}
void TForm1::Redo() {}
bool TForm1::CanRevert() const { return false; }
void TForm1::RevertToLoaded() {}
void TForm1::BeginStepGroup() {}
void TForm1::EndStepGroup() {}
bool TForm1::HasUnsavedWork() const { return s.Button7.Enabled(); }
bool TForm1::NeedsApply() const { return false; }

void TForm1::OpenProject(const std::string& path)
{
    s.Edit10.SetText(path);
    Button1Click();
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
        if (!FileExists(batch_.ProjectPath)) {
            batch_.AutoSave = false;
            batchExitCode_ = 1;
            if (ShowMessage)
                ShowMessage(kMissingProject);
        } else {
            const bool complete = !batch_.Target.empty() && !batch_.Others.empty() &&
                                  (batch_.Mode == "MAXBITRATE" || batch_.Mode == "MAXPERCENT");
            if (complete) {
                s.Edit10.SetText(batch_.ProjectPath);
                s.ProjectPath = batch_.ProjectPath;
                LoadECL(s, batch_.ProjectPath);
                ProjectLoaded();
                if (batch_.Mode == "MAXBITRATE") {
                    s.ComboBox5.SetText(batch_.Target);
                    s.Edit7.SetText(batch_.Others);
                    Button10Click();
                } else {
                    s.ComboBox6.SetText(batch_.Target);
                    s.Edit11.SetText(batch_.Others);
                    Button2Click();
                }
                Button4Click();
            } else {
                batch_.AutoSave = false;
            }
        }
        if (batch_.AutoSave) {
            SaveECL(s, batch_.ProjectPath);
        } else if (batch_.NoGui) {
            Show();
            batch_.NoGui = false;
        }
        if ((batch_.NoGui || batch_.AutoExit) && Terminate)
            Terminate(batchExitCode_);
    } catch (const std::exception& e) {
        batchExitCode_ = 1;
        if (ShowError)
            ShowError(WithFullStop(ErrorText(e)));
        // Nobody could end a program whose only window is hidden.
        if (!visible_ && Terminate)
            Terminate(1);
    }
}

}  // namespace rq
