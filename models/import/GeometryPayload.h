#pragma once
// The payload of a geometry tag: a 128-byte header, then the material, vertex
// and triangle arrays (numbers big-endian).
#include <cstdint>
#include <span>
#include <vector>

#include "base/Result.h"
#include "models/import/Geometry.h"

namespace tamber::models::import {

constexpr uint32_t kGeometryHeaderSize = 128;
constexpr uint32_t kGeometryMaterialSize = 64;
constexpr uint32_t kGeometryVertexSize = 6;
constexpr uint32_t kGeometryTriangleSize = 64;

std::vector<uint8_t> WriteGeometryPayload(const Geometry& geometry);

// Fails when the header's arrays do not lie inside the payload, their sizes
// disagree with the counts, or a triangle names a vertex or material that is
// not there.
base::Result<Geometry> ReadGeometryPayload(std::span<const uint8_t> payload);

}  // namespace tamber::models::import
