#include "ui/widgets/GridWindow.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdlib>
#include <unordered_set>

#include "ui/DrawBatch.h"
#include "ui/Font.h"
#include "ui/Skin.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/BitmapGridDDData.h"

namespace tamber::ui::widgets {

GridWindow::GridWindow(uint32_t windowStyle, Window* parent) : ScrollableWindow(windowStyle | kStyleFocusable, parent) {
    SetScrollRange(kVertical, 0, 1);
}

void GridWindow::SetModel(const ListModel* model, int captionColumn, int pictureColumn) {
    model_ = model;
    captionColumn_ = captionColumn;
    pictureColumn_ = pictureColumn;
    InvalidateClient();
}

int GridWindow::FindCell(RowId id) const {
    auto found = cellIndex_.find(id);
    return found == cellIndex_.end() ? -1 : found->second;
}

void GridWindow::Refill(const std::vector<RowId>& ids) {
    std::unordered_set<RowId> selected;
    for (int index : SelectedCells()) selected.insert(cells_[size_t(index)].id);
    const bool hadCurrent = current_ >= 0;
    const RowId current = hadCurrent ? cells_[size_t(current_)].id : 0;
    const int top = Position(kVertical);
    cells_.clear();
    cellIndex_.clear();
    current_ = pressCell_ = narrowOnRelease_ = -1;
    size_t kept = 0;
    for (RowId id : ids) {
        const bool wasSelected = selected.count(id) != 0;
        assert(!cellIndex_.count(id) && "cell ids are unique within a grid");
        cellIndex_[id] = int(cells_.size());
        cells_.push_back(Cell{id, wasSelected ? uint32_t(kCellSelected) : 0u});
        if (wasSelected) ++kept;
        if (hadCurrent && id == current) current_ = int(cells_.size()) - 1;
    }
    UpdateScrollRange();
    ScrollTo(kVertical, top);
    InvalidateClient();
    if (kept != selected.size()) NotifySelection();
}

int GridWindow::AddCell(RowId id) {
    // Refills and drags find cells by id: two cells may never share one.
    assert(FindCell(id) < 0 && "cell ids are unique within a grid");
    cellIndex_[id] = int(cells_.size());
    cells_.push_back(Cell{id, 0});
    UpdateScrollRange();
    InvalidateClient();
    return int(cells_.size()) - 1;
}

void GridWindow::RemoveAllCells() {
    cells_.clear();
    cellIndex_.clear();
    current_ = pressCell_ = narrowOnRelease_ = -1;
    UpdateScrollRange();
    ScrollTo(kVertical, 0);
    InvalidateClient();
}

// ---- Geometry ----

void GridWindow::SetZoom(double zoom) {
    if (!std::isfinite(zoom)) return;
    zoom = std::clamp(zoom, kZoomSteps[0], kZoomSteps[std::size(kZoomSteps) - 1]);
    if (zoom == zoom_) return;
    zoom_ = zoom;
    UpdateScrollRange();
    if (current_ >= 0) ScrollToCell(current_);
    InvalidateClient();
}

void GridWindow::ZoomIn() {
    for (double step : kZoomSteps) {
        if (step > zoom_) return SetZoom(step);
    }
}

void GridWindow::ZoomOut() {
    for (size_t i = std::size(kZoomSteps); i-- > 0;) {
        if (kZoomSteps[i] < zoom_) return SetZoom(kZoomSteps[i]);
    }
}

void GridWindow::SetFixedColumns(int columns) {
    fixedColumns_ = std::max(0, columns);
    UpdateScrollRange();
    InvalidateClient();
}

int GridWindow::PitchX() const { return int(kPictureSize * zoom_) + kSpacing; }

int GridWindow::PitchY() const { return int(kPictureSize * zoom_) + kCaptionLines * GetFontHeight(GetFont()) + kSpacing; }

int GridWindow::ColumnCount() const {
    if (fixedColumns_ > 0) return fixedColumns_;
    return std::max(1, Client().Width() / PitchX());
}

Rect GridWindow::PictureRect(int index) const {
    int columns = ColumnCount();
    int row = index / columns - Position(kVertical);
    int x = (index % columns) * PitchX() + kSpacing / 2;
    int y = row * PitchY() + kSpacing / 2;
    int side = int(kPictureSize * zoom_);
    return {x, y, x + side, y + side};
}

Rect GridWindow::CaptionRect(int index) const {
    Rect picture = PictureRect(index);
    int height = kCaptionLines * GetFontHeight(GetFont());
    return {picture.left - kSpacing / 2 + 1, picture.bottom, picture.right + kSpacing / 2 - 1, picture.bottom + height};
}

int GridWindow::CellAtPoint(Point surface) const {
    int x = surface.x - Client().left, y = surface.y - Client().top;
    if (x < 0 || y < 0) return -1;
    int column = x / PitchX();
    if (column >= ColumnCount()) return -1;
    int index = (Position(kVertical) + y / PitchY()) * ColumnCount() + column;
    return index < int(cells_.size()) ? index : -1;
}

void GridWindow::UpdateScrollRange() {
    int columns = ColumnCount();
    int rows = (int(cells_.size()) + columns - 1) / columns;
    SetScrollRange(kVertical, rows, std::max(1, Client().Height() / PitchY()));
}

void GridWindow::OnResize() {
    ScrollableWindow::OnResize();
    UpdateScrollRange();
}

void GridWindow::OnVerticalScroll(int32_t, int32_t) { InvalidateClient(); }

void GridWindow::ScrollToCell(int index) {
    if (index < 0 || index >= int(cells_.size())) return;
    int row = index / ColumnCount();
    int top = Position(kVertical), visible = VisibleSize(kVertical);
    if (row < top) ScrollTo(kVertical, row);
    else if (row >= top + visible) ScrollTo(kVertical, row - visible + 1);
}

// ---- Selection ----

void GridWindow::NotifySelection() {
    selectionChanged.Emit();
    InvalidateClient();
}

void GridWindow::SetCellSelected(int index, bool selected) {
    if (index < 0 || index >= int(cells_.size())) return;
    uint32_t& flags = cells_[size_t(index)].flags;
    flags = selected ? flags | kCellSelected : flags & ~kCellSelected;
    InvalidateClient();
}

void GridWindow::ClearSelection() {
    bool any = false;
    for (Cell& cell : cells_) {
        any = any || (cell.flags & kCellSelected);
        cell.flags &= ~kCellSelected;
    }
    if (any) NotifySelection();
}

void GridWindow::SelectAll() {
    for (Cell& cell : cells_) cell.flags |= kCellSelected;
    NotifySelection();
}

void GridWindow::SelectCell(int index, bool extend) {
    if (index < 0 || index >= int(cells_.size())) return;
    if (!extend) {
        for (Cell& cell : cells_) cell.flags &= ~kCellSelected;
    }
    cells_[size_t(index)].flags |= kCellSelected;
    current_ = index;
    NotifySelection();
}

std::vector<int> GridWindow::SelectedCells() const {
    std::vector<int> selected;
    for (size_t i = 0; i < cells_.size(); ++i) {
        if (cells_[i].flags & kCellSelected) selected.push_back(int(i));
    }
    return selected;
}

// ---- Input ----

void GridWindow::MoveCurrent(int target, bool extend) {
    if (target < 0 || target >= int(cells_.size()) || target == current_) return;
    if (extend && current_ >= 0) {
        for (int i = std::min(current_, target); i <= std::max(current_, target); ++i) cells_[size_t(i)].flags |= kCellSelected;
        current_ = target;
        NotifySelection();
    } else {
        ClearSelection();
        SelectCell(target, true);
    }
    ScrollToCell(target);
}

bool GridWindow::OnKey(Event& event) {
    if (!event.Pressed()) return false;
    const int mods = event.Modifiers();
    const bool shift = (mods & kModShift) != 0;
    const int columns = ColumnCount();
    const int rowStart = current_ < 0 ? 0 : current_ - current_ % columns;
    const int rowEnd = std::min(rowStart + columns, int(cells_.size())) - 1;
    switch (event.Key()) {
    case 'A':
        if (!(mods & kModCtrl)) return false;
        SelectAll();
        return true;
    case kKeyBackspace:
    case kKeyDelete:
        if (deleteCells) deleteCells();
        return true;
    case kKeyEnter:
    case kKeyKeypadEnter:
        if (activateCell && !event.IsRepeat()) {
            for (int index : SelectedCells()) activateCell(index);
        }
        return true;
    case '=':
    case 143:  // keypad +
        if (!(mods & kModCtrl)) return false;
        ZoomIn();
        return true;
    case '-':
    case 142:  // keypad -
        if (!(mods & kModCtrl)) return false;
        ZoomOut();
        return true;
    case kKeyUp: MoveCurrent(current_ < 0 ? 0 : current_ - columns, shift); return true;
    case kKeyDown: MoveCurrent(current_ < 0 ? 0 : current_ + columns, shift); return true;
    case kKeyLeft:
        if (current_ < 0) MoveCurrent(0, shift);
        else if (mods & kModAlt) MoveCurrent(rowStart, shift);
        else if (current_ > rowStart) MoveCurrent(current_ - 1, shift);
        return true;
    case kKeyRight:
        if (current_ < 0) MoveCurrent(0, shift);
        else if (mods & kModAlt) MoveCurrent(rowEnd, shift);
        else if (current_ < rowEnd) MoveCurrent(current_ + 1, shift);
        return true;
    default: return false;
    }
}

void GridWindow::OnMouseButton(Event& event) {
    if (!event.ButtonPressed()) {
        // A press on a selection that could have been dragged narrows it on release.
        if (narrowOnRelease_ >= 0 && narrowOnRelease_ < int(cells_.size())) SelectCell(narrowOnRelease_, false);
        narrowOnRelease_ = -1;
        return;
    }
    narrowOnRelease_ = -1;
    const int mods = event.Modifiers();
    const bool right = event.Button() == 1;
    int index = CellAtPoint(event.Position());
    if (index < 0) {
        if (!(mods & (kModShift | kModCtrl))) ClearSelection();
    } else if ((mods & kModShift) && current_ >= 0) {
        for (Cell& cell : cells_) cell.flags &= ~kCellSelected;
        for (int i = std::min(current_, index); i <= std::max(current_, index); ++i) cells_[size_t(i)].flags |= kCellSelected;
        current_ = index;
        NotifySelection();
    } else if (mods & kModCtrl) {
        SetCellSelected(index, !(cells_[size_t(index)].flags & kCellSelected));
        current_ = index;
        NotifySelection();
    } else if (!right && dragEnabled_ && (cells_[size_t(index)].flags & kCellSelected) && SelectedCells().size() > 1) {
        narrowOnRelease_ = index;
        current_ = index;
    } else if (!(right && (cells_[size_t(index)].flags & kCellSelected))) {
        SelectCell(index, false);
    }
    if (right) contextClick.Emit(event.Position());
    pressCell_ = !right && index >= 0 && (cells_[size_t(index)].flags & kCellSelected) ? index : -1;
    pressPoint_ = event.Position();
}

void GridWindow::OnMouseMove(Event& event) {
    if (pressCell_ < 0 || !dragEnabled_ || !WS().IsButtonDown(0)) {
        pressCell_ = -1;
        return;
    }
    Point p = event.Position();
    if (std::abs(p.x - pressPoint_.x) < kDragDistance && std::abs(p.y - pressPoint_.y) < kDragDistance) return;
    pressCell_ = narrowOnRelease_ = -1;
    std::vector<int> selected = SelectedCells();
    std::vector<RowId> ids;
    for (int index : selected) ids.push_back(cells_[size_t(index)].id);
    BitmapGridDDData::RegisterDragImage();
    if (WS().BeginDrag(this, new BitmapGridDDData(this, std::move(selected), std::move(ids)))) dragStarted.Emit();
}

void GridWindow::OnDoubleClick(Event& event) {
    int index = CellAtPoint(event.Position());
    if (event.Button() == 0 && event.ButtonPressed() && index >= 0 && activateCell) activateCell(index);
}

// ---- Drawing ----

void GridWindow::Draw() {
    const Rect local{0, 0, Client().Width(), Client().Height()};
    SetDrawColor(0, 0, 0, 64);
    Skin::FillRect(local);
    const int columns = ColumnCount();
    const int firstRow = Position(kVertical);
    const int rows = local.Height() / PitchY() + 2;
    const int end = std::min(int(cells_.size()), (firstRow + rows) * columns);
    const bool focused = IsFocused();
    for (int index = firstRow * columns; index < end; ++index) {
        Rect picture = PictureRect(index), caption = CaptionRect(index);
        if (cells_[size_t(index)].flags & kCellSelected) {
            Skin::SetSelectionColor(focused);
            Skin::FillRect({caption.left, picture.top - kSpacing / 2 + 1, caption.right, caption.bottom});
        }
        const RowId id = cells_[size_t(index)].id;
        SetDrawColor(255, 255, 255, 96);
        Skin::DrawRectOutline(picture, 1, false);
        if (model_) {
            model_->DrawPicture(id, pictureColumn_, picture);
            Skin::SetTextColor(false);
            const std::string text = model_->Cell(id, captionColumn_).text;
            DrawText(text.c_str(), 0, kTextMultiLine | kTextWordWrap | kTextCenter, caption);
        }
        if (index == current_ && focused) {
            SetDrawColor(255, 255, 255, 192);
            Skin::DrawRectOutline({caption.left, picture.top - kSpacing / 2 + 1, caption.right, caption.bottom}, 1, false);
        }
    }
}

}  // namespace tamber::ui::widgets
