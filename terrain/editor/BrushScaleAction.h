#pragma once
// A change of one detail material's brush scale (the - and = keys) on the mesh
// editor's undo history. A held key goes on with the same action.
#include "ui/UndoHistory.h"

namespace tamber::terrain::editor {

class MeshEdit;

class BrushScaleAction : public ui::UndoableAction {
public:
    BrushScaleAction(MeshEdit& editor, int index, int before, int after)
        : editor_(editor), index_(index), before_(before), after_(after) {}

    bool Do(void*) override;
    void Undo(void*) override;

    int Material() const { return index_; }
    void SetAfter(int scale) { after_ = scale; }

private:
    MeshEdit& editor_;
    int index_;
    int before_, after_;
};

}  // namespace tamber::terrain::editor
