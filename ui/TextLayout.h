#pragma once
// Text layout over a font's advance tables, without OpenGL: line breaking, inline
// style codes ("|b" bold, "|i" italic, "|o" bold italic, "|p" plain, either case;
// ignored when the font lacks the style), tabs and word wrap. DrawText lays out
// with the same code, so what is measured is what is drawn.
#include <functional>

#include "ui/Font.h"

namespace tamber::ui {

// Lays out one line from byte offset start. Returns false when this line ends the
// text (a zero byte, which is not consumed), true when more lines follow (after a
// consumed line feed or carriage return, or a wrap).
bool MeasureLine(const Font* font, const char* text, int flags, int maxWidth, int start, int style, int& width,
                 int& nextStart, int& styleOut);
// Number of laid-out lines times (line height + 2).
int MeasureTextHeight(const Font* font, const char* text, int style, int flags, int width);
// Byte offset of the character boundary nearest to x on the first line.
int CharIndexAtX(const Font* font, const char* text, int x);

// One laid-out line: the bytes [start, end) are drawn; the next line starts at next.
struct TextLine {
    int start = 0;
    int end = 0;
    int next = 0;
    int width = 0;
    int style = 0;     // style at the start of the line
    int endStyle = 0;  // style in force after the line
    bool more = false;
};
TextLine LayoutLine(const Font& font, const char* text, int flags, int maxWidth, int start, int style);

// Where one glyph is drawn: pen x and baseline in surface pixels.
struct PlacedGlyph {
    const Glyph* glyph;
    int penX;
    int baseline;
};
// Lays the text out into the rectangle as DrawText does, calling place (when given)
// for every character that has a glyph bitmap; returns the widest line's width.
int LayoutText(const Font& font, const char* text, int style, int flags, const Rect& rect,
               const std::function<void(const PlacedGlyph&)>& place);

}  // namespace tamber::ui
