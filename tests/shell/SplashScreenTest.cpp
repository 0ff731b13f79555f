// The splash screen and the about box, drawn for real in the UI test driver.
#include <gtest/gtest.h>

#include "shell/TamberSplashScreen.h"
#include "tests/ui/support/OffscreenGL.h"
#include "tests/ui/support/UiTestDriver.h"
#include "ui/WindowSystem.h"

using namespace tamber::shell;
using namespace tamber::ui;

namespace {

// Opens the splash or the about box from a click, as the root menu will.
struct Launcher : Window {
    Launcher() : Window(kStyleVisible, nullptr) { SetFrameXYWH(0, 0, 40, 40); }
    void OnMouseButton(Event& event) override {
        if (!event.ButtonPressed()) return;
        TamberSplashScreen::Show(about);
        ++closed;
    }
    bool about = false;
    int closed = 0;
};

}  // namespace

TEST(SplashScreen, FadeIsASmoothStepDown) {
    EXPECT_EQ(TamberSplashScreen::FadeAlpha(0.0), 255);
    EXPECT_EQ(TamberSplashScreen::FadeAlpha(0.5), 127);
    EXPECT_EQ(TamberSplashScreen::FadeAlpha(1.0), 0);
    EXPECT_EQ(TamberSplashScreen::FadeAlpha(2.0), 0);
    EXPECT_GT(TamberSplashScreen::FadeAlpha(0.1), TamberSplashScreen::FadeAlpha(0.2));
}

TEST(SplashScreen, SplashFadesAwayAndAboutBoxClosesOnClick) {
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([](UiTestDriver& ui) {
        auto* launcher = new Launcher;
        ui.click(UiTestDriver::center(launcher));
        Window* splash = ui.find("TamberSplashScreen");
        ASSERT_NE(splash, nullptr);
        EXPECT_TRUE(splash->IsVisible());
        EXPECT_EQ(launcher->closed, 0);
        // Centred, at the picture's own size.
        Rect f = splash->Frame();
        EXPECT_NEAR(f.left + f.right, 1024, 1);
        ui.wait(1.6);  // past the hold: the fade starts
        ui.step(2);
        EXPECT_TRUE(splash->IsVisible());
        ui.wait(1.1);  // past the fade
        ui.step(3);
        EXPECT_FALSE(splash->IsVisible());
        EXPECT_EQ(launcher->closed, 1);

        // The about box: wider by the credits, titled, closed by a click.
        launcher->about = true;
        ui.click(UiTestDriver::center(launcher));
        EXPECT_EQ(std::string(splash->GetName()), "About Tamber");
        EXPECT_EQ(splash->Client().Width(), f.Width() + TamberSplashScreen::kCreditsWidth);
        std::vector<uint8_t> pixels = ui.pixels();
        ui.screenshot("about-box.ppm");
        const Rect& c = splash->Client();
        int credits = CountPixelsNot(pixels, 1024, c.right - TamberSplashScreen::kCreditsWidth + 8, c.top + 8,
                                     c.right - 8, c.bottom - 8, 0x181A20);
        EXPECT_GT(credits, 2000);  // text was drawn beside the picture
        ui.wait(5);
        ui.step(2);
        EXPECT_TRUE(splash->IsVisible());  // the about box holds for two minutes
        ui.click(UiTestDriver::center(splash));
        ui.step(2);
        EXPECT_FALSE(splash->IsVisible());
        EXPECT_EQ(launcher->closed, 2);
    });
}
