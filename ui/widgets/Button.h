#pragma once
// The push button, and the base of the check box (a toggling button). The label is
// the window name; the command id travels with the clicked-with-id signal.
#include <cstdint>

#include "ui/Signal.h"
#include "ui/Window.h"

namespace tamber::ui::widgets {

class Button : public Window {
public:
    enum State : int { kUp = 0, kOn = 1, kPressedOn = 2, kPressedOff = 3 };

    // Style 0x8003: focusable, enabled, visible.
    Button(Window* parent, uint32_t commandId);

    const char* GetClassName() const override { return "Button"; }

    // Stores the state (a push button asked for kOn fires and stays up) and repaints.
    // Unless silent, an activation (kOn, or kUp on a toggling button) emits
    // clickedWithId and then clicked.
    virtual void SetButtonState(int state, bool silent);
    // Sizes the window around its label.
    virtual void SizeToFit();

    int GetButtonState() const { return state_; }
    bool Toggles() const { return toggles_ != 0; }

    // The keyboard behaviour of Space and Enter, also lent to dialogs for their key
    // buttons: a press shows the pressed look, the release clicks.
    void KeyPress(bool down);
    // Drops a pressed look that a key gave, without clicking.
    void CancelKeyPress();

    void GetMinimumSize(Point& out) override;
    void Draw() override;
    bool OnKey(Event& event) override;
    void OnMouseButton(Event& event) override;
    void OnMouseTrack(Point start, Point current, int phase) override;
    void OnFocusLost(Window* newFocus, int reason) override;

    Signal0 clicked;
    Signal1<int> clickedWithId;

protected:
    Button(Window* parent, uint32_t commandId, int toggles);
    // Width of the label in the window's font.
    int LabelWidth() const;

private:
    int32_t toggles_ = 0;
    int32_t state_ = kUp;
    int32_t stateAtPress_ = kUp;
};

}  // namespace tamber::ui::widgets
