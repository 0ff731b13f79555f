#pragma once
// A small button that changes a 3D view while it is dragged: the mouse is
// captured and hidden, and every move reports its delta.
#include "ui/Signal.h"
#include "ui/Window.h"

namespace tamber::models::viewer {

class ViewTransformButton : public ui::Window {
public:
    static constexpr int kSide = 15;

    // The label is the window name; its first letter is drawn on the button.
    ViewTransformButton(ui::Window* parent, const char* label);

    const char* GetClassName() const override { return "ViewTransformButton"; }
    void Draw() override;
    void OnMouseButton(ui::Event& event) override;
    void OnMouseTrack(ui::Point start, ui::Point current, int phase) override;

    bool Dragging() const { return dragging_; }

    // Mouse movement while dragged, in pixels.
    ui::Signal1<ui::Point> moved;

private:
    bool dragging_ = false;
};

}  // namespace tamber::models::viewer
