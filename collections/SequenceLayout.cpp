#include "collections/SequenceLayout.h"

#include <algorithm>
#include <cassert>
#include <utility>

namespace tamber::collections {

namespace {

// The registration point a new view starts with: the header's 16.16 values.
View NewView(const SequenceHeader& header) {
    View view;
    view.sets[0].regX = int16_t(int32_t(header.regX) >> 16);
    view.sets[0].regY = int16_t(int32_t(header.regY) >> 16);
    return view;
}

std::string Truncated(std::string name) {
    if (name.size() > kMaxSequenceNameLength) name.resize(kMaxSequenceNameLength);
    return name;
}

}  // namespace

void ResizeSequence(Sequence& sequence, int frames, int views) {
    frames = std::clamp(frames, 1, 0xFFFF);
    views = std::clamp(views, 1, 0xFFFF);
    const size_t oldFrames = sequence.frames.size();
    const bool viewsChanged = views != sequence.header.viewCount;
    sequence.frames.resize(size_t(frames));
    sequence.header.viewCount = uint16_t(views);
    const View fresh = NewView(sequence.header);
    for (size_t f = viewsChanged ? 0 : oldFrames; f < sequence.frames.size(); ++f)
        sequence.frames[f].views.resize(size_t(views), fresh);
    sequence.ComputeExtents();
}

bool SetSequenceFlags(Sequence& sequence, bool useMirroring, bool noRotation) {
    const uint32_t both = kSequenceMirroring | kSequenceNoRotation;
    const uint32_t mirroring = useMirroring ? kSequenceMirroring : 0u, rotation = noRotation ? kSequenceNoRotation : 0u;
    const uint32_t flags = (sequence.header.flags & ~both) | mirroring | rotation;
    if (flags == sequence.header.flags) return false;
    sequence.header.flags = flags;
    sequence.Complete();
    return true;
}

std::string DirectionHeading(int view, int views) {
    assert(views > 0);
    return std::to_string(view * 360 / views) + char(161);
}

const std::vector<SequenceMode>& SequenceModes() {
    static const std::vector<SequenceMode> modes = {
        {0, "None", "NOIADC"},      {1, "Fade Out", "OIADC"},   {2, "Fade In", "IADC"},
        {5, "Appearing", "ADC"},    {6, "Disappearing", "DC"},  {7, "Cycle", "C"},
    };
    return modes;
}

int AddNewSequence(Collection& collection) {
    Sequence sequence;
    sequence.name = "New Sequence";
    ResizeSequence(sequence, 1, 1);
    collection.sequences.push_back(std::move(sequence));
    return collection.SequenceCount() - 1;
}

int DuplicateSequence(Collection& collection, int index) {
    assert(index >= 0 && index < collection.SequenceCount());
    Sequence copy = collection.sequences[size_t(index)];
    copy.name = Truncated(copy.name + " copy");
    collection.sequences.insert(collection.sequences.begin() + index + 1, std::move(copy));
    return index + 1;
}

void RenameSequence(Sequence& sequence, const std::string& name) { sequence.name = Truncated(name); }

std::vector<ViewCell> OrderedCells(std::vector<ViewCell> cells, AssignOrder order) {
    std::sort(cells.begin(), cells.end(), [order](const ViewCell& a, const ViewCell& b) {
        return order == AssignOrder::ViewsThenFrames ? std::pair(a.frame, a.view) < std::pair(b.frame, b.view)
                                                     : std::pair(a.view, a.frame) < std::pair(b.view, b.frame);
    });
    return cells;
}

void AssignCellBitmaps(Sequence& sequence, const std::vector<ViewCell>& cells,
                       const std::vector<std::shared_ptr<Bitmap>>& bitmaps, int displaySet) {
    assert(cells.size() == bitmaps.size());
    for (size_t i = 0; i < cells.size(); ++i) {
        const ViewCell& cell = cells[i];
        if (cell.frame < 0 || size_t(cell.frame) >= sequence.frames.size()) continue;
        if (cell.view < 0) {
            sequence.frames[size_t(cell.frame)].shadow.bitmap = bitmaps[i];
            continue;
        }
        View* view = ViewAt(sequence, cell);
        if (!view) continue;
        const size_t set = displaySet == 1 && view->HasSecondSet() ? 1 : 0;
        if (view->sets[set].bitmap && bitmaps[i]) KeepRegPointRelative(*view, set, *view->sets[set].bitmap, *bitmaps[i]);
        view->sets[set].bitmap = bitmaps[i];
    }
    sequence.ComputeExtents();
}

}  // namespace tamber::collections
