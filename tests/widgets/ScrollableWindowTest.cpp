// Scroll bars: geometry, clamping, arrows with auto-repeat, pages, thumb, wheel, corner.
#include <gtest/gtest.h>

#include <vector>

#include "tests/ui/support/UiTestDriver.h"
#include "ui/Skin.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/ScrollableWindow.h"

using namespace tamber::ui;
using namespace tamber::ui::widgets;

namespace {

struct Scroller : ScrollableWindow {
    Scroller() : ScrollableWindow(kStyleVisible, nullptr) {}
    void OnVerticalScroll(int32_t position, int32_t old) override { moves.push_back({position, old}); }
    void OnCornerClick() override { ++cornerClicks; }
    std::vector<std::pair<int, int>> moves;
    int cornerClicks = 0;
};

// A point in surface pixels at a frame-local offset inside a bar.
Point At(const Window* w, int x, int y) { return {w->Frame().left + x, w->Frame().top + y}; }

}  // namespace

TEST(ScrollableWindow, BarGeometryAndClamping) {
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([](UiTestDriver& ui) {
        int bar = WS().GetSkin()->ScrollBarWidth();
        ASSERT_GT(bar, 0);
        auto* w = new Scroller;
        w->SetFrameXYWH(100, 50, 200, 128);
        EXPECT_EQ(w->Client().Width(), 200);

        // Content that fits: room is reserved but no bar, and every position is 0.
        w->SetScrollRange(ScrollableWindow::kVertical, 100, 100);
        EXPECT_EQ(w->Client().Width(), 200 - bar);
        EXPECT_FALSE(w->BarShown(ScrollableWindow::kVertical));
        w->ScrollTo(ScrollableWindow::kVertical, 50);
        EXPECT_EQ(w->Position(ScrollableWindow::kVertical), 0);

        // A 100-pixel track over 1000 units showing 10: the thumb comes out at 1 and is raised to 14.
        w->SetScrollRange(ScrollableWindow::kVertical, 1000, 10);
        ASSERT_TRUE(w->BarShown(ScrollableWindow::kVertical));
        Rect thumb = w->ThumbRect(ScrollableWindow::kVertical);
        EXPECT_EQ(thumb.Height(), 14);
        EXPECT_EQ(thumb.top, 14);
        w->ScrollTo(ScrollableWindow::kVertical, 5000);
        EXPECT_EQ(w->Position(ScrollableWindow::kVertical), 990);
        EXPECT_EQ(w->ThumbRect(ScrollableWindow::kVertical).top, 14 + 86);
        EXPECT_EQ(w->moves.back(), (std::pair<int, int>{990, 0}));
        // Shrinking the content pulls the position back inside the range.
        w->SetScrollRange(ScrollableWindow::kVertical, 300, 100);
        EXPECT_EQ(w->Position(ScrollableWindow::kVertical), 200);
        EXPECT_EQ(w->ThumbRect(ScrollableWindow::kVertical).Height(), 33);

        // A track shorter than 15 pixels shows no bar.
        w->SetFrameXYWH(100, 50, 200, 42);
        EXPECT_FALSE(w->BarShown(ScrollableWindow::kVertical));

        // Both axes: the bars leave a corner, which reports its clicks.
        w->SetFrameXYWH(100, 50, 200, 128);
        w->SetScrollRange(ScrollableWindow::kHorizontal, 400, 100);
        EXPECT_EQ(w->Client().Height(), 128 - bar);
        EXPECT_TRUE(w->BarShown(ScrollableWindow::kHorizontal));
        EXPECT_EQ(w->ScrollPartAt(At(w, 200 - bar / 2, 128 - bar / 2)), ScrollableWindow::kPartCorner);
        ui.click(At(w, 200 - bar / 2, 128 - bar / 2));
        EXPECT_EQ(w->cornerClicks, 1);
    });
}

TEST(ScrollableWindow, ArrowsPagesThumbAndWheel) {
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([](UiTestDriver& ui) {
        int bar = WS().GetSkin()->ScrollBarWidth();
        auto* w = new Scroller;
        w->SetFrameXYWH(0, 0, 200, 228);  // a 200-pixel track
        w->SetScrollRange(ScrollableWindow::kVertical, 1000, 100);
        w->SetLineStep(3);
        constexpr auto V = ScrollableWindow::kVertical;
        Point down = At(w, 200 - bar / 2, 228 - 5);
        EXPECT_EQ(w->ScrollPartAt(down), ScrollableWindow::kPartDownArrow);

        // A click on an arrow scrolls one line.
        ui.click(down);
        EXPECT_EQ(w->Position(V), 3);

        // Held, the arrow repeats every 1/30 second while the mouse stays on it.
        ui.moveTo(down);
        OsCurrentCallbacks().mouseButton(0, 1);
        ui.step();
        EXPECT_EQ(w->Position(V), 6);
        ui.wait(0.05);
        ui.step();
        EXPECT_EQ(w->Position(V), 9);
        ui.moveTo(At(w, 0, 0));  // off the arrow: no repeat
        ui.wait(0.1);
        ui.step();
        EXPECT_EQ(w->Position(V), 9);
        OsCurrentCallbacks().mouseButton(0, 0);
        ui.step();
        EXPECT_EQ(w->PressedPart(), ScrollableWindow::kPartNone);

        // The track below the thumb pages by the visible size, repeating every 0.2 s
        // until the thumb reaches the mouse.
        Point track = At(w, 200 - bar / 2, 14 + 150);
        ui.moveTo(track);
        OsCurrentCallbacks().mouseButton(0, 1);
        ui.step();
        EXPECT_EQ(w->Position(V), 109);
        for (int i = 0; i < 10; ++i) {
            ui.wait(0.2);
            ui.step();
        }
        int stopped = w->Position(V);
        EXPECT_GT(stopped, 109);
        EXPECT_LT(stopped, 900);
        OsCurrentCallbacks().mouseButton(0, 0);
        ui.step();

        // The thumb follows the mouse in proportion: the free track is 200 - 20 = 180
        // pixels for 900 units, so 18 pixels move 90 units.
        w->ScrollTo(V, 0);
        Rect thumb = w->ThumbRect(V);
        EXPECT_EQ(thumb.Height(), 20);
        Point grip = At(w, 200 - bar / 2, thumb.top + 5);
        ui.drag(grip, {grip.x, grip.y + 18});
        EXPECT_EQ(w->Position(V), 90);

        // The wheel turned away from the user scrolls towards the start.
        ui.moveTo(UiTestDriver::center(w));
        ui.wheel(2);
        EXPECT_EQ(w->Position(V), 88);
        ui.wheel(-5);
        EXPECT_EQ(w->Position(V), 93);
    });
}
