// The window tree: geometry and hit testing, order, flags, focus and deletion.
#include <gtest/gtest.h>

#include "tests/ui/support/UiTestDriver.h"
#include "ui/Skin.h"
#include "ui/Window.h"
#include "ui/WindowSystem.h"

using namespace tamber::ui;

namespace {

struct Probe : Window {
    using Window::Window;
    const char* GetClassName() const override { return "Probe"; }
    void OnFlagsChanged(uint32_t changed) override {
        ++flagChanges;
        lastChanged = changed;
        Window::OnFlagsChanged(changed);
    }
    Window* OnFocusGained(Window* old, int reason) override {
        gainedReason = reason;
        return redirectTo ? redirectTo : Window::OnFocusGained(old, reason);
    }
    void OnMouseButton(Event& event) override {
        if (event.ButtonPressed() && closeOnPress) {
            Close();
            aliveAfterClose = DisplayState() == kDisplayClosed;
        }
    }
    int flagChanges = 0;
    uint32_t lastChanged = 0;
    int gainedReason = -1;
    Window* redirectTo = nullptr;
    bool closeOnPress = false;
    static inline bool aliveAfterClose = false;
};

}  // namespace

TEST(WindowTree, GeometryAndHitTesting) {
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([](UiTestDriver&) {
        int thick = WS().ThickBorder();
        ASSERT_GT(thick, 0);

        Window plain(kStyleVisible, nullptr);
        plain.SetFrameXYWH(10, 20, 100, 50);
        EXPECT_EQ(plain.Client(), plain.Frame());

        Window doc(kStyleDocument | kStyleVisible, nullptr);
        doc.SetName("Doc");
        doc.SetFrameXYWH(100, 100, 300, 200);
        Rect f = doc.Frame();
        Rect top = WS().Layer0()->Client();
        EXPECT_EQ(f, (Rect{top.left + 100, top.top + 100, top.left + 400, top.top + 300}));
        EXPECT_EQ(doc.Client(), (Rect{f.left + thick, f.top + 2 * thick + kTitleBarHeight, f.right - thick,
                                      f.bottom - thick}));

        Point centre{(f.left + f.right) / 2, (f.top + f.bottom) / 2};
        EXPECT_EQ(doc.HitTest(centre), kHitClient);
        EXPECT_EQ(doc.HitTest({f.left + 40, f.top + thick + 5}), kHitTitle);
        Rect close = doc.TitleBoxRect(kHitCloseBox);
        ASSERT_FALSE(close.IsEmpty());
        EXPECT_EQ(doc.HitTest({close.left + 1, close.top + 1}), kHitCloseBox);
        Rect maximise = doc.TitleBoxRect(kHitMaximiseBox);
        EXPECT_LT(maximise.right, close.right);
        EXPECT_EQ(doc.HitTest({f.left, centre.y}), kHitLeft);
        EXPECT_EQ(doc.HitTest({f.left, f.top}), kHitLeft | kHitTop);
        // The right and bottom edges are inside (inclusive bounds).
        EXPECT_EQ(doc.HitTest({f.right, f.bottom}), kHitRight | kHitBottom);
        EXPECT_EQ(doc.HitTest({f.right + 1, f.bottom}), kHitNone);
        Window thin(kStyleVisible | kStyleThinBorder, nullptr);
        thin.SetFrameXYWH(0, 0, 50, 50);
        EXPECT_EQ(thin.HitTest({thin.Frame().left, thin.Frame().top}), kHitFrame);

        // Too small a frame is enlarged, keeping the edge that did not move.
        Point minimum;
        doc.GetMinimumSize(minimum);
        EXPECT_EQ(minimum.x, 2 * thick);
        EXPECT_EQ(minimum.y, 2 * thick + kTitleBarHeight);
        doc.SetFrameXYWH(100, 100, 1, 1);
        EXPECT_EQ(doc.Frame().Width(), minimum.x);
        EXPECT_EQ(doc.Frame().Height(), minimum.y);
        Rect r = doc.RelativeFrame();
        doc.SetFrame({r.right - 1, r.top, r.right, r.bottom});
        EXPECT_EQ(doc.RelativeFrame().right, r.right);
        Window alt(kStyleVisible | kStyleTitleBar | kStyleAltFrame, nullptr);
        alt.GetMinimumSize(minimum);
        EXPECT_EQ(minimum, (Point{64, 64}));

        // Moving a parent moves its children; maximising fills the parent.
        Window child(kStyleVisible, &doc);
        child.SetFrameXYWH(5, 5, 10, 10);
        Rect before = child.Frame();
        doc.SetFrameXYWH(150, 120, 300, 200);
        EXPECT_EQ(child.Frame().left - before.left, 50);
        doc.ToggleMaximised();
        EXPECT_EQ(doc.DisplayState(), kDisplayMaximised);
        EXPECT_EQ(doc.Frame(), WS().Layer0()->Client());
        doc.ToggleMaximised();
        EXPECT_EQ(doc.RelativeFrame(), (Rect{150, 120, 450, 320}));
        // Rolled up, only the title bar shows (never less than the frame's minimum).
        doc.SetRolledUp(-1);
        doc.GetMinimumSize(minimum);
        EXPECT_EQ(doc.Frame().Height(), std::max(30, minimum.y));
        doc.SetRolledUp(0);
        EXPECT_EQ(doc.Frame().Height(), 200);

        int32_t placement[5];
        doc.GetPlacement(placement);
        EXPECT_EQ(placement[0], 0);
        EXPECT_EQ(placement[3], 450);
    });
}

TEST(WindowTree, OrderFlagsAndLayers) {
    UiTestDriver ui({.pixels = false});
    ASSERT_TRUE(ui.Ready());
    ui.Run([](UiTestDriver&) {
        Window* a = new Window(kStyleVisible, nullptr);
        Window* b = new Window(kStyleVisible, nullptr);
        Window* floating = new Window(kStyleFloating, nullptr);
        EXPECT_EQ(WS().Layer0()->FirstChild(), b);
        EXPECT_EQ(WS().Layer0()->LastChild(), a);
        EXPECT_EQ(floating->Parent(), WS().Layer1());
        a->BringToFront();
        EXPECT_EQ(WS().Layer0()->FirstChild(), a);
        a->SendToBack();
        EXPECT_EQ(WS().Layer0()->LastChild(), a);
        EXPECT_EQ(WS().Layer0()->ChildCount(), 2);
        EXPECT_EQ(b->GetTopLevel(), b);

        Probe probe(kStyleVisible, b);
        probe.SetName("probe");
        EXPECT_EQ(probe.GetTopLevel(), b);
        EXPECT_EQ(b->FindChild("probe", "Probe"), &probe);
        EXPECT_EQ(b->FindChild("probe", "Window"), nullptr);
        probe.flagChanges = 0;
        probe.SetFlags(kStyleVisible);  // already set: no call
        EXPECT_EQ(probe.flagChanges, 0);
        probe.SetFlags(kStyleVisible | kStyleShadow);
        EXPECT_EQ(probe.lastChanged, uint32_t(kStyleShadow));
        probe.ClearFlags(kStyleShadow | kStylePanelA);
        EXPECT_EQ(probe.lastChanged, uint32_t(kStyleShadow));
        EXPECT_EQ(probe.flagChanges, 2);
        probe.SetParent(nullptr);
        delete a;
        delete b;
        delete floating;
    });
}

TEST(WindowTree, FocusMovesAndDeferredDeletion) {
    UiTestDriver ui({.pixels = false});
    ASSERT_TRUE(ui.Ready());
    ui.Run([](UiTestDriver& ui) {
        WindowSystem& ws = WS();
        Window* first = new Window(kStyleVisible | kStyleFocusable, nullptr);
        Window* second = new Window(kStyleVisible, nullptr);
        Window* inner = new Window(kStyleControl | kStyleVisible, second);
        // A window without 0x8000 passes the focus to its focus child.
        EXPECT_EQ(second->FocusChild(), inner);
        EXPECT_EQ(ws.SetFocus(second, kFocusByProgram), inner);
        EXPECT_TRUE(inner->IsFocused());
        Window empty(kStyleVisible, nullptr);
        EXPECT_EQ(ws.SetFocus(&empty, kFocusByProgram), nullptr);
        EXPECT_EQ(ws.Focus(), inner);

        // Deleting the window that holds the focus hands it to the next visible sibling.
        first->SendToBack();
        delete second;
        EXPECT_EQ(ws.Focus(), first);
        EXPECT_EQ(ws.Layer0()->FirstChild(), first);

        // Redirection by OnFocusGained.
        Probe redirecting(kStyleVisible | kStyleFocusable, nullptr);
        Window target(kStyleVisible | kStyleFocusable, nullptr);
        redirecting.redirectTo = &target;
        EXPECT_EQ(ws.SetFocus(&redirecting, kFocusByMouse), &target);
        EXPECT_TRUE(ws.LastFocusRedirected());
        EXPECT_EQ(redirecting.gainedReason, kFocusByMouse);

        // The tab chain wraps and skips disabled or hidden windows.
        Window t1(kStyleControl | kStyleVisible, nullptr), t2(kStyleControl | kStyleVisible, nullptr),
            t3(kStyleControl | kStyleVisible, nullptr);
        t2.InsertTabAfter(&t1);
        t3.InsertTabAfter(&t2);
        t2.ClearFlags(kStyleEnabled);
        ws.SetFocus(&t1, kFocusByProgram);
        EXPECT_TRUE(ws.TabFrom(&t1, false));
        EXPECT_EQ(ws.Focus(), &t3);
        EXPECT_TRUE(ws.TabFrom(&t3, false));
        EXPECT_EQ(ws.Focus(), &t1);
        EXPECT_TRUE(ws.TabFrom(&t1, true));
        EXPECT_EQ(ws.Focus(), &t3);
        ui.key(kKeyTab, kModShift);
        EXPECT_EQ(ws.Focus(), &t1);

        // A window closed inside its own handler lives until the event is done.
        Probe* closing = new Probe(kStyleVisible, nullptr);
        closing->closeOnPress = true;
        closing->SetName("closing");
        closing->SetFrameXYWH(0, 0, 200, 200);
        ui.click(UiTestDriver::center(closing));
        EXPECT_TRUE(Probe::aliveAfterClose);
        EXPECT_EQ(ws.Layer0()->FindChild("closing", "Probe"), nullptr);
        delete first;
    });
}
