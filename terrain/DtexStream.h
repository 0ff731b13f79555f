#pragma once
// The image stream of detail textures: a lossless predictive code of RGB pixels,
// stored as little-endian 32-bit words read from their most significant bit down.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "base/Result.h"

namespace tamber::terrain {

constexpr int kDtexStreamMaxSide = 4095;  // sides are 12-bit fields

struct DtexImage {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;  // width x height x 3, rows top to bottom
};

// Decodes a stream; fails when it is damaged or shorter than it claims.
base::Result<DtexImage> DecodeDtexStream(std::span<const uint8_t> stream);

// Encodes RGB pixels (width x height x 3 bytes) with the predictor mode that gives
// the fewest bits, or with `mode` when given, and per 8 x 8 block and residual
// channel the best Rice parameter. Fails when a side is 0 or above kDtexStreamMaxSide.
base::Result<std::vector<uint8_t>> EncodeDtexStream(const uint8_t* rgb, int width, int height,
                                                    std::optional<int> mode = std::nullopt);

}  // namespace tamber::terrain
