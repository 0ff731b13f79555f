#pragma once
// A detail texture (tag group `dtex`): a small tiling RGB image whose sides are
// powers of two, stored as a 16-byte header and a compressed image stream.
#include <cstdint>
#include <span>
#include <vector>

#include "base/Result.h"

namespace tamber::terrain {

struct DetailTexture {
    uint32_t width = 0, height = 0;
    uint32_t word12 = 0;           // header word at 12, kept
    std::vector<uint8_t> pixels;   // width x height x 3 (red, green, blue), rows top to bottom

    size_t PixelCount() const { return size_t(width) * height; }
};

bool IsPowerOfTwo(uint32_t value);

// Reads a payload; fails when the header and the stream disagree or either is damaged.
base::Result<DetailTexture> ReadDetailTexture(std::span<const uint8_t> payload);
// Writes the payload; fails when the sides are not powers of two the stream can hold.
base::Result<std::vector<uint8_t>> WriteDetailTexture(const DetailTexture& texture);

// 256 x 256 pixels of black and white 16 x 16 squares.
DetailTexture MakeDefaultDetailTexture();

// Moves each channel's mean to 128.
void MeanCenterRgb(DetailTexture& texture);
// Moves the mean brightness to about 128 by adding one offset to every channel.
void MeanCenterLuma(DetailTexture& texture);
// Moves pixel (x, y) to ((x + w/2) mod w, (y + h/2) mod h), bringing the tiling seams to the middle.
void ShiftHalf(DetailTexture& texture);

}  // namespace tamber::terrain
