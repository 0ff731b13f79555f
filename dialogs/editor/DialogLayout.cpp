#include "dialogs/editor/DialogLayout.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "tags/FourCC.h"

namespace tamber::dialogs::editor {

namespace {

bool Near(int a, int b) { return std::abs(a - b) <= kEdgeDistance; }

// Which edges a drag in the mode carries along.
struct DraggedEdges {
    bool left, right, top, bottom;
};

DraggedEdges EdgesOf(DragMode mode) {
    const bool move = mode == kDragMove;
    return {move || mode == kDragLeft || mode == kDragTopLeft || mode == kDragBottomLeft,
            move || mode == kDragRight || mode == kDragBottomRight || mode == kDragTopRight,
            move || mode == kDragTop || mode == kDragTopLeft || mode == kDragTopRight,
            move || mode == kDragBottom || mode == kDragBottomRight || mode == kDragBottomLeft};
}

}  // namespace

ControlHit HitTestControls(const Dialog& dialog, int x, int y, bool move, bool resize) {
    ControlHit hit;
    for (size_t i = 0; i < dialog.controls.size(); ++i) {
        const DialogControl& c = dialog.controls[i];
        if (x < c.left || x >= c.right || y < c.top || y >= c.bottom) continue;
        hit.index = int(i);
        break;
    }
    if (hit.index < 0) return hit;
    const DialogControl& c = dialog.controls[size_t(hit.index)];
    const bool left = Near(x, c.left), right = Near(x, c.right - 1);
    const bool top = Near(y, c.top), bottom = Near(y, c.bottom - 1);
    if (move) hit.mode = kDragMove;
    else if (left && top) hit.mode = kDragTopLeft;
    else if (bottom && right) hit.mode = kDragBottomRight;
    else if (bottom && left) hit.mode = kDragBottomLeft;
    else if (top && right) hit.mode = kDragTopRight;
    else if (left) hit.mode = kDragLeft;
    else if (top) hit.mode = kDragTop;
    else if (right) hit.mode = kDragRight;
    else if (bottom) hit.mode = kDragBottom;
    else if (resize) hit.mode = kDragBottomRight;
    return hit;
}

DialogControl DragControl(const DialogControl& start, DragMode mode, int dx, int dy) {
    DialogControl c = start;
    if (mode == kDragMove) {
        c.left += dx, c.right += dx, c.top += dy, c.bottom += dy;
        return c;
    }
    const DraggedEdges edges = EdgesOf(mode);
    if (edges.left) c.left = std::min(start.left + dx, start.right - 1);
    if (edges.right) c.right = std::max(start.right + dx, start.left + 1);
    if (edges.top) c.top = std::min(start.top + dy, start.bottom - 1);
    if (edges.bottom) c.bottom = std::max(start.bottom + dy, start.top + 1);
    return c;
}

DialogControl DragControlWithin(const Dialog& dialog, const DialogControl& start, DragMode mode, int dx, int dy) {
    const int width = dialog.right - dialog.left, height = dialog.bottom - dialog.top;
    const DraggedEdges edges = EdgesOf(mode);
    // Each carried edge stops at the dialog's border, or where it started when it was
    // already outside.
    if (edges.left) dx = std::max(dx, std::min(0, -start.left));
    if (edges.right) dx = std::min(dx, std::max(0, width - start.right));
    if (edges.top) dy = std::max(dy, std::min(0, -start.top));
    if (edges.bottom) dy = std::min(dy, std::max(0, height - start.bottom));
    return DragControl(start, mode, dx, dy);
}

bool SameRect(const DialogControl& a, const DialogControl& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool InsideDialog(const Dialog& dialog, int x, int y) {
    return x >= 0 && y >= 0 && x < dialog.right - dialog.left && y < dialog.bottom - dialog.top;
}

DialogControl NewControlAt(const Dialog& dialog, int x, int y) {
    DialogControl control;
    control.type = tags::FourCC("butt");
    control.id = dialog.NextControlId();
    control.left = x - kNewControlHalfWidth;
    control.top = y - kNewControlHalfHeight;
    control.right = x + kNewControlHalfWidth;
    control.bottom = y + kNewControlHalfHeight;
    return control;
}

bool ReorderControl(Dialog& dialog, size_t index, int direction) {
    if (index >= dialog.controls.size()) return false;
    if (direction < 0 && index == 0) return false;
    if (direction > 0 && index + 1 >= dialog.controls.size()) return false;
    std::swap(dialog.controls[index], dialog.controls[direction < 0 ? index - 1 : index + 1]);
    return true;
}

}  // namespace tamber::dialogs::editor
