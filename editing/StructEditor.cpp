#include "editing/StructEditor.h"

#include <tinyxml.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "editing/StructCollectionCache.h"
#include "editing/StructEditPopup.h"
#include "editing/StructTable.h"
#include "editing/definitions/DefinitionFiles.h"
#include "platform/Os.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/Button.h"

namespace tamber::editing {
using namespace tamber::definitions;
using namespace tamber::platform;
using namespace tamber::ui;
using namespace tamber::ui::widgets;

namespace {

constexpr int kRunFlags = 1 | 4;  // keys to the editor, the screen dimmed behind it
// The OK and Cancel buttons need this much width below the panel.
constexpr int kMinimumWidth = 216;
constexpr int kOKFromRight = 208;
constexpr int kCancelFromRight = 104;

int AlignOf(const std::string& text) {
    if (text == "right") return Table::kAlignRight;
    if (text == "center") return Table::kAlignCenter;
    return Table::kAlignLeft;
}


}  // namespace

void SizeClientTo(Window* window, int width, int height) {
    if (window->Frame().Width() <= 0 || window->Frame().Height() <= 0) window->SetSize(width + 64, height + 64);
    const int extraWidth = window->Frame().Width() - window->Client().Width();
    const int extraHeight = window->Frame().Height() - window->Client().Height();
    window->SetSize(width + extraWidth, height + extraHeight);
}

StructEditor::StructEditor(const StructDefinition* definition, Window* parent)
    : Window(kStyleVisible | kStyleEnabled, parent), owned_(size_t(definition->Size()), 0) {
    view_ = {definition, owned_.data(), nullptr};
}

StructEditor::StructEditor(const StructDefinition* definition, StructEditor* outer, uint8_t* address)
    : Window(kStyleFloating & ~kStyleVisible, nullptr),
      backup_(address, address + definition->Size()),
      outer_(outer) {
    view_ = {definition, address, &outer->view_};
}

StructEditor::~StructEditor() {
    DropCachedCollections(this);
    for (StructEditPopup* popup : popups_) {
        popup->ForgetOwner();
        popup->Close();
    }
}

void StructEditor::ForgetPopup(Window* popup) { std::erase(popups_, popup); }

bool StructEditor::BuildPanel() {
    if (ok_) return true;
    const TiXmlElement* layout = FindStructEdit(Definition()->Name());
    if (!layout) return false;
    Build(*layout);
    return true;
}

void StructEditor::Build(const TiXmlElement& layout) {
    caption_ = AttributeText(layout, "caption");
    Table* panel = BuildTable(layout, this);
    panel->SetFrameXYWH(0, 0, panel->Frame().Width(), panel->Frame().Height());
    const int width = std::max(panel->Frame().Width(), kMinimumWidth);
    const int height = panel->Frame().Height() + kButtonBand;
    ok_ = new Button(this, 0);
    ok_->SetName("OK");
    ok_->SizeToFit();
    cancel_ = new Button(this, 1);
    cancel_->SetName("Cancel");
    cancel_->SizeToFit();
    const int buttonHeight = std::min(ok_->Frame().Height(), kButtonBand - 4);
    const int buttonTop = height - kButtonBand + (kButtonBand - buttonHeight) / 2;
    ok_->SetFrameXYWH(width - kOKFromRight, buttonTop, kButtonWidth, buttonHeight);
    cancel_->SetFrameXYWH(width - kCancelFromRight, buttonTop, kButtonWidth, buttonHeight);
    ChainTab(ok_);
    ChainTab(cancel_);
    ok_->clicked.Connect(this, &StructEditor::OnOK);
    cancel_->clicked.Connect(this, &StructEditor::OnCancel);
    if (outer_) SizeClientTo(this, width, height);
    else SetSize(width, height);
    RefreshControls();
}

Table* StructEditor::BuildTable(const TiXmlElement& element, Window* parent) {
    auto* table = new Table(parent);
    if (const char* text = element.Attribute("text")) table->SetFramed(text);
    table->SetStretch(AttributeText(element, "stretch") == "true");
    table->SetAlign(AlignOf(AttributeText(element, "align")));
    const std::string layout = AttributeText(element, "layout");
    if (layout == "table") {
        for (const TiXmlElement* row = element.FirstChildElement("row"); row; row = row->NextSiblingElement("row")) {
            table->AddRow();
            for (const TiXmlElement* cell = row->FirstChildElement(); cell; cell = cell->NextSiblingElement()) {
                if (Window* window = BuildChild(*cell, table)) table->AddCell(window);
            }
        }
    } else {
        const bool horizontal = layout == "horizontal";
        if (horizontal) table->AddRow();
        for (const TiXmlElement* child = element.FirstChildElement(); child; child = child->NextSiblingElement()) {
            Window* window = BuildChild(*child, table);
            if (!window) continue;
            if (!horizontal) table->AddRow();
            table->AddCell(window);
        }
        if (!horizontal && AttributeText(element, "alignchildren") == "true") AlignChildTables(table);
    }
    table->Layout();
    return table;
}

void StructEditor::AlignChildTables(Table* table) {
    std::vector<Table*> children;
    for (const auto& row : table->Rows()) {
        for (Window* cell : row) {
            if (std::strcmp(cell->GetClassName(), "Table") == 0) children.push_back(static_cast<Table*>(cell));
        }
    }
    std::vector<int> widths;
    for (Table* child : children) {
        const std::vector<int> columns = child->MeasureColumns();
        if (widths.size() < columns.size()) widths.resize(columns.size(), 0);
        for (size_t c = 0; c < columns.size(); ++c) widths[c] = std::max(widths[c], columns[c]);
    }
    for (Table* child : children) {
        child->SetMinimumColumns(widths);
        child->Layout();
    }
}

Window* StructEditor::BuildChild(const TiXmlElement& element, Window* parent) {
    const std::string& name = element.ValueStr();
    if (name == "label") return new Table::Label(parent, AttributeText(element, "text"));
    if (name == "item") return BuildItem(element, parent);
    if (name == "frame") return BuildTable(element, parent);
    if (name == "structedit") return BuildPopup(element, parent);
    return nullptr;
}

Window* StructEditor::BuildItem(const TiXmlElement& element, Window* parent) {
    const StructView* owner = nullptr;
    const StructMember* member = FindMemberInViews(view_, AttributeText(element, "target"), &owner);
    if (!member) return nullptr;
    auto binding = std::make_unique<MemberChangeListener>(this, owner, member);
    Window* control = binding->CreateControl(element, parent);
    if (!control) return nullptr;
    bindings_.push_back(std::move(binding));
    ChainTab(control);
    return control;
}

Window* StructEditor::BuildPopup(const TiXmlElement& element, Window* parent) {
    const std::string text = AttributeText(element, "text");
    std::string caption = AttributeText(element, "caption");
    auto* popup = new StructEditPopup(this, caption.empty() ? text : caption);
    popups_.push_back(popup);
    // The pop-up's controls form a tab chain of their own.
    Window* lastTab = std::exchange(lastTab_, nullptr);
    Window* tabOwner = std::exchange(tabOwner_, popup);
    popup->SetTable(BuildTable(element, popup));
    lastTab_ = lastTab;
    tabOwner_ = tabOwner;

    auto* button = new Button(parent, 0);
    button->SetName(text.c_str());
    button->SizeToFit();
    button->clicked.Connect(popup, &StructEditPopup::Run);
    ChainTab(button);
    return button;
}

void StructEditor::ChainTab(Window* control) {
    if (!(control->Flags() & kStyleFocusable)) return;
    if (lastTab_) control->InsertTabAfter(lastTab_);
    else tabOwner_->SetFocusChild(control);
    lastTab_ = control;
}

void StructEditor::RefreshControls() {
    for (const auto& binding : bindings_) binding->Refresh();
}

void StructEditor::CollectionChanged(const StructMember* tagMember) {
    for (const auto& binding : bindings_) {
        if (binding->FollowedTag() == tagMember) binding->ResetSequence();
    }
}

int StructEditor::RunNested(const StructDefinition* definition, StructEditor* outer, uint8_t* address,
                            const std::string& title) {
    auto* editor = new StructEditor(definition, outer, address);
    if (!editor->BuildPanel()) {
        editor->Close();
        OsBeep();
        return 0;
    }
    editor->changed.Connect(outer, &StructEditor::OnNestedChanged);
    editor->SetName(title.c_str());
    editor->CenterInParent();
    editor->SetVisible(true);
    bool cancelled = false;
    int result = WS().RunModal(editor, kRunFlags, &cancelled);
    // A run ended any other way than by OK (a quit) keeps the record as it was.
    if (!editor->finished_ || cancelled) {
        std::memcpy(address, editor->backup_.data(), editor->backup_.size());
        result = 0;
    }
    editor->Close();
    outer->RefreshControls();
    return result;
}

void StructEditor::OnOK() {
    if (!outer_) {
        accepted.Emit();
        return;
    }
    finished_ = true;
    SetVisible(false);
    if (WS().ModalWindow() == this) WS().EndModal(this, 1);
    changed.Emit();
}

void StructEditor::OnCancel() {
    if (!outer_) {
        rejected.Emit();
        return;
    }
    std::memcpy(view_.data, backup_.data(), backup_.size());
    SetVisible(false);
    if (WS().ModalWindow() == this) WS().EndModal(this, 0);
}

bool StructEditor::CanClose(int force) {
    // The close box of a running nested editor acts as Cancel; RunNested closes it.
    if (outer_ && WS().IsOnModalStack(this)) {
        OnCancel();
        return false;
    }
    return Window::CanClose(force);
}

}  // namespace tamber::editing
