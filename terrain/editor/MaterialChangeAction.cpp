#include "terrain/editor/MaterialChangeAction.h"

#include "terrain/editor/MeshEdit.h"

namespace tamber::terrain::editor {

bool MaterialChangeAction::Do(void*) {
    editor_.SetAttributes(index_, after_);
    return true;
}

void MaterialChangeAction::Undo(void*) { editor_.SetAttributes(index_, before_); }

}  // namespace tamber::terrain::editor
