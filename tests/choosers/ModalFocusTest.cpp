// Every kind of modal box gives the keyboard focus back, when it closes, to the
// control that had it before: typing goes on where it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <unistd.h>

#include "tests/ui/support/UiTestDriver.h"
#include "ui/WindowSystem.h"
#include "ui/choosers/FileDialogs.h"
#include "ui/widgets/Button.h"
#include "ui/widgets/ComboBox.h"
#include "ui/widgets/ListWindow.h"
#include "ui/widgets/Menu.h"
#include "ui/widgets/MenuItem.h"
#include "ui/widgets/MessageBoxWindow.h"
#include "ui/widgets/TextBox.h"

using namespace tamber::ui;
using namespace tamber::ui::choosers;
using namespace tamber::ui::widgets;

namespace fs = std::filesystem;

namespace {

// A document with a text field; F2 runs the action (which opens a modal box) from
// inside the key handler, as editors do.
struct Document : Window {
    Document() : Window(kStyleDocument | kStyleVisible, nullptr) {
        SetName("Document");
        SetFrameXYWH(40, 40, 400, 200);
        field = new TextBox(TextBox::kModeTextField, this);
        field->SetName("Field");
        field->SetFrameXYWH(10, 10, 300, 24);
        combo = new ComboBox(this, 0);
        combo->SetFrameXYWH(10, 50, 200, 22);
        for (const char* entry : {"first", "second", "third"}) combo->AddItem(entry);
        list = new ListWindow(0, kStyleControl, this);
        list->SetFrameXYWH(10, 90, 300, 80);
        list->AddListItem(nullptr, 1, ListWindow::kItemText, "row");
    }
    bool OnKey(Event& event) override {
        if (event.Key() != kKeyF2) return false;
        if (event.Pressed() && action) {
            running = true;
            action();
            running = false;
        }
        return true;
    }
    TextBox* field;
    ComboBox* combo;
    ListWindow* list;
    std::function<void()> action;
    bool running = false;
};

}  // namespace

TEST(ModalFocus, EveryKindOfBoxGivesTheFocusBack) {
    const fs::path folder = fs::temp_directory_path() / ("tamber-focus-" + std::to_string(getpid()));
    fs::create_directories(folder);
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([&](UiTestDriver& ui) {
        auto* doc = new Document;
        ui.click(UiTestDriver::center(doc->field));
        ASSERT_EQ(WS().Focus(), doc->field);
        std::string expected;
        // Runs the box through F2, lets the script answer it, then types one letter.
        auto check = [&](const char* what, std::function<void()> open, std::function<void()> answer) {
            SCOPED_TRACE(what);
            doc->action = std::move(open);
            ui.key(kKeyF2);
            ASSERT_TRUE(doc->running);
            answer();
            ui.step(3);
            EXPECT_FALSE(doc->running);
            EXPECT_EQ(WS().Focus(), doc->field);
            ui.type("x");
            expected += "x";
            EXPECT_EQ(doc->field->Text(), expected);
            ui.wait(1);
        };
        check("question", [] { MessageBox("Save?", "Save the changes?", {"Save", "Don't Save", "Cancel"}); },
              [&] { ui.click("Save?/Cancel"); });
        check("error", [] { ShowError("Something failed."); }, [&] { ui.click("Error/OK"); });
        check("input", [] {
            std::string name = "copy";
            MessageBoxWithInput("Enter Name", name, {"OK", "Cancel"});
        }, [&] { ui.type("\n"); });
        check("menu", [&] {
            auto* menu = new Menu(false);
            AddMenuItem(menu, "Item", nullptr, 1, true);
            PopupMenu(menu, {100, 100});
            menu->Close();
        }, [&] { ui.key(kKeyEscape); });
        check("colour", [] {
            uint8_t rgb[3] = {1, 2, 3};
            OsChooseColor(rgb);
        }, [&] { ui.key(kKeyEscape); });
        // A folder that does not exist is refused with the reason; the chooser keeps the
        // keys after that box, and the document gets them back when the chooser closes.
        check("folder chooser", [&] {
            std::string path = folder.string();
            OsChooseFolder("Choose a destination folder", path);
        }, [&] {
            ui.type("converted\n");
            ui.step(2);
            // The box carries the chooser's title and runs above it.
            auto* refusal = dynamic_cast<MessageBoxWindow*>(WS().ModalWindow());
            ASSERT_NE(refusal, nullptr);
            EXPECT_EQ(refusal->TextField()->Text(), "The folder 'converted' was not found. Check the name and try again.");
            ui.click(UiTestDriver::center(refusal->FirstButton()));
            ui.step(2);
            Window* name = ui.find("Choose a destination folder/Name");
            ASSERT_NE(name, nullptr);
            EXPECT_EQ(WS().Focus(), name);
            ui.key(kKeyEscape);
        });

        // The combo box's list and a list's cell editor give the focus back to their owner.
        WS().SetFocus(doc->combo, kFocusByProgram);
        ui.key(kKeyDown, kModAlt);
        ASSERT_TRUE(doc->combo->IsListOpen());
        ui.key(kKeyDown);
        ui.key(kKeyEnter);
        ui.step(2);
        EXPECT_FALSE(doc->combo->IsListOpen());
        EXPECT_EQ(doc->combo->GetSelectedItem(), 0);
        EXPECT_TRUE(doc->combo->IsFocused());
        ui.click(UiTestDriver::center(doc->list));
        ASSERT_EQ(WS().Focus(), doc->list);
        doc->action = [&] { doc->list->EditCell(doc->list->FirstItem(), -1, nullptr); };
        ui.key(kKeyF2);
        ui.type("renamed\n");
        ui.step(3);
        EXPECT_EQ(doc->list->FirstItem()->label, "renamed");
        EXPECT_EQ(WS().Focus(), doc->list);
    });
    fs::remove_all(folder);
}
