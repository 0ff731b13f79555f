// Message boxes: sizes, returns, keys, the input variant, errors and the quit question.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/ui/support/UiTestDriver.h"
#include "ui/Font.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/Button.h"
#include "ui/widgets/MessageBoxWindow.h"
#include "ui/widgets/TextBox.h"

using namespace tamber::ui;
using namespace tamber::ui::widgets;

namespace {

// Runs its action (which shows a box) when clicked.
struct Opener : Window {
    explicit Opener(std::function<int()> action) : Window(kStyleVisible, nullptr), action(std::move(action)) {
        SetFrameXYWH(0, 0, 60, 60);
    }
    void OnMouseButton(Event& event) override {
        if (!event.ButtonPressed()) return;
        running = true;
        result = action();
        running = false;
    }
    std::function<int()> action;
    bool running = false;
    int result = -1;
};

MessageBoxWindow* OpenBox() { return static_cast<MessageBoxWindow*>(WS().ModalWindow()); }

}  // namespace

TEST(MessageBox, SizesReturnsAndKeys) {
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([](UiTestDriver& ui) {
        auto* opener = new Opener([] { return MessageBox("Question", "Go on?", {"Yes", "No"}); });
        ui.click(UiTestDriver::center(opener));
        ASSERT_TRUE(opener->running);
        MessageBoxWindow* box = OpenBox();
        ASSERT_NE(box, nullptr);
        // Two buttons of at least 96 with 24 between, wider than the text, plus 64.
        EXPECT_EQ(box->Client().Width(), 96 + 24 + 96 + 64);
        int buttonHeight = box->FirstButton()->Frame().Height();
        int textHeight = box->TextField()->Frame().Height();
        EXPECT_EQ(box->Client().Height(), textHeight + 24 + buttonHeight + 64);
        EXPECT_EQ(WS().Focus(), box->FirstButton());
        // Escape does nothing: there is no Cancel.
        ui.key(kKeyEscape);
        ui.step();
        EXPECT_TRUE(opener->running);
        ui.click("Question/No");
        ui.step();
        EXPECT_FALSE(opener->running);
        EXPECT_EQ(opener->result, 1);

        // Enter on the focused first button chooses it.
        ui.click(UiTestDriver::center(opener));
        ui.key(kKeyEnter);
        ui.step();
        EXPECT_FALSE(opener->running);
        EXPECT_EQ(opener->result, 0);

        // A box given no labels still gets a button to end it.
        auto* bare = new MessageBoxWindow("Note", "x", {}, false);
        EXPECT_STREQ(bare->FirstButton()->GetName(), "OK");
        bare->Close();

        // A long text wraps at 512 pixels; the quit question has no text.
        std::string lines(400, 'w');
        for (size_t i = 9; i < lines.size(); i += 10) lines[i] = ' ';
        opener->action = [&] { return MessageBox("Long", lines.c_str(), {"OK"}); };
        ui.click(UiTestDriver::center(opener));
        box = OpenBox();
        EXPECT_EQ(box->TextField()->Frame().Width(), 512 + 2 * TextBox::kMargin);
        EXPECT_GT(box->TextField()->Lines().size(), 2u);
        ui.key(kKeyEnter);
        ui.step();
    });
}

TEST(MessageBox, InputAndErrors) {
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([](UiTestDriver& ui) {
        std::string text = "old";
        auto* opener = new Opener([&] { return MessageBoxWithInput("Name", text, {"Rename", "Cancel"}); });
        ui.click(UiTestDriver::center(opener));
        ASSERT_TRUE(opener->running);
        MessageBoxWindow* box = OpenBox();
        EXPECT_EQ(WS().Focus(), box->TextField());
        EXPECT_EQ(box->InputText(), "old");
        ui.key(kKeyEnd);
        ui.type("er");
        // Enter in the field presses the first button: pressed look while held.
        auto& key = OsCurrentCallbacks().key;
        key(kKeyEnter, 1);
        ui.step();
        EXPECT_EQ(box->FirstButton()->GetButtonState(), Button::kPressedOff);
        key(kKeyEnter, 0);
        ui.step(2);
        EXPECT_FALSE(opener->running);
        EXPECT_EQ(opener->result, 0);
        EXPECT_EQ(text, "older");

        opener->action = [] {
            ShowError("Could not read \"%s\" (%d bytes)", "x.256", 12);
            return 7;
        };
        ui.click(UiTestDriver::center(opener));
        box = OpenBox();
        EXPECT_STREQ(box->GetName(), "Error");
        EXPECT_EQ(box->TextField()->Text(), "Could not read \"x.256\" (12 bytes)");
        EXPECT_STREQ(box->FirstButton()->GetName(), "OK");
        ui.click("Error/OK");
        ui.step();
        EXPECT_EQ(opener->result, 7);
    });
}
