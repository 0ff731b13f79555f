#include "terrain/editor/DetailImages.h"

#include <algorithm>
#include <cstdio>

namespace tamber::terrain::painting {
using namespace tamber::base;
using namespace tamber::images;

namespace {

constexpr int kBlock = kDetailImageBlock;

// The index in the mode's grid of the element that pixel (px, row) of the 8 x 8
// block of grid point (x, z) stands for, before mirroring. A triangle block is
// split along the cell's diagonal.
size_t ElementIndex(BrushMode mode, int meshWidth, int x, int z, int px, int row) {
    const size_t point = size_t(z) * size_t(meshWidth) + size_t(x);
    if (mode == BrushMode::kVertex)
        return point;
    const bool odd = ((x ^ z) & 1) != 0;
    const int t = odd ? (px < kBlock - row ? 0 : 1) : (px < row ? 0 : 1);
    return point * 2 + size_t(t);
}

// The pixel of an unmirrored block position in a row-mirrored image.
size_t MirroredPixel(int imageWidth, int x, int z, int px, int row) {
    const int ix = x * kBlock + px, iy = z * kBlock + row;
    return size_t(iy) * size_t(imageWidth) + size_t(imageWidth - 1 - ix);
}

std::string Message(const char* format, int a, int b, int c, int d) {
    char text[160];
    std::snprintf(text, sizeof text, format, a, b, c, d);
    return text;
}

// The most frequent of up to 64 values, the lower one on a tie.
uint8_t MostFrequent(uint8_t* values, int count) {
    std::sort(values, values + count);
    uint8_t best = values[0];
    int bestRun = 0;
    for (int i = 0; i < count;) {
        int j = i;
        while (j < count && values[j] == values[i])
            ++j;
        if (j - i > bestRun)
            best = values[i], bestRun = j - i;
        i = j;
    }
    return best;
}

}  // namespace

Image ExportDetailImage(const DetailGrid& grid, BrushMode mode, int meshWidth, int meshHeight,
                        const HighlightTable& colours) {
    Image image;
    if (!CreateImage(image, meshWidth * kBlock, meshHeight * kBlock, kPixelPaletted))
        return image;
    (void)SetPalette(image, 256, colours.data());
    for (int z = 0; z < meshHeight; ++z)
        for (int x = 0; x < meshWidth; ++x)
            for (int row = 0; row < kBlock; ++row)
                for (int px = 0; px < kBlock; ++px)
                    image.pixels[MirroredPixel(image.width, x, z, px, row)] =
                        grid.bytes[ElementIndex(mode, meshWidth, x, z, px, row)];
    return image;
}

Result<DetailImport> ImportDetailImage(const Image& image, BrushMode mode, int meshWidth, int meshHeight,
                                       const PaintValue& spare, DetailGrid& grid) {
    const int wantWidth = meshWidth * kBlock, wantHeight = meshHeight * kBlock;
    if (image.width != wantWidth || image.height != wantHeight)
        return Fail(Message(mode == BrushMode::kVertex
                                ? "Image dimensions (%d,%d) do not match mesh dimensions (%d,%d)"
                                : "Image dimensions (%d,%d) do not match expected dimensions (%d,%d)",
                            image.width, image.height, wantWidth, wantHeight));
    if ((image.format != kPixelPaletted && image.format != kPixelGrey) || image.pixels.size() != image.PixelCount())
        return Fail("Image must be 8-bit paletted or greyscale.");
    if (grid.bytes.size() != size_t(meshWidth) * size_t(meshHeight) * (mode == BrushMode::kTriangle ? 2 : 1))
        return Fail("The detail map does not match the mesh.");

    DetailImport result;
    for (int z = 0; z < meshHeight; ++z)
        for (int x = 0; x < meshWidth; ++x) {
            // The block's pixels, gathered per element (two elements in triangle mode).
            uint8_t values[2][kBlock * kBlock];
            int counts[2] = {0, 0};
            const size_t firstElement = ElementIndex(mode, meshWidth, x, z, 0, 0) & ~size_t(mode == BrushMode::kTriangle);
            for (int row = 0; row < kBlock; ++row)
                for (int px = 0; px < kBlock; ++px) {
                    const size_t element = ElementIndex(mode, meshWidth, x, z, px, row) - firstElement;
                    values[element][counts[element]++] = image.pixels[MirroredPixel(image.width, x, z, px, row)];
                }
            for (size_t e = 0; e < 2; ++e) {
                if (counts[e] == 0)
                    continue;
                const int n = counts[e];
                if (std::any_of(values[e], values[e] + n, [&](uint8_t v) { return v != values[e][0]; }))
                    result.perfect = false;
                const uint8_t value = MostFrequent(values[e], n);
                uint8_t& target = grid.bytes[firstElement + e];
                if (!spare.Spares(target))
                    target = std::min<uint8_t>(value, kMaxMaterial);
            }
        }
    return result;
}

HighlightTable ImportedHighlightColours(const Image& image) {
    HighlightTable table{};
    if (image.format == kPixelPaletted && image.palette.size() >= table.size()) {
        std::copy_n(image.palette.begin(), table.size(), table.begin());
        return table;
    }
    for (size_t i = 0; i < 256; ++i)
        table[i * 3] = table[i * 3 + 1] = table[i * 3 + 2] = uint8_t(i);
    return table;
}

}  // namespace tamber::terrain::painting
