#pragma once
// Divides the client area between two panes with a bar the user may drag. Side by
// side panes have a vertical bar, stacked panes a horizontal one; the bar is as thick
// as the skin's thick border.
#include <cstdint>

#include "ui/Window.h"

namespace tamber::ui::widgets {

class SplitterWindow : public Window {
public:
    enum Orientation : int { kSideBySide = 0, kStacked = 1 };
    // kFree: the user may drag; kKeepFirst / kKeepSecond: that pane keeps its minimum size.
    enum SplitMode : int { kFree = 0, kKeepFirst = 1, kKeepSecond = 2 };

    SplitterWindow(uint32_t flags, Window* parent, int orientation);

    const char* GetClassName() const override { return "SplitterWindow"; }

    // The panes become children of the splitter; either may be null.
    void SetPanes(Window* first, Window* second);
    void SetSplitPosition(int32_t position);
    void SetMinimums(int32_t first, int32_t second);
    void SetSplitMode(int mode);

    int32_t SplitPosition() const { return position_; }
    int Orientation() const { return orientation_; }
    Window* FirstPane() const { return first_; }
    Window* SecondPane() const { return second_; }
    // The position a request ends at under the minimums and the mode.
    int32_t ClampSplit(int32_t requested) const;
    // The bar in client-local pixels.
    Rect BarRect() const;

    void OnResize() override;
    void Draw() override;
    void OnMouseButton(Event& event) override;
    void OnMouseMove(Event& event) override;
    void OnMouseLeave(uint32_t newHit, uint32_t oldHit) override;
    void OnMouseTrack(Point start, Point current, int phase) override;
    void OnChildRemoved(Window* child) override;

private:
    int32_t Total() const;
    int BarThickness() const;
    void Relayout();

    int32_t orientation_;
    int32_t mode_ = kFree;
    Window* first_ = nullptr;
    Window* second_ = nullptr;
    int32_t firstMinimum_ = 0;
    int32_t secondMinimum_ = 0;
    int32_t position_ = 0;
    int32_t positionAtDragStart_ = 0;
    bool dragging_ = false;
};

}  // namespace tamber::ui::widgets
