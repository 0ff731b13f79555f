#include "ui/widgets/Button.h"

#include <algorithm>

#include "ui/DrawBatch.h"
#include "ui/Font.h"
#include "ui/Skin.h"
#include "ui/WindowSystem.h"
#include "ui/RectOps.h"

namespace tamber::ui::widgets {

Button::Button(Window* parent, uint32_t commandId) : Button(parent, commandId, 0) {}

Button::Button(Window* parent, uint32_t commandId, int toggles)
    : Window(kStyleFocusable | kStyleEnabled | kStyleVisible, parent), toggles_(toggles) {
    SetCommandId(commandId);
}

void Button::SetButtonState(int state, bool silent) {
    bool activation = state == kOn || (toggles_ && state == kUp);
    if (!toggles_ && state == kOn) state = kUp;
    if (state != state_) {
        state_ = state;
        InvalidateClient();
    }
    if (activation && !silent) {
        clickedWithId.Emit(int(GetCommandId()));
        clicked.Emit();
    }
}

int Button::LabelWidth() const {
    const char* label = GetName();
    if (!label) return 0;
    return ui::DrawText(GetFont(), label, 0, kTextMeasureOnly, {0, 0, 1 << 20, 1 << 20});
}

void Button::SizeToFit() {
    Skin* skin = WS().GetSkin();
    int minWidth = skin ? skin->ButtonMinWidth() : 0;
    int minHeight = skin ? skin->ButtonMinHeight() : 0;
    int width = (std::max(LabelWidth(), minWidth) + 28) / 16 * 16;
    SetSize(width, std::max(GetFontHeight(GetFont()), minHeight));
}

void Button::GetMinimumSize(Point& out) {
    Window::GetMinimumSize(out);
    if (Skin* skin = WS().GetSkin()) {
        int horizontal = 0, vertical = 0;
        skin->GetButtonMargins(horizontal, vertical);
        out.x += horizontal;
        out.y += vertical;
    }
}

void Button::Draw() {
    Rect local{0, 0, Client().Width(), Client().Height()};
    if (Skin* skin = WS().GetSkin()) skin->DrawButtonFace(local, state_ == kPressedOff || (toggles_ && state_ != kUp));
    if (const char* label = GetName()) {
        if (IsEnabled()) Skin::SetTextColor(false);
        else SetDrawColor(128, 128, 128, 255);
        DrawText(label, 0, kTextCenter | kTextCenterVertically | kTextShadow, local);
    }
    if (IsFocused()) {
        Skin::SetSelectionColor(true);
        Skin::DrawRectOutline(RectInset(local, 2, 2), 1, false);
    }
}

void Button::KeyPress(bool down) {
    if (down) {
        if (state_ == kUp) SetButtonState(kPressedOff, false);
        else if (toggles_ && state_ == kOn) SetButtonState(kPressedOn, false);
    } else if (state_ == kPressedOff) {
        SetButtonState(kOn, false);
    } else if (state_ == kPressedOn) {
        SetButtonState(kUp, false);
    }
}

void Button::CancelKeyPress() {
    if (state_ == kPressedOff) SetButtonState(kUp, true);
    else if (state_ == kPressedOn) SetButtonState(kOn, true);
}

bool Button::OnKey(Event& event) {
    if (!IsEnabled()) return false;
    int key = event.Key();
    if (key == ' ' || key == kKeyEnter || key == kKeyKeypadEnter) {
        // A held key repeats its press; only the first one counts.
        if (!(event.Pressed() && event.IsRepeat())) KeyPress(event.Pressed());
    } else if (!toggles_ && event.Pressed()) {
        SetButtonState(kUp, false);
    }
    // The key still travels on to the parent (dialogs watch Enter and Escape).
    return false;
}

void Button::OnMouseButton(Event& event) {
    if (!IsEnabled() || event.Button() != 0 || !event.ButtonPressed()) return;
    stateAtPress_ = toggles_ ? state_ : kUp;
    WS().BeginMouseTracking(this);
}

void Button::OnMouseTrack(Point start, Point current, int phase) {
    (void)start;
    bool inside = HitTest(current) == kHitClient;
    int state = stateAtPress_;
    if (phase == 0) {
        state = stateAtPress_ == kOn ? kPressedOn : kPressedOff;
    } else if (inside && phase == 1) {
        state = stateAtPress_ > kUp ? kPressedOn : kPressedOff;
    } else if (inside && phase == 2) {
        state = stateAtPress_ != kOn ? kOn : kUp;
    }
    // Only a release inside clicks: the states shown on the way (and the state at
    // press restored by a release outside) must not fire a checked box again.
    SetButtonState(state, !(inside && phase == 2));
}

void Button::OnFocusLost(Window* newFocus, int reason) {
    (void)newFocus, (void)reason;
    CancelKeyPress();
}

}  // namespace tamber::ui::widgets
