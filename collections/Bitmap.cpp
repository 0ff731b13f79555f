#include "collections/Bitmap.h"

#include <algorithm>
#include <cassert>

#include "collections/BitmapCodec.h"

namespace tamber::collections {

using namespace tamber::base;

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

Status Bitmap::Decode(const uint8_t* palette) {
    pixels.clear();
    Result<std::vector<uint8_t>> decoded = IsHighColour() ? DecodeHighColour(encoded, width, height)
                                                          : DecodePaletted(encoded, LayoutOf(*this), palette);
    if (!decoded)
        return Fail("couldn't decode bitmap '" + name + "': " + decoded.error());
    pixels = std::move(decoded).value();
    return Ok();
}

Status Bitmap::Encode() {
    if (PixelCount() == 0)
        return Fail("couldn't store bitmap '" + name + "': it has no size");
    if (pixels.size() != PixelCount() * size_t(DecodedPixelBytes()))
        return Fail("couldn't store bitmap '" + name + "': its pixels do not match its size");
    if (IsHighColour()) {
        Result<std::vector<uint8_t>> stream = EncodeHighColour(pixels, width, height);
        if (!stream)
            return Fail("couldn't store bitmap '" + name + "': " + stream.error());
        encoded = std::move(stream).value();
        return Ok();
    }
    encoded = EncodePaletted(pixels, LayoutOf(*this));
    return Ok();
}

void Bitmap::MakePlaceholder(const uint8_t* palette, int16_t newWidth, int16_t newHeight) {
    width = newWidth;
    height = newHeight;
    flags = 0;
    pixelSizeCode = 0;
    placeholder = true;
    const uint8_t white = NearestEntry(palette, 255, 255, 255);
    const uint8_t black = NearestEntry(palette, 0, 0, 0);
    assert(width > 0 && height > 0);
    // Two row patterns (the bands of squares alternate every 16 rows), copied
    // row by row: a damaged bitmap should not cost a loop over every pixel.
    const size_t w = size_t(width);
    std::vector<uint8_t> storedRows[2], pixelRows[2];
    for (size_t band = 0; band < 2; ++band) {
        storedRows[band].resize(w);
        pixelRows[band].resize(w * kPalettedPixelBytes);
        for (size_t x = 0; x < w; ++x) {
            const uint8_t index = ((x >> 4) ^ band) & 1 ? black : white;
            storedRows[band][x] = index;
            pixelRows[band][x * 2] = 255;
            pixelRows[band][x * 2 + 1] = index;
        }
    }
    encoded.resize(PixelCount());
    pixels.resize(PixelCount() * kPalettedPixelBytes);
    for (size_t y = 0; y < size_t(height); ++y) {
        const size_t band = (y >> 4) & 1;
        std::copy(storedRows[band].begin(), storedRows[band].end(), encoded.begin() + ptrdiff_t(y * w));
        std::copy(pixelRows[band].begin(), pixelRows[band].end(), pixels.begin() + ptrdiff_t(y * w * 2));
    }
}

}  // namespace tamber::collections
