#include "ui/TextLayout.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace tamber::ui {

namespace {

bool EndsLine(uint8_t c) { return c == 0 || c == '\n' || c == '\r'; }

// The style a code at p switches to, -1 when p holds no code. A code naming a style
// the font lacks still takes its two bytes but keeps the current style.
int StyleCode(const Font& font, const char* p, int current) {
    if (p[0] != '|')
        return -1;
    int style;
    switch (p[1]) {
    case 'b': case 'B': style = 1; break;
    case 'i': case 'I': style = 2; break;
    case 'o': case 'O': style = 3; break;
    case 'p': case 'P': style = 0; break;
    default: return -1;
    }
    return font.styles[style].Present() ? style : current;
}

// Pen advance of the character at p, with the pen at x from the line start.
int Advance(const Font& font, int style, const char* p, int x) {
    const FontStyle& s = font.styles[style];
    uint8_t c = uint8_t(p[0]);
    uint8_t next = uint8_t(p[1]);
    int column = next < 32 ? 0 : next - 32;
    if (c == '\t') {
        int tab = s.glyphs[0].advance[0] * font.tabSpaces;
        if (tab <= 0)
            return s.glyphs[0].advance[0];
        return tab - x % tab;
    }
    if (c < 32)
        c = ' ';
    return s.glyphs[c - 32].advance[column];
}

}  // namespace

TextLine LayoutLine(const Font& font, const char* text, int flags, int maxWidth, int start, int style) {
    const bool wrap = (flags & kTextWordWrap) != 0;
    TextLine line;
    line.start = start;
    line.style = style;
    int pos = start;
    int x = 0;
    // The last space or tab on the line: where the next line would start, the width
    // before it and the style there.
    int breakNext = -1, breakWidth = 0, breakEnd = 0, breakStyle = style;
    auto finish = [&](int end, int next, int width, int endStyle, bool more) {
        line.end = end;
        line.next = next;
        line.width = width;
        line.endStyle = endStyle;
        line.more = more;
        return line;
    };
    for (;;) {
        uint8_t c = uint8_t(text[pos]);
        if (c == 0)
            return finish(pos, pos, x, style, false);
        if (c == '\n' || c == '\r')
            return finish(pos, pos + 1, x, style, true);
        int code = StyleCode(font, text + pos, style);
        if (code >= 0) {
            style = code;
            pos += 2;
            continue;
        }
        int advance = Advance(font, style, text + pos, x);
        if (c == ' ' || c == '\t') {
            breakNext = pos + 1;
            breakWidth = x;
            breakEnd = pos;
            breakStyle = style;
        }
        if (wrap && x + advance > maxWidth) {
            if (breakNext >= 0)
                return finish(breakEnd, breakNext, breakWidth, breakStyle, text[breakNext] != 0);
            if (x > 0)
                return finish(pos, pos, x, style, true);
            // A first character wider than the line is taken alone.
            return finish(pos + 1, pos + 1, advance, style, text[pos + 1] != 0);
        }
        x += advance;
        ++pos;
    }
}

bool MeasureLine(const Font* font, const char* text, int flags, int maxWidth, int start, int style, int& width,
                 int& nextStart, int& styleOut) {
    if (!font || !text) {
        width = 0;
        nextStart = start;
        styleOut = style;
        return false;
    }
    TextLine line = LayoutLine(*font, text, flags, maxWidth, start, font->EffectiveStyle(style));
    width = line.width;
    nextStart = line.next;
    styleOut = line.endStyle;
    return line.more;
}

int MeasureTextHeight(const Font* font, const char* text, int style, int flags, int width) {
    if (!font || !text)
        return 0;
    int64_t lines = 0;
    TextLine line;
    line.next = 0;
    line.endStyle = font->EffectiveStyle(style);
    do {
        line = LayoutLine(*font, text, flags, width, line.next, line.endStyle);
        ++lines;
    } while (line.more);
    return int(std::min<int64_t>(lines * (font->lineHeight + 2), INT_MAX));
}

int CharIndexAtX(const Font* font, const char* text, int x) {
    if (!font || !text)
        return 0;
    int style = font->EffectiveStyle(0);
    int pen = 0;
    int pos = 0;
    while (!EndsLine(uint8_t(text[pos]))) {
        int code = StyleCode(*font, text + pos, style);
        if (code >= 0) {
            style = code;
            pos += 2;
            continue;
        }
        int advance = Advance(*font, style, text + pos, pen);
        if (pen + advance >= x)
            return 2 * x > 2 * pen + advance ? pos + 1 : pos;
        pen += advance;
        ++pos;
    }
    return pos;
}

int LayoutText(const Font& font, const char* text, int style, int flags, const Rect& rect,
               const std::function<void(const PlacedGlyph&)>& place) {
    if (flags & kTextWordWrap)
        flags |= kTextMultiLine;
    int baseline = rect.top + font.ascent;
    if (flags & kTextCenterVertically)
        baseline += std::max(0, (rect.Height() - font.lineHeight) / 2);
    int widest = 0;
    TextLine line;
    line.next = 0;
    line.endStyle = font.EffectiveStyle(style);
    do {
        line = LayoutLine(font, text, flags, rect.Width(), line.next, line.endStyle);
        widest = std::max(widest, line.width);
        if (place) {
            int pen = rect.left;
            if (flags & kTextCenter)
                pen += (rect.Width() - line.width) / 2;
            else if (flags & kTextRight)
                pen += rect.Width() - line.width;
            int lineStyle = line.style;
            int x = 0;
            for (int pos = line.start; pos < line.end;) {
                int code = StyleCode(font, text + pos, lineStyle);
                if (code >= 0) {
                    lineStyle = code;
                    pos += 2;
                    continue;
                }
                // Without several lines, drawing stops where the pen leaves the rectangle.
                if (!(flags & kTextMultiLine) && pen + x >= rect.right)
                    break;
                uint8_t c = uint8_t(text[pos]);
                const Glyph& glyph = font.GetGlyph(lineStyle, c < 32 ? ' ' : c);
                if (glyph.width && glyph.height)
                    place(PlacedGlyph{&glyph, pen + x, baseline});
                x += Advance(font, lineStyle, text + pos, x);
                ++pos;
            }
        }
        if (!(flags & kTextMultiLine) || baseline > rect.bottom)
            break;
        baseline += font.lineHeight;
    } while (line.more);
    return widest;
}

}  // namespace tamber::ui
