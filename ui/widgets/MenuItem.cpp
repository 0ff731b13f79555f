#include "ui/widgets/MenuItem.h"

#include "ui/DrawBatch.h"
#include "ui/Font.h"
#include "ui/Skin.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/Menu.h"

namespace tamber::ui::widgets {

namespace {

constexpr int kLabelIndent = 12;

}  // namespace

MenuItem::MenuItem(Menu* menu, const char* label, int32_t commandId, bool enabled)
    : Window(kStyleShadow | kStyleVisible, menu) {
    if (!enabled) ClearFlags(kStyleEnabled);
    SetName(label ? label : "");
    SetCommandId(uint32_t(commandId));
}

Menu* MenuItem::OwnerMenu() const { return static_cast<Menu*>(Parent()); }

Menu* MenuItem::EnsureSubmenu() {
    if (!submenu_) submenu_ = new Menu(this);
    return submenu_;
}

int MenuItem::LabelWidth() const {
    const char* label = GetName();
    return label ? ui::DrawText(GetFont(), label, 0, kTextMeasureOnly, {0, 0, 1 << 20, 1 << 20}) : 0;
}

void MenuItem::Draw() {
    Skin* skin = WS().GetSkin();
    Menu* menu = OwnerMenu();
    Rect local{0, 0, Client().Width(), Client().Height()};
    if (IsSeparator()) {
        SetDrawColor(110, 116, 128, 255);
        int middle = local.Height() / 2;
        Skin::FillRect({local.left + 4, middle, local.right - 4, middle + 1});
        return;
    }
    bool lit = IsEnabled() && (menu->HighlightedItem() == this || menu->OpenItem() == this);
    if (lit && skin) skin->DrawHighlightBand(local);
    if (IsEnabled()) Skin::SetTextColor(lit);
    else SetDrawColor(128, 128, 128, 255);
    const char* label = GetName();
    if (menu->IsBar()) {
        DrawText(label, 0, kTextCenter | kTextCenterVertically, local);
        return;
    }
    DrawText(label, 0, kTextCenterVertically, {kLabelIndent, 0, local.right, local.bottom});
    if (submenu_ && skin) {
        int mark = skin->MenuMarkWidth();
        skin->DrawMenuMark({local.right - mark - 6, 0, local.right - 6, local.bottom});
    }
}

void MenuItem::OnMouseButton(Event& event) {
    if (event.Button() == 0 && event.ButtonPressed()) OwnerMenu()->PressItem(this);
}

void MenuItem::OnMouseMove(Event& event) {
    (void)event;
    OwnerMenu()->HoverItem(this);
}

void MenuItem::OnMouseLeave(uint32_t newHit, uint32_t oldHit) {
    (void)newHit, (void)oldHit;
    // Outside a run the highlight only follows the mouse.
    Menu* menu = OwnerMenu();
    if (!menu->Root()->IsRunning() && menu->HighlightedItem() == this) menu->SetHighlight(nullptr);
}

}  // namespace tamber::ui::widgets
