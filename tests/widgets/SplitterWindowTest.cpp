// The splitter: clamping in each mode, layout of the panes, dragging the bar.
#include <gtest/gtest.h>

#include "tests/ui/support/UiTestDriver.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/SplitterWindow.h"

using namespace tamber::ui;
using namespace tamber::ui::widgets;

TEST(SplitterWindow, ClampingLayoutAndDragging) {
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([](UiTestDriver& ui) {
        int bar = WS().ThickBorder();
        ASSERT_GT(bar, 0);
        auto* split = new SplitterWindow(kStyleVisible, nullptr, SplitterWindow::kSideBySide);
        split->SetFrameXYWH(0, 0, 80, 100);
        auto* left = new Window(kStyleVisible | kStylePanelB, nullptr);
        auto* right = new Window(kStyleVisible | kStylePanelB, nullptr);
        split->SetPanes(left, right);

        // Too small for both minimums: the bar goes to the middle.
        split->SetMinimums(50, 50);
        split->SetSplitPosition(10);
        EXPECT_EQ(split->SplitPosition(), 40);

        split->SetFrameXYWH(0, 0, 400, 100);
        split->SetSplitPosition(10);
        EXPECT_EQ(split->SplitPosition(), 50);
        split->SetSplitPosition(390);
        EXPECT_EQ(split->SplitPosition(), 400 - 50 - bar);
        split->SetSplitPosition(200);
        EXPECT_EQ(left->Frame(), (Rect{0, 0, 200, 100}));
        EXPECT_EQ(right->Frame(), (Rect{200 + bar, 0, 400, 100}));

        // Fixed modes keep one pane at its minimum, also across resizes.
        split->SetSplitMode(SplitterWindow::kKeepFirst);
        EXPECT_EQ(split->SplitPosition(), 50);
        split->SetFrameXYWH(0, 0, 600, 100);
        EXPECT_EQ(left->Frame().Width(), 50);
        split->SetSplitMode(SplitterWindow::kKeepSecond);
        EXPECT_EQ(right->Frame().Width(), 50);

        // Only a free splitter drags; the drag is clamped.
        int before = split->SplitPosition();
        Point grip{split->Client().left + before + bar / 2, 50};
        ui.drag(grip, {grip.x - 200, 50});
        EXPECT_EQ(split->SplitPosition(), before);
        split->SetSplitMode(SplitterWindow::kFree);
        split->SetSplitPosition(300);
        grip = {300 + bar / 2, 50};
        ui.drag(grip, {grip.x - 120, 50});
        EXPECT_EQ(split->SplitPosition(), 180);
        ui.drag({180 + bar / 2, 50}, {5, 50});
        EXPECT_EQ(split->SplitPosition(), 50);

        // Stacked panes split the height; with one pane left it fills the client.
        auto* stack = new SplitterWindow(kStyleVisible, nullptr, SplitterWindow::kStacked);
        stack->SetFrameXYWH(0, 200, 300, 300);
        auto* top = new Window(kStyleVisible, nullptr);
        auto* bottom = new Window(kStyleVisible, nullptr);
        stack->SetPanes(top, bottom);
        stack->SetSplitPosition(100);
        EXPECT_EQ(top->Frame(), (Rect{0, 200, 300, 300}));
        delete bottom;
        EXPECT_EQ(stack->SecondPane(), nullptr);
        stack->SetSplitPosition(100);
        EXPECT_EQ(top->Frame(), (Rect{0, 200, 300, 500}));
    });
}
