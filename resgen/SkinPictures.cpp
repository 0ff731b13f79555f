#include "resgen/SkinPictures.h"

#include <cmath>
#include <cstdint>

#include "resgen/Canvas.h"
#include "ui/SkinPieces.h"

namespace tamber::resgen {
using namespace tamber::ui;

namespace {

// The palette.
const Color kOutline = Rgb(0x0D0F12);
const Color kEdgeLight = Rgb(0x5E6675);
const Color kFrameMid = Rgb(0x404754);
const Color kFrameDark = Rgb(0x313741);
const Color kLine = Rgb(0x5B6371);
const Color kMark = Rgb(0xC8D0DC);
const Color kAccent = Rgb(0x7FB2FF);
const Color kWhite = Rgb(0xFFFFFF);

// Deterministic per-pixel noise in [-1, 1] that tiles with period 64.
float Noise(int x, int y) {
    uint32_t h = uint32_t(x & 63) * 374761393u + uint32_t(y & 63) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return float((h ^ (h >> 16)) & 1023) / 511.5f - 1;
}

PieceImage PanelA() {
    // The desktop: deep slate with a faint diagonal lattice.
    Canvas c(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            bool lattice = (x + y) % 16 == 0 || (x - y + 64) % 16 == 0;
            float v = 0.105f + (lattice ? 0.018f : 0) + Noise(x, y) * 0.006f;
            c.Set(x, y, Color{v * 0.92f, v, v * 1.18f, 1});
        }
    return c.ToPiece(kSkinPanelA);
}

PieceImage PanelB() {
    // Document windows: an even dark grey with a trace of grain.
    Canvas c(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            float v = 0.165f + Noise(x * 7, y * 3) * 0.005f;
            c.Set(x, y, Color{v * 0.96f, v, v * 1.08f, 1});
        }
    return c.ToPiece(kSkinPanelB);
}

// Rows of the thick border from the outside in.
const Color kBorderRows[5] = {kOutline, kEdgeLight, kFrameMid, kFrameDark, Rgb(0x1A1D22)};

void BorderPieces(std::vector<PieceImage>& out) {
    Canvas edge(8, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 8; ++x)
            edge.Set(x, y, kBorderRows[y]);
    out.push_back(edge.ToPiece(kSkinBorderEdge));
    // The corner joins the top edge's rows and the left edge's columns on the diagonal.
    Canvas corner(5, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x)
            corner.Set(x, y, kBorderRows[std::min(x, y)]);
    corner.Set(0, 0, Color{0, 0, 0, 0});
    out.push_back(corner.ToPiece(kSkinBorderCorner));

    Canvas thinH(8, 1), thinV(1, 8);
    thinH.FillRect(0, 0, 8, 1, Solid(kLine));
    thinV.FillRect(0, 0, 1, 8, Solid(kLine));
    out.push_back(thinH.ToPiece(kSkinThinHorizontal));
    out.push_back(thinV.ToPiece(kSkinThinVertical));
}

// A whole button face 18 x 22, cut into left cap (5), middle (8) and right cap (5).
void ButtonPieces(std::vector<PieceImage>& out) {
    for (int pressed = 0; pressed < 2; ++pressed) {
        Canvas c(18, 22);
        Paint fill = pressed ? VerticalGradient(1, 21, Rgb(0x262A31), Rgb(0x343A44))
                             : VerticalGradient(1, 21, Rgb(0x566070), Rgb(0x3A414C));
        c.FramedRoundRect(0, 0, 18, 22, 4, 1, fill, kOutline);
        if (!pressed)
            c.FillRect(3, 1, 15, 2, Solid(Color{1, 1, 1, 0.16f}));
        else
            c.FillRect(3, 1, 15, 2, Solid(Color{0, 0, 0, 0.25f}));
        out.push_back(c.Slice(kSkinButtonLeft + pressed, 0, 0, 5, 22));
        out.push_back(c.Slice(kSkinButtonMiddle + pressed, 5, 0, 13, 22));
        out.push_back(c.Slice(kSkinButtonRight + pressed, 13, 0, 18, 22));
    }
    // The small square face of drop-down buttons and the scroll-bar corner.
    Canvas small(14, 14);
    small.FramedRoundRect(0, 0, 14, 14, 2.5f, 1, VerticalGradient(1, 13, Rgb(0x4E5766), Rgb(0x39404A)), kOutline);
    out.push_back(small.ToPiece(kSkinSmallButton));
}

void TitlePieces(std::vector<PieceImage>& out) {
    for (int active = 0; active < 2; ++active) {
        Canvas c(4, 22);
        c.FillRect(0, 0, 4, 22,
                   active ? VerticalGradient(0, 22, Rgb(0x3468C8), Rgb(0x1E4189))
                          : VerticalGradient(0, 22, Rgb(0x454A54), Rgb(0x30343B)));
        c.FillRect(0, 0, 4, 1, Solid(Color{1, 1, 1, active ? 0.30f : 0.14f}));
        c.FillRect(0, 21, 4, 22, Solid(kOutline));
        out.push_back(c.ToPiece(active ? kSkinTitleActive : kSkinTitleInactive));
    }
    // Title boxes: close, maximise, roll-up; active up, active pressed, inactive up, inactive pressed.
    for (int box = 0; box < 3; ++box)
        for (int state = 0; state < 4; ++state) {
            bool pressed = state & 1, active = state < 2;
            Canvas c(16, 16);
            Color face = pressed ? Color{0, 0, 0, 0.35f} : Color{1, 1, 1, active ? 0.13f : 0.07f};
            Color rim = Color{1, 1, 1, active ? 0.30f : 0.16f};
            c.FramedRoundRect(0, 0, 16, 16, 3, 1, Solid(face), rim);
            Color ink = active ? kWhite : Rgb(0xA3ABB7);
            float d = pressed ? 0.5f : 0;
            if (box == 0) {
                c.Line({5 + d, 5 + d}, {11 + d, 11 + d}, 1.8f, ink);
                c.Line({11 + d, 5 + d}, {5 + d, 11 + d}, 1.8f, ink);
            } else if (box == 1) {
                c.FillRect(4 + d, 4 + d, 12 + d, 12 + d, Solid(ink));
                c.FillRect(5 + d, 6.5f + d, 11 + d, 11 + d, Solid(face.a < 0.2f ? Rgb(active ? 0x3060B8 : 0x3E434C) : Rgb(0x1A1D22)));
            } else {
                c.Line({4.5f + d, 9.5f + d}, {8 + d, 6 + d}, 1.8f, ink);
                c.Line({8 + d, 6 + d}, {11.5f + d, 9.5f + d}, 1.8f, ink);
            }
            out.push_back(c.ToPiece(kSkinTitleBoxes + 4 * box + state));
        }
}

void CheckBoxPieces(std::vector<PieceImage>& out) {
    // Drawn over a thin frame 2 pixels inside the 16 x 16 box: the inside is 3..13.
    for (int state = 0; state < 4; ++state) {
        bool on = state == 1 || state == 2, pressed = state >= 2;
        Canvas c(16, 16);
        c.FillRect(3, 3, 13, 13, pressed ? Solid(Rgb(0x2B4166)) : VerticalGradient(3, 13, Rgb(0x121418), Rgb(0x1E2228)));
        if (on) {
            Color ink = pressed ? kAccent : Rgb(0xEAF1FC);
            c.Line({4.5f, 8.2f}, {7, 10.8f}, 2.2f, ink);
            c.Line({7, 10.8f}, {12.5f, 4.2f}, 2.2f, ink);
        }
        out.push_back(c.ToPiece(kSkinCheckBox + state));
    }
}

void HeaderPieces(std::vector<PieceImage>& out) {
    for (int pressed = 0; pressed < 2; ++pressed) {
        Canvas c(4, 18);
        c.FillRect(0, 0, 4, 18,
                   pressed ? VerticalGradient(0, 18, Rgb(0x2A2F37), Rgb(0x323842))
                           : VerticalGradient(0, 18, Rgb(0x474F5C), Rgb(0x353B45)));
        c.FillRect(0, 0, 4, 1, Solid(Color{1, 1, 1, pressed ? 0.04f : 0.12f}));
        out.push_back(c.ToPiece(pressed ? kSkinHeaderPressed : kSkinHeader));
    }
    Canvas divider(2, 18);
    divider.FillRect(0, 3, 1, 15, Solid(Rgb(0x1A1D22)));
    divider.FillRect(1, 3, 2, 15, Solid(Rgb(0x5A626F)));
    out.push_back(divider.ToPiece(kSkinHeaderDivider));
    Canvas line(4, 1);
    line.FillRect(0, 0, 4, 1, Solid(kOutline));
    out.push_back(line.ToPiece(kSkinHeaderLine));
    Canvas up(7, 4), down(7, 4);
    up.FillPolygon({{0, 4}, {7, 4}, {3.5f, 0}}, Solid(kMark));
    down.FillPolygon({{0, 0}, {7, 0}, {3.5f, 4}}, Solid(kMark));
    out.push_back(up.ToPiece(kSkinSortAscending));
    out.push_back(down.ToPiece(kSkinSortDescending));
}

void MarkPieces(std::vector<PieceImage>& out) {
    // Light marks with a dark rim read on dark rows and on the light highlight band.
    const Color rim{0.04f, 0.05f, 0.06f, 0.85f};
    Canvas expand(9, 9);
    expand.FillPolygon({{-0.5f, 1.3f}, {9.5f, 1.3f}, {4.5f, 8}}, Solid(rim));
    expand.FillPolygon({{1, 2.3f}, {8, 2.3f}, {4.5f, 6.4f}}, Solid(kMark));
    out.push_back(expand.ToPiece(kSkinExpandMark));

    Canvas band(4, 16);
    band.FillRect(0, 0, 4, 16, VerticalGradient(0, 16, Rgb(0xA9CCF7), Rgb(0x80AEEA)));
    band.FillRect(0, 0, 4, 1, Solid(Rgb(0xD2E4FB)));
    band.FillRect(0, 15, 4, 16, Solid(Rgb(0x5F8FD0)));
    out.push_back(band.ToPiece(kSkinHighlightBand));

    Canvas menu(5, 9);
    menu.FillPolygon({{0, -0.5f}, {5.5f, 4.5f}, {0, 9.5f}}, Solid(rim));
    menu.FillPolygon({{0.5f, 1.3f}, {4.2f, 4.5f}, {0.5f, 7.7f}}, Solid(kMark));
    out.push_back(menu.ToPiece(kSkinMenuMark));

    const Color arrows[3] = {kMark, kMark, kAccent};
    for (int i = 0; i < 3; ++i) {
        Canvas arrow(9, 5);
        if (i == 1)
            arrow.FillPolygon({{0.5f, 4.5f}, {8.5f, 4.5f}, {4.5f, 0.5f}}, Solid(arrows[i]));
        else
            arrow.FillPolygon({{0.5f, 0.5f}, {8.5f, 0.5f}, {4.5f, 4.5f}}, Solid(arrows[i]));
        out.push_back(arrow.ToPiece(kSkinDropdownArrow + i));
    }
}

void ShadowPieces(std::vector<PieceImage>& out) {
    const int s = 12;
    auto falloff = [](float d) {
        float t = std::max(0.0f, 1 - d / 12);
        return 0.6f * t * t;
    };
    Canvas corner(s, s), edge(s, 1), start(s, s);
    for (int y = 0; y < s; ++y)
        for (int x = 0; x < s; ++x) {
            corner.Set(x, y, Color{0, 0, 0, falloff(std::hypot(x + 0.5f, y + 0.5f))});
            float fade = (y + 0.5f) / s;
            start.Set(x, y, Color{0, 0, 0, falloff(x + 0.5f) * fade * fade * (3 - 2 * fade)});
        }
    for (int x = 0; x < s; ++x)
        edge.Set(x, 0, Color{0, 0, 0, falloff(x + 0.5f)});
    out.push_back(corner.ToPiece(kSkinShadowCorner));
    out.push_back(edge.ToPiece(kSkinShadowEdge));
    out.push_back(start.ToPiece(kSkinShadowStart));
}

void ScrollPieces(std::vector<PieceImage>& out) {
    for (int pressed = 0; pressed < 2; ++pressed) {
        Canvas c(14, 14);
        c.FramedRoundRect(0, 0, 14, 14, 2.5f, 1,
                          pressed ? VerticalGradient(1, 13, Rgb(0x272B32), Rgb(0x323842))
                                  : VerticalGradient(1, 13, Rgb(0x4E5766), Rgb(0x39404A)),
                          kOutline);
        float d = pressed ? 0.5f : 0;
        c.FillPolygon({{3.5f + d, 9 + d}, {10.5f + d, 9 + d}, {7 + d, 4.5f + d}}, Solid(pressed ? kAccent : kMark));
        out.push_back(c.ToPiece(pressed ? kSkinScrollArrowPressed : kSkinScrollArrow));
    }
    // The track, 14 x 10, cut into a top end (3), a middle (4) and a bottom end (3).
    Canvas track(14, 10);
    track.FillRect(0, 0, 14, 10, Solid(Rgb(0x15181C)));
    track.FillRoundRect(2, 1, 12, 9, 3, Solid(Rgb(0x1F2328)));
    out.push_back(track.Slice(kSkinTrackStart, 0, 0, 14, 3));
    out.push_back(track.Slice(kSkinTrackMiddle, 0, 3, 14, 7));
    out.push_back(track.Slice(kSkinTrackEnd, 0, 7, 14, 10));
    // The thumb, 14 x 12: ends of 4 rows and a middle of 4.
    Canvas thumb(14, 12);
    thumb.FramedRoundRect(1.5f, 0, 12.5f, 12, 4, 1,
                          [](float x, float) { return Mix(Rgb(0x6B7482), Rgb(0x4F5764), (x - 2) / 10); },
                          Rgb(0x23272D));
    out.push_back(thumb.Slice(kSkinThumbStart, 0, 0, 14, 4));
    out.push_back(thumb.Slice(kSkinThumbMiddle, 0, 4, 14, 8));
    out.push_back(thumb.Slice(kSkinThumbEnd, 0, 8, 14, 12));
    Canvas grip(8, 7);
    for (int row = 0; row < 3; ++row) {
        grip.FillRect(0, row * 3, 8, row * 3 + 1, Solid(Rgb(0x9AA3B0)));
        grip.FillRect(0, row * 3 + 1, 8, row * 3 + 2, Solid(Color{0, 0, 0, 0.35f}));
    }
    out.push_back(grip.ToPiece(kSkinThumbGrip));
}

void TabPieces(std::vector<PieceImage>& out) {
    // A whole tab, 16 x 20, rounded at the top: sides of 6 columns and a middle of 4.
    for (int selected = 0; selected < 2; ++selected) {
        Canvas c(16, 20);
        Paint fill = selected ? VerticalGradient(1, 20, Rgb(0x56606F), Rgb(0x404754))
                              : VerticalGradient(1, 20, Rgb(0x363B44), Rgb(0x2B2F36));
        c.FramedRoundRect(0, 0, 16, 24, 5, 1, fill, kOutline);
        if (selected)
            c.FillRect(3, 1, 13, 3, Solid(Rgb(0x4C86E0)));
        out.push_back(c.Slice(kSkinTabSide + selected, 0, 0, 6, 20));
        out.push_back(c.Slice(kSkinTabMiddle + selected, 6, 0, 10, 20));
    }
    Canvas line(4, 2);
    line.FillRect(0, 0, 4, 1, Solid(Rgb(0x404754)));
    line.FillRect(0, 1, 4, 2, Solid(kOutline));
    out.push_back(line.ToPiece(kSkinTabLine));
}

// Cursors: a white or coloured body with a black outline, drawn twice (outline wider).
PieceImage Pencil() {
    Canvas c(32, 32);
    CanvasPoint tip{2, 29}, wood{8, 23}, end{27, 4};
    c.Line(wood, end, 9, Rgb(0x000000));
    c.FillPolygon({{1, 30.5f}, {5, 18}, {13.5f, 26.5f}}, Solid(Rgb(0x000000)));
    c.Line(wood, end, 6.5f, Rgb(0xF2C14E));
    c.Line({24, 7}, end, 6.5f, Rgb(0xE58A8A));
    c.FillPolygon({{3, 28.5f}, {6.2f, 19.8f}, {11.7f, 25.3f}}, Solid(Rgb(0xF3DDB3)));
    c.FillPolygon({{2, 30}, {3.6f, 25.4f}, {6.6f, 28.4f}}, Solid(Rgb(0x303030)));
    PieceImage p = c.ToPiece(kCursorPencil);
    p.hotX = uint16_t(tip.x);
    p.hotY = uint16_t(tip.y);
    return p;
}

PieceImage Eyedropper() {
    Canvas c(32, 32);
    c.Line({3, 28}, {19, 12}, 6, Rgb(0x000000));
    c.FillCircle(24, 7, 6.5f, Solid(Rgb(0x000000)));
    c.Line({16, 9}, {22, 15}, 5, Rgb(0x000000));
    c.Line({3, 28}, {19, 12}, 3.5f, Rgb(0xFFFFFF));
    c.Line({16, 9}, {22, 15}, 2.8f, Rgb(0xB8C4D4));
    c.FillCircle(24, 7, 4.8f, Solid(Rgb(0x5C6B80)));
    c.Line({4, 27}, {8, 23}, 2.5f, Rgb(0x3F8CFF));
    PieceImage p = c.ToPiece(kCursorEyedropper);
    p.hotX = 2;
    p.hotY = 29;
    return p;
}

PieceImage MoveCross() {
    Canvas c(32, 32);
    auto arrows = [&](float grow, Color color) {
        c.FillRect(15 - grow, 6, 17 + grow, 26, Solid(color));
        c.FillRect(6, 15 - grow, 26, 17 + grow, Solid(color));
        float g = grow * 1.6f;
        c.FillPolygon({{16, 1 - g}, {21 + g, 7 + grow}, {11 - g, 7 + grow}}, Solid(color));
        c.FillPolygon({{16, 31 + g}, {21 + g, 25 - grow}, {11 - g, 25 - grow}}, Solid(color));
        c.FillPolygon({{1 - g, 16}, {7 + grow, 11 - g}, {7 + grow, 21 + g}}, Solid(color));
        c.FillPolygon({{31 + g, 16}, {25 - grow, 11 - g}, {25 - grow, 21 + g}}, Solid(color));
    };
    arrows(1.2f, Rgb(0x000000));
    arrows(0, Rgb(0xFFFFFF));
    PieceImage p = c.ToPiece(kCursorMove);
    p.hotX = 16;
    p.hotY = 16;
    return p;
}

PieceImage Bucket() {
    Canvas c(32, 32);
    // A tilted pail pouring to the right; the hot spot is the end of the drip.
    std::vector<CanvasPoint> pail = {{4, 13}, {15, 3}, {25, 13}, {14, 24}};
    std::vector<CanvasPoint> grown = {{1.5f, 13}, {15, 0.5f}, {27.5f, 13}, {14, 26.5f}};
    c.FillPolygon(grown, Solid(Rgb(0x000000)));
    c.FillPolygon(pail, Solid(Rgb(0xE6EBF2)));
    c.Line({8, 9.5f}, {15, 3}, 1.4f, Rgb(0x000000));
    c.Line({24, 13}, {29, 18}, 5, Rgb(0x000000));
    c.Line({29, 18}, {29, 27}, 5, Rgb(0x000000));
    c.Line({24, 13}, {29, 18}, 2.8f, Rgb(0x3F8CFF));
    c.Line({29, 18}, {29, 27}, 2.8f, Rgb(0x3F8CFF));
    PieceImage p = c.ToPiece(kCursorBucket);
    p.hotX = 29;
    p.hotY = 29;
    return p;
}

}  // namespace

std::vector<PieceImage> DrawSkinPieces() {
    std::vector<PieceImage> pieces;
    pieces.push_back(PanelA());
    pieces.push_back(PanelB());
    BorderPieces(pieces);
    ButtonPieces(pieces);
    TitlePieces(pieces);
    CheckBoxPieces(pieces);
    HeaderPieces(pieces);
    MarkPieces(pieces);
    ShadowPieces(pieces);
    ScrollPieces(pieces);
    TabPieces(pieces);
    return pieces;
}

std::vector<PieceImage> DrawCursorPictures() { return {Pencil(), Eyedropper(), MoveCross(), Bucket()}; }

}  // namespace tamber::resgen
