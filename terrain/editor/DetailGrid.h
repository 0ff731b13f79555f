#pragma once
// One of the mesh editor's detail grids: a byte image of detail values. The vertex
// grid is W x H (one byte per grid point); the triangle grid is 2W x H (first and
// second triangle of each cell side by side), so both are painted and filled alike.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tamber::terrain::painting {

// Grid elements x0 <= x < x1, y0 <= y < y1.
struct GridRect {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;

    bool Empty() const { return x1 <= x0 || y1 <= y0; }
    // The smallest rectangle holding both; an empty rectangle adds nothing.
    void Include(const GridRect& other);
};

enum class BrushMode { kVertex, kTriangle };

struct DetailGrid {
    int width = 0, height = 0;
    std::vector<uint8_t> bytes;

    // A zeroed grid of the mesh's W x H grid points in the mode's layout.
    static DetailGrid Make(BrushMode mode, int meshWidth, int meshHeight);

    uint8_t& At(int x, int y) { return bytes[size_t(y) * size_t(width) + size_t(x)]; }
    uint8_t At(int x, int y) const { return bytes[size_t(y) * size_t(width) + size_t(x)]; }
    // The rectangle cut to the grid.
    GridRect Clamp(GridRect rect) const;
    // The bytes of a rectangle inside the grid, row by row.
    std::vector<uint8_t> Copy(const GridRect& rect) const;
    // Writes bytes taken by Copy of the same rectangle back.
    void Paste(const GridRect& rect, const std::vector<uint8_t>& data);
};

}  // namespace tamber::terrain::painting
