#include "ui/widgets/TabWindow.h"

#include <algorithm>

#include "ui/Font.h"
#include "ui/Skin.h"
#include "ui/WindowSystem.h"
#include "ui/RectOps.h"

namespace tamber::ui::widgets {

TabWindow::TabWindow(uint32_t flags, Window* parent) : Window(flags, parent) {}

Rect TabWindow::PageArea() const {
    Skin* skin = WS().GetSkin();
    int top = (skin ? skin->TabHeight() : 0) + kPageGap;
    return {0, top, Client().Width(), std::max(top, Client().Height())};
}

void TabWindow::LayoutTabs() {
    Skin* skin = WS().GetSkin();
    int height = skin ? skin->TabHeight() : 0;
    int side = skin ? skin->PieceWidth(kSkinTabSide) : 0;
    int x = kFirstTabX;
    for (Tab& t : tabs_) {
        const char* name = t.page->GetName();
        int labelWidth = name ? ui::DrawText(GetFont(), name, 0, kTextMeasureOnly, {0, 0, 1 << 20, 1 << 20}) : 0;
        int width = skin ? skin->TabWidth(labelWidth) : labelWidth;
        t.tab = {x, 0, x + width, height};
        t.label = {x + side + 4, 0, x + width - side - 4, height};
        x = t.tab.right - kOverlap;
    }
}

const std::vector<TabWindow::Tab>& TabWindow::Tabs() {
    LayoutTabs();
    PlacePages();
    return tabs_;
}

void TabWindow::PlacePages() {
    if (!pagesMisplaced_) return;
    pagesMisplaced_ = false;
    Rect area = PageArea();
    for (Tab& t : tabs_) t.page->SetFrame(area);
}

void TabWindow::Idle() { PlacePages(); }

void TabWindow::OnChildAdded(Window* child) {
    tabs_.push_back({{}, {}, child});
    LayoutTabs();
    child->SetVisible(false);
    // A child is announced from inside its constructor, which then gives it an empty
    // frame: the page area is applied again once construction is over.
    pagesMisplaced_ = true;
    if (selected_ < 0) SelectTab(0);
    Invalidate();
}

void TabWindow::OnChildRemoved(Window* child) {
    auto it = std::find_if(tabs_.begin(), tabs_.end(), [&](const Tab& t) { return t.page == child; });
    if (it == tabs_.end()) return;
    int index = int(it - tabs_.begin());
    tabs_.erase(it);
    if (index < selected_) {
        --selected_;
    } else if (index == selected_) {
        // The removed page is on its way out: select its neighbour without touching it.
        selected_ = -1;
        if (!tabs_.empty()) SelectTab(std::max(index - 1, 0));
    }
    LayoutTabs();
    Invalidate();
}

void TabWindow::SelectTab(int index) {
    if (index < 0 || index >= int(tabs_.size())) return;
    if (selected_ >= 0 && selected_ < int(tabs_.size()) && selected_ != index) tabs_[selected_].page->SetVisible(false);
    Window* page = tabs_[index].page;
    page->SetFrame(PageArea());
    page->SetVisible(true);
    selected_ = index;
    if (IsShown()) WS().SetFocus(page, kFocusByProgram);
    Invalidate();
}

void TabWindow::Cycle(int step) {
    int count = int(tabs_.size());
    if (count == 0) return;
    SelectTab(((selected_ < 0 ? 0 : selected_) + step + count) % count);
}

bool TabWindow::HandleEvent(Window* target, int kind, Event& event) {
    // Ctrl+Tab is taken on its way down, before tab navigation inside a page sees it.
    if (kind == kEventKey && event.Key() == kKeyTab && (event.Modifiers() & kModCtrl) && target->IsInside(this)) {
        if (event.Pressed()) Cycle((event.Modifiers() & kModShift) ? -1 : 1);
        return true;
    }
    return Window::HandleEvent(target, kind, event);
}

bool TabWindow::OnKey(Event& event) {
    if (!(event.Modifiers() & kModCtrl) || (event.Key() != kKeyLeft && event.Key() != kKeyRight)) return false;
    if (event.Pressed()) Cycle(event.Key() == kKeyLeft ? -1 : 1);
    return true;
}

void TabWindow::OnMouseButton(Event& event) {
    if (event.Button() != 0 || !event.ButtonPressed()) return;
    LayoutTabs();
    Point p{event.Position().x - Client().left, event.Position().y - Client().top};
    if (selected_ >= 0 && RectContains(tabs_[selected_].tab, p)) return;
    for (size_t i = 0; i < tabs_.size(); ++i) {
        if (RectContains(tabs_[i].tab, p)) {
            SelectTab(int(i));
            return;
        }
    }
}

void TabWindow::OnResize() {
    pagesMisplaced_ = true;
    PlacePages();
}

void TabWindow::Draw() {
    Skin* skin = WS().GetSkin();
    if (!skin) return;
    LayoutTabs();
    auto drawTab = [&](int i) {
        const Tab& t = tabs_[size_t(i)];
        skin->DrawTab(t.tab, i == selected_);
        if (const char* name = t.page->GetName()) {
            Skin::SetTextColor(false);
            DrawText(name, 0, kTextCenter | kTextCenterVertically | kTextShadow, t.label);
        }
    };
    for (int i = int(tabs_.size()) - 1; i >= 0; --i) {
        if (i != selected_) drawTab(i);
    }
    if (selected_ >= 0) drawTab(selected_);
    int top = skin->TabHeight();
    skin->DrawTabLine({0, top, Client().Width(), top + skin->TabLineHeight()});
}

}  // namespace tamber::ui::widgets
