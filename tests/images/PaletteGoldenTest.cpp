// The palette reduction's output pinned on fixed pictures: the refinement and the
// diffusion are sped up, never changed, so palettes and indices stay as they were.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "images/NearestColorSearch.h"
#include "images/PaletteReducer.h"
#include "images/PaletteRefiner.h"
#include "images/WuQuantizer.h"

using namespace tamber::images;

namespace {

uint32_t Mix(uint32_t h) {
    h = (h ^ (h >> 15)) * 0x2C1B3C6Du;
    h = (h ^ (h >> 12)) * 0x297A2D39u;
    return h ^ (h >> 15);
}

// Gradients, flat patches (ties and pure black) and noise of a chosen strength.
Image Picture(int32_t width, int32_t height, int noise) {
    Image image;
    EXPECT_TRUE(CreateImage(image, width, height, kPixelRGBA));
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* p = &image.pixels[(size_t(y) * size_t(width) + size_t(x)) * 4];
            uint32_t h = Mix(uint32_t(y * width + x));
            bool flat = (x / 16 + y / 16) % 5 == 0;
            int level = (x / 16 % 3) * 60;
            for (int ch = 0; ch < 3; ++ch) {
                int smooth = (ch == 0 ? x * 255 / width : ch == 1 ? y * 255 / height : (x + y) * 127 / (width + height));
                int n = noise ? int(h >> (ch * 8) & 0xFF) % (2 * noise + 1) - noise : 0;
                p[ch] = uint8_t(flat ? level : std::clamp(smooth + n, 0, 255));
            }
            p[3] = uint8_t(200 + h % 56);
        }
    return image;
}

uint64_t Fnv(uint64_t hash, const std::vector<uint8_t>& bytes) {
    for (uint8_t b : bytes)
        hash = (hash ^ b) * 0x100000001B3ull;
    return hash;
}

uint64_t Reduced(Image image, uint32_t target, uint32_t colours) {
    PaletteReduction options;
    options.maxColors = colours;
    EXPECT_TRUE(ReducePalette(image, target, options));
    return Fnv(Fnv(0xCBF29CE484222325ull, image.palette), image.pixels);
}

}  // namespace

TEST(PaletteGolden, ReductionOutputIsUnchanged) {
    EXPECT_EQ(Reduced(Picture(160, 120, 12), kPixelPaletted, 256), 2892616624363666054ull);
    EXPECT_EQ(Reduced(Picture(160, 120, 0), kPixelPalettedAlpha, 64), 12751337704022311013ull);
    // More distinct colours than the refinement takes one by one: merged first.
    EXPECT_EQ(Reduced(Picture(400, 300, 40), kPixelPaletted, 256), 15100910193530838487ull);
    EXPECT_EQ(Reduced(Picture(96, 64, 3), kPixelPaletted, 7), 4548014286861700991ull);

    // A palette the refiner grows from a few entries.
    std::vector<ColorCount> narrow;
    for (uint32_t i = 0; i < 4000; ++i)
        narrow.push_back({(i % 16) << 16 | (i / 16 % 16) << 8 | (i / 256), 1 + i % 7});
    std::vector<uint8_t> grown = WuQuantizer(narrow).BuildPalette(256);
    PaletteRefiner(narrow).Refine(grown, 256, 24);
    EXPECT_EQ(Fnv(0xCBF29CE484222325ull, grown), 433970219735775445ull);

    // Without diffusion every pixel takes the search's entry, however the answers are cached.
    Image noisy = Picture(200, 150, 60);
    std::vector<uint8_t> indices(noisy.PixelCount());
    MapToPalette(noisy.pixels.data(), noisy.PixelCount(), grown, indices.data());
    NearestColorSearch search(grown.data(), uint32_t(grown.size() / 3));
    for (size_t i = 0; i < indices.size(); ++i) {
        const uint8_t* p = &noisy.pixels[i * 4];
        ASSERT_EQ(indices[i], search.Find(p[0], p[1], p[2])) << i;
    }
}
