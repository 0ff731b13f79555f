// The colour swatch (chooser accepted and cancelled) and the hue bar's markers.
#include <gtest/gtest.h>

#include "tests/ui/support/UiTestDriver.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/ColorBar.h"
#include "ui/widgets/ColorButton.h"

using namespace tamber::ui;
using namespace tamber::ui::widgets;

namespace {

struct Owner : Window {
    Owner() : Window(kStyleVisible | kStylePanelA, nullptr) { SetFrameXYWH(0, 0, 600, 300); }
    void OnClicked() { ++clicks; }
    void OnColor(uint32_t rgba) { last = rgba, ++changes; }
    void OnHues() { ++hueChanges; }
    int clicks = 0, changes = 0, hueChanges = 0;
    uint32_t last = 0;
};

int choosers = 0;
bool PickTeal(uint8_t rgb[3]) {
    ++choosers;
    rgb[0] = 0, rgb[1] = 128, rgb[2] = 128;
    return true;
}
bool Cancel(uint8_t rgb[3]) {
    ++choosers;
    rgb[0] = 1;
    return false;
}

}  // namespace

TEST(ColorButton, ChooserAcceptedAndCancelled) {
    UiTestDriver ui({.pixels = false});
    ASSERT_TRUE(ui.Ready());
    ui.Run([](UiTestDriver& ui) {
        auto* owner = new Owner;
        auto* swatch = new ColorButton(owner);
        swatch->SetFrameXYWH(20, 20, 42, 20);
        swatch->clicked.Connect(owner, &Owner::OnClicked);
        swatch->colorChanged.Connect(owner, &Owner::OnColor);
        ColorButton::SetColorChooser(Cancel);
        ui.click(UiTestDriver::center(swatch));
        EXPECT_EQ(choosers, 1);
        EXPECT_EQ(swatch->GetColor(), 0xFFFFFFFFu);
        EXPECT_EQ(owner->changes, 0);

        // Space while focused opens the chooser too; OK keeps the alpha byte.
        ColorButton::SetColorChooser(PickTeal);
        swatch->SetColor(0x10203040);
        ui.key(' ');
        EXPECT_EQ(swatch->GetColor(), 0x00808040u);
        EXPECT_EQ(owner->last, 0x00808040u);
        EXPECT_EQ(owner->clicks, 2);
        ColorButton::SetColorChooser(nullptr);
    });
}

TEST(ColorBar, DraggingMarkers) {
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([](UiTestDriver& ui) {
        auto* owner = new Owner;
        auto* bar = new ColorBar(owner);
        bar->SetFrameXYWH(100, 100, bar->Frame().Width(), bar->Frame().Height());
        EXPECT_EQ(bar->Client().Width(), 360);
        bar->huesChanged.Connect(owner, &Owner::OnHues);
        // Start and median at 90 degrees, end at 270.
        bar->SetHues(16384, 16384, 49152);
        EXPECT_EQ(bar->MarkerAt(92), ColorBar::kStart);
        EXPECT_EQ(bar->MarkerAt(180), ColorBar::kNone);

        int y = bar->Client().top + 10, left = bar->Client().left;
        // Where start and median meet, the start marker is taken.
        ui.drag({left + 90, y}, {left + 45, y});
        EXPECT_EQ(bar->Hue(ColorBar::kStart), 45 * 65536 / 360);
        EXPECT_EQ(bar->Hue(ColorBar::kMedian), 16384);
        EXPECT_GT(owner->hueChanges, 0);
        // Dragged past the end, a marker stops at the full circle.
        ui.drag({left + 270, y}, {left + 500, y});
        EXPECT_EQ(bar->Hue(ColorBar::kEnd), 65535);
        ui.drag({left + 90, y}, {left - 50, y});
        EXPECT_EQ(bar->Hue(ColorBar::kMedian), 0);
        // A press away from the markers moves nothing.
        int changes = owner->hueChanges;
        ui.drag({left + 200, y}, {left + 220, y});
        EXPECT_EQ(owner->hueChanges, changes);
    });
}
