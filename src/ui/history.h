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
    void BeginStepGroup();
    // Returns whether the group ended and recorded a step.
    bool EndStepGroup() noexcept;

    bool CanUndo() const;
    bool CanRedo() const;
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
    // Puts back the state of a new start, with no history.
    void RestoreFresh();

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
