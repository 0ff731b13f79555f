#include "tools/WindowSpy.h"

#include <cinttypes>
#include <cstdio>

#include "ui/WindowPlacement.h"
#include "ui/WindowSystem.h"

namespace tamber::tools {
using namespace tamber::ui;

namespace {

constexpr uint32_t kSpyStyle = kStyleDocument | kStyleVisible;
constexpr uint32_t kSpyListFlags = 43;
constexpr uint32_t kListStyle = kStyleVisible | kStyleEnabled;
enum Column { kColumnText, kColumnClass, kColumnAddress };

}  // namespace

WindowView::WindowView() : Window(kSpyStyle & ~kStyleVisible, nullptr) {
    SetName(kTitle);
    list_ = new ListWindow(kSpyListFlags, kListStyle, this);
    list_->AddColumn("Text", nullptr, 0, 0, 256, 0);
    list_->AddColumn("Class", nullptr, 0, 0, 192, 0);
    // Wide enough for a 64-bit address in full.
    list_->AddColumn("Address", nullptr, 0, 0, 128, 0);
    list_->formatCell = [this](const ListWindow::ListItem* item, int column) { return FormatCell(item, column); };
    if (!RestorePlacement(this, kPlacementKey, true)) {
        SetSize(kDefaultWidth, kDefaultHeight);
        PlaceAtCascadePosition(this);
        FitInsideParent(this);
    }
    OnResize();
    SetVisible(true);
    RefreshWindowTree();
}

void WindowView::RefreshWindowTree() {
    list_->RemoveAllItems();
    rows_.clear();
    if (Window* root = WS().Root()) AddWindow(root, nullptr);
}

void WindowView::AddWindow(const Window* window, ListWindow::ListItem* parent) {
    const char* name = window->GetName();
    rows_.push_back({name ? name : "(unnamed)", window->GetClassName(), reinterpret_cast<uintptr_t>(window)});
    uint32_t flags = 0;
    if (window->FirstChild()) flags |= ListWindow::kItemHasChildren;
    if (window->HasFlags(kStyleTopBoundary)) flags |= ListWindow::kItemExpanded;
    ListWindow::ListItem* item = list_->AddListItem(parent, &rows_.back(), flags, rows_.back().name);
    for (const Window* child = window->FirstChild(); child; child = child->NextSibling()) AddWindow(child, item);
}

std::string WindowView::FormatCell(const ListWindow::ListItem* item, int column) const {
    const Row* row = static_cast<const Row*>(item->data);
    if (!row) return {};
    switch (column) {
    case kColumnText: return row->name;
    case kColumnClass: return row->className;
    case kColumnAddress: {
        char text[24];
        std::snprintf(text, sizeof text, "0x%" PRIxPTR, row->address);
        return text;
    }
    default: return {};
    }
}

bool WindowView::OnKey(Event& event) {
    if (event.Key() != kKeyF5) return false;
    if (event.Pressed()) RefreshWindowTree();
    return true;
}

void WindowView::OnResize() {
    if (list_) list_->SetFrameXYWH(0, 0, Client().Width(), Client().Height());
}

void WindowView::OnClose() { SavePlacement(this, kPlacementKey); }

WindowView* OpenWindowSpy() {
    Window* layer = WS().Layer0();
    if (!layer) return nullptr;
    auto* spy = static_cast<WindowView*>(layer->FindChild(WindowView::kTitle, "WindowView"));
    if (!spy || spy->DisplayState() == kDisplayClosed) spy = new WindowView;
    spy->BringToFront();
    return spy;
}

}  // namespace tamber::tools
