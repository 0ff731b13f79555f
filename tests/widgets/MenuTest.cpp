// Menus: placement by visible area, separators, outside presses, submenus ending the
// outermost run, the bar's chosen signal, keys and the first-letter search.
#include <gtest/gtest.h>

#include <vector>

#include "tests/ui/support/UiTestDriver.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/Menu.h"
#include "ui/widgets/MenuItem.h"

using namespace tamber::ui;
using namespace tamber::ui::widgets;

namespace {

// Covers the surface: a right press opens the menu there, left presses are counted.
struct Opener : Window {
    explicit Opener(Menu* menu) : Window(kStyleVisible, nullptr), menu(menu) { SetFrameXYWH(0, 0, 1024, 768); }
    void OnMouseButton(Event& event) override {
        if (!event.ButtonPressed()) return;
        if (event.Button() == 0) {
            ++leftPresses;
            return;
        }
        running = true;
        result = PopupMenu(menu, event.Position());
        running = false;
    }
    void OnChosen(MenuItem* item) { chosen.push_back(item->Id()); }
    Menu* menu;
    bool running = false;
    int result = -2;
    int leftPresses = 0;
    std::vector<int> chosen;
};

Point Center(const Window* w) { return UiTestDriver::center(w); }

}  // namespace

TEST(Menu, PlacementSeparatorsAndOutsidePresses) {
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([](UiTestDriver& ui) {
        auto* menu = new Menu(false);
        AddMenuItem(menu, "Alpha", nullptr, 10, true);
        MenuItem* line = AddSeparator(menu, nullptr);
        MenuItem* beta = AddMenuItem(menu, "Beta", nullptr, 11, true);
        MenuItem* off = AddMenuItem(menu, "Disabled", nullptr, 12, false);
        auto* opener = new Opener(menu);

        // Near the bottom-right corner the menu opens above and to the left of the point.
        ui.click({1000, 740}, 1);
        ASSERT_TRUE(opener->running);
        EXPECT_TRUE(menu->IsVisible());
        EXPECT_EQ(menu->Frame().right, 1000);
        EXPECT_EQ(menu->Frame().bottom, 740);

        // Separators and disabled items ignore presses and keep the menu open.
        ui.click(Center(line));
        ui.click(Center(off));
        EXPECT_TRUE(opener->running);
        ui.click(Center(beta));
        EXPECT_FALSE(opener->running);
        EXPECT_EQ(opener->result, 11);
        EXPECT_FALSE(menu->IsVisible());

        // In open space it opens below and to the right; a press outside ends the run
        // with nothing and still reaches the window it was aimed at.
        ui.click({100, 100}, 1);
        ASSERT_TRUE(opener->running);
        EXPECT_EQ(menu->Frame().left, 100);
        EXPECT_EQ(menu->Frame().top, 100);
        ui.click({600, 600});
        EXPECT_FALSE(opener->running);
        EXPECT_EQ(opener->result, -1);
        EXPECT_EQ(opener->leftPresses, 1);
    });
}

TEST(Menu, SubmenusAndTheBar) {
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([](UiTestDriver& ui) {
        auto* menu = new Menu(false);
        MenuItem* file = AddMenuItem(menu, "File", nullptr, 1, true);
        AddMenuItem(menu, "Quit", nullptr, 2, true);
        AddMenuItem(menu, "Open", file, 3, true);
        MenuItem* recent = AddMenuItem(menu, "Recent", file, 4, true);
        MenuItem* last = AddMenuItem(menu, "Last one", recent, 5, true);
        ASSERT_NE(file->Submenu(), nullptr);
        auto* opener = new Opener(menu);

        // Moving over an item with a submenu opens it beside the item.
        ui.click({200, 200}, 1);
        ASSERT_TRUE(opener->running);
        ui.moveTo(Center(file));
        ASSERT_TRUE(file->Submenu()->IsVisible());
        EXPECT_EQ(file->Submenu()->Frame().left, file->Frame().right);
        ui.moveTo(Center(recent));
        ASSERT_TRUE(recent->Submenu()->IsVisible());
        // Choosing an item two levels down ends the outermost run with its id.
        ui.click(Center(last));
        EXPECT_FALSE(opener->running);
        EXPECT_EQ(opener->result, 5);
        EXPECT_FALSE(file->Submenu()->IsVisible());
        EXPECT_FALSE(recent->Submenu()->IsVisible());

        // A bar runs its tree once a submenu opens and reports the choice by signal.
        auto* bar = new Menu(true);
        MenuItem* edit = AddMenuItem(bar, "Edit", nullptr, 20, true);
        AddMenuItem(bar, "Help", nullptr, 21, true);
        MenuItem* undo = AddMenuItem(bar, "Undo", edit, 22, true);
        bar->chosen.Connect(opener, &Opener::OnChosen);
        EXPECT_EQ(bar->Frame().Width(), 1024);
        ui.click("Menu Bar/Help");
        EXPECT_EQ(opener->chosen, std::vector<int>{21});
        ui.click(Center(edit));
        EXPECT_TRUE(bar->IsRunning());
        EXPECT_EQ(undo->Submenu(), nullptr);
        EXPECT_EQ(edit->Submenu()->Frame().top, edit->Frame().bottom);
        ui.click(Center(undo));
        EXPECT_FALSE(bar->IsRunning());
        EXPECT_EQ(opener->chosen, (std::vector<int>{21, 22}));
    });
}

TEST(Menu, KeysAndFirstLetterSearch) {
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([](UiTestDriver& ui) {
        auto* menu = new Menu(false);
        AddMenuItem(menu, "Alpha", nullptr, 1, true);
        MenuItem* beta = AddMenuItem(menu, "beta", nullptr, 2, true);
        AddSeparator(menu, nullptr);
        MenuItem* bravo = AddMenuItem(menu, "Bravo", nullptr, 3, true);
        MenuItem* more = AddMenuItem(menu, "More", nullptr, 4, true);
        MenuItem* zulu = AddMenuItem(menu, "Zulu", more, 5, true);
        auto* opener = new Opener(menu);

        ui.click({300, 300}, 1);
        ASSERT_TRUE(opener->running);
        // Letters find the next match after the highlight, ignoring case, wrapping around.
        ui.type("B");
        EXPECT_EQ(menu->HighlightedItem(), beta);
        ui.type("b");
        EXPECT_EQ(menu->HighlightedItem(), bravo);
        ui.type("b");
        EXPECT_EQ(menu->HighlightedItem(), beta);
        int beeps = ui.platform().beeps;
        ui.type("q");
        EXPECT_EQ(ui.platform().beeps, beeps + 1);
        EXPECT_EQ(menu->HighlightedItem(), beta);

        // Down skips the separator; Right opens a submenu; a letter that only the outer
        // menu has moves back out to it.
        ui.key(kKeyDown);
        EXPECT_EQ(menu->HighlightedItem(), bravo);
        ui.key(kKeyDown);
        ui.key(kKeyRight);
        ASSERT_TRUE(more->Submenu()->IsVisible());
        EXPECT_EQ(more->Submenu()->HighlightedItem(), zulu);
        ui.type("a");
        EXPECT_FALSE(more->Submenu()->IsVisible());
        EXPECT_STREQ(menu->HighlightedItem()->GetName(), "Alpha");

        // Escape ends with nothing (a frame more lets the run return to the opener).
        ui.key(kKeyEscape);
        ui.step();
        EXPECT_FALSE(opener->running);
        EXPECT_EQ(opener->result, -1);
    });
}
