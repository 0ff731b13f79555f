#include "terrain/editor/DetailGrid.h"

#include <algorithm>
#include <cassert>

namespace tamber::terrain::painting {

void GridRect::Include(const GridRect& other) {
    if (other.Empty())
        return;
    if (Empty()) {
        *this = other;
        return;
    }
    x0 = std::min(x0, other.x0), y0 = std::min(y0, other.y0);
    x1 = std::max(x1, other.x1), y1 = std::max(y1, other.y1);
}

DetailGrid DetailGrid::Make(BrushMode mode, int meshWidth, int meshHeight) {
    DetailGrid grid;
    grid.width = mode == BrushMode::kTriangle ? meshWidth * 2 : meshWidth;
    grid.height = meshHeight;
    grid.bytes.assign(size_t(grid.width) * size_t(grid.height), 0);
    return grid;
}

GridRect DetailGrid::Clamp(GridRect rect) const {
    rect.x0 = std::clamp(rect.x0, 0, width), rect.x1 = std::clamp(rect.x1, 0, width);
    rect.y0 = std::clamp(rect.y0, 0, height), rect.y1 = std::clamp(rect.y1, 0, height);
    return rect;
}

std::vector<uint8_t> DetailGrid::Copy(const GridRect& rect) const {
    std::vector<uint8_t> data;
    if (rect.Empty())
        return data;
    data.reserve(size_t(rect.x1 - rect.x0) * size_t(rect.y1 - rect.y0));
    for (int y = rect.y0; y < rect.y1; ++y) {
        const uint8_t* row = &bytes[size_t(y) * size_t(width)];
        data.insert(data.end(), row + rect.x0, row + rect.x1);
    }
    return data;
}

void DetailGrid::Paste(const GridRect& rect, const std::vector<uint8_t>& data) {
    if (rect.Empty())
        return;
    const size_t span = size_t(rect.x1 - rect.x0);
    assert(data.size() == span * size_t(rect.y1 - rect.y0));
    for (int y = rect.y0; y < rect.y1; ++y)
        std::copy_n(&data[size_t(y - rect.y0) * span], span, &bytes[size_t(y) * size_t(width) + size_t(rect.x0)]);
}

}  // namespace tamber::terrain::painting
