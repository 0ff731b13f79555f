#include "editing/SubStructArrayEdit.h"

#include <algorithm>
#include <cstring>

#include "collections/Collection.h"
#include "editing/StructCollectionCache.h"
#include "editing/StructEditor.h"
#include "editing/definitions/DefinitionFiles.h"
#include "platform/Os.h"
#include "tags/Codex.h"
#include "ui/widgets/Button.h"

namespace tamber::editing {
using namespace tamber::collections;
using namespace tamber::definitions;
using namespace tamber::platform;
using namespace tamber::tags;
using namespace tamber::ui;
using namespace tamber::ui::widgets;

namespace {

Button* MakeButton(Window* parent, const char* label) {
    auto* button = new Button(parent, 0);
    button->SetName(label);
    button->SizeToFit();
    return button;
}

void SetEnabled(Window* window, bool enabled) {
    if (enabled == window->IsEnabled()) return;
    enabled ? window->SetFlags(kStyleEnabled) : window->ClearFlags(kStyleEnabled);
    window->Invalidate();
}

}  // namespace

SubStructArrayEdit::SubStructArrayEdit(StructEditor* editor, const StructView* view, const StructMember* member,
                                       const std::string& textTarget, Window* parent)
    : Window(kStyleVisible | kStyleEnabled, parent), editor_(editor), view_(view), member_(member), textTarget_(textTarget) {
    SetName(member->hasName ? member->name.c_str() : nullptr);
    list_ = new ListWindow(0, kStyleControl, this);
    list_->SetName("Elements");
    add_ = MakeButton(this, "Add");
    delete_ = MakeButton(this, "Delete");
    duplicate_ = MakeButton(this, "Duplicate");
    const int width = add_->Frame().Width() + delete_->Frame().Width() + duplicate_->Frame().Width() + 2 * kButtonGap;
    // Without columns the list draws each label across its width and scrolls only down.
    list_->SetFrameXYWH(0, 0, width, kListHeight);
    int x = 0;
    for (Button* button : {add_, delete_, duplicate_}) {
        button->SetFrameXYWH(x, kButtonTop, button->Frame().Width(), button->Frame().Height());
        x += button->Frame().Width() + kButtonGap;
    }
    SetSize(width, kButtonTop + add_->Frame().Height());
    add_->clicked.Connect(this, &SubStructArrayEdit::OnAdd);
    delete_->clicked.Connect(this, &SubStructArrayEdit::OnDelete);
    duplicate_->clicked.Connect(this, &SubStructArrayEdit::OnDuplicate);
    list_->activated.Connect(this, &SubStructArrayEdit::OnActivated);
    list_->selectionChanged.Connect(this, &SubStructArrayEdit::UpdateButtons);
    // The list and the buttons follow each other in the editor's tab order.
    delete_->InsertTabAfter(add_);
    duplicate_->InsertTabAfter(delete_);
    list_->InsertTabAfter(duplicate_);
    Refresh();
}

SubStructArrayEdit::~SubStructArrayEdit() { DropCachedCollections(this); }

const StructMember* SubStructArrayEdit::RuntimeCountMember(const StructView** owner) const {
    if (member_->runtimeCount.empty()) return nullptr;
    return FindMemberInViews(*view_, member_->runtimeCount, owner);
}

int SubStructArrayEdit::UsedCount() const {
    const StructView* owner = nullptr;
    const StructMember* counter = RuntimeCountMember(&owner);
    if (!counter) return Capacity();
    return int(std::clamp<int64_t>(ReadMemberInt(*owner, *counter, 0), 0, Capacity()));
}

void SubStructArrayEdit::SetUsedCount(int count) {
    const StructView* owner = nullptr;
    if (const StructMember* counter = RuntimeCountMember(&owner)) {
        WriteMemberInt(*owner, *counter, 0, std::clamp(count, 0, Capacity()));
    }
}

uint8_t* SubStructArrayEdit::Element(int index) const { return ElementAddress(*view_, *member_, index); }

bool SubStructArrayEdit::LineText(int index, std::string& text) {
    const StructDefinition* nested = member_->nested;
    const StructMember* target = textTarget_.empty() ? nullptr : FindMember(*nested, textTarget_);
    if (!target) return false;
    const StructView element{nested, Element(index), view_};
    if (target->type == MemberType::Tag) {
        const uint32_t tagid = uint32_t(ReadMemberInt(element, *target, 0));
        TagRecord* record = Codex::Instance().FindTag(static_cast<const TagMember*>(target)->group, tagid);
        const TagEntry* entry = record ? Codex::Instance().CurrentEntry(record) : nullptr;
        if (!entry) return false;
        text = entry->header.Name();
        return true;
    }
    if (target->type != MemberType::SequenceIndex) return false;
    const StructView* owner = nullptr;
    const StructMember* collection = FindMemberInViews(element, "collection", &owner);
    if (!collection || collection->type != MemberType::Tag) return false;
    const Collection* loaded = CachedCollection(this, collection, static_cast<const TagMember*>(collection)->group,
                                                uint32_t(ReadMemberInt(*owner, *collection, 0)));
    const std::string* name = loaded ? loaded->SequenceName(int(ReadMemberInt(element, *target, 0))) : nullptr;
    text = name ? *name : "Sequence #" + std::to_string(index + 1);
    return true;
}

void SubStructArrayEdit::Refresh() {
    // A row's id is its element's index, so the selected element stays selected.
    list_->Refill([this] {
        const int used = UsedCount();
        for (int i = 0; i < used; ++i) {
            std::string text;
            if (LineText(i, text)) list_->AddListItem(nullptr, RowId(i), ListWindow::kItemText, text);
        }
    });
    UpdateButtons();
}

int SubStructArrayEdit::SelectedElement() const {
    const auto& selection = list_->Selection();
    return selection.empty() ? -1 : int(selection.front()->id);
}

void SubStructArrayEdit::UpdateButtons() {
    const bool counted = RuntimeCountMember(nullptr) != nullptr;
    const bool selected = SelectedElement() >= 0;
    add_->SetVisible(counted);
    SetEnabled(add_, counted && UsedCount() < Capacity());
    SetEnabled(delete_, counted && selected);
    SetEnabled(duplicate_, counted && selected && list_->ItemCount() < Capacity());
}

bool SubStructArrayEdit::AddCopyOf(int source) {
    const int used = UsedCount();
    if (!RuntimeCountMember(nullptr) || used >= Capacity()) {
        OsBeep();
        return false;
    }
    editor_->changed.Emit();
    SetUsedCount(used + 1);
    if (source >= 0 && source < Capacity()) std::memmove(Element(used), Element(source), size_t(member_->elementSize));
    const std::string title = member_->nested->Name() + " #" + std::to_string(used + 1);
    if (EditElement(used, title) != 1) SetUsedCount(used);
    Refresh();
    return true;
}

bool SubStructArrayEdit::Add() { return AddCopyOf(-1); }

bool SubStructArrayEdit::Duplicate(int element) {
    if (element < 0 || element >= UsedCount()) return false;
    return AddCopyOf(element);
}

bool SubStructArrayEdit::Delete(int element) {
    const int used = UsedCount();
    if (!RuntimeCountMember(nullptr) || element < 0 || element >= used) return false;
    editor_->changed.Emit();
    const size_t size = size_t(member_->elementSize);
    std::memmove(Element(element), Element(element + 1 < Capacity() ? element + 1 : element), size * size_t(used - element - 1));
    SetUsedCount(used - 1);
    if (used > 0) std::memset(Element(used - 1), 0, size * size_t(Capacity() - (used - 1)));
    list_->DeselectAll();
    Refresh();
    return true;
}

int SubStructArrayEdit::EditElement(int element, const std::string& title) {
    uint8_t* address = Element(element);
    if (!address) return 0;
    return StructEditor::RunNested(member_->nested, editor_, address, title);
}

void SubStructArrayEdit::OnAdd() { Add(); }

void SubStructArrayEdit::OnDelete() { Delete(SelectedElement()); }

void SubStructArrayEdit::OnDuplicate() { Duplicate(SelectedElement()); }

void SubStructArrayEdit::OnActivated(ListWindow::ListItem* item) {
    if (!item) return;
    // The nested run rebuilds the list, so nothing of the item is used after it starts.
    const std::string title = item->label;
    if (EditElement(int(item->id), title) == 1) Refresh();
}

}  // namespace tamber::editing
