#pragma once
// BMP files: "BM", a 12-byte file header and a 40-byte information header, then
// for 8 bits a palette, then rows padded to 4 bytes. Only uncompressed 8, 24 and
// 32-bit pictures are read and written.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "images/Image.h"

namespace tamber::images {

struct BmpHeader {
    int32_t width = 0;
    int32_t height = 0;          // magnitude of the stored height
    bool bottomUp = true;        // a positive stored height
    uint16_t bitsPerPixel = 0;
    uint32_t paletteEntries = 0; // entries stored before the pixels (8 bits only)
    size_t pixelOffset = 0;      // where the rows start: right after the palette
};

constexpr size_t kBmpHeaderSize = 54;

// Validates the two headers in the first 54 bytes.
bool ReadBmpHeader(const uint8_t* data, size_t size, BmpHeader& header);

// Reads a whole BMP held in memory; false on a refused header or missing bytes.
bool ReadBmp(const uint8_t* data, size_t size, Image& image, BmpHeader* header = nullptr);

// Encodes paletted, grey, RGB and RGBA images; false for other formats.
bool WriteBmp(const Image& image, std::vector<uint8_t>& out);

}  // namespace tamber::images
