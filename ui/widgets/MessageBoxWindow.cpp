#include "ui/widgets/MessageBoxWindow.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <vector>

#include "ui/Font.h"
#include "ui/TextLayout.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/Button.h"
#include "ui/widgets/TextBox.h"

namespace tamber::ui::widgets {

namespace {

constexpr uint32_t kBoxStyle = kStyleUpperLayer | kStyleAltFrame | kStylePanelA | kStyleResizable | kStyleShadow |
                               kStyleTitleBar | kStyleEnabled | kStyleVisible;
constexpr int kRunFlags = 1 | 4;  // keys to the box, the screen dimmed behind it

int MeasureWidth(const Font* font, const char* text) {
    return ui::DrawText(font, text, 0, kTextMultiLine | kTextMeasureOnly, {0, 0, 1 << 20, 1 << 20});
}

}  // namespace

MessageBoxWindow::MessageBoxWindow(const char* title, const char* text, std::initializer_list<const char*> labels,
                                   bool input)
    : Window(kBoxStyle & ~kStyleVisible, nullptr) {
    SetName(title ? title : "");
    const Font* font = GetFont();

    std::vector<const char*> names;
    for (const char* label : labels) {
        if (!label || int(names.size()) == kMaxButtons) break;
        names.push_back(label);
    }
    // A box without buttons could never end its run.
    if (names.empty()) names.push_back("OK");
    std::vector<Button*> buttons;
    int rowWidth = 0;
    for (const char* label : names) {
        auto* button = new Button(this, uint32_t(buttons.size()));
        button->SetName(label);
        button->SizeToFit();
        int width = std::max(MeasureWidth(font, label) + kButtonExtraWidth, int(kMinButtonWidth));
        button->SetWidth(width);
        button->clickedWithId.Connect(this, &MessageBoxWindow::OnButton);
        rowWidth += width + (buttons.empty() ? 0 : kButtonGap);
        buttons.push_back(button);
    }
    buttonCount_ = int(buttons.size());
    first_ = buttons[0];
    int buttonHeight = first_->Frame().Height();

    // The text field: wrapped at most 512 wide, or a one-line field to edit.
    int fieldWidth = 0, fieldHeight = 0;
    bool hasText = input || (text && *text);
    if (input) {
        field_ = new TextBox(TextBox::kModeTextField, this);
        field_->SetText(text ? text : "");
        fieldWidth = std::clamp(MeasureWidth(font, text ? text : "") + 2 * TextBox::kMargin + 8, int(kMinFieldWidth),
                                int(kMaxTextWidth));
        fieldHeight = field_->Frame().Height();
        field_->enter.Connect(this, &MessageBoxWindow::OnFieldEnter);
    } else if (hasText) {
        field_ = new TextBox(TextBox::kModeLabel, this);
        field_->SetWordWrap(true);
        field_->SetText(text);
        int textWidth = std::min(MeasureWidth(font, text), int(kMaxTextWidth));
        fieldWidth = textWidth + 2 * TextBox::kMargin;
        fieldHeight = std::max(MeasureTextHeight(font, text, 0, kTextMultiLine | kTextWordWrap, textWidth) + 4,
                               field_->Frame().Height());
    }
    int clientWidth = std::max(fieldWidth, rowWidth) + 2 * kMargin;
    // A field to type in spans the box, however short its first text.
    if (input) fieldWidth = clientWidth - 2 * kMargin;
    if (field_) field_->SetFrameXYWH(kMargin, kMargin, fieldWidth, fieldHeight);

    int clientHeight = fieldHeight + (hasText ? kTextGap : 0) + buttonHeight + 2 * kMargin;
    SetSize(clientWidth, clientHeight);
    // Now that the border and title are known, grow the frame around the wanted client.
    SetSize(clientWidth + Frame().Width() - Client().Width(), clientHeight + Frame().Height() - Client().Height());

    // One row of buttons, centred under the text; the tab chain runs from the text field.
    int x = (Client().Width() - rowWidth) / 2;
    int y = kMargin + fieldHeight + (hasText ? kTextGap : 0);
    Window* previous = field_ && field_->HasFlags(kStyleFocusable) ? static_cast<Window*>(field_) : nullptr;
    for (Button* button : buttons) {
        button->SetFrameXYWH(x, y, button->Frame().Width(), buttonHeight);
        x += button->Frame().Width() + kButtonGap;
        if (previous) button->InsertTabAfter(previous);
        previous = button;
    }
}

std::string MessageBoxWindow::InputText() const { return field_ ? field_->Text() : std::string(); }

void MessageBoxWindow::OnButton(int index) {
    if (WS().ModalWindow() == this) WS().EndModal(this, index);
}

void MessageBoxWindow::OnFieldEnter(int pressed) {
    // Enter in the field works the first button: pressed look while held, click on release.
    first_->KeyPress(pressed != 0);
}

int MessageBoxWindow::Run() {
    CenterInParent();
    SetVisible(true);
    // The box itself takes no focus: RunModal follows its focus child, set here.
    Window* focus = field_ && field_->HasFlags(kStyleFocusable) ? static_cast<Window*>(field_) : first_;
    WS().SetFocus(focus, kFocusByProgram);
    return WS().RunModal(this, kRunFlags);
}

namespace {

int RunBox(MessageBoxWindow* box, std::string* input) {
    int result = box->Run();
    if (input) *input = box->InputText();
    box->Close();
    return result;
}

}  // namespace

int MessageBox(const char* title, const char* text, std::initializer_list<const char*> labels) {
    return RunBox(new MessageBoxWindow(title, text, labels, false), nullptr);
}

int MessageBoxWithInput(const char* title, std::string& text, std::initializer_list<const char*> labels) {
    return RunBox(new MessageBoxWindow(title, text.c_str(), labels, true), &text);
}

void ShowError(const char* format, ...) {
    char text[1025];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    MessageBox("Error", text, {"OK"});
}

int ConfirmQuit() { return MessageBox("Really Quit Tamber?", nullptr, {"Quit", "Don't Quit"}); }

}  // namespace tamber::ui::widgets
