#include <gtest/gtest.h>

#include "images/BmpCodec.h"
#include "images/ByteOrder.h"
#include "images/MediaFile.h"
#include "tests/images/ImageTestSupport.h"

using namespace tamber::base;
using namespace tamber::images;

namespace {

// A BMP file built field by field, so refused variants differ in one field.
struct BmpBuilder {
    int32_t width = 3, height = 2;
    uint16_t planes = 1, bits = 24;
    uint32_t infoSize = 40, compression = 0, colorsUsed = 0, important = 0;
    std::vector<uint8_t> extra;    // the information header past its first 40 bytes, or masks
    std::vector<uint8_t> palette;  // bytes as stored (blue, green, red, 0)
    std::vector<uint8_t> rows;     // bytes as stored

    std::vector<uint8_t> Build() const {
        std::vector<uint8_t> out{'B', 'M'};
        PutLE32(out, 0);
        PutLE32(out, 0);
        PutLE32(out, 0);
        PutLE32(out, infoSize);
        PutLE32(out, uint32_t(width));
        PutLE32(out, uint32_t(height));
        PutLE16(out, planes);
        PutLE16(out, bits);
        PutLE32(out, compression);
        for (int i = 0; i < 3; ++i)
            PutLE32(out, 0);
        PutLE32(out, colorsUsed);
        PutLE32(out, important);
        out.insert(out.end(), extra.begin(), extra.end());
        out.insert(out.end(), palette.begin(), palette.end());
        out.insert(out.end(), rows.begin(), rows.end());
        return out;
    }
};

TEST(BmpCodec, ReadsPaddedRowsBottomUpAndTopDown) {
    // Width 3 at 24 bits: 9 data bytes and 3 padding bytes per row.
    BmpBuilder bmp;
    bmp.rows = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0xEE, 0xEE, 0xEE,  // stored first: the bottom row
                10, 11, 12, 13, 14, 15, 16, 17, 18, 0xEE, 0xEE, 0xEE};
    std::vector<uint8_t> file = bmp.Build();
    Result<BmpHeader> header = ReadBmpHeader(file.data(), file.size());
    ASSERT_TRUE(header);
    EXPECT_EQ(header->pixelOffset, 54u);
    EXPECT_TRUE(header->bottomUp);
    Result<Image> image = ReadBmp(file.data(), file.size());
    ASSERT_TRUE(image) << image.error();
    ASSERT_EQ(image->format, kPixelRGB);
    std::vector<uint8_t> expected{12, 11, 10, 15, 14, 13, 18, 17, 16, 3, 2, 1, 6, 5, 4, 9, 8, 7};
    EXPECT_EQ(image->pixels, expected);

    bmp.height = -2;
    file = bmp.Build();
    EXPECT_FALSE(ReadBmpHeader(file.data(), file.size())->bottomUp);
    image = ReadBmp(file.data(), file.size());
    ASSERT_TRUE(image);
    expected = {3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10, 15, 14, 13, 18, 17, 16};
    EXPECT_EQ(image->pixels, expected);

    // One padding byte missing from the last row: a short read.
    file.pop_back();
    EXPECT_FALSE(ReadBmp(file.data(), file.size()));
}

TEST(BmpCodec, PaletteStartsRightAfterHeaderAndGreyRampLoadsAsGrey) {
    BmpBuilder bmp;
    bmp.width = 2;
    bmp.height = 1;
    bmp.bits = 8;
    bmp.colorsUsed = 2;
    bmp.palette = {30, 20, 10, 0, 60, 50, 40, 0};
    bmp.rows = {1, 0, 0, 0};
    std::vector<uint8_t> file = bmp.Build();
    Result<Image> image = DecodeImage(file.data(), file.size(), kFormatBmp);
    ASSERT_TRUE(image);
    ASSERT_EQ(image->format, kPixelPaletted);
    EXPECT_EQ(image->paletteCount, 2u);
    EXPECT_EQ(std::vector<uint8_t>(image->palette.begin(), image->palette.begin() + 6),
              (std::vector<uint8_t>{10, 20, 30, 40, 50, 60}));
    EXPECT_EQ(image->pixels, (std::vector<uint8_t>{1, 0}));

    bmp.colorsUsed = 0;
    bmp.palette.clear();
    for (int i = 0; i < 256; ++i)
        bmp.palette.insert(bmp.palette.end(), {uint8_t(i), uint8_t(i), uint8_t(i), 0});
    bmp.rows = {7, 200, 0, 0};
    file = bmp.Build();
    image = DecodeImage(file.data(), file.size(), kFormatBmp);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->format, kPixelGrey);
    EXPECT_EQ(image->pixels, (std::vector<uint8_t>{7, 200}));
    EXPECT_TRUE(image->palette.empty());
}

TEST(BmpCodec, ReadsSmallPalettesRunLengthRowsMasksAndLongerHeaders) {
    auto read = [](const BmpBuilder& bmp) {
        std::vector<uint8_t> file = bmp.Build();
        Result<Image> image = ReadBmp(file.data(), file.size());
        EXPECT_TRUE(image) << image.error();
        return image ? image->pixels : std::vector<uint8_t>{};
    };
    BmpBuilder bmp;
    bmp.height = 1;
    bmp.bits = 1;
    bmp.width = 10;
    bmp.palette = {0, 0, 0, 0, 255, 255, 255, 0};
    bmp.rows = {0xB0, 0x40, 0xEE, 0xEE};
    EXPECT_EQ(read(bmp), (std::vector<uint8_t>{1, 0, 1, 1, 0, 0, 0, 0, 0, 1}));

    bmp.bits = 4;
    bmp.width = 3;
    bmp.colorsUsed = 4;
    bmp.palette.assign(16, 9);
    bmp.rows = {0x12, 0x30, 0xEE, 0xEE};
    EXPECT_EQ(read(bmp), (std::vector<uint8_t>{1, 2, 3}));

    // Run-length rows, bottom row first: a run, indices stored as they are (the
    // one past the row's end dropped), the end of the row, a move, the end.
    bmp.bits = 8;
    bmp.compression = 1;
    bmp.width = 4;
    bmp.height = 2;
    bmp.colorsUsed = 16;
    bmp.palette.assign(64, 9);
    bmp.rows = {2, 5, 0, 3, 7, 8, 9, 0, 0, 0, 0, 2, 1, 0, 1, 6, 0, 1};
    EXPECT_EQ(read(bmp), (std::vector<uint8_t>{0, 6, 0, 0, 5, 5, 7, 8}));
    bmp.rows.resize(5);  // data that ends inside the picture
    std::vector<uint8_t> cut = bmp.Build();
    EXPECT_FALSE(ReadBmp(cut.data(), cut.size()));

    bmp.bits = 4;
    bmp.compression = 2;
    bmp.width = 5;
    bmp.height = 1;
    bmp.rows = {3, 0x12, 0, 3, 0x45, 0x60, 0, 1};
    EXPECT_EQ(read(bmp), (std::vector<uint8_t>{1, 2, 1, 4, 5}));

    // A V5 header whose masks put red in the lowest byte and give no alpha.
    BmpBuilder masked;
    masked.infoSize = 124;
    masked.width = 2;
    masked.height = 1;
    masked.bits = 32;
    masked.compression = 3;
    for (uint32_t mask : {0xFFu, 0xFF00u, 0xFF0000u, 0u})
        PutLE32(masked.extra, mask);
    masked.extra.resize(124 - 40, 0);
    masked.rows = {10, 20, 30, 40, 50, 60, 70, 80};
    EXPECT_EQ(read(masked), (std::vector<uint8_t>{10, 20, 30, 255, 50, 60, 70, 255}));

    // A V4 header with plain 24-bit rows.
    BmpBuilder v4;
    v4.infoSize = 108;
    v4.width = 1;
    v4.height = 1;
    v4.extra.assign(108 - 40, 0);
    v4.rows = {1, 2, 3, 0};
    EXPECT_EQ(read(v4), (std::vector<uint8_t>{3, 2, 1}));
}

TEST(BmpCodec, RefusesWhatTheReaderDoesNotHandle) {
    auto refused = [](auto change) {
        BmpBuilder bmp;
        bmp.rows.assign(24, 0);
        change(bmp);
        std::vector<uint8_t> file = bmp.Build();
        return !ReadBmpHeader(file.data(), file.size());
    };
    EXPECT_FALSE(refused([](BmpBuilder&) {}));
    EXPECT_TRUE(refused([](BmpBuilder& b) { b.bits = 16; }));
    EXPECT_TRUE(refused([](BmpBuilder& b) { b.bits = 2; }));
    EXPECT_TRUE(refused([](BmpBuilder& b) { b.compression = 1; }));  // RLE8 needs 8 bits
    EXPECT_TRUE(refused([](BmpBuilder& b) { b.bits = 8, b.compression = 2; }));
    EXPECT_TRUE(refused([](BmpBuilder& b) { b.bits = 8, b.compression = 1, b.height = -2; }));  // RLE is bottom-up
    EXPECT_TRUE(refused([](BmpBuilder& b) { b.compression = 3; }));  // masks need 32 bits
    EXPECT_TRUE(refused([](BmpBuilder& b) { b.compression = 4; }));  // embedded JPEG
    EXPECT_TRUE(refused([](BmpBuilder& b) { b.infoSize = 64; }));
    EXPECT_TRUE(refused([](BmpBuilder& b) { b.bits = 4, b.colorsUsed = 17; }));
    EXPECT_TRUE(refused([](BmpBuilder& b) { b.planes = 2; }));
    EXPECT_TRUE(refused([](BmpBuilder& b) { b.width = 0; }));
    EXPECT_TRUE(refused([](BmpBuilder& b) { b.width = 32768; }));
    EXPECT_TRUE(refused([](BmpBuilder& b) { b.height = 0; }));
    EXPECT_TRUE(refused([](BmpBuilder& b) { b.height = -32768; }));
    EXPECT_TRUE(refused([](BmpBuilder& b) { b.height = INT32_MIN; }));
    EXPECT_TRUE(refused([](BmpBuilder& b) { b.colorsUsed = 1; }));  // 24 bits takes no palette
    EXPECT_TRUE(refused([](BmpBuilder& b) { b.bits = 8, b.colorsUsed = 257; }));
    EXPECT_TRUE(refused([](BmpBuilder& b) { b.bits = 8, b.colorsUsed = 4, b.important = 5; }));
    EXPECT_FALSE(refused([](BmpBuilder& b) { b.bits = 8, b.colorsUsed = 4, b.important = 4; }));

    // A header claiming the largest picture with no rows behind it allocates nothing.
    BmpBuilder huge;
    huge.width = 32767;
    huge.height = 32767;
    huge.bits = 32;
    std::vector<uint8_t> file = huge.Build();
    EXPECT_FALSE(ReadBmp(file.data(), file.size()));
    // Nor does one claiming it in a few bytes of run-length data.
    huge.bits = 8;
    huge.compression = 1;
    huge.rows = {0, 1};
    file = huge.Build();
    EXPECT_FALSE(ReadBmp(file.data(), file.size()));
}

TEST(BmpCodec, WritesTheDocumentedLayout) {
    Image grey = MakeTestImage(kPixelGrey, 3, 2);
    std::vector<uint8_t> file = *WriteBmp(grey);
    ASSERT_EQ(file.size(), 54u + 1024u + 2 * 4u);
    EXPECT_EQ(GetLE32(&file[2]), file.size());
    EXPECT_EQ(GetLE32(&file[10]), 54u + 1024u);
    EXPECT_EQ(GetLE16(&file[28]), 8u);
    EXPECT_EQ(GetLE32(&file[46]), 256u);
    EXPECT_EQ(file[54 + 4 * 200], 200);  // grey ramp palette
    // Bottom row first, padded with zeros.
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 1078, file.begin() + 1082),
              (std::vector<uint8_t>{grey.pixels[3], grey.pixels[4], grey.pixels[5], 0}));

    Image paletted = MakeTestImage(kPixelPaletted, 5, 3);
    paletted.paletteCount = 16;
    file = *WriteBmp(paletted);
    EXPECT_EQ(GetLE32(&file[10]), 54u + 64u);
    EXPECT_EQ(GetLE32(&file[46]), 16u);

    for (uint32_t format : {kPixelRGB, kPixelRGBA, kPixelPaletted}) {
        Image source = MakeTestImage(format, 7, 5, format);
        file = *WriteBmp(source);
        Result<Image> back = ReadBmp(file.data(), file.size());
        ASSERT_TRUE(back);
        EXPECT_EQ(back->format, format);
        EXPECT_EQ(back->pixels, source.pixels);
        EXPECT_EQ(back->palette, source.palette);
    }
    EXPECT_FALSE(WriteBmp(MakeTestImage(kPixelPalettedAlpha, 2, 2)));
}

}  // namespace
