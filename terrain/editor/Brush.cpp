#include "terrain/editor/Brush.h"

#include <algorithm>
#include <cmath>

#include "terrain/Mesh.h"

namespace tamber::terrain::painting {
using namespace tamber::terrain;

bool Brush::Takes(double dx, double dz) const {
    const double r2 = radius * radius;
    if (shape == BrushShape::kSquare)
        return dx * dx <= r2 && dz * dz <= r2;
    return dx * dx + dz * dz <= r2;
}

double ClampRadius(double radius) { return std::clamp(radius, Brush::kMinRadius, Brush::kMaxRadius); }

GridRect ApplyBrush(DetailGrid& grid, const Brush& brush, double px, double pz, const PaintValue& paint,
                    int meshWidth, int meshHeight) {
    const double r = brush.radius;
    if (!std::isfinite(px) || !std::isfinite(pz) || meshWidth <= 0 || meshHeight <= 0)
        return {};
    const auto cut = [](double value, int limit) { return int(std::clamp(value, -1.0, double(limit))); };
    const int x0 = std::max(cut(std::floor(px - r), meshWidth), 0), x1 = std::min(cut(std::ceil(px + r), meshWidth), meshWidth - 1);
    const int z0 = std::max(cut(std::floor(pz - r), meshHeight), 0), z1 = std::min(cut(std::ceil(pz + r), meshHeight), meshHeight - 1);
    if (x1 < x0 || z1 < z0)
        return {};
    const uint8_t value = paint.Value();
    const auto paintAt = [&](uint8_t& element, double x, double z) {
        if (brush.Takes(x - px, z - pz) && !paint.Spares(element))
            element = value;
    };
    const bool triangles = brush.mode == BrushMode::kTriangle;
    for (int z = z0; z <= z1; ++z)
        for (int x = x0; x <= x1; ++x) {
            if (!triangles) {
                paintAt(grid.At(x, z), x, z);
                continue;
            }
            for (int t = 0; t < 2; ++t) {
                const std::array<double, 2> centre = TriangleCentre({x, z, t});
                paintAt(grid.At(x * 2 + t, z), centre[0], centre[1]);
            }
        }
    const int scale = triangles ? 2 : 1;
    return {x0 * scale, z0, (x1 + 1) * scale, z1 + 1};
}

}  // namespace tamber::terrain::painting
