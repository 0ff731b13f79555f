#include "collections/editor/EditorLink.h"

#include "collections/editor/X256Edit.h"
#include "ui/Event.h"

namespace tamber::collections::editor {

void EditorLink::Release() {
    if (editor_) editor_->RemoveOpenWindow(window_);
    editor_ = nullptr;
}

bool EditorLink::HandleUndoKeys(ui::Event& event) {
    if (!editor_ || !event.Pressed() || !(event.Modifiers() & ui::kModCtrl)) return false;
    if (event.Key() == 'Z') editor_->Undo();
    else if (event.Key() == 'Y') editor_->Redo();
    else return false;
    return true;
}

}  // namespace tamber::collections::editor
