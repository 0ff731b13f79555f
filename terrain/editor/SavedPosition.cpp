#include "terrain/editor/SavedPosition.h"

namespace tamber::terrain::editor {

void SavedPosition::Added() {
    if (saved_ > depth_)
        saved_ = -1;
    ++depth_;
}

void SavedPosition::ChangedOutside() { saved_ = -1; }

void SavedPosition::Cleared() {
    depth_ = 0;
    saved_ = -1;
}

}  // namespace tamber::terrain::editor
