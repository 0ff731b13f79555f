#include <gtest/gtest.h>

#include "terrain/editor/DetailTextureImages.h"
#include "tests/support/ScratchFolder.h"

using namespace tamber::base;
using namespace tamber::images;
using namespace tamber::terrain;
using namespace tamber::terrain::painting;

TEST(DetailTextureImages, FilesRoundTripAndRefusals) {
    Scratch scratch;
    DetailTexture texture;
    texture.width = 16, texture.height = 8;
    for (size_t i = 0; i < 16 * 8 * 3; ++i) texture.pixels.push_back(uint8_t(i * 13));
    for (const char* name : {"t.png", "t.bmp", "t.tiff"}) {
        ASSERT_TRUE(ExportDetailTexture(texture, scratch / name)) << name;
        Result<DetailTexture> back = ImportDetailTexture(scratch / name);
        ASSERT_TRUE(back) << name;
        EXPECT_EQ(back->pixels, texture.pixels);
    }
    EXPECT_EQ(ExportDetailTexture(texture, scratch / "t.txt").error(), kWriteFailedMessage);
    EXPECT_EQ(ImportDetailTexture(scratch / "none.png").error(), kLoadFailedMessage);

    EXPECT_EQ(MakeDetailTexture(std::vector<uint8_t>(48 * 64 * 3), 48, 64).error(), kNotPowerOfTwoMessage);
    EXPECT_EQ(MakeDetailTexture(std::vector<uint8_t>(0), 0, 64).error(), kNotPowerOfTwoMessage);
    EXPECT_EQ(MakeDetailTexture(std::vector<uint8_t>(3), 8192, 1).error(), kNotPowerOfTwoMessage);
    EXPECT_EQ(MakeDetailTexture(std::vector<uint8_t>(5), 2, 2).error(), kLoadFailedMessage);  // short data
    EXPECT_TRUE(MakeDetailTexture(std::vector<uint8_t>(12), 2, 2));
    Image rgba;
    ASSERT_TRUE(CreateImage(rgba, 64, 64, kPixelRGBA));
    EXPECT_EQ(DetailTextureFromImage(rgba).error(), kNotRgbMessage);
}

TEST(DetailTextureImages, MeanCenterOnTinyTexturesUsesTheTrueMean) {
    // 16 pixels: fewer than 256, where the mean over N / 256 would divide by zero.
    DetailTexture texture;
    texture.width = 4, texture.height = 4;
    texture.pixels.assign(16 * 3, 100);
    MeanCenterLuma(texture);
    for (uint8_t channel : texture.pixels) EXPECT_EQ(channel, 128);
    texture.pixels.assign(16 * 3, 0);
    for (size_t i = 0; i < 16; ++i) texture.pixels[i * 3] = 100, texture.pixels[i * 3 + 1] = 150, texture.pixels[i * 3 + 2] = 200;
    MeanCenterRgb(texture);
    for (uint8_t channel : texture.pixels) EXPECT_EQ(channel, 128);
}
