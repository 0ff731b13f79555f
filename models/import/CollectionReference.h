#pragma once
// The payload of a collection reference (tag group `core`): 384 bytes naming
// the collection that holds a geometry's textures.
#include <cstdint>
#include <span>
#include <vector>

#include "base/Result.h"

namespace tamber::models::import {

constexpr uint32_t kCollectionReferenceSize = 384;

// The collection's tagid at 0, 1 at 4, 320 bytes of 0xFF from 8, 0xFFFFFFFF at
// 328, the rest zero.
std::vector<uint8_t> WriteCollectionReference(uint32_t collectionTagid);
// The collection's tagid; fails when the payload is shorter than its first word.
base::Result<uint32_t> ReadCollectionReference(std::span<const uint8_t> payload);

}  // namespace tamber::models::import
