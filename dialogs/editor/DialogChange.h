#pragma once
// One undoable change of a dialog. Dialogs hold a handful of controls, so the
// change keeps the whole dialog and the selected control from before and after:
// undo and redo give back exactly the bytes that were there.
#include <cstdint>

#include "dialogs/DialogPayload.h"
#include "ui/UndoHistory.h"

namespace tamber::dialogs::editor {

struct DialogState {
    Dialog dialog;
    int selected = -1;  // control index, -1 none
};

class DialogChange : public tamber::ui::UndoableAction {
public:
    // `serial` names the change for the editor's saved-state check; never reused.
    DialogChange(DialogState before, DialogState after, uint64_t serial);

    // args: the DialogState the change applies to.
    bool Do(void* args) override;
    void Undo(void* args) override;

    uint64_t Serial() const { return serial_; }
    // A held key goes on changing the same action.
    void SetAfter(DialogState after) { after_ = std::move(after); }

private:
    DialogState before_;
    DialogState after_;
    uint64_t serial_;
};

}  // namespace tamber::dialogs::editor
