#include "collections/editor/EditorLink.h"

#include "collections/editor/X256Edit.h"

namespace tamber::collections::editor {

void EditorLink::Release() {
    if (editor_) editor_->RemoveOpenWindow(window_);
    editor_ = nullptr;
}

}  // namespace tamber::collections::editor
