#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "images/JpegCodec.h"
#include "images/MediaFile.h"

using namespace tamber::base;
using namespace tamber::images;

namespace {

const std::string kData = std::string(TAMBER_SOURCE_DIR) + "/tests/models_import/data/";

std::vector<uint8_t> Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

TEST(JpegCodec, BaselineProgressiveAndGrey) {
    for (const char* name : {"baseline.jpg", "progressive.jpg"}) {
        MediaFile file(kData + name);
        ASSERT_TRUE(LoadImage(file)) << name;
        EXPECT_EQ(file.format, kFormatJpeg);
        EXPECT_EQ(file.image.format, kPixelRGB);
        ASSERT_EQ(file.image.width, 16);
        ASSERT_EQ(file.image.height, 8);
        // Red at the top, blue at the bottom, give or take the compression.
        const uint8_t* top = &file.image.pixels[0];
        const uint8_t* bottom = &file.image.pixels[size_t(7 * 16) * 3];
        EXPECT_GT(top[0], 200) << name;
        EXPECT_LT(top[2], 60) << name;
        EXPECT_GT(bottom[2], 200) << name;
        EXPECT_LT(bottom[0], 60) << name;
    }
    MediaFile grey(kData + "grey.jpg");
    ASSERT_TRUE(LoadImage(grey));
    EXPECT_EQ(grey.image.format, kPixelGrey);
    EXPECT_EQ(grey.image.pixels.size(), 64u);
    EXPECT_GT(grey.image.pixels[0], grey.image.pixels[63]);
}

TEST(JpegCodec, DamagedAndOversizedFilesFail) {
    const std::vector<uint8_t> good = Bytes(kData + "progressive.jpg");
    ASSERT_TRUE(ReadJpeg(good.data(), good.size()));
    for (size_t cut : {size_t(2), size_t(20), good.size() / 2}) {
        // Cut short: a failure (or a picture padded by libjpeg), never a crash.
        Result<Image> image = ReadJpeg(good.data(), cut);
        if (image) EXPECT_EQ(image->pixels.size(), image->PixelCount() * 3);
    }
    EXPECT_FALSE(ReadJpeg(good.data(), 20));
    // A frame header claiming 65000 x 65000 pixels is refused before decoding.
    std::vector<uint8_t> huge = good;
    for (size_t i = 0; i + 8 < huge.size(); ++i) {
        if (huge[i] == 0xFF && (huge[i + 1] == 0xC0 || huge[i + 1] == 0xC2)) {
            huge[i + 5] = huge[i + 7] = 0xFD;
            huge[i + 6] = huge[i + 8] = 0xE8;
            break;
        }
    }
    Result<Image> refused = ReadJpeg(huge.data(), huge.size());
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.error().find("65000 x 65000"), std::string::npos) << refused.error();
    const uint8_t text[] = "not a picture";
    EXPECT_FALSE(ReadJpeg(text, sizeof text));
}
