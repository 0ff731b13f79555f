#include "models/PolygonTriangulation.h"

#include <cmath>
#include <list>

namespace tamber::models {

namespace {

struct Point2 {
    double x = 0, y = 0;
};

double Cross(const Point2& a, const Point2& b, const Point2& c) {
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

// Corners projected onto the coordinate plane the polygon's (Newell) normal is
// closest to, with the winding made counter-clockwise. Empty when the polygon
// has no area.
std::vector<Point2> ProjectCounterClockwise(std::span<const std::array<float, 3>> corners) {
    double normal[3] = {0, 0, 0};
    const size_t n = corners.size();
    for (size_t i = 0; i < n; ++i) {
        const auto& a = corners[i];
        const auto& b = corners[(i + 1) % n];
        normal[0] += (double(a[1]) - b[1]) * (double(a[2]) + b[2]);
        normal[1] += (double(a[2]) - b[2]) * (double(a[0]) + b[0]);
        normal[2] += (double(a[0]) - b[0]) * (double(a[1]) + b[1]);
    }
    int drop = 0;
    for (int axis = 1; axis < 3; ++axis) {
        if (std::fabs(normal[axis]) > std::fabs(normal[drop])) drop = axis;
    }
    if (!(std::fabs(normal[drop]) > 0) || !std::isfinite(normal[drop])) return {};
    // Dropping axis `drop` and keeping the next two in cyclic order keeps the
    // orientation when the normal's component is positive.
    const int u = (drop + 1) % 3, v = (drop + 2) % 3;
    const double flip = normal[drop] > 0 ? 1.0 : -1.0;
    std::vector<Point2> points(n);
    for (size_t i = 0; i < n; ++i) points[i] = {corners[i][size_t(u)], flip * corners[i][size_t(v)]};
    return points;
}

bool IsConvex(const std::vector<Point2>& points) {
    const size_t n = points.size();
    for (size_t i = 0; i < n; ++i) {
        if (Cross(points[i], points[(i + 1) % n], points[(i + 2) % n]) < 0) return false;
    }
    return true;
}

bool InTriangle(const Point2& p, const Point2& a, const Point2& b, const Point2& c) {
    return Cross(a, b, p) >= 0 && Cross(b, c, p) >= 0 && Cross(c, a, p) >= 0;
}

std::vector<CornerTriangle> Fan(size_t n) {
    std::vector<CornerTriangle> triangles;
    triangles.reserve(n - 2);
    for (uint32_t i = 1; i + 1 < n; ++i) triangles.push_back({0, i, i + 1});
    return triangles;
}

std::vector<CornerTriangle> ClipEars(const std::vector<Point2>& points) {
    std::vector<CornerTriangle> triangles;
    triangles.reserve(points.size() - 2);
    std::list<uint32_t> remaining;
    for (uint32_t i = 0; i < points.size(); ++i) remaining.push_back(i);
    auto next = [&](std::list<uint32_t>::iterator it) { return ++it == remaining.end() ? remaining.begin() : it; };
    auto prev = [&](std::list<uint32_t>::iterator it) {
        return it == remaining.begin() ? std::prev(remaining.end()) : std::prev(it);
    };
    auto isEar = [&](std::list<uint32_t>::iterator it) {
        const uint32_t a = *prev(it), b = *it, c = *next(it);
        if (Cross(points[a], points[b], points[c]) <= 0) return false;
        for (uint32_t other : remaining) {
            if (other == a || other == b || other == c) continue;
            const Point2& p = points[other];
            // A corner at the same place as one of the ear's (a bridge or a
            // touching vertex) does not block it.
            const bool shared = (p.x == points[a].x && p.y == points[a].y) ||
                                (p.x == points[b].x && p.y == points[b].y) ||
                                (p.x == points[c].x && p.y == points[c].y);
            if (!shared && InTriangle(p, points[a], points[b], points[c])) return false;
        }
        return true;
    };
    auto it = remaining.begin();
    while (remaining.size() > 3) {
        size_t tried = 0;
        while (tried < remaining.size() && !isEar(it)) {
            it = next(it);
            ++tried;
        }
        // No ear in a whole round: the polygon crosses itself or is degenerate;
        // cutting the current corner anyway still ends with n - 2 triangles.
        triangles.push_back({*prev(it), *it, *next(it)});
        const auto before = prev(it);
        remaining.erase(it);
        it = before;
    }
    auto first = remaining.begin();
    triangles.push_back({*first, *std::next(first), *std::next(first, 2)});
    return triangles;
}

}  // namespace

std::vector<CornerTriangle> TriangulatePolygon(std::span<const std::array<float, 3>> corners) {
    const size_t n = corners.size();
    if (n < 3) return {};
    if (n == 3) return {{0, 1, 2}};
    const std::vector<Point2> points = ProjectCounterClockwise(corners);
    if (points.empty() || IsConvex(points)) return Fan(n);
    return ClipEars(points);
}

}  // namespace tamber::models
