#pragma once
// The main window's undo history: the whole project state before each step,
// put back in place on undo. A step is everything between the outermost
// BeginStepGroup and its EndStepGroup that changed the allocation, the locks,
// the slider, the items or the text buffers. The item table, the item details
// view and the two text buffers change only on a load, an apply or a dialog
// command, so steps share one copy of each while its version stays the same.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "model/project_state.h"

namespace rq {

class TForm2;

class History {
public:
    // The bound: the oldest steps go first once either is passed.
    struct Limits {
        std::size_t steps = 100;
        std::size_t bytes = std::size_t{256} << 20;
    };

    // Takes the state as it stands as the state of a new start.
    History(ProjectState& s, TForm2& dialog);
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
    // What the history holds, each shared copy counted once.
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
