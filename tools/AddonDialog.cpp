#include "tools/AddonDialog.h"

#include <algorithm>

#include "tags/Codex.h"
#include "terrain/DtexAddon.h"
#include "ui/Font.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/BatchProgress.h"
#include "ui/widgets/MessageBoxWindow.h"
#include "ui/widgets/TextBox.h"

namespace tamber::tools {
using namespace tamber::tags;
using namespace tamber::terrain;
using namespace tamber::ui;
using namespace tamber::ui::widgets;

namespace {

constexpr const char* kHelpText =
    "The priority field of an add-on plugin defines its load ordering compared to other add-ons.\n\n"
    "An add-on with a high priority will load after (and so override) an add-on with a low priority.\n\n"
    "If you are not explicitly trying to override or not override some other add-on, you should not change "
    "this number from the default value of 100.";
constexpr int kRunFlags = 1 | 4;
constexpr int kFallbackLineHeight = 16;
constexpr int kHelpPadding = 4;  // the text box's own margin above and below its rows

int LabelWidth(const Window* window, const std::string& text) {
    const Font* font = window->GetFont();
    if (!font) return int(text.size()) * kFallbackLineHeight / 2;
    return DrawText(font, text.c_str(), 0, kTextMeasureOnly, {0, 0, 1 << 20, 1 << 10});
}

}  // namespace

AddonPopup::AddonPopup() {
    SetVisible(false);
    SetName("Build Add-on plugin");
    name_ = AddRow("Name:", TextBox::kModeTextField);
    name_->SetName("Name");
    name_->SetMaxLength(int(kAddonNameLength));
    name_->SetText("<addon name>");
    url_ = AddRow("URL:", TextBox::kModeTextField);
    url_->SetName("URL");
    url_->SetMaxLength(int(kAddonUrlLength));
    url_->SetText("<addon url>");
    priority_ = AddRow("Priority:", TextBox::kModeInteger);
    priority_->SetName("Priority");
    priority_->SetInt(kDefaultAddonPriority);
    help_ = AddRow("Help:", TextBox::kModeReadOnly);
    help_->SetName("Help");
    help_->SetText(kHelpText);
    url_->InsertTabAfter(name_);
    priority_->InsertTabAfter(url_);
    LinkTabOrder(priority_);
    const int lineHeight = GetFont() ? GetFontHeight(GetFont()) : kFallbackLineHeight;
    SetContentSize(kWidth, kTextLines * lineHeight + kExtraHeight);
}

TextBox* AddonPopup::AddRow(const char* label, int mode) {
    auto* text = new TextBox(TextBox::kModeLabel, this);
    text->SetText(label);
    labels_.push_back(text);
    return new TextBox(mode, this);
}

void AddonPopup::OnResize() {
    DialogWindow::OnResize();
    const Rect content = GetContentRect();
    int labelWidth = 0;
    for (TextBox* label : labels_) labelWidth = std::max(labelWidth, LabelWidth(this, label->Text()));
    labelWidth += 2 * TextBox::kMargin + kRowGap;
    const int fieldLeft = content.left + labelWidth;
    const int fieldWidth = std::max(1, content.right - fieldLeft);
    int y = content.top;
    TextBox* fields[] = {name_, url_, priority_, help_};
    for (size_t i = 0; i < labels_.size(); ++i) {
        TextBox* field = fields[i];
        // The help text takes the whole rows that fit in what is left (it scrolls).
        const int rows = std::max(1, (content.bottom - y - kHelpPadding) / std::max(1, help_->RowHeight()));
        const int height = field == help_ ? rows * help_->RowHeight() + kHelpPadding : name_->Frame().Height();
        labels_[i]->SetFrameXYWH(content.left, y, labelWidth - kRowGap, labels_[i]->RowHeight() + 4);
        field->SetFrameXYWH(fieldLeft, y, field == priority_ ? std::min(fieldWidth, 96) : fieldWidth, height);
        y += height + kRowGap;
    }
}

bool AddonPopup::Run() {
    CenterInParent();
    SetVisible(true);
    WS().SetFocus(name_, kFocusByProgram);
    name_->SelectAll();
    return WS().RunModal(this, kRunFlags) == 1;
}

AddonFields AddonPopup::Fields() const { return {name_->Text(), url_->Text(), priority_->Text()}; }

void ShowAddonMessage(const AddonMessage& message) {
    MessageBox(message.title.c_str(), message.text.c_str(), {message.button.c_str()});
}

bool RunAddonDialog(const std::vector<TagRecord*>& tags) {
    auto* popup = new AddonPopup;
    const bool accepted = popup->Run();
    const AddonFields fields = popup->Fields();
    popup->Close();
    if (!accepted) return false;
    uint16_t priority = 0;
    if (const std::optional<AddonMessage> invalid = CheckAddonFields(fields, priority)) {
        ShowAddonMessage(*invalid);
        return false;
    }
    bool built = false;
    {
        BatchProgress progress("Building Add-on");
        // A failure's reason goes to the "Codex" channel of the log.
        built = BuildAddon(Codex::Instance(), tags, kAddonArchiveType, fields.name, fields.url, priority,
                           [&progress](const std::string& what, size_t done, size_t total) {
                               progress.Update(what, done, total);
                           }).ok();
    }
    ShowAddonMessage(AddonResultMessage(built, fields.name));
    return built;
}

namespace {

void RunGathered(const AddonTags& gathered) {
    if (gathered.message)
        ShowAddonMessage(*gathered.message);
    else
        RunAddonDialog(gathered.tags);
}

}  // namespace

void BuildRegularAddon() { RunGathered(GatherRegularAddonTags(Codex::Instance())); }

void BuildDtexAddon() { RunGathered(GatherDtexAddonTags(Codex::Instance())); }

}  // namespace tamber::tools
