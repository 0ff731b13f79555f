#include "collections/Bitmap.h"

#include <algorithm>

#include "collections/BitmapCodec.h"

namespace tamber::collections {

namespace {

PalettedLayout LayoutOf(const Bitmap& bitmap) {
    PalettedLayout layout;
    layout.width = bitmap.width;
    layout.height = bitmap.height;
    layout.rle = bitmap.IsRle();
    layout.sixteenBit = bitmap.Is16Bit();
    layout.padded = bitmap.flags & kBitmapPadded;
    layout.colourAlpha = bitmap.HasColourAlpha() && !bitmap.Is16Bit();
    return layout;
}

// The palette entry (1 to 255) nearest to the given colour.
uint8_t NearestEntry(const uint8_t* palette, int red, int green, int blue) {
    int best = 1, bestDistance = 1 << 30;
    for (int i = 1; i < 256; ++i) {
        const int dr = palette[i * 3] - red, dg = palette[i * 3 + 1] - green, db = palette[i * 3 + 2] - blue;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return uint8_t(best);
}

}  // namespace

bool Bitmap::Decode(const uint8_t* palette) {
    pixels.clear();
    std::optional<std::vector<uint8_t>> decoded = IsHighColour() ? DecodeHighColour(encoded, width, height)
                                                                 : DecodePaletted(encoded, LayoutOf(*this), palette);
    if (!decoded)
        return false;
    pixels = std::move(*decoded);
    return true;
}

bool Bitmap::Encode() {
    if (pixels.size() != PixelCount() * size_t(DecodedPixelBytes()) || PixelCount() == 0)
        return false;
    if (IsHighColour()) {
        std::optional<std::vector<uint8_t>> stream = EncodeHighColour(pixels, width, height);
        if (!stream)
            return false;
        encoded = std::move(*stream);
        return true;
    }
    encoded = EncodePaletted(pixels, LayoutOf(*this));
    return true;
}

void Bitmap::MakePlaceholder(const uint8_t* palette, int16_t newWidth, int16_t newHeight) {
    width = newWidth;
    height = newHeight;
    flags = 0;
    pixelSizeCode = 0;
    placeholder = true;
    const uint8_t white = NearestEntry(palette, 255, 255, 255);
    const uint8_t black = NearestEntry(palette, 0, 0, 0);
    pixels.assign(PixelCount() * kPalettedPixelBytes, 255);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[(size_t(y) * size_t(width) + size_t(x)) * 2 + 1] = ((x >> 4) ^ (y >> 4)) & 1 ? black : white;
    encoded.clear();
    encoded.reserve(PixelCount());
    for (size_t i = 0; i < PixelCount(); ++i)
        encoded.push_back(pixels[i * 2 + 1]);
}

}  // namespace tamber::collections
