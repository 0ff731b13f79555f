#include "terrain/editor/FloodFillAction.h"

namespace tamber::terrain::editor {

bool FloodFillAction::Do(void*) {
    host_.Painter().Apply(mode_, fill_, true);
    host_.DetailChanged(mode_, fill_.bounds);
    return true;
}

void FloodFillAction::Undo(void*) {
    host_.Painter().Apply(mode_, fill_, false);
    host_.DetailChanged(mode_, fill_.bounds);
}

}  // namespace tamber::terrain::editor
