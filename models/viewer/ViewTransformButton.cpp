#include "models/viewer/ViewTransformButton.h"

#include <GL/gl.h>

#include "ui/Font.h"
#include "ui/Skin.h"
#include "ui/WindowSystem.h"

namespace tamber::models::viewer {
using namespace tamber::ui;

ViewTransformButton::ViewTransformButton(Window* parent, const char* label)
    : Window(kStyleVisible | kStyleEnabled, parent) {
    SetName(label);
    SetSize(kSide, kSide);
}

void ViewTransformButton::Draw() {
    const Rect local{0, 0, Client().Width(), Client().Height()};
    if (Skin* skin = WS().GetSkin()) skin->DrawButtonFace(local, dragging_);
    const char letter[2] = {GetName() ? GetName()[0] : '?', 0};
    Skin::SetTextColor(false);
    DrawText(letter, 0, kTextCenter | kTextCenterVertically, local);
}

void ViewTransformButton::OnMouseButton(Event& event) {
    if (event.Button() != 0 || !event.ButtonPressed() || dragging_) return;
    // While captured, the window system reports each move as a delta and puts
    // the hidden pointer back where the drag began.
    WS().SetMouseCaptured(true);
    if (!WS().BeginMouseTracking(this)) {
        WS().SetMouseCaptured(false);
        return;
    }
    dragging_ = true;
    Invalidate();
}

void ViewTransformButton::OnMouseTrack(Point, Point current, int phase) {
    if (phase == 1 && (current.x || current.y)) moved.Emit(current);
    if (phase == 2) {
        dragging_ = false;
        WS().SetMouseCaptured(false);
        Invalidate();
    }
}

}  // namespace tamber::models::viewer
