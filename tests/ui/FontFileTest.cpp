#include <gtest/gtest.h>

#include "tests/ui/TestFont.h"
#include "ui/FontFile.h"

using namespace tamber::ui;

namespace {

void ExpectSameFont(const Font& a, const Font& b) {
    EXPECT_EQ(a.ascent, b.ascent);
    EXPECT_EQ(a.lineHeight, b.lineHeight);
    EXPECT_EQ(a.tabSpaces, b.tabSpaces);
    for (int s = 0; s < kFontStyleCount; ++s) {
        EXPECT_EQ(a.styles[s].trailer, b.styles[s].trailer);
        for (int g = 0; g < kFontGlyphCount; ++g) {
            const Glyph& x = a.styles[s].glyphs[g];
            const Glyph& y = b.styles[s].glyphs[g];
            ASSERT_EQ(x.width, y.width);
            ASSERT_EQ(x.yOffset, y.yOffset);
            ASSERT_EQ(x.advance, y.advance) << s << " " << g;
            ASSERT_EQ(x.bitmap, y.bitmap);
        }
    }
}

}  // namespace

TEST(FontFile, RoundTripsAndFailsOnEveryShortRead) {
    auto font = MakeTestFont();
    std::vector<uint8_t> bytes = EncodeFont(*font);
    auto read = ParseFont(bytes.data(), bytes.size());
    ASSERT_TRUE(read);
    ExpectSameFont(*font, *read);
    EXPECT_FALSE(read->styles[3].Present());

    for (size_t cut = 0; cut < bytes.size(); cut += 61)
        EXPECT_FALSE(ParseFont(bytes.data(), cut)) << cut;
    EXPECT_FALSE(ParseFont(bytes.data(), bytes.size() - 1));
}

TEST(FontFile, CutsOverlongAdvanceRunsAndRefusesNonsense) {
    auto font = MakeTestFont();
    std::vector<uint8_t> bytes = EncodeFont(*font);
    // The space glyph's table is a single run (3, 223); a count of 256 is cut at 224.
    ASSERT_EQ(bytes[16 + 8], 3);
    ASSERT_EQ(bytes[16 + 9], 223);
    bytes[16 + 9] = 255;
    auto read = ParseFont(bytes.data(), bytes.size());
    ASSERT_TRUE(read);
    ExpectSameFont(*font, *read);

    std::vector<uint8_t> huge = EncodeFont(*font);
    huge[8 + 3] = 0x7F;  // line height 2^31 - 1
    EXPECT_FALSE(ParseFont(huge.data(), huge.size()));

    for (FontStyle& style : font->styles)
        style.trailer[3] = 0;
    std::vector<uint8_t> empty = EncodeFont(*font);
    EXPECT_FALSE(ParseFont(empty.data(), empty.size()));
}

TEST(FontFile, PacksEveryGlyphIntoSmallPages) {
    auto font = MakeTestFont();
    ASSERT_TRUE(PackFontGlyphs(*font, 64));
    EXPECT_GT(font->pagePixels.size(), 1u);
    // Every glyph is fully covered; counting covered texels proves the glyphs neither
    // overlap nor leave their places.
    size_t area = 0, covered = 0;
    bool anyRotated = false;
    for (const FontStyle& style : font->styles)
        for (const Glyph& glyph : style.glyphs) {
            area += size_t(glyph.width) * glyph.height;
            anyRotated = anyRotated || glyph.rotated;
            int w = glyph.rotated ? glyph.height : glyph.width;
            int h = glyph.rotated ? glyph.width : glyph.height;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    ASSERT_EQ(font->pagePixels[glyph.page][(glyph.pageY + y) * 64 + glyph.pageX + x], 255);
        }
    for (const auto& page : font->pagePixels)
        for (uint8_t texel : page)
            covered += texel == 255;
    EXPECT_EQ(covered, area);
    EXPECT_TRUE(anyRotated);
    EXPECT_FALSE(PackFontGlyphs(*font, 6));
}
