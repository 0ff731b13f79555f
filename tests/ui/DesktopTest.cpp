// Working with top-level windows as a user does: moving, resizing and closing by the
// frame, the global keys, placements and cascading.
#include <gtest/gtest.h>

#include "platform/OsDriver.h"
#include "base/Preferences.h"
#include "tests/ui/support/UiTestDriver.h"
#include "ui/Window.h"
#include "ui/WindowPlacement.h"
#include "ui/WindowSystem.h"

using namespace tamber::platform;
using namespace tamber::base;
using namespace tamber::ui;

namespace {

Window* Document(const char* name, int x, int y) {
    auto* w = new Window(kStyleDocument | kStyleVisible, nullptr);
    w->SetName(name);
    w->SetFrameXYWH(x, y, 300, 200);
    return w;
}

}  // namespace

TEST(Desktop, FrameMouseMovesResizesAndCloses) {
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([](UiTestDriver& ui) {
        Window* doc = Document("Doc", 100, 100);
        Rect f = doc->Frame();
        int b = WS().ThickBorder();
        // Dragging the title bar moves the window, never above the desktop's top.
        ui.drag({f.left + 40, f.top + b + 8}, {f.left + 90, f.top + b + 28});
        EXPECT_EQ(doc->Frame().left, f.left + 50);
        EXPECT_EQ(doc->Frame().top, f.top + 20);
        ui.drag({doc->Frame().left + 40, doc->Frame().top + b + 8}, {doc->Frame().left + 40, -500});
        EXPECT_EQ(doc->Frame().top, WS().Layer0()->Client().top);
        // Dragging the bottom-right corner resizes.
        f = doc->Frame();
        ui.drag({f.right - 1, f.bottom - 1}, {f.right + 59, f.bottom + 39});
        EXPECT_EQ(doc->Frame().Width(), f.Width() + 60);
        EXPECT_EQ(doc->Frame().Height(), f.Height() + 40);
        // The maximise box maximises; a double click on the title restores.
        Rect box = doc->TitleBoxRect(kHitMaximiseBox);
        ui.click({box.left + 2, box.top + 2});
        EXPECT_EQ(doc->DisplayState(), kDisplayMaximised);
        ui.doubleClick({doc->Frame().left + 40, doc->Frame().top + b + 8});
        EXPECT_EQ(doc->DisplayState(), kDisplayNormal);
        // Pressing the close box and leaving it before the release does not close.
        box = doc->TitleBoxRect(kHitCloseBox);
        ui.drag({box.left + 2, box.top + 2}, {box.left - 60, box.top + 2});
        EXPECT_EQ(WS().Layer0()->FirstChild(), doc);
        ui.click({box.left + 2, box.top + 2});
        EXPECT_EQ(WS().Layer0()->FirstChild(), nullptr);
    });
}

TEST(Desktop, GlobalKeys) {
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([](UiTestDriver& ui) {
        WindowSystem& ws = WS();
        Window* a = Document("A", 50, 50);
        Window* b = Document("B", 400, 300);
        EXPECT_EQ(ws.SetFocus(b, kFocusByProgram), nullptr);  // nothing in it can hold the focus
        a->SetFlags(kStyleFocusable);
        b->SetFlags(kStyleFocusable);
        ws.SetFocus(b, kFocusByProgram);

        // F11 sends the focused window back and brings the next one forward.
        ui.key(kKeyF11);
        EXPECT_EQ(ws.Layer0()->FirstChild(), a);
        EXPECT_EQ(ws.Focus(), a);

        // F10 shows every window scaled down; a click on one chooses it and leaves.
        ui.key(kKeyF10);
        EXPECT_TRUE(ws.InOverview());
        ui.wait(0.3);
        ui.step(2);
        Rect shown = b->DisplayFrame();
        EXPECT_LE(shown.Width(), b->Frame().Width());
        EXPECT_NE(shown, b->Frame());
        ui.click({(shown.left + shown.right) / 2, (shown.top + shown.bottom) / 2});
        ui.wait(0.3);
        ui.step(3);
        EXPECT_FALSE(ws.InOverview());
        EXPECT_EQ(ws.Focus(), b);
        EXPECT_EQ(b->DisplayFrame(), b->Frame());
        EXPECT_EQ(ws.HandlerDepth(), 0u);

        // Ctrl+F1 toggles the debug overlay.
        ui.key(kKeyF1, kModCtrl);
        EXPECT_TRUE(ws.DebugOverlay());
        ui.step(2);
        ui.key(kKeyF1, kModCtrl);
        EXPECT_FALSE(ws.DebugOverlay());

        // Ctrl+F12 puts the focused window's image on the clipboard; with Alt its client only.
        ui.key(kKeyF12, kModCtrl);
        ui.step(2);
        std::vector<uint8_t> rgb;
        int w = 0, h = 0;
        ASSERT_TRUE(OsGetClipboardImage(rgb, w, h));
        EXPECT_EQ(w, b->Frame().Width());
        EXPECT_EQ(h, b->Frame().Height());
        ui.key(kKeyF12, kModCtrl | kModAlt);
        ui.step(2);
        ASSERT_TRUE(OsGetClipboardImage(rgb, w, h));
        EXPECT_EQ(w, b->Client().Width());
    });
}

TEST(Desktop, PlacementsAndCascade) {
    UiTestDriver ui({.pixels = false});
    ASSERT_TRUE(ui.Ready());
    ui.Run([](UiTestDriver&) {
        ResetCascade();
        Window* doc = Document("Doc", 10, 20);
        SavePlacement(doc, "TestPlacement");
        std::string stored;
        ASSERT_TRUE(GetPrefString("TestPlacement", stored));
        EXPECT_EQ(stored, "0 10 20 310 220");
        doc->ToggleMaximised();
        SavePlacement(doc, "TestPlacement");
        GetPrefString("TestPlacement", stored);
        EXPECT_EQ(stored, "2 10 20 310 220");  // the normal frame is kept while maximised

        Window* other = Document("Other", 0, 0);
        ASSERT_TRUE(RestorePlacement(other, "TestPlacement", true));
        EXPECT_EQ(other->DisplayState(), kDisplayMaximised);
        other->ToggleMaximised();
        EXPECT_EQ(other->RelativeFrame(), (Rect{10, 20, 310, 220}));

        // Off the surface to the right and below: moved back, size kept.
        SetPrefString("TestPlacement", "0 900 700 1200 900");
        ASSERT_TRUE(RestorePlacement(other, "TestPlacement", true));
        EXPECT_EQ(other->Frame().right, 1024);
        EXPECT_EQ(other->Frame().Width(), 300);
        SetPrefString("TestPlacement", "0 1 2 3");
        EXPECT_FALSE(RestorePlacement(other, "TestPlacement", true));
        EXPECT_FALSE(RestorePlacement(other, "NoSuchPlacement", true));

        Window* c1 = Document("C1", 0, 0);
        Window* c2 = Document("C2", 0, 0);
        PlaceAtCascadePosition(c1);
        PlaceAtCascadePosition(c2);
        EXPECT_EQ(c1->RelativeFrame().left, 64);
        EXPECT_EQ(c2->RelativeFrame().left, 112);
        EXPECT_EQ(c2->RelativeFrame().top, 112);
        Preferences::Instance().Remove("TestPlacement");
    });
}

// A top-level window darkens the desktop just right of and below its frame, and
// nowhere else.
TEST(Desktop, TopLevelWindowsCastShadows) {
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([](UiTestDriver& ui) {
        const int width = WS().SurfaceWidth();
        const std::vector<uint8_t> before = ui.pixels();
        Window* doc = Document("Doc", 100, 100);
        const std::vector<uint8_t> after = ui.pixels();
        auto brightness = [width](const std::vector<uint8_t>& rgba, int x, int y) {
            const uint8_t* p = &rgba[(size_t(y) * width + x) * 4];
            return p[0] + p[1] + p[2];
        };
        const Rect f = doc->Frame();
        const int midX = (f.left + f.right) / 2, midY = (f.top + f.bottom) / 2;
        EXPECT_LT(brightness(after, f.right + 1, midY), brightness(before, f.right + 1, midY));
        EXPECT_LT(brightness(after, midX, f.bottom + 1), brightness(before, midX, f.bottom + 1));
        for (Point p : {Point{f.right + 13, midY}, Point{midX, f.bottom + 13}, Point{f.left - 2, midY},
                        Point{midX, f.top - 2}})
            EXPECT_EQ(brightness(after, p.x, p.y), brightness(before, p.x, p.y)) << p.x << "," << p.y;
        doc->Close();
    });
}

TEST(Desktop, EdgeDragsNearTheTopOfTheDesktop) {
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([](UiTestDriver& ui) {
        auto* window = new Window(kStyleDocument | kStyleVisible, nullptr);
        window->SetFrameXYWH(100, 15, 400, 500);
        Point minimum;
        window->GetMinimumSize(minimum);
        const int top = window->Frame().top;
        const int x = (window->Frame().left + window->Frame().right) / 2;
        // The bottom edge follows the mouse up, even far above where the title bar may go.
        Point bottom{x, window->Frame().bottom - 1};
        ui.drag(bottom, {x, bottom.y - 300});
        EXPECT_EQ(window->Frame().top, top);
        EXPECT_EQ(window->Frame().Height(), 200);
        bottom = {x, window->Frame().bottom - 1};
        ui.drag(bottom, {x, 0});
        EXPECT_EQ(window->Frame().top, top);
        EXPECT_EQ(window->Frame().Height(), minimum.y);
        // The top edge and the title bar still stop at the top of the desktop.
        const int desktopTop = WS().Layer0()->Client().top;
        ui.drag({x, window->Frame().top}, {x, 0});
        EXPECT_EQ(window->Frame().top, desktopTop);
        ui.drag({x, window->Frame().top + 10}, {x, -40});
        EXPECT_EQ(window->Frame().top, desktopTop);
    });
}
