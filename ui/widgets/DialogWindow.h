#pragma once
// The base of every dialog with OK and Cancel: the two buttons at the bottom right,
// Enter and Escape working them from the keyboard, and OnOK / OnCancel deciding
// whether the dialog may close. A dialog run modally ends its run with 1 for OK and
// 0 for Cancel.
#include <cstdint>

#include "ui/Window.h"

namespace tamber::ui::widgets {

class Button;

class DialogWindow : public Window {
public:
    static constexpr int kMargin = 16;
    static constexpr int kButtonWidth = 64;
    static constexpr int kButtonGap = 8;
    static constexpr int kMinimumContentWidth = 168;

    // Style 0x402EF, no parent (upper layer), size 0 by 0; subclasses add their
    // controls and size the dialog.
    DialogWindow();

    const char* GetClassName() const override { return "DialogWindow"; }

    // True lets the dialog close.
    virtual bool OnOK() { return true; }
    virtual bool OnCancel() { return true; }

    // The area for the subclass's controls, client-local.
    Rect GetContentRect() const;
    void SetContentSize(int width, int height);
    Point GetContentMinimum() const;
    // Puts OK and then Cancel into the tab chain after the last control.
    void LinkTabOrder(Window* lastControl);

    Button* OKButton() const { return ok_; }
    Button* CancelButton() const { return cancel_; }
    Button* KeyButton() const { return keyButton_; }

    bool HandleEvent(Window* target, int kind, Event& event) override;
    void GetMinimumSize(Point& out) override;
    // The close box and close keys act as Cancel.
    bool CanClose(int force) override;
    void OnResize() override;

protected:
    // Called from OnOK when it keeps the dialog open because it did something else
    // the user asked for (a file dialog entering a folder): that is no refusal, so
    // there is no beep.
    void OkHandledWithoutClosing() { okHandled_ = true; }

private:
    void OnButton(int id);
    // Hides the dialog and ends its modal run; true when it was running modally.
    bool Finish(int result);
    bool TakeKey(Event& event);

    Button* ok_;
    Button* cancel_;
    Button* keyButton_ = nullptr;
    bool okHandled_ = false;
};

}  // namespace tamber::ui::widgets
