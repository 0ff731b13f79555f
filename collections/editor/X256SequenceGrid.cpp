#include "collections/editor/X256SequenceGrid.h"

#include <algorithm>

#include "base/Preferences.h"
#include "collections/SequenceLayout.h"
#include "collections/editor/BitmapPictures.h"
#include "collections/editor/X256Edit.h"
#include "ui/DrawBatch.h"
#include "ui/RectOps.h"
#include "ui/Skin.h"
#include "ui/TextLayout.h"
#include "ui/WindowSystem.h"

namespace tamber::collections::editor {
using namespace tamber::base;

namespace {

constexpr int kHeaderHeight = 22;
constexpr int kFrameColumnWidth = 44;
constexpr int kTextRowHeight = 20;
constexpr int kThumbStep = 32;
constexpr int kMinColumnWidth = 120;
constexpr int kMargin = 3;
constexpr const char* kZoomPref = "X256SequenceEdit.GridZoom";

std::string Fitted(const Font* font, const std::string& text, int width) {
    if (!font || width <= 0) return "";
    return text.substr(0, size_t(std::max(0, CharIndexAtX(font, text.c_str(), width))));
}

}  // namespace

X256SequenceGrid::X256SequenceGrid(X256Edit& editor, BitmapPictures& pictures, Window* parent)
    : ScrollableWindow(kStyleVisible | kStyleEnabled, parent), editor_(editor), pictures_(pictures) {
    SetName("Frame Grid");
    int zoom = 0;
    if (GetPrefInt(kZoomPref, zoom)) zoom_ = std::clamp(zoom, 0, kMaxZoom);
}

const Sequence* X256SequenceGrid::Shown() const {
    const auto& sequences = editor_.GetCollection().sequences;
    return sequence_ >= 0 && sequence_ < int(sequences.size()) ? &sequences[size_t(sequence_)] : nullptr;
}

int X256SequenceGrid::Columns() const { return Shown() ? 1 + Shown()->header.viewCount : 0; }
int X256SequenceGrid::Rows() const { return Shown() ? int(Shown()->frames.size()) : 0; }
int X256SequenceGrid::RowHeight() const { return kTextRowHeight + zoom_ * kThumbStep; }
int X256SequenceGrid::ColumnWidth() const { return std::max(kMinColumnWidth, zoom_ * kThumbStep + 2 * kMargin); }

void X256SequenceGrid::SetSequence(int index) {
    sequence_ = index;
    Rebuild();
}

void X256SequenceGrid::Rebuild() {
    std::erase_if(selection_, [&](const Cell& c) { return c.frame >= Rows() || c.column >= Columns(); });
    UpdateScrollRange();
    InvalidateClient();
}

void X256SequenceGrid::UpdateScrollRange() {
    SetScrollRange(kHorizontal, kFrameColumnWidth + Columns() * ColumnWidth(), Client().Width());
    SetScrollRange(kVertical, kHeaderHeight + Rows() * RowHeight(), Client().Height());
}

void X256SequenceGrid::OnResize() {
    ScrollableWindow::OnResize();
    UpdateScrollRange();
}

void X256SequenceGrid::Select(const std::set<Cell>& cells) {
    selection_.clear();
    for (const Cell& c : cells)
        if (c.frame >= 0 && c.frame < Rows() && c.column >= 0 && c.column < Columns()) selection_.insert(c);
    InvalidateClient();
    selectionChanged.Emit();
}

void X256SequenceGrid::SetZoom(int zoom) {
    zoom = std::clamp(zoom, 0, kMaxZoom);
    if (zoom == zoom_) return;
    zoom_ = zoom;
    SetPrefInt(kZoomPref, zoom_);
    Rebuild();
}

std::string X256SequenceGrid::ColumnTitle(int column) const {
    if (column == 0) return "Shadow";
    return DirectionHeading(column - 1, std::max(1, Columns() - 1));
}

Rect X256SequenceGrid::CellRect(const Cell& cell) const {
    const int x = kFrameColumnWidth + cell.column * ColumnWidth() - Position(kHorizontal);
    const int y = kHeaderHeight + cell.frame * RowHeight() - Position(kVertical);
    return {x, y, x + ColumnWidth(), y + RowHeight()};
}

bool X256SequenceGrid::CellAt(Point point, bool clamp, Cell& out) const {
    if (Rows() == 0 || Columns() == 0) return false;
    const int x = point.x + Position(kHorizontal) - kFrameColumnWidth;
    const int y = point.y + Position(kVertical) - kHeaderHeight;
    int column = x < 0 ? -1 : x / ColumnWidth(), frame = y < 0 ? -1 : y / RowHeight();
    if (!clamp && (column < 0 || frame < 0 || column >= Columns() || frame >= Rows())) return false;
    out = {std::clamp(frame, 0, Rows() - 1), std::clamp(column, 0, Columns() - 1)};
    return true;
}

void X256SequenceGrid::SelectSpan(const Cell& from, const Cell& to, bool add) {
    std::set<Cell> cells = add ? dragBase_ : std::set<Cell>{};
    for (int f = std::min(from.frame, to.frame); f <= std::max(from.frame, to.frame); ++f)
        for (int c = std::min(from.column, to.column); c <= std::max(from.column, to.column); ++c) cells.insert({f, c});
    if (cells == selection_) return;
    selection_ = std::move(cells);
    InvalidateClient();
    selectionChanged.Emit();
}

void X256SequenceGrid::OnMouseButton(Event& event) {
    if (!event.ButtonPressed()) return;
    const Point local{event.Position().x - Client().left, event.Position().y - Client().top};
    Cell cell;
    const bool onCell = CellAt(local, false, cell);
    if (event.Button() == 1) {
        // A right click on an unselected cell selects it first.
        if (onCell && !selection_.count(cell)) Select({cell});
        contextClick.Emit(event.Position());
        return;
    }
    if (event.Button() != 0 || !onCell) return;
    const int modifiers = event.Modifiers();
    if (modifiers & kModShift) {
        dragBase_ = (modifiers & kModCtrl) ? selection_ : std::set<Cell>{};
        SelectSpan(anchor_, cell, true);
        return;
    }
    anchor_ = cell;
    if (modifiers & kModCtrl) {
        std::set<Cell> cells = selection_;
        if (!cells.erase(cell)) cells.insert(cell);
        Select(cells);
        dragBase_ = selection_;
    } else {
        dragBase_.clear();
        Select({cell});
    }
    dragging_ = WS().BeginMouseTracking(this);
}

void X256SequenceGrid::OnMouseTrack(Point, Point current, int phase) {
    if (!dragging_) return;
    Cell cell;
    if (CellAt({current.x - Client().left, current.y - Client().top}, true, cell)) SelectSpan(anchor_, cell, true);
    if (phase == 2) dragging_ = false;
}

void X256SequenceGrid::OnWheel(Event& event) {
    if (event.Modifiers() & kModCtrl) {
        SetZoom(zoom_ + (WS().WheelDelta(false) > 0 ? 1 : -1));
        return;
    }
    ScrollableWindow::OnWheel(event);
}

void X256SequenceGrid::Draw() {
    const Sequence* sequence = Shown();
    const int width = Client().Width(), height = Client().Height();
    SetDrawColor(48, 48, 48, 255);
    Skin::FillRect({0, 0, width, height});
    if (!sequence) return;
    const Font* font = GetFont();
    const int rowHeight = RowHeight(), columnWidth = ColumnWidth();
    const int scrollY = Position(kVertical);
    const int firstRow = std::max(0, scrollY / rowHeight);
    // Only what the redrawn area meets is drawn: behind a playing frame view the
    // grid is drawn again a tick at a time.
    const Rect clip = RectLocal(Clip(), Client());
    for (int f = firstRow; f < Rows(); ++f) {
        const int y = kHeaderHeight + f * rowHeight - scrollY;
        if (y >= height) break;
        for (int c = 0; c < Columns(); ++c) {
            const Rect r = CellRect({f, c});
            if (r.right <= kFrameColumnWidth || r.left >= width || !RectsMeet(r, clip)) continue;
            const collections::Frame& frame = sequence->frames[size_t(f)];
            const View* view = c > 0 && size_t(c - 1) < frame.views.size() ? &frame.views[size_t(c - 1)] : nullptr;
            const bool shown = c == 0 || view;
            std::shared_ptr<Bitmap> bitmap;
            if (c == 0)
                bitmap = frame.shadow.bitmap;
            else if (view)
                bitmap = view->Shown(editor_.DisplaySet()).bitmap;
            if (selection_.count({f, c})) {
                Skin::SetSelectionColor(true);
                Skin::FillRect({r.left + 1, r.top + 1, r.right - 1, r.bottom - 1});
            }
            if (zoom_ > 0 && shown && bitmap)
                pictures_.Draw(editor_.GetCollection(), bitmap,
                               {r.left + kMargin, r.top + kMargin, r.right - kMargin, r.bottom - kTextRowHeight}, 0);
            Skin::SetTextColor(false);
            const std::string name = shown && bitmap ? bitmap->name : "<no bitmap>";
            DrawText(Fitted(font, name, columnWidth - 2 * kMargin).c_str(), 0, kTextCenterVertically,
                     {r.left + kMargin, r.bottom - kTextRowHeight, r.right - kMargin, r.bottom});
            SetDrawColor(90, 90, 90, 255);
            Skin::FillRect({r.right - 1, r.top, r.right, r.bottom});
            Skin::FillRect({r.left, r.bottom - 1, r.right, r.bottom});
        }
        if (!RectsMeet({0, y, kFrameColumnWidth, y + rowHeight}, clip)) continue;
        SetDrawColor(64, 64, 64, 255);
        Skin::FillRect({0, y, kFrameColumnWidth, y + rowHeight});
        Skin::SetTextColor(false);
        DrawText(std::to_string(f).c_str(), 0, kTextCenterVertically | kTextCenter, {0, y, kFrameColumnWidth, y + rowHeight});
    }
    // The header row stays in place while the rows scroll under it.
    SetDrawColor(72, 72, 72, 255);
    Skin::FillRect({0, 0, width, kHeaderHeight});
    for (int c = 0; c < Columns(); ++c) {
        const Rect r = CellRect({0, c});
        if (r.right <= kFrameColumnWidth || r.left >= width || !RectsMeet({r.left, 0, r.right, kHeaderHeight}, clip))
            continue;
        Skin::SetTextColor(false);
        DrawText(ColumnTitle(c).c_str(), 1, kTextCenterVertically | kTextCenter, {r.left, 0, r.right, kHeaderHeight});
        SetDrawColor(100, 100, 100, 255);
        Skin::FillRect({r.right - 1, 0, r.right, kHeaderHeight});
    }
    SetDrawColor(72, 72, 72, 255);
    Skin::FillRect({0, 0, kFrameColumnWidth, kHeaderHeight});
}

}  // namespace tamber::collections::editor
