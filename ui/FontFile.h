#pragma once
// The font file, all numbers little-endian and read strictly in order: a 16-byte
// header (ascent, a further value, line height, tab width in spaces), then four
// styles, each 224 glyph records and a 16-byte trailer whose fourth value's bit 0
// marks the style present. A glyph record: width, height (16-bit unsigned), x and y
// offset (16-bit signed), the advance table as run-length pairs (value, count - 1)
// filling 224 entries, then width x height coverage bytes.
#include <cstdint>
#include <memory>
#include <vector>

#include "ui/Font.h"

namespace tamber::ui {

// Null when the data ends early, the header is out of range or no style is present.
std::unique_ptr<Font> ParseFont(const uint8_t* data, size_t size);
std::unique_ptr<Font> ReadFontFile(const std::string& path);
std::vector<uint8_t> EncodeFont(const Font& font);
// Packs every glyph with a bitmap into pages of the given side; false when a glyph is
// larger than a page.
bool PackFontGlyphs(Font& font, int pageSide);

}  // namespace tamber::ui
