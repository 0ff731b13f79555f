#pragma once
// Registration-point operations over the cells of a sequence: reading one, pasting
// it (both coordinates or one) into others, setting, offsetting or placing them by
// a preset, and keeping them in place when a bitmap is replaced by a picture of
// another size. The set a view shows (the collection's display set) is the one
// changed.
#include <optional>
#include <vector>

#include "collections/BitmapCrop.h"
#include "collections/Collection.h"

namespace tamber::collections {

struct ViewCell {
    int frame = 0;
    int view = 0;
    bool operator==(const ViewCell&) const = default;
};

struct RegPoint {
    int x = 0, y = 0;
    bool operator==(const RegPoint&) const = default;
};

enum class RegAxes { Both, X, Y };
enum class RegPreset { Centre, BottomCentre, TopCentre };

// The set of a view shown with `displaySet`.
ViewSet& ShownSet(View& view, int displaySet);
View* ViewAt(Sequence& sequence, const ViewCell& cell);
const View* ViewAt(const Sequence& sequence, const ViewCell& cell);

std::optional<RegPoint> RegPointOf(const Sequence& sequence, const ViewCell& cell, int displaySet);
// Sets the given coordinates of the cells' points. Returns the number of cells changed.
int PasteRegPoint(Sequence& sequence, const std::vector<ViewCell>& cells, RegPoint point, RegAxes axes,
                  int displaySet);
int OffsetRegPoints(Sequence& sequence, const std::vector<ViewCell>& cells, int dx, int dy, int displaySet);
// Places each cell's point on its visible picture (the whole bitmap when nothing is
// visible), in the view's own orientation; cells without a bitmap are skipped.
int PlaceRegPoints(Sequence& sequence, const std::vector<ViewCell>& cells, RegPreset preset, int displaySet);

// What a drag or an arrow key moves in the frame view. Moving a bitmap by (dx, dy)
// on screen moves its registration point by (-dx, -dy) on the picture; the key
// point (the view's second point) moves with the picture it is measured on.
enum class MoveMode { Bitmap, View, Frame, Sequence, KeyPoint };
const char* MoveModeName(MoveMode mode);  // "Move Bitmap", ...
// Moves, for the cell `at`: its bitmap (Bitmap), the bitmaps of its view in every
// frame (View), of every view of its frame (Frame), of every cell (Sequence), or
// its key point (KeyPoint). Returns the number of cells changed.
int MoveInMode(Sequence& sequence, MoveMode mode, const ViewCell& at, int dx, int dy, int displaySet);

// The area a registration point is kept relative to: the visible picture, or the
// whole bitmap when nothing is visible.
PixelRect VisibleArea(const Bitmap& bitmap);
// Moves the points of `set` (and the second point for set 0) from where they lie on
// `before`'s visible area to the same relative place on `after`'s.
void KeepRegPointRelative(View& view, size_t set, const Bitmap& before, const Bitmap& after);
// The same for every view of the collection that shows `shownBy` (the object the
// views refer to: `before` itself, or the copy it was made from).
void KeepRegPointsRelative(Collection& collection, const Bitmap* shownBy, const Bitmap& before, const Bitmap& after);

}  // namespace tamber::collections
