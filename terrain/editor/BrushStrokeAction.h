#pragma once
// One finished brush stroke on the mesh editor's undo history.
#include "terrain/editor/DetailMapHost.h"
#include "ui/UndoHistory.h"

namespace tamber::terrain::editor {

class BrushStrokeAction : public ui::UndoableAction {
public:
    BrushStrokeAction(DetailMapHost& host, StrokeRecord stroke) : host_(host), stroke_(std::move(stroke)) {}

    bool Do(void*) override;
    void Undo(void*) override;

private:
    DetailMapHost& host_;
    StrokeRecord stroke_;
};

}  // namespace tamber::terrain::editor
