#pragma once
// PNG through libpng: 8-bit grey, RGB, paletted and RGBA pictures.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "images/Image.h"

namespace tamber::images {

// Reads a PNG held in memory. With `headerOnly` only width, height and format are
// filled (no pixel buffer). Other bit depths and grey with alpha are refused;
// transparency chunks are ignored.
bool ReadPng(const uint8_t* data, size_t size, Image& image, bool headerOnly = false);

// Encodes paletted, grey, RGB and RGBA images, 8 bits, not interlaced.
bool WritePng(const Image& image, std::vector<uint8_t>& out);

}  // namespace tamber::images
