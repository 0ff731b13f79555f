#include "ui/widgets/PopupRun.h"

#include "ui/WindowSystem.h"

namespace tamber::ui::widgets {

void PopupRun::Run(Window* popup) {
    running_ = true;
    pending_ = false;
    WS().RunModal(popup, kFlags);
    running_ = false;
    if (!pending_) return;
    pending_ = false;
    WindowSystem& ws = WS();
    ws.RecomputeMouseWindow();
    Window* target = ws.MouseWindow();
    if (target && target != popup && !target->IsInside(popup)) {
        Event press = press_;
        press.word[2] = int32_t(ws.MouseHit());
        ws.Deliver(target, press.Kind(), press);
    }
}

void PopupRun::End(Window* popup) {
    if (running_) WS().EndModal(popup, 0);
}

void PopupRun::EndWithPress(Window* popup, const Event& press) {
    if (!running_) return;
    press_ = press;
    pending_ = true;
    End(popup);
}

}  // namespace tamber::ui::widgets
