// The window system's repainting: dirty rectangles, the render pass over the
// tree, surface resizing and the debug aids drawn on top.
#include <GL/gl.h>
#include <algorithm>
#include <string>

#include "platform/Os.h"
#include "ui/DrawBatch.h"
#include "ui/Font.h"
#include "ui/RectOps.h"
#include "ui/Skin.h"
#include "ui/WindowDrawing.h"
#include "ui/WindowSystem.h"

namespace tamber::ui {
using namespace tamber::platform;

void WindowSystem::Invalidate(const Rect& rect) {
    if (redrawFlags_ & kRedrawFull) return;
    Rect clipped = RectIntersection(rect, {0, 0, surfaceWidth_, surfaceHeight_});
    if (clipped.IsEmpty()) return;
    if (!partialRedraw_ || dirty_.size() >= size_t(kMaxDirty)) {
        redrawFlags_ |= kRedrawFull;
        dirty_.clear();
        return;
    }
    for (const Rect& r : dirty_) {
        if (RectEncloses(r, clipped)) return;
    }
    dirty_.erase(std::remove_if(dirty_.begin(), dirty_.end(), [&](const Rect& r) { return RectEncloses(clipped, r); }),
                 dirty_.end());
    dirty_.push_back(clipped);
}

void WindowSystem::InvalidateWindow(Window* window) {
    if (!window || !window->IsShown() || (window->RenderState() & kRenderDestroying)) return;
    Invalidate(window->ShadowWidened(InOverview() ? window->DisplayFrame() : window->Frame()));
}

bool WindowSystem::Render() {
    Window* dimming = nullptr;
    for (size_t i = modalStack_.size(); i-- > 1;) {
        if (modalStack_[i].flags & 4) {
            dimming = modalStack_[i].window;
            break;
        }
    }
    bool animating = (redrawFlags_ & kRedrawAnimating) != 0;
    if (animating) redrawFlags_ |= kRedrawFull;
    bool full = (redrawFlags_ & kRedrawFull) != 0;
    if (!full && dirty_.empty()) return false;
    std::vector<Rect> passes = full ? std::vector<Rect>{{0, 0, surfaceWidth_, surfaceHeight_}} : dirty_;
    redrawFlags_ &= ~kRedrawFull;
    dirty_.clear();
    if (!root_) return false;

    if (drawingEnabled_) {
        glEnable(GL_SCISSOR_TEST);
        glDisable(GL_DEPTH_TEST);
    }
    for (const Rect& pass : passes) {
        if (drawingEnabled_) glScissor(pass.left, surfaceHeight_ - pass.bottom, pass.Width(), pass.Height());
        root_->SetClip(pass);
        DrawTree(root_, dimming);
    }
    if (drawingEnabled_) {
        glScissor(0, 0, surfaceWidth_, surfaceHeight_);
        if (outlineRepaints_ && !full) {
            for (const Rect& pass : passes) {
                root_->SetClip({0, 0, surfaceWidth_, surfaceHeight_});
                BeginWindowDrawing(root_, true, false);
                SetDrawColor(255, 0, 0, 255);
                Skin::DrawRectOutline(pass, 1, false);
                EndWindowDrawing();
            }
        }
        root_->SetClip({0, 0, surfaceWidth_, surfaceHeight_});
        if (!running_) DimSurface();
        if (tracking_.active && tracking_.data && tracking_.drawer) {
            layer1_->SetClip(layer1_->Frame());
            BeginWindowDrawing(layer1_, false, false);
            tracking_.drawer(tracking_.data.get(), {tracking_.current.x + tracking_.imageOffset.x,
                                                    tracking_.current.y + tracking_.imageOffset.y}, false);
            EndWindowDrawing();
        }
        if (debugOverlay_) DrawDebugOverlay();
    }
    if (animating) {
        double progress = OverviewProgress();
        bool done = (redrawFlags_ & kRedrawAnimatingIn) ? progress >= 1.0 : progress <= 0.0;
        if (done) FinishOverviewAnimation();
    }
    ++framesRendered_;
    return true;
}

// Children are drawn from the bottom up, starting at the topmost one whose opaque
// client covers the whole area being redrawn: what lies under it would be painted
// over. Behind a window that animates a small area, nothing else is drawn at all.
void WindowSystem::DrawTree(Window* window, Window* dimming) {
    Window* bottom = window->LastChild();
    const Rect& clip = root_->Clip();
    for (Window* c = window->FirstChild(); c; c = c->NextSibling())
        if (HidesWindowsBelow(c, clip)) {
            bottom = c;
            break;
        }
    for (Window* c = bottom; c; c = c->PreviousSibling()) DrawWindow(c, dimming);
}

bool WindowSystem::HidesWindowsBelow(Window* window, const Rect& clip) const {
    return skin_ && !InOverview() && window->IsVisible() && window->DisplayState() != kDisplayRolledUp &&
           RectEncloses(window->Client(), clip) && skin_->PanelIsOpaque(window->Flags());
}

void WindowSystem::DrawWindow(Window* window, Window* dimming) {
    if (!window->IsVisible()) return;
    if (window == dimming && drawingEnabled_) DimSurface();
    const Rect& clip = root_->Clip();
    window->SetClip(clip);
    bool overview = InOverview();
    Rect frame = overview ? window->DisplayFrame() : window->Frame();
    Rect client = overview ? window->DisplayClient() : window->Client();
    bool rolledUp = window->DisplayState() == kDisplayRolledUp;
    bool painted = false;
    if (!rolledUp && RectsMeet(client, clip)) {
        if (drawingEnabled_) {
            BeginWindowDrawing(window, false, false);
            window->DrawBackground();
            window->Draw();
            EndWindowDrawing();
        }
        painted = true;
    }
    if (!RectEncloses(client, clip) && RectsMeet(frame, clip)) {
        if (drawingEnabled_) {
            BeginWindowDrawing(window, true, false);
            window->DrawFrame();
            EndWindowDrawing();
        }
        painted = true;
    }
    // Top-level windows and windows that float outside their parent (pop-up menus)
    // cast their shadow; items inside a window do not.
    Window* parent = window->Parent();
    const bool floating = parent == layer0_ || parent == layer1_ || !parent ||
                          !RectEncloses(parent->Frame(), window->Frame());
    if (floating && window->HasFlags(kStyleShadow) && !overview && !rolledUp && drawingEnabled_)
        DrawDropShadow(window, clip);
    if (painted) ++windowsPainted_;
    window->ClearRenderBits(kRenderClient | kRenderFrame);
    if (!rolledUp) DrawTree(window, dimming);
    if (window->SnapshotRequest()) TakeSnapshot(window);
}

// The shadow lies outside the frame, to the right and below, over what was drawn
// before the window; it is drawn in surface coordinates, clipped to the dirty area.
void WindowSystem::DrawDropShadow(Window* window, const Rect& clip) {
    const Rect& frame = window->Frame();
    const Rect widened = window->ShadowWidened(frame);
    if (!skin_ || !RectsMeet(widened, clip) || RectEncloses(frame, clip)) return;
    BeginWindowDrawing(root_, true, false);
    skin_->DrawDropShadow(frame);
    EndWindowDrawing();
}

// Darkens the area being redrawn (the root's clip): the rest of the surface was
// darkened when it was drawn, and darkening it again would blacken it.
void WindowSystem::DimSurface() {
    const Rect clip = root_->Clip();
    BeginWindowDrawing(root_, true, false);
    SetDrawColor(0, 0, 0, 128);
    Skin::FillRect(clip);
    EndWindowDrawing();
    glScissor(clip.left, surfaceHeight_ - clip.bottom, clip.Width(), clip.Height());
}

void WindowSystem::TakeSnapshot(Window* window) {
    Rect r = window->SnapshotRequest() == 2 ? window->Client() : window->Frame();
    window->ClearSnapshotRequest();
    r = RectIntersection(r, {0, 0, surfaceWidth_, surfaceHeight_});
    if (r.IsEmpty() || !drawingEnabled_) return;
    std::vector<uint8_t> pixels(size_t(r.Width()) * size_t(r.Height()) * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(r.left, surfaceHeight_ - r.bottom, r.Width(), r.Height(), GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    // OpenGL rows run bottom-up; the clipboard image takes top-down rows.
    std::vector<uint8_t> flipped(pixels.size());
    size_t stride = size_t(r.Width()) * 3;
    for (int y = 0; y < r.Height(); ++y) {
        std::copy_n(pixels.data() + size_t(r.Height() - 1 - y) * stride, stride, flipped.data() + size_t(y) * stride);
    }
    OsSetClipboardImage(flipped.data(), r.Width(), r.Height());
}

void WindowSystem::DrawDebugOverlay() {
    Font* font = defaultFont_;
    if (!font) return;
    std::string focusLine = "focus: ";
    std::vector<std::string> names;
    Window* top = FocusedTopLevel();
    for (Window* w = focus_; w; w = w->Parent()) {
        names.insert(names.begin(), w->GetName() ? w->GetName() : w->GetClassName());
        if (w == top) break;
    }
    for (size_t i = 0; i < names.size(); ++i) focusLine += (i ? " -> " : "") + names[i];
    std::string modalLine = "modal stack: ";
    for (Window* w : ModalWindows()) modalLine += std::string(w && w->GetName() ? w->GetName() : "?") + " ";
    std::string framesLine = "frames rendered: " + std::to_string(framesRendered_);
    root_->SetClip({0, 0, surfaceWidth_, surfaceHeight_});
    BeginWindowDrawing(root_, true, false);
    int lineHeight = GetFontHeight(font) + 2;
    int y = surfaceHeight_ - 4;
    SetDrawColor(255, 255, 0, 255);
    for (const std::string& line : {framesLine, focusLine, modalLine}) {
        y -= lineHeight;
        ui::DrawText(font, line.c_str(), 0, 0x100, {4, y, surfaceWidth_, y + lineHeight});
    }
    EndWindowDrawing();
}

void WindowSystem::SurfaceResized(int width, int height) {
    EmptyDeletionList();
    if (width < 1 || height < 1) return;
    surfaceWidth_ = width;
    surfaceHeight_ = height;
    if (!root_) return;
    root_->SetFrameAbsolute({0, 0, width, height});
    layer1_->SetFrameAbsolute({0, 0, width, height});
    int top = menuBar_ ? menuBar_->Frame().bottom : 0;
    layer0_->SetFrameAbsolute({0, top, width, height});
    redrawFlags_ |= kRedrawResized | kRedrawFull;
    dirty_.clear();
    if (drawingEnabled_) {
        glDisable(GL_SCISSOR_TEST);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_SCISSOR_TEST);
    }
    for (Window* layer : {layer0_, layer1_}) {
        for (Window* w = layer->FirstChild(); w; w = w->NextSibling()) {
            if (w->DisplayState() == kDisplayMaximised && w->HasFlags(kStyleResizable)) {
                w->SetFrame({0, 0, layer->Client().Width(), layer->Client().Height()});
            }
            if (w->HasFlags(kStyleKeepCentred)) w->CenterInParent();
        }
    }
    Event event;
    event.word[0] = width;
    event.word[1] = height;
    event.word[6] = kEventSurfaceResized;
    BroadcastResize(root_, event);
    if ((redrawFlags_ & kRedrawDuringResize) && pump_ && running_) pump_();
}

void WindowSystem::BroadcastResize(Window* window, Event& event) {
    window->HandleEvent(window, kEventSurfaceResized, event);
    for (Window* c = window->FirstChild(); c;) {
        Window* next = c->NextSibling();
        BroadcastResize(c, event);
        c = next;
    }
}

void WindowSystem::SurfaceRefresh() {
    redrawFlags_ |= kRedrawFull;
    if (nativeDialogActive_) {
        Render();
        presentRequest_ = true;
    }
}

int WindowSystem::ThickBorder() const { return skin_ ? skin_->ThickBorder() : 0; }
int WindowSystem::ThinBorder() const { return skin_ ? skin_->ThinBorder() : 0; }

}  // namespace tamber::ui
