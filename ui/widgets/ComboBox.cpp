#include "ui/widgets/ComboBox.h"

#include <algorithm>
#include <cstdint>

#include "ui/Font.h"
#include "ui/Skin.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/TextBox.h"
#include "ui/RectOps.h"

namespace tamber::ui::widgets {

namespace {

constexpr uint32_t kComboStyle = kStyleFocusable | kStylePanelB | kStyleEnabled | kStyleVisible;
constexpr uint32_t kListStyle = kStylePanelA | kStylePanelB;

}  // namespace

// ---- DropdownButton ----

ComboBox::DropdownButton::DropdownButton(ComboBox* combo)
    : Window(kStyleVisible | kStyleEnabled, combo), combo_(combo) {
    SetName("ComboBox Button");
}

void ComboBox::DropdownButton::GetMinimumSize(Point& out) {
    Window::GetMinimumSize(out);
    out.x = std::max(out.x, int32_t(kMinimumSize));
    out.y = std::max(out.y, int32_t(kMinimumSize));
}

void ComboBox::DropdownButton::Draw() {
    if (Skin* skin = WS().GetSkin()) {
        bool open = combo_->IsListOpen();
        skin->DrawDropdownButton({0, 0, Client().Width(), Client().Height()}, open, false);
    }
}

void ComboBox::DropdownButton::OnMouseButton(Event& event) {
    if (event.Button() != 0 || !event.ButtonPressed() || !combo_->IsEnabled()) return;
    if (combo_->IsListOpen()) combo_->CloseList(-1);
    else combo_->OpenList();
}

// ---- ComboBox ----

ComboBox::ComboBox(Window* parent, int mode) : Window(kComboStyle, parent), mode_(mode) {
    text_ = new TextBox((mode & kEditable) ? TextBox::kModeTextField : TextBox::kModeLabel, this);
    text_->SetName("ComboBox Textfield");
    text_->changed.Connect(this, &ComboBox::OnTextChanged);
    button_ = new DropdownButton(this);
    list_ = new ListWindow(ListWindow::kSingleClickActivates, kListStyle, this);
    list_->SetName("ComboBox List");
    list_->SetVisible(false);
    list_->activated.Connect(this, &ComboBox::OnListActivated);
    if (mode & kEditable) SetFocusDelegate(text_);
}

Window* ComboBox::OnFocusGained(Window* oldFocus, int reason) {
    (void)oldFocus, (void)reason;
    // An editable text part takes the focus for typing, except while the list is open
    // and the keys work the list.
    return (mode_ & kEditable) && !listOpen_ ? text_ : nullptr;
}

void ComboBox::OnResize() {
    int width = Client().Width(), height = Client().Height();
    int side = std::max(height, int(DropdownButton::kMinimumSize));
    text_->SetFrame({0, 0, std::max(0, width - side), height});
    button_->SetFrame({std::max(0, width - side), 0, width, height});
}

void ComboBox::AddItem(const std::string& text) { items_.push_back(text); }

void ComboBox::RemoveAllItems() {
    items_.clear();
    SelectItem(-1);
}

void ComboBox::SelectItem(int index) {
    if (index < -1 || index >= int(items_.size())) return;
    chosen_ = index;
    filling_ = true;
    text_->SetText(index >= 0 ? items_[size_t(index)] : std::string());
    filling_ = false;
}

std::string ComboBox::GetText() const { return text_->Text(); }

void ComboBox::OnTextChanged() {
    if (!filling_ && (mode_ & kEditable)) textEdited.Emit();
}

void ComboBox::FillList() {
    filling_ = true;
    list_->RemoveAllItems();
    ListWindow::ListItem* selected = nullptr;
    for (size_t i = 0; i < items_.size(); ++i) {
        auto* item = list_->AddListItem(nullptr, reinterpret_cast<void*>(intptr_t(i)), ListWindow::kItemText, items_[i]);
        if (int(i) == chosen_) selected = item;
    }
    if (selected) {
        list_->SelectListItem(selected, false);
        list_->ScrollToItem(selected);
    }
    filling_ = false;
}

void ComboBox::OpenList() {
    if (listOpen_ || items_.empty() || !IsShown()) return;
    FillList();
    // The list is as wide as the widest entry plus room for its scroll bar, never
    // narrower than the combo box, and opens above when there is no room below.
    int widest = 0;
    for (const std::string& entry : items_) {
        widest = std::max(widest, ui::DrawText(GetFont(), entry.c_str(), 0, kTextMeasureOnly, {0, 0, 1 << 20, 1 << 20}));
    }
    int width = std::max(Frame().Width(), widest + kListExtraWidth);
    int rows = std::min(std::max(listRows_, 1), int(items_.size()) + 1);
    int height = rows * std::max(list_->RowHeight(), 1);
    int top = Frame().Height();
    if (Frame().bottom + height > WS().SurfaceHeight() && Frame().top - height >= 0) top = -height;
    list_->SetFrame({0, top, width, top + height});
    list_->SetVisible(true);
    // In front of its siblings, so that the list is drawn over them and hit first.
    BringToFront();
    listOpen_ = true;
    closeChoice_ = -1;
    button_->Invalidate();
    run_.Run(this);
    listOpen_ = false;
    list_->SetVisible(false);
    button_->Invalidate();
    if (IsFocused() || WS().Focus() == this) WS().SetFocus(this, kFocusByProgram);
    int choice = closeChoice_;
    if (choice >= 0 && choice < int(items_.size())) {
        SelectItem(choice);
        itemChosen.Emit(choice);
    }
}

void ComboBox::CloseList(int chosen) {
    if (!listOpen_) return;
    closeChoice_ = chosen;
    run_.End(this);
}

void ComboBox::OnListActivated(ListWindow::ListItem* item) {
    if (filling_ || !listOpen_ || !item) return;
    CloseList(int(reinterpret_cast<intptr_t>(item->data)));
}

bool ComboBox::OnKey(Event& event) {
    if (!listOpen_) {
        // Alt+Down opens the list, as the drop-down button does.
        if (event.Pressed() && event.Key() == kKeyDown && (event.Modifiers() & kModAlt)) {
            OpenList();
            return true;
        }
        return false;
    }
    if (event.Key() == kKeyEscape) {
        if (event.Pressed()) CloseList(-1);
        return true;
    }
    // Arrows and Enter work the open list.
    list_->OnKey(event);
    return true;
}

void ComboBox::OnMouseButton(Event& event) {
    // While the list is open, presses outside it arrive here.
    if (!listOpen_ || !event.ButtonPressed()) return;
    if (RectContains(list_->Frame(), event.Position())) return;
    closeChoice_ = -1;
    run_.EndWithPress(this, event);
}

}  // namespace tamber::ui::widgets
