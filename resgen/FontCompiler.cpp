// Compiles the interface font: four faces (plain, bold, italic, bold italic) at one
// pixel size into a .tamberfont. Glyphs are FreeType's antialiased coverage for the
// program's character set; every advance table holds the rounded advance plus the
// face's kerning against each following character.
//
// Usage: resgen_font OUTPUT PIXEL_SIZE PLAIN BOLD ITALIC BOLD_ITALIC
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "resgen/FaceRenderer.h"
#include "ui/CharSet.h"
#include "platform/fs/FileBytes.h"
#include "ui/FontFile.h"

using namespace tamber::resgen;
using namespace tamber::ui;
using namespace tamber::platform;

namespace {

constexpr int kTabSpaces = 4;

bool CompileStyle(const FaceRenderer& face, int pixelSize, int styleIndex, FontStyle& style) {
    for (int c = 32; c < 256; ++c) {
        Glyph& glyph = style.glyphs[c - 32];
        uint32_t code = CharToUnicode(uint8_t(c));
        FaceRenderer::GlyphBitmap bitmap = face.Render(code);
        if (!bitmap.found) {
            // No glyph in the face: an empty cell as wide as a space.
            bitmap = face.Render(' ');
            bitmap.width = bitmap.height = 0;
            bitmap.coverage.clear();
        }
        if (bitmap.width > 65535 || bitmap.height > 65535)
            return false;
        glyph.width = uint16_t(bitmap.width);
        glyph.height = uint16_t(bitmap.height);
        glyph.xOffset = int16_t(bitmap.left);
        glyph.yOffset = int16_t(-bitmap.top);
        glyph.bitmap = std::move(bitmap.coverage);
        for (int next = 32; next < 256; ++next) {
            int advance = bitmap.advance + face.Kerning(code, CharToUnicode(uint8_t(next)));
            glyph.advance[next - 32] = uint8_t(std::clamp(int(std::lround(advance / 64.0)), 0, 255));
        }
    }
    // The first three trailer values record how the style was made.
    style.trailer = {uint32_t(pixelSize), uint32_t(styleIndex & 1), uint32_t(styleIndex >> 1), 1};
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 7) {
        std::fprintf(stderr, "usage: %s OUTPUT PIXEL_SIZE PLAIN BOLD ITALIC BOLD_ITALIC\n", argv[0]);
        return 2;
    }
    const int pixelSize = std::atoi(argv[2]);
    Font font;
    for (int s = 0; s < kFontStyleCount; ++s) {
        auto face = FaceRenderer::Open(argv[3 + s], pixelSize);
        if (!face) {
            std::fprintf(stderr, "cannot open font %s\n", argv[3 + s]);
            return 1;
        }
        if (s == 0) {
            font.ascent = face->Ascender();
            font.value1 = face->Descender();
            font.lineHeight = face->LineHeight();
            font.tabSpaces = kTabSpaces;
        }
        if (!CompileStyle(*face, pixelSize, s, font.styles[s]))
            return 1;
    }
    if (!WriteFileAtomically(argv[1], EncodeFont(font))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
