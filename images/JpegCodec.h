#pragma once
// JPEG reading through libjpeg: baseline and progressive files, delivered as
// grey or RGB pictures. JPEG is read only; pictures are written as BMP, PNG or TIFF.
#include <cstddef>
#include <cstdint>

#include "base/Result.h"
#include "images/Image.h"

namespace tamber::images {

// Pictures with more pixels than this (16384 x 16384) are refused before any
// pixel memory is taken: a small JPEG file can claim a huge size.
constexpr uint64_t kMaxJpegPixels = uint64_t(1) << 28;

// True when the data starts with a JPEG start-of-image marker.
bool IsJpeg(const uint8_t* data, size_t size);

// Reads a JPEG held in memory. Grey files become grey pictures, colour files
// (YCbCr, RGB, CMYK and YCCK) RGB pictures. A damaged or cut-short file fails
// with libjpeg's message.
base::Result<Image> ReadJpeg(const uint8_t* data, size_t size);

}  // namespace tamber::images
