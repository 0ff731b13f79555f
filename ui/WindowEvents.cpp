// The default event dispatch of Window: close keys, tab navigation, and the
// client/frame split of mouse events.
#include "ui/Window.h"
#include "ui/WindowSystem.h"

namespace tamber::ui {

namespace {

bool IsCloseKey(const Event& event) {
    return event.Kind() == kEventKey && event.Pressed() && (event.Modifiers() & kModCtrl) &&
           (event.Key() == 'W' || event.Key() == kKeyF4);
}

}  // namespace

bool Window::HandleEvent(Window* target, int kind, Event& event) {
    WindowSystem& ws = WS();
    if ((flags_ & kStyleCloseBox) && IsCloseKey(event)) {
        Window* modal = ws.ModalWindow();
        if (!(modal && modal != this && modal->IsInside(this))) {
            if (CanClose(1)) Close();
            return true;
        }
    }
    if (target != this) return false;

    switch (kind) {
    case kEventKey: {
        if (event.Key() == kKeyTab && (tabNext_ || tabPrevious_)) {
            if (event.Pressed()) ws.TabFrom(this, (event.Modifiers() & kModShift) != 0);
            return true;
        }
        for (Window* w = this; w; w = w->parent_) {
            if (w->OnKey(event)) return true;
            if (w->flags_ & kStyleTopBoundary) break;
        }
        return false;
    }
    case kEventChar:
        OnChar(event);
        return true;
    case kEventMouseButton: {
        if (event.ButtonPressed()) {
            GetTopLevel()->BringToFront();
            if (!IsFocused()) {
                Window* focused = ws.SetFocus(this, kFocusByMouse);
                if (ws.LastFocusRedirected() && focused != this) return true;
            }
        }
        if (uint32_t(event.HitCode()) == kHitClient) OnMouseButton(event);
        else OnFrameMouseButton(event);
        return true;
    }
    case kEventDoubleClick:
        if (uint32_t(event.HitCode()) == kHitClient) OnDoubleClick(event);
        else OnFrameDoubleClick(event);
        return true;
    case kEventMouseMove:
        if (uint32_t(event.HitCode()) == kHitClient) OnMouseMove(event);
        else OnFrameMouseMove(event);
        return true;
    case kEventWheel:
        if (uint32_t(event.HitCode()) == kHitClient) OnWheel(event);
        else OnFrameWheel(event);
        return true;
    default:
        return false;
    }
}

}  // namespace tamber::ui
