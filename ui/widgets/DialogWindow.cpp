#include "ui/widgets/DialogWindow.h"

#include <algorithm>

#include "platform/Os.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/Button.h"

namespace tamber::ui::widgets {
using namespace tamber::platform;

namespace {

constexpr uint32_t kDialogStyle = kStyleUpperLayer | kStyleAltFrame | kStylePanelA | kStyleMaximisable |
                                  kStyleResizable | kStyleShadow | kStyleTitleBar | kStyleEnabled | kStyleVisible;

Button* MakeButton(Window* parent, uint32_t id, const char* label) {
    auto* button = new Button(parent, id);
    button->SetName(label);
    button->SizeToFit();
    button->SetWidth(DialogWindow::kButtonWidth);
    return button;
}

}  // namespace

DialogWindow::DialogWindow() : Window(kDialogStyle, nullptr) {
    ok_ = MakeButton(this, 0, "OK");
    cancel_ = MakeButton(this, 1, "Cancel");
    ok_->clickedWithId.Connect(this, &DialogWindow::OnButton);
    cancel_->clickedWithId.Connect(this, &DialogWindow::OnButton);
}

Rect DialogWindow::GetContentRect() const {
    return {kMargin, kMargin, Client().Width() - kMargin, Client().Height() - ok_->Frame().Height() - kMargin};
}

void DialogWindow::SetContentSize(int width, int height) {
    int extraWidth = Frame().Width() - Client().Width();
    int extraHeight = Frame().Height() - Client().Height();
    SetSize(width + 2 * kMargin + extraWidth, height + ok_->Frame().Height() + 2 * kMargin + extraHeight);
}

Point DialogWindow::GetContentMinimum() const {
    return {kMinimumContentWidth, ok_->Frame().Height() + 2 * kMargin};
}

void DialogWindow::GetMinimumSize(Point& out) {
    Window::GetMinimumSize(out);
    Point content = GetContentMinimum();
    out.x += content.x;
    out.y += content.y;
}

void DialogWindow::LinkTabOrder(Window* lastControl) {
    ok_->InsertTabAfter(lastControl);
    cancel_->InsertTabAfter(ok_);
}

void DialogWindow::OnResize() {
    int width = Client().Width(), height = Client().Height();
    int y = height - ok_->Frame().Height() - kButtonGap;
    int cancelX = width - kMargin - cancel_->Frame().Width();
    cancel_->SetFrameXYWH(cancelX, y, cancel_->Frame().Width(), cancel_->Frame().Height());
    ok_->SetFrameXYWH(cancelX - kButtonGap - ok_->Frame().Width(), y, ok_->Frame().Width(), ok_->Frame().Height());
}

bool DialogWindow::Finish(int result) {
    SetVisible(false);
    WindowSystem& ws = WS();
    // Only the topmost run can end; a dialog further down waits hidden for its turn.
    if (ws.ModalWindow() == this) {
        ws.EndModal(this, result);
        return true;
    }
    return ws.IsOnModalStack(this);
}

void DialogWindow::OnButton(int id) {
    keyButton_ = nullptr;
    okHandled_ = false;
    bool agreed = id == 0 ? OnOK() : OnCancel();
    if (!agreed) {
        if (!okHandled_) OsBeep();
        return;
    }
    Finish(id == 0 ? 1 : 0);
}

bool DialogWindow::CanClose(int force) {
    (void)force;
    if (!OnCancel()) {
        OsBeep();
        return false;
    }
    // The owner of a modal run still reads the dialog when RunModal returns, so a
    // running dialog is only hidden here and left for its owner to close.
    return !Finish(0);
}

bool DialogWindow::TakeKey(Event& event) {
    int key = event.Key();
    bool enter = key == kKeyEnter || key == kKeyKeypadEnter;
    bool escape = key == kKeyEscape;
    if (event.Pressed()) {
        if ((enter || escape) && event.IsRepeat()) return true;
        if (keyButton_) {
            // Another key while a key button is held gives up the key press.
            keyButton_->CancelKeyPress();
            keyButton_ = nullptr;
            if (!enter && !escape) return false;
        }
        if (!enter && !escape) return false;
        keyButton_ = enter ? ok_ : cancel_;
        if (!keyButton_->IsEnabled()) {
            keyButton_ = nullptr;
            return true;
        }
        keyButton_->KeyPress(true);
        return true;
    }
    if (!enter && !escape) return false;
    Button* button = keyButton_;
    if (!button || button != (enter ? ok_ : cancel_)) return true;
    keyButton_ = nullptr;
    button->KeyPress(false);
    return true;
}

bool DialogWindow::HandleEvent(Window* target, int kind, Event& event) {
    // Keys come here first, before the control with the focus sees them.
    if (kind == kEventKey && WS().ModalWindow() == this && TakeKey(event)) return true;
    return Window::HandleEvent(target, kind, event);
}

}  // namespace tamber::ui::widgets
