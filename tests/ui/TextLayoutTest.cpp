#include <gtest/gtest.h>

#include "tests/ui/TestFont.h"
#include "ui/FontFile.h"
#include "ui/TextLayout.h"

using namespace tamber::ui;

namespace {

int Width(const Font& font, const char* text, int flags = 0, int maxWidth = 1000) {
    int width, next, style;
    MeasureLine(&font, text, flags, maxWidth, 0, 0, width, next, style);
    return width;
}

struct Line {
    int width, next, style;
    bool more;
};
Line Measure(const Font& font, const char* text, int start, int maxWidth, int flags = kTextWordWrap) {
    Line line;
    line.more = MeasureLine(&font, text, flags, maxWidth, start, 0, line.width, line.next, line.style);
    return line;
}

std::vector<PlacedGlyph> Place(const Font& font, const char* text, int flags, const Rect& rect, int* widest = nullptr) {
    std::vector<PlacedGlyph> placed;
    int w = LayoutText(font, text, 0, flags, rect, [&](const PlacedGlyph& g) { placed.push_back(g); });
    if (widest)
        *widest = w;
    return placed;
}

}  // namespace

TEST(TextLayout, StyleCodesTabsAndPairAdvances) {
    auto font = MakeTestFont();
    EXPECT_EQ(Width(*font, "a|bb"), 6 + 8);
    EXPECT_EQ(Width(*font, "a|zb"), 4 * 6);
    EXPECT_EQ(Width(*font, "|B|ib"), 6);  // codes stack; the last one wins
    EXPECT_EQ(Width(*font, "|ob"), 6);     // the fourth style is absent: plain stays
    EXPECT_EQ(Width(*font, "b|"), 12);     // a trailing bar is a character
    EXPECT_EQ(Width(*font, "AV"), 4 + 6);
    EXPECT_EQ(Width(*font, "AA"), 12);
    // Tab stops every 4 spaces (12 pixels) from the line start.
    EXPECT_EQ(Width(*font, "\tx"), 12 + 6);
    EXPECT_EQ(Width(*font, "ab\tx"), 12 + 12 + 6);  // 12 is a stop: a full tab
    EXPECT_EQ(Width(*font, "|bx\t"), 12);      // 8 -> next stop at 12
    EXPECT_EQ(Width(*font, "abcd\t"), 36);     // exactly on a stop: a full tab
    EXPECT_EQ(Width(*font, "a\x01" "b"), 6 + 3 + 6);  // control bytes measure as spaces

    Line end = Measure(*font, "ab|b", 0, 1000, 0);
    EXPECT_FALSE(end.more);
    EXPECT_EQ(end.next, 4);
    EXPECT_EQ(end.style, 1);
    Line broken = Measure(*font, "ab\r\ncd", 0, 1000, 0);
    EXPECT_TRUE(broken.more);
    EXPECT_EQ(broken.next, 3);
}

TEST(TextLayout, WordWrapAndLineCounts) {
    auto font = MakeTestFont();
    Line first = Measure(*font, "aaa bbb", 0, 30);
    EXPECT_EQ(first.width, 18);
    EXPECT_EQ(first.next, 4);
    EXPECT_TRUE(first.more);
    Line second = Measure(*font, "aaa bbb", 4, 30);
    EXPECT_EQ(second.width, 18);
    EXPECT_FALSE(second.more);
    // A word longer than the line breaks before the character that does not fit.
    Line word = Measure(*font, "abcdefgh", 0, 20);
    EXPECT_EQ(word.width, 18);
    EXPECT_EQ(word.next, 3);
    // A first character wider than the line is taken alone.
    Line alone = Measure(*font, "ab", 0, 4);
    EXPECT_EQ(alone.width, 6);
    EXPECT_EQ(alone.next, 1);
    EXPECT_TRUE(alone.more);
    // The style in force where the line broke carries to the next line.
    Line styled = Measure(*font, "a|bb cc", 0, 20);
    EXPECT_EQ(styled.next, 5);
    EXPECT_EQ(styled.style, 1);

    EXPECT_EQ(MeasureTextHeight(font.get(), "aaa bbb", 0, kTextWordWrap, 30), 2 * 14);
    EXPECT_EQ(MeasureTextHeight(font.get(), "a\nb\n", 0, 0, 30), 3 * 14);
    EXPECT_EQ(MeasureTextHeight(font.get(), "", 0, 0, 30), 14);
    EXPECT_EQ(MeasureTextHeight(nullptr, "a", 0, 0, 30), 0);
    EXPECT_EQ(GetFontHeight(font.get()), 12);
    EXPECT_EQ(GetFontHeight(nullptr), 0);
}

TEST(TextLayout, CharIndexAtX) {
    auto font = MakeTestFont();
    EXPECT_EQ(CharIndexAtX(font.get(), "abc", -5), 0);
    EXPECT_EQ(CharIndexAtX(font.get(), "abc", 2), 0);
    EXPECT_EQ(CharIndexAtX(font.get(), "abc", 4), 1);
    EXPECT_EQ(CharIndexAtX(font.get(), "abc", 7), 1);
    EXPECT_EQ(CharIndexAtX(font.get(), "abc", 10), 2);
    EXPECT_EQ(CharIndexAtX(font.get(), "abc", 100), 3);
    EXPECT_EQ(CharIndexAtX(font.get(), "ab\ncd", 100), 2);
    // Codes count as bytes but take no room: "|b" then a bold 8-pixel "a".
    EXPECT_EQ(CharIndexAtX(font.get(), "|bab", 5), 3);
    EXPECT_EQ(CharIndexAtX(font.get(), "|bab", 3), 2);
}

TEST(TextLayout, PlacesGlyphsWithAlignmentAndStops) {
    auto font = MakeTestFont();
    Rect rect{100, 50, 200, 90};
    auto centred = Place(*font, "ab", kTextCenter | kTextCenterVertically, rect);
    ASSERT_EQ(centred.size(), 2u);
    EXPECT_EQ(centred[0].penX, 100 + 44);
    EXPECT_EQ(centred[1].penX, 100 + 50);
    EXPECT_EQ(centred[0].baseline, 50 + 10 + 14);
    auto right = Place(*font, "a b", kTextRight, rect);
    ASSERT_EQ(right.size(), 2u);  // the space has no bitmap
    EXPECT_EQ(right[1].penX, 200 - 6);
    EXPECT_EQ(right[1].glyph, &font->GetGlyph(0, 'b'));
    auto bold = Place(*font, "a|Bb", 0, rect);
    EXPECT_EQ(bold[1].glyph, &font->GetGlyph(1, 'b'));

    // One line: drawing stops where the pen leaves the rectangle; the width is the line's.
    int widest = 0;
    auto clipped = Place(*font, "aaaaaaaaa", 0, Rect{0, 0, 20, 12}, &widest);
    EXPECT_EQ(clipped.size(), 4u);
    EXPECT_EQ(widest, 54);
    // Several lines: stops after the line whose baseline passes the bottom.
    auto lines = Place(*font, "a\nb\nc\nd", kTextMultiLine, Rect{0, 0, 50, 20});
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].baseline, 22);
    auto firstOnly = Place(*font, "a\nb", 0, Rect{0, 0, 50, 50});
    EXPECT_EQ(firstOnly.size(), 1u);
    // Measuring alone gives the same widest line as laying out.
    EXPECT_EQ(DrawText(font.get(), "aaa bbb bb", 0, kTextWordWrap | kTextMeasureOnly, Rect{0, 0, 30, 100}), 18);
    EXPECT_EQ(DrawText(font.get(), "abc", 0, kTextMeasureOnly, Rect{0, 0, 0, 100}), 0);
}

TEST(TextLayout, RealInterfaceFont) {
    auto font = ReadFontFile("res/kanterel.tamberfont");
    ASSERT_TRUE(font) << "res/kanterel.tamberfont missing from " TAMBER_RUN_DIR;
    for (int s = 0; s < kFontStyleCount; ++s)
        EXPECT_TRUE(font->styles[s].Present()) << s;
    EXPECT_GT(font->lineHeight, 10);

    const char* text = "Wave AVATAR To";
    int plain = Width(*font, text);
    EXPECT_GT(Width(*font, "|b" "Wave AVATAR To"), plain);
    EXPECT_NE(Width(*font, "|o" "Wave AVATAR To"), Width(*font, "|i" "Wave AVATAR To"));
    // Kerning: "A" takes less room before "V" than before "A"; "T" less before "o".
    const Glyph& a = font->GetGlyph(0, 'A');
    EXPECT_LT(a.advance['V' - 32], a.advance['A' - 32]);
    const Glyph& t = font->GetGlyph(0, 'T');
    EXPECT_LT(t.advance['o' - 32], t.advance['T' - 32]);

    // Tabs land on stops of tab-width multiples of the space.
    int tab = font->GetGlyph(0, ' ').advance[0] * font->tabSpaces;
    ASSERT_GT(tab, 0);
    EXPECT_EQ(Width(*font, "Name\t") % tab, 0);
    EXPECT_EQ(Width(*font, "\t"), tab);

    // Wrapped lines fit, and joining them back (dropping the break spaces) gives the text.
    const char* sentence = "The quick brown fox jumps over the lazy dog, then naps beside the warm hearth.";
    std::string joined;
    int start = 0, lines = 0;
    Line line;
    do {
        line = Measure(*font, sentence, start, 90);
        EXPECT_LE(line.width, 90);
        std::string part(sentence + start, sentence + line.next);
        if (line.more && part.back() == ' ')
            part.pop_back();
        joined += (joined.empty() ? "" : " ") + part;
        start = line.next;
        ++lines;
    } while (line.more);
    EXPECT_EQ(joined, sentence);
    EXPECT_GE(lines, 4);
    EXPECT_EQ(MeasureTextHeight(font.get(), sentence, 0, kTextWordWrap, 90), lines * (font->lineHeight + 2));

    // Sweeping x across a line meets every character boundary in order, skipping
    // the inside of the style code.
    const char* word = "Hello, |bWorld";
    std::vector<int> seen;
    for (int x = -1; x <= Width(*font, word) + 1; ++x) {
        int index = CharIndexAtX(font.get(), word, x);
        if (seen.empty() || seen.back() != index)
            seen.push_back(index);
    }
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13, 14}));
}
