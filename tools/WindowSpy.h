#pragma once
// The window spy ("Window Spy"): a debugging window listing the whole window tree,
// each window with its name, class name and address, as an expandable tree. F5
// lists the tree again; rows keep what they showed when listed, so a window
// deleted since then is shown as it was and never touched.
#include "ui/Window.h"
#include "ui/widgets/ListWindow.h"
#include "ui/widgets/StoredListModel.h"

namespace tamber::tools {
using namespace tamber::ui;
using namespace tamber::ui::widgets;

class WindowView : public Window {
public:
    static constexpr const char* kTitle = "Window Spy";
    static constexpr const char* kPlacementKey = "WindowSpyPlacement";
    static constexpr int kDefaultWidth = 512;
    static constexpr int kDefaultHeight = 700;

    WindowView();
    const char* GetClassName() const override { return "WindowView"; }

    // Lists the tree again from the root window.
    void RefreshWindowTree();
    ListWindow* List() const { return list_; }

    bool OnKey(Event& event) override;
    void OnResize() override;
    void OnClose() override;

private:
    void AddWindow(const Window* window, ListWindow::ListItem* parent);

    // Rows keep what they showed when listed; the windows themselves are never read again.
    StoredListModel rows_;
    ListWindow* list_ = nullptr;
};

// The Debug menu's "Window Spy": brings the spy to the front, creating it when
// there is none.
WindowView* OpenWindowSpy();

}  // namespace tamber::tools
