#include "ui/widgets/Menu.h"

#include <algorithm>
#include <cctype>

#include "platform/Os.h"
#include "ui/DrawBatch.h"
#include "ui/Font.h"
#include "ui/Skin.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/MenuItem.h"
#include "ui/RectOps.h"

namespace tamber::ui::widgets {
using namespace tamber::platform;

namespace {

constexpr int kItemPadding = 4;
constexpr int kPopupExtraWidth = 36;
constexpr int kPopupMinItemWidth = 64;
constexpr int kBarFirstX = 4;
constexpr int kBarItemGap = 8;

// Sets a window's frame from surface pixels.
void SetAbsoluteFrame(Window* w, const Rect& r) {
    Window* parent = w->Parent();
    w->SetFrame(parent ? RectOffset(r, -parent->Client().left, -parent->Client().top) : r);
}

Rect SurfaceRect() { return {0, 0, WS().SurfaceWidth(), WS().SurfaceHeight()}; }

int VisibleArea(const Rect& r, const Rect& surface) {
    int w = std::min(r.right, surface.right) - std::max(r.left, surface.left);
    int h = std::min(r.bottom, surface.bottom) - std::max(r.top, surface.top);
    return w > 0 && h > 0 ? w * h : 0;
}

}  // namespace

Rect PlaceBeside(const Rect& anchor, int width, int height, const Rect& surface) {
    const Rect candidates[4] = {
        {anchor.right, anchor.top, anchor.right + width, anchor.top + height},
        {anchor.left - width, anchor.top, anchor.left, anchor.top + height},
        {anchor.right, anchor.bottom - height, anchor.right + width, anchor.bottom},
        {anchor.left - width, anchor.bottom - height, anchor.left, anchor.bottom},
    };
    int best = 0, bestArea = -1;
    for (int i = 0; i < 4; ++i) {
        int area = VisibleArea(candidates[i], surface);
        if (area > bestArea) best = i, bestArea = area;
    }
    return candidates[best];
}

Menu::Menu(bool isBar)
    : Window(isBar ? kStyleVisible | kStyleUpperLayer : kStyleFocusable | kStyleShadow | kStyleUpperLayer, nullptr),
      isBar_(isBar), root_(this) {
    SetName(isBar ? "Menu Bar" : "Popup Menu");
    if (isBar) Relayout();
}

Menu::Menu(MenuItem* owner) : Window(kStyleShadow, owner), isBar_(false), root_(owner->OwnerMenu()->Root()), owner_(owner) {
    SetName("Popup Menu");
}

void Menu::OnChildAdded(Window* child) {
    // A menu's children are its items (AddMenuItem makes and records them; a submenu
    // is a child of its item). The item is still being constructed here.
    child->SendToBack();
}

void Menu::OnChildRemoved(Window* child) {
    if (openItem_ == child) openItem_ = nullptr;
    if (highlighted_ == child) highlighted_ = nullptr;
    items_.erase(std::remove(items_.begin(), items_.end(), child), items_.end());
    if (!(RenderState() & kRenderDestroying)) Relayout();
}

void Menu::Relayout() {
    int fontHeight = GetFontHeight(GetFont());
    int border = WS().ThickBorder();
    int rowHeight = fontHeight + kItemPadding;
    if (isBar_) {
        Window* parent = Parent();
        int width = parent ? parent->Client().Width() : WS().SurfaceWidth();
        int x = kBarFirstX;
        for (MenuItem* item : items_) {
            int w = item->LabelWidth() + kItemPadding;
            item->SetFrame({x, border, x + w, border + rowHeight});
            x += w + kBarItemGap;
        }
        SetSize(width, rowHeight + 2 * border);
        return;
    }
    int width = kPopupMinItemWidth, height = 0;
    for (MenuItem* item : items_) {
        width = std::max(width, item->LabelWidth() + kPopupExtraWidth);
        height += item->IsSeparator() ? kItemPadding : rowHeight;
    }
    // Items sit inside the border so that the highlight never covers it.
    int y = border;
    for (MenuItem* item : items_) {
        int h = item->IsSeparator() ? kItemPadding : rowHeight;
        item->SetFrame({border, y, border + width, y + h});
        y += h;
    }
    SetSize(width + 2 * border, height + 2 * border);
}

void Menu::SetHighlight(MenuItem* item) {
    if (item == highlighted_) return;
    if (highlighted_) highlighted_->Invalidate();
    highlighted_ = item;
    if (item) item->Invalidate();
    highlight.Emit(item);
}

void OpenSubmenu(MenuItem* item, bool open) {
    if (item) item->OwnerMenu()->SetSubmenuOpen(item, open);
}

void Menu::SetSubmenuOpen(MenuItem* item, bool open) {
    Menu* sub = item->Submenu();
    if (!sub) return;
    if (!open) {
        // Deeper submenus close first.
        if (sub->openItem_) sub->SetSubmenuOpen(sub->openItem_, false);
        sub->SetHighlight(nullptr);
        sub->SetVisible(false);
        if (openItem_ == item) openItem_ = nullptr;
        item->Invalidate();
        return;
    }
    if (openItem_ == item && sub->IsVisible()) return;
    if (openItem_ && openItem_ != item) SetSubmenuOpen(openItem_, false);
    // Menus whose items change (the Window menu) refill themselves here.
    root_->opening.Emit(item);
    sub->Relayout();
    const Rect& anchor = item->Frame();
    Rect place = isBar_ ? Rect{anchor.left, anchor.bottom, anchor.left + sub->Frame().Width(),
                               anchor.bottom + sub->Frame().Height()}
                        : PlaceBeside(anchor, sub->Frame().Width(), sub->Frame().Height(), SurfaceRect());
    SetAbsoluteFrame(sub, place);
    openItem_ = item;
    // In front of its siblings, so that its submenu is drawn over them and hit first.
    item->BringToFront();
    sub->SetVisible(true);
    item->Invalidate();
}

MenuItem* AddMenuItem(Menu* menu, const char* label, MenuItem* parentItem, int32_t commandId, bool enabled) {
    if (!menu) return nullptr;
    Menu* holder = parentItem ? parentItem->EnsureSubmenu() : menu;
    auto* item = new MenuItem(holder, label, commandId, enabled);
    holder->items_.push_back(item);
    holder->Relayout();
    // The parent item may have just gained its submenu mark.
    if (parentItem) parentItem->OwnerMenu()->Relayout();
    return item;
}

MenuItem* AddSeparator(Menu* menu, MenuItem* parentItem) {
    return AddMenuItem(menu, MenuItem::kSeparatorLabel, parentItem, -1, true);
}

// ---- Runs ----

void Menu::RunModally() {
    running_ = true;
    runResult_ = nullptr;
    run_.Run(this);
    running_ = false;
    CloseTree();
}

MenuItem* Menu::RunPopup() {
    if (running_) return nullptr;
    SetVisible(true);
    RunModally();
    SetVisible(false);
    MenuItem* item = runResult_;
    runResult_ = nullptr;
    return item;
}

void Menu::RunBar() {
    if (running_ || root_ != this) return;
    RunModally();
    MenuItem* item = runResult_;
    runResult_ = nullptr;
    if (item) chosen.Emit(item);
}

int PopupMenu(Menu* menu, Point point) {
    if (!menu) return -1;
    menu->Relayout();
    SetAbsoluteFrame(menu, PlaceBeside({point.x, point.y, point.x, point.y}, menu->Frame().Width(),
                                       menu->Frame().Height(), SurfaceRect()));
    MenuItem* item = menu->RunPopup();
    return item ? item->Id() : -1;
}

void Menu::EndRun(MenuItem* item) {
    if (!running_) return;
    runResult_ = item;
    run_.End(this);
}

void Menu::CloseTree() {
    if (openItem_) SetSubmenuOpen(openItem_, false);
    SetHighlight(nullptr);
}

// ---- Mouse ----

void Menu::PressItem(MenuItem* item) {
    if (!item->CanChoose()) return;
    if (item->Submenu()) {
        if (openItem_ == item) {
            SetSubmenuOpen(item, false);
            if (isBar_ && root_ == this) EndRun(nullptr);
            return;
        }
        SetHighlight(item);
        SetSubmenuOpen(item, true);
        if (isBar_ && root_ == this && !running_) RunBar();
        return;
    }
    if (root_->running_) root_->EndRun(item);
    else root_->chosen.Emit(item);
}

void Menu::HoverItem(MenuItem* item) {
    SetHighlight(item->IsSeparator() ? nullptr : item);
    // Only an open tree follows the mouse with its submenus.
    if (!root_->running_) return;
    if (item->Submenu() && item->CanChoose()) SetSubmenuOpen(item, true);
    else if (openItem_ && openItem_ != item) SetSubmenuOpen(openItem_, false);
}

bool Menu::PointInOpenTree(Point p) const {
    if (!isBar_ && IsVisible() && RectContains(Frame(), p)) return true;
    return openItem_ && openItem_->Submenu() && openItem_->Submenu()->PointInOpenTree(p);
}

void Menu::OnMouseButton(Event& event) {
    if (!event.ButtonPressed() || !root_->running_) return;
    // Presses inside a pop-up's border or padding keep the menu open; any other press
    // outside the items ends the run and is then delivered where it was aimed.
    if (root_->PointInOpenTree(event.Position())) return;
    root_->runResult_ = nullptr;
    root_->run_.EndWithPress(root_, event);
}

// ---- Keys ----

Menu* Menu::ActiveMenu() {
    Menu* m = this;
    while (m->openItem_ && m->openItem_->Submenu() && m->openItem_->Submenu()->IsVisible()) {
        m = m->openItem_->Submenu();
    }
    return m;
}

void Menu::MoveHighlight(int step) {
    int count = int(items_.size());
    if (count == 0) return;
    auto it = std::find(items_.begin(), items_.end(), highlighted_);
    int index = it == items_.end() ? (step > 0 ? -1 : count) : int(it - items_.begin());
    for (int i = 0; i < count; ++i) {
        index = ((index + step) % count + count) % count;
        if (items_[size_t(index)]->CanChoose()) {
            SetHighlight(items_[size_t(index)]);
            return;
        }
    }
}

bool Menu::FindByLetter(int c) {
    int count = int(items_.size());
    auto it = std::find(items_.begin(), items_.end(), highlighted_);
    int start = it == items_.end() ? -1 : int(it - items_.begin());
    int wanted = std::tolower(c & 0xFF);
    for (int i = 1; i <= count; ++i) {
        MenuItem* item = items_[size_t((start + i + count) % count)];
        const char* label = item->GetName();
        if (item->CanChoose() && label && std::tolower(static_cast<unsigned char>(label[0])) == wanted) {
            if (openItem_ && openItem_ != item) SetSubmenuOpen(openItem_, false);
            SetHighlight(item);
            return true;
        }
    }
    return false;
}

bool Menu::OnKey(Event& event) {
    if (root_ != this || !running_) return false;
    if (!event.Pressed()) return true;
    Menu* active = ActiveMenu();
    Menu* parent = active->owner_ ? active->owner_->OwnerMenu() : nullptr;
    MenuItem* lit = active->highlighted_;
    auto openLit = [&] {
        if (lit && lit->Submenu() && lit->CanChoose()) {
            active->SetSubmenuOpen(lit, true);
            lit->Submenu()->MoveHighlight(1);
            return true;
        }
        return false;
    };
    // In a bar's pull-down, Left and Right move along the bar.
    auto alongBar = [&](int step) {
        parent->MoveHighlight(step);
        MenuItem* item = parent->highlighted_;
        if (item && item->Submenu()) {
            parent->SetSubmenuOpen(item, true);
            item->Submenu()->MoveHighlight(1);
        } else if (parent->openItem_) {
            parent->SetSubmenuOpen(parent->openItem_, false);
        }
    };
    switch (event.Key()) {
    case kKeyEscape:
        EndRun(nullptr);
        break;
    case kKeyEnter:
    case kKeyKeypadEnter:
        if (lit && !openLit()) active->PressItem(lit);
        break;
    case kKeyUp:
    case kKeyDown:
        if (!active->isBar_) active->MoveHighlight(event.Key() == kKeyUp ? -1 : 1);
        else if (event.Key() == kKeyDown) openLit();
        break;
    case kKeyLeft:
    case kKeyRight: {
        int step = event.Key() == kKeyLeft ? -1 : 1;
        if (active->isBar_) active->MoveHighlight(step);
        else if (step > 0 && openLit()) break;
        else if (parent && parent->isBar_) alongBar(step);
        else if (step < 0 && parent) parent->SetSubmenuOpen(active->owner_, false);
        break;
    }
    default:
        break;
    }
    return true;
}

void Menu::OnChar(Event& event) {
    if (root_ != this || !running_) return;
    for (Menu* m = ActiveMenu(); m; m = m->owner_ ? m->owner_->OwnerMenu() : nullptr) {
        if (m->FindByLetter(event.Character())) return;
    }
    OsBeep();
}

// ---- Drawing ----

void Menu::Draw() {
    Skin* skin = WS().GetSkin();
    Rect local{0, 0, Client().Width(), Client().Height()};
    SetDrawColor(44, 48, 56, 255);
    Skin::FillRect(local);
    if (!skin) return;
    if (isBar_) skin->DrawFrameBorder(local, 8, true);
    else skin->DrawFrameBorder(local);
}

}  // namespace tamber::ui::widgets
