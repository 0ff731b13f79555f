#pragma once
// Items shown as cells of a grid: a square picture of 96 pixels (times the zoom)
// with a caption of three font heights under it, 8 pixels apart. Each cell is a row
// of the grid's model: the model draws the picture and gives the caption; the grid
// lays out, scrolls (by rows of cells), selects and draws only the rows in view.
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "ui/widgets/ListModel.h"
#include "ui/widgets/ScrollableWindow.h"

namespace tamber::ui::widgets {

class GridWindow : public ScrollableWindow {
public:
    struct Cell {
        RowId id = 0;
        uint32_t flags = 0;
    };
    enum CellFlag : uint32_t { kCellSelected = 1 };
    static constexpr int kPictureSize = 96;
    static constexpr int kSpacing = 8;
    static constexpr int kCaptionLines = 3;
    static constexpr int kDragDistance = 4;
    static constexpr double kZoomSteps[] = {0.25, 0.5, 0.75, 1.0, 1.5, 2.0, 3.0, 4.0};

    GridWindow(uint32_t windowStyle, Window* parent);

    const char* GetClassName() const override { return "GridWindow"; }

    // The model is the owner's and must outlive the grid (or be replaced first).
    void SetModel(const ListModel* model, int captionColumn, int pictureColumn);
    int AddCell(RowId id);
    void RemoveAllCells();
    // Replaces the cells; the selection, the current cell and the scroll position are
    // kept for the ids that return.
    void Refill(const std::vector<RowId>& ids);
    // The index of the cell with this id, or -1.
    int FindCell(RowId id) const;
    int CellCount() const { return int(cells_.size()); }
    const Cell& GetCell(int index) const { return cells_[size_t(index)]; }

    void SetZoom(double zoom);
    double Zoom() const { return zoom_; }
    void ZoomIn();
    void ZoomOut();
    // 0 lets the client width decide.
    void SetFixedColumns(int columns);
    int ColumnCount() const;
    int PitchX() const;
    int PitchY() const;
    // Picture and caption rectangles of a cell in client-local pixels.
    Rect PictureRect(int index) const;
    Rect CaptionRect(int index) const;
    int CellAtPoint(Point surface) const;

    int CurrentCell() const { return current_; }
    void SelectCell(int index, bool extend);
    void SetCellSelected(int index, bool selected);
    void ClearSelection();
    void SelectAll();
    std::vector<int> SelectedCells() const;
    void ScrollToCell(int index);
    // Dragging selected cells starts a drag of a BitmapGridDDData.
    void SetDragEnabled(bool enabled) { dragEnabled_ = enabled; }

    // Owner callbacks.
    std::function<void(int index)> activateCell;
    std::function<void()> deleteCells;

    Signal0 selectionChanged;
    Signal1<Point> contextClick;
    Signal0 dragStarted;

    bool OnKey(Event& event) override;
    void OnMouseButton(Event& event) override;
    void OnDoubleClick(Event& event) override;
    void OnMouseMove(Event& event) override;
    void OnResize() override;
    void Draw() override;
    void OnVerticalScroll(int32_t newPosition, int32_t oldPosition) override;

private:
    void UpdateScrollRange();
    void MoveCurrent(int target, bool extend);
    void NotifySelection();

    const ListModel* model_ = nullptr;
    int captionColumn_ = 0;
    int pictureColumn_ = 1;
    std::vector<Cell> cells_;
    std::unordered_map<RowId, int> cellIndex_;
    double zoom_ = 1.0;
    int fixedColumns_ = 0;
    int current_ = -1;
    bool dragEnabled_ = false;
    int pressCell_ = -1;
    int narrowOnRelease_ = -1;
    Point pressPoint_;
};

}  // namespace tamber::ui::widgets
