#include "ui/widgets/SplitterWindow.h"

#include <algorithm>

#include "ui/Skin.h"
#include "ui/WindowSystem.h"
#include "ui/RectOps.h"

namespace tamber::ui::widgets {

namespace {

constexpr int kCursorHorizontalResize = 1;
constexpr int kCursorVerticalResize = 2;

}  // namespace

SplitterWindow::SplitterWindow(uint32_t flags, Window* parent, int orientation)
    : Window(flags, parent), orientation_(orientation == kStacked ? kStacked : kSideBySide) {}

int32_t SplitterWindow::Total() const {
    return orientation_ == kSideBySide ? Client().Width() : Client().Height();
}

int SplitterWindow::BarThickness() const { return WS().ThickBorder(); }

int32_t SplitterWindow::ClampSplit(int32_t requested) const {
    int32_t total = Total();
    int32_t larger = std::max(firstMinimum_, secondMinimum_);
    // The second pane's minimum counts from the far side of the bar, so that a pane
    // said to keep its minimum really does.
    int32_t lastForSecond = total - secondMinimum_ - BarThickness();
    int32_t position;
    if (total < 2 * larger) {
        position = total / 2;
    } else if (mode_ == kKeepFirst) {
        position = lastForSecond < firstMinimum_ ? total - larger : firstMinimum_;
    } else if (mode_ == kKeepSecond) {
        position = lastForSecond;
    } else {
        position = std::min(std::max(requested, firstMinimum_), lastForSecond);
    }
    return std::clamp(position, 0, std::max(total, 0));
}

Rect SplitterWindow::BarRect() const {
    int bar = BarThickness();
    if (orientation_ == kSideBySide) return {position_, 0, position_ + bar, Client().Height()};
    return {0, position_, Client().Width(), position_ + bar};
}

void SplitterWindow::Relayout() {
    position_ = ClampSplit(position_);
    int width = Client().Width(), height = Client().Height();
    if (!first_ || !second_) {
        if (Window* only = first_ ? first_ : second_) only->SetFrame({0, 0, width, height});
        Invalidate();
        return;
    }
    int far = position_ + BarThickness();
    if (orientation_ == kSideBySide) {
        first_->SetFrame({0, 0, position_, height});
        second_->SetFrame({far, 0, std::max(far, width), height});
    } else {
        first_->SetFrame({0, 0, width, position_});
        second_->SetFrame({0, far, width, std::max(far, height)});
    }
    Invalidate();
}

void SplitterWindow::SetPanes(Window* first, Window* second) {
    first_ = first;
    second_ = second;
    for (Window* pane : {first, second}) {
        if (pane && pane->Parent() != this) pane->SetParent(this);
    }
    Relayout();
}

void SplitterWindow::SetSplitPosition(int32_t position) {
    position_ = position;
    Relayout();
}

void SplitterWindow::SetMinimums(int32_t first, int32_t second) {
    firstMinimum_ = std::max(first, 0);
    secondMinimum_ = std::max(second, 0);
    Relayout();
}

void SplitterWindow::SetSplitMode(int mode) {
    mode_ = (mode == kKeepFirst || mode == kKeepSecond) ? mode : kFree;
    Relayout();
}

void SplitterWindow::OnResize() { Relayout(); }

void SplitterWindow::OnChildRemoved(Window* child) {
    if (child == first_) first_ = nullptr;
    if (child == second_) second_ = nullptr;
}

void SplitterWindow::Draw() {
    Skin* skin = WS().GetSkin();
    if (!skin || !first_ || !second_) return;
    skin->DrawFrameBorder(BarRect(), orientation_ == kSideBySide ? 1 : 2, true);
}

void SplitterWindow::OnMouseButton(Event& event) {
    if (mode_ != kFree || event.Button() != 0 || !event.ButtonPressed() || !first_ || !second_) return;
    Point p = event.Position();
    if (!RectContains(BarRect(), {p.x - Client().left, p.y - Client().top})) return;
    positionAtDragStart_ = position_;
    dragging_ = WS().BeginMouseTracking(this);
}

void SplitterWindow::OnMouseTrack(Point start, Point current, int phase) {
    if (!dragging_) return;
    int moved = orientation_ == kSideBySide ? current.x - start.x : current.y - start.y;
    SetSplitPosition(positionAtDragStart_ + moved);
    if (phase == 2) dragging_ = false;
}

void SplitterWindow::OnMouseMove(Event& event) {
    Point p = event.Position();
    bool overBar = mode_ == kFree && first_ && second_ &&
                   RectContains(BarRect(), {p.x - Client().left, p.y - Client().top});
    int shape = overBar ? (orientation_ == kSideBySide ? kCursorHorizontalResize : kCursorVerticalResize) : 0;
    if (shape != Cursor()) {
        SetCursor(shape);
        WS().SetCursorShape(shape);
    }
}

void SplitterWindow::OnMouseLeave(uint32_t newHit, uint32_t oldHit) {
    (void)newHit, (void)oldHit;
    if (!dragging_) SetCursor(0);
}

}  // namespace tamber::ui::widgets
