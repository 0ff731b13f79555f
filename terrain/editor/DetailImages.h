#pragma once
// Detail grids as images: each grid point (vertex detail) or cell (triangle
// detail, split along the cell's diagonal) is an 8 x 8 block of an 8-bit image of
// 8W x 8H pixels, rows mirrored left to right, the highlight colours as palette.
#include <array>
#include <cstdint>

#include "base/Result.h"
#include "images/Image.h"
#include "terrain/editor/Brush.h"
#include "terrain/editor/DetailGrid.h"

namespace tamber::terrain::painting {

constexpr int kDetailImageBlock = 8;

using HighlightTable = std::array<uint8_t, 768>;

// The 8-bit paletted image of the mode's grid of a mesh of meshWidth x meshHeight points.
images::Image ExportDetailImage(const DetailGrid& grid, BrushMode mode, int meshWidth, int meshHeight,
                                const HighlightTable& colours);

// The outcome of an import: whether every block held one value throughout.
struct DetailImport {
    bool perfect = true;
};

// Reads an image made as by ExportDetailImage into the mode's grid: each element
// takes the most frequent value of its pixels (the lower value on a tie), cut to
// 127, except where the present value's material is spared. Refuses, with the
// message to show and the grid unchanged, an image of other dimensions or a
// format other than 8-bit paletted or grey.
base::Result<DetailImport> ImportDetailImage(const images::Image& image, BrushMode mode, int meshWidth,
                                             int meshHeight, const PaintValue& spare, DetailGrid& grid);

// The highlight colours an imported image brings: its palette, or the grey ramp.
HighlightTable ImportedHighlightColours(const images::Image& image);

}  // namespace tamber::terrain::painting
