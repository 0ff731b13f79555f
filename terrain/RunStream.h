#pragma once
// Run streams of detail maps: 2-byte runs (value, count - 1), each covering 1 to
// 256 equal bytes.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "collections/BigEndianReader.h"

namespace tamber::terrain {
using namespace tamber::collections;

// Appends the runs of `bytes`: a new run at every change of value and after 256
// equal bytes.
void EncodeRuns(std::span<const uint8_t> bytes, std::vector<uint8_t>& out);

// Reads runs from `in` until `out` is full; a run passing the end is cut there.
// False when the stream ends early.
bool DecodeRuns(BigEndianReader& in, std::span<uint8_t> out);

}  // namespace tamber::terrain
