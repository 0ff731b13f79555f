#include "ui/widgets/ListGridWindow.h"

#include <algorithm>

#include "ui/WindowSystem.h"
#include "ui/widgets/Button.h"
#include "ui/widgets/GridWindow.h"
#include "ui/widgets/ListWindow.h"

namespace tamber::ui::widgets {

ListGridWindow::ListGridWindow(uint32_t listFlags, uint32_t windowStyle, Window* parent)
    : Window(windowStyle, parent),
      list_(new ListWindow(listFlags, kStyleVisible, this)),
      grid_(new GridWindow(0, this)),
      switch_(new Button(this, 0)) {
    switch_->SetName("Grid");
    switch_->SizeToFit();
    switch_->clicked.Connect(this, &ListGridWindow::OnSwitchClicked);
    OnResize();
}

void ListGridWindow::SetModel(const ListModel* model, int captionColumn, int pictureColumn) {
    list_->SetModel(model);
    grid_->SetModel(model, captionColumn, pictureColumn);
}

void ListGridWindow::SwitchView() {
    bool hadFocus = (showingGrid_ ? static_cast<Window*>(grid_) : list_)->IsFocused();
    showingGrid_ = !showingGrid_;
    Window* shown = showingGrid_ ? static_cast<Window*>(grid_) : list_;
    Window* hidden = showingGrid_ ? static_cast<Window*>(list_) : grid_;
    hidden->SetVisible(false);
    shown->SetVisible(true);
    switch_->SetName(showingGrid_ ? "List" : "Grid");
    switch_->Invalidate();
    if (hadFocus) WS().SetFocus(shown, kFocusByProgram);
}

void ListGridWindow::OnResize() {
    const int width = Client().Width(), height = Client().Height();
    const int buttonWidth = switch_->Frame().Width(), buttonHeight = switch_->Frame().Height();
    switch_->SetFrameXYWH(std::max(0, width - buttonWidth - 4), std::max(0, (kBarHeight - buttonHeight) / 2), buttonWidth,
                          buttonHeight);
    Rect view{0, kBarHeight, width, std::max(kBarHeight, height)};
    list_->SetFrame(view);
    grid_->SetFrame(view);
}

}  // namespace tamber::ui::widgets
