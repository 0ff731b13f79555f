#pragma once
// One bitmap of a collection: its stored (encoded) pixel data, kept exactly as
// read, and the decoded pixels the editors draw.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/Result.h"

namespace tamber::collections {

// Bitmap flags. The first group appears in files and in memory; the colour-alpha
// file flag becomes one of the two memory flags on reading.
enum : uint16_t {
    kBitmapRle = 0x4,               // rows are run-length encoded
    kBitmap16Bit = 0x10,            // 16-bit stored pixels
    kBitmapNoRowTable = 0x20,       // the data block has no row table
    kBitmapPadded = 0x40,           // each row's data is padded to an even byte count
    kBitmapColourAlpha8 = 0x100,    // memory: 8-bit pixels take their alpha from the colour
    kBitmapColourAlpha16 = 0x400,   // memory: the same for 16-bit pixels
    kBitmapFileColourAlpha = 0x800, // file form of the two flags above
    kBitmapHighColour = 0x4000,     // high-colour stream, kept as read
};

// Bits kept from the file flags, and the mask applied when a paletted bitmap is written.
constexpr uint16_t kBitmapReadMask = 0xC8D4;
constexpr uint16_t kBitmapWriteMask = 0xFACF;

// Bytes per decoded pixel: paletted pixels are (alpha, index); high-colour pixels 8 bytes.
constexpr int kPalettedPixelBytes = 2;
constexpr int kHighColourPixelBytes = 8;

struct Bitmap {
    std::string name;                 // at most 63 characters
    int16_t width = 0;
    int16_t height = 0;
    uint16_t flags = 0;               // memory flags
    uint16_t pixelSizeCode = 0;       // header code; recomputed for paletted bitmaps on writing
    std::vector<uint8_t> encoded;     // stored pixel data, without header and row table
    std::vector<uint8_t> pixels;      // decoded pixels; empty until decoded
    std::array<uint8_t, 16> kept{};   // last 16 bytes of the bitmap reference
    bool placeholder = false;         // the stored data was damaged and was replaced

    bool IsHighColour() const { return flags & kBitmapHighColour; }
    bool Is16Bit() const { return !IsHighColour() && (flags & kBitmap16Bit); }
    bool IsRle() const { return flags & kBitmapRle; }
    bool HasColourAlpha() const { return flags & (Is16Bit() ? kBitmapColourAlpha16 : kBitmapColourAlpha8); }
    int StoredPixelBytes() const { return IsHighColour() ? 8 : Is16Bit() ? 2 : 1; }
    int DecodedPixelBytes() const { return IsHighColour() ? kHighColourPixelBytes : kPalettedPixelBytes; }
    size_t PixelCount() const { return width > 0 && height > 0 ? size_t(width) * size_t(height) : 0; }

    // Decodes `encoded` into `pixels` with the collection's palette (768 bytes of
    // red, green, blue). Fails, with `pixels` empty, when the data is invalid.
    base::Status Decode(const uint8_t* palette);
    // Encodes `pixels` into `encoded` with the current flags (RAW or RLE rows,
    // 8- or 16-bit, padding; or the high-colour stream). Fails when the pixels
    // cannot be represented by the flags.
    base::Status Encode();
    // Turns the bitmap into an 8-bit RAW checkerboard of 16-pixel squares in the
    // palette entries nearest to white and black, marked as a placeholder.
    void MakePlaceholder(const uint8_t* palette, int16_t width, int16_t height);
};

}  // namespace tamber::collections
