#pragma once
// BMP files: "BM", a 12-byte file header and an information header of 40, 56,
// 108 (V4) or 124 (V5) bytes, then for up to 8 bits a palette, then the rows.
// Read: 1, 4 and 8-bit palettes (uncompressed, or run-length encoded at 4 and 8
// bits), 24-bit RGB and 32-bit pixels (plain or with byte-aligned channel masks).
// Written: uncompressed 8, 24 and 32-bit pictures with the 40-byte header.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/Result.h"
#include "images/Image.h"

namespace tamber::images {

enum BmpCompression : uint32_t { kBmpUncompressed = 0, kBmpRle8 = 1, kBmpRle4 = 2, kBmpBitFields = 3 };

struct BmpHeader {
    int32_t width = 0;
    int32_t height = 0;          // magnitude of the stored height
    bool bottomUp = true;        // a positive stored height
    uint16_t bitsPerPixel = 0;
    uint32_t compression = kBmpUncompressed;
    uint32_t masks[4] = {};      // red, green, blue, alpha of 32-bit pixels (0 for alpha: opaque)
    uint32_t paletteEntries = 0; // entries stored before the pixels (up to 8 bits only)
    size_t paletteOffset = 0;    // where the palette starts
    size_t pixelOffset = 0;      // where the rows start
};

// The bytes the header check needs: the file header and the information header
// up to its channel masks.
constexpr size_t kBmpHeaderSize = 54;
constexpr size_t kBmpMasksEnd = 70;

// Validates the file header and the information header.
base::Result<BmpHeader> ReadBmpHeader(const uint8_t* data, size_t size);

// Reads a whole BMP held in memory: paletted (6400), RGB or RGBA.
base::Result<Image> ReadBmp(const uint8_t* data, size_t size);

// Decodes run-length encoded rows (8 or 4 bits per index) into palette indices,
// rows top to bottom; pixels no run reaches stay 0.
base::Status DecodeBmpRle(const uint8_t* data, size_t size, const BmpHeader& header, uint8_t* indices);

// Encodes paletted, grey, RGB and RGBA images.
base::Result<std::vector<uint8_t>> WriteBmp(const Image& image);

}  // namespace tamber::images
