#include "editing/TagInfoWindow.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "tags/Codex.h"
#include "tags/TagOperations.h"
#include "ui/Font.h"
#include "ui/TextLayout.h"
#include "ui/WindowPlacement.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/MessageBoxWindow.h"
#include "ui/widgets/TextBox.h"

namespace tamber::editing {
using namespace tamber::tags;
using namespace tamber::ui;
using namespace tamber::ui::widgets;

namespace {

constexpr uint32_t kInfoStyle =
    kStyleDocument & ~(kStyleVisible | kStyleResizable | kStyleMaximisable | kStyleMaximiseBox);
constexpr const char* kLabels[TagInfoWindow::kFieldCount] = {"Tag Name:", "Tag Subgroup:", "Tag Group:", "Tag Size:",
                                                             "Tag Location:"};

constexpr int kLabelTextTop = 2;

// Texts shown in titles and message boxes are cut at 255 characters.
std::string Format(const char* format, const std::string& value) {
    char text[256];
    std::snprintf(text, sizeof text, format, value.c_str());
    return text;
}

void ShowFailure(const std::string& text) { MessageBox("Error", text.c_str(), {"OK"}); }

}  // namespace

TagInfoWindow::TagInfoWindow() : Window(kInfoStyle, nullptr) {
    const Font* font = GetFont();
    int labelWidth = 0;
    for (const char* label : kLabels) {
        labelWidth = std::max(labelWidth, font ? ui::DrawText(font, label, 0, kTextMeasureOnly, {0, 0, 1 << 20, 1 << 10})
                                               : int(std::char_traits<char>::length(label)) * 7);
    }
    labelWidth += 2 * TextBox::kMargin;

    int y = kMargin;
    for (int i = 0; i < kFieldCount; ++i) {
        const bool editable = i == kFieldName || i == kFieldSubgroup;
        auto* field = new TextBox(TextBox::kModeTextField, this);
        if (editable) {
            field->SetMaxLength(i == kFieldName ? kNameLength : kSubgroupLength);
            field->changed.Connect(this, &TagInfoWindow::OnFieldChanged);
        } else {
            field->SetReadOnly(true);
        }
        const int rowHeight = field->Frame().Height();
        field->SetFrameXYWH(kMargin + labelWidth + kColumnGap, y, kFieldWidth, rowHeight);
        if (i > 0) field->InsertTabAfter(fields_[i - 1]);
        fields_[i] = field;

        // The label's text on the field's line: a one-line box centres its text, a
        // label draws it kLabelTextTop below its top.
        auto* label = new TextBox(TextBox::kModeLabel, this);
        label->SetText(kLabels[i]);
        const int border = field->Client().top - field->Frame().top;
        const int textTop = border + (field->Client().Height() - GetFontHeight(font)) / 2;
        label->SetFrameXYWH(kMargin, y + textTop - kLabelTextTop, labelWidth, label->RowHeight() + 6);
        y += rowHeight + kRowGap;
    }
    SetFocusChild(fields_[kFieldName]);

    const int clientWidth = 2 * kMargin + labelWidth + kColumnGap + kFieldWidth;
    const int clientHeight = y - kRowGap + kMargin;
    SetSize(clientWidth, clientHeight);
    // Now that the border and title are known, grow the frame around the wanted client.
    SetSize(clientWidth + Frame().Width() - Client().Width(), clientHeight + Frame().Height() - Client().Height());
    Codex::Instance().AddListener(&TagInfoWindow::OnCodexEvent, this);
}

TagInfoWindow::~TagInfoWindow() {
    Codex::Instance().RemoveListener(&TagInfoWindow::OnCodexEvent, this);
    Detach();
}

void TagInfoWindow::Attach(TagRecord* record) {
    record_ = record;
    if (record_) Codex::Instance().AttachToTag(record_, kAttachTagInfo, static_cast<Window*>(this));
}

void TagInfoWindow::Detach() {
    TagRecord* record = record_;
    record_ = nullptr;
    if (record) Codex::Instance().DetachFromTag(record, kAttachTagInfo, static_cast<Window*>(this));
}

void TagInfoWindow::SetTag(TagRecord* record) {
    if (record != record_) {
        // Attach first: the old record may be the one the new record came from.
        TagRecord* previous = record_;
        Attach(record);
        if (previous) Codex::Instance().DetachFromTag(previous, kAttachTagInfo, static_cast<Window*>(this));
    }
    Fill(true);
    SetModified(false);
}

std::string TagInfoWindow::CurrentName() const {
    const TagEntry* entry = record_ ? Codex::Instance().CurrentEntry(record_) : nullptr;
    return entry ? entry->header.Name() : std::string();
}

void TagInfoWindow::Fill(bool editable) {
    Codex& codex = Codex::Instance();
    const TagEntry* entry = record_ ? codex.CurrentEntry(record_) : nullptr;
    if (editable) {
        fields_[kFieldName]->SetText(CurrentName());
        fields_[kFieldSubgroup]->SetText(record_ ? FourCCText(record_->tagid) : std::string());
    }
    fields_[kFieldGroup]->SetText(record_ ? FourCCText(record_->group) : std::string());
    fields_[kFieldSize]->SetText(std::to_string(entry ? int(entry->header.size) : 0));
    fields_[kFieldLocation]->SetText(record_ ? codex.TagLocationName(record_) : std::string());
}

void TagInfoWindow::SetModified(bool modified) {
    modified_ = modified;
    SetName(Format(modified ? "Tag Info: %s*" : "Tag Info: %s", CurrentName()).c_str());
    Invalidate();
}

void TagInfoWindow::OnCodexEvent(const CodexEvent& event, void* context) {
    auto* window = static_cast<TagInfoWindow*>(context);
    if (!window->record_ || event.record != window->record_) return;
    window->Fill(!window->modified_);
    window->SetModified(window->modified_);
}

bool TagInfoWindow::Apply() {
    Codex& codex = Codex::Instance();
    TagRecord* record = record_;
    if (!record) return false;
    if (record->OpenCount() > 1) {
        ShowFailure(Format("Tag information for '%s' could not be updated because the tag is still in use.",
                           CurrentName()));
        return false;
    }
    const std::string subgroup = fields_[kFieldSubgroup]->Text();
    if (subgroup.size() != kSubgroupLength) {
        ShowFailure("The subgroup id must be exactly 4 characters long.");
        return false;
    }
    const std::string name = fields_[kFieldName]->Text();
    if (name.empty()) {
        ShowFailure("The name field must not be empty.");
        return false;
    }
    const uint32_t tagid = FourCCFromText(subgroup);
    if (tagid != record->tagid) {
        const TagRecord* other = codex.FindTagRecord(record->group, tagid);
        if (other && other->localEntry) {
            ShowFailure("A tag with the specified group and subgroup combination already exists in the local folder.");
            return false;
        }
    }
    const std::optional<uint32_t> newTagid = tagid != record->tagid ? std::optional<uint32_t>(tagid) : std::nullopt;
    const bool renamed = name != CurrentName();
    TagRecord* result = nullptr;
    if (codex.CurrentEntry(record)) {
        Result<TagRecord*> changed = ChangeTagInfo(codex, record, newTagid, renamed ? &name : nullptr);
        if (changed) result = *changed;
    }
    if (!result) {
        ShowFailure("The tag information could not be changed because of an error.");
        return false;
    }
    SetTag(result);
    return true;
}

bool TagInfoWindow::CanClose(int force) {
    if (modified_) {
        switch (MessageBox("Save?", "Do you wish to save your changes to the tag?", {"Save", "Discard", "Cancel"})) {
        case 0:
            if (!Apply()) return false;
            break;
        case 1: break;
        default: return false;
        }
    }
    return Window::CanClose(force);
}

void TagInfoWindow::OnClose() { Detach(); }

bool TagInfoWindow::OnKey(Event& event) {
    if (event.Pressed() && event.Key() == 'S' && (event.Modifiers() & kModCtrl)) {
        Apply();
        return true;
    }
    return false;
}

Window* ShowTagInfo(TagRecord* record) {
    if (!record) return nullptr;
    auto* window = static_cast<Window*>(Codex::Instance().FindAttachment(record, kAttachTagInfo));
    if (!window) {
        auto* info = new TagInfoWindow;
        info->SetTag(record);
        PlaceAtCascadePosition(info);
        window = info;
    }
    window->SetVisible(true);
    window->BringToFront();
    WS().SetFocus(window, kFocusByProgram);
    return window;
}

}  // namespace tamber::editing
