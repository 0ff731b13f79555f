#include "terrain/editor/BrushScaleAction.h"

#include "terrain/editor/MeshEdit.h"

namespace tamber::terrain::editor {

bool BrushScaleAction::Do(void*) {
    editor_.SetBrushScale(index_, after_);
    return true;
}

void BrushScaleAction::Undo(void*) { editor_.SetBrushScale(index_, before_); }

}  // namespace tamber::terrain::editor
