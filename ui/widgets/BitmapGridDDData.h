#pragma once
// The cells dragged out of a grid of bitmaps: the grid, the cell indices and the
// row id of each. The drag image reads "<N Bitmaps>".
#include <string>
#include <vector>

#include "ui/Window.h"
#include "ui/widgets/ListModel.h"

namespace tamber::ui::widgets {

class GridWindow;

class BitmapGridDDData : public Window::DragDropData {
public:
    static constexpr int kType = 0x42475244;  // 'BGRD'

    BitmapGridDDData(GridWindow* grid, std::vector<int> cells, std::vector<RowId> ids);

    GridWindow* Grid() const { return grid_; }
    const std::vector<int>& Cells() const { return cells_; }
    const std::vector<RowId>& Ids() const { return ids_; }
    // The text of the drag image.
    std::string Label() const;

    // Registers the drag image with the window system (once per window tree).
    static void RegisterDragImage();

private:
    GridWindow* grid_;
    std::vector<int> cells_;
    std::vector<RowId> ids_;
};

}  // namespace tamber::ui::widgets
