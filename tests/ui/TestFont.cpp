#include "tests/ui/TestFont.h"

namespace {

void FillStyle(FontStyle& style, int advance, int bitmapWidth) {
    for (int c = 32; c < 256; ++c) {
        Glyph& glyph = style.glyphs[c - 32];
        glyph.advance.fill(uint8_t(c == ' ' ? 3 : advance));
        if (c == ' ')
            continue;
        glyph.width = uint16_t(bitmapWidth);
        glyph.height = 7;
        glyph.xOffset = 0;
        glyph.yOffset = -7;
        glyph.bitmap.assign(size_t(bitmapWidth) * 7, 255);
    }
    style.trailer = {0, 0, 0, 1};
}

}  // namespace

std::unique_ptr<Font> MakeTestFont() {
    auto font = std::make_unique<Font>();
    font->ascent = 10;
    font->value1 = 2;
    font->lineHeight = 12;
    font->tabSpaces = 4;
    FillStyle(font->styles[0], 6, 5);
    font->styles[0].glyphs['A' - 32].advance['V' - 32] = 4;
    FillStyle(font->styles[1], 8, 7);
    FillStyle(font->styles[2], 6, 5);
    return font;
}
