#pragma once
// Shared check of the image fuzz targets: whatever a reader accepts must be
// consistent, and must survive being written and read again unchanged.
#include <cstdlib>
#include <vector>

#include "images/MediaFile.h"

using namespace tamber::base;
using namespace tamber::images;

inline void CheckDecoded(const uint8_t* data, size_t size, uint32_t fileFormat) {
    Result<Image> image = DecodeImage(data, size, fileFormat);
    if (!image)
        return;
    if (image->pixels.size() != image->PixelCount() * BytesPerPixel(image->format) || image->paletteCount > 256 ||
        (image->IsPaletted() && image->palette.size() != 768))
        std::abort();
    Result<std::vector<uint8_t>> encoded = EncodeImage(*image, fileFormat);
    if (!encoded)
        std::abort();
    Result<Image> again = DecodeImage(encoded->data(), encoded->size(), fileFormat);
    if (!again || again->format != image->format || again->width != image->width || again->pixels != image->pixels)
        std::abort();
}
