#pragma once
// Rows of items under optional column headers. Items form a tree that expands and
// collapses; they can be selected singly or in groups, sorted by column, edited in
// place and dragged. Only the visible rows are laid out and drawn, so lists of
// hundreds of thousands of items scroll without delay.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ui/widgets/ScrollableWindow.h"

namespace tamber::ui::widgets {

class TextBox;

class ListWindow : public ScrollableWindow {
public:
    enum ListFlag : uint32_t {
        kMultipleSelection = 8,
        kHeaderRow = 32,
        kDragItems = 64,
        kSingleClickActivates = 0x100,
        kKeepSelection = 0x80000000,
    };
    enum ColumnFlag : uint32_t { kColumnHidden = 2, kColumnDescending = 4 };
    enum ItemFlag : uint32_t {
        kItemSelected = 1,
        kItemExpanded = 2,
        kItemText = 8,
        kItemHasChildren = 16,
        kItemGrey = 64,
    };
    static constexpr int kKeypadMinus = 142;
    static constexpr int kKeypadPlus = 143;
    static constexpr int kIndent = 14;
    static constexpr int kCellMargin = 3;
    static constexpr int kDragDistance = 4;

    struct ListItem {
        ListItem* parent = nullptr;
        ListItem* firstChild = nullptr;
        ListItem* lastChild = nullptr;
        ListItem* previous = nullptr;
        ListItem* next = nullptr;
        int32_t childCount = 0;
        int32_t visibleDescendants = 0;
        int32_t depth = 1;
        int32_t row = -1;  // kept by the list while the item is visible
        uint32_t flags = 0;
        uint8_t color[3] = {255, 255, 255};
        void* data = nullptr;
        std::string label;

        bool Selected() const { return (flags & kItemSelected) != 0; }
        bool Expanded() const { return (flags & kItemExpanded) != 0; }
        bool HasChildren() const { return firstChild || (flags & kItemHasChildren); }
    };

    // Formats the field at data + offset with the column's argument.
    using FormatFunction = std::function<std::string(const void* field, int argument)>;
    struct Column {
        std::string title;
        FormatFunction format;
        int argument = 0;
        size_t offset = 0;
        int width = 0;
        int x = 0;
        uint32_t flags = 0;
        int priority = -1;  // 0 sorts first; hidden columns have none
        bool Hidden() const { return (flags & kColumnHidden) != 0; }
    };

    // Carries the dragged items; deleting it clears the list's drop highlight.
    class ListItemDDData : public Window::DragDropData {
    public:
        static constexpr int kType = 0x4C495354;
        ListItemDDData(ListWindow* list, std::vector<ListItem*> items);
        ~ListItemDDData() override;
        ListWindow* List() const { return list_; }
        const std::vector<ListItem*>& Items() const { return items_; }

    private:
        ListWindow* list_;
        std::vector<ListItem*> items_;
    };

    ListWindow(uint32_t listFlags, uint32_t windowStyle, Window* parent);
    ~ListWindow() override;

    const char* GetClassName() const override { return "ListWindow"; }

    int AddColumn(const std::string& title, FormatFunction format, int argument, size_t offset, int width,
                  uint32_t flags);
    const std::vector<Column>& Columns() const { return columns_; }
    void SetColumnHidden(int column, bool hidden);

    ListItem* AddListItem(ListItem* parent, void* data, uint32_t flags, const std::string& label);
    void RemoveListItem(ListItem* item);
    void RemoveAllItems();
    ListItem* FirstItem() const { return first_; }
    int ItemCount() const { return itemCount_; }
    void SetItemGrey(ListItem* item, bool grey);

    void SelectListItem(ListItem* item, bool extend);
    void DeselectAll();
    void SelectAll();
    const std::vector<ListItem*>& Selection() const { return selection_; }
    ListItem* Anchor() const { return anchor_; }
    void ExpandItem(ListItem* item);
    void CollapseItem(ListItem* item);
    void ToggleItem(ListItem* item);

    // The text of a cell: the label for text items in the first visible column, else
    // the owner's format callback, else the column's format function.
    std::string CellText(const ListItem* item, int column) const;
    // Places a one-line text box over the cell and runs it modally; Enter stores the
    // text through commit (or as the label) and Escape leaves the cell as it was.
    // True when the text was committed.
    using CommitFunction = std::function<void(ListItem* item, int column, const std::string& text)>;
    bool EditCell(ListItem* item, int column, CommitFunction commit);
    TextBox* CellEditor() const { return editor_; }

    // Gives the column sort priority 0 (the others move down one) and sorts.
    void SortByColumn(int column);
    // Sorts every parent's children by the visible columns in priority order.
    void Sort();

    // Visible rows, top to bottom (expanded descendants included).
    int RowCount() const;
    ListItem* ItemAtRow(int row) const;
    int RowOf(const ListItem* item) const;
    void ScrollToItem(const ListItem* item);
    int RowHeight() const;
    int HeaderHeight() const;
    // Client rectangle (surface pixels) of a cell of a visible row; empty when scrolled away.
    Rect CellRect(const ListItem* item, int column) const;
    void SetDropHighlight(ListItem* item);
    ListItem* DropHighlight() const { return dropHighlight_; }
    uint32_t ListFlags() const { return listFlags_; }

    // Owner callbacks.
    std::function<std::string(const ListItem* item, int column)> formatCell;
    std::function<bool(ListItem* item)> expandItem;  // false refuses the expansion
    std::function<void()> selectionChangedCallback;

    Signal1<ListItem*> activated;
    Signal0 selectionChanged;
    Signal0 deleteRequested;
    Signal1<Point> contextClick;
    Signal0 dragStarted;

    bool OnKey(Event& event) override;
    void OnMouseButton(Event& event) override;
    void OnDoubleClick(Event& event) override;
    void OnMouseMove(Event& event) override;
    void OnResize() override;
    void Idle() override;
    void Draw() override;
    void OnVerticalScroll(int32_t newPosition, int32_t oldPosition) override;
    void OnHorizontalScroll(int32_t newPosition) override;

private:
    void LinkItem(ListItem* item, ListItem* parent);
    void UnlinkItem(ListItem* item);
    void DeleteTree(ListItem* item);
    void ForgetSelected(ListItem* item);
    void StructureChanged();
    void SyncRows();
    void RebuildRows() const;
    void LayoutColumns();
    void UpdateScrollRange();
    void NotifySelection();
    void SetSelected(ListItem* item, bool selected);
    void SelectRange(ListItem* from, ListItem* to);
    void MoveCursor(int row, bool extend);
    void ActivateSelection();
    void HeaderClick(int x);
    int ColumnAtX(int x) const;
    int FirstVisibleColumn() const;
    ListItem* ItemAtPoint(Point surface) const;
    void SortChildren(ListItem* parent, const std::vector<int>& order);
    void DrawHeader(int width);
    void DrawRow(const ListItem* item, int y, int width);
    void OnEditorEnter(int pressed);

    uint32_t listFlags_;
    std::vector<Column> columns_;
    ListItem* first_ = nullptr;
    ListItem* last_ = nullptr;
    int itemCount_ = 0;
    std::vector<ListItem*> selection_;
    ListItem* anchor_ = nullptr;
    ListItem* cursor_ = nullptr;
    ListItem* dropHighlight_ = nullptr;
    ListItem* pressItem_ = nullptr;
    ListItem* narrowOnRelease_ = nullptr;
    Point pressPoint_;
    TextBox* editor_ = nullptr;
    bool tree_ = false;
    // The visible rows, rebuilt lazily after a structural change.
    mutable std::vector<ListItem*> rows_;
    mutable bool rowsDirty_ = true;
    bool rangeDirty_ = true;
};

}  // namespace tamber::ui::widgets
