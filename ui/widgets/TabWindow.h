#pragma once
// Shows one child at a time behind a row of overlapping tabs. Every child becomes a
// tab labelled with its window name; Ctrl+Tab / Ctrl+Right and Ctrl+Shift+Tab /
// Ctrl+Left cycle through them.
#include <cstdint>
#include <vector>

#include "ui/Window.h"

namespace tamber::ui::widgets {

class TabWindow : public Window {
public:
    struct Tab {
        Rect tab;    // client-local
        Rect label;  // client-local
        Window* page = nullptr;
    };

    static constexpr int kFirstTabX = 8;
    static constexpr int kOverlap = 8;
    static constexpr int kPageGap = 4;

    TabWindow(uint32_t flags, Window* parent);

    const char* GetClassName() const override { return "TabWindow"; }

    // Ignored when out of range: hides the old page, shows and focuses the new one.
    void SelectTab(int index);
    int SelectedTab() const { return selected_; }
    int TabCount() const { return int(tabs_.size()); }
    // The tab records, laid out for the current labels.
    const std::vector<Tab>& Tabs();
    // Where pages lie, client-local: below the tabs.
    Rect PageArea() const;

    bool HandleEvent(Window* target, int kind, Event& event) override;
    bool OnKey(Event& event) override;
    void OnMouseButton(Event& event) override;
    void OnChildAdded(Window* child) override;
    void OnChildRemoved(Window* child) override;
    void OnResize() override;
    void Idle() override;
    void Draw() override;

private:
    // Labels may be named after the page was added, so the layout is redone on use.
    void LayoutTabs();
    void Cycle(int step);
    void PlacePages();

    std::vector<Tab> tabs_;
    int selected_ = -1;
    bool pagesMisplaced_ = false;
};

}  // namespace tamber::ui::widgets
