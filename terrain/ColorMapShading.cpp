#include "terrain/ColorMapShading.h"

#include <algorithm>
#include <string>

namespace tamber::terrain {
using namespace tamber::base;

std::vector<uint8_t> BuildShadingTable(const uint8_t* palette, const MeshShading& shading) {
    std::vector<uint8_t> table(256 * 256 * 3);
    // A pivot beyond full shade would leave no rows above it (and divide by zero).
    const int k = int(std::min<uint64_t>((uint64_t(shading.pivot) * 255) >> 16, 255));
    for (int r = 0; r < 256; ++r) {
        int f = 0;
        if (r < k)
            f = shading.below * (k - r) / k;
        else if (r > k)
            f = shading.above * (r - k) / (255 - k);
        f = int16_t(f);
        for (int c = 0; c < 256; ++c)
            for (int ch = 0; ch < 3; ++ch) {
                const int64_t p = int64_t(palette[c * 3 + ch]) * 256;
                const int64_t blend = ((256 - f) * p + int64_t(f) * shading.target[size_t(ch)]) >> 8;
                table[(size_t(r) * 256 + size_t(c)) * 3 + size_t(ch)] = uint8_t(std::clamp<int64_t>(blend, 0, 65535) >> 8);
            }
    }
    return table;
}

Result<Image> MakeBlockTexture(const Collection& colourMap, int block, const std::vector<uint8_t>& table) {
    if (block < 0)
        return Fail("there is no colour-map block " + std::to_string(block));
    if (table.size() != 256 * 256 * 3)
        return Fail("the shading table is incomplete");
    const Bitmap* colours = colourMap.GetBitmap(block * 2);
    const Bitmap* shades = colourMap.GetBitmap(block * 2 + 1);
    for (const Bitmap* b : {colours, shades})
        if (!b || b->IsHighColour() || b->width != kBlockTextureSize || b->height != kBlockTextureSize ||
            b->pixels.size() != b->PixelCount() * kPalettedPixelBytes)
            return Fail("colour-map block " + std::to_string(block) + " needs two decoded 256 x 256 paletted bitmaps");
    Image texture;
    if (!CreateImage(texture, kBlockTextureSize, kBlockTextureSize, kPixelRGB))
        return Fail("couldn't make the texture of colour-map block " + std::to_string(block));
    for (size_t i = 0; i < texture.PixelCount(); ++i) {
        const uint8_t* entry = &table[(size_t(shades->pixels[i * 2 + 1]) * 256 + colours->pixels[i * 2 + 1]) * 3];
        std::copy(entry, entry + 3, &texture.pixels[i * 3]);
    }
    return texture;
}

}  // namespace tamber::terrain
