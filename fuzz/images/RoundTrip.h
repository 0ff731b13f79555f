#pragma once
// Shared check of the image fuzz targets: whatever a reader accepts must be
// consistent, and must survive being written and read again unchanged.
#include <cstdlib>
#include <vector>

#include "images/MediaFile.h"

using namespace tamber::images;

inline void CheckDecoded(const uint8_t* data, size_t size, uint32_t fileFormat) {
    Image image;
    if (!DecodeImage(data, size, fileFormat, image))
        return;
    if (image.pixels.size() != image.PixelCount() * BytesPerPixel(image.format) || image.paletteCount > 256 ||
        (image.IsPaletted() && image.palette.size() != 768))
        std::abort();
    std::vector<uint8_t> encoded;
    Image again;
    if (!EncodeImage(image, fileFormat, encoded) || !DecodeImage(encoded.data(), encoded.size(), fileFormat, again))
        std::abort();
    if (again.format != image.format || again.width != image.width || again.pixels != image.pixels)
        std::abort();
}
