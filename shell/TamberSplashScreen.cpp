#include "shell/TamberSplashScreen.h"

#include <GL/gl.h>
#include <algorithm>

#include "images/MakeTexture.h"
#include "images/MediaFile.h"
#include "platform/Os.h"
#include "ui/DrawBatch.h"
#include "ui/Skin.h"
#include "ui/WindowSystem.h"

namespace tamber::shell {
using namespace tamber::images;
using namespace tamber::platform;
using namespace tamber::ui;

namespace {

TamberSplashScreen* instance = nullptr;

const char* const kCredits =
    "|bTamber|p\n"
    "An editor for the data files of Vesk II.\n\n"
    "|bBrowse|p every archive and loose tag, |iedit|p tags,\n"
    "import models and |opack add-ons|p.\n\n"
    "Drawn with its own toolkit, in |bbold|p, |iitalic|p,\n"
    "|obold italic|p and plain type.\n\n"
    "Click to close.";

}  // namespace

int TamberSplashScreen::FadeAlpha(double x) {
    x = std::clamp(x, 0.0, 1.0);
    return int((1.0 - (3.0 - 2.0 * x) * x * x) * 255.0);
}

TamberSplashScreen::TamberSplashScreen() : Window(kStyleUpperLayer | kStyleKeepCentred | kStyleNoOverview, nullptr) {
    MediaFile file("res/tamber.bmp");
    if (LoadImage(file)) {
        imageWidth_ = file.image.width;
        imageHeight_ = file.image.height;
        if (WS().DrawingEnabled()) {
            if (base::Result<uint32_t> texture = MakeTexture(file)) texture_ = *texture;
        }
    }
}

TamberSplashScreen::~TamberSplashScreen() {
    if (instance == this) instance = nullptr;
    if (texture_) glDeleteTextures(1, &texture_);
}

void TamberSplashScreen::Configure(bool aboutBox) {
    about_ = aboutBox;
    hold_ = aboutBox ? kAboutHold : kSplashHold;
    fading_ = false;
    start_ = OsGetTime();
    uint32_t frameFlags = kStyleTitleBar | kStyleThinBorder | kStyleShadow;
    if (aboutBox) {
        SetFlags(frameFlags);
        SetName("About Tamber");
    } else {
        ClearFlags(frameFlags);
        SetName(nullptr);
    }
    // Size the frame so that the client area holds the picture (and the credits).
    int clientWidth = imageWidth_ + (aboutBox ? kCreditsWidth : 0);
    SetFrameXYWH(0, 0, clientWidth, imageHeight_);
    int extraW = Frame().Width() - Client().Width(), extraH = Frame().Height() - Client().Height();
    SetFrameXYWH(0, 0, clientWidth + extraW, imageHeight_ + extraH);
    SetVisible(true);
    CenterInParent();
    Invalidate();
}

void TamberSplashScreen::Show(bool aboutBox) {
    if (!instance) instance = new TamberSplashScreen;
    instance->Configure(aboutBox);
    // A quit request ends the run at once instead of being refused.
    WS().RunModal(instance, aboutBox ? 4 | 8 : 8);
}

void TamberSplashScreen::Finish() {
    SetVisible(false);
    if (WS().IsOnModalStack(this)) WS().EndModal(this, 0);
}

void TamberSplashScreen::Idle() {
    if (!IsVisible()) return;
    double now = OsGetTime();
    if (!fading_) {
        if (now - start_ >= hold_) {
            start_ = now;
            fading_ = true;
        }
        return;
    }
    InvalidateClient();
    if (now - start_ >= kFadeSeconds) Finish();
}

void TamberSplashScreen::Draw() {
    int alpha = fading_ ? FadeAlpha((OsGetTime() - start_) / kFadeSeconds) : 255;
    if (texture_) {
        FlushDrawing();
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, texture_);
        glColor4ub(255, 255, 255, uint8_t(alpha));
        glBegin(GL_QUADS);
        glTexCoord2f(0, 0);
        glVertex2i(0, 0);
        glTexCoord2f(1, 0);
        glVertex2i(imageWidth_, 0);
        glTexCoord2f(1, 1);
        glVertex2i(imageWidth_, imageHeight_);
        glTexCoord2f(0, 1);
        glVertex2i(0, imageHeight_);
        glEnd();
        glDisable(GL_TEXTURE_2D);
    }
    if (about_) {
        Rect credits{imageWidth_, 0, Client().Width(), Client().Height()};
        SetDrawColor(24, 26, 32, uint8_t(alpha));
        Skin::FillRect(credits);
        SetDrawColor(255, 255, 255, uint8_t(alpha));
        DrawText(kCredits, 0, 8, {credits.left + 16, credits.top + 16, credits.right - 16, credits.bottom - 16});
    }
}

void TamberSplashScreen::OnMouseButton(Event& event) {
    if (about_ && event.ButtonPressed()) Finish();
}

void TamberSplashScreen::OnFrameMouseButton(Event& event) {
    if (about_ && event.ButtonPressed()) Finish();
}

bool TamberSplashScreen::CanClose(int) {
    Finish();
    return false;  // kept for reuse; hidden instead
}

}  // namespace tamber::shell
