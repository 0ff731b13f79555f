#include "terrain/editor/FloodFill.h"

#include <algorithm>
#include <utility>

namespace tamber::terrain::painting {

std::optional<FillRecord> FloodFill(DetailGrid& grid, int x, int y, uint8_t value) {
    if (x < 0 || y < 0 || x >= grid.width || y >= grid.height || grid.At(x, y) == value)
        return std::nullopt;
    FillRecord fill;
    fill.oldValue = grid.At(x, y);
    fill.newValue = value;
    // Scanline fill: each popped seed fills its whole run left and right, then
    // pushes one seed per run of old values in the rows above and below.
    std::vector<std::pair<int, int>> seeds{{x, y}};
    while (!seeds.empty()) {
        auto [sx, sy] = seeds.back();
        seeds.pop_back();
        if (grid.At(sx, sy) != fill.oldValue)
            continue;
        int left = sx, right = sx;
        while (left > 0 && grid.At(left - 1, sy) == fill.oldValue)
            --left;
        while (right + 1 < grid.width && grid.At(right + 1, sy) == fill.oldValue)
            ++right;
        const size_t offset = size_t(sy) * size_t(grid.width) + size_t(left);
        const uint32_t length = uint32_t(right - left + 1);
        std::fill_n(grid.bytes.begin() + ptrdiff_t(offset), length, value);
        fill.spans.push_back({offset, length});
        fill.bounds.Include({left, sy, right + 1, sy + 1});
        for (int ny : {sy - 1, sy + 1}) {
            if (ny < 0 || ny >= grid.height)
                continue;
            bool inRun = false;
            for (int nx = left; nx <= right; ++nx) {
                const bool matches = grid.At(nx, ny) == fill.oldValue;
                if (matches && !inRun)
                    seeds.emplace_back(nx, ny);
                inRun = matches;
            }
        }
    }
    return fill;
}

void ApplyFill(DetailGrid& grid, const FillRecord& fill, uint8_t value) {
    for (const FillSpan& span : fill.spans)
        std::fill_n(grid.bytes.begin() + ptrdiff_t(span.offset), span.length, value);
}

}  // namespace tamber::terrain::painting
