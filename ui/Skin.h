#pragma once
// The interface skin: the pieces 0 to 80 of the texture pack (see ui/SkinPieces.h for
// what each id shows), looked up once, and the operations that draw frames, buttons,
// check boxes, scroll bars, tabs, headers and panels from them. Coordinates are the
// current window's (BeginWindowDrawing sets them up); every operation adds its quads
// to the interface batch in its current colour. A missing piece measures 0 by 0 and
// draws nothing.
#include <array>

#include "ui/Rect.h"
#include "ui/SkinPieces.h"
#include "ui/TexturePack.h"

namespace tamber::ui {

class Skin {
public:
    explicit Skin(const TexturePack* pack);

    const TexturePack* Pack() const { return pack_; }
    const Piece* GetPiece(int id) const;
    int PieceWidth(int id) const;
    int PieceHeight(int id) const;

    // Metrics.
    static constexpr int kTitleBarHeight = 22;
    static constexpr int kSmallSpacing = 2;  // inner spacing of list and menu layout
    static constexpr int kLargeSpacing = 8;
    static constexpr int kScrollArrowLength = 14;
    int ThickBorder() const { return PieceHeight(kSkinBorderEdge); }
    int ThinBorder() const { return PieceHeight(kSkinThinHorizontal); }
    int ScrollBarWidth() const { return PieceWidth(kSkinScrollArrow); }
    int CheckBoxWidth() const { return PieceWidth(kSkinCheckBox); }
    int CheckBoxHeight() const { return PieceHeight(kSkinCheckBox); }
    int MenuMarkWidth() const { return PieceWidth(kSkinMenuMark); }
    int MenuMarkHeight() const { return PieceHeight(kSkinMenuMark); }
    // A button is at least as wide as its two caps and as high as its middle piece;
    // its margins are the caps' widths across and 4 pixels down.
    int ButtonMinWidth() const { return PieceWidth(kSkinButtonLeft) + PieceWidth(kSkinButtonRight); }
    int ButtonMinHeight() const { return PieceHeight(kSkinButtonMiddle); }
    void GetButtonMargins(int& horizontal, int& vertical) const;
    int TabHeight() const { return PieceHeight(kSkinTabSide); }
    // Width of a tab around a label of the given width: both sides and 4 pixels of air each.
    int TabWidth(int labelWidth) const { return labelWidth + 2 * PieceWidth(kSkinTabSide) + 8; }
    int TabLineHeight() const { return PieceHeight(kSkinTabLine); }
    int HeaderLineHeight() const { return PieceHeight(kSkinHeaderLine); }
    // Where title box slot 0, 1, 2 (counted from the right end of the title band) lies.
    Rect TitleBoxRect(const Rect& titleBand, int slot) const;

    // Drawing.
    void DrawPieceById(int id, int x, int y, int mode) const;  // queued at natural size
    void DrawFrameBorder(const Rect& frame, int sides = 15, bool reduced = false) const;
    void DrawThinFrame(const Rect& rect) const;
    void DrawTitleBar(const Rect& band, bool active) const;
    // box: 0 close, 1 maximise, 2 roll-up.
    void DrawTitleBox(const Rect& rect, int box, bool pressed, bool active = true) const;
    void DrawButtonFace(const Rect& rect, bool pressed) const;
    void DrawButtonEdge(const Rect& rect) const;
    // state as the button's: 0 off, 1 on, 2 pressed while on, 3 pressed while off.
    void DrawCheckBox(const Rect& rect, int state) const;
    void DrawDropdownButton(const Rect& rect, bool open, bool pressed) const;
    void DrawExpandMark(const Rect& rect, bool expanded) const;
    void DrawHighlightBand(const Rect& rect) const;
    void DrawMenuMark(const Rect& rect) const;
    void DrawPanelA(const Rect& rect) const;
    void DrawPanelB(const Rect& rect) const;
    // Whether the panel a window of these style flags draws behind its client hides
    // everything under it.
    bool PanelIsOpaque(uint32_t styleFlags) const;
    void DrawDropShadow(const Rect& frame) const;
    // A whole scroll bar: arrows at both ends (kScrollArrowLength each), the track and
    // the thumb at thumbOffset from the bar's start (arrow included) with thumbLength.
    // pressedPart: 1 the first arrow, 2 the second, anything else none.
    void DrawScrollBar(const Rect& bar, bool vertical, int thumbOffset, int thumbLength, int pressedPart) const;
    void DrawScrollCorner(const Rect& rect) const;
    void DrawTab(const Rect& rect, bool selected) const;
    void DrawTabLine(const Rect& rect) const;
    void DrawTableHeader(const Rect& rect, bool pressed) const;
    void DrawHeaderDivider(const Rect& rect) const;
    void DrawSortMark(const Rect& rect, bool descending) const;

    // The interface batch's colour, and plain fills (no texture) in that colour.
    // (0, 64, 192), alpha 192 or 128; halved for the fainter band under a dimmed row.
    static void SetSelectionColor(bool focused, bool faint = false);
    static void SetNeutralColor(bool focused);    // (192, 192, 192), alpha 192 or 128
    static void SetTextColor(bool onHighlight);   // white, or black on a highlight band
    static void FillRect(const Rect& rect);
    // Four filled rectangles forming a frame inside the rectangle, or centred on its edge.
    static void DrawRectOutline(const Rect& rect, int thickness, bool centred);

private:
    void Queue(int id, int x, int y, int width, int height, int mode) const;
    void QueueCentred(int id, const Rect& rect, int mode) const;
    void QueueThreePart(int startId, int middleId, int endId, const Rect& rect, bool vertical, int mode,
                        int endMode) const;

    const TexturePack* pack_;
    std::array<const Piece*, kSkinPieceCount> pieces_{};
};

}  // namespace tamber::ui
