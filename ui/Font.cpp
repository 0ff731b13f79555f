#include "ui/Font.h"

#include <GL/gl.h>

#include "ui/FontFile.h"
#include "ui/TamberGL.h"
#include "ui/TextLayout.h"

namespace tamber::ui {

namespace {

void EmitGlyphQuad(const Font& font, const PlacedGlyph& placed, int shift) {
    const Glyph& g = *placed.glyph;
    const float side = float(font.pageSide);
    const float x0 = float(placed.penX + g.xOffset + shift), y0 = float(placed.baseline + g.yOffset + shift);
    const float x1 = x0 + g.width, y1 = y0 + g.height;
    const float s0 = g.pageX / side, t0 = g.pageY / side;
    // A turned glyph is stored transposed: its width runs down the page.
    const float s1 = (g.pageX + (g.rotated ? g.height : g.width)) / side;
    const float t1 = (g.pageY + (g.rotated ? g.width : g.height)) / side;
    const float corner[4][4] = {
        {x0, y0, s0, t0},
        {x1, y0, g.rotated ? s0 : s1, g.rotated ? t1 : t0},
        {x1, y1, s1, t1},
        {x0, y1, g.rotated ? s1 : s0, g.rotated ? t0 : t1},
    };
    for (const auto& c : corner) {
        glTexCoord2f(c[2], c[3]);
        glVertex2f(c[0], c[1]);
    }
}

}  // namespace

UploadedFont LoadFont(const std::string& path) {
    std::unique_ptr<Font> font = ReadFontFile(path);
    if (!font || !PackFontGlyphs(*font, AtlasPageSide()))
        return nullptr;
    font->pageTextures = UploadAtlasPages(font->pagePixels, font->pageSide, true);
    font->pagePixels.clear();
    font->pagePixels.shrink_to_fit();
    for (FontStyle& style : font->styles)
        for (Glyph& glyph : style.glyphs) {
            glyph.bitmap.clear();
            glyph.bitmap.shrink_to_fit();
        }
    return UploadedFont(font.release());
}

void UploadedFontDeleter::operator()(Font* font) const {
    DeleteTextures(font->pageTextures);
    std::default_delete<Font>()(font);
}

int GetFontHeight(const Font* font) { return font ? font->lineHeight : 0; }

int DrawText(const Font* font, const char* text, int style, int flags, const Rect& rect) {
    if (!font || !text || rect.IsEmpty())
        return 0;
    if ((flags & kTextMeasureOnly) || font->pageTextures.empty())
        return LayoutText(*font, text, style, flags, rect, nullptr);
    glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT | GL_CURRENT_BIT);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    GLfloat color[4];
    glGetFloatv(GL_CURRENT_COLOR, color);
    int widest = 0;
    // The shadow pass comes first over all pages so that no shadow covers a glyph.
    for (int pass = (flags & kTextShadow) ? 0 : 1; pass < 2; ++pass) {
        if (pass == 0)
            glColor4f(0, 0, 0, color[3]);
        else
            glColor4fv(color);
        for (size_t page = 0; page < font->pageTextures.size(); ++page) {
            glBindTexture(GL_TEXTURE_2D, font->pageTextures[page]);
            glBegin(GL_QUADS);
            widest = LayoutText(*font, text, style, flags, rect, [&](const PlacedGlyph& placed) {
                if (placed.glyph->page == page)
                    EmitGlyphQuad(*font, placed, pass == 0 ? 1 : 0);
            });
            glEnd();
        }
    }
    glPopAttrib();
    return widest;
}

}  // namespace tamber::ui
