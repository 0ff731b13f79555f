#include "ui/WindowPlacement.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "base/Preferences.h"
#include "ui/Window.h"
#include "ui/WindowSystem.h"

namespace tamber::ui {
using namespace tamber::base;

namespace {

int cascadeX = 0;
int cascadeY = 0;
constexpr int kCascadeStart = 64;
constexpr int kCascadeStep = 48;
constexpr int kCascadeProbe = 560;

// Moves the span [low, high) into [0, limit) when it passes the far edge, then the near one.
void KeepSpanOnScreen(int32_t& low, int32_t& high, int limit) {
    if (high > limit) {
        int excess = high - limit;
        low -= excess;
        high -= excess;
    }
    if (low < 0) {
        high -= low;
        low = 0;
    }
}

}  // namespace

void SavePlacement(Window* window, const char* key) {
    int32_t p[5];
    window->GetPlacement(p);
    char text[96];
    std::snprintf(text, sizeof text, "%d %d %d %d %d", p[0], p[1], p[2], p[3], p[4]);
    SetPrefString(key, text);
}

bool RestorePlacement(Window* window, const char* key, bool keepOnScreen) {
    std::string text;
    if (!GetPrefString(key, text)) return false;
    int32_t p[5];
    char extra = 0;
    if (std::sscanf(text.c_str(), "%d %d %d %d %d %c", &p[0], &p[1], &p[2], &p[3], &p[4], &extra) != 5) return false;
    if (p[0] < 0 || p[0] > 2 || p[3] < p[1] || p[4] < p[2]) return false;
    if (keepOnScreen) {
        WindowSystem& ws = WS();
        KeepSpanOnScreen(p[1], p[3], ws.SurfaceWidth());
        KeepSpanOnScreen(p[2], p[4], ws.SurfaceHeight());
    }
    window->ApplyPlacement(p);
    return true;
}

void PlaceAtCascadePosition(Window* window) {
    WindowSystem& ws = WS();
    int x = kCascadeStart + cascadeX, y = kCascadeStart + cascadeY;
    const Rect& f = window->Frame();
    window->SetFrameXYWH(x, y, f.Width(), f.Height());
    cascadeX += kCascadeStep;
    cascadeY += kCascadeStep;
    if (kCascadeStart + cascadeX + kCascadeProbe > ws.SurfaceWidth() ||
        kCascadeStart + cascadeY + kCascadeProbe > ws.SurfaceHeight()) {
        cascadeX = cascadeY = 0;
    }
}

void ResetCascade() { cascadeX = cascadeY = 0; }

void FitInsideParent(Window* window) {
    if (!window->Parent()) return;
    const Rect frame = window->RelativeFrame();
    const int areaWidth = window->Parent()->Client().Width();
    const int areaHeight = window->Parent()->Client().Height();
    const int width = std::min(frame.Width(), areaWidth);
    const int height = std::min(frame.Height(), areaHeight);
    const int x = std::clamp(frame.left, 0, std::max(0, areaWidth - width));
    const int y = std::clamp(frame.top, 0, std::max(0, areaHeight - height));
    window->SetFrameXYWH(x, y, width, height);
}

void PresentAtCascadePosition(Window* window, Window* focus) {
    PlaceAtCascadePosition(window);
    FitInsideParent(window);
    window->SetVisible(true);
    window->BringToFront();
    WS().SetFocus(focus, kFocusByProgram);
}

void WidenWithinParent(Window* window, int extra) {
    if (!window->Parent() || extra <= 0) return;
    const int width = std::min(window->Frame().Width() + extra, window->Parent()->Client().Width());
    if (width > window->Frame().Width()) window->SetSize(width, window->Frame().Height());
    FitInsideParent(window);
}

}  // namespace tamber::ui
