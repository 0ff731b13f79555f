#pragma once
// A linear undo history with a current position. Each history starts with a
// NullAction sentinel; adding an action deletes the redo branch; no size limit.
#include <memory>
#include <vector>

namespace tamber::ui {

class UndoableAction {
public:
    virtual ~UndoableAction() = default;
    // Performs or redoes the action; false when it could not be done.
    virtual bool Do(void* args) = 0;
    virtual void Undo(void* args) = 0;
};

class NullAction : public UndoableAction {
public:
    bool Do(void*) override { return true; }
    void Undo(void*) override {}
};

class UndoHistory {
public:
    UndoHistory();

    // Takes ownership. Unless alreadyDone, runs Do first; a failed Do deletes the
    // action and returns false.
    bool AddAction(std::unique_ptr<UndoableAction> action, bool alreadyDone, void* args = nullptr);
    bool Undo(void* args = nullptr);
    bool Redo(void* args = nullptr);
    // Deletes every action after the sentinel; nothing is current afterwards.
    void Clear();

    size_t Count() const { return actions_.size(); }
    bool CanUndo() const { return current_ > 0; }
    bool CanRedo() const { return current_ >= 0 && size_t(current_ + 1) < actions_.size(); }
    const UndoableAction* Current() const { return current_ >= 0 ? actions_[size_t(current_)].get() : nullptr; }
    UndoableAction* Current() { return current_ >= 0 ? actions_[size_t(current_)].get() : nullptr; }

private:
    std::vector<std::unique_ptr<UndoableAction>> actions_;  // [0] is the sentinel
    long current_ = 0;                                      // index of the last action in effect; -1 none
};

}  // namespace tamber::ui
