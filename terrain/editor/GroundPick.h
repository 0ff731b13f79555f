#pragma once
// Where a ray from the camera meets the terrain, and which chunks the camera sees.
#include <array>
#include <optional>

#include "terrain/Mesh.h"

namespace tamber::terrain::painting {

using Vec3 = std::array<double, 3>;

// The map point (x, z) where the ray (view space: x mirrored, y in cells) first
// meets the mesh's surface; none when it misses the mesh.
std::optional<std::array<double, 2>> PickGround(const Mesh& mesh, const Vec3& origin, const Vec3& direction);

enum class Visibility { kInvisible = 0, kPartial = 1, kFull = 2 };

// A plane a·x + b·y + c·z + d >= 0 on its inner side.
using Plane = std::array<double, 4>;

// The side planes of a view frustum from its combined projection-view matrix
// (column-major, as OpenGL keeps it).
std::array<Plane, 4> SidePlanes(const std::array<double, 16>& matrix);

// A box given by its two corners, against the side planes: invisible when all 8
// corners are outside one plane, full when all are inside every plane.
Visibility Classify(const std::array<Plane, 4>& planes, const Vec3& low, const Vec3& high);

}  // namespace tamber::terrain::painting
