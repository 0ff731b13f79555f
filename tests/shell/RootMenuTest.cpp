// The root menu: the bar, its commands, the Window menu and the stored window size.
#include <gtest/gtest.h>

#include "editing/AttachmentKinds.h"
#include "editing/TagEdit.h"
#include "editing/TagEditorRegistry.h"
#include "shell/RootMenu.h"
#include "base/Preferences.h"
#include "tests/editing/EditingTestSupport.h"
#include "tests/ui/support/UiTestDriver.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/MenuItem.h"
#include "ui/widgets/MessageBoxWindow.h"
#include "ui/widgets/TextBox.h"

using namespace tamber::editing;
using namespace tamber::shell;
using namespace tamber::base;
using namespace tamber::ui;
using namespace tamber::ui::widgets;

namespace {

struct Document : Window {
    Document(const char* name, bool refuse) : Window(kStyleDocument | kStyleVisible, nullptr), refuse(refuse) {
        SetName(name);
        SetFrameXYWH(100, 100, 200, 150);
    }
    bool CanClose(int force) override { return !refuse && Window::CanClose(force); }
    bool refuse;
};

MenuItem* ItemLabelled(Menu* menu, const std::string& label) {
    for (MenuItem* item : menu->Items()) {
        if (item->GetName() && label == item->GetName()) return item;
    }
    return nullptr;
}

}  // namespace

TEST(RootMenu, BarCommandsWindowMenuAndSize) {
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    int quitRequests = 0;
    WS().SetQuitConfirm([&] { return ++quitRequests, 0; });
    ui.Run([&](UiTestDriver& ui) {
        WindowSystem& ws = WS();
        RootMenu* menu = RootMenu::Create();
        ui.step();
        EXPECT_EQ(ws.MenuBar(), menu);
        EXPECT_EQ(menu->Frame().Width(), 1024);
        EXPECT_EQ(ws.Layer0()->Frame().top, menu->Frame().bottom);
        std::vector<std::string> titles;
        for (MenuItem* item : menu->Items()) titles.push_back(item->GetName());
        EXPECT_EQ(titles, (std::vector<std::string>{"File", "Tools", "Window", "Debug", "Help"}));

        // The Window menu lists the shown windows when it opens; choosing one brings it forward.
        Document* a = new Document("Alpha", false);
        Document* b = new Document("Beta", true);
        Document* c = new Document("Gamma", false);
        MenuItem* window = ItemLabelled(menu, "Window");
        ui.click(UiTestDriver::center(window));
        Menu* list = window->Submenu();
        ASSERT_TRUE(list && list->IsVisible());
        std::vector<std::string> entries;
        for (MenuItem* item : list->Items()) entries.push_back(item->GetName());
        EXPECT_EQ(entries, (std::vector<std::string>{"Close All Windows", "Gamma", "Beta", "Alpha"}));
        ui.click(UiTestDriver::center(ItemLabelled(list, "Alpha")));
        EXPECT_EQ(ws.Layer0()->FirstChild(), a);

        // Close All Windows stops at the first window that refuses: Alpha, Beta, Gamma.
        b->BringToFront();
        a->BringToFront();
        ui.click(UiTestDriver::center(window));
        ui.click(UiTestDriver::center(ItemLabelled(list, "Close All Windows")));
        EXPECT_EQ(ws.Layer0()->FindChild("Alpha", "Window"), nullptr);
        EXPECT_EQ(ws.Layer0()->FindChild("Beta", "Window"), b);
        EXPECT_EQ(ws.Layer0()->FindChild("Gamma", "Window"), c);

        // Exit asks the window system to quit (the confirmation decides).
        menu->RunCommand(RootMenu::kExit);
        ui.step(2);
        EXPECT_EQ(quitRequests, 1);
        EXPECT_TRUE(ws.Running());

        // A new surface size is stored for the next start.
        ui.platform().Resize(800, 600);
        ui.step();
        int width = 0, height = 0;
        EXPECT_TRUE(GetPrefInt("OsWindowSizeX", width));
        EXPECT_TRUE(GetPrefInt("OsWindowSizeY", height));
        EXPECT_EQ(width, 800);
        EXPECT_EQ(height, 600);
        EXPECT_EQ(menu->Frame().Width(), 800);
        b->refuse = false;
    });
}

// With text editors open, "Choose Vesk Folder" is refused and "Close All Windows"
// stops at the editor whose user cancels the question about unsaved changes.
TEST(RootMenu, OpenTagsBlockFolderChangeAndRefusingEditorStopsCloseAll) {
    ScratchGame game;
    std::vector<TagRecord*> records;
    for (const char* name : {"first", "second", "third"}) records.push_back(MakeLooseTag(name, "text"));
    ASSERT_NE(records.back(), nullptr);
    RegisterTagEditors();
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([&](UiTestDriver& ui) {
        WindowSystem& ws = WS();
        RootMenu* menu = RootMenu::Create();
        std::vector<TagEdit*> editors;
        for (TagRecord* record : records) editors.push_back(OpenTagEditor(record));
        ASSERT_NE(editors.back(), nullptr);
        ui.step();

        MenuItem* tools = ItemLabelled(menu, "Tools");
        ui.click(UiTestDriver::center(tools));
        ui.click(UiTestDriver::center(ItemLabelled(tools->Submenu(), "Choose Vesk Folder")));
        ASSERT_NE(ws.ModalWindow(), nullptr);
        EXPECT_STREQ(ws.ModalWindow()->GetName(), "Error");
        auto* box = static_cast<MessageBoxWindow*>(ws.ModalWindow());
        EXPECT_EQ(box->TextField()->Text(), "Please close all open tags first.");
        ui.click("Error/OK");
        ui.step();
        EXPECT_EQ(ws.ModalWindow(), nullptr);  // no folder chooser followed

        // Front to back: first, second (modified), third.
        editors[1]->SetModified(1);
        editors[2]->BringToFront();
        editors[1]->BringToFront();
        editors[0]->BringToFront();
        MenuItem* window = ItemLabelled(menu, "Window");
        ui.click(UiTestDriver::center(window));
        ui.click(UiTestDriver::center(ItemLabelled(window->Submenu(), "Close All Windows")));
        ASSERT_NE(ws.ModalWindow(), nullptr);
        EXPECT_STREQ(ws.ModalWindow()->GetName(), "Save?");
        ui.click("Save?/Cancel");
        ui.step(2);
        Codex& codex = Codex::Instance();
        EXPECT_EQ(codex.FindAttachment(records[0], kAttachTagEditor), nullptr);
        EXPECT_EQ(codex.FindAttachment(records[1], kAttachTagEditor), editors[1]);
        EXPECT_EQ(codex.FindAttachment(records[2], kAttachTagEditor), editors[2]);
        editors[1]->SetModified(0);
        editors[1]->Close();
        editors[2]->Close();
        ui.step();
    });
}
