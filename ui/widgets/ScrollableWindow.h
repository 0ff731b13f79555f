#pragma once
// A window whose content is larger than its client area: a scroll position per
// axis, and scroll bars drawn outside the client area (on the frame, right and
// bottom). Subclasses state their sizes in their own content units (pixels, rows
// or cells) with SetScrollRange and react to OnVerticalScroll / OnHorizontalScroll.
#include <cstdint>

#include "ui/Window.h"

namespace tamber::ui::widgets {

class ScrollableWindow : public Window {
public:
    enum ScrollAxis : int { kVertical = 0, kHorizontal = 1 };

    // Parts of the scroll-bar area, as reported by ScrollPartAt.
    enum ScrollPart : int {
        kPartNone = 0,
        kPartUpArrow = 2,
        kPartDownArrow = 3,
        kPartPageUp = 4,
        kPartPageDown = 5,
        kPartVerticalThumb = 6,
        kPartLeftArrow = 7,
        kPartRightArrow = 8,
        kPartPageLeft = 9,
        kPartPageRight = 10,
        kPartCorner = 11,
        kPartHorizontalThumb = 12,  // the horizontal thumb has no code of its own in the bar's hit codes
    };

    static constexpr int kArrowLength = 14;
    static constexpr double kArrowRepeatSeconds = 1.0 / 30.0;
    static constexpr double kPageRepeatSeconds = 0.2;

    ScrollableWindow(uint32_t flags, Window* parent);

    const char* GetClassName() const override { return "ScrollableWindow"; }

    // Called after the position of an axis changed (by ScrollTo and everything built on it).
    virtual void OnHorizontalScroll(int32_t newPosition) { (void)newPosition; }
    virtual void OnVerticalScroll(int32_t newPosition, int32_t oldPosition) { (void)newPosition, (void)oldPosition; }
    // A press on the corner where both bars meet.
    virtual void OnCornerClick() {}

    // Stores the sizes of an axis; a non-zero visible size reserves room for its bar.
    // The position is clamped to the new range (calling the scroll operation when it moves).
    void SetScrollRange(ScrollAxis axis, int32_t content, int32_t visible);
    // Clamps to 0 .. content - visible (0 when the content fits) and repaints.
    void ScrollTo(ScrollAxis axis, int32_t position);
    void ScrollBy(ScrollAxis axis, int32_t delta) { ScrollTo(axis, Position(axis) + delta); }
    void SetLineStep(int32_t step) { lineStep_ = step > 0 ? step : 1; }

    int32_t Position(ScrollAxis axis) const { return axes_[axis].position; }
    int32_t ContentSize(ScrollAxis axis) const { return axes_[axis].content; }
    int32_t VisibleSize(ScrollAxis axis) const { return axes_[axis].visible; }
    int32_t LineStep() const { return lineStep_; }
    bool BarShown(ScrollAxis axis) const { return axes_[axis].shown; }
    // Bar, thumb and corner rectangles in frame-local pixels (empty when absent).
    Rect BarRect(ScrollAxis axis) const;
    Rect ThumbRect(ScrollAxis axis) const { return axes_[axis].thumb; }
    Rect CornerRect() const;
    // The scroll-bar part under a point in surface pixels (kPartNone outside the bars).
    int ScrollPartAt(Point point) const;
    // The part the mouse pressed and still holds (kPartNone otherwise).
    int PressedPart() const { return pressedPart_; }

    // Subclasses that override these call the ScrollableWindow version.
    void FrameToClient(const Rect& frame, Rect& out) override;
    void OnResize() override;
    void Idle() override;
    void DrawFrame() override;
    void OnFrameMouseButton(Event& event) override;
    void OnWheel(Event& event) override;
    void OnFrameWheel(Event& event) override;

private:
    struct Axis {
        int32_t content = 0;
        int32_t visible = 0;
        int32_t position = 0;
        bool shown = false;
        Rect thumb;  // frame-local
        int32_t thumbOffset = 0;  // from the bar's start, arrow included
        int32_t thumbLength = 0;
    };

    void Layout();
    int32_t MaxPosition(ScrollAxis axis) const;
    // One step of the pressed part (arrow: a line, track: a page).
    void StepPart(int part);
    void ScrollTrack(Point start, Point current, int phase);
    void ScrollByWheel(const Event& event);

    Axis axes_[2];
    int32_t lineStep_ = 1;
    double lastRepeatTime_ = 0;
    int pressedPart_ = kPartNone;
    Point trackPoint_;               // the mouse while a part is held
    int32_t positionAtPress_ = 0;    // thumb dragging
};

}  // namespace tamber::ui::widgets
