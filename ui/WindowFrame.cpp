// The default drawing of Window: border, title bar with title and boxes, and the
// panel backgrounds, all from the skin.
#include "ui/DrawBatch.h"
#include "ui/RectOps.h"
#include "ui/Skin.h"
#include "ui/Window.h"
#include "ui/WindowSystem.h"

namespace tamber::ui {

void Window::DrawFrame() {
    Skin* skin = WS().GetSkin();
    if (!skin) return;
    Rect local{0, 0, frame_.Width(), frame_.Height()};
    if (flags_ & kStyleResizable) skin->DrawFrameBorder(local, int(borderSides_), (flags_ & kStyleAltFrame) != 0);
    else if (flags_ & kStyleThinBorder) skin->DrawThinFrame(local);
    if (!(flags_ & kStyleTitleBar)) return;

    int b = BorderWidth();
    Window* focus = WS().Focus();
    bool active = focus && focus->IsInside(const_cast<Window*>(this)->GetTopLevel());
    Rect band{b, b, local.right - b, b + kTitleBarHeight};
    skin->DrawTitleBar(band, active);
    // A resizable frame keeps a border's width between the title bar and the client.
    if (flags_ & kStyleResizable) skin->DrawFrameBorder({band.left, band.bottom, band.right, band.bottom + b}, 2, true);

    int textRight = band.right;
    int boxIndex = 0;
    for (uint32_t box : {uint32_t(kHitCloseBox), uint32_t(kHitMaximiseBox), uint32_t(kHitRollUpBox)}) {
        if (flags_ & box) {
            Rect r = RectLocal(TitleBoxRect(box), frame_);
            skin->DrawTitleBox(r, boxIndex, pressedTitleBox_ == box, active);
            textRight = std::min(textRight, r.left);
        }
        ++boxIndex;
    }
    if (const char* title = GetName()) {
        Skin::SetTextColor(false);
        if (!active) SetDrawColor(200, 200, 200, 255);
        DrawText(title, 0, 64 | 0x100, {band.left + 6, band.top, textRight - 4, band.bottom});
    }
}

void Window::DrawBackground() {
    Skin* skin = WS().GetSkin();
    if (!skin) return;
    Rect local{0, 0, client_.Width(), client_.Height()};
    if (flags_ & kStylePanelA) skin->DrawPanelA(local);
    else if (flags_ & kStylePanelB) skin->DrawPanelB(local);
}

}  // namespace tamber::ui
