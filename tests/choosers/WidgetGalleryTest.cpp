// The widget gallery with the real font and skin: every widget present, every chooser
// reachable from it with its result written back, and screenshots of each for review.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/ui/support/UiTestDriver.h"
#include "ui/WindowSystem.h"
#include "ui/choosers/FileDialogWindow.h"
#include "ui/choosers/WidgetGallery.h"
#include "ui/widgets/TabWindow.h"
#include "ui/widgets/TextBox.h"

using namespace tamber::ui;
using namespace tamber::ui::choosers;
using namespace tamber::ui::widgets;

namespace {

// Screenshots go where TAMBER_SCREENSHOTS points, when it is set.
void Shoot(UiTestDriver& ui, const char* name) { EXPECT_TRUE(ui.screenshot(std::string(name) + ".ppm")); }

}  // namespace

TEST(WidgetGallery, ShowsEveryWidgetAndOpensEveryChooser) {
    UiTestDriver ui({.width = 1024, .height = 768});
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([](UiTestDriver& ui) {
        ShowWidgetGallery();
        ui.step();
        for (const char* path : {"Widget Gallery/Menu Bar", "Widget Gallery/Push Button", "Widget Gallery/Checked",
                                 "Widget Gallery/Drop-down List", "Widget Gallery/Color Button",
                                 "Widget Gallery/Color Bar", "Widget Gallery/Editor", "Widget Gallery/Tabs/List",
                                 "Widget Gallery/Tabs/Grid", "Widget Gallery/Tabs/Splitter",
                                 "Widget Gallery/Tabs/Scrolling"}) {
            EXPECT_NE(ui.find(path), nullptr) << path;
        }
        Shoot(ui, "gallery");
        auto* tabs = static_cast<TabWindow*>(ui.find("Widget Gallery/Tabs"));
        for (int page = 1; page < tabs->TabCount(); ++page) {
            tabs->SelectTab(page);
            ui.step();
            Shoot(ui, ("gallery-page" + std::to_string(page)).c_str());
        }
        tabs->SelectTab(0);

        WidgetGallery* gallery = WidgetGallery::Get(false);
        ASSERT_NE(gallery, nullptr);
        struct Case {
            const char* button;
            const char* shot;
            const char* result;
        };
        for (const Case& c : {Case{"Widget Gallery/Open File...", "open-file", "Open: cancelled"},
                              Case{"Widget Gallery/Open Files...", "open-files", "Open several: cancelled"},
                              Case{"Widget Gallery/Save File...", "save-file", "Save: cancelled"},
                              Case{"Widget Gallery/Choose Folder...", "choose-folder", "Folder: cancelled"},
                              Case{"Widget Gallery/Choose Color...", "choose-color", "Color: cancelled"}}) {
            ui.click(c.button);
            ASSERT_NE(WS().ModalWindow(), nullptr) << c.button;
            ui.step(2);
            Shoot(ui, c.shot);
            ui.key(kKeyEscape);
            ui.step();
            EXPECT_NE(gallery->Results()->Text().find(c.result), std::string::npos) << c.button;
        }
        ui.click("Widget Gallery/Show Message Box...");
        Shoot(ui, "message-box");
        ui.click("Gallery Question/No");
        ui.step();
        EXPECT_NE(gallery->Results()->Text().find("Message box: button 1"), std::string::npos);

        // The menu bar reaches the choosers through a submenu.
        ui.click("Widget Gallery/Menu Bar/Choosers");
        // Hovering opens the submenu (a click on an open one would close it again).
        ui.moveTo(UiTestDriver::center(ui.find("Choosers/More")));
        ui.step(2);
        Shoot(ui, "menu");
        ui.click("More/Message Box...");
        ASSERT_NE(WS().ModalWindow(), nullptr);
        ui.click("Gallery Question/Yes");
        ui.step();
        EXPECT_NE(gallery->Results()->Text().find("Message box: button 0"), std::string::npos);
    });
}
