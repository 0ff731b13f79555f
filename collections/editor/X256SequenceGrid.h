#pragma once
// The frame grid of the sequence editor: one row per frame, a "Shadow" column and
// one column per view headed by its direction. Cells are selected one by one or
// as rectangles (click, Ctrl+click toggles, Shift+click or a drag spans); each
// shows its bitmap (at the grid's zoom) and name, or "<no bitmap>".
#include <set>
#include <utility>
#include <vector>

#include "collections/Collection.h"
#include "ui/Signal.h"
#include "ui/widgets/ScrollableWindow.h"

namespace tamber::collections::editor {
using namespace tamber::ui;

class X256Edit;
class BitmapPictures;

class X256SequenceGrid : public widgets::ScrollableWindow {
public:
    // A cell: column 0 is the shadow, column v + 1 view v.
    struct Cell {
        int frame = 0;
        int column = 0;
        auto operator<=>(const Cell&) const = default;
    };
    static constexpr int kMaxZoom = 4;

    X256SequenceGrid(X256Edit& editor, BitmapPictures& pictures, Window* parent);

    const char* GetClassName() const override { return "X256SequenceGrid"; }
    // Shows a sequence (none when out of range); keeps the selection's cells that remain.
    void SetSequence(int index);
    void Rebuild();

    const std::set<Cell>& Selection() const { return selection_; }
    void Select(const std::set<Cell>& cells);
    int Zoom() const { return zoom_; }
    void SetZoom(int zoom);
    std::string ColumnTitle(int column) const;
    // The cell's rectangle in client pixels, as drawn now.
    Rect CellRect(const Cell& cell) const;

    void Draw() override;
    void OnResize() override;
    void OnMouseButton(Event& event) override;
    void OnMouseTrack(Point start, Point current, int phase) override;
    void OnWheel(Event& event) override;
    void OnVerticalScroll(int32_t, int32_t) override { InvalidateClient(); }
    void OnHorizontalScroll(int32_t) override { InvalidateClient(); }

    Signal0 selectionChanged;
    Signal1<Point> contextClick;

private:
    const Sequence* Shown() const;
    int Columns() const;
    int Rows() const;
    int RowHeight() const;
    int ColumnWidth() const;
    // The cell under a point in client pixels, clamped to the grid when `clamp`.
    bool CellAt(Point point, bool clamp, Cell& out) const;
    void SelectSpan(const Cell& from, const Cell& to, bool add);
    void UpdateScrollRange();

    X256Edit& editor_;
    BitmapPictures& pictures_;
    int sequence_ = -1;
    int zoom_ = 0;
    std::set<Cell> selection_;
    std::set<Cell> dragBase_;  // the selection a drag adds to
    Cell anchor_;
    bool dragging_ = false;
};

}  // namespace tamber::collections::editor
