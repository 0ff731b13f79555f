#pragma once
// PNG through libpng. Read: every colour type at every bit depth, interlaced or
// not, delivered as 8-bit paletted, grey, RGB or RGBA pictures. Written: 8-bit
// paletted, grey, RGB and RGBA pictures, not interlaced.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/Result.h"
#include "images/Image.h"

namespace tamber::images {

// Width, height and format (no pixel buffer) from the signature and the IHDR
// chunk; enough of a file's first bytes will do.
base::Result<Image> ReadPngHeader(const uint8_t* data, size_t size);

// Reads a PNG held in memory. 1, 2 and 4-bit palettes become paletted pictures,
// 16-bit samples keep their high byte, grey levels below 8 bits are scaled to
// 0..255, grey with alpha becomes RGBA. A transparency chunk is applied (the
// picture becomes RGBA) only when asked.
base::Result<Image> ReadPng(const uint8_t* data, size_t size, Transparency transparency = Transparency::kIgnore);

// Encodes paletted, grey, RGB and RGBA images, 8 bits, not interlaced.
base::Result<std::vector<uint8_t>> WritePng(const Image& image);

}  // namespace tamber::images
