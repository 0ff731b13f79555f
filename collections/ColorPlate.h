#pragma once
// Plates: many bitmaps in one picture, on a grid drawn in value 1. Row 0 holds the
// signature (0, 1, then 0); row 1, the last row and column 1 are grid; a row whose
// column 0 is 1 is grid throughout and ends a band of cells; in a band, a column
// whose value on the band's first row is 1 ends a cell. A cell's bitmap lies
// between its first row and column and the last row and column that hold grid
// inside the cell.
#include <cstdint>
#include <vector>

#include "base/Result.h"
#include "collections/Collection.h"
#include "images/Image.h"

namespace tamber::collections {

// The bitmap rectangle of one cell; empty (0 x 0) for a cell without one.
struct PlateCell {
    int x = 0, y = 0, width = 0, height = 0;
    bool Empty() const { return width == 0; }
};

// The cells of a paletted or grey plate, in order (band by band, cell by cell).
base::Result<std::vector<PlateCell>> ReadPlateLayout(const images::Image& plate);

// The bitmaps a plate can hold: the paletted ones, in order.
std::vector<const Bitmap*> PlateBitmaps(const std::vector<const Bitmap*>& bitmaps);

// A plate holding the bitmaps' colours (paletted, the collection's palette; index 0
// where transparent) or their alphas (grey). ReadPlateLayout gives back one cell
// per bitmap, of its size, in order.
images::Image MakePlate(const Collection& collection, const std::vector<const Bitmap*>& bitmaps, bool alpha);

}  // namespace tamber::collections
