#pragma once
// One flood fill on the mesh editor's undo history.
#include "terrain/editor/DetailMapHost.h"
#include "ui/UndoHistory.h"

namespace tamber::terrain::editor {

class FloodFillAction : public ui::UndoableAction {
public:
    FloodFillAction(DetailMapHost& host, BrushMode mode, FillRecord fill) : host_(host), mode_(mode), fill_(std::move(fill)) {}

    bool Do(void*) override;
    void Undo(void*) override;

private:
    DetailMapHost& host_;
    BrushMode mode_;
    FillRecord fill_;
};

}  // namespace tamber::terrain::editor
