#include "dialogs/editor/DialogChange.h"

#include <utility>

namespace tamber::dialogs::editor {

DialogChange::DialogChange(DialogState before, DialogState after, uint64_t serial)
    : before_(std::move(before)), after_(std::move(after)), serial_(serial) {}

bool DialogChange::Do(void* args) {
    *static_cast<DialogState*>(args) = after_;
    return true;
}

void DialogChange::Undo(void* args) { *static_cast<DialogState*>(args) = before_; }

}  // namespace tamber::dialogs::editor
