// Dialogs: layout of OK and Cancel, Enter and Escape as key buttons, a refused OK,
// the close path acting as Cancel.
#include <gtest/gtest.h>

#include <functional>

#include "tests/ui/support/UiTestDriver.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/Button.h"
#include "ui/widgets/DialogWindow.h"

using namespace tamber::ui;
using namespace tamber::ui::widgets;

namespace {

struct TestDialog : DialogWindow {
    TestDialog() {
        SetName("Test Dialog");
        SetContentSize(200, 100);
    }
    bool OnOK() override { return ++oks, acceptOK; }
    bool OnCancel() override { return ++cancels, true; }
    bool acceptOK = true;
    int oks = 0, cancels = 0;
};

// Runs the dialog modally when clicked.
struct Opener : Window {
    explicit Opener(TestDialog* dialog) : Window(kStyleVisible, nullptr), dialog(dialog) {
        SetFrameXYWH(0, 0, 60, 60);
    }
    void OnMouseButton(Event& event) override {
        if (!event.ButtonPressed()) return;
        dialog->SetVisible(true);
        running = true;
        result = WS().RunModal(dialog, 1 | 4);
        running = false;
    }
    TestDialog* dialog;
    bool running = false;
    int result = -1;
};

}  // namespace

TEST(DialogWindow, LayoutKeysAndRefusedOK) {
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([](UiTestDriver& ui) {
        auto* dialog = new TestDialog;
        auto* opener = new Opener(dialog);
        dialog->SetVisible(false);
        int okHeight = dialog->OKButton()->Frame().Height();
        EXPECT_EQ(dialog->Client().Width(), 232);
        EXPECT_EQ(dialog->Client().Height(), 100 + okHeight + 32);
        Rect cancel = dialog->CancelButton()->RelativeFrame();
        Rect ok = dialog->OKButton()->RelativeFrame();
        EXPECT_EQ(cancel, (Rect{232 - 16 - 64, 100 + 32 - 8, 232 - 16, 100 + 32 - 8 + okHeight}));
        EXPECT_EQ(ok.right, cancel.left - 8);

        // Enter presses OK on release, with the pressed look while held.
        ui.click(UiTestDriver::center(opener));
        ASSERT_TRUE(opener->running);
        auto& key = OsCurrentCallbacks().key;
        key(kKeyEnter, 1);
        ui.step();
        EXPECT_EQ(dialog->OKButton()->GetButtonState(), Button::kPressedOff);
        EXPECT_TRUE(opener->running);
        key(kKeyEnter, 0);
        ui.step(2);
        EXPECT_FALSE(opener->running);
        EXPECT_EQ(opener->result, 1);
        EXPECT_FALSE(dialog->IsVisible());

        // Escape is Cancel; another key in between gives the key press up.
        ui.click(UiTestDriver::center(opener));
        key(kKeyEscape, 1);
        key('X', 1);
        key('X', 0);
        key(kKeyEscape, 0);
        ui.step(2);
        EXPECT_TRUE(opener->running);
        EXPECT_EQ(dialog->CancelButton()->GetButtonState(), Button::kUp);
        ui.key(kKeyEscape);
        ui.step();
        EXPECT_FALSE(opener->running);
        EXPECT_EQ(opener->result, 0);

        // A refused OK beeps and keeps the dialog open, every time.
        dialog->acceptOK = false;
        ui.click(UiTestDriver::center(opener));
        int beeps = ui.platform().beeps;
        ui.click(UiTestDriver::center(dialog->OKButton()));
        ui.key(kKeyEnter);
        ui.step();
        EXPECT_TRUE(opener->running);
        EXPECT_TRUE(dialog->IsVisible());
        EXPECT_EQ(ui.platform().beeps, beeps + 2);
        EXPECT_EQ(dialog->oks, 3);
        // Closing acts as Cancel: the run ends with 0 and the dialog stays for its owner.
        EXPECT_FALSE(dialog->CanClose(1));
        ui.step();
        EXPECT_FALSE(opener->running);
        EXPECT_EQ(opener->result, 0);
        EXPECT_FALSE(dialog->IsVisible());
        // Not running, it may close.
        EXPECT_TRUE(dialog->CanClose(1));
    });
}

// While a dialog runs, the surface behind it is darkened once: repainting a part of
// the dialog again and again leaves the rest of the surface as it was.
TEST(DialogWindow, RepaintsKeepTheDarkenedSurface) {
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([](UiTestDriver& ui) {
        auto* dialog = new TestDialog;
        auto* opener = new Opener(dialog);
        dialog->SetVisible(false);
        ui.click(UiTestDriver::center(opener));
        ASSERT_TRUE(opener->running);
        dialog->CenterInParent();
        const std::vector<uint8_t> before = ui.pixels();
        for (int i = 0; i < 4; ++i) {
            dialog->OKButton()->Invalidate();
            ui.step();
        }
        const std::vector<uint8_t> after = ui.pixels(false);
        const size_t far = (size_t(WS().SurfaceHeight() - 10) * WS().SurfaceWidth() + 10) * 4;
        ASSERT_GT(after.size(), far + 2);
        for (size_t c = 0; c < 3; ++c) EXPECT_EQ(after[far + c], before[far + c]) << c;
        ui.key(kKeyEscape);
        ui.step(2);
        EXPECT_FALSE(opener->running);
    });
}
