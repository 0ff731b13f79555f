#pragma once
// TIFF through libtiff: 8 bits per sample; grey (min-is-black), RGB, RGBA and
// paletted pictures in strips; paletted ones also at 1, 2 and 4 bits. Written
// with deflate compression.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/Result.h"
#include "images/Image.h"

namespace tamber::images {

// Reads the first picture of a TIFF held in memory. With `headerOnly` the file
// only has to open and carry a picture this reader accepts; no pixels are read.
base::Result<Image> ReadTiff(const uint8_t* data, size_t size, bool headerOnly = false);

// True when libtiff can open the file (its header and first directory are sound).
bool CanOpenTiff(const uint8_t* data, size_t size);

// Encodes paletted, grey, RGB and RGBA images.
base::Result<std::vector<uint8_t>> WriteTiff(const Image& image);

}  // namespace tamber::images
