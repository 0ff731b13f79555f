#pragma once
// What the mesh editor's undo actions need from the editor: its detail grids, and
// a way to redraw what they changed and mark the tag changed.
#include "terrain/editor/DetailPainter.h"

namespace tamber::terrain::editor {
using namespace tamber::terrain::painting;

class DetailMapHost {
public:
    virtual ~DetailMapHost() = default;
    virtual DetailPainter& Painter() = 0;
    // Redraws a changed rectangle of a grid and marks the tag changed.
    virtual void DetailChanged(BrushMode mode, const GridRect& rect) = 0;
};

}  // namespace tamber::terrain::editor
