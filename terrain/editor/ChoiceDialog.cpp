#include "terrain/editor/ChoiceDialog.h"

#include <algorithm>

#include "terrain/editor/DetailTextureChoices.h"
#include "ui/Font.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/Button.h"
#include "ui/widgets/ColorButton.h"
#include "ui/widgets/TextBox.h"

namespace tamber::terrain::editor {

namespace {

constexpr int kRunFlags = 1 | 4;

int MeasuredWidth(const TextBox* label) {
    const Font* font = label->GetFont();
    if (!font) return 8 * int(label->Text().size());
    return DrawText(font, label->Text().c_str(), 0, kTextMeasureOnly, {0, 0, 1 << 20, 1 << 10});
}

}  // namespace

ChoiceDialog::ChoiceDialog(const MaterialAttributes& attributes) : attributes_(attributes) {
    SetVisible(false);
    SetName("Edit Detail Texture Attributes");
    list_ = new ListWindow(0, kStyleControl | kStylePanelB, this);
    list_->SetName("Detail Texture");
    ListWindow::ListItem* chosen = nullptr;
    for (const TextureChoice& choice : DetailTextureChoices(attributes.tagid)) {
        tagids_.push_back(choice.tagid);
        ListWindow::ListItem* item = list_->AddListItem(nullptr, RowId(tagids_.size()), 0, choice.label);
        if (choice.tagid == attributes.tagid && !chosen) chosen = item;
    }
    list_->SelectListItem(chosen ? chosen : list_->FirstItem(), false);
    list_->activated.Connect(this, &ChoiceDialog::OnTextureActivated);
    colourLabel_ = AddLabel("Highlight Color:");
    colour_ = new ColorButton(this);
    colour_->SetName("Highlight Color");
    colour_->SetColor(attributes.Rgba());
    descriptionLabel_ = AddLabel("Description:");
    description_ = new TextBox(TextBox::kModeTextField, this);
    description_->SetName("Description");
    description_->SetMaxLength(int(kMaxDescriptionLength));
    description_->SetText(attributes.description.substr(0, kMaxDescriptionLength));
    colour_->InsertTabAfter(list_);
    description_->InsertTabAfter(colour_);
    LinkTabOrder(description_);
    SetContentSize(kWidth, kHeight);
}

TextBox* ChoiceDialog::AddLabel(const char* text) {
    auto* label = new TextBox(TextBox::kModeLabel, this);
    label->SetText(text);
    return label;
}

void ChoiceDialog::OnResize() {
    DialogWindow::OnResize();
    const Rect content = GetContentRect();
    const int labelWidth = std::max(MeasuredWidth(colourLabel_), MeasuredWidth(descriptionLabel_)) + 2 * TextBox::kMargin;
    const int fieldLeft = content.left + labelWidth + kRowGap;
    const int rowHeight = description_->RowHeight() + 2 * TextBox::kMargin;
    const int descriptionTop = content.bottom - rowHeight;
    const int colourTop = descriptionTop - kRowGap - rowHeight;
    list_->SetFrameXYWH(content.left, content.top, content.Width(), std::max(1, colourTop - kRowGap - content.top));
    colourLabel_->SetFrameXYWH(content.left, colourTop, labelWidth, rowHeight);
    const int swatchHeight = std::min(colour_->Frame().Height(), rowHeight);
    colour_->SetFrameXYWH(fieldLeft, colourTop + (rowHeight - swatchHeight) / 2, colour_->Frame().Width(), swatchHeight);
    descriptionLabel_->SetFrameXYWH(content.left, descriptionTop, labelWidth, rowHeight);
    description_->SetFrameXYWH(fieldLeft, descriptionTop, std::max(1, std::min(kDescriptionWidth, content.right - fieldLeft)),
                               rowHeight);
}

std::optional<MaterialAttributes> ChoiceDialog::Entered() const {
    if (list_->Selection().empty()) return std::nullopt;
    const size_t row = size_t(list_->Selection().front()->id) - 1;
    if (row >= tagids_.size()) return std::nullopt;
    const uint32_t rgba = colour_->GetColor();
    return MaterialAttributes{tagids_[row], {uint8_t(rgba >> 24), uint8_t(rgba >> 16), uint8_t(rgba >> 8)},
                              description_->Text().substr(0, kMaxDescriptionLength)};
}

void ChoiceDialog::OnTextureActivated(ListWindow::ListItem*) { OKButton()->SetButtonState(Button::kOn, false); }

bool ChoiceDialog::OnOK() { return Entered().has_value(); }

std::optional<MaterialAttributes> ChoiceDialog::Run() {
    CenterInParent();
    SetVisible(true);
    if (!list_->Selection().empty()) list_->ScrollToItem(list_->Selection().front());
    WS().SetFocus(list_, kFocusByProgram);
    const bool accepted = WS().RunModal(this, kRunFlags) == 1;
    std::optional<MaterialAttributes> entered = accepted ? Entered() : std::nullopt;
    Close();
    return entered;
}

}  // namespace tamber::terrain::editor
