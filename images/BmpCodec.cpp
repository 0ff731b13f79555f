#include "images/BmpCodec.h"

#include <cstring>

#include "images/ByteOrder.h"

namespace tamber::images {

namespace {

constexpr int32_t kMaxSide = 32767;

size_t RowStride(int32_t width, uint32_t bytesPerPixel) {
    return (size_t(width) * bytesPerPixel + 3) & ~size_t(3);
}

}  // namespace

bool ReadBmpHeader(const uint8_t* data, size_t size, BmpHeader& header) {
    if (!data || size < kBmpHeaderSize || data[0] != 'B' || data[1] != 'M')
        return false;
    const uint8_t* info = data + 14;
    if (GetLE32(info) != 40)
        return false;
    int32_t width = int32_t(GetLE32(info + 4));
    int32_t height = int32_t(GetLE32(info + 8));
    uint16_t planes = GetLE16(info + 12);
    uint16_t bits = GetLE16(info + 14);
    uint32_t compression = GetLE32(info + 16);
    uint32_t colorsUsed = GetLE32(info + 32);
    uint32_t important = GetLE32(info + 36);
    if (width < 1 || width > kMaxSide || height == 0 || height < -kMaxSide || height > kMaxSide)
        return false;
    if (planes != 1 || compression != 0 || colorsUsed > 256 || important > 256 || important > colorsUsed)
        return false;
    if (bits != 8 && bits != 24 && bits != 32)
        return false;
    if (bits != 8 && (colorsUsed != 0 || important != 0))
        return false;
    header.width = width;
    header.height = height < 0 ? -height : height;
    header.bottomUp = height > 0;
    header.bitsPerPixel = bits;
    header.paletteEntries = bits == 8 ? (colorsUsed ? colorsUsed : 256) : 0;
    header.pixelOffset = kBmpHeaderSize + 4 * size_t(header.paletteEntries);
    return true;
}

bool ReadBmp(const uint8_t* data, size_t size, Image& image, BmpHeader* headerOut) {
    BmpHeader header;
    if (!ReadBmpHeader(data, size, header))
        return false;
    uint32_t bytesPerPixel = header.bitsPerPixel / 8;
    size_t stride = RowStride(header.width, bytesPerPixel);
    // Uncompressed rows: the file must hold every byte before anything is allocated.
    if (header.pixelOffset > size || (size - header.pixelOffset) / stride < size_t(header.height))
        return false;
    static constexpr uint32_t kFormats[5] = {0, kPixelPaletted, 0, kPixelRGB, kPixelRGBA};
    Image result;
    if (!CreateImage(result, header.width, header.height, kFormats[bytesPerPixel]))
        return false;
    if (header.bitsPerPixel == 8) {
        uint8_t entries[768];
        for (uint32_t i = 0; i < header.paletteEntries; ++i) {
            const uint8_t* quad = data + kBmpHeaderSize + 4 * i;
            entries[i * 3] = quad[2];
            entries[i * 3 + 1] = quad[1];
            entries[i * 3 + 2] = quad[0];
        }
        SetPalette(result, header.paletteEntries, entries);
    }
    size_t rowBytes = size_t(header.width) * bytesPerPixel;
    for (int32_t y = 0; y < header.height; ++y) {
        int32_t fileRow = header.bottomUp ? header.height - 1 - y : y;
        const uint8_t* src = data + header.pixelOffset + size_t(fileRow) * stride;
        uint8_t* dst = result.pixels.data() + size_t(y) * rowBytes;
        std::memcpy(dst, src, rowBytes);
        if (bytesPerPixel >= 3) {
            for (size_t x = 0; x < rowBytes; x += bytesPerPixel)
                std::swap(dst[x], dst[x + 2]);
        }
    }
    image = std::move(result);
    if (headerOut)
        *headerOut = header;
    return true;
}

bool WriteBmp(const Image& image, std::vector<uint8_t>& out) {
    uint32_t bits;
    switch (image.format) {
    case kPixelPaletted:
    case kPixelGrey:
        bits = 8;
        break;
    case kPixelRGB:
        bits = 24;
        break;
    case kPixelRGBA:
        bits = 32;
        break;
    default:
        return false;
    }
    // The reader refuses larger sides, so such a file could not be opened again.
    if (image.width < 1 || image.width > kMaxSide || image.height < 1 || image.height > kMaxSide)
        return false;
    uint32_t bytesPerPixel = bits / 8;
    size_t rowBytes = size_t(image.width) * bytesPerPixel;
    if (image.pixels.size() != rowBytes * size_t(image.height))
        return false;
    bool ownPalette = image.format == kPixelPaletted && image.paletteCount > 0 && image.palette.size() >= 768;
    uint32_t entries = bits == 8 ? (ownPalette ? image.paletteCount : 256) : 0;
    size_t stride = RowStride(image.width, bytesPerPixel);

    out.clear();
    out.reserve(kBmpHeaderSize + 4 * entries + stride * size_t(image.height));
    out.push_back('B');
    out.push_back('M');
    // The size of the whole file: other programs refuse a BMP whose size field is wrong.
    PutLE32(out, uint32_t(kBmpHeaderSize + 4 * entries + stride * size_t(image.height)));
    PutLE16(out, 0);
    PutLE16(out, 0);
    PutLE32(out, uint32_t(kBmpHeaderSize + 4 * entries));
    PutLE32(out, 40);
    PutLE32(out, uint32_t(image.width));
    PutLE32(out, uint32_t(image.height));
    PutLE16(out, 1);
    PutLE16(out, uint16_t(bits));
    PutLE32(out, 0);  // compression
    PutLE32(out, 0);  // image size
    PutLE32(out, 0);
    PutLE32(out, 0);
    PutLE32(out, entries);
    PutLE32(out, 0);  // important colours
    for (uint32_t i = 0; i < entries; ++i) {
        if (ownPalette) {
            const uint8_t* rgb = &image.palette[i * 3];
            out.insert(out.end(), {rgb[2], rgb[1], rgb[0], 0});
        } else {
            uint8_t v = uint8_t(i);
            out.insert(out.end(), {v, v, v, 0});
        }
    }
    for (int32_t y = image.height - 1; y >= 0; --y) {
        const uint8_t* src = image.pixels.data() + size_t(y) * rowBytes;
        size_t start = out.size();
        out.insert(out.end(), src, src + rowBytes);
        if (bytesPerPixel >= 3) {
            for (size_t x = start; x < out.size(); x += bytesPerPixel)
                std::swap(out[x], out[x + 2]);
        }
        out.resize(start + stride, 0);
    }
    return true;
}

}  // namespace tamber::images
