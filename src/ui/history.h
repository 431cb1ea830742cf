#pragma once
// The main window's undo history. A step is a copy of the whole state as it
// stood before the step: the project (with what its views recorded) and the
// dialog's controls. Copies share the item table, the views and the texts
// with each other and with the live state until one of them changes, so a
// step costs little. Undo puts a copy back by assignment, which moves every
// control's version on: every window repaints.
//
// A step is everything between the outermost BeginStepGroup and its
// EndStepGroup that changed what a step is recognised by (ProjectState::StepParts).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "model/project_state.h"

namespace rq {

struct Form2Controls;

class History {
public:
    // The bound: the oldest steps go first once either is passed.
    struct Limits {
        std::size_t steps = 100;
        std::size_t bytes = std::size_t{256} << 20;
    };

    // Takes the state as it stands as the state of a new start.
    History(ProjectState& s, Form2Controls& dialog);
    ~History();
    History(const History&) = delete;
    History& operator=(const History&) = delete;

    // Groups nest; only the outermost records. An error that ends a command
    // still ends its group, and the partial state is a step like any other.
    // A load inside a group ends the groups around it: the groups opened after
    // the load record each of their own (a batch job's maximise, then its apply).
    void BeginStepGroup();
    // Returns whether the group ended and recorded a step.
    bool EndStepGroup() noexcept;

    // Names the step the open group will record ("Set v02 to 4,000 kbit/s");
    // the last name given before the group ends is its name.
    void NameStep(std::string name);
    // The name of the step Undo or Redo would take back or bring back; empty
    // when there is none, or it has no name.
    std::string UndoName() const;
    std::string RedoName() const;

    bool CanUndo() const;
    bool CanRedo() const;
    // Whether the state differs from the files as last loaded or saved.
    bool CanRevert() const;
    // Each returns whether it changed anything.
    bool Undo();
    bool Redo();
    bool RevertToLoaded();

    // Drops every step and the state to revert to.
    void Forget();
    // A load: no step survives it and none is recorded while it runs. When it
    // succeeds, its state is the one to revert to and its allocation the one
    // the items carry.
    void StartLoad();
    void FinishLoad(bool succeeded) noexcept;
    // "Apply Changes" wrote the allocation into the items.
    void MarkApplied();
    // The files on disk now hold the state as it stands: it is the one to
    // revert to, and unsaved work is measured against it.
    void MarkSaved();
    // Whether a save would write other texts than the files hold, as the last
    // load read them or the last save wrote them. Compares only after the
    // texts changed.
    bool TextsDifferFromDisk() const;
    // Puts back the state of a new start, with no history.
    void RestoreFresh();

    // Everything the history holds and the state as it stands, taken aside:
    // a project that fails to open is replaced by the one before, exactly.
    class Kept;
    Kept Keep();
    void PutBack(Kept&& kept);

    // A job that ends the program keeps no history: off drops every step and
    // records none until it is on again.
    void SetRecording(bool on);

    // The allocation or the items differ from what the last load or apply left.
    bool NeedsApply() const;

    Limits limits;
    std::size_t Steps() const;
    // What the history alone holds: each shared part counted once, and none
    // that the state as it stands shares.
    std::size_t Bytes() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

class History::Kept {
public:
    Kept(Kept&&) noexcept;
    ~Kept();

private:
    friend class History;
    explicit Kept(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

// A load for as long as it lives; it succeeded only when told.
class LoadScope {
public:
    explicit LoadScope(History& history) : history_(history) { history_.StartLoad(); }
    ~LoadScope() { history_.FinishLoad(succeeded_); }
    LoadScope(const LoadScope&) = delete;
    LoadScope& operator=(const LoadScope&) = delete;
    void Succeeded() { succeeded_ = true; }

private:
    History& history_;
    bool succeeded_ = false;
};

// Holds a step group open for as long as it lives.
template <typename Owner>
class StepScope {
public:
    explicit StepScope(Owner& owner) : owner_(owner) { owner_.BeginStepGroup(); }
    ~StepScope() { owner_.EndStepGroup(); }
    StepScope(const StepScope&) = delete;
    StepScope& operator=(const StepScope&) = delete;

private:
    Owner& owner_;
};

}  // namespace rq
