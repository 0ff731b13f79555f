#include "tools/WindowSpy.h"

#include <cinttypes>
#include <cstdio>

#include "ui/WindowPlacement.h"
#include "ui/WindowSystem.h"

namespace tamber::tools {
using namespace tamber::ui;

namespace {

constexpr uint32_t kSpyStyle = kStyleDocument | kStyleVisible;
constexpr uint32_t kSpyListFlags = ListWindow::kMultipleSelection | ListWindow::kHeaderRow;
constexpr uint32_t kListStyle = kStyleVisible | kStyleEnabled;

}  // namespace

WindowView::WindowView() : Window(kSpyStyle & ~kStyleVisible, nullptr) {
    SetName(kTitle);
    list_ = new ListWindow(kSpyListFlags, kListStyle, this);
    list_->SetModel(&rows_);
    list_->AddColumn("Text", CellType::kText, 256);
    list_->AddColumn("Class", CellType::kText, 192);
    // Wide enough for a 64-bit address in full.
    list_->AddColumn("Address", CellType::kNumber, 128);
    if (!RestorePlacement(this, kPlacementKey, true)) {
        SetSize(kDefaultWidth, kDefaultHeight);
        PlaceAtCascadePosition(this);
        OnResize();
        WidenWithinParent(this, list_->MissingColumnsWidth());
        FitInsideParent(this);
    }
    OnResize();
    SetVisible(true);
    RefreshWindowTree();
}

void WindowView::RefreshWindowTree() {
    list_->Refill([this] {
        rows_.Clear();
        if (Window* root = WS().Root()) AddWindow(root, nullptr);
    });
}

void WindowView::AddWindow(const Window* window, ListWindow::ListItem* parent) {
    // A window's address names its row, so what was selected or expanded stays so.
    const auto address = reinterpret_cast<uintptr_t>(window);
    const char* name = window->GetName();
    char text[24];
    std::snprintf(text, sizeof text, "0x%" PRIxPTR, address);
    rows_.SetRow(address, {CellValue::Text(name ? name : "(unnamed)"), CellValue::Text(window->GetClassName()),
                           CellValue::Number(double(address), text)});
    uint32_t flags = 0;
    if (window->FirstChild()) flags |= ListWindow::kItemHasChildren;
    if (window->HasFlags(kStyleTopBoundary)) flags |= ListWindow::kItemExpanded;
    ListWindow::ListItem* item = list_->AddListItem(parent, address, flags, name ? name : "(unnamed)");
    for (const Window* child = window->FirstChild(); child; child = child->NextSibling()) AddWindow(child, item);
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
    WS().FocusWindow(spy);
    return spy;
}

}  // namespace tamber::tools
