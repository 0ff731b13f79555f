#include "tools/AutoCollectionForm.h"

#include <algorithm>

#include "base/Preferences.h"
#include "ui/Font.h"
#include "ui/WindowSystem.h"
#include "ui/choosers/FileDialogs.h"
#include "ui/widgets/Button.h"
#include "ui/widgets/CheckBox.h"
#include "ui/widgets/MessageBoxWindow.h"
#include "ui/widgets/TextBox.h"

namespace tamber::tools {
using namespace tamber::base;
using namespace tamber::ui::choosers;

namespace {

constexpr int kRunFlags = 1 | 4;
constexpr int kBrowseWidth = 28;
constexpr int kFallbackLineHeight = 16;

int TextWidth(const Window* window, const std::string& text) {
    const Font* font = window->GetFont();
    if (!font) return int(text.size()) * kFallbackLineHeight / 2;
    return DrawText(font, text.c_str(), 0, kTextMeasureOnly, {0, 0, 1 << 20, 1 << 10});
}

}  // namespace

AutoCollectionForm::AutoCollectionForm(const char* title, const char* prefsPrefix) : prefix_(prefsPrefix) {
    SetVisible(false);
    SetName(title);
}

TextBox* AutoCollectionForm::MakeLabel(const char* text) {
    auto* label = new TextBox(TextBox::kModeLabel, this);
    label->SetText(text);
    return label;
}

TextBox* AutoCollectionForm::AddTextRow(const char* label, const char* key, int mode, int maxLength) {
    auto* field = new TextBox(mode, this);
    field->SetName(key);
    field->SetMaxLength(maxLength);
    rows_.push_back({MakeLabel(label), {field}});
    stored_.push_back({key, field, nullptr});
    return field;
}

TextBox* AutoCollectionForm::AddFolderRow(const char* label, const char* key, const char* chooserTitle) {
    TextBox* field = AddTextRow(label, key, TextBox::kModeTextField, 1024);
    auto* browse = new Button(this, uint32_t(browsers_.size()));
    browse->SetName("...");
    browse->SizeToFit();
    browse->clickedWithId.Connect(this, &AutoCollectionForm::Browse);
    rows_.back().browse = browse;
    browsers_.push_back({field, chooserTitle});
    return field;
}

void AutoCollectionForm::AddPairRow(const char* label, const char* firstLabel, const char* firstKey, TextBox*& first,
                                    const char* secondLabel, const char* secondKey, TextBox*& second) {
    first = new TextBox(TextBox::kModeTextField, this);
    first->SetName(firstKey);
    second = new TextBox(TextBox::kModeTextField, this);
    second->SetName(secondKey);
    rows_.push_back({MakeLabel(label), {MakeLabel(firstLabel), first, MakeLabel(secondLabel), second}});
    stored_.push_back({firstKey, first, nullptr});
    stored_.push_back({secondKey, second, nullptr});
}

void AutoCollectionForm::AddWindowRow(const char* label, Window* field) { rows_.push_back({MakeLabel(label), {field}}); }

CheckBox* AutoCollectionForm::AddCheck(const char* label, const char* key) {
    auto* check = new CheckBox(this, 0);
    check->SetName(label);
    check->SizeToFit();
    checks_.push_back(check);
    stored_.push_back({key, nullptr, check});
    return check;
}

void AutoCollectionForm::FinishRows() {
    Window* last = nullptr;
    auto link = [&last](Window* window) {
        if (last) window->InsertTabAfter(last);
        last = window;
    };
    for (const Row& row : rows_) {
        for (Window* field : row.fields)
            if (!dynamic_cast<TextBox*>(field) || static_cast<TextBox*>(field)->Mode() != TextBox::kModeLabel)
                link(field);
        if (row.browse) link(row.browse);
    }
    for (CheckBox* check : checks_) link(check);
    if (last) LinkTabOrder(last);
    const int lineHeight = GetFont() ? GetFontHeight(GetFont()) : kFallbackLineHeight;
    const int rowHeight = lineHeight + 8;
    SetContentSize(kWidth, int(rows_.size() + checks_.size()) * (rowHeight + kRowGap));
}

void AutoCollectionForm::OnResize() {
    DialogWindow::OnResize();
    const Rect content = GetContentRect();
    int labelWidth = 0;
    for (const Row& row : rows_) labelWidth = std::max(labelWidth, TextWidth(this, row.label->Text()));
    labelWidth += 2 * TextBox::kMargin + kRowGap;
    const int fieldLeft = content.left + labelWidth;
    int y = content.top;
    for (const Row& row : rows_) {
        Window* first = row.fields.front();
        const int height = std::max(first->Frame().Height(), row.label->RowHeight() + 8);
        row.label->SetFrameXYWH(content.left, y, labelWidth - kRowGap, height);
        const int browseWidth = row.browse ? kBrowseWidth + kRowGap : 0;
        if (row.fields.size() == 1) {
            first->SetFrameXYWH(fieldLeft, y, std::max(1, content.right - fieldLeft - browseWidth), height);
        } else {
            int x = fieldLeft;
            for (Window* part : row.fields) {
                auto* text = dynamic_cast<TextBox*>(part);
                const bool label = text && text->Mode() == TextBox::kModeLabel;
                const int width = label ? TextWidth(this, text->Text()) + 2 * TextBox::kMargin : kSmallFieldWidth;
                part->SetFrameXYWH(x, y, width, height);
                x += width + kRowGap;
            }
        }
        if (row.browse) row.browse->SetFrameXYWH(content.right - kBrowseWidth, y, kBrowseWidth, height);
        y += height + kRowGap;
    }
    for (CheckBox* check : checks_) {
        check->SetFrameXYWH(fieldLeft, y, check->Frame().Width(), check->Frame().Height());
        y += check->Frame().Height() + kRowGap;
    }
}

bool AutoCollectionForm::Run() {
    LoadValues();
    CenterInParent();
    SetVisible(true);
    for (const Stored& value : stored_)
        if (value.text) {
            WS().SetFocus(value.text, kFocusByProgram);
            value.text->SelectAll();
            break;
        }
    return WS().RunModal(this, kRunFlags) == 1;
}

void AutoCollectionForm::LoadValues() {
    for (const Stored& value : stored_) {
        const std::string key = prefix_ + "." + value.key;
        if (value.text) {
            std::string text;
            if (GetPrefString(key.c_str(), text)) value.text->SetText(text);
        } else {
            int state = 0;
            if (GetPrefInt(key.c_str(), state) && state >= 0 && state <= 3) value.check->SetChecked(state == 1 || state == 2);
        }
    }
}

void AutoCollectionForm::SaveValues() const {
    for (const Stored& value : stored_) {
        const std::string key = prefix_ + "." + value.key;
        if (value.text) SetPrefString(key.c_str(), value.text->Text());
        else SetPrefInt(key.c_str(), value.check->IsChecked() ? 1 : 0);
    }
}

bool AutoCollectionForm::Refuse(const std::string& message) {
    MessageBox("Error", message.c_str(), {"OK"});
    OkHandledWithoutClosing();
    return false;
}

void AutoCollectionForm::Browse(int id) {
    if (id < 0 || size_t(id) >= browsers_.size()) return;
    auto& [field, title] = browsers_[size_t(id)];
    std::string path = field->Text();
    if (OsChooseFolder(title.c_str(), path)) field->SetText(path);
}

}  // namespace tamber::tools
