#pragma once
// A bitmap font of the program's own format (.tamberfont): up to four styles of
// 224 glyphs for the characters 32 to 255. Every glyph carries its pen advance for
// each possible following character, so kerning is built in. The glyph bitmaps are
// packed into square one-byte-per-texel pages and uploaded as alpha textures.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ui/Rect.h"

namespace tamber::ui {

constexpr int kFontGlyphCount = 224;  // characters 32 to 255
constexpr int kFontStyleCount = 4;    // 0 plain, 1 bold, 2 italic, 3 bold italic

struct Glyph {
    uint16_t width = 0;
    uint16_t height = 0;
    int16_t xOffset = 0;  // bitmap left relative to the pen
    int16_t yOffset = 0;  // bitmap top relative to the baseline (down is positive)
    // Entry n: pen advance when the next character is n + 32; entry 0 also serves
    // for a next byte below 32 and for the end of the text.
    std::array<uint8_t, kFontGlyphCount> advance{};
    std::vector<uint8_t> bitmap;  // coverage, rows top to bottom; freed after upload
    // Place in the glyph pages; a rotated glyph is stored transposed.
    uint16_t page = 0;
    uint16_t pageX = 0;
    uint16_t pageY = 0;
    bool rotated = false;
};

struct FontStyle {
    std::array<Glyph, kFontGlyphCount> glyphs;
    std::array<uint32_t, 4> trailer{};
    bool Present() const { return (trailer[3] & 1) != 0; }
};

struct Font {
    int32_t ascent = 0;      // top of a line to the baseline
    int32_t value1 = 0;      // descent in the fonts resgen writes; not used for layout
    int32_t lineHeight = 0;
    int32_t tabSpaces = 0;   // tab width in spaces
    std::array<FontStyle, kFontStyleCount> styles;
    int pageSide = 0;
    std::vector<std::vector<uint8_t>> pagePixels;  // freed after upload
    std::vector<uint32_t> pageTextures;

    // The style to draw with when the asked one is absent: the first present one.
    int EffectiveStyle(int style) const {
        if (style >= 0 && style < kFontStyleCount && styles[style].Present())
            return style;
        for (int s = 0; s < kFontStyleCount; ++s)
            if (styles[s].Present())
                return s;
        return 0;
    }
    const Glyph& GetGlyph(int style, uint8_t c) const { return styles[style].glyphs[c - 32]; }
};

// Text layout flags.
enum : int {
    kTextMultiLine = 4,
    kTextWordWrap = 8,
    kTextCenter = 16,
    kTextRight = 32,
    kTextCenterVertically = 64,
    kTextShadow = 0x100,
    kTextMeasureOnly = 0x200,
};

// Frees an uploaded font's page textures with the font.
struct UploadedFontDeleter {
    void operator()(Font* font) const;
};
using UploadedFont = std::unique_ptr<Font, UploadedFontDeleter>;

// Reads the file, packs the glyphs into pages of min(GL maximum texture size, 1024)
// and uploads them; null when the file is missing, short or malformed.
UploadedFont LoadFont(const std::string& path);
int GetFontHeight(const Font* font);
// Adds the text to the interface batch in its current colour (or, with
// kTextMeasureOnly, only measures it); returns the widest line's width.
int DrawText(const Font* font, const char* text, int style, int flags, const Rect& rect);

}  // namespace tamber::ui
