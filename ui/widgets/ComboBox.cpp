#include "ui/widgets/ComboBox.h"

#include <algorithm>

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

// ---- DropList ----

ComboBox::DropList::DropList(ComboBox* combo)
    : ListWindow(ListWindow::kSingleClickActivates, kListStyle, combo), combo_(combo) {
    SetName("ComboBox List");
}

bool ComboBox::DropList::OnKey(Event& event) {
    if (event.Key() == kKeyEscape) {
        if (event.Pressed()) combo_->CloseList(-1);
        return true;
    }
    // Arrows and Enter work the list; nothing travels on while it is open.
    ListWindow::OnKey(event);
    return true;
}

void ComboBox::DropList::OnMouseButton(Event& event) {
    if (!event.ButtonPressed() || RectContains(Frame(), event.Position())) {
        ListWindow::OnMouseButton(event);
        return;
    }
    // Presses outside arrive here while the list runs. The drop-down button closes
    // the list; any other press closes it and goes where it was aimed.
    if (RectContains(combo_->Button()->Frame(), event.Position())) combo_->CloseList(-1);
    else combo_->EndWithPress(event);
}

// ---- ComboBox ----

ComboBox::ComboBox(Window* parent, int mode) : Window(kComboStyle, parent), mode_(mode) {
    text_ = new TextBox((mode & kEditable) ? TextBox::kModeTextField : TextBox::kModeLabel, this);
    text_->SetName("ComboBox Textfield");
    text_->changed.Connect(this, &ComboBox::OnTextChanged);
    button_ = new DropdownButton(this);
    list_ = new DropList(this);
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
        auto* item = list_->AddListItem(nullptr, RowId(i), ListWindow::kItemText, items_[i]);
        if (int(i) == chosen_) selected = item;
    }
    if (selected) {
        list_->SelectListItem(selected, false);
        list_->ScrollToItem(selected);
    }
    filling_ = false;
}

Rect ComboBox::ListPlacement(int width, int height) const {
    const int surfaceWidth = WS().SurfaceWidth(), surfaceHeight = WS().SurfaceHeight();
    int top = Frame().bottom;
    if (top + height > surfaceHeight && Frame().top - height >= 0) top = Frame().top - height;
    const int left = std::clamp(int(Frame().left), 0, std::max(0, surfaceWidth - width));
    return {left, top, left + width, top + height};
}

void ComboBox::OpenList() {
    if (listOpen_ || items_.empty() || !IsShown() || !WS().Layer1()) return;
    FillList();
    // The list is as wide as the widest entry plus room for its scroll bar, never
    // narrower than the combo box.
    int widest = 0;
    for (const std::string& entry : items_) {
        widest = std::max(widest, ui::DrawText(GetFont(), entry.c_str(), 0, kTextMeasureOnly, {0, 0, 1 << 20, 1 << 20}));
    }
    const int width = std::max(Frame().Width(), widest + kListExtraWidth);
    const int rows = std::min(std::max(listRows_, 1), int(items_.size()) + 1);
    const Rect place = ListPlacement(width, rows * std::max(list_->RowHeight(), 1));
    Window* layer = WS().Layer1();
    Window* focusChild = FocusChild();
    list_->SetParent(layer);
    list_->SetFrame({place.left - layer->Client().left, place.top - layer->Client().top,
                     place.right - layer->Client().left, place.bottom - layer->Client().top});
    list_->SetVisible(true);
    list_->BringToFront();
    listOpen_ = true;
    closeChoice_ = -1;
    button_->Invalidate();
    run_.Run(list_);
    listOpen_ = false;
    list_->SetVisible(false);
    list_->SetParent(this);
    SetFocusChild(focusChild);
    button_->Invalidate();
    int choice = closeChoice_;
    if (choice >= 0 && choice < int(items_.size())) {
        SelectItem(choice);
        itemChosen.Emit(choice);
    }
}

void ComboBox::CloseList(int chosen) {
    if (!listOpen_) return;
    closeChoice_ = chosen;
    run_.End(list_);
}

void ComboBox::EndWithPress(const Event& press) {
    if (!listOpen_) return;
    closeChoice_ = -1;
    run_.EndWithPress(list_, press);
}

void ComboBox::OnListActivated(ListWindow::ListItem* item) {
    if (filling_ || !listOpen_ || !item) return;
    CloseList(int(item->id));
}

bool ComboBox::OnKey(Event& event) {
    // Alt+Down opens the list, as the drop-down button does.
    if (!listOpen_ && event.Pressed() && event.Key() == kKeyDown && (event.Modifiers() & kModAlt)) {
        OpenList();
        return true;
    }
    return false;
}

}  // namespace tamber::ui::widgets
