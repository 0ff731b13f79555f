#pragma once
// The payload of a model tag (group `mode`): a 64-byte header, 8 zero bytes,
// then the vertex flags, the part records and the footprint (big-endian).
#include <cstdint>
#include <vector>

#include "models/import/Geometry.h"

namespace tamber::models::import {

constexpr uint32_t kModelHeaderSize = 64;
constexpr uint32_t kModelDataStart = 72;
constexpr uint32_t kModelPartSize = 64;
constexpr uint32_t kFootprintEntrySize = 8;

// The model of an imported geometry: one flag per vertex (1 when its game z is
// 0), one part record, and the footprint of the geometry's triangles.
std::vector<uint8_t> WriteModelPayload(const Geometry& geometry, uint32_t geometryTagid);

}  // namespace tamber::models::import
