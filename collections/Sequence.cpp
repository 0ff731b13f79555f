#include "collections/Sequence.h"

#include <algorithm>

namespace tamber::collections {

int Sequence::DrawnViews() const {
    const int v = header.viewCount;
    return v < 3 ? v : v / 2 + 1;
}

void Sequence::Complete() {
    if ((header.flags & kSequenceMirroring) && (header.flags & kSequenceNoRotation))
        header.flags &= ~kSequenceNoRotation;
    if (header.flags & kSequenceMirroring) {
        const int v = header.viewCount, r = DrawnViews();
        for (Frame& frame : frames) {
            if (int(frame.views.size()) < v)
                frame.views.resize(size_t(v));
            for (int k = r; k < v; ++k) {
                View copy = frame.views[size_t(2 * r - 2 + v % 2 - k)];
                copy.flags ^= kViewMirrorH;
                if (copy.sets[0].bitmap)
                    copy.sets[0].regX = int16_t(copy.sets[0].bitmap->width - copy.sets[0].regX);
                frame.views[size_t(k)] = std::move(copy);
            }
        }
    }
    ComputeExtents();
}

void Sequence::ComputeExtents() {
    extents = {};
    for (const Frame& frame : frames)
        for (const View& view : frame.views) {
            const ViewSet& set = view.sets[0];
            if (!set.bitmap)
                continue;
            extents.left = std::max(extents.left, int(set.regX));
            extents.top = std::max(extents.top, int(set.regY));
            extents.right = std::max(extents.right, set.bitmap->width - set.regX);
            extents.bottom = std::max(extents.bottom, set.bitmap->height - set.regY);
        }
}

}  // namespace tamber::collections
