#include <gtest/gtest.h>

#include "collections/Bitmap.h"
#include "collections/BitmapCodec.h"
#include "tests/collections/TestCollections.h"

using namespace tamber::collections;

TEST(BitmapCodec, PaddedRleRowsAndSixteenBitAlpha) {
    // Two 8-bit RLE rows of width 4 with padding: row 0 has one run of 3 pixels
    // (11 bytes, one padding byte), row 1 one run of 1 pixel.
    const std::vector<uint8_t> data = {0, 1, 0, 3, 0, 1, 0, 4, 10, 11, 12, 0xEE,
                                       0, 1, 0, 1, 0, 0, 0, 1, 20, 0xEE};
    PalettedLayout layout{4, 2, true, false, true, false};
    auto pixels = DecodePaletted(data, layout, nullptr);
    ASSERT_TRUE(pixels);
    const std::vector<uint8_t> expected = {0, 0, 255, 10, 255, 11, 255, 12, 255, 20, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(*pixels, expected);
    EXPECT_EQ(EncodePaletted(*pixels, layout).size(), data.size());
    // Without the padding flag the same bytes misread the second row.
    layout.padded = false;
    EXPECT_FALSE(DecodePaletted(data, layout, nullptr) && (*DecodePaletted(data, layout, nullptr))[9] == 20);

    // 16-bit RAW: nibble 15 is clear, nibble 0 opaque; the high nibble is ignored.
    const std::vector<uint8_t> wide = {0x0F, 5, 0x00, 6, 0xF7, 7};
    auto sixteen = DecodePaletted(wide, PalettedLayout{3, 1, false, true, false, false}, nullptr);
    ASSERT_TRUE(sixteen);
    EXPECT_EQ(*sixteen, (std::vector<uint8_t>{0, 5, 255, 6, 8 * 17, 7}));

    // Invalid rows: a run that starts after it ends, more runs than the width, data running out.
    const std::vector<std::vector<uint8_t>> bad = {
        {0, 1, 0, 1, 0, 3, 0, 2, 9},
        {0, 5, 0, 0},
        {0, 1, 0, 4, 0, 0, 0, 4, 1, 2},
    };
    for (const auto& row : bad) {
        auto failed = DecodePaletted(row, PalettedLayout{4, 1, true, false, false, false}, nullptr);
        ASSERT_FALSE(failed);
        EXPECT_EQ(failed.error(), "row 1 of the run-length data is damaged");
    }
    auto shortRaw = DecodePaletted(std::vector<uint8_t>(11), PalettedLayout{4, 3, false, false, false, false}, nullptr);
    ASSERT_FALSE(shortRaw);
    EXPECT_EQ(shortRaw.error(), "the pixel data is shorter than the bitmap's rows");
}

TEST(BitmapCodec, EncodeDecodeRoundTrips) {
    const uint16_t kinds[] = {0, kBitmapPadded, kBitmapRle, kBitmapRle | kBitmapPadded, kBitmap16Bit,
                              kBitmap16Bit | kBitmapRle | kBitmapPadded, kBitmapHighColour};
    for (uint16_t flags : kinds)
        for (int width : {1, 2, 5, 16, 33}) {
            auto bitmap = MakeTestBitmap("b", width, 3, flags, width);
            const std::vector<uint8_t> pixels = bitmap->pixels;
            ASSERT_TRUE(bitmap->Encode());
            ASSERT_TRUE(bitmap->Decode(nullptr)) << flags << " " << width;
            EXPECT_EQ(bitmap->pixels, pixels) << flags << " " << width;
        }
}

TEST(BitmapCodec, HighColourStream) {
    // Run of 2 transparent pixels, literal level 5 with extra bytes, literal opaque
    // switching to a run of 1 opaque pixel, then a literal level 0.
    const std::vector<uint8_t> stream = {2, 0x05, 1, 2, 3, 4, 5, 6, 7, 0x3F, 8, 9, 10, 1, 12, 13, 14, 0x00};
    auto pixels = DecodeHighColour(stream, 6, 1);
    ASSERT_TRUE(pixels);
    const std::vector<uint8_t> expected = {0, 0, 0, 0,    0, 0, 0, 0,  0,  0,  0,  0,    0, 0, 0, 0,
                                           3, 2, 1, 0x05, 6, 5, 4, 7,  10, 9,  8,  0x3F, 0, 0, 0, 0,
                                           14, 13, 12, 0x3F, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(*pixels, expected);
    auto cut = DecodeHighColour(std::span(stream.data(), stream.size() - 1), 6, 1);
    ASSERT_FALSE(cut);
    EXPECT_EQ(cut.error(), "the high-colour data ends before the last pixel");
    auto encoded = EncodeHighColour(expected, 6, 1);
    ASSERT_TRUE(encoded);
    EXPECT_EQ(*DecodeHighColour(*encoded, 6, 1), expected);
    // A level-0 pixel with colour bytes cannot be stored.
    std::vector<uint8_t> bad(8, 0);
    bad[0] = 1;
    auto refused = EncodeHighColour(bad, 1, 1);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error(), "pixel 1 is fully transparent but has colour");
}
