#pragma once
// The editing operations on a dialog's controls, without windows: the hit test
// that picks a control and a drag mode, dragging, nudging by the arrow keys,
// reordering and making a new control. Coordinates are the dialog's own (its
// controls' rectangles), 0,0 at its top left corner.
#include <cstddef>

#include "dialogs/DialogPayload.h"

namespace tamber::dialogs::editor {

enum DragMode : int {
    kDragNone = 0,
    kDragMove = 1,
    kDragLeft = 2,
    kDragRight = 3,
    kDragTop = 4,
    kDragBottom = 5,
    kDragTopLeft = 6,
    kDragBottomRight = 7,
    kDragBottomLeft = 8,
    kDragTopRight = 9,
};

// How close to an edge a press must be to resize by it.
constexpr int kEdgeDistance = 4;
// The half-width and half-height of a new control.
constexpr int kNewControlHalfWidth = 50;
constexpr int kNewControlHalfHeight = 25;

struct ControlHit {
    int index = -1;  // the first control whose rectangle holds the point; -1 none
    DragMode mode = kDragNone;
};

// With `move` (Control held) the mode is move; with `resize` (Shift held) a press
// away from the edges resizes by the bottom right corner.
ControlHit HitTestControls(const Dialog& dialog, int x, int y, bool move, bool resize);

// The control as it was at the start of a drag, dragged by dx, dy in the mode.
// An edge never crosses the opposite one: a control stays at least 1 by 1.
DialogControl DragControl(const DialogControl& start, DragMode mode, int dx, int dy);

// The same, with the dragged edges kept inside the dialog's rectangle (an edge that
// starts outside it goes no further out).
DialogControl DragControlWithin(const Dialog& dialog, const DialogControl& start, DragMode mode, int dx, int dy);

// Whether two controls have the same rectangle.
bool SameRect(const DialogControl& a, const DialogControl& b);

// Whether the point lies inside the dialog (0,0 to its width and height).
bool InsideDialog(const Dialog& dialog, int x, int y);

// A "Button" centred on the point with the next free ID.
DialogControl NewControlAt(const Dialog& dialog, int x, int y);

// Moves the control `index` one place earlier (-1) or later (+1); false at either
// end or for an index out of range.
bool ReorderControl(Dialog& dialog, size_t index, int direction);

}  // namespace tamber::dialogs::editor
