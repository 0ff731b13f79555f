#include "terrain/editor/BrushStrokeAction.h"

namespace tamber::terrain::editor {

bool BrushStrokeAction::Do(void*) {
    host_.Painter().Apply(stroke_, true);
    host_.DetailChanged(stroke_.mode, stroke_.rect);
    return true;
}

void BrushStrokeAction::Undo(void*) {
    host_.Painter().Apply(stroke_, false);
    host_.DetailChanged(stroke_.mode, stroke_.rect);
}

}  // namespace tamber::terrain::editor
