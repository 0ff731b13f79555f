#include "dialogs/editor/DialogValueDialog.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "ui/Font.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/TextBox.h"

namespace tamber::dialogs::editor {

namespace {

constexpr int kRunFlags = 1 | 4;

// A whole number at the text, which moves past it; none without digits or out of range.
std::optional<int> ReadNumber(const char*& text) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (end == text || errno == ERANGE || value < INT_MIN || value > INT_MAX) return std::nullopt;
    text = end;
    return int(value);
}

void SkipSpaces(const char*& text) {
    while (std::isspace(static_cast<unsigned char>(*text))) ++text;
}

}  // namespace

DialogValueDialog::DialogValueDialog(const char* label, int first, std::optional<int> second)
    : pair_(second.has_value()) {
    SetVisible(false);
    SetName("Edit Dialog");
    label_ = new TextBox(TextBox::kModeLabel, this);
    label_->SetText(label);
    field_ = new TextBox(TextBox::kModeTextField, this);
    field_->SetName("Value");
    field_->SetMaxLength(32);
    field_->SetText(pair_ ? std::to_string(first) + "," + std::to_string(*second) : std::to_string(first));
    LinkTabOrder(field_);
    const Font* font = label_->GetFont();
    const int labelWidth = font ? ui::DrawText(font, label, 0, kTextMeasureOnly, {0, 0, 1 << 20, 1 << 10}) : 0;
    SetContentSize(labelWidth + 2 * TextBox::kMargin + kGap + kFieldWidth, field_->RowHeight() + 2 * TextBox::kMargin);
}

void DialogValueDialog::OnResize() {
    DialogWindow::OnResize();
    const Rect content = GetContentRect();
    const int height = field_->RowHeight() + 2 * TextBox::kMargin;
    const int fieldLeft = std::max(content.left, content.right - kFieldWidth);
    label_->SetFrameXYWH(content.left, content.top, std::max(1, fieldLeft - kGap - content.left), height);
    field_->SetFrameXYWH(fieldLeft, content.top, content.right - fieldLeft, height);
}

std::optional<std::pair<int, int>> DialogValueDialog::Entered() const {
    const char* text = field_->Text().c_str();
    const std::optional<int> first = ReadNumber(text);
    if (!first) return std::nullopt;
    std::optional<int> second = 0;
    if (pair_) {
        SkipSpaces(text);
        if (*text++ != ',') return std::nullopt;
        second = ReadNumber(text);
        if (!second) return std::nullopt;
    }
    SkipSpaces(text);
    if (*text) return std::nullopt;
    return std::make_pair(*first, *second);
}

bool DialogValueDialog::OnOK() { return Entered().has_value(); }

std::optional<std::pair<int, int>> DialogValueDialog::Run() {
    CenterInParent();
    SetVisible(true);
    WS().SetFocus(field_, kFocusByProgram);
    field_->SelectAll();
    const bool accepted = WS().RunModal(this, kRunFlags) == 1;
    std::optional<std::pair<int, int>> value = accepted ? Entered() : std::nullopt;
    Close();
    return value;
}

}  // namespace tamber::dialogs::editor
