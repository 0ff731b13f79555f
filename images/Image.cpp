#include "images/Image.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace tamber::images {

size_t BytesPerPixel(uint32_t format) {
    switch (format) {
    case kPixelPaletted:
    case kPixelGrey:
        return 1;
    case kPixelRGB:
        return 3;
    case kPixelRGBA:
        return 4;
    case kPixelPalettedAlpha:
        return 2;
    default:
        return format >= 1 && format <= 255 ? format : 0;
    }
}

bool CreateImage(Image& image, int32_t width, int32_t height, uint32_t format, const uint8_t* pixels) {
    size_t bpp = BytesPerPixel(format);
    if (bpp == 0 || width < 0 || height < 0)
        return false;
    size_t count = size_t(width) * size_t(height);
    if (count != 0 && bpp > std::numeric_limits<size_t>::max() / 2 / count)
        return false;
    try {
        std::vector<uint8_t> buffer(count * bpp);
        if (pixels && !buffer.empty())
            std::memcpy(buffer.data(), pixels, buffer.size());
        image.pixels = std::move(buffer);
        image.palette.clear();
        if (format == kPixelPaletted || format == kPixelPalettedAlpha)
            image.palette.assign(768, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    image.format = format;
    image.width = width;
    image.height = height;
    image.paletteCount = 0;
    return true;
}

std::string UnwritableFormatMessage(const char* fileType) {
    return std::string("only paletted, grey, RGB and RGBA pictures can be written as ") + fileType;
}

std::string EmptyImageMessage() { return "the picture has no pixels, or fewer than its size needs"; }

bool SetPalette(Image& image, uint32_t count, const uint8_t* entries) {
    if (count > 256 || (count > 0 && !entries))
        return false;
    image.palette.assign(768, 0);
    if (count > 0)
        std::memcpy(image.palette.data(), entries, count * 3);
    image.paletteCount = count;
    return true;
}

bool HasGreyRampPalette(const Image& image) {
    uint32_t count = std::min<uint32_t>(image.paletteCount, uint32_t(image.palette.size() / 3));
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* entry = &image.palette[i * 3];
        if (entry[0] != i || entry[1] != i || entry[2] != i)
            return false;
    }
    return true;
}

}  // namespace tamber::images
