#include "ui/Font.h"

#include "ui/DrawBatch.h"
#include "ui/FontFile.h"
#include "ui/TamberGL.h"
#include "ui/TextLayout.h"

namespace tamber::ui {

namespace {

void AddGlyphQuad(DrawBatch& batch, const Font& font, const PlacedGlyph& placed, int shift) {
    const Glyph& g = *placed.glyph;
    if (g.page >= font.pageTextures.size())
        return;
    const float side = float(font.pageSide);
    const float x0 = float(placed.penX + g.xOffset + shift), y0 = float(placed.baseline + g.yOffset + shift);
    const float x1 = x0 + g.width, y1 = y0 + g.height;
    const float s0 = g.pageX / side, t0 = g.pageY / side;
    // A turned glyph is stored transposed: its width runs down the page.
    const float s1 = (g.pageX + (g.rotated ? g.height : g.width)) / side;
    const float t1 = (g.pageY + (g.rotated ? g.width : g.height)) / side;
    const float xy[4][2] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
    const float st[4][2] = {
        {s0, t0},
        {g.rotated ? s0 : s1, g.rotated ? t1 : t0},
        {s1, t1},
        {g.rotated ? s1 : s0, g.rotated ? t0 : t1},
    };
    batch.AddQuad(font.pageTextures[g.page], xy, st);
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
    DrawBatch& batch = InterfaceBatch();
    const DrawColor color = batch.Color();
    // The shadows come first so that no shadow covers a glyph.
    if (flags & kTextShadow) {
        batch.SetColor({0, 0, 0, color.a});
        LayoutText(*font, text, style, flags, rect,
                   [&](const PlacedGlyph& placed) { AddGlyphQuad(batch, *font, placed, 1); });
        batch.SetColor(color);
    }
    return LayoutText(*font, text, style, flags, rect,
                      [&](const PlacedGlyph& placed) { AddGlyphQuad(batch, *font, placed, 0); });
}

}  // namespace tamber::ui
