#include "resgen/FaceRenderer.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>

namespace tamber::resgen {

namespace {

FT_Library Library() {
    static FT_Library library = [] {
        FT_Library made = nullptr;
        return FT_Init_FreeType(&made) == 0 ? made : nullptr;
    }();
    return library;
}

FT_Face Face(void* face) { return static_cast<FT_Face>(face); }

}  // namespace

std::unique_ptr<FaceRenderer> FaceRenderer::Open(const std::string& path, int pixelSize) {
    FT_Library library = Library();
    FT_Face face = nullptr;
    if (!library || FT_New_Face(library, path.c_str(), 0, &face) != 0)
        return nullptr;
    if (FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixelSize)) != 0) {
        FT_Done_Face(face);
        return nullptr;
    }
    std::unique_ptr<FaceRenderer> renderer(new FaceRenderer);
    renderer->face_ = face;
    return renderer;
}

FaceRenderer::~FaceRenderer() {
    if (face_)
        FT_Done_Face(Face(face_));
}

FaceRenderer::GlyphBitmap FaceRenderer::Render(uint32_t codePoint) const {
    GlyphBitmap out;
    FT_Face face = Face(face_);
    FT_UInt index = FT_Get_Char_Index(face, codePoint);
    if (index == 0 || FT_Load_Glyph(face, index, FT_LOAD_TARGET_LIGHT) != 0 ||
        FT_Render_Glyph(face->glyph, FT_RENDER_MODE_LIGHT) != 0)
        return out;
    const FT_Bitmap& bitmap = face->glyph->bitmap;
    out.found = true;
    out.width = int(bitmap.width);
    out.height = int(bitmap.rows);
    out.left = face->glyph->bitmap_left;
    out.top = face->glyph->bitmap_top;
    out.advance = int(face->glyph->advance.x);
    out.coverage.resize(size_t(out.width) * out.height);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x)
            out.coverage[size_t(y) * out.width + x] = bitmap.buffer[y * bitmap.pitch + x];
    return out;
}

int FaceRenderer::Kerning(uint32_t left, uint32_t right) const {
    FT_Face face = Face(face_);
    FT_UInt a = FT_Get_Char_Index(face, left), b = FT_Get_Char_Index(face, right);
    FT_Vector delta{0, 0};
    if (!a || !b || !FT_HAS_KERNING(face) || FT_Get_Kerning(face, a, b, FT_KERNING_UNFITTED, &delta) != 0)
        return 0;
    return int(delta.x);
}

int FaceRenderer::Ascender() const { return int(std::lround(Face(face_)->size->metrics.ascender / 64.0)); }
int FaceRenderer::Descender() const { return int(std::lround(-Face(face_)->size->metrics.descender / 64.0)); }
int FaceRenderer::LineHeight() const { return int(std::lround(Face(face_)->size->metrics.height / 64.0)); }

int FaceRenderer::DrawString(Canvas* canvas, const std::string& text, int x, int y, Color color) const {
    int pen = x * 64;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = uint8_t(text[i]);
        GlyphBitmap glyph = Render(c);
        if (canvas && glyph.found)
            canvas->BlendMask(int(std::lround(pen / 64.0)) + glyph.left, y - glyph.top, glyph.width, glyph.height,
                              glyph.coverage.data(), color);
        pen += glyph.advance + (i + 1 < text.size() ? Kerning(c, uint8_t(text[i + 1])) : 0);
    }
    return int(std::lround(pen / 64.0)) - x;
}

}  // namespace tamber::resgen
