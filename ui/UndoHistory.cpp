#include "ui/UndoHistory.h"

namespace tamber::ui {

UndoHistory::UndoHistory() { actions_.push_back(std::make_unique<NullAction>()); }

bool UndoHistory::AddAction(std::unique_ptr<UndoableAction> action, bool alreadyDone, void* args) {
    if (!action) return false;
    if (!alreadyDone && !action->Do(args)) return false;
    actions_.resize(size_t(current_ + 1));
    if (actions_.empty()) actions_.push_back(std::make_unique<NullAction>());
    actions_.push_back(std::move(action));
    current_ = long(actions_.size()) - 1;
    return true;
}

bool UndoHistory::Undo(void* args) {
    if (current_ <= 0) return false;
    actions_[size_t(current_)]->Undo(args);
    --current_;
    return true;
}

bool UndoHistory::Redo(void* args) {
    if (!CanRedo()) return false;
    ++current_;
    actions_[size_t(current_)]->Do(args);
    return true;
}

void UndoHistory::Clear() {
    actions_.resize(1);
    current_ = -1;
}

}  // namespace tamber::ui
