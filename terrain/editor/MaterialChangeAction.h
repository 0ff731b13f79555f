#pragma once
// A change of one detail material's texture, highlight colour or description on
// the mesh editor's undo history.
#include "terrain/editor/MaterialAttributes.h"
#include "ui/UndoHistory.h"

namespace tamber::terrain::editor {
using namespace tamber::terrain::painting;

class MeshEdit;

class MaterialChangeAction : public ui::UndoableAction {
public:
    MaterialChangeAction(MeshEdit& editor, int index, MaterialAttributes before, MaterialAttributes after)
        : editor_(editor), index_(index), before_(std::move(before)), after_(std::move(after)) {}

    bool Do(void*) override;
    void Undo(void*) override;

private:
    MeshEdit& editor_;
    int index_;
    MaterialAttributes before_, after_;
};

}  // namespace tamber::terrain::editor
