#include "models/import/Footprint.h"

#include <algorithm>
#include <cmath>

namespace tamber::models::import {

namespace {

constexpr double kHalfSize = 0.49;

struct Point {
    double x, y;
};

// Separating-axis test of a triangle against the square of half-size
// kHalfSize centred at (cx, cy).
bool Overlaps(const Point (&t)[3], double cx, double cy) {
    const double lowX = std::min({t[0].x, t[1].x, t[2].x}), highX = std::max({t[0].x, t[1].x, t[2].x});
    const double lowY = std::min({t[0].y, t[1].y, t[2].y}), highY = std::max({t[0].y, t[1].y, t[2].y});
    if (highX < cx - kHalfSize || lowX > cx + kHalfSize || highY < cy - kHalfSize || lowY > cy + kHalfSize)
        return false;
    for (int edge = 0; edge < 3; ++edge) {
        const Point& a = t[edge];
        const Point& b = t[(edge + 1) % 3];
        const double nx = b.y - a.y, ny = a.x - b.x;  // the edge's normal
        if (nx == 0 && ny == 0) continue;
        double low = nx * t[0].x + ny * t[0].y, high = low;
        for (const Point& p : t) {
            low = std::min(low, nx * p.x + ny * p.y);
            high = std::max(high, nx * p.x + ny * p.y);
        }
        const double centre = nx * cx + ny * cy;
        const double reach = kHalfSize * (std::fabs(nx) + std::fabs(ny));
        if (high < centre - reach || low > centre + reach) return false;
    }
    return true;
}

}  // namespace

std::vector<FootprintCell> ComputeFootprint(const Geometry& g) {
    const double scale = kGameUnitsPerModelUnit;
    const int x0 = int(std::round(g.boundsMin[0] / scale - 0.5)), x1 = int(std::round(g.boundsMax[0] / scale + 0.5));
    const int y0 = int(std::round(g.boundsMin[1] / scale - 0.5)), y1 = int(std::round(g.boundsMax[1] / scale + 0.5));
    const int columns = y1 - y0 + 1;
    std::vector<FootprintCell> cells;
    cells.reserve(size_t(x1 - x0 + 1) * size_t(columns));
    for (int x = x0; x <= x1; ++x) {
        for (int y = y0; y <= y1; ++y) cells.push_back({int16_t(x), int16_t(y), 0});
    }
    // Each triangle tests only the cells under its own extent.
    for (const GeometryTriangle& triangle : g.triangles) {
        Point t[3];
        for (size_t k = 0; k < 3; ++k) {
            const auto& vertex = g.vertices[triangle.vertex[k]];
            t[k] = {vertex[0] / scale, vertex[1] / scale};
        }
        const int fromX = std::max(x0, int(std::floor(std::min({t[0].x, t[1].x, t[2].x}) - kHalfSize)));
        const int toX = std::min(x1, int(std::ceil(std::max({t[0].x, t[1].x, t[2].x}) + kHalfSize)));
        const int fromY = std::max(y0, int(std::floor(std::min({t[0].y, t[1].y, t[2].y}) - kHalfSize)));
        const int toY = std::min(y1, int(std::ceil(std::max({t[0].y, t[1].y, t[2].y}) + kHalfSize)));
        for (int x = fromX; x <= toX; ++x) {
            for (int y = fromY; y <= toY; ++y) {
                FootprintCell& cell = cells[size_t(x - x0) * size_t(columns) + size_t(y - y0)];
                if (cell.value == 0 && Overlaps(t, x, y)) cell.value = kFootprintCovered;
            }
        }
    }
    return cells;
}

}  // namespace tamber::models::import
