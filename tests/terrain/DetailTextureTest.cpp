#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "terrain/DetailTexture.h"
#include "terrain/DtexStream.h"

using namespace tamber::terrain;

namespace {

// Smooth shapes, texture and noise, like a photograph of ground.
std::vector<uint8_t> Photo(int w, int h, uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<uint8_t> rgb(size_t(w) * size_t(h) * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c) {
                const double v = 120 + 60 * std::sin(x * 0.05 + c) * std::cos(y * 0.07) + 30 * std::sin((x + y) * 0.3) +
                                 double(rng() % 21) - 10;
                rgb[(size_t(y) * size_t(w) + size_t(x)) * 3 + size_t(c)] = uint8_t(std::clamp(v, 0.0, 255.0));
            }
    return rgb;
}

}  // namespace

TEST(DtexStream, RoundTripsEverySizeAndMode) {
    std::mt19937 rng(7);
    for (auto [w, h] : {std::pair{1, 1}, {8, 8}, {16, 2}, {2, 16}, {9, 3}, {64, 64}, {4095, 1}}) {
        std::vector<uint8_t> noise(size_t(w) * size_t(h) * 3);
        for (uint8_t& b : noise)
            b = uint8_t(rng());
        for (const auto& rgb : {noise, Photo(w, h, 3), std::vector<uint8_t>(noise.size(), 0)})
            for (std::optional<int> mode : {std::optional<int>(), std::optional<int>(0), std::optional<int>(1),
                                            std::optional<int>(2)}) {
                auto stream = EncodeDtexStream(rgb.data(), w, h, mode);
                ASSERT_TRUE(stream);
                EXPECT_EQ(stream->size() % 4, 0u);
                auto image = DecodeDtexStream(*stream);
                ASSERT_TRUE(image) << w << "x" << h;
                EXPECT_EQ(image->width, w);
                EXPECT_EQ(image->rgb, rgb) << w << "x" << h << " mode " << mode.value_or(-1);
            }
    }
    EXPECT_FALSE(EncodeDtexStream(nullptr, 1, 1));
    EXPECT_EQ(EncodeDtexStream(std::vector<uint8_t>(3).data(), 4096, 1).error(),
              "the image is 4096 x 1 pixels; a detail texture holds at most 4095 a side");
}

TEST(DtexStream, ChoosesTheSmallestModeAndRejectsDamage) {
    const std::vector<uint8_t> rgb = Photo(128, 128, 1);
    size_t smallest = SIZE_MAX;
    for (int mode = 0; mode < 3; ++mode)
        smallest = std::min(smallest, EncodeDtexStream(rgb.data(), 128, 128, mode)->size());
    auto best = EncodeDtexStream(rgb.data(), 128, 128);
    EXPECT_EQ(best->size(), smallest);
    EXPECT_LT(best->size(), rgb.size() * 3 / 4);  // photographic content compresses
    // Larger pictures choose the mode from a sample of blocks: at most 1% off the smallest.
    const std::vector<uint8_t> large = Photo(320, 300, 2);
    size_t largeSmallest = SIZE_MAX;
    for (int mode = 0; mode < 3; ++mode)
        largeSmallest = std::min(largeSmallest, EncodeDtexStream(large.data(), 320, 300, mode)->size());
    auto sampled = EncodeDtexStream(large.data(), 320, 300);
    ASSERT_TRUE(sampled);
    EXPECT_LE(sampled->size(), largeSmallest + largeSmallest / 100);
    EXPECT_EQ(DecodeDtexStream(*sampled)->rgb, large);

    EXPECT_EQ(DecodeDtexStream(std::span(best->data(), best->size() / 2)).error(),
              "the image stream ends at row 64 of 128");
    std::vector<uint8_t> mode3 = *best;
    mode3[1] |= 0xC0;  // bits 24-25 of the first word: the mode field
    EXPECT_FALSE(DecodeDtexStream(mode3));
    EXPECT_FALSE(DecodeDtexStream({}));
}

TEST(DetailTexture, PayloadDefaultAndCentring) {
    DetailTexture texture = MakeDefaultDetailTexture();
    EXPECT_EQ(texture.pixels[0], 255);
    EXPECT_EQ(texture.pixels[16 * 3], 0);
    EXPECT_EQ(texture.pixels[(16 * 256 + 16) * 3], 255);
    texture.word12 = 99;
    auto payload = WriteDetailTexture(texture);
    ASSERT_TRUE(payload);
    EXPECT_EQ((*payload)[3], 0);
    EXPECT_EQ((*payload)[2], 1);  // width 256, big-endian
    auto read = ReadDetailTexture(*payload);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->pixels, texture.pixels);
    EXPECT_EQ(read->word12, 99u);
    (*payload)[6] = 0;
    (*payload)[7] = 128;  // height in the header no longer matches the stream
    EXPECT_EQ(ReadDetailTexture(*payload).error(),
              "couldn't read the detail texture: its image is 256 x 256 pixels but the header says 256 x 128");
    texture.width = 48;
    EXPECT_EQ(WriteDetailTexture(texture).error(), "couldn't write the detail texture: its sides are not powers of two");

    DetailTexture uniform{16, 16, 0, {}};
    for (int i = 0; i < 256; ++i)
        uniform.pixels.insert(uniform.pixels.end(), {100, 150, 200});
    DetailTexture luma = uniform;
    MeanCenterRgb(uniform);
    EXPECT_EQ(uniform.pixels, std::vector<uint8_t>(768, 128));
    // Luma (77 x 100 + 151 x 150 + 28 x 200) >> 8 = 140; offset 128 - 140 x 256 / 255 / 1 = -12.
    MeanCenterLuma(luma);
    EXPECT_EQ(luma.pixels[0], 88);
    EXPECT_EQ(luma.pixels[1], 138);
    EXPECT_EQ(luma.pixels[2], 188);
    DetailTexture tiny{2, 2, 0, std::vector<uint8_t>(12, 250)};
    MeanCenterLuma(tiny);
    EXPECT_EQ(tiny.pixels[0], 128 + 250 - 250 * 4 * 256 / 255 / 4 - 0);

    DetailTexture shift{4, 2, 0, std::vector<uint8_t>(24, 0)};
    shift.pixels[0] = 9;
    ShiftHalf(shift);
    EXPECT_EQ(shift.pixels[(1 * 4 + 2) * 3], 9);
}

TEST(DtexStream, StreamsOfEachModeAreUnchanged) {
    // The codec is tuned for speed only: the bytes of each mode's stream stay as they were.
    const std::vector<uint8_t> rgb = Photo(203, 77, 5);
    const uint64_t expected[3] = {16930447089773583662ull, 18348802883044390156ull, 2287508057523170937ull};
    for (int mode = 0; mode < 3; ++mode) {
        auto stream = EncodeDtexStream(rgb.data(), 203, 77, mode);
        ASSERT_TRUE(stream);
        uint64_t hash = 0xCBF29CE484222325ull;
        for (uint8_t b : *stream)
            hash = (hash ^ b) * 0x100000001B3ull;
        EXPECT_EQ(hash, expected[mode]) << "mode " << mode;
    }
}
