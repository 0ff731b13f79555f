// The add-on builder's dialog and boxes on a copy of the demo game folder: the
// detail-texture error that comes before any dialog, the fields and their check,
// a build that the archive browser lists at once, and cancelling.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "demo/DemoGame.h"
#include "base/Preferences.h"
#include "tags/Codex.h"
#include "tests/ui/support/DialogDriving.h"
#include "tests/ui/support/UiTestDriver.h"
#include "tools/AddonDialog.h"
#include "tools/ArchiveBrowser.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/Button.h"
#include "ui/widgets/MessageBoxWindow.h"
#include "ui/widgets/TextBox.h"

using namespace tamber::demo;
using namespace tamber::base;
using namespace tamber::tags;
using namespace tamber::tools;
using namespace tamber::ui;
using namespace tamber::ui::widgets;
using namespace test_support;

namespace fs = std::filesystem;

TEST(AddonDialog, BuildsThroughTheDialog) {
    char pattern[] = "/tmp/tamber-addon-XXXXXX";
    const std::string root = ::mkdtemp(pattern), game = root + "/game/";
    ASSERT_TRUE(GenerateDemoGame(game, DemoOptions{}));
    Preferences::Instance().SetPath(root + "/prefs.txt");
    ArchiveBrowser::InstallCodexHooks();
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([&](UiTestDriver& ui) {
        Codex::Instance().Init(game);
        ui.step();
        // The demo's old detail map uses a missing texture: no dialog at all.
        auto* dtex = new Opener(&BuildDtexAddon);
        ui.click(UiTestDriver::center(dtex));
        EXPECT_EQ(BoxText(ui, "Error"), "The detail map 'demo old valley details' (told) referenced a detail texture "
                                        "('lava') which could not be found. Aborting.");
        EXPECT_EQ(ui.find("Build Add-on plugin"), nullptr);
        ui.click("Error/Ok");
        ui.step(2);
        EXPECT_FALSE(dtex->running);
        dtex->Close();

        auto* opener = new Opener(&BuildRegularAddon);
        ui.click(UiTestDriver::center(opener));
        auto* popup = dynamic_cast<AddonPopup*>(ui.find("Build Add-on plugin"));
        ASSERT_NE(popup, nullptr);
        EXPECT_EQ(WS().Focus(), popup->NameField());
        EXPECT_EQ(popup->NameField()->Text() + popup->UrlField()->Text() + popup->PriorityField()->Text(),
                  "<addon name><addon url>100");
        EXPECT_LE(popup->HelpText()->Frame().bottom, popup->OKButton()->Frame().top);
        ui.screenshot("addon_dialog.ppm");
        // Every field invalid: one box names them in order, and the build stops.
        popup->NameField()->SetText("");
        popup->UrlField()->SetText("");
        popup->PriorityField()->SetText("1");
        ui.click("Build Add-on plugin/OK");
        EXPECT_EQ(BoxText(ui, "Error"), "The following fields are invalid:  name url version");
        ui.click("Error/OK");
        ui.step(2);
        EXPECT_FALSE(opener->running);

        // The name typed over the selected text; progress, report, and the browser lists it.
        ui.click(UiTestDriver::center(opener));
        ui.type("my addon");
        ui.click("Build Add-on plugin/OK");
        EXPECT_NE(WaitFor(ui, "Building Add-on"), nullptr);
        EXPECT_EQ(BoxText(ui, "Success"), "The addon has been written to the plugins folder as 'my addon'");
        ui.click("Success/OK");
        ui.step(2);
        EXPECT_FALSE(opener->running);
        ASSERT_NE(Codex::Instance().FindArchiveByName("my addon"), nullptr);
        bool listed = false;
        for (ListWindow::ListItem* item = ArchiveBrowser::Get()->InactiveList()->FirstItem(); item; item = item->next)
            listed = listed || item->label == "my addon";
        EXPECT_TRUE(listed);

        // Cancel writes nothing.
        ui.click(UiTestDriver::center(opener));
        ui.type("other");
        ui.click("Build Add-on plugin/Cancel");
        ui.step(2);
        EXPECT_FALSE(opener->running);
        EXPECT_FALSE(fs::exists(game + "plugins/other"));
    });
    fs::remove_all(root);
}
