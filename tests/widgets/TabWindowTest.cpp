// Tabs: overlapping layout, selection by press and by Ctrl+Tab / Ctrl+arrows, removal.
#include <gtest/gtest.h>

#include "tests/ui/support/UiTestDriver.h"
#include "ui/Skin.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/TabWindow.h"

using namespace tamber::ui;
using namespace tamber::ui::widgets;

namespace {

Window* Page(Window* tabs, const char* name) {
    auto* page = new Window(kStyleVisible | kStyleFocusable | kStylePanelB, tabs);
    page->SetName(name);
    return page;
}

}  // namespace

TEST(TabWindow, LayoutSelectionAndCycling) {
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([](UiTestDriver& ui) {
        auto* tabs = new TabWindow(kStyleVisible | kStylePanelA, nullptr);
        tabs->SetFrameXYWH(10, 10, 400, 300);
        Window* general = Page(tabs, "General");
        Window* colours = Page(tabs, "Colours");
        Window* sounds = Page(tabs, "Sounds");
        ASSERT_EQ(tabs->TabCount(), 3);
        ui.step();

        // The first page added is selected and fills the area below the tabs; the others hide.
        EXPECT_EQ(tabs->SelectedTab(), 0);
        EXPECT_TRUE(general->IsVisible());
        EXPECT_FALSE(colours->IsVisible());
        int tabHeight = WS().GetSkin()->TabHeight();
        EXPECT_EQ(general->Frame(), (Rect{10, 10 + tabHeight + 4, 410, 310}));
        const auto& list = tabs->Tabs();
        EXPECT_EQ(list[0].tab.left, 8);
        EXPECT_EQ(list[1].tab.left, list[0].tab.right - 8);
        EXPECT_EQ(list[2].tab.left, list[1].tab.right - 8);

        // A press on a tab selects it; on the overlap the selected tab wins.
        Rect second = tabs->Tabs()[1].tab;
        ui.click({10 + (second.left + second.right) / 2, 10 + second.Height() / 2});
        EXPECT_EQ(tabs->SelectedTab(), 1);
        EXPECT_TRUE(colours->IsVisible());
        ui.click({10 + second.left + 3, 10 + second.Height() / 2});
        EXPECT_EQ(tabs->SelectedTab(), 1);

        // Ctrl+Tab and Ctrl+Right go forwards, cyclically; Ctrl+Shift+Tab and Ctrl+Left back.
        ui.key(kKeyTab, kModCtrl);
        EXPECT_EQ(tabs->SelectedTab(), 2);
        ui.key(kKeyRight, kModCtrl);
        EXPECT_EQ(tabs->SelectedTab(), 0);
        ui.key(kKeyTab, kModCtrl | kModShift);
        EXPECT_EQ(tabs->SelectedTab(), 2);
        ui.key(kKeyLeft, kModCtrl);
        EXPECT_EQ(tabs->SelectedTab(), 1);
        tabs->SelectTab(7);
        EXPECT_EQ(tabs->SelectedTab(), 1);

        // Removing the selected page selects the one before it.
        tabs->SelectTab(2);
        delete sounds;
        EXPECT_EQ(tabs->TabCount(), 2);
        EXPECT_EQ(tabs->SelectedTab(), 1);
        EXPECT_TRUE(colours->IsVisible());
        delete general;
        EXPECT_EQ(tabs->SelectedTab(), 0);
        EXPECT_EQ(tabs->Tabs()[0].page, colours);
    });
}
