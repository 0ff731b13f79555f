#include <gtest/gtest.h>

#include <climits>

#include "images/NearestColorSearch.h"
#include "images/NearestEntryTracker.h"
#include "images/PaletteReducer.h"
#include "images/PaletteRefiner.h"
#include "images/PixelConvert.h"
#include "images/WuQuantizer.h"
#include "tests/images/ImageTestSupport.h"

using namespace tamber::images;

namespace {

// A smooth two-dimensional gradient with far more than 256 colours.
Image Gradient(int32_t width, int32_t height) {
    Image image;
    EXPECT_TRUE(CreateImage(image, width, height, kPixelRGBA));
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* p = &image.pixels[(size_t(y) * width + x) * 4];
            p[0] = uint8_t(x * 255 / (width - 1));
            p[1] = uint8_t(y * 255 / (height - 1));
            p[2] = uint8_t((x + y) * 127 / (width + height));
            p[3] = uint8_t(x ^ y);
        }
    return image;
}

std::vector<uint8_t> Concat(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

double SquaredError(const Image& a, const Image& b) {
    double sum = 0;
    for (size_t i = 0; i < a.PixelCount(); ++i)
        for (int ch = 0; ch < 3; ++ch) {
            double d = double(a.pixels[i * 4 + ch]) - b.pixels[i * 4 + ch];
            sum += d * d;
        }
    return sum;
}

TEST(PaletteReduction, ManyColoursGiveAtMost256WithAlphaKept) {
    Image source = Gradient(96, 80);
    Image paletted = source;
    ASSERT_TRUE(Convert(paletted, kPixelPaletted));
    EXPECT_EQ(paletted.format, kPixelPaletted);
    EXPECT_LE(paletted.paletteCount, 256u);
    EXPECT_GT(paletted.paletteCount, 200u);
    for (uint8_t index : paletted.pixels)
        ASSERT_LT(index, paletted.paletteCount);
    // Entries are ordered by their sum, the order of the nearest-colour search.
    for (uint32_t i = 1; i < paletted.paletteCount; ++i) {
        const uint8_t* a = &paletted.palette[(i - 1) * 3];
        const uint8_t* b = &paletted.palette[i * 3];
        ASSERT_LE(a[0] + a[1] + a[2], b[0] + b[1] + b[2]);
    }

    Image withAlpha = source;
    ASSERT_TRUE(Convert(withAlpha, kPixelPalettedAlpha));
    for (size_t i = 0; i < source.PixelCount(); ++i) {
        ASSERT_EQ(withAlpha.pixels[i * 2], source.pixels[i * 4 + 3]);
        ASSERT_EQ(withAlpha.pixels[i * 2 + 1], paletted.pixels[i]);
    }
    // 6666 to 6400 keeps the index bytes only.
    ASSERT_TRUE(Convert(withAlpha, kPixelPaletted));
    EXPECT_EQ(withAlpha.pixels, paletted.pixels);

    Image back = paletted;
    ASSERT_TRUE(Convert(back, kPixelRGBA));
    EXPECT_GT(10 * std::log10(255.0 * 255.0 * 3 * source.PixelCount() / SquaredError(source, back)), 35.0);
}

TEST(PaletteReduction, FewColoursAreReproducedExactly) {
    for (uint32_t colours : {1u, 2u, 255u, 256u}) {
        Image source;
        EXPECT_TRUE(CreateImage(source, 64, 32, kPixelRGB));
        for (size_t i = 0; i < source.PixelCount(); ++i) {
            uint32_t c = uint32_t(i * 7919 % colours);
            // Colours that share 5-bit cells, which Wu's grid alone would merge.
            source.pixels[i * 3] = uint8_t(c);
            source.pixels[i * 3 + 1] = uint8_t(c * 3);
            source.pixels[i * 3 + 2] = 0;
        }
        Image image = source;
        ASSERT_TRUE(Convert(image, kPixelPaletted));
        EXPECT_EQ(image.paletteCount, colours);
        ASSERT_TRUE(Convert(image, kPixelRGB));
        EXPECT_EQ(image.pixels, source.pixels) << colours;
    }
}

TEST(PaletteReduction, DiffusionSharesAreTruncated) {
    // Only blue varies. The first pixel's error reaches its three neighbours, which
    // then match palette entries exactly, so their indices show the shares.
    std::vector<uint8_t> palette;
    for (int b = 0; b <= 100; ++b)
        palette.insert(palette.end(), {0, 0, uint8_t(b)});
    uint8_t rgba[16] = {0, 0, 255, 255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255};
    uint8_t indices[4];
    DiffuseToPalette(rgba, 2, 2, palette, indices, 1);
    // Error 155: 155 x 21/64 = 50.9, 155 x 15/64 = 36.3, 155 x 3/64 = 7.3.
    EXPECT_EQ(std::vector<uint8_t>(indices, indices + 4), (std::vector<uint8_t>{100, 50, 36, 7}));

    // A negative error truncates toward zero, not downward. The black first pixel
    // takes the entry of smallest sum (blue 155), error -155.
    palette.clear();
    for (int b = 155; b <= 255; ++b)
        palette.insert(palette.end(), {0, 0, uint8_t(b)});
    uint8_t dark[16] = {0, 0, 0, 255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255, 255};
    DiffuseToPalette(dark, 2, 2, palette, indices, 1);
    EXPECT_EQ(std::vector<uint8_t>(indices, indices + 4),
              (std::vector<uint8_t>{0, 205 - 155, 219 - 155, 248 - 155}));
}

TEST(NearestColorSearch, MatchesExhaustiveSearchAndBlackRule) {
    // Black takes the entry of smallest sum even where another entry is nearer.
    const uint8_t pair[6] = {0, 0, 60, 25, 25, 25};
    NearestColorSearch blackRule(pair, 2);
    EXPECT_EQ(blackRule.Find(0, 0, 0), 0u);
    EXPECT_EQ(blackRule.Find(1, 0, 0), 1u);

    std::mt19937 random(7);
    for (uint32_t count : {1u, 2u, 17u, 256u}) {
        std::vector<uint8_t> palette(count * 3);
        for (uint8_t& v : palette)
            v = uint8_t(random());
        NearestColorSearch search(palette.data(), count);
        for (int trial = 0; trial < 2000; ++trial) {
            int r = int(random() % 256), g = int(random() % 256), b = int(random() % 256);
            if (r + g + b == 0)
                continue;
            auto distance = [&](uint32_t i) {
                int dr = palette[i * 3] - r, dg = palette[i * 3 + 1] - g, db = palette[i * 3 + 2] - b;
                return dr * dr + dg * dg + db * db;
            };
            int best = INT_MAX;
            for (uint32_t i = 0; i < count; ++i)
                best = std::min(best, distance(i));
            uint32_t found = search.Find(r, g, b);
            ASSERT_LT(found, count);
            ASSERT_EQ(distance(found), best);
        }
    }
}

TEST(NearestEntryTracker, AgreesWithTheSearchOverAChangingPalette) {
    std::mt19937 random(11);
    std::vector<ColorCount> colors;
    for (uint32_t i = 0; i < 8000; ++i)
        colors.push_back({uint32_t(random()) & 0xFFFFFF, 1});
    colors.push_back({0, 1});           // pure black follows the search's own rule
    colors.push_back({0x404040, 1});    // equally near to the two entries set up below
    std::vector<uint8_t> palette(64 * 3);
    for (uint8_t& v : palette)
        v = uint8_t(random());
    NearestEntryTracker tracker(colors);
    for (int step = 0; step < 12; ++step) {
        if (step == 6)
            palette.resize(palette.size() + 30, 200);  // grown: duplicate entries
        if (step == 9)
            palette.resize(3 * 5);
        if (step % 3 == 1) {  // a few entries jump far
            for (int jump = 0; jump < 4; ++jump)
                palette[random() % palette.size()] = uint8_t(random());
        } else if (step > 0) {  // every entry drifts a little
            for (uint8_t& v : palette)
                v = uint8_t(std::clamp(int(v) + int(random() % 5) - 2, 0, 255));
        }
        std::copy_n(std::begin({uint8_t(0x30), uint8_t(0x40), uint8_t(0x40)}), 3, palette.begin());
        std::copy_n(std::begin({uint8_t(0x50), uint8_t(0x40), uint8_t(0x40)}), 3, palette.begin() + 3);
        const std::vector<uint8_t>& nearest = tracker.Update(palette);
        NearestColorSearch search(palette.data(), uint32_t(palette.size() / 3));
        for (size_t i = 0; i < colors.size(); ++i) {
            uint32_t rgb = colors[i].rgb;
            ASSERT_EQ(nearest[i], search.Find(int(rgb >> 16), int(rgb >> 8 & 0xFF), int(rgb & 0xFF)))
                << "step " << step << " colour " << i;
        }
        // After small drifts the bounds spare many colours their search.
        if (step == 2 || step == 5) {
            EXPECT_LT(tracker.Searched(), colors.size() * 3 / 4) << "step " << step;
        }
    }
    EXPECT_EQ(tracker.Update(palette), tracker.Update(palette));
    EXPECT_EQ(tracker.Searched(), 0u);
}

TEST(WuQuantizer, SplitsByVarianceAndStopsWhenNothingIsLeft) {
    // Two colours far apart in separate cells: two boxes, their exact means.
    std::vector<ColorCount> two{{0x102030, 5}, {0xF0E0D0, 3}};
    std::vector<uint8_t> palette = WuQuantizer(two).BuildPalette(256);
    ASSERT_EQ(palette.size(), 6u);
    std::vector<uint8_t> dark{0x10, 0x20, 0x30}, light{0xF0, 0xE0, 0xD0};
    EXPECT_TRUE((palette == Concat(dark, light)) || (palette == Concat(light, dark)));

    // One cell holding two colours is the weighted mean: variance cannot be cut inside a cell.
    std::vector<ColorCount> oneCell{{0x000000, 3}, {0x060606, 1}};
    EXPECT_EQ(WuQuantizer(oneCell).BuildPalette(256), (std::vector<uint8_t>{2, 2, 2}));

    Image image = Gradient(64, 64);
    std::vector<ColorCount> colors = CountColors(image.pixels.data(), image.PixelCount());
    EXPECT_EQ(WuQuantizer(colors).BuildPalette(16).size(), 48u);
}

TEST(PaletteRefiner, LowersTheErrorAndFillsUnusedEntries) {
    Image source = Gradient(128, 96);
    std::vector<ColorCount> colors = CountColors(source.pixels.data(), source.PixelCount());
    PaletteRefiner refiner(colors);
    std::vector<uint8_t> wu = WuQuantizer(colors).BuildPalette(32);
    std::vector<uint8_t> refined = wu;
    refiner.Refine(refined, 32, 24);
    EXPECT_EQ(refined.size(), wu.size());
    EXPECT_LT(refiner.Distortion(refined), refiner.Distortion(wu) * 0.9);

    // Colours packed into few grid cells leave Wu's quantiser short of entries;
    // the refiner uses the rest.
    std::vector<ColorCount> narrow;
    for (uint32_t i = 0; i < 4000; ++i)
        narrow.push_back({(i % 16) << 16 | (i / 16 % 16) << 8 | (i / 256), 1 + i % 7});
    std::vector<uint8_t> few = WuQuantizer(narrow).BuildPalette(256);
    ASSERT_LT(few.size(), 3u * 256);
    std::vector<uint8_t> grown = few;
    PaletteRefiner(narrow).Refine(grown, 256, 24);
    EXPECT_EQ(grown.size(), 3u * 256);
    EXPECT_LT(PaletteRefiner(narrow).Distortion(grown), PaletteRefiner(narrow).Distortion(few) * 0.5);
}

TEST(PixelConvert, ExactConversions) {
    Image grey = MakeTestImage(kPixelGrey, 5, 4);
    Image image = grey;
    ASSERT_TRUE(Convert(image, kPixelRGB));
    EXPECT_EQ(image.pixels[3], grey.pixels[1]);
    EXPECT_EQ(image.pixels[4], grey.pixels[1]);
    EXPECT_TRUE(image.palette.empty());
    ASSERT_TRUE(Convert(image, kPixelGrey));
    EXPECT_EQ(image.pixels, grey.pixels);
    // Grey to paletted needs no reduction: the grey ramp holds every level.
    ASSERT_TRUE(Convert(image, kPixelPaletted));
    EXPECT_EQ(image.pixels, grey.pixels);
    EXPECT_TRUE(HasGreyRampPalette(image));

    Image paletted = MakeTestImage(kPixelPaletted, 6, 3);
    image = paletted;
    ASSERT_TRUE(Convert(image, kPixelPalettedAlpha));
    EXPECT_EQ(image.pixels[0], 255);
    EXPECT_EQ(image.pixels[1], paletted.pixels[0]);
    ASSERT_TRUE(Convert(image, kPixelRGBA));
    const uint8_t* entry = &paletted.palette[paletted.pixels[2] * 3];
    EXPECT_EQ(std::vector<uint8_t>(image.pixels.begin() + 8, image.pixels.begin() + 12),
              (std::vector<uint8_t>{entry[0], entry[1], entry[2], 255}));

    image = MakeTestImage(kPixelRGB, 2, 2);
    EXPECT_FALSE(Convert(image, 3));  // raw pixel codes cannot be converted
    image.format = 3;
    EXPECT_FALSE(Convert(image, kPixelRGB));
}

}  // namespace
