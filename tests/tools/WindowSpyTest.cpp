// The window spy: the tree it lists (itself included), F5, stale rows, one spy at
// a time and its placement.
#include <gtest/gtest.h>

#include "base/Preferences.h"
#include "tests/ui/support/UiTestDriver.h"
#include "tools/WindowSpy.h"
#include "ui/WindowSystem.h"

using namespace tamber::base;
using namespace tamber::tools;
using namespace tamber::ui;

using ListItem = ListWindow::ListItem;

namespace {

// Rows are named by the addresses of their windows.
const ListItem* ItemOf(const ListWindow* list, const Window* window) {
    return list->FindItem(reinterpret_cast<uintptr_t>(window));
}

}  // namespace

TEST(WindowSpy, ListsTheTreeItselfIncludedRefreshesAndKeepsItsPlace) {
    Preferences::Instance().Clear();
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([](UiTestDriver& ui) {
        OpenWindowSpy();
        ui.step(2);
        auto* spy = static_cast<WindowView*>(ui.find("Window Spy"));
        ASSERT_NE(spy, nullptr);
        ListWindow* list = spy->List();
        // No stored placement: 700 high, and wider than 512 so that every column shows.
        EXPECT_EQ(spy->Frame().Height(), 700);
        EXPECT_GT(spy->Frame().Width(), 512);
        EXPECT_EQ(list->MissingColumnsWidth(), 0);
        EXPECT_EQ(list->Frame(), spy->Client());
        // Opened by a command, it takes the keys.
        ASSERT_NE(WS().Focus(), nullptr);
        EXPECT_TRUE(WS().Focus()->IsInside(spy));
        const ListItem* layer0 = ItemOf(list, WS().Layer0());
        ASSERT_NE(layer0, nullptr);
        EXPECT_TRUE(list->FirstItem()->Expanded() && layer0->Expanded());
        EXPECT_EQ(layer0->parent, list->FirstItem());
        // The spy and its own list under it; the spy's row is not expanded.
        const ListItem* self = ItemOf(list, spy);
        const ListItem* own = ItemOf(list, list);
        ASSERT_TRUE(self && own);
        EXPECT_EQ(self->parent, layer0);
        EXPECT_TRUE(self->HasChildren() && !self->Expanded());
        EXPECT_EQ(own->parent, self);
        EXPECT_EQ(list->CellText(self, 0) + "|" + list->CellText(self, 1), "Window Spy|WindowView");
        EXPECT_EQ(list->CellText(own, 0) + "|" + list->CellText(own, 1), "(unnamed)|ListWindow");
        EXPECT_EQ(list->CellText(own, 2).substr(0, 2), "0x");
        EXPECT_EQ(list->Cell(own, 2).number, double(reinterpret_cast<uintptr_t>(list)));
        ui.screenshot("window-spy.ppm");

        // A window made later appears after F5; one closed since stays as it was listed.
        auto* late = new Window(kStyleDocument, nullptr);
        late->SetName("Late");
        ui.step();
        EXPECT_EQ(ItemOf(list, late), nullptr);
        // F5 lists the tree again; the selected row stays selected.
        list->SelectListItem(list->FindItem(reinterpret_cast<uintptr_t>(spy)), false);
        ui.key(kKeyF5);
        ASSERT_EQ(list->Selection().size(), 1u);
        EXPECT_EQ(list->Selection()[0]->id, reinterpret_cast<uintptr_t>(spy));
        late->Close();
        ui.step(2);
        const ListItem* stale = ItemOf(list, late);
        ASSERT_NE(stale, nullptr);
        EXPECT_EQ(list->CellText(stale, 0), "Late");

        // Opening again brings the one spy to the front.
        auto* cover = new Window(kStyleDocument, nullptr);
        cover->SetFrameXYWH(0, 0, 300, 300);
        OpenWindowSpy();
        EXPECT_EQ(WS().Layer0()->FirstChild(), spy);
        EXPECT_EQ(spy->NextSibling(), cover);
        EXPECT_EQ(cover->NextSibling(), nullptr);

        // Closing stores the placement; the next spy comes back there.
        spy->SetFrameXYWH(40, 30, 600, 400);
        const Rect placed = spy->Frame();
        spy->Close();
        ui.step(2);
        OpenWindowSpy();
        ASSERT_NE(ui.find("Window Spy"), nullptr);
        EXPECT_EQ(ui.find("Window Spy")->Frame(), placed);
    });
}
