#include "collections/RegistrationPoints.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tamber::collections {

namespace {

int16_t Clamp16(long value) { return int16_t(std::clamp<long>(value, INT16_MIN, INT16_MAX)); }

// An area in the orientation a view draws its bitmap: mirrored views measure
// their points on the flipped picture.
PixelRect Oriented(PixelRect area, const Bitmap& bitmap, uint32_t viewFlags) {
    if (viewFlags & kViewMirrorH) area = {bitmap.width - area.right, area.top, bitmap.width - area.left, area.bottom};
    if (viewFlags & kViewMirrorV) area = {area.left, bitmap.height - area.bottom, area.right, bitmap.height - area.top};
    return area;
}

// `value` at the same relative place on `to` as it lies on `from` (one axis).
int16_t MapAxis(int value, int fromStart, int fromLength, int toStart, int toLength) {
    const double relative = double(value - fromStart) / double(std::max(fromLength, 1));
    return Clamp16(std::lround(toStart + relative * double(toLength)));
}

}  // namespace

ViewSet& ShownSet(View& view, int displaySet) { return view.sets[displaySet == 1 && view.HasSecondSet() ? 1 : 0]; }

const View* ViewAt(const Sequence& sequence, const ViewCell& cell) {
    if (cell.frame < 0 || size_t(cell.frame) >= sequence.frames.size()) return nullptr;
    const auto& views = sequence.frames[size_t(cell.frame)].views;
    return cell.view >= 0 && size_t(cell.view) < views.size() ? &views[size_t(cell.view)] : nullptr;
}

View* ViewAt(Sequence& sequence, const ViewCell& cell) {
    return const_cast<View*>(ViewAt(std::as_const(sequence), cell));
}

std::optional<RegPoint> RegPointOf(const Sequence& sequence, const ViewCell& cell, int displaySet) {
    const View* view = ViewAt(sequence, cell);
    if (!view) return std::nullopt;
    const ViewSet& set = view->Shown(displaySet);
    return RegPoint{set.regX, set.regY};
}

int PasteRegPoint(Sequence& sequence, const std::vector<ViewCell>& cells, RegPoint point, RegAxes axes,
                  int displaySet) {
    int changed = 0;
    for (const ViewCell& cell : cells) {
        View* view = ViewAt(sequence, cell);
        if (!view) continue;
        ViewSet& set = ShownSet(*view, displaySet);
        const ViewSet before = set;
        if (axes != RegAxes::Y) set.regX = Clamp16(point.x);
        if (axes != RegAxes::X) set.regY = Clamp16(point.y);
        changed += before.regX != set.regX || before.regY != set.regY;
    }
    return changed;
}

int OffsetRegPoints(Sequence& sequence, const std::vector<ViewCell>& cells, int dx, int dy, int displaySet) {
    int changed = 0;
    for (const ViewCell& cell : cells) {
        View* view = ViewAt(sequence, cell);
        if (!view || (dx == 0 && dy == 0)) continue;
        ViewSet& set = ShownSet(*view, displaySet);
        set.regX = Clamp16(long(set.regX) + dx);
        set.regY = Clamp16(long(set.regY) + dy);
        ++changed;
    }
    return changed;
}

int PlaceRegPoints(Sequence& sequence, const std::vector<ViewCell>& cells, RegPreset preset, int displaySet) {
    int changed = 0;
    for (const ViewCell& cell : cells) {
        View* view = ViewAt(sequence, cell);
        if (!view) continue;
        ViewSet& set = ShownSet(*view, displaySet);
        if (!set.bitmap) continue;
        const PixelRect area = Oriented(VisibleArea(*set.bitmap), *set.bitmap, view->flags);
        const RegPoint point{(area.left + area.right) / 2, preset == RegPreset::Centre ? (area.top + area.bottom) / 2
                                                           : preset == RegPreset::TopCentre ? area.top
                                                                                            : area.bottom};
        changed += PasteRegPoint(sequence, {cell}, point, RegAxes::Both, displaySet);
    }
    return changed;
}

const char* MoveModeName(MoveMode mode) {
    switch (mode) {
    case MoveMode::Bitmap: return "Move Bitmap";
    case MoveMode::View: return "Move View";
    case MoveMode::Frame: return "Move Frame";
    case MoveMode::Sequence: return "Move Sequence";
    case MoveMode::KeyPoint: return "Move Keypoint";
    }
    return "";
}

int MoveInMode(Sequence& sequence, MoveMode mode, const ViewCell& at, int dx, int dy, int displaySet) {
    if (mode == MoveMode::KeyPoint) {
        View* view = ViewAt(sequence, at);
        if (!view || (dx == 0 && dy == 0)) return 0;
        view->pointX = Clamp16(long(view->pointX) + dx);
        view->pointY = Clamp16(long(view->pointY) + dy);
        return 1;
    }
    std::vector<ViewCell> cells;
    for (int f = 0; f < int(sequence.frames.size()); ++f)
        for (int v = 0; v < int(sequence.frames[size_t(f)].views.size()); ++v) {
            const bool moved = mode == MoveMode::Sequence || (mode == MoveMode::Bitmap && f == at.frame && v == at.view) ||
                               (mode == MoveMode::View && v == at.view) || (mode == MoveMode::Frame && f == at.frame);
            if (moved) cells.push_back({f, v});
        }
    return OffsetRegPoints(sequence, cells, -dx, -dy, displaySet);
}

PixelRect VisibleArea(const Bitmap& bitmap) {
    return OpaqueBounds(bitmap).value_or(PixelRect{0, 0, bitmap.width, bitmap.height});
}

void KeepRegPointRelative(View& view, size_t set, const Bitmap& before, const Bitmap& after) {
    const PixelRect from = Oriented(VisibleArea(before), before, view.flags);
    const PixelRect to = Oriented(VisibleArea(after), after, view.flags);
    auto map = [&](int16_t& x, int16_t& y) {
        x = MapAxis(x, from.left, from.Width(), to.left, to.Width());
        y = MapAxis(y, from.top, from.Height(), to.top, to.Height());
    };
    map(view.sets[set].regX, view.sets[set].regY);
    if (set == 0) map(view.pointX, view.pointY);
}

void KeepRegPointsRelative(Collection& collection, const Bitmap* shownBy, const Bitmap& before, const Bitmap& after) {
    for (Sequence& sequence : collection.sequences)
        for (Frame& frame : sequence.frames)
            for (View& view : frame.views)
                for (size_t set = 0; set < view.sets.size(); ++set)
                    if (view.sets[set].bitmap.get() == shownBy && (set == 0 || view.HasSecondSet()))
                        KeepRegPointRelative(view, set, before, after);
}

}  // namespace tamber::collections
