#include "editing/StructMemberChangeListener.h"

#include <tinyxml.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <strings.h>

#include "collections/Collection.h"
#include "editing/StructCollectionCache.h"
#include "editing/definitions/DefinitionFiles.h"
#include "editing/StructEditor.h"
#include "editing/SubStructArrayEdit.h"
#include "tags/Codex.h"
#include "ui/Font.h"
#include "ui/widgets/Button.h"
#include "ui/widgets/CheckBox.h"
#include "ui/widgets/ComboBox.h"
#include "ui/widgets/TextBox.h"

namespace tamber::editing {
using namespace tamber::collections;
using namespace tamber::definitions;
using namespace tamber::tags;
using namespace tamber::ui;
using namespace tamber::ui::widgets;

namespace {

constexpr int kNumberWidth = 64;
constexpr int kControlHeight = 21;
constexpr int kComboExtraWidth = 40;
constexpr int kComboMinimumWidth = 64;
constexpr int kComboMaximumWidth = 320;
constexpr uint32_t kNoTag = 0xFFFFFFFF;
constexpr int kMaxTextLength = 40;

int TextWidth(Window* window, const std::string& text) {
    return ui::DrawText(window->GetFont(), text.c_str(), 0, kTextMeasureOnly, {0, 0, 1 << 20, 1 << 20});
}

// Fills a drop-down with the texts and sizes it to the widest one.
void FillCombo(ComboBox* combo, const std::vector<std::string>& texts) {
    combo->RemoveAllItems();
    int width = 0;
    for (const std::string& text : texts) {
        combo->AddItem(text);
        width = std::max(width, TextWidth(combo, text));
    }
    combo->SetListRows(std::min<int>(int(texts.size()) + 1, 12));
    combo->SetSize(std::clamp(width + kComboExtraWidth, kComboMinimumWidth, kComboMaximumWidth), kControlHeight);
}

std::string TagName(TagRecord* record) {
    const TagEntry* entry = record ? Codex::Instance().CurrentEntry(record) : nullptr;
    return entry ? entry->header.Name() : std::string();
}

}  // namespace

bool ParseDecimalText(const std::string& text, double& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const double parsed = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || errno == ERANGE || !std::isfinite(parsed)) return false;
    value = parsed;
    return true;
}

bool ParseIntegerText(const std::string& text, int64_t& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const long long parsed = std::strtoll(text.c_str(), &end, 10);
    if (end != text.c_str() + text.size() || errno == ERANGE) return false;
    value = parsed;
    return true;
}

std::string FormatDisplayNumber(double value, int digits) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", digits, value);
    std::string text = buffer;
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0') text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    if (text == "-0") text = "0";
    return text;
}

MemberChangeListener::MemberChangeListener(StructEditor* editor, const StructView* view, const StructMember* member)
    : editor_(editor), view_(view), member_(member) {}

Window* MemberChangeListener::CreateControl(const TiXmlElement& item, Window* parent) {
    item.QueryIntAttribute("index", &index_);
    if (index_ < 0 || index_ >= member_->count) return nullptr;
    text_ = AttributeText(item, "text");
    const MemberType type = member_->type;
    const char* name = member_->hasName ? member_->name.c_str() : nullptr;
    if (IsDecimalType(type) || (IsIntegerType(type) && !item.Attribute("bit"))) {
        kind_ = IsDecimalType(type) ? Control::Decimal : Control::Integer;
        auto* box = new TextBox(kind_ == Control::Decimal ? TextBox::kModeDecimal : TextBox::kModeInteger, parent);
        box->SetMaxLength(kMaxTextLength);
        box->SetName(name);
        box->SetSize(kNumberWidth, kControlHeight);
        box->changed.Connect(this, &MemberChangeListener::OnTextChanged);
        control_ = box;
    } else if (IsIntegerType(type)) {
        kind_ = Control::Bit;
        item.QueryIntAttribute("bit", &bit_);
        auto* box = new CheckBox(parent, 0);
        box->SetName(text_.c_str());
        box->SizeToFit();
        box->clicked.Connect(this, &MemberChangeListener::OnToggled);
        control_ = box;
    } else if (IsEnumType(type) || type == MemberType::Tag || type == MemberType::SequenceIndex) {
        auto* combo = new ComboBox(parent, 0);
        combo->SetName(name);
        combo->itemChosen.Connect(this, &MemberChangeListener::OnChosen);
        control_ = combo;
        if (type == MemberType::Tag) {
            kind_ = Control::Tag;
            FillTagList();
        } else if (type == MemberType::SequenceIndex) {
            kind_ = Control::Sequence;
            const StructMember* followed = FindMemberInViews(*view_, AttributeText(item, "tag"), &followedView_);
            if (followed && followed->type == MemberType::Tag) followedTag_ = followed;
            FillSequenceList();
        } else {
            kind_ = Control::Enum;
            std::vector<std::string> texts;
            for (const EnumMember::Item& entry : static_cast<const EnumMember*>(member_)->items) {
                texts.push_back(entry.text);
                values_.push_back(entry.value);
            }
            FillCombo(combo, texts);
        }
    } else if (type == MemberType::Substruct && member_->nested) {
        if (member_->count == 1 && member_->runtimeCount.empty()) {
            kind_ = Control::SubEditor;
            auto* button = new Button(parent, 0);
            button->SetName(text_.c_str());
            button->SizeToFit();
            button->clicked.Connect(this, &MemberChangeListener::OnOpen);
            control_ = button;
        } else {
            kind_ = Control::Array;
            control_ = new SubStructArrayEdit(editor_, view_, member_, AttributeText(item, "text_target"), parent);
        }
    }
    return control_;
}

void MemberChangeListener::FillTagList() {
    const uint32_t group = static_cast<const TagMember*>(member_)->group;
    std::vector<std::pair<std::string, uint32_t>> tags;
    for (TagRecord* record : Codex::Instance().TagsOfGroup(group)) tags.emplace_back(TagName(record), record->tagid);
    std::sort(tags.begin(), tags.end(), [](const auto& a, const auto& b) {
        const int order = strcasecmp(a.first.c_str(), b.first.c_str());
        return order != 0 ? order < 0 : a.second < b.second;
    });
    std::vector<std::string> texts;
    values_.clear();
    for (const auto& [name, tagid] : tags) {
        texts.push_back(name);
        values_.push_back(tagid);
    }
    texts.push_back("<no tag>");
    values_.push_back(kNoTag);
    FillCombo(static_cast<ComboBox*>(control_), texts);
}

Collection* MemberChangeListener::FollowedCollection() const {
    if (!followedTag_) return nullptr;
    const uint32_t group = static_cast<const TagMember*>(followedTag_)->group;
    const uint32_t tagid = uint32_t(ReadMemberInt(*followedView_, *followedTag_, 0));
    return CachedCollection(editor_, followedTag_, group, tagid);
}

void MemberChangeListener::FillSequenceList() {
    std::vector<std::string> texts;
    values_.clear();
    if (const Collection* collection = FollowedCollection()) {
        for (int i = 0; i < collection->SequenceCount(); ++i) {
            const std::string* name = collection->SequenceName(i);
            texts.push_back(name ? *name : std::string());
            values_.push_back(i);
        }
    }
    texts.push_back("<no sequence>");
    values_.push_back(-1);
    FillCombo(static_cast<ComboBox*>(control_), texts);
}

void MemberChangeListener::Refresh() {
    refreshing_ = true;
    switch (kind_) {
    case Control::Decimal:
        static_cast<TextBox*>(control_)->SetText(
            FormatDisplayNumber(ReadMemberDisplay(*view_, *member_, index_), DisplayDigits(*member_)));
        break;
    case Control::Integer:
        static_cast<TextBox*>(control_)->SetText(std::to_string(ReadMemberInt(*view_, *member_, index_)));
        break;
    case Control::Bit:
        static_cast<CheckBox*>(control_)->SetChecked(ReadMemberBit(*view_, *member_, index_, bit_));
        break;
    case Control::Enum:
    case Control::Tag:
    case Control::Sequence: {
        if (kind_ == Control::Sequence) FillSequenceList();
        const int64_t value = kind_ == Control::Tag ? int64_t(uint32_t(ReadMemberInt(*view_, *member_, index_)))
                                                    : ReadMemberInt(*view_, *member_, index_);
        const auto it = std::find(values_.begin(), values_.end(), value);
        static_cast<ComboBox*>(control_)->SelectItem(it == values_.end() ? -1 : int(it - values_.begin()));
        break;
    }
    case Control::Array:
        static_cast<SubStructArrayEdit*>(control_)->Refresh();
        break;
    default:
        break;
    }
    refreshing_ = false;
}

void MemberChangeListener::ResetSequence() {
    WriteMemberInt(*view_, *member_, index_, -1);
    Refresh();
}

void MemberChangeListener::OnTextChanged() {
    if (refreshing_) return;
    const std::string& text = static_cast<TextBox*>(control_)->Text();
    if (kind_ == Control::Decimal) {
        double value = 0;
        if (!ParseDecimalText(text, value)) return;
        editor_->changed.Emit();
        WriteMemberDisplay(*view_, *member_, index_, value);
    } else {
        int64_t value = 0;
        if (!ParseIntegerText(text, value)) return;
        editor_->changed.Emit();
        WriteMemberLimited(*view_, *member_, index_, value);
    }
}

void MemberChangeListener::OnToggled() {
    if (refreshing_) return;
    editor_->changed.Emit();
    WriteMemberBit(*view_, *member_, index_, bit_, static_cast<CheckBox*>(control_)->IsChecked());
}

void MemberChangeListener::OnChosen(int item) {
    if (refreshing_ || item < 0 || item >= int(values_.size())) return;
    editor_->changed.Emit();
    WriteMemberInt(*view_, *member_, index_, values_[size_t(item)]);
    if (kind_ == Control::Tag && IsCollectionGroup(static_cast<const TagMember*>(member_)->group)) {
        editor_->CollectionChanged(member_);
    }
}

void MemberChangeListener::OnOpen() {
    StructEditor::RunNested(member_->nested, editor_, ElementAddress(*view_, *member_, 0), text_);
}

}  // namespace tamber::editing
