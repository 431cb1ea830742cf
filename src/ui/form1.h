#pragma once
// The main window's form model: the project state plus what only a window has
// (pages, visibility, the start-up timer, the file-open request, the error
// box) and the handlers the controls are bound to.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/project_state.h"
#include "ui/batch_job.h"

namespace rq {

class TForm2;
class History;

class TForm1 {
public:
    TForm1();
    ~TForm1();
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    // The project's version with the letter and date of this release.
    static constexpr const char* kCaption = "Ratequill V" RATEQUILL_VERSION "a (10/05/2004)";
    static constexpr const char* kAppTitle = "Ratequill";

    ProjectState s;
    TForm2& Form2() { return *form2_; }

    // Page control: 0 Main, 1 VTS Details, 2 Internal Calculation fields,
    // 3 ECl File && INF File, 4 Disc (the picture of where the size goes), 5 About.
    static constexpr int kDiscPage = 4;
    static constexpr int kAboutPage = 5;
    int PageIndex() const { return pageIndex_; }
    void SetPageIndex(int page);
    bool Visible() const { return visible_; }
    void Show();
    void Hide();
    bool Timer1Enabled() const { return timer1Enabled_; }
    std::uint64_t Version() const { return version_; }

    // Services a window provides; without one, errors and messages go nowhere
    // unless a caller sets them.
    std::function<void(const std::string&)> ShowError;    // the error box (text with its full stop)
    std::function<void(const std::string&)> ShowMessage;  // a message box with one OK button
    std::function<std::optional<std::string>()> AskOpenFile;  // the file-open dialog
    std::function<void(int exitCode)> Terminate;           // ends the program after the current handler
    std::function<void()> OnVisibilityChanged;
    // Runs when a project has been read in, before the command that read it goes on.
    std::function<void()> OnProjectLoaded;
    // Lets a window handle pending events during a long load; nothing without one.
    std::function<void()> ProcessMessages;

    // Runs a user command: one command at a time, its error shown in the error
    // box. Returns false when the command failed or was refused.
    bool Run(const std::function<void()>& command);
    bool Busy() const { return busy_ > 0; }
    // The file the error being shown concerns (an input/output error); empty
    // when it concerns none.
    const std::string& ErrorFile() const { return errorFile_; }
    // Where the error being shown was found ("in FILE, line N, segment T, key
    // K"); empty when it has no place.
    const std::string& ErrorPlace() const { return errorPlace_; }
    // The box whose text was no number when the error being shown arose, by
    // its caption and page ("Min Bitrate (Internal Calculation fields)");
    // empty when the error came from elsewhere.
    const std::string& ErrorSource() const { return errorSource_; }
    // The error box's text without the full stop it adds.
    const std::string& ErrorMessage() const { return errorMessage_; }

    // A number box a command reads: its text, its caption and page, and how
    // the command converts it (as a real number, as a whole number, or both).
    struct NumberBox {
        const EditBox& box;
        const char* name;
        bool real;
        bool whole;
    };
    // Runs a command that reads the boxes, in that order; when it fails on a
    // conversion of one of their texts, that box becomes the error's source.
    void ReadingNumbers(const std::vector<NumberBox>& boxes, const std::function<void()>& command);

    // Handlers of the main window.
    void Button1Click();   // load
    void Button2Click();   // maximise via percentage
    void Button3Click();   // "Change"
    void Button4Click();   // "Apply Changes"
    void Button5Click();   // set bitrate
    void Button7Click();   // save
    void Button9Click();   // set percentage
    void Button10Click();  // maximise via bitrate
    void Button11Click();  // open the encoder parameter dialog
    void ComboBox4Change();          // the set-percentage selector: fit the slider to its title set
    void CheckListBox1ClickCheck();  // a lock changed: the selectors offer the free title sets
    void TrackBar1Change();          // the bitrate slider moved: set that bitrate
    void TrackBar2Change();          // the percentage slider moved: set that percentage
    void FormShow();

    // What the user does to a control: the control changes, then the form
    // runs its handler (the program's own changes to a control run none).
    void UserMoveSlider(TrackBar& slider, int position);  // its handler runs when the thumb moved
    void UserSetSelectorText(ComboBox& selector, std::string text);
    void UserToggleLock(int entry);

    // The start-up timer's tick: runs the command-line job once per process.
    void Timer1Timer();

    // Undo and redo of the commands that change the allocation, locks,
    // passes or widths; a load starts a new history.
    bool CanUndo() const;
    bool CanRedo() const;
    // What the step that Undo or Redo would take back is called ("Set v02 to
    // 4,000 kbit/s"); empty when there is none or it has no name.
    std::string UndoName() const;
    std::string RedoName() const;
    // Names the step the running command makes.
    void NameStep(std::string name);
    void Undo();  // puts back the state before the last step
    void Redo();  // puts back the state after the step last undone
    // Whether the window differs from the state the files were last loaded
    // or saved in.
    bool CanRevert() const;
    void RevertToLoaded();  // back to the files as last loaded or saved, as a step of its own
    // A slider drag or a keyboard run of the slider is one step. Groups nest.
    void BeginStepGroup();
    void EndStepGroup();
    // The window differs from the files on disk: allocation or item changes
    // not yet applied, or texts a save would write that the files do not hold
    // (as the last load read them or the last save wrote them).
    bool HasUnsavedWork() const;
    // A project is loaded, its files can be written, and there is work to save.
    bool CanSave() const;
    // Why a save of the loaded project would be refused ("/x/REBUILDER.ECL:
    // the file is read-only"), as found at the load; empty when nothing refuses it.
    const std::string& SaveRefusal() const { return saveRefusal_; }
    // "REBUILDER.ECL – Ratequill V0.55a (10/05/2004)" with the mark after the
    // file name; the program's caption alone before a project is loaded.
    std::string Caption(const std::string& unsavedMark) const;
    // The allocation or the items changed since the last load or apply.
    bool NeedsApply() const;
    // Starts from the state of a new start of the program and loads the
    // project at path as the Load button does, without the file dialog. A
    // path that does not exist fails with "File not found" and changes nothing.
    void OpenProject(const std::string& path);
    History& StepHistory() { return *history_; }
    // Loads the project at path as a batch job does: a new history, and an
    // open encoder dialog follows it.
    void LoadForBatch(const std::string& path);

    // The program's arguments (after its name), for the batch run.
    std::vector<std::string> Arguments;
    // 0 when the batch did what was asked, 1 when the project file was missing
    // or an error ended it.
    int BatchExitCode() const { return batchExitCode_; }
    const BatchSettings& Batch() const { return batch_; }

    // Runs a job on the project: load the project, maximise the named title
    // set by the job's mode (the boxes show the job's title set and value),
    // run `report` (when given), apply the changes into both files' texts,
    // and save them when /autosave is given. A missing project shows
    // kMissingProjectMessage through ShowMessage. Errors propagate.
    BatchOutcome RunBatchJob(const BatchSettings& job, const std::function<void()>& report = {});

private:
    void Touch() { ++version_; }
    std::vector<NumberBox> WithLimits(std::optional<NumberBox> first = std::nullopt) const;
    void LoadChosen(const std::optional<std::string>& path);
    // An open encoder dialog follows the loaded project and the lock list.
    void RefreshDialogLists();
    void ProjectLoaded();
    // Fits the percentage slider to the title set in its selector.
    void FitPercentSlider();
    std::unique_ptr<TForm2> form2_;
    std::unique_ptr<History> history_;
    int pageIndex_ = 0;
    bool visible_ = false;
    bool timer1Enabled_ = true;
    bool batchDone_ = false;
    int busy_ = 0;
    std::string errorFile_;
    std::string errorPlace_;
    std::string saveRefusal_;
    std::string errorSource_;
    std::string errorMessage_;
    int batchExitCode_ = 0;
    BatchSettings batch_;
    std::uint64_t version_ = 1;
};

}  // namespace rq
