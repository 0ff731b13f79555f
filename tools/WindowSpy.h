#pragma once
// The window spy ("Window Spy"): a debugging window listing the whole window tree,
// each window with its name, class name and address, as an expandable tree. F5
// lists the tree again; rows keep what they showed when listed, so a window
// deleted since then is shown as it was and never touched.
#include <cstdint>
#include <deque>
#include <string>

#include "ui/Window.h"
#include "ui/widgets/ListWindow.h"

namespace tamber::tools {
using namespace tamber::ui;
using namespace tamber::ui::widgets;

class WindowView : public Window {
public:
    static constexpr const char* kTitle = "Window Spy";
    static constexpr const char* kPlacementKey = "WindowSpyPlacement";
    static constexpr int kDefaultWidth = 512;
    static constexpr int kDefaultHeight = 700;

    struct Row {
        std::string name;
        std::string className;
        uintptr_t address;
    };

    WindowView();
    const char* GetClassName() const override { return "WindowView"; }

    // Lists the tree again from the root window.
    void RefreshWindowTree();
    ListWindow* List() const { return list_; }
    const std::deque<Row>& Rows() const { return rows_; }

    bool OnKey(Event& event) override;
    void OnResize() override;
    void OnClose() override;

private:
    void AddWindow(const Window* window, ListWindow::ListItem* parent);
    std::string FormatCell(const ListWindow::ListItem* item, int column) const;

    ListWindow* list_ = nullptr;
    std::deque<Row> rows_;  // stable addresses: the items point at their rows
};

// The Debug menu's "Window Spy": brings the spy to the front, creating it when
// there is none.
WindowView* OpenWindowSpy();

}  // namespace tamber::tools
