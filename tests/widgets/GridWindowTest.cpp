// Grid windows: keyboard navigation and selection, zoom, the list/grid switch.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/OsDriver.h"
#include "tests/ui/support/UiTestDriver.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/BitmapGridDDData.h"
#include "ui/widgets/Button.h"
#include "ui/widgets/GridWindow.h"
#include "ui/widgets/ListGridWindow.h"
#include "ui/widgets/ListWindow.h"

using namespace tamber::platform;
using namespace tamber::ui;
using namespace tamber::ui::widgets;

TEST(GridWindow, NavigationAndSelection) {
    UiTestDriver ui({.pixels = false});
    ASSERT_TRUE(ui.Ready());
    ui.Run([](UiTestDriver& ui) {
        auto* grid = new GridWindow(kStyleVisible, nullptr);
        grid->SetFrameXYWH(0, 0, 4 * 104 + 20, 300);
        for (int i = 0; i < 10; ++i) grid->AddCell(RowId(100 + i));
        ASSERT_EQ(grid->ColumnCount(), 4);
        std::vector<int> activated;
        int deletes = 0;
        grid->activateCell = [&](int index) { activated.push_back(index); };
        grid->deleteCells = [&] { ++deletes; };
        WS().SetFocus(grid, kFocusByProgram);

        ui.key(kKeyRight);  // no current cell yet: the first one
        EXPECT_EQ(grid->CurrentCell(), 0);
        ui.key(kKeyDown);
        ui.key(kKeyRight);
        EXPECT_EQ(grid->CurrentCell(), 5);
        EXPECT_EQ(grid->SelectedCells(), std::vector<int>{5});
        // Alt jumps to the row's ends; moves out of the row or the range are ignored.
        ui.key(kKeyRight, kModAlt);
        EXPECT_EQ(grid->CurrentCell(), 7);
        ui.key(kKeyRight);
        EXPECT_EQ(grid->CurrentCell(), 7);
        ui.key(kKeyDown);
        EXPECT_EQ(grid->CurrentCell(), 7);  // cell 11 does not exist
        ui.key(kKeyLeft, kModAlt);
        ui.key(kKeyDown, kModShift);
        EXPECT_EQ(grid->CurrentCell(), 8);
        EXPECT_EQ(grid->SelectedCells(), (std::vector<int>{4, 5, 6, 7, 8}));
        ui.key(kKeyEnter);
        EXPECT_EQ(activated, (std::vector<int>{4, 5, 6, 7, 8}));
        ui.key(kKeyUp);
        EXPECT_EQ(grid->SelectedCells(), std::vector<int>{4});
        ui.key('A', kModCtrl);
        EXPECT_EQ(grid->SelectedCells().size(), 10u);
        ui.key(kKeyDelete);
        EXPECT_EQ(deletes, 1);

        // Mouse: a click selects one cell, Ctrl toggles, a double click activates.
        EXPECT_EQ(grid->Position(ScrollableWindow::kVertical), 1);  // the keys kept cell 8 in view
        grid->ScrollTo(ScrollableWindow::kVertical, 0);
        ui.click({grid->Client().left + 104 + 50, grid->Client().top + 50});
        EXPECT_EQ(grid->SelectedCells(), std::vector<int>{1});
        OsCurrentCallbacks().key(kKeyLeftCtrl, 1);
        ui.wait(1);
        ui.click({grid->Client().left + 2 * 104 + 50, grid->Client().top + 50});
        OsCurrentCallbacks().key(kKeyLeftCtrl, 0);
        EXPECT_EQ(grid->SelectedCells(), (std::vector<int>{1, 2}));
        ui.wait(1);
        ui.doubleClick({grid->Client().left + 50, grid->Client().top + 50});
        EXPECT_EQ(activated.back(), 0);

        // Zoom changes the cell pitch and thus the columns; the steps are bounded.
        grid->ZoomIn();
        EXPECT_DOUBLE_EQ(grid->Zoom(), 1.5);
        EXPECT_EQ(grid->ColumnCount(), 2);
        for (int i = 0; i < 10; ++i) grid->ZoomOut();
        EXPECT_DOUBLE_EQ(grid->Zoom(), 0.25);
        grid->SetZoom(1.0);
        grid->SetFixedColumns(3);
        EXPECT_EQ(grid->ColumnCount(), 3);

        // A refill in another order keeps the selected and current cells by id.
        grid->SelectCell(2, false);
        grid->SelectCell(6, true);
        grid->Refill({109, 108, 107, 106, 104, 103, 102, 101, 100});
        EXPECT_EQ(grid->SelectedCells(), (std::vector<int>{3, 6}));
        EXPECT_EQ(grid->CurrentCell(), 3);
        EXPECT_EQ(grid->FindCell(105), -1);
        grid->RemoveAllCells();
        EXPECT_EQ(grid->CurrentCell(), -1);
        ui.key(kKeyDown);
        EXPECT_EQ(grid->CurrentCell(), -1);
    });
}

TEST(GridWindow, ListGridSwitchAndDrawing) {
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    // Captions "bitmap n" for the grid; the list's text items show their labels.
    struct Names : ListModel {
        CellValue Cell(RowId id, int column) const override {
            return column == 0 ? CellValue::Text("bitmap " + std::to_string(id)) : CellValue::Text("n/a");
        }
    } model;
    ui.Run([&](UiTestDriver& ui) {
        auto* frame = new Window(kStyleVisible | kStylePanelB, nullptr);
        frame->SetFrameXYWH(0, 0, 700, 400);
        auto* both = new ListGridWindow(ListWindow::kHeaderRow | ListWindow::kMultipleSelection, kStyleVisible, frame);
        both->SetFrameXYWH(10, 10, 680, 380);
        ListWindow* list = both->List();
        both->SetModel(&model, 0, 1);
        list->AddColumn("Name", CellType::kText, 200);
        list->AddColumn("Index", CellType::kText, 120);
        std::vector<std::string> names;
        for (int i = 0; i < 12; ++i) names.push_back("bitmap " + std::to_string(i));
        ListWindow::ListItem* parent = list->AddListItem(nullptr, 99, ListWindow::kItemText | ListWindow::kItemExpanded, "group");
        for (int i = 0; i < 12; ++i) {
            list->AddListItem(i < 3 ? parent : nullptr, RowId(i), ListWindow::kItemText | (i == 4 ? ListWindow::kItemDimmed : 0u),
                              names[size_t(i)]);
            both->Grid()->AddCell(RowId(i));
        }
        list->SelectListItem(list->ItemAtRow(2), false);
        EXPECT_EQ(std::string(both->SwitchButton()->GetName()), "Grid");
        EXPECT_TRUE(list->IsVisible());
        ui.step(2);
        ASSERT_TRUE(ui.screenshot("listwindow.ppm"));
        ui.click(UiTestDriver::center(both->SwitchButton()));
        EXPECT_TRUE(both->ShowingGrid());
        EXPECT_FALSE(list->IsVisible());
        EXPECT_EQ(std::string(both->SwitchButton()->GetName()), "List");
        EXPECT_EQ(both->Grid()->Frame().top, both->Client().top + ListGridWindow::kBarHeight);
        GridWindow* grid = both->Grid();
        grid->SelectCell(1, false);
        grid->SelectCell(2, true);
        ui.step(2);
        ASSERT_TRUE(ui.screenshot("gridwindow.ppm"));

        // Dragging the selected cells shows "<2 Bitmaps>" beside the mouse.
        grid->SetDragEnabled(true);
        struct Probe : Window {
            Probe() : Window(0, nullptr) {}
            void OnDrag() { ++count; }
            int count = 0;
        };
        auto* probe = new Probe;
        grid->dragStarted.Connect(probe, &Probe::OnDrag);
        Rect cell = grid->PictureRect(2);
        Point from{grid->Client().left + (cell.left + cell.right) / 2, grid->Client().top + (cell.top + cell.bottom) / 2};
        ui.moveTo(from);
        OsCurrentCallbacks().mouseButton(0, 1);
        ui.step(1);
        Point to{from.x + 150, from.y + 150};
        ui.moveTo({from.x + 20, from.y + 20});
        ui.moveTo(to);
        ui.step(2);
        EXPECT_EQ(probe->count, 1);
        EXPECT_EQ(grid->SelectedCells(), (std::vector<int>{1, 2}));
        std::vector<uint8_t> rgba = ui.pixels();
        int bright = 0;
        for (int y = to.y + 12; y < to.y + 28; ++y) {
            for (int x = to.x + 12; x < to.x + 112; ++x) {
                const uint8_t* p = &rgba[(size_t(y) * 1024 + size_t(x)) * 4];
                bright += p[0] > 200 && p[1] > 200 && p[2] > 200;
            }
        }
        EXPECT_GT(bright, 30);
        ASSERT_TRUE(ui.screenshot("griddrag.ppm"));
        OsCurrentCallbacks().mouseButton(0, 0);
        ui.step(2);

        ui.wait(1);
        ui.click(UiTestDriver::center(both->SwitchButton()));
        EXPECT_FALSE(both->ShowingGrid());
        EXPECT_TRUE(list->IsVisible());
    });
}
