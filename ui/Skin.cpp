#include "ui/Skin.h"

#include <algorithm>

#include "ui/DrawBatch.h"
#include "ui/PieceQuads.h"
#include "ui/Window.h"

namespace tamber::ui {

namespace {
constexpr int kTranspose = kPieceRotate | kPieceMirrorX;  // top edge <-> left edge
}

Skin::Skin(const TexturePack* pack) : pack_(pack) {
    for (int id = 0; id < kSkinPieceCount; ++id)
        pieces_[id] = FindPiece(pack, uint32_t(id));
}

const Piece* Skin::GetPiece(int id) const { return id >= 0 && id < kSkinPieceCount ? pieces_[id] : nullptr; }

int Skin::PieceWidth(int id) const {
    int w, h;
    GetPieceSize(GetPiece(id), w, h);
    return w;
}

int Skin::PieceHeight(int id) const {
    int w, h;
    GetPieceSize(GetPiece(id), w, h);
    return h;
}

void Skin::GetButtonMargins(int& horizontal, int& vertical) const {
    horizontal = ButtonMinWidth();
    vertical = 4;
}

Rect Skin::TitleBoxRect(const Rect& titleBand, int slot) const {
    int w = PieceWidth(kSkinTitleBoxes), h = PieceHeight(kSkinTitleBoxes);
    int right = titleBand.right - 4 - slot * (w + 2);
    int top = titleBand.top + (titleBand.Height() - h) / 2;
    return Rect{right - w, top, right, top + h};
}

void Skin::Queue(int id, int x, int y, int width, int height, int mode) const {
    DrawPiece(pack_, GetPiece(id), x, y, width, height, mode);
}

void Skin::QueueCentred(int id, const Rect& rect, int mode) const {
    int w, h;
    GetPieceSizeForMode(GetPiece(id), mode, w, h);
    Queue(id, rect.left + (rect.Width() - w) / 2, rect.top + (rect.Height() - h) / 2, w, h, mode);
}

void Skin::QueueThreePart(int startId, int middleId, int endId, const Rect& rect, bool vertical, int mode,
                          int endMode) const {
    int w, h;
    GetPieceSizeForMode(GetPiece(startId), mode, w, h);
    int length = vertical ? rect.Height() : rect.Width();
    int start = std::min(vertical ? h : w, length / 2);
    GetPieceSizeForMode(GetPiece(endId), endMode, w, h);
    int end = std::min(vertical ? h : w, length - start);
    int middle = length - start - end;
    if (vertical) {
        Queue(startId, rect.left, rect.top, rect.Width(), start, mode);
        Queue(middleId, rect.left, rect.top + start, rect.Width(), middle, mode);
        Queue(endId, rect.left, rect.bottom - end, rect.Width(), end, endMode);
    } else {
        Queue(startId, rect.left, rect.top, start, rect.Height(), mode);
        Queue(middleId, rect.left + start, rect.top, middle, rect.Height(), mode);
        Queue(endId, rect.right - end, rect.top, end, rect.Height(), endMode);
    }
}

void Skin::DrawPieceById(int id, int x, int y, int mode) const {
    int w, h;
    GetPieceSizeForMode(GetPiece(id), mode, w, h);
    Queue(id, x, y, w, h, mode);
}

void Skin::DrawFrameBorder(const Rect& frame, int sides, bool reduced) const {
    const int b = ThickBorder();
    const bool left = sides & 1, top = sides & 2, right = sides & 4, bottom = sides & 8;
    // Edges stop short of a corner only where a corner piece is drawn.
    const bool corners = !reduced;
    int x0 = frame.left + (corners && left ? b : 0), x1 = frame.right - (corners && right ? b : 0);
    int y0 = frame.top + (corners && top ? b : 0), y1 = frame.bottom - (corners && bottom ? b : 0);
    if (top)
        Queue(kSkinBorderEdge, x0, frame.top, x1 - x0, b, 0);
    if (bottom)
        Queue(kSkinBorderEdge, x0, frame.bottom - b, x1 - x0, b, kPieceMirrorY);
    if (left)
        Queue(kSkinBorderEdge, frame.left, y0, b, y1 - y0, kTranspose);
    if (right)
        Queue(kSkinBorderEdge, frame.right - b, y0, b, y1 - y0, kPieceRotate);
    if (corners) {
        const int c = PieceWidth(kSkinBorderCorner);
        if (top && left)
            Queue(kSkinBorderCorner, frame.left, frame.top, c, c, 0);
        if (top && right)
            Queue(kSkinBorderCorner, frame.right - c, frame.top, c, c, kPieceMirrorX);
        if (bottom && left)
            Queue(kSkinBorderCorner, frame.left, frame.bottom - c, c, c, kPieceMirrorY);
        if (bottom && right)
            Queue(kSkinBorderCorner, frame.right - c, frame.bottom - c, c, c, kPieceMirrorX | kPieceMirrorY);
    }
}

void Skin::DrawThinFrame(const Rect& rect) const {
    const int th = ThinBorder(), tw = PieceWidth(kSkinThinVertical);
    Queue(kSkinThinHorizontal, rect.left, rect.top, rect.Width(), th, 0);
    Queue(kSkinThinHorizontal, rect.left, rect.bottom - th, rect.Width(), th, kPieceMirrorY);
    Queue(kSkinThinVertical, rect.left, rect.top + th, tw, rect.Height() - 2 * th, 0);
    Queue(kSkinThinVertical, rect.right - tw, rect.top + th, tw, rect.Height() - 2 * th, kPieceMirrorX);
}

void Skin::DrawTitleBar(const Rect& band, bool active) const {
    Queue(active ? kSkinTitleActive : kSkinTitleInactive, band.left, band.top, band.Width(), band.Height(), 0);
}

void Skin::DrawTitleBox(const Rect& rect, int box, bool pressed, bool active) const {
    if (box < 0 || box > 2)
        return;
    QueueCentred(kSkinTitleBoxes + 4 * box + (active ? 0 : 2) + (pressed ? 1 : 0), rect, 0);
}

void Skin::DrawButtonFace(const Rect& rect, bool pressed) const {
    int p = pressed ? 1 : 0;
    QueueThreePart(kSkinButtonLeft + p, kSkinButtonMiddle + p, kSkinButtonRight + p, rect, false, 0, 0);
}

void Skin::DrawButtonEdge(const Rect& rect) const {
    Queue(kSkinButtonLeft, rect.left, rect.top, PieceWidth(kSkinButtonLeft), rect.Height(), 0);
    int w = PieceWidth(kSkinButtonRight);
    Queue(kSkinButtonRight, rect.right - w, rect.top, w, rect.Height(), 0);
}

void Skin::DrawCheckBox(const Rect& rect, int state) const {
    DrawThinFrame(Rect{rect.left + 2, rect.top + 2, rect.right - 2, rect.bottom - 2});
    if (state >= 0 && state <= 3)
        QueueCentred(kSkinCheckBox + state, rect, 0);
}

void Skin::DrawDropdownButton(const Rect& rect, bool open, bool pressed) const {
    Queue(kSkinSmallButton, rect.left, rect.top, rect.Width(), rect.Height(), 0);
    QueueCentred(pressed ? kSkinDropdownArrowPressed : open ? kSkinDropdownArrowOpen : kSkinDropdownArrow, rect, 0);
}

void Skin::DrawExpandMark(const Rect& rect, bool expanded) const {
    QueueCentred(kSkinExpandMark, rect, expanded ? 0 : kTranspose);
}

void Skin::DrawHighlightBand(const Rect& rect) const {
    Queue(kSkinHighlightBand, rect.left, rect.top, rect.Width(), rect.Height(), 0);
}

void Skin::DrawMenuMark(const Rect& rect) const {
    QueueCentred(kSkinMenuMark, rect, 0);
}

void Skin::DrawPanelA(const Rect& rect) const {
    Queue(kSkinPanelA, rect.left, rect.top, rect.Width(), rect.Height(), kPieceRepeat);
}

void Skin::DrawPanelB(const Rect& rect) const {
    Queue(kSkinPanelB, rect.left, rect.top, rect.Width(), rect.Height(), kPieceRepeat);
}

bool Skin::PanelIsOpaque(uint32_t styleFlags) const {
    const int id = styleFlags & kStylePanelA ? kSkinPanelA : styleFlags & kStylePanelB ? kSkinPanelB : -1;
    const Piece* panel = GetPiece(id);
    return panel && panel->opaque;
}

void Skin::DrawDropShadow(const Rect& frame) const {
    const int s = PieceWidth(kSkinShadowCorner);
    const int inset = 4;
    int edgeTop = frame.top + inset + s, edgeLeft = frame.left + inset + s;
    Queue(kSkinShadowStart, frame.right, frame.top + inset, s, s, 0);
    Queue(kSkinShadowEdge, frame.right, edgeTop, s, frame.bottom - edgeTop, 0);
    Queue(kSkinShadowCorner, frame.right, frame.bottom, s, s, 0);
    Queue(kSkinShadowStart, frame.left + inset, frame.bottom, s, s, kTranspose);
    Queue(kSkinShadowEdge, edgeLeft, frame.bottom, frame.right - edgeLeft, s, kTranspose);
}

void Skin::DrawScrollBar(const Rect& bar, bool vertical, int thumbOffset, int thumbLength, int pressedPart) const {
    const int a = kScrollArrowLength;
    const int across = vertical ? kPieceMirrorY : kPieceRotate;  // the second arrow
    const int mode = vertical ? 0 : kTranspose;
    int first = pressedPart == 1 ? kSkinScrollArrowPressed : kSkinScrollArrow;
    int second = pressedPart == 2 ? kSkinScrollArrowPressed : kSkinScrollArrow;
    Rect track = bar;
    Rect thumb = bar;
    if (vertical) {
        Queue(first, bar.left, bar.top, bar.Width(), a, 0);
        Queue(second, bar.left, bar.bottom - a, bar.Width(), a, across);
        track.top += a;
        track.bottom -= a;
        thumb.top = bar.top + thumbOffset;
        thumb.bottom = thumb.top + thumbLength;
    } else {
        Queue(first, bar.left, bar.top, a, bar.Height(), kTranspose);
        Queue(second, bar.right - a, bar.top, a, bar.Height(), across);
        track.left += a;
        track.right -= a;
        thumb.left = bar.left + thumbOffset;
        thumb.right = thumb.left + thumbLength;
    }
    if (!track.IsEmpty())
        QueueThreePart(kSkinTrackStart, kSkinTrackMiddle, kSkinTrackEnd, track, vertical, mode, mode);
    if (thumbLength > 0 && !thumb.IsEmpty()) {
        QueueThreePart(kSkinThumbStart, kSkinThumbMiddle, kSkinThumbEnd, thumb, vertical, mode, mode);
        int gw, gh;
        GetPieceSizeForMode(GetPiece(kSkinThumbGrip), mode, gw, gh);
        if ((vertical ? gh : gw) + 6 <= thumbLength)
            QueueCentred(kSkinThumbGrip, thumb, mode);
    }
}

void Skin::DrawScrollCorner(const Rect& rect) const {
    Queue(kSkinSmallButton, rect.left, rect.top, rect.Width(), rect.Height(), 0);
}

void Skin::DrawTab(const Rect& rect, bool selected) const {
    int s = selected ? 1 : 0;
    QueueThreePart(kSkinTabSide + s, kSkinTabMiddle + s, kSkinTabSide + s, rect, false, 0, kPieceMirrorX);
}

void Skin::DrawTabLine(const Rect& rect) const {
    Queue(kSkinTabLine, rect.left, rect.top, rect.Width(), rect.Height(), 0);
}

void Skin::DrawTableHeader(const Rect& rect, bool pressed) const {
    Queue(pressed ? kSkinHeaderPressed : kSkinHeader, rect.left, rect.top, rect.Width(), rect.Height(), 0);
    int line = HeaderLineHeight();
    Queue(kSkinHeaderLine, rect.left, rect.bottom - line, rect.Width(), line, 0);
}

void Skin::DrawHeaderDivider(const Rect& rect) const {
    Queue(kSkinHeaderDivider, rect.left, rect.top, PieceWidth(kSkinHeaderDivider), rect.Height(), 0);
}

void Skin::DrawSortMark(const Rect& rect, bool descending) const {
    QueueCentred(descending ? kSkinSortDescending : kSkinSortAscending, rect, 0);
}

void Skin::SetSelectionColor(bool focused, bool faint) {
    const int alpha = focused ? 192 : 128;
    SetDrawColor(0, 64, 192, uint8_t(faint ? alpha / 2 : alpha));
}
void Skin::SetNeutralColor(bool focused) { SetDrawColor(192, 192, 192, focused ? 192 : 128); }

void Skin::SetTextColor(bool onHighlight) {
    if (onHighlight)
        SetDrawColor(0, 0, 0, 255);
    else
        SetDrawColor(255, 255, 255, 255);
}

void Skin::FillRect(const Rect& rect) {
    if (!rect.IsEmpty())
        InterfaceBatch().AddRect(rect);
}

void Skin::DrawRectOutline(const Rect& rect, int thickness, bool centred) {
    Rect outer = rect;
    if (centred) {
        int half = thickness / 2;
        outer = Rect{rect.left - half, rect.top - half, rect.right + thickness - half, rect.bottom + thickness - half};
    }
    const int t = std::min({thickness, outer.Width() / 2 + outer.Width() % 2, outer.Height() / 2 + outer.Height() % 2});
    if (t <= 0)
        return;
    FillRect(Rect{outer.left, outer.top, outer.right, outer.top + t});
    FillRect(Rect{outer.left, outer.bottom - t, outer.right, outer.bottom});
    FillRect(Rect{outer.left, outer.top + t, outer.left + t, outer.bottom - t});
    FillRect(Rect{outer.right - t, outer.top + t, outer.right, outer.bottom - t});
}

}  // namespace tamber::ui
