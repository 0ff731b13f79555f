#pragma once
// Pixel codecs of collection bitmaps: paletted RAW and RLE rows (8-bit and 16-bit)
// and the high-colour stream. Decoders check every count against the data.
#include <cstdint>
#include <span>
#include <vector>

#include "base/Result.h"

namespace tamber::collections {

struct PalettedLayout {
    int width = 0;
    int height = 0;
    bool rle = false;
    bool sixteenBit = false;
    bool padded = false;       // rows padded to an even byte count
    bool colourAlpha = false;  // 8-bit alpha from the palette colour
};

// Decodes paletted rows into (alpha, index) pixels. `palette` is 768 bytes and is
// used only for colour alpha. Fails when a row is invalid or the data runs out.
base::Result<std::vector<uint8_t>> DecodePaletted(std::span<const uint8_t> data, const PalettedLayout& layout,
                                                  const uint8_t* palette);

// Encodes (alpha, index) pixels. RLE runs cover every pixel that is not (0, 0);
// 16-bit alpha is rounded to the nearest multiple of 17. Always succeeds for a
// pixel buffer of width x height x 2 bytes.
std::vector<uint8_t> EncodePaletted(std::span<const uint8_t> pixels, const PalettedLayout& layout);

// Decodes a high-colour stream into 8-byte pixels; fails when the data runs out.
base::Result<std::vector<uint8_t>> DecodeHighColour(std::span<const uint8_t> data, int width, int height);

// Encodes 8-byte pixels as a high-colour stream, using runs for transparent and
// opaque stretches. Fails when a pixel cannot be expressed: a level-0 pixel
// with colour bytes, or extra bytes without bit 0 of its first colour byte.
base::Result<std::vector<uint8_t>> EncodeHighColour(std::span<const uint8_t> pixels, int width, int height);

}  // namespace tamber::collections
