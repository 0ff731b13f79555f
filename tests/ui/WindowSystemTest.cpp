// The window system: routing, keys, double clicks, modal runs, repainting.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <vector>

#include "tests/ui/support/UiTestDriver.h"
#include "ui/DrawBatch.h"
#include "ui/Skin.h"
#include "ui/Window.h"
#include "ui/WindowSystem.h"

using namespace tamber::ui;

namespace {

// Records what reaches it, on the way down and as the target.
struct Recorder : Window {
    using Window::Window;
    bool HandleEvent(Window* target, int kind, Event& event) override {
        if (target != this) passedThrough.push_back(kind);
        if (target != this && swallowChars && kind == kEventChar) return true;
        if (target == this) {
            kinds.push_back(kind);
            if (kind == kEventKey) keyFlags.push_back(event.KeyFlags());
        }
        return Window::HandleEvent(target, kind, event);
    }
    bool OnKey(Event& event) override {
        keys.push_back(event.Key());
        return handleKeys;
    }
    void OnChar(Event& event) override { chars.push_back(event.Character()); }
    std::vector<int> kinds, passedThrough, keys, keyFlags, chars;
    bool handleKeys = false;
    bool swallowChars = false;
};

// Opens a modal run of the given window with the given flags when pressed.
struct Opener : Window {
    Opener(Window* dialog, int flags) : Window(kStyleVisible, nullptr), dialog(dialog), flags(flags) {}
    void OnMouseButton(Event& event) override {
        if (!event.ButtonPressed()) return;
        dialog->SetVisible(true);
        result = WS().RunModal(dialog, flags, &cancelled);
        returned = true;
    }
    Window* dialog;
    int flags;
    int result = -1;
    bool cancelled = false;
    bool returned = false;
};

}  // namespace

TEST(WindowSystem, RoutingThroughAncestorsAndCloseKeys) {
    UiTestDriver ui({.pixels = false});
    ASSERT_TRUE(ui.Ready());
    ui.Run([](UiTestDriver& ui) {
        auto* parent = new Recorder(kStyleVisible | kStyleCloseBox | kStyleTitleBar, nullptr);
        parent->SetFrameXYWH(0, 0, 300, 300);
        auto* child = new Recorder(kStyleControl | kStyleVisible, parent);
        child->SetFrameXYWH(10, 10, 100, 100);
        ui.click(UiTestDriver::center(child));
        EXPECT_TRUE(child->IsFocused());
        EXPECT_EQ(child->kinds, (std::vector<int>{kEventMouseMove, kEventMouseButton, kEventMouseButton}));
        EXPECT_EQ(parent->passedThrough.size(), 3u);

        // Keys bubble from the focus window to its ancestors until one takes them.
        ui.type("q");
        EXPECT_EQ(child->keys, (std::vector<int>{'Q', 'Q'}));
        EXPECT_EQ(parent->keys, (std::vector<int>{'Q', 'Q'}));
        EXPECT_EQ(child->chars, std::vector<int>{'q'});
        parent->swallowChars = true;
        ui.type("w");
        EXPECT_EQ(child->chars, std::vector<int>{'q'});

        // A held key repeats with the repeat bit; the modifier bits come with it.
        OsCurrentCallbacks().key(kKeyLeftShift, 1);
        OsCurrentCallbacks().key('A', 1);
        OsCurrentCallbacks().key('A', 1);
        OsCurrentCallbacks().key('A', 0);
        OsCurrentCallbacks().key(kKeyLeftShift, 0);
        ui.step();
        // Shift, then A pressed, repeated and released, then Shift released.
        std::vector<int> flags(child->keyFlags.end() - 4, child->keyFlags.end() - 1);
        EXPECT_EQ(flags, (std::vector<int>{kModShift, kModShift | kKeyRepeatBit, kModShift}));

        // Ctrl+W closes the nearest ancestor with a close box.
        ui.key('W', kModCtrl);
        EXPECT_EQ(WS().Layer0()->FirstChild(), nullptr);
    });
}

TEST(WindowSystem, DoubleClickTiming) {
    UiTestDriver ui({.pixels = false});
    ASSERT_TRUE(ui.Ready());
    ui.Run([](UiTestDriver& ui) {
        auto* target = new Recorder(kStyleVisible, nullptr);
        target->SetFrameXYWH(0, 0, 200, 200);
        ui.moveTo(UiTestDriver::center(target));
        target->kinds.clear();
        auto button = OsCurrentCallbacks().mouseButton;
        for (int pressed : {1, 0, 1, 0, 1}) {
            button(0, pressed);
            ui.wait(0.05);
        }
        ui.step();
        EXPECT_EQ(target->kinds, (std::vector<int>{kEventMouseButton, kEventMouseButton, kEventDoubleClick,
                                                   kEventMouseButton, kEventMouseButton}));
        // Another button, or a pause of 0.2 s, is no double click.
        target->kinds.clear();
        ui.wait(0.5);
        button(0, 1);
        ui.wait(0.25);
        button(0, 0);
        button(1, 1);
        ui.step();
        EXPECT_EQ(target->kinds, (std::vector<int>{kEventMouseButton, kEventMouseButton, kEventMouseButton}));
        button(1, 0);
        ui.step();
        delete target;
    });
}

TEST(WindowSystem, NestedModalRunsUnwindOnQuit) {
    UiTestDriver ui({.pixels = false});
    ASSERT_TRUE(ui.Ready());
    int confirmations = 0;
    WS().SetQuitConfirm([&] {
        ++confirmations;
        return 1;
    });
    ui.Run([&](UiTestDriver& ui) {
        WindowSystem& ws = WS();
        auto* inner = new Window(kStyleFloating, nullptr);
        inner->SetName("inner");
        inner->SetFrameXYWH(300, 300, 100, 100);
        inner->SetVisible(false);
        auto* outerDialog = new Opener(inner, 8);
        outerDialog->SetName("outer");
        outerDialog->SetFlags(kStyleUpperLayer);
        outerDialog->SetFrameXYWH(100, 100, 150, 150);
        outerDialog->SetVisible(false);
        auto* opener = new Opener(outerDialog, 8);
        opener->SetFrameXYWH(0, 0, 50, 50);

        ui.click(UiTestDriver::center(opener));  // opens "outer"; the script goes on inside it
        EXPECT_EQ(ws.ModalDepth(), 1u);
        ui.click(UiTestDriver::center(outerDialog));  // opens "inner"
        EXPECT_EQ(ws.ModalDepth(), 2u);
        EXPECT_EQ(ws.ModalWindow(), inner);

        // A press outside a modal window that takes no outside clicks only beeps.
        int beeps = ui.platform().beeps;
        ui.click(UiTestDriver::center(opener));
        EXPECT_EQ(ui.platform().beeps, beeps + 1);

        // One modal level unwinds per frame, then the quit is confirmed.
        ui.key(kKeyF4, kModAlt);
        ui.step(6);
        EXPECT_TRUE(outerDialog->returned);
        EXPECT_TRUE(outerDialog->cancelled);
        EXPECT_EQ(outerDialog->result, 0);
        EXPECT_TRUE(opener->returned);
        EXPECT_TRUE(opener->cancelled);
        EXPECT_EQ(ws.ModalDepth(), 0u);
        EXPECT_EQ(confirmations, 1);
        EXPECT_FALSE(ws.Running());
    });
}

TEST(WindowSystem, QuitDuringAModalRunWithoutFlag8Beeps) {
    UiTestDriver ui({.pixels = false});
    ASSERT_TRUE(ui.Ready());
    int confirmations = 0;
    WS().SetQuitConfirm([&] { return ++confirmations; });
    ui.Run([&](UiTestDriver& ui) {
        auto* dialog = new Window(kStyleFloating, nullptr);
        dialog->SetFrameXYWH(300, 300, 100, 100);
        dialog->SetVisible(false);
        auto* opener = new Opener(dialog, 0);
        opener->SetFrameXYWH(0, 0, 50, 50);
        ui.click(UiTestDriver::center(opener));
        int beeps = ui.platform().beeps;
        ui.key(kKeyF4, kModAlt);
        ui.step(3);
        EXPECT_EQ(ui.platform().beeps, beeps + 1);
        EXPECT_EQ(confirmations, 0);
        EXPECT_TRUE(WS().Running());
        WS().EndModal(dialog, 5);
        ui.step(2);
        EXPECT_TRUE(opener->returned);
        EXPECT_EQ(opener->result, 5);
        EXPECT_FALSE(opener->cancelled);
    });
}

TEST(WindowSystem, InvalidationMergesAndIdleFramesDrawNothing) {
    UiTestDriver ui({.pixels = false});
    ASSERT_TRUE(ui.Ready());
    ui.Run([](UiTestDriver& ui) {
        WindowSystem& ws = WS();
        ui.runUntilIdle();
        int swaps = ui.platform().swaps;
        ui.step(10);
        EXPECT_EQ(ui.platform().swaps, swaps);  // nothing dirty: nothing presented

        ws.Invalidate({10, 10, 20, 20});
        ws.Invalidate({30, 30, 40, 40});
        ws.Invalidate({50, 10, 60, 20});
        ws.Invalidate({12, 12, 18, 18});  // inside a recorded one
        EXPECT_EQ(ws.DirtyRects().size(), 3u);
        ws.Invalidate({0, 0, 100, 100});  // contains all three
        ASSERT_EQ(ws.DirtyRects().size(), 1u);
        EXPECT_EQ(ws.DirtyRects()[0], (Rect{0, 0, 100, 100}));
        ws.Invalidate({-50, -50, 5000, 2});  // clipped to the surface
        EXPECT_EQ(ws.DirtyRects().back(), (Rect{0, 0, 1024, 2}));
        ui.step();
        EXPECT_EQ(ui.platform().swaps, swaps + 1);
        EXPECT_TRUE(ws.DirtyRects().empty());

        for (int i = 0; i < 33; ++i) ws.Invalidate({i * 20, 500, i * 20 + 10, 510});
        EXPECT_TRUE(ws.FullRedrawPending());
        ui.step();
        EXPECT_FALSE(ws.FullRedrawPending());
    });
}

TEST(WindowSystem, BatchedAndDirectDrawingKeepTheirOrderAndRepaintOutlinesShow) {
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([](UiTestDriver& ui) {
        // Green (batched), then red drawn with OpenGL directly, then blue (batched).
        struct Layers : Window {
            Layers() : Window(kStyleVisible, nullptr) {}
            void Draw() override {
                SetDrawColor(0, 255, 0, 255);
                Skin::FillRect({0, 0, 30, 30});
                FlushDrawing();
                glColor4ub(255, 0, 0, 255);
                glRecti(10, 0, 30, 30);
                SetDrawColor(0, 0, 255, 255);
                Skin::FillRect({20, 0, 30, 30});
            }
        };
        auto* layers = new Layers;
        layers->SetFrameXYWH(100, 100, 30, 30);
        auto pixel = [](const std::vector<uint8_t>& pixels, int x, int y) {
            const uint8_t* p = &pixels[(size_t(y) * 1024 + size_t(x)) * 4];
            return uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
        };
        std::vector<uint8_t> pixels = ui.pixels();
        EXPECT_EQ(pixel(pixels, 105, 110), 0x00FF00u);
        EXPECT_EQ(pixel(pixels, 115, 110), 0xFF0000u);
        EXPECT_EQ(pixel(pixels, 125, 110), 0x0000FFu);

        // Ctrl+F2 outlines each repainted area in red.
        ui.key(kKeyF2, kModCtrl);
        ui.step();
        WS().Invalidate({300, 300, 340, 340});
        pixels = ui.pixels(false);
        EXPECT_EQ(pixel(pixels, 300, 320), 0xFF0000u);
        EXPECT_EQ(pixel(pixels, 320, 339), 0xFF0000u);
        layers->Close();
    });
}

TEST(WindowSystem, FocusReturnsWhenAModalRunEnds) {
    UiTestDriver ui({.pixels = false});
    ASSERT_TRUE(ui.Ready());
    ui.Run([](UiTestDriver& ui) {
        auto* dialog = new Window(kStyleFloating, nullptr);
        dialog->SetFrameXYWH(300, 300, 100, 100);
        dialog->SetVisible(false);
        auto* field = new Window(kStyleControl | kStyleVisible, dialog);
        field->SetFrameXYWH(0, 0, 50, 20);
        auto* opener = new Opener(dialog, 0);
        opener->SetFrameXYWH(0, 0, 50, 50);
        auto* control = new Window(kStyleControl | kStyleVisible, opener);
        control->SetFrameXYWH(0, 0, 10, 10);
        WS().SetFocus(control, kFocusByProgram);
        ui.click(UiTestDriver::center(opener));
        EXPECT_EQ(WS().Focus(), field);
        dialog->SetVisible(false);
        WS().EndModal(dialog, 1);
        ui.step(2);
        EXPECT_TRUE(opener->returned);
        EXPECT_EQ(WS().Focus(), control);
    });
}

TEST(WindowSystem, OverviewScalesWholeWindows) {
    UiTestDriver ui({.pixels = false});
    ASSERT_TRUE(ui.Ready());
    ui.Run([](UiTestDriver& ui) {
        auto* big = new Window(kStyleDocument | kStyleVisible, nullptr);
        big->SetFrameXYWH(0, 0, 1000, 700);
        auto* pane = new Window(kStyleVisible, big);
        pane->SetFrameXYWH(10, 10, 500, 600);
        auto* inner = new Window(kStyleControl, pane);
        inner->SetFrameXYWH(400, 500, 300, 300);  // reaches past its pane
        auto* other = new Window(kStyleDocument | kStyleVisible, nullptr);
        other->SetFrameXYWH(200, 200, 600, 400);
        ui.key(kKeyF10);
        ui.wait(0.3);
        ui.step(3);
        ASSERT_TRUE(WS().InOverview());
        // Every descendant is shown at the same scale and place relative to its window.
        for (Window* top : {big, other}) {
            const Rect f = top->Frame(), d = top->DisplayFrame();
            ASSERT_LT(d.Width(), f.Width());
            const double scale = double(d.Width()) / f.Width();
            for (Window* w : {static_cast<Window*>(pane), inner}) {
                if (!w->IsInside(top)) continue;
                const Rect shown = w->DisplayFrame();
                EXPECT_NEAR(shown.left, d.left + (w->Frame().left - f.left) * scale, 1);
                EXPECT_NEAR(shown.top, d.top + (w->Frame().top - f.top) * scale, 1);
                EXPECT_NEAR(shown.Width(), w->Frame().Width() * scale, 1);
                EXPECT_NEAR(shown.Height(), w->Frame().Height() * scale, 1);
            }
        }
        ui.key(kKeyF10);
        ui.wait(0.3);
        ui.step(3);
        EXPECT_FALSE(WS().InOverview());
        for (Window* w : {big, static_cast<Window*>(pane), inner, other}) EXPECT_EQ(w->DisplayFrame(), w->Frame());
    });
}

namespace {

struct DrawCounter : Window {
    using Window::Window;
    void Draw() override { ++draws; }
    int draws = 0;
};

}  // namespace

TEST(WindowSystem, WindowsHiddenByAnOpaqueWindowAreNotDrawn) {
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready());
    ui.Run([](UiTestDriver& ui) {
        auto* below = new DrawCounter(kStyleDocument | kStyleVisible, nullptr);
        below->SetFrameXYWH(0, 0, 600, 500);
        auto* above = new DrawCounter(kStyleDocument | kStyleVisible, nullptr);
        above->SetFrameXYWH(100, 100, 300, 300);
        ui.runUntilIdle();
        ASSERT_EQ(above->Parent()->FirstChild(), above);
        const Rect client = above->Client();
        const Rect inside{client.left + 10, client.top + 10, client.left + 50, client.top + 50};
        const auto redraw = [&](const Rect& area) {
            below->draws = above->draws = 0;
            WS().Invalidate(area);
            ui.step();
        };
        redraw(inside);
        EXPECT_EQ(below->draws, 0);
        EXPECT_EQ(above->draws, 1);
        redraw({inside.left, inside.top, client.right + 20, inside.bottom});  // reaches past it
        EXPECT_EQ(below->draws, 1);
        above->ClearFlags(kStylePanelB);  // no panel: what is under it shows through
        redraw(inside);
        EXPECT_EQ(below->draws, 1);
        EXPECT_EQ(above->draws, 1);
    });
}
