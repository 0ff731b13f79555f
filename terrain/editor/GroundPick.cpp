#include "terrain/editor/GroundPick.h"

#include <algorithm>
#include <cmath>

namespace tamber::terrain::painting {

std::optional<std::array<double, 2>> PickGround(const Mesh& mesh, const Vec3& origin, const Vec3& direction) {
    // Map space: x not mirrored, heights in cells.
    const double ox = -origin[0], oz = origin[2], oy = origin[1];
    const double dx = -direction[0], dz = direction[2], dy = direction[1];
    const double maxX = mesh.width - 1, maxZ = mesh.height - 1;
    if (maxX <= 0 || maxZ <= 0)
        return std::nullopt;
    // The part of the ray over the mesh.
    double t0 = 0, t1 = 1e4;
    for (auto [o, d, hi] : {std::array<double, 3>{ox, dx, maxX}, std::array<double, 3>{oz, dz, maxZ}}) {
        if (std::fabs(d) < 1e-12) {
            if (o < 0 || o > hi) return std::nullopt;
            continue;
        }
        double a = (0 - o) / d, b = (hi - o) / d;
        if (a > b) std::swap(a, b);
        t0 = std::max(t0, a), t1 = std::min(t1, b);
    }
    if (t0 > t1)
        return std::nullopt;
    const double horizontal = std::hypot(dx, dz);
    const double step = horizontal > 1e-9 ? 0.25 / horizontal : (t1 - t0);
    auto above = [&](double t) {
        const double x = std::clamp(ox + dx * t, 0.0, maxX - 1e-9), z = std::clamp(oz + dz * t, 0.0, maxZ - 1e-9);
        return oy + dy * t - mesh.HeightAt(x, z) / kHeightUnitsPerCell;
    };
    double previous = t0;
    if (above(t0) < 0)
        return std::nullopt;  // starts under the ground
    for (double t = t0; t <= t1 + step; t += step) {
        const double at = std::min(t, t1);
        if (above(at) <= 0) {
            double lo = previous, hi = at;
            for (int i = 0; i < 30; ++i) {
                const double mid = (lo + hi) / 2;
                (above(mid) > 0 ? lo : hi) = mid;
            }
            return std::array<double, 2>{std::clamp(ox + dx * hi, 0.0, maxX), std::clamp(oz + dz * hi, 0.0, maxZ)};
        }
        previous = at;
        if (at >= t1) break;
    }
    return std::nullopt;
}

std::array<Plane, 4> SidePlanes(const std::array<double, 16>& m) {
    // Rows of the matrix (column-major storage).
    auto row = [&](int r) { return std::array<double, 4>{m[size_t(r)], m[size_t(4 + r)], m[size_t(8 + r)], m[size_t(12 + r)]}; };
    const auto r0 = row(0), r1 = row(1), r3 = row(3);
    std::array<Plane, 4> planes;
    for (size_t i = 0; i < 4; ++i) {
        planes[0][i] = r3[i] + r0[i];  // left
        planes[1][i] = r3[i] - r0[i];  // right
        planes[2][i] = r3[i] + r1[i];  // bottom
        planes[3][i] = r3[i] - r1[i];  // top
    }
    return planes;
}

Visibility Classify(const std::array<Plane, 4>& planes, const Vec3& low, const Vec3& high) {
    bool full = true;
    for (const Plane& plane : planes) {
        int inside = 0;
        for (int corner = 0; corner < 8; ++corner) {
            const double x = corner & 1 ? high[0] : low[0], y = corner & 2 ? high[1] : low[1], z = corner & 4 ? high[2] : low[2];
            inside += plane[0] * x + plane[1] * y + plane[2] * z + plane[3] >= 0;
        }
        if (inside == 0)
            return Visibility::kInvisible;
        if (inside < 8)
            full = false;
    }
    return full ? Visibility::kFull : Visibility::kPartial;
}

}  // namespace tamber::terrain::painting
