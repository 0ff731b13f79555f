#pragma once
// Modal message boxes: a title, an optional text (or a one-line text field to edit)
// and up to four buttons; the index of the pressed button is returned (0 for the
// first). The quit confirmation and error reports are message boxes.
#include <initializer_list>
#include <string>

#include "ui/Window.h"

namespace tamber::ui::widgets {

class Button;
class TextBox;

class MessageBoxWindow : public Window {
public:
    static constexpr int kMaxButtons = 4;
    static constexpr int kMaxTextWidth = 512;
    static constexpr int kMinFieldWidth = 128;
    static constexpr int kButtonExtraWidth = 32;
    static constexpr int kMinButtonWidth = 96;
    static constexpr int kButtonGap = 24;
    static constexpr int kMargin = 32;
    static constexpr int kTextGap = 24;

    // Lays the box out for the text and labels (a null label ends the list); with
    // input, the text is shown in an editable one-line field. Style 0x402AF.
    MessageBoxWindow(const char* title, const char* text, std::initializer_list<const char*> labels, bool input);

    const char* GetClassName() const override { return "MessageBoxWindow"; }

    // Centres the box, focuses it and runs it modally; the index of the pressed button.
    int Run();
    // The text of the input field.
    std::string InputText() const;
    TextBox* TextField() const { return field_; }
    Button* FirstButton() const { return first_; }
    int ButtonCount() const { return buttonCount_; }

private:
    void OnButton(int index);
    void OnFieldEnter(int pressed);

    TextBox* field_ = nullptr;
    Button* first_ = nullptr;
    int buttonCount_ = 0;
};

// Returns the index of the pressed button.
int MessageBox(const char* title, const char* text, std::initializer_list<const char*> labels);
// The same with an editable one-line field holding text; the edited text comes back in it.
int MessageBoxWithInput(const char* title, std::string& text, std::initializer_list<const char*> labels);
// Formats into at most 1024 characters and shows it in an "Error" box with "OK".
void ShowError(const char* format, ...) __attribute__((format(printf, 1, 2)));
// 0 means quit.
int ConfirmQuit();

}  // namespace tamber::ui::widgets
