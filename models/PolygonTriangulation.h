#pragma once
// Splits a planar (or nearly planar) polygon into triangles.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace tamber::models {

using CornerTriangle = std::array<uint32_t, 3>;

// Triangles of corner indices covering the polygon whose corners are given in
// order, wound like the polygon. A triangle stays as it is; a convex polygon
// becomes a fan from its first corner; a concave one is cut by ear clipping in
// the plane it lies closest to. Self-intersecting or degenerate polygons still
// give n - 2 triangles. Fewer than three corners give none.
std::vector<CornerTriangle> TriangulatePolygon(std::span<const std::array<float, 3>> corners);

}  // namespace tamber::models
