#include "ui/widgets/ScrollableWindow.h"

#include <algorithm>

#include "platform/Os.h"
#include "ui/Skin.h"
#include "ui/WindowSystem.h"
#include "ui/RectOps.h"

namespace tamber::ui::widgets {
using namespace tamber::platform;

namespace {

// The bar's breadth; without a skin (logic-only runs) the arrow length stands in.
int BarWidth() {
    Skin* skin = WS().GetSkin();
    return skin ? skin->ScrollBarWidth() : ScrollableWindow::kArrowLength;
}

bool IsArrow(int part) {
    return part == ScrollableWindow::kPartUpArrow || part == ScrollableWindow::kPartDownArrow ||
           part == ScrollableWindow::kPartLeftArrow || part == ScrollableWindow::kPartRightArrow;
}

bool IsPage(int part) {
    return part == ScrollableWindow::kPartPageUp || part == ScrollableWindow::kPartPageDown ||
           part == ScrollableWindow::kPartPageLeft || part == ScrollableWindow::kPartPageRight;
}

bool IsVerticalPart(int part) { return part >= ScrollableWindow::kPartUpArrow && part <= ScrollableWindow::kPartVerticalThumb; }

}  // namespace

ScrollableWindow::ScrollableWindow(uint32_t flags, Window* parent) : Window(flags, parent) {}

void ScrollableWindow::FrameToClient(const Rect& frame, Rect& out) {
    Window::FrameToClient(frame, out);
    int width = BarWidth();
    if (axes_[kVertical].visible > 0) out.right = std::max(out.left, out.right - width);
    if (axes_[kHorizontal].visible > 0) out.bottom = std::max(out.top, out.bottom - width);
}

void ScrollableWindow::SetScrollRange(ScrollAxis axis, int32_t content, int32_t visible) {
    Axis& a = axes_[axis];
    content = std::max(content, 0);
    visible = std::max(visible, 0);
    // Subclasses restate their ranges freely (even while drawing): no change, no repaint.
    if (content == a.content && visible == a.visible) return;
    bool reserveChanged = (a.visible > 0) != (visible > 0);
    a.content = content;
    a.visible = visible;
    // Reserving or releasing the bar's room changes the client area.
    if (reserveChanged) SetFrame(RelativeFrame());
    Layout();
    ScrollTo(axis, a.position);
    Invalidate();
}

int32_t ScrollableWindow::MaxPosition(ScrollAxis axis) const {
    const Axis& a = axes_[axis];
    return a.content > a.visible ? a.content - a.visible : 0;
}

void ScrollableWindow::ScrollTo(ScrollAxis axis, int32_t position) {
    Axis& a = axes_[axis];
    position = std::clamp(position, 0, MaxPosition(axis));
    if (position == a.position) return;
    int32_t old = a.position;
    a.position = position;
    if (axis == kVertical) OnVerticalScroll(position, old);
    else OnHorizontalScroll(position);
    Layout();
    Invalidate();
}

Rect ScrollableWindow::BarRect(ScrollAxis axis) const {
    const Rect& f = Frame();
    Rect c = RectLocal(Client(), f);
    int width = BarWidth();
    if (axis == kVertical) {
        if (axes_[kVertical].visible <= 0) return {};
        return {c.right, c.top, c.right + width, c.bottom};
    }
    if (axes_[kHorizontal].visible <= 0) return {};
    return {c.left, c.bottom, c.right, c.bottom + width};
}

Rect ScrollableWindow::CornerRect() const {
    if (axes_[kVertical].visible <= 0 || axes_[kHorizontal].visible <= 0) return {};
    Rect c = RectLocal(Client(), Frame());
    int width = BarWidth();
    return {c.right, c.bottom, c.right + width, c.bottom + width};
}

void ScrollableWindow::Layout() {
    for (ScrollAxis axis : {kVertical, kHorizontal}) {
        Axis& a = axes_[axis];
        Rect bar = BarRect(axis);
        int length = axis == kVertical ? bar.Height() : bar.Width();
        int track = length - 2 * kArrowLength;
        a.shown = a.visible > 0 && track >= 15 && a.content > a.visible;
        if (!a.shown) {
            a.thumb = {};
            a.thumbOffset = a.thumbLength = 0;
            continue;
        }
        int thumb = int(int64_t(track) * a.visible / a.content);
        if (thumb < 15) thumb = 14;
        int range = a.content - a.visible;
        int offset = kArrowLength + int(int64_t(track - thumb) * a.position / range);
        a.thumbOffset = offset;
        a.thumbLength = thumb;
        a.thumb = axis == kVertical ? Rect{bar.left, bar.top + offset, bar.right, bar.top + offset + thumb}
                                    : Rect{bar.left + offset, bar.top, bar.left + offset + thumb, bar.bottom};
    }
}

void ScrollableWindow::OnResize() { Layout(); }

int ScrollableWindow::ScrollPartAt(Point point) const {
    Point p{point.x - Frame().left, point.y - Frame().top};
    if (RectContains(CornerRect(), p)) return kPartCorner;
    for (ScrollAxis axis : {kVertical, kHorizontal}) {
        const Axis& a = axes_[axis];
        Rect bar = BarRect(axis);
        if (!a.shown || !RectContains(bar, p)) continue;
        bool vertical = axis == kVertical;
        int along = vertical ? p.y - bar.top : p.x - bar.left;
        int length = vertical ? bar.Height() : bar.Width();
        int base = vertical ? kPartUpArrow : kPartLeftArrow;
        if (along < kArrowLength) return base;
        if (along >= length - kArrowLength) return base + 1;
        if (along < a.thumbOffset) return base + 2;
        if (along >= a.thumbOffset + a.thumbLength) return base + 3;
        return vertical ? kPartVerticalThumb : kPartHorizontalThumb;
    }
    return kPartNone;
}

void ScrollableWindow::StepPart(int part) {
    ScrollAxis axis = IsVerticalPart(part) ? kVertical : kHorizontal;
    int32_t page = std::max(axes_[axis].visible, 1);
    switch (part) {
    case kPartUpArrow:
    case kPartLeftArrow: ScrollBy(axis, -lineStep_); break;
    case kPartDownArrow:
    case kPartRightArrow: ScrollBy(axis, lineStep_); break;
    case kPartPageUp:
    case kPartPageLeft: ScrollBy(axis, -page); break;
    case kPartPageDown:
    case kPartPageRight: ScrollBy(axis, page); break;
    default: break;
    }
}

void ScrollableWindow::OnFrameMouseButton(Event& event) {
    int part = event.Button() == 0 && event.ButtonPressed() && uint32_t(event.HitCode()) == kHitFrame
                   ? ScrollPartAt(event.Position())
                   : kPartNone;
    if (part == kPartNone) {
        Window::OnFrameMouseButton(event);
        return;
    }
    if (part == kPartCorner) {
        OnCornerClick();
        return;
    }
    pressedPart_ = part;
    trackPoint_ = event.Position();
    positionAtPress_ = Position(IsVerticalPart(part) || part == kPartVerticalThumb ? kVertical : kHorizontal);
    if (!WS().BeginMouseTracking(this, [](Window* w, Point start, Point current, int phase) {
            static_cast<ScrollableWindow*>(w)->ScrollTrack(start, current, phase);
        })) {
        pressedPart_ = kPartNone;
    }
}

void ScrollableWindow::ScrollTrack(Point start, Point current, int phase) {
    int part = pressedPart_;
    if (part == kPartNone) return;
    trackPoint_ = current;
    if (phase == 0) {
        StepPart(part);
        lastRepeatTime_ = OsGetTime();
    } else if (part == kPartVerticalThumb || part == kPartHorizontalThumb) {
        // The thumb follows the mouse in proportion to the free length of the track.
        ScrollAxis axis = part == kPartVerticalThumb ? kVertical : kHorizontal;
        const Axis& a = axes_[axis];
        Rect bar = BarRect(axis);
        int free = (axis == kVertical ? bar.Height() : bar.Width()) - 2 * kArrowLength - a.thumbLength;
        int moved = axis == kVertical ? current.y - start.y : current.x - start.x;
        if (free > 0) ScrollTo(axis, positionAtPress_ + int32_t(int64_t(moved) * MaxPosition(axis) / free));
    }
    if (phase == 2) pressedPart_ = kPartNone;
    Invalidate();
}

void ScrollableWindow::Idle() {
    int part = pressedPart_;
    if (!IsArrow(part) && !IsPage(part)) return;
    if (WS().TrackingWindow() != this || ScrollPartAt(trackPoint_) != part) return;
    double now = OsGetTime();
    double interval = IsArrow(part) ? kArrowRepeatSeconds : kPageRepeatSeconds;
    if (now - lastRepeatTime_ < interval) return;
    lastRepeatTime_ = now;
    StepPart(part);
}

void ScrollableWindow::ScrollByWheel(const Event& event) {
    bool horizontal = (event.word[3] & kHorizontalWheelBit) != 0;
    int delta = WS().WheelDelta(horizontal);
    // The wheel position grows as the wheel turns away from the user, which shows
    // what lies before: towards position 0.
    ScrollBy(horizontal ? kHorizontal : kVertical, -delta);
}

void ScrollableWindow::OnWheel(Event& event) { ScrollByWheel(event); }

void ScrollableWindow::OnFrameWheel(Event& event) { ScrollByWheel(event); }

void ScrollableWindow::DrawFrame() {
    Window::DrawFrame();
    Skin* skin = WS().GetSkin();
    if (!skin) return;
    // An arrow looks pressed while the mouse holds it.
    int held = ScrollPartAt(trackPoint_) == pressedPart_ ? pressedPart_ : kPartNone;
    for (ScrollAxis axis : {kVertical, kHorizontal}) {
        Rect bar = BarRect(axis);
        if (bar.IsEmpty()) continue;
        const Axis& a = axes_[axis];
        int base = axis == kVertical ? kPartUpArrow : kPartLeftArrow;
        int pressed = held == base ? 1 : held == base + 1 ? 2 : 0;
        skin->DrawScrollBar(bar, axis == kVertical, a.thumbOffset, a.shown ? a.thumbLength : 0, pressed);
    }
    Rect corner = CornerRect();
    if (!corner.IsEmpty()) skin->DrawScrollCorner(corner);
}

}  // namespace tamber::ui::widgets
