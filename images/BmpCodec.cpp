#include "images/BmpCodec.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstring>
#include <string>

#include "images/ByteOrder.h"

namespace tamber::images {
using namespace tamber::base;

namespace {

constexpr int32_t kMaxSide = 32767;
// Run-length data can describe far more pixels than it has bytes; a picture
// larger than this many pixels per data byte (beyond a small allowance) is
// refused before its pixels are allocated.
constexpr uint64_t kMaxRleRatio = 1024;
constexpr uint64_t kRleAllowance = uint64_t(1) << 20;

size_t RowStride(int32_t width, uint32_t bitsPerPixel) { return (size_t(width) * bitsPerPixel + 31) / 32 * 4; }

// A channel mask of 32-bit pixels must select one whole byte.
bool IsByteMask(uint32_t mask) { return mask == 0xFFu || mask == 0xFF00u || mask == 0xFF0000u || mask == 0xFF000000u; }

Status ReadMasks(const uint8_t* data, size_t size, uint32_t infoSize, BmpHeader& header) {
    // A 40-byte header is followed by three masks; the longer headers hold four.
    const size_t at = infoSize == 40 ? kBmpHeaderSize : 14 + 40;
    const size_t count = infoSize == 40 ? 3 : 4;
    if (size < at + 4 * count)
        return Fail("the BMP file ends inside its channel masks");
    for (size_t i = 0; i < count; ++i)
        header.masks[i] = GetLE32(data + at + 4 * i);
    const uint32_t* m = header.masks;
    const bool distinct = m[0] != m[1] && m[0] != m[2] && m[1] != m[2] && m[3] != m[0] && m[3] != m[1] && m[3] != m[2];
    if (!IsByteMask(m[0]) || !IsByteMask(m[1]) || !IsByteMask(m[2]) || (m[3] != 0 && !IsByteMask(m[3])) || !distinct)
        return Fail("only BMP channel masks of one whole byte per channel are read");
    return Ok();
}

Status CheckCompression(uint16_t bits, uint32_t compression, bool bottomUp) {
    const bool known = compression == kBmpUncompressed || (compression == kBmpRle8 && bits == 8) ||
                       (compression == kBmpRle4 && bits == 4) || (compression == kBmpBitFields && bits == 32);
    if (!known)
        return Fail("BMP compression " + std::to_string(compression) + " at " + std::to_string(bits) +
                    " bits per pixel is not read");
    if ((compression == kBmpRle8 || compression == kBmpRle4) && !bottomUp)
        return Fail("a run-length encoded BMP picture cannot be stored top-down");
    return Ok();
}

// A channel with no mask (alpha only) is opaque.
uint8_t MaskedChannel(uint32_t pixel, uint32_t mask) {
    return mask == 0 ? 255 : uint8_t((pixel & mask) >> std::countr_zero(mask));
}

// One stored row into the picture's row: indices, RGB, or RGBA.
void UnpackRow(const uint8_t* src, uint8_t* dst, const BmpHeader& header) {
    const int32_t width = header.width;
    switch (header.bitsPerPixel) {
    case 1:
    case 4: {
        const uint32_t bits = header.bitsPerPixel, perByte = 8 / bits, mask = (1u << bits) - 1;
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t shift = 8 - bits * (uint32_t(x) % perByte + 1);
            dst[x] = uint8_t((src[uint32_t(x) / perByte] >> shift) & mask);
        }
        break;
    }
    case 8:
        std::memcpy(dst, src, size_t(width));
        break;
    case 24:
        for (int32_t x = 0; x < width; ++x, src += 3, dst += 3) {
            dst[0] = src[2];
            dst[1] = src[1];
            dst[2] = src[0];
        }
        break;
    default:
        assert(header.bitsPerPixel == 32);
        for (int32_t x = 0; x < width; ++x, src += 4, dst += 4) {
            const uint32_t pixel = GetLE32(src);
            for (int c = 0; c < 4; ++c)
                dst[c] = MaskedChannel(pixel, header.masks[c]);
        }
    }
}

}  // namespace

Result<BmpHeader> ReadBmpHeader(const uint8_t* data, size_t size) {
    if (!data || size < kBmpHeaderSize || data[0] != 'B' || data[1] != 'M')
        return Fail("not a BMP file");
    const uint8_t* info = data + 14;
    const uint32_t infoSize = GetLE32(info);
    if (infoSize != 40 && infoSize != 56 && infoSize != 108 && infoSize != 124)
        return Fail("a BMP information header of " + std::to_string(infoSize) + " bytes is not read");
    const int32_t width = int32_t(GetLE32(info + 4));
    const int32_t height = int32_t(GetLE32(info + 8));
    const uint16_t planes = GetLE16(info + 12);
    const uint16_t bits = GetLE16(info + 14);
    const uint32_t compression = GetLE32(info + 16);
    const uint32_t colorsUsed = GetLE32(info + 32);
    const uint32_t important = GetLE32(info + 36);
    if (width < 1 || width > kMaxSide || height == 0 || height < -kMaxSide || height > kMaxSide || planes != 1)
        return Fail("the BMP picture's size is invalid");
    const bool paletted = bits == 1 || bits == 4 || bits == 8;
    if (!paletted && bits != 24 && bits != 32)
        return Fail("BMP pictures of " + std::to_string(bits) + " bits per pixel are not read");
    BmpHeader header;
    header.width = width;
    header.height = height < 0 ? -height : height;
    header.bottomUp = height > 0;
    header.bitsPerPixel = bits;
    header.compression = compression;
    if (Status known = CheckCompression(bits, compression, header.bottomUp); !known)
        return std::move(known).TakeError();
    const uint32_t maxEntries = paletted ? 1u << bits : 0;
    if (colorsUsed > maxEntries || important > (colorsUsed ? colorsUsed : maxEntries))
        return Fail("the BMP file's colour counts are invalid");
    if (compression == kBmpBitFields) {
        if (Status masks = ReadMasks(data, size, infoSize, header); !masks)
            return std::move(masks).TakeError();
    } else if (bits == 32) {
        // Plain 32-bit pixels are stored blue, green, red, alpha.
        const uint32_t plain[4] = {0xFF0000u, 0xFF00u, 0xFFu, 0xFF000000u};
        std::copy(plain, plain + 4, header.masks);
    }
    header.paletteOffset = 14 + infoSize + (compression == kBmpBitFields && infoSize == 40 ? 12 : 0);
    header.paletteEntries = paletted ? (colorsUsed ? colorsUsed : maxEntries) : 0;
    const size_t paletteEnd = header.paletteOffset + 4 * size_t(header.paletteEntries);
    // The 40-byte form's rows follow the palette; the longer headers come from
    // writers that may leave a gap, so their pixel offset counts.
    header.pixelOffset = infoSize == 40 ? paletteEnd : std::max<size_t>(GetLE32(data + 10), paletteEnd);
    return header;
}

Result<Image> ReadBmp(const uint8_t* data, size_t size) {
    Result<BmpHeader> read = ReadBmpHeader(data, size);
    if (!read)
        return std::move(read).TakeError();
    const BmpHeader& header = *read;
    if (header.pixelOffset > size)
        return Fail("the BMP file ends before its pixels");
    const uint8_t* rows = data + header.pixelOffset;
    const size_t available = size - header.pixelOffset;
    const bool rle = header.compression == kBmpRle8 || header.compression == kBmpRle4;
    const uint64_t pixels = uint64_t(header.width) * uint64_t(header.height);
    const size_t stride = RowStride(header.width, header.bitsPerPixel);
    // The file must hold every byte (or, run-length encoded, plausibly describe
    // every pixel) before anything is allocated.
    if (rle ? pixels > uint64_t(available) * kMaxRleRatio + kRleAllowance : available / stride < size_t(header.height))
        return Fail("the BMP file is shorter than its picture needs");
    const uint32_t format = header.paletteEntries ? kPixelPaletted : header.bitsPerPixel == 24 ? kPixelRGB : kPixelRGBA;
    Image result;
    if (!CreateImage(result, header.width, header.height, format))
        return Fail("the BMP picture is too large to hold in memory");
    if (header.paletteEntries) {
        uint8_t entries[768];
        for (uint32_t i = 0; i < header.paletteEntries; ++i) {
            const uint8_t* quad = data + header.paletteOffset + 4 * i;
            entries[i * 3] = quad[2];
            entries[i * 3 + 1] = quad[1];
            entries[i * 3 + 2] = quad[0];
        }
        SetPalette(result, header.paletteEntries, entries);
    }
    if (rle) {
        if (Status decoded = DecodeBmpRle(rows, available, header, result.pixels.data()); !decoded)
            return std::move(decoded).TakeError();
        return result;
    }
    const size_t rowBytes = size_t(header.width) * BytesPerPixel(format);
    for (int32_t y = 0; y < header.height; ++y) {
        const int32_t fileRow = header.bottomUp ? header.height - 1 - y : y;
        UnpackRow(rows + size_t(fileRow) * stride, result.pixels.data() + size_t(y) * rowBytes, header);
    }
    return result;
}

Result<std::vector<uint8_t>> WriteBmp(const Image& image) {
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
        return Fail(UnwritableFormatMessage("BMP"));
    }
    // The reader refuses larger sides, so such a file could not be opened again.
    if (image.width > kMaxSide || image.height > kMaxSide)
        return Fail("a BMP picture's sides are at most 32767 pixels");
    uint32_t bytesPerPixel = bits / 8;
    size_t rowBytes = size_t(image.width) * bytesPerPixel;
    if (image.width < 1 || image.height < 1 || image.pixels.size() != rowBytes * size_t(image.height))
        return Fail(EmptyImageMessage());
    bool ownPalette = image.format == kPixelPaletted && image.paletteCount > 0 && image.palette.size() >= 768;
    uint32_t entries = bits == 8 ? (ownPalette ? image.paletteCount : 256) : 0;
    size_t stride = RowStride(image.width, bits);

    std::vector<uint8_t> out;
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
    return out;
}

}  // namespace tamber::images
