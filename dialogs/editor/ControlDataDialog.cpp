#include "dialogs/editor/ControlDataDialog.h"

#include <algorithm>
#include <cstdlib>

#include "dialogs/ControlTypes.h"
#include "tags/FourCC.h"
#include "ui/Font.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/ComboBox.h"
#include "ui/widgets/TextBox.h"

namespace tamber::dialogs::editor {
using namespace tamber::tags;

namespace {

constexpr int kRunFlags = 1 | 4;

// The code's characters, a NUL shown as a blank.
std::string TagText(uint32_t code) {
    std::string text = FourCCText(code);
    std::replace(text.begin(), text.end(), '\0', ' ');
    return text;
}

int TypeIndex(uint32_t code) {
    const ControlType* table = ControlTypeTable();
    for (size_t i = 0; i < kControlTypeCount; ++i) {
        if (table[i].code == code) return int(i);
    }
    return -1;
}

}  // namespace

ControlDataDialog::ControlDataDialog(const DialogControl& control) : control_(control) {
    SetVisible(false);
    SetName("Edit Control Data");
    AddLabel("ID:");
    id_ = new TextBox(TextBox::kModeInteger, this);
    id_->SetName("ID");
    id_->SetInt(control.id);
    AddLabel("Tag:");
    tag_ = new TextBox(TextBox::kModeTextField, this);
    tag_->SetName("Tag");
    tag_->SetMaxLength(4);
    shownTag_ = TagText(control.type);
    tag_->SetText(shownTag_);
    AddLabel("Type:");
    type_ = new ComboBox(this, 0);
    type_->SetName("Type");
    const ControlType* table = ControlTypeTable();
    for (size_t i = 0; i < kControlTypeCount; ++i) type_->AddItem(table[i].name);
    type_->SelectItem(TypeIndex(control.type));
    AddLabel("Text: ");
    text_ = new TextBox(TextBox::kModeTextField, this);
    text_->SetName("Text");
    text_->SetMaxLength(kMaxText);
    text_->SetText(control.text.substr(0, kMaxText));
    type_->itemChosen.Connect(this, &ControlDataDialog::OnTypeChosen);
    tag_->changed.Connect(this, &ControlDataDialog::OnTagEdited);
    tag_->InsertTabAfter(id_);
    type_->InsertTabAfter(tag_);
    text_->InsertTabAfter(type_);
    LinkTabOrder(text_);
    SetContentSize(kWidth, 4 * (id_->RowHeight() + 2 * TextBox::kMargin + kRowGap));
}

TextBox* ControlDataDialog::AddLabel(const char* label) {
    auto* text = new TextBox(TextBox::kModeLabel, this);
    text->SetText(label);
    labels_.push_back(text);
    return text;
}

void ControlDataDialog::OnResize() {
    DialogWindow::OnResize();
    const Rect content = GetContentRect();
    int labelWidth = 0;
    for (TextBox* label : labels_) {
        const Font* font = label->GetFont();
        labelWidth = std::max(labelWidth, font ? ui::DrawText(font, label->Text().c_str(), 0, kTextMeasureOnly,
                                                          {0, 0, 1 << 20, 1 << 10})
                                               : 8 * int(label->Text().size()));
    }
    labelWidth += 2 * TextBox::kMargin + kRowGap;
    const int fieldLeft = content.left + labelWidth;
    const int fieldWidth = std::max(1, content.right - fieldLeft);
    const int height = id_->RowHeight() + 2 * TextBox::kMargin;
    Window* fields[] = {id_, tag_, type_, text_};
    for (size_t i = 0; i < labels_.size(); ++i) {
        const int y = content.top + int(i) * (height + kRowGap);
        labels_[i]->SetFrameXYWH(content.left, y, labelWidth - kRowGap, height);
        const int width = fields[i] == id_ || fields[i] == tag_ ? std::min(fieldWidth, 96) : fieldWidth;
        fields[i]->SetFrameXYWH(fieldLeft, y, width, height);
    }
}

void ControlDataDialog::OnTypeChosen(int index) {
    if (index < 0 || size_t(index) >= kControlTypeCount) return;
    tag_->SetText(TagText(ControlTypeTable()[index].code));
}

void ControlDataDialog::OnTagEdited() {
    const int index = TypeIndex(FourCCFromText(tag_->Text()));
    if (index != type_->GetSelectedItem()) type_->SelectItem(index);
}

std::optional<DialogControl> ControlDataDialog::Entered() const {
    const std::string& idText = id_->Text();
    char* end = nullptr;
    const long id = std::strtol(idText.c_str(), &end, 10);
    if (idText.empty() || *end != '\0' || id < 0 || id > 0xFFFF || tag_->Text().empty()) return std::nullopt;
    DialogControl control = control_;
    control.id = uint16_t(id);
    if (tag_->Text() != shownTag_) control.type = FourCCFromText(tag_->Text());
    control.text = text_->Text();
    return control;
}

bool ControlDataDialog::OnOK() { return Entered().has_value(); }

std::optional<DialogControl> ControlDataDialog::Run() {
    CenterInParent();
    SetVisible(true);
    WS().SetFocus(id_, kFocusByProgram);
    id_->SelectAll();
    const bool accepted = WS().RunModal(this, kRunFlags) == 1;
    std::optional<DialogControl> control = accepted ? Entered() : std::nullopt;
    Close();
    return control;
}

}  // namespace tamber::dialogs::editor
