#pragma once
// An in-memory picture: rows top to bottom without padding, one pixel format code.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tamber::images {

// Pixel format codes. The first four are the OpenGL format numbers of colour-index,
// alpha, RGB and RGBA data; codes 1 to 255 mean raw pixels of that many bytes.
enum : uint32_t {
    kPixelPaletted = 6400,       // 1 byte: palette index
    kPixelGrey = 6406,           // 1 byte: intensity (also an alpha mask)
    kPixelRGB = 6407,            // 3 bytes: red, green, blue
    kPixelRGBA = 6408,           // 4 bytes: red, green, blue, alpha
    kPixelPalettedAlpha = 6666,  // 2 bytes: alpha, palette index
};

// What a reader does with a PNG transparency chunk. Pictures that enter a
// collection as palette indices ignore it (their alpha comes from alpha masks and
// plates); pictures that become RGB or RGBA (textures, conversions) apply it, so
// palette transparency turns into an alpha channel.
enum class Transparency { kIgnore, kApply };

struct Image {
    uint32_t format = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint32_t paletteCount = 0;      // 0 to 256
    std::vector<uint8_t> palette;   // 768 bytes (red, green, blue) for paletted formats, else empty
    std::vector<uint8_t> pixels;    // width x height x BytesPerPixel(format)

    bool IsPaletted() const { return format == kPixelPaletted || format == kPixelPalettedAlpha; }
    size_t PixelCount() const { return size_t(width) * size_t(height); }
};

// Bytes per pixel of a format code; 0 for a code that names no layout.
size_t BytesPerPixel(uint32_t format);

// Allocates the pixel buffer (copying `pixels` when given, else zero-filled) and,
// for paletted formats, an all-black palette with no entries in use. False for an
// unknown code, a negative size or one too large to address.
[[nodiscard]] bool CreateImage(Image& image, int32_t width, int32_t height, uint32_t format, const uint8_t* pixels = nullptr);

// The writers' refusals, alike for every file type.
std::string UnwritableFormatMessage(const char* fileType);
std::string EmptyImageMessage();

// Sets `count` (at most 256) red, green, blue entries; the rest of the palette is zeroed.
bool SetPalette(Image& image, uint32_t count, const uint8_t* entries);

// True when every used palette entry i is (i, i, i), or when there is no palette in use.
bool HasGreyRampPalette(const Image& image);

}  // namespace tamber::images
