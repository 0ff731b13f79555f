#include <gtest/gtest.h>

#include <cstdio>

#include "ui/CharSet.h"

using namespace tamber::ui;

TEST(CharSet, BuiltInTableConvertsBothWays) {
    ResetCharMap();
    EXPECT_EQ(ToUnicode(std::string("\x09" "A\xDB\x80", 4)), std::u16string(u"\tA\u00A4\u00C4"));
    EXPECT_EQ(FromUnicode(u"\u00A4\u20AC\u00C4 \x01z"), std::string("\xDB\xFF\x80 \x01z"));
    // Not in the table but below 255: kept as it is.
    EXPECT_EQ(UnicodeToChar(0x80), 0x80);
}

TEST(CharSet, CharMapFileReplacesTheTableOnlyWhenComplete) {
    std::string path = testing::TempDir() + "charmap";
    std::vector<uint8_t> bytes(448);
    for (int i = 0; i < 224; ++i) {
        char16_t u = char16_t(i + 32);
        if (i + 32 == 'A')
            u = 0x0410;  // Cyrillic A in place of Latin A
        if (i + 32 == 'B')
            u = 0;       // an empty entry shows as a space
        bytes[2 * i] = uint8_t(u);
        bytes[2 * i + 1] = uint8_t(u >> 8);
    }
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    std::fwrite(bytes.data(), 1, 447, f);
    std::fclose(f);
    EXPECT_FALSE(LoadCharMap(path));
    EXPECT_EQ(CharToUnicode(0xDB), u'\u00A4');

    f = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    EXPECT_TRUE(LoadCharMap(path));
    EXPECT_EQ(ToUnicode("AB\xDB"), std::u16string(u"\u0410 \u00DB"));
    EXPECT_EQ(UnicodeToChar(0x0410), 'A');
    EXPECT_FALSE(LoadCharMap(path + "-missing"));
    EXPECT_EQ(CharToUnicode('A'), u'\u0410');
    ResetCharMap();
    std::remove(path.c_str());
}

TEST(CharSet, TypedCharacters) {
    EXPECT_EQ(TranslateTypedChar('a', false), 'a');
    EXPECT_EQ(TranslateTypedChar('~', false), '~');
    EXPECT_EQ(TranslateTypedChar(200, false), 0);
    EXPECT_EQ(TranslateTypedChar(167, false), 164);
    EXPECT_EQ(TranslateTypedChar(177, true), 177);
    EXPECT_EQ(TranslateTypedChar('!', true), 218);
    EXPECT_EQ(TranslateTypedChar('~', true), 96);
    EXPECT_EQ(TranslateTypedChar('T', true), 255);
    EXPECT_EQ(TranslateTypedChar(31, false), 255);
    EXPECT_EQ(TranslateTypedChar(0x20AC, true), 255);
}
