#pragma once
// One list and one grid over the same items, with a button at the top right that
// switches between them; its label names the other view ("Grid" while the list is
// shown, "List" while the grid is). The view fills the client area below a bar.
#include <cstdint>

#include "ui/Window.h"
#include "ui/widgets/ListModel.h"

namespace tamber::ui::widgets {

class Button;
class GridWindow;
class ListWindow;

class ListGridWindow : public Window {
public:
    static constexpr int kBarHeight = 32;

    ListGridWindow(uint32_t listFlags, uint32_t windowStyle, Window* parent);

    const char* GetClassName() const override { return "ListGridWindow"; }

    ListWindow* List() const { return list_; }
    GridWindow* Grid() const { return grid_; }
    Button* SwitchButton() const { return switch_; }
    bool ShowingGrid() const { return showingGrid_; }
    // Both views show this model's rows; the grid takes its captions and pictures from
    // the given columns.
    void SetModel(const ListModel* model, int captionColumn, int pictureColumn);
    void SwitchView();

    void OnResize() override;

private:
    void OnSwitchClicked() { SwitchView(); }

    ListWindow* list_;
    GridWindow* grid_;
    Button* switch_;
    bool showingGrid_ = false;
};

}  // namespace tamber::ui::widgets
