// Importing models from the desktop: "New Model From File" through the file
// dialog, a model file dropped on the main window, and the viewer's right-click
// menu ("Reset View", "Export LWO...").
#include <gtest/gtest.h>

#include <filesystem>

#include "editing/TagEditorRegistry.h"
#include "models/viewer/GeomEdit.h"
#include "shell/FileDrop.h"
#include "shell/RootMenu.h"
#include "tests/editing/EditingUiSupport.h"
#include "tests/support/DemoFolder.h"
#include "tests/ui/support/UiTestDriver.h"
#include "ui/choosers/FileDialogWindow.h"
#include "ui/widgets/Button.h"
#include "ui/widgets/MenuItem.h"

using namespace tamber::models::viewer;
using namespace tamber::shell;
using namespace tamber::ui::choosers;
using namespace tamber::ui::widgets;
using test_support::DemoFolder;

namespace {

GeomEdit* OpenViewer(const char* name) { return dynamic_cast<GeomEdit*>(WS().Layer0()->FindChild(name, "GeomEdit")); }

MenuItem* ItemLabelled(Menu* menu, const std::string& label) {
    for (MenuItem* item : menu->Items()) {
        if (item->GetName() && label == item->GetName()) return item;
    }
    return nullptr;
}

}  // namespace

TEST(ModelImportUi, MenuDropAndViewerMenu) {
    DemoFolder demo;
    ASSERT_TRUE(demo.Ok());
    SetTagEditorFactory(FourCC("geom"), &GeomEdit::Create);
    const std::string models = demo.Game() + "/models";
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([&](UiTestDriver& ui) {
        RootMenu* menu = RootMenu::Create();
        ui.step();
        MenuItem* file = ItemLabelled(menu, "File");
        ASSERT_NE(file, nullptr);
        ui.click(UiTestDriver::center(file));
        MenuItem* item = ItemLabelled(file->Submenu(), "New Model From File");
        ASSERT_NE(item, nullptr);
        ui.click(UiTestDriver::center(item));
        ASSERT_NE(ui.find("Import Model/Path"), nullptr);
        ui.click("Import Model/Path");
        ui.key('A', kModCtrl);
        ui.type(models + "\n");
        ui.click("Import Model/Name");
        ui.type("demo crate.lwo\n");
        ui.step(2);
        ASSERT_EQ(WS().ModalWindow(), nullptr) << WS().ModalWindow()->GetName() << ": " << BoxText();
        GeomEdit* crate = OpenViewer("demo crate");
        ASSERT_NE(crate, nullptr);
        EXPECT_FALSE(crate->GetModel().triangles.empty());
        crate->Close();
        ui.step();

        // The 3D Metafile dropped where no window takes files.
        OsSetDropCallback(HandleDroppedFiles);
        ui.moveTo({1000, 1000});
        OsCurrentCallbacks().drop({models + "/demo crate.3dmf"});
        ui.step(2);
        GeomEdit* dropped = OpenViewer("demo crate");
        ASSERT_NE(dropped, nullptr);
        EXPECT_FALSE(dropped->GetModel().triangles.empty());
        ui.step();

        // The right-click menu: "Reset View" frames the model again after a zoom.
        const Rect client = dropped->Client();
        const Point middle{(client.left + client.right) / 2, (client.top + client.bottom) / 2};
        const float framed = dropped->Camera().distance;
        ui.moveTo(middle);
        ui.wheel(2);
        ASSERT_NE(dropped->Camera().distance, framed);
        ui.click(middle, 1);
        ASSERT_NE(ui.find("Popup Menu/Reset View"), nullptr);
        ASSERT_NE(ui.find("Popup Menu/Export LWO..."), nullptr);
        ui.click("Popup Menu/Reset View");
        ui.step();
        EXPECT_FLOAT_EQ(dropped->Camera().distance, framed);

        // "Export LWO..." writes "<tag name>.lwo" into the chosen folder.
        const std::string target = demo.Game() + "/exported";
        std::filesystem::create_directories(target);
        ui.click(middle, 1);
        ui.click("Popup Menu/Export LWO...");
        auto* dialog = dynamic_cast<FileDialogWindow*>(WS().ModalWindow());
        ASSERT_NE(dialog, nullptr);
        const std::string path = std::string(dialog->GetName()) + "/Path";
        ui.click(path.c_str());
        ui.key('A', kModCtrl);
        ui.type(target + "\n");
        ui.click(UiTestDriver::center(dialog->OKButton()));
        ui.step(2);
        EXPECT_EQ(WS().ModalWindow(), nullptr);
        EXPECT_TRUE(std::filesystem::is_regular_file(target + "/demo crate.lwo"));
        dropped->Close();
        menu->Close();
        ui.step();
    });
}
