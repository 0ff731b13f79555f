// Push buttons and check boxes: the state table under the mouse (including dragging
// out and back), keys, focus loss, silent changes, disabled controls.
#include <gtest/gtest.h>

#include <vector>

#include "tests/ui/support/UiTestDriver.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/Button.h"
#include "ui/widgets/CheckBox.h"

using namespace tamber::ui;
using namespace tamber::ui::widgets;

namespace {

// Receives the signals; the owner of the controls is visible, a bare listener is not.
struct Listener : Window {
    explicit Listener(uint32_t style = kStyleVisible) : Window(style, nullptr) { SetFrameXYWH(0, 0, 600, 400); }
    void OnClicked() { ++clicks; }
    void OnClickedWithId(int id) { ids.push_back(id); }
    void Watch(Button* b) {
        b->clicked.Connect(this, &Listener::OnClicked);
        b->clickedWithId.Connect(this, &Listener::OnClickedWithId);
    }
    int clicks = 0;
    std::vector<int> ids;
};

struct Controls {
    Listener* owner = new Listener;
    Listener* checks = new Listener(0);
    Button* push = new Button(owner, 7);
    CheckBox* box = new CheckBox(owner, 9);
    Controls() {
        push->SetFrameXYWH(10, 10, 80, 24);
        box->SetFrameXYWH(10, 60, 80, 24);
        owner->Watch(push);
        checks->Watch(box);
    }
};

Point Outside(const Window* w) { return {w->Frame().right + 40, w->Frame().bottom + 40}; }

void Button0(UiTestDriver& ui, bool down) {
    OsCurrentCallbacks().mouseButton(0, down ? 1 : 0);
    ui.step();
}

}  // namespace

TEST(Button, MouseStateTable) {
    UiTestDriver ui({.pixels = false});
    ASSERT_TRUE(ui.Ready());
    ui.Run([](UiTestDriver& ui) {
        Controls c;
        ui.click(UiTestDriver::center(c.push));
        EXPECT_EQ(c.owner->ids, std::vector<int>{7});
        EXPECT_EQ(c.owner->clicks, 1);
        EXPECT_EQ(c.push->GetButtonState(), Button::kUp);

        // Pressed, dragged out, back in and out again, released outside: nothing fires.
        ui.moveTo(UiTestDriver::center(c.push));
        Button0(ui, true);
        EXPECT_EQ(c.push->GetButtonState(), Button::kPressedOff);
        ui.moveTo(Outside(c.push));
        EXPECT_EQ(c.push->GetButtonState(), Button::kUp);
        ui.moveTo(UiTestDriver::center(c.push));
        EXPECT_EQ(c.push->GetButtonState(), Button::kPressedOff);
        ui.moveTo(Outside(c.push));
        Button0(ui, false);
        EXPECT_EQ(c.push->GetButtonState(), Button::kUp);
        EXPECT_EQ(c.owner->clicks, 1);

        ui.click(UiTestDriver::center(c.box));
        EXPECT_EQ(c.box->GetButtonState(), Button::kOn);
        EXPECT_EQ(c.checks->ids, std::vector<int>{9});

        // Checked: pressed, dragged out and back, released inside flips it off and fires once.
        ui.moveTo(UiTestDriver::center(c.box));
        Button0(ui, true);
        EXPECT_EQ(c.box->GetButtonState(), Button::kPressedOn);
        ui.moveTo(Outside(c.box));
        EXPECT_EQ(c.box->GetButtonState(), Button::kOn);
        ui.moveTo(UiTestDriver::center(c.box));
        Button0(ui, false);
        EXPECT_EQ(c.box->GetButtonState(), Button::kUp);
        EXPECT_EQ(c.checks->clicks, 2);

        // Checked and released outside, it stays checked and quiet.
        c.box->SetButtonState(Button::kOn, true);
        ui.moveTo(UiTestDriver::center(c.box));
        Button0(ui, true);
        ui.moveTo(Outside(c.box));
        Button0(ui, false);
        EXPECT_EQ(c.box->GetButtonState(), Button::kOn);
        EXPECT_EQ(c.checks->clicks, 2);

        // Asked for state 1, a push button fires and stays up.
        c.push->SetButtonState(Button::kOn, false);
        EXPECT_EQ(c.push->GetButtonState(), Button::kUp);
        EXPECT_EQ(c.owner->clicks, 2);
        c.push->ClearFlags(kStyleEnabled);
        ui.click(UiTestDriver::center(c.push));
        EXPECT_EQ(c.owner->clicks, 2);
    });
}

TEST(Button, KeysAndFocusLoss) {
    UiTestDriver ui({.pixels = false});
    ASSERT_TRUE(ui.Ready());
    ui.Run([](UiTestDriver& ui) {
        Controls c;
        auto key = [&](int code, bool down) {
            OsCurrentCallbacks().key(code, down ? 1 : 0);
            ui.step();
        };
        WS().SetFocus(c.push, kFocusByProgram);
        key(' ', true);
        EXPECT_EQ(c.push->GetButtonState(), Button::kPressedOff);
        key(' ', true);  // a repeat
        key(' ', false);
        EXPECT_EQ(c.push->GetButtonState(), Button::kUp);
        EXPECT_EQ(c.owner->clicks, 1);

        // Another key, or losing the focus, drops the pressed look without firing.
        key(kKeyEnter, true);
        key('A', true);
        key(kKeyEnter, false);
        EXPECT_EQ(c.push->GetButtonState(), Button::kUp);
        key(kKeyEnter, true);
        WS().SetFocus(c.box, kFocusByProgram);
        key(kKeyEnter, false);
        EXPECT_EQ(c.push->GetButtonState(), Button::kUp);
        EXPECT_EQ(c.owner->clicks, 1);

        // Enter toggles the check box on and off, showing the pressed-while-on look.
        ui.key(kKeyEnter);
        EXPECT_EQ(c.box->GetButtonState(), Button::kOn);
        key(kKeyEnter, true);
        EXPECT_EQ(c.box->GetButtonState(), Button::kPressedOn);
        key(kKeyEnter, false);
        EXPECT_EQ(c.box->GetButtonState(), Button::kUp);
        EXPECT_EQ(c.checks->clicks, 2);
        c.box->ClearFlags(kStyleEnabled);
        ui.key(' ');
        EXPECT_EQ(c.box->GetButtonState(), Button::kUp);
    });
}
