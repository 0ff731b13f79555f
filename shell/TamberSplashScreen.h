#pragma once
// The splash screen and the about box: one window showing res/tamber.bmp at its
// own size, centred, run modally. It holds for a while, then fades out smoothly
// over one second and ends its modal run. The about box adds a title, 384 pixels
// of credits beside the picture, and closes at once on a click.
#include "ui/Window.h"

namespace tamber::shell {
using namespace tamber::ui;

class TamberSplashScreen : public Window {
public:
    // Shows the splash (hold 1.5 s) or the about box (hold 120 s) and returns when
    // it has closed. The window is created once and reused.
    static void Show(bool aboutBox);

    ~TamberSplashScreen() override;
    const char* GetClassName() const override { return "TamberSplashScreen"; }
    void Idle() override;
    void Draw() override;
    void OnMouseButton(Event& event) override;
    void OnFrameMouseButton(Event& event) override;
    bool CanClose(int force) override;

    static constexpr double kSplashHold = 1.5;
    static constexpr double kAboutHold = 120.0;
    static constexpr double kFadeSeconds = 1.0;
    static constexpr int kCreditsWidth = 384;
    // The alpha of the picture x of the way through the fade (0 to 1): a smooth step down.
    static int FadeAlpha(double x);

private:
    TamberSplashScreen();
    void Configure(bool aboutBox);
    void Finish();

    bool about_ = false;
    bool fading_ = false;
    double start_ = 0;
    double hold_ = kSplashHold;
    unsigned texture_ = 0;
    int imageWidth_ = 0;
    int imageHeight_ = 0;
};

}  // namespace tamber::shell
