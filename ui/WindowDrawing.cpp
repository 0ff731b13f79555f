#include "ui/WindowDrawing.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <algorithm>

#include "ui/DrawBatch.h"
#include "ui/TamberGL.h"
#include "ui/Window.h"
#include "ui/WindowSystem.h"

namespace tamber::ui {

namespace {

Rect Lerp(const Rect& a, const Rect& b, double t) {
    auto mix = [t](int x, int y) { return int(x + (y - x) * t + (t > 0 ? 0.5 : 0)); };
    return {mix(a.left, b.left), mix(a.top, b.top), mix(a.right, b.right), mix(a.bottom, b.bottom)};
}

// The clip scaled the same way as the window when it is drawn at another rectangle.
Rect MapClip(const Rect& clip, const Rect& from, const Rect& to) {
    if (from.Width() <= 0 || from.Height() <= 0) return to;
    double sx = double(to.Width()) / from.Width();
    double sy = double(to.Height()) / from.Height();
    return {to.left + int((clip.left - from.left) * sx), to.top + int((clip.top - from.top) * sy),
            to.left + int((clip.right - from.left) * sx + 0.999), to.top + int((clip.bottom - from.top) * sy + 0.999)};
}

}  // namespace

void BeginWindowDrawing(Window* window, bool frameNotClient, bool perspective) {
    WindowSystem& ws = WS();
    // What was batched belongs to the viewport and scissor being left.
    FlushDrawing();
    SetDrawColor(255, 255, 255, 255);
    glColor4ub(255, 255, 255, 255);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();

    Rect real = frameNotClient ? window->Frame() : window->Client();
    Rect shown = frameNotClient ? window->DisplayFrame() : window->DisplayClient();
    Rect viewport = real;
    Rect scissor = window->Clip();
    if (ws.InOverview() || real != shown) {
        viewport = Lerp(real, shown, ws.OverviewProgress());
        scissor = MapClip(window->Clip(), real, viewport);
    }
    int h = ws.SurfaceHeight();
    glViewport(viewport.left, h - viewport.bottom, std::max(0, viewport.Width()), std::max(0, viewport.Height()));
    glScissor(scissor.left, h - scissor.bottom, std::max(0, scissor.Width()), std::max(0, scissor.Height()));
    if (ws.IntelWorkaround()) {
        if (GLAddSwapHintRectProc hint = GetAddSwapHintRect()) {
            hint(scissor.left, h - scissor.bottom, scissor.Width(), scissor.Height());
        }
    }
    if (viewport.IsEmpty()) return;

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (perspective) {
        glDepthMask(GL_TRUE);
        glEnable(GL_DEPTH_TEST);
        gluPerspective(45.0, double(viewport.Width()) / viewport.Height(), 0.1, 10000.0);
    } else {
        // Scaled windows (overview mode) keep their own pixel coordinates.
        glOrtho(0, real.Width(), real.Height(), 0, -1, 1);
        glDepthMask(GL_FALSE);
        glDisable(GL_DEPTH_TEST);
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void EndWindowDrawing() {
    FlushDrawing();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

}  // namespace tamber::ui
