#include "ui/FontFile.h"

#include "ui/Atlas.h"
#include "ui/LittleEndianReader.h"
#include "platform/fs/FileBytes.h"

namespace tamber::ui {
using namespace tamber::platform;

namespace {

constexpr size_t kMaxFontFile = size_t(64) << 20;
constexpr int32_t kMaxMetric = 4096;

bool ReadGlyph(LittleEndianReader& in, Glyph& glyph) {
    glyph.width = in.U16();
    glyph.height = in.U16();
    glyph.xOffset = in.S16();
    glyph.yOffset = in.S16();
    size_t filled = 0;
    while (filled < glyph.advance.size() && in.Ok()) {
        uint8_t value = in.U8();
        size_t count = size_t(in.U8()) + 1;
        // A run that would pass the last entry is cut there.
        for (size_t i = 0; i < count && filled < glyph.advance.size(); ++i)
            glyph.advance[filled++] = value;
    }
    const uint8_t* bitmap = in.Take(size_t(glyph.width) * glyph.height);
    if (!bitmap)
        return false;
    glyph.bitmap.assign(bitmap, bitmap + size_t(glyph.width) * glyph.height);
    return true;
}

void WriteGlyph(LittleEndianWriter& out, const Glyph& glyph) {
    out.U16(glyph.width);
    out.U16(glyph.height);
    out.U16(uint16_t(glyph.xOffset));
    out.U16(uint16_t(glyph.yOffset));
    for (size_t i = 0; i < glyph.advance.size();) {
        size_t run = 1;
        while (i + run < glyph.advance.size() && run < 256 && glyph.advance[i + run] == glyph.advance[i])
            ++run;
        out.U8(glyph.advance[i]);
        out.U8(uint8_t(run - 1));
        i += run;
    }
    out.Append(glyph.bitmap.data(), size_t(glyph.width) * glyph.height);
}

}  // namespace

std::unique_ptr<Font> ParseFont(const uint8_t* data, size_t size) {
    LittleEndianReader in(data, size);
    auto font = std::make_unique<Font>();
    font->ascent = in.S32();
    font->value1 = in.S32();
    font->lineHeight = in.S32();
    font->tabSpaces = in.S32();
    if (!in.Ok() || font->ascent < -kMaxMetric || font->ascent > kMaxMetric || font->lineHeight < 0 ||
        font->lineHeight > kMaxMetric || font->tabSpaces < 0 || font->tabSpaces > 256)
        return nullptr;
    bool anyPresent = false;
    for (FontStyle& style : font->styles) {
        for (Glyph& glyph : style.glyphs)
            if (!ReadGlyph(in, glyph))
                return nullptr;
        for (uint32_t& value : style.trailer)
            value = in.U32();
        if (!in.Ok())
            return nullptr;
        anyPresent = anyPresent || style.Present();
    }
    if (!anyPresent)
        return nullptr;
    return font;
}

std::unique_ptr<Font> ReadFontFile(const std::string& path) {
    auto bytes = ReadFileBytes(path, kMaxFontFile);
    if (!bytes)
        return nullptr;
    return ParseFont(bytes->data(), bytes->size());
}

std::vector<uint8_t> EncodeFont(const Font& font) {
    LittleEndianWriter out;
    out.U32(uint32_t(font.ascent));
    out.U32(uint32_t(font.value1));
    out.U32(uint32_t(font.lineHeight));
    out.U32(uint32_t(font.tabSpaces));
    for (const FontStyle& style : font.styles) {
        for (const Glyph& glyph : style.glyphs)
            WriteGlyph(out, glyph);
        for (uint32_t value : style.trailer)
            out.U32(value);
    }
    return std::move(out.Bytes());
}

bool PackFontGlyphs(Font& font, int pageSide) {
    std::vector<AtlasImage> images;
    std::vector<Glyph*> glyphs;
    for (FontStyle& style : font.styles)
        for (Glyph& glyph : style.glyphs)
            if (glyph.width && glyph.height) {
                images.push_back(AtlasImage{glyph.width, glyph.height, glyph.bitmap.data()});
                glyphs.push_back(&glyph);
            }
    auto atlas = BuildAtlas(images, pageSide, 1);
    if (!atlas)
        return false;
    for (size_t i = 0; i < glyphs.size(); ++i) {
        const PackPlacement& at = atlas->placements[i];
        glyphs[i]->page = uint16_t(at.page);
        glyphs[i]->pageX = uint16_t(at.x);
        glyphs[i]->pageY = uint16_t(at.y);
        glyphs[i]->rotated = at.rotated;
    }
    font.pageSide = pageSide;
    font.pagePixels = std::move(atlas->pages);
    return true;
}

}  // namespace tamber::ui
