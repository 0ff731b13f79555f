#include "ui/widgets/ListWindow.h"

#include <algorithm>
#include <cassert>
#include <cstdlib>

#include "ui/DrawBatch.h"
#include "ui/Font.h"
#include "ui/Skin.h"
#include "ui/TextLayout.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/TextBox.h"
#include "ui/RectOps.h"

namespace tamber::ui::widgets {

namespace {

int MeasureText(const Font* font, const std::string& text) {
    return DrawText(font, text.c_str(), 0, kTextMeasureOnly, Rect{0, 0, 1 << 30, 1 << 10});
}

// The part of text that fits into width pixels.
std::string Fitted(const Font* font, const std::string& text, int width) {
    if (!font) return text;
    if (MeasureText(font, text) <= width) return text;
    return text.substr(0, size_t(std::max(0, CharIndexAtX(font, text.c_str(), width - 1))));
}

}  // namespace

ListWindow::ListItemDDData::ListItemDDData(ListWindow* list, std::vector<RowId> rows)
    : Window::DragDropData(kType), list_(list), rows_(std::move(rows)) {}

ListWindow::ListItemDDData::~ListItemDDData() {
    if (list_) list_->SetDropHighlight(nullptr);
}

ListWindow::ListWindow(uint32_t listFlags, uint32_t windowStyle, Window* parent)
    : ScrollableWindow(windowStyle | kStyleFocusable, parent), listFlags_(listFlags) {
    SetScrollRange(kVertical, 0, 1);
}

ListWindow::~ListWindow() = default;

// ---- Columns ----

void ListWindow::SetModel(const ListModel* model) {
    model_ = model;
    InvalidateClient();
}

int ListWindow::TitleWidth(const std::string& title) const {
    const Font* font = GetFont();
    if (!font || title.empty()) return 0;
    const Skin* skin = WS().GetSkin();
    const int mark = skin ? skin->PieceWidth(kSkinSortAscending) + 4 : 0;
    return MeasureText(font, title) + 2 * kCellMargin + mark;
}

int ListWindow::AddColumn(const std::string& title, CellType type, int width, uint32_t flags) {
    Column column;
    column.title = title;
    column.type = type;
    // A header never clips its own title, sort mark included.
    column.width = std::max({0, width, TitleWidth(title)});
    column.flags = flags;
    size_t place = columns_.size();
    while (place > 0 && columns_[place - 1].Hidden()) --place;
    if (!column.Hidden()) {
        int visible = 0;
        for (const Column& c : columns_) visible += c.Hidden() ? 0 : 1;
        column.priority = visible;
    } else {
        place = columns_.size();
    }
    columns_.insert(columns_.begin() + long(place), std::move(column));
    LayoutColumns();
    return int(place);
}

void ListWindow::SetColumnHidden(int index, bool hidden) {
    if (index < 0 || index >= int(columns_.size()) || columns_[size_t(index)].Hidden() == hidden) return;
    Column& column = columns_[size_t(index)];
    if (hidden) {
        for (Column& c : columns_) {
            if (!c.Hidden() && c.priority > column.priority) --c.priority;
        }
        column.flags |= kColumnHidden;
        column.priority = -1;
    } else {
        int visible = 0;
        for (const Column& c : columns_) visible += c.Hidden() ? 0 : 1;
        column.flags &= ~kColumnHidden;
        column.priority = visible;
    }
    LayoutColumns();
}

int ListWindow::ColumnsWidth() const {
    int width = 0;
    for (const Column& c : columns_) width += c.Hidden() ? 0 : c.width;
    return width;
}

int ListWindow::MissingColumnsWidth() const {
    // The client area already leaves the scroll bars out.
    return std::max(0, ColumnsWidth() - Client().Width());
}

void ListWindow::LayoutColumns() {
    int x = 0;
    for (Column& c : columns_) {
        c.x = x;
        if (!c.Hidden()) x += c.width;
    }
    UpdateScrollRange();
    InvalidateClient();
}

int ListWindow::FirstVisibleColumn() const {
    for (size_t i = 0; i < columns_.size(); ++i) {
        if (!columns_[i].Hidden()) return int(i);
    }
    return -1;
}

int ListWindow::ColumnAtX(int x) const {
    for (size_t i = 0; i < columns_.size(); ++i) {
        const Column& c = columns_[i];
        if (!c.Hidden() && x >= c.x && x < c.x + c.width) return int(i);
    }
    return -1;
}

// ---- Items ----

void ListWindow::LinkItem(ListItem* item, ListItem* parent) {
    item->parent = parent;
    item->depth = parent ? parent->depth + 1 : 1;
    ListItem*& first = parent ? parent->firstChild : first_;
    ListItem*& last = parent ? parent->lastChild : last_;
    item->previous = last;
    item->next = nullptr;
    if (last) last->next = item;
    else first = item;
    last = item;
    if (parent) {
        ++parent->childCount;
        parent->flags |= kItemHasChildren;
        tree_ = true;
    }
}

void ListWindow::UnlinkItem(ListItem* item) {
    ListItem*& first = item->parent ? item->parent->firstChild : first_;
    ListItem*& last = item->parent ? item->parent->lastChild : last_;
    if (item->previous) item->previous->next = item->next;
    else first = item->next;
    if (item->next) item->next->previous = item->previous;
    else last = item->previous;
    if (item->parent) --item->parent->childCount;
    item->previous = item->next = item->parent = nullptr;
}

ListWindow::ListItem* ListWindow::AddListItem(ListItem* parent, RowId id, uint32_t flags, const std::string& label) {
    assert(!parent || FindItem(parent->id) == parent);
    auto [slot, added] = items_.try_emplace(id);
    // Selection, expansion and refills find rows by id: two rows may never share one.
    assert(added && "row ids are unique within a list");
    if (!added) return nullptr;
    slot->second = std::make_unique<ListItem>();
    ListItem* item = slot->second.get();
    item->id = id;
    item->flags = flags & ~kItemSelected;
    item->label = label;
    if (flags & kItemExpanded) expanded_.insert(id);
    else if (expanded_.count(id)) item->flags |= kItemExpanded;
    if (flags & kItemHasChildren) tree_ = true;
    LinkItem(item, parent);
    StructureChanged();
    return item;
}

ListWindow::ListItem* ListWindow::FindItem(RowId id) const {
    auto found = items_.find(id);
    return found == items_.end() ? nullptr : found->second.get();
}

void ListWindow::SetItemDimmed(ListItem* item, bool dimmed) {
    if (!item || item->Dimmed() == dimmed) return;
    item->flags = dimmed ? item->flags | kItemDimmed : item->flags & ~kItemDimmed;
    InvalidateClient();
}

void ListWindow::SetItemColor(ListItem* item, const uint8_t rgb[3]) {
    if (!item || std::equal(rgb, rgb + 3, item->color)) return;
    std::copy(rgb, rgb + 3, item->color);
    InvalidateClient();
}

void ListWindow::ForgetSelected(ListItem* item) {
    for (ListItem* child = item->firstChild; child; child = child->next) ForgetSelected(child);
    if (item->Selected()) selection_.erase(std::remove(selection_.begin(), selection_.end(), item), selection_.end());
    if (anchor_ == item) anchor_ = nullptr;
    if (cursor_ == item) cursor_ = nullptr;
    if (pressItem_ == item) pressItem_ = nullptr;
    if (narrowOnRelease_ == item) narrowOnRelease_ = nullptr;
    if (dropHighlight_ == item) dropHighlight_ = nullptr;
}

void ListWindow::DeleteTree(ListItem* item) {
    for (ListItem* child = item->firstChild; child;) {
        ListItem* next = child->next;
        DeleteTree(child);
        child = next;
    }
    items_.erase(item->id);
}

void ListWindow::RemoveListItem(ListItem* item) {
    if (!item) return;
    size_t before = selection_.size();
    ForgetSelected(item);
    UnlinkItem(item);
    rows_.clear();  // holds pointers into the removed subtree
    DeleteTree(item);
    StructureChanged();
    if (selection_.size() != before) NotifySelection();
}

void ListWindow::RemoveAllItems() {
    rows_.clear();
    items_.clear();
    first_ = last_ = nullptr;
    selection_.clear();
    anchor_ = cursor_ = pressItem_ = dropHighlight_ = narrowOnRelease_ = nullptr;
    tree_ = false;
    StructureChanged();
    ScrollTo(kVertical, 0);
}

void ListWindow::Refill(const std::function<void()>& fill) {
    std::vector<RowId> selected;
    for (const ListItem* item : selection_) selected.push_back(item->id);
    const RowId anchor = anchor_ ? anchor_->id : 0, cursor = cursor_ ? cursor_->id : 0;
    const bool hadAnchor = anchor_ != nullptr, hadCursor = cursor_ != nullptr;
    const ListItem* top = ItemAtRow(Position(kVertical));
    const bool hadTop = top != nullptr;
    const RowId topId = top ? top->id : 0;
    const int oldTop = Position(kVertical), oldLeft = Position(kHorizontal);

    RemoveAllItems();
    if (fill) fill();

    std::vector<RowId> kept;
    for (RowId id : selected) {
        if (ListItem* item = FindItem(id)) {
            SetSelected(item, true);
            kept.push_back(id);
        }
    }
    if (hadAnchor) anchor_ = FindItem(anchor);
    if (hadCursor) cursor_ = FindItem(cursor);
    SyncRows();
    const ListItem* newTop = hadTop ? FindItem(topId) : nullptr;
    ScrollTo(kVertical, newTop && RowOf(newTop) >= 0 ? RowOf(newTop) : oldTop);
    ScrollTo(kHorizontal, oldLeft);
    if (kept != selected) NotifySelection();
}

void ListWindow::StructureChanged() {
    // Rows and scroll range follow lazily, so adding many items stays linear.
    rowsDirty_ = true;
    rangeDirty_ = true;
    InvalidateClient();
}

void ListWindow::SyncRows() {
    RebuildRows();
    if (!rangeDirty_) return;
    rangeDirty_ = false;
    UpdateScrollRange();
}

void ListWindow::Idle() {
    ScrollableWindow::Idle();
    SyncRows();
}

void ListWindow::RebuildRows() const {
    if (!rowsDirty_) return;
    // Rows of items no longer visible stay stale; RowOf checks them against rows_.
    rows_.clear();
    rows_.reserve(items_.size());
    // Depth-first over expanded items; counts visible descendants on the way back up.
    std::vector<ListItem*> stack;
    for (ListItem* item = first_; item;) {
        item->visibleDescendants = 0;
        item->row = int32_t(rows_.size());
        rows_.push_back(item);
        if (item->Expanded() && item->firstChild) {
            stack.push_back(item);
            item = item->firstChild;
            continue;
        }
        while (!item->next && !stack.empty()) {
            item = stack.back();
            stack.pop_back();
            item->visibleDescendants = int32_t(rows_.size()) - 1 - item->row;
        }
        item = item->next;
    }
    rowsDirty_ = false;
}

int ListWindow::RowCount() const {
    RebuildRows();
    return int(rows_.size());
}

ListWindow::ListItem* ListWindow::ItemAtRow(int row) const {
    RebuildRows();
    return row >= 0 && row < int(rows_.size()) ? rows_[size_t(row)] : nullptr;
}

int ListWindow::RowOf(const ListItem* item) const {
    if (!item) return -1;
    RebuildRows();
    int row = item->row;
    return row >= 0 && row < int(rows_.size()) && rows_[size_t(row)] == item ? row : -1;
}

// ---- Selection ----

void ListWindow::NotifySelection() {
    selectionChanged.Emit();
    InvalidateClient();
}

void ListWindow::SetSelected(ListItem* item, bool selected) {
    if (item->Selected() == selected) return;
    if (selected) {
        item->flags |= kItemSelected;
        selection_.push_back(item);
    } else {
        item->flags &= ~kItemSelected;
        selection_.erase(std::remove(selection_.begin(), selection_.end(), item), selection_.end());
    }
}

void ListWindow::DeselectAll() {
    if (selection_.empty()) return;
    for (ListItem* item : selection_) item->flags &= ~kItemSelected;
    selection_.clear();
    NotifySelection();
}

void ListWindow::SelectListItem(ListItem* item, bool extend) {
    if (!item) return;
    if (!extend || !(listFlags_ & kMultipleSelection)) {
        for (ListItem* s : selection_) s->flags &= ~kItemSelected;
        selection_.clear();
    }
    SetSelected(item, true);
    anchor_ = cursor_ = item;
    NotifySelection();
}

void ListWindow::SelectAll() {
    if (!(listFlags_ & kMultipleSelection)) return;
    RebuildRows();
    for (ListItem* item : rows_) SetSelected(item, true);
    NotifySelection();
}

void ListWindow::SelectRange(ListItem* from, ListItem* to) {
    int a = RowOf(from), b = RowOf(to);
    if (a < 0) a = b;
    if (b < 0) return;
    for (ListItem* s : selection_) s->flags &= ~kItemSelected;
    selection_.clear();
    RebuildRows();
    for (int row = std::min(a, b); row <= std::max(a, b); ++row) SetSelected(rows_[size_t(row)], true);
}

void ListWindow::SetExpanded(ListItem* item, bool expanded) {
    item->flags = expanded ? item->flags | kItemExpanded : item->flags & ~kItemExpanded;
    if (expanded) expanded_.insert(item->id);
    else expanded_.erase(item->id);
    StructureChanged();
}

void ListWindow::ExpandItem(ListItem* item) {
    if (!item || item->Expanded() || !item->HasChildren()) return;
    if (expandItem && !expandItem(item)) return;
    SetExpanded(item, true);
}

void ListWindow::CollapseItem(ListItem* item) {
    if (!item || !item->Expanded()) return;
    SetExpanded(item, false);
    // Hidden descendants leave the selection.
    size_t before = selection_.size();
    for (ListItem* s : std::vector<ListItem*>(selection_)) {
        for (ListItem* p = s->parent; p; p = p->parent) {
            if (p == item) {
                SetSelected(s, false);
                break;
            }
        }
    }
    for (ListItem** held : {&anchor_, &cursor_}) {
        for (ListItem* p = *held ? (*held)->parent : nullptr; p; p = p->parent) {
            if (p == item) *held = item;
        }
    }
    if (selection_.size() != before) NotifySelection();
}

void ListWindow::ToggleItem(ListItem* item) {
    if (item && item->Expanded()) CollapseItem(item);
    else ExpandItem(item);
}

void ListWindow::ActivateSelection() {
    for (ListItem* item : std::vector<ListItem*>(selection_)) {
        if (item->HasChildren()) ToggleItem(item);
        else activated.Emit(item);
    }
}

// ---- Sorting ----

void ListWindow::SortByColumn(int column) {
    if (column < 0 || column >= int(columns_.size()) || columns_[size_t(column)].Hidden()) return;
    int old = columns_[size_t(column)].priority;
    // The clicked column moves to the front; those it passes move down one.
    for (Column& c : columns_) {
        if (!c.Hidden() && c.priority < old) ++c.priority;
    }
    columns_[size_t(column)].priority = 0;
    Sort();
}

void ListWindow::Sort() {
    std::vector<int> order;
    for (size_t i = 0; i < columns_.size(); ++i) {
        if (!columns_[i].Hidden()) order.push_back(int(i));
    }
    // A list without columns sorts by its labels.
    if (order.empty() && !columns_.empty()) return;
    if (order.empty()) order.push_back(-1);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return columns_[size_t(a)].priority < columns_[size_t(b)].priority; });
    SortChildren(nullptr, order);
    StructureChanged();
}

void ListWindow::SortChildren(ListItem* parent, const std::vector<int>& order) {
    ListItem* first = parent ? parent->firstChild : first_;
    if (!first) return;
    std::vector<ListItem*> items;
    for (ListItem* item = first; item; item = item->next) items.push_back(item);
    // Cells are asked for once, and those of later columns only when earlier ones tie.
    const size_t columns = order.size();
    std::vector<CellValue> keys(items.size() * columns);
    std::vector<char> fetched(keys.size(), 0);
    auto key = [&](size_t index, size_t k) -> const CellValue& {
        size_t slot = index * columns + k;
        if (!fetched[slot]) {
            keys[slot] = Cell(items[index], order[k]);
            fetched[slot] = 1;
        }
        return keys[slot];
    };
    std::vector<size_t> sorted(items.size());
    for (size_t i = 0; i < sorted.size(); ++i) sorted[i] = i;
    std::stable_sort(sorted.begin(), sorted.end(), [&](size_t a, size_t b) {
        // Spanning rows come first, by label; the cells order the others.
        const bool spanA = items[a]->flags & kItemSpanning, spanB = items[b]->flags & kItemSpanning;
        if (spanA != spanB) return spanA;
        if (spanA) return CompareCells(CellType::kText, CellValue::Text(items[a]->label), CellValue::Text(items[b]->label)) < 0;
        for (size_t k = 0; k < columns; ++k) {
            const CellType type = order[k] >= 0 ? columns_[size_t(order[k])].type : CellType::kText;
            int c = CompareCells(type, key(a, k), key(b, k));
            if (c == 0) continue;
            bool descending = order[k] >= 0 && (columns_[size_t(order[k])].flags & kColumnDescending) != 0;
            return descending ? c > 0 : c < 0;
        }
        return false;
    });
    ListItem* previous = nullptr;
    for (size_t index : sorted) {
        ListItem* item = items[index];
        item->previous = previous;
        item->next = nullptr;
        if (previous) previous->next = item;
        previous = item;
    }
    (parent ? parent->firstChild : first_) = items[sorted.front()];
    (parent ? parent->lastChild : last_) = items[sorted.back()];
    keys.clear();
    for (ListItem* item : items) SortChildren(item, order);
}

CellValue ListWindow::Cell(const ListItem* item, int column) const {
    if (!item) return {};
    if ((item->flags & kItemText) && (column < 0 || column == FirstVisibleColumn())) return CellValue::Text(item->label);
    if (column < 0 || column >= int(columns_.size())) return CellValue::Text(item->label);
    return model_ ? model_->Cell(item->id, column) : CellValue{};
}

void ListWindow::RowTextColor(const ListItem* item, uint8_t out[3]) {
    // A dimmed row keeps its hue at two thirds of its brightness (at half, orange on
    // the list's dark background falls below a readable contrast); selected, it is
    // drawn at full brightness over a fainter band, so it stays readable there too.
    const bool dimmed = item->Dimmed() && !item->Selected();
    for (int i = 0; i < 3; ++i) out[i] = dimmed ? uint8_t(item->color[i] * 2 / 3) : item->color[i];
}

// ---- Geometry ----

int ListWindow::RowHeight() const {
    const Font* font = GetFont();
    return font ? std::max(1, GetFontHeight(font)) : 16;
}

int ListWindow::HeaderHeight() const { return (listFlags_ & kHeaderRow) ? RowHeight() : 0; }

void ListWindow::UpdateScrollRange() {
    int visibleRows = std::max(1, (Client().Height() - HeaderHeight()) / RowHeight());
    SetScrollRange(kVertical, RowCount(), visibleRows);
    int width = 0;
    for (const Column& c : columns_) width += c.Hidden() ? 0 : c.width;
    if (!columns_.empty()) SetScrollRange(kHorizontal, width, std::max(1, Client().Width()));
}

void ListWindow::OnResize() {
    ScrollableWindow::OnResize();
    UpdateScrollRange();
}

void ListWindow::OnVerticalScroll(int32_t, int32_t) { InvalidateClient(); }

void ListWindow::OnHorizontalScroll(int32_t) { InvalidateClient(); }

void ListWindow::ScrollToItem(const ListItem* item) {
    SyncRows();
    int row = RowOf(item);
    if (row < 0) return;
    int top = Position(kVertical);
    int visible = VisibleSize(kVertical);
    if (row < top) ScrollTo(kVertical, row);
    else if (row >= top + visible) ScrollTo(kVertical, row - visible + 1);
}

Rect ListWindow::CellRect(const ListItem* item, int column) const {
    int row = RowOf(item) - Position(kVertical);
    if (row < 0 || row >= VisibleSize(kVertical)) return {};
    int top = Client().top + HeaderHeight() + row * RowHeight();
    int left = Client().left - Position(kHorizontal);
    int right = Client().right;
    if (column >= 0 && column < int(columns_.size())) {
        const Column& c = columns_[size_t(column)];
        left += c.x;
        right = left + c.width;
    }
    if (column < 0 || column == FirstVisibleColumn()) left += (tree_ ? item->depth : item->depth - 1) * kIndent;
    return {left, top, std::max(left + 1, right), top + RowHeight()};
}

ListWindow::ListItem* ListWindow::ItemAtPoint(Point p) const {
    int y = p.y - Client().top - HeaderHeight();
    if (y < 0) return nullptr;
    return ItemAtRow(Position(kVertical) + y / RowHeight());
}

void ListWindow::SetDropHighlight(ListItem* item) {
    if (dropHighlight_ == item) return;
    dropHighlight_ = item;
    InvalidateClient();
}

// ---- Input ----

void ListWindow::MoveCursor(int row, bool extend) {
    int count = RowCount();
    if (count == 0) return;
    ListItem* target = ItemAtRow(std::clamp(row, 0, count - 1));
    if (extend && (listFlags_ & kMultipleSelection)) {
        SelectRange(anchor_ ? anchor_ : target, target);
        cursor_ = target;
        NotifySelection();
    } else {
        SelectListItem(target, false);
    }
    ScrollToItem(target);
}

bool ListWindow::OnKey(Event& event) {
    SyncRows();
    if (!event.Pressed()) return false;
    const int key = event.Key();
    const int mods = event.Modifiers();
    if (editor_ && key == kKeyEscape) {
        WS().EndModal(editor_, 0);
        return true;
    }
    const int current = cursor_ ? RowOf(cursor_) : -1;
    const int page = std::max(1, VisibleSize(kVertical));
    const bool shift = (mods & kModShift) != 0;
    switch (key) {
    case 'A':
        if (!(mods & kModCtrl)) return false;
        SelectAll();
        return true;
    case kKeyBackspace:
    case kKeyDelete:
        if (!selection_.empty()) deleteRequested.Emit();
        return true;
    case kKeyEnter:
    case kKeyKeypadEnter:
        if (!event.IsRepeat()) ActivateSelection();
        return true;
    case kKeyHome: MoveCursor(0, shift); return true;
    case kKeyEnd: MoveCursor(RowCount() - 1, shift); return true;
    case kKeyPageUp: MoveCursor(current < 0 ? 0 : current - page, shift); return true;
    case kKeyPageDown: MoveCursor(current < 0 ? 0 : current + page, shift); return true;
    case kKeyUp: MoveCursor(current < 0 ? 0 : current - 1, shift); return true;
    case kKeyDown: MoveCursor(current < 0 ? 0 : current + 1, shift); return true;
    case kKeyLeft:
    case kKeypadMinus:
        for (ListItem* item : std::vector<ListItem*>(selection_)) CollapseItem(item);
        return true;
    case kKeyRight:
    case kKeypadPlus:
        for (ListItem* item : std::vector<ListItem*>(selection_)) ExpandItem(item);
        return true;
    default: return false;
    }
}

void ListWindow::HeaderClick(int x) {
    int column = ColumnAtX(x + Position(kHorizontal));
    if (column < 0) return;
    columns_[size_t(column)].flags ^= kColumnDescending;
    SortByColumn(column);
}

void ListWindow::OnMouseButton(Event& event) {
    SyncRows();
    if (!event.ButtonPressed()) {
        // A press on a selection that could have been dragged narrows it on release.
        if (ListItem* item = narrowOnRelease_) {
            narrowOnRelease_ = nullptr;
            SelectListItem(item, false);
            if (listFlags_ & kSingleClickActivates) activated.Emit(item);
        }
        return;
    }
    narrowOnRelease_ = nullptr;
    const Point p = event.Position();
    const int mods = event.Modifiers();
    const bool right = event.Button() == 1;
    pressItem_ = nullptr;
    if ((listFlags_ & kHeaderRow) && p.y < Client().top + HeaderHeight()) {
        if (!right) HeaderClick(p.x - Client().left);
        return;
    }
    ListItem* item = ItemAtPoint(p);
    if (!item) {
        if (!(mods & (kModShift | kModCtrl)) && !(listFlags_ & kKeepSelection)) DeselectAll();
        if (right) contextClick.Emit(p);
        return;
    }
    // A press on the expansion mark toggles the item.
    int markRight = Client().left - Position(kHorizontal) + item->depth * kIndent;
    if (!right && tree_ && item->HasChildren() && p.x >= markRight - kIndent && p.x < markRight) {
        ToggleItem(item);
        return;
    }
    const bool multiple = (listFlags_ & kMultipleSelection) != 0;
    if (multiple && (mods & kModShift)) {
        SelectRange(anchor_ ? anchor_ : item, item);
        NotifySelection();
    } else if (multiple && (mods & kModCtrl)) {
        SetSelected(item, !item->Selected());
        NotifySelection();
    } else if (!right && (listFlags_ & kDragItems) && item->Selected() && selection_.size() > 1) {
        narrowOnRelease_ = item;
    } else if (!(right && item->Selected())) {
        SelectListItem(item, false);
        if (!right && (listFlags_ & kSingleClickActivates)) activated.Emit(item);
    }
    anchor_ = cursor_ = item;
    if (right) {
        contextClick.Emit(p);
    } else if ((listFlags_ & kDragItems) && item->Selected()) {
        pressItem_ = item;
        pressPoint_ = p;
    }
}

void ListWindow::OnDoubleClick(Event& event) {
    SyncRows();
    if (event.Button() != 0 || !event.ButtonPressed()) return;
    if ((listFlags_ & kHeaderRow) && event.Position().y < Client().top + HeaderHeight()) return;
    ListItem* item = ItemAtPoint(event.Position());
    if (!item) return;
    if (item->HasChildren()) ToggleItem(item);
    else activated.Emit(item);
}

void ListWindow::OnMouseMove(Event& event) {
    if (!pressItem_ || !WS().IsButtonDown(0)) {
        pressItem_ = nullptr;
        return;
    }
    Point p = event.Position();
    if (std::abs(p.x - pressPoint_.x) < kDragDistance && std::abs(p.y - pressPoint_.y) < kDragDistance) return;
    pressItem_ = narrowOnRelease_ = nullptr;
    std::vector<RowId> rows;
    for (const ListItem* item : selection_) rows.push_back(item->id);
    if (WS().BeginDrag(this, new ListItemDDData(this, std::move(rows)))) dragStarted.Emit();
}

// ---- In-place editing ----

void ListWindow::OnEditorEnter(int pressed) {
    if (pressed && editor_) WS().EndModal(editor_, 1);
}

bool ListWindow::EditCell(ListItem* item, int column, CommitFunction commit) {
    if (!item || editor_) return false;
    const RowId id = item->id;
    ScrollToItem(item);
    Rect cell = CellRect(item, column);
    if (cell.IsEmpty()) return false;
    bool label = (item->flags & kItemText) && (column < 0 || column == FirstVisibleColumn());
    auto* box = new TextBox(TextBox::kModeTextField, this);
    box->SetName("Cell Editor");
    if (label) box->SetMaxLength(256);
    box->SetFrameXYWH(cell.left - Client().left, cell.top - Client().top, cell.Width(), cell.Height());
    box->SetText(CellText(item, column));
    box->SelectAll();
    box->enter.Connect(this, &ListWindow::OnEditorEnter);
    editor_ = box;
    bool cancelled = false;
    int result = WS().RunModal(box, 0, &cancelled);
    std::string text = box->Text();
    editor_ = nullptr;
    box->Close();
    WS().SetFocus(this, kFocusByProgram);
    if (cancelled || result != 1) return false;
    // The item may have gone while the editor ran (another with its id may be there now).
    if (FindItem(id) != item) return false;
    if (commit) commit(item, column, text);
    else item->label = text;
    InvalidateClient();
    return true;
}

// ---- Drawing ----

void ListWindow::DrawHeader(int width) {
    Skin* skin = WS().GetSkin();
    const int height = HeaderHeight();
    const int scrollX = Position(kHorizontal);
    SetDrawColor(255, 255, 255, 255);  // the header's pieces untinted by the rows' colours
    if (skin) skin->DrawTableHeader({0, 0, width, height}, false);
    for (const Column& c : columns_) {
        if (c.Hidden()) continue;
        Rect r{c.x - scrollX, 0, c.x - scrollX + c.width, height};
        if (r.right <= 0 || r.left >= width) continue;
        int markWidth = 0;
        if (c.priority == 0 && skin) {
            markWidth = skin->PieceWidth(kSkinSortAscending) + 2;
            skin->DrawSortMark({r.right - markWidth - 2, 0, r.right - 2, height}, (c.flags & kColumnDescending) != 0);
        }
        Skin::SetTextColor(false);
        std::string title = Fitted(GetFont(), c.title, c.width - 2 * kCellMargin - markWidth);
        DrawText(title.c_str(), 1, kTextCenterVertically, {r.left + kCellMargin, 0, r.right, height});
        if (skin) skin->DrawHeaderDivider({r.right - 1, 0, r.right + 1, height});
    }
}

void ListWindow::DrawCell(const ListItem* item, int column, const Rect& rect) {
    const CellType type = columns_[size_t(column)].type;
    if (type == CellType::kPicture) {
        if (model_) model_->DrawPicture(item->id, column, rect);
        return;
    }
    const CellValue cell = Cell(item, column);
    Rect textRect = rect;
    if (type == CellType::kColor) {
        // A swatch as high as the text, then the text the model gives for the colour.
        const int side = std::max(1, rect.Height() - 4);
        Rect swatch{rect.left, rect.top + 2, std::min(rect.right, rect.left + side), rect.top + 2 + side};
        SetDrawColor(uint8_t(cell.color >> 24), uint8_t(cell.color >> 16), uint8_t(cell.color >> 8), uint8_t(cell.color));
        Skin::FillRect(swatch);
        textRect.left = swatch.right + kCellMargin;
        uint8_t rgb[3];
        RowTextColor(item, rgb);
        SetDrawColor(rgb[0], rgb[1], rgb[2], 255);
    }
    if (textRect.right <= textRect.left) return;
    std::string text = Fitted(GetFont(), cell.text, textRect.Width());
    if (!text.empty()) DrawText(text.c_str(), 0, kTextCenterVertically, textRect);
}

void ListWindow::DrawRow(const ListItem* item, int y, int width) {
    const int row = RowHeight();
    const int scrollX = Position(kHorizontal);
    Rect band{0, y, width, y + row};
    if (item->Selected()) {
        Skin::SetSelectionColor(IsFocused(), item->Dimmed());
        Skin::FillRect(band);
    }
    if (item == dropHighlight_) {
        SetDrawColor(255, 255, 255, 160);
        Skin::DrawRectOutline(band, 1, false);
    }
    const int indent = (tree_ ? item->depth : item->depth - 1) * kIndent;
    // The row's colour tints its expand mark too, so a dimmed row has a dimmed mark.
    uint8_t rgb[3];
    RowTextColor(item, rgb);
    SetDrawColor(rgb[0], rgb[1], rgb[2], 255);
    Skin* skin = WS().GetSkin();
    if (tree_ && item->HasChildren() && skin) {
        int markLeft = indent - kIndent - scrollX;
        skin->DrawExpandMark({markLeft, y, markLeft + kIndent, y + row}, item->Expanded());
    }
    if (columns_.empty() || (item->flags & kItemSpanning)) {
        std::string text = Fitted(GetFont(), CellText(item, -1), width - indent - kCellMargin);
        DrawText(text.c_str(), 0, kTextCenterVertically, {indent + kCellMargin - scrollX, y, width, y + row});
        return;
    }
    bool first = true;
    for (size_t i = 0; i < columns_.size(); ++i) {
        const Column& c = columns_[i];
        if (c.Hidden()) continue;
        int left = c.x - scrollX + (first ? indent : 0) + kCellMargin;
        int right = c.x - scrollX + c.width - kCellMargin;
        first = false;
        if (right <= 0 || left >= width || right <= left) continue;
        SetDrawColor(rgb[0], rgb[1], rgb[2], 255);
        DrawCell(item, int(i), {left, y, right, y + row});
    }
}

void ListWindow::Draw() {
    SyncRows();
    const int width = Client().Width(), height = Client().Height();
    SetDrawColor(0, 0, 0, 64);
    Skin::FillRect({0, 0, width, height});
    if (!GetFont()) return;
    const int header = HeaderHeight();
    const int row = RowHeight();
    RebuildRows();
    int first = Position(kVertical);
    for (int r = first, y = header; r < int(rows_.size()) && y < height; ++r, y += row) DrawRow(rows_[size_t(r)], y, width);
    if (header) DrawHeader(width);
}

}  // namespace tamber::ui::widgets
