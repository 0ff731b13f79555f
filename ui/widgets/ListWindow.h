#pragma once
// Rows of items under optional column headers. Items form a tree that expands and
// collapses; they can be selected singly or in groups, sorted by column, edited in
// place and dragged. Each item is named by a row id; its cells come from the list's
// model, typed by column. Only the visible rows are laid out and drawn, so lists
// of hundreds of thousands of items scroll without delay.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "ui/widgets/ListModel.h"
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
        // Drawn at two thirds of its brightness (at full brightness on a fainter band while selected).
        kItemDimmed = 64,
        // The label spans the whole row instead of the cells; such rows sort by label
        // before their siblings (the group rows of a tree).
        kItemSpanning = 128,
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
        uint8_t color[3] = {255, 255, 255};  // the text colour before dimming
        RowId id = 0;
        std::string label;

        bool Selected() const { return (flags & kItemSelected) != 0; }
        bool Dimmed() const { return (flags & kItemDimmed) != 0; }
        bool Expanded() const { return (flags & kItemExpanded) != 0; }
        bool HasChildren() const { return firstChild || (flags & kItemHasChildren); }
    };

    struct Column {
        std::string title;
        CellType type = CellType::kText;
        int width = 0;
        int x = 0;
        uint32_t flags = 0;
        int priority = -1;  // 0 sorts first; hidden columns have none
        bool Hidden() const { return (flags & kColumnHidden) != 0; }
    };

    // Carries the ids of the dragged rows; deleting it clears the list's drop highlight.
    class ListItemDDData : public Window::DragDropData {
    public:
        static constexpr int kType = 0x4C495354;
        ListItemDDData(ListWindow* list, std::vector<RowId> rows);
        ~ListItemDDData() override;
        ListWindow* List() const { return list_; }
        const std::vector<RowId>& Rows() const { return rows_; }

    private:
        ListWindow* list_;
        std::vector<RowId> rows_;
    };

    ListWindow(uint32_t listFlags, uint32_t windowStyle, Window* parent);
    ~ListWindow() override;

    const char* GetClassName() const override { return "ListWindow"; }

    // The model is the owner's and must outlive the list (or be replaced first).
    void SetModel(const ListModel* model);
    const ListModel* Model() const { return model_; }
    int AddColumn(const std::string& title, CellType type, int width, uint32_t flags = 0);
    const std::vector<Column>& Columns() const { return columns_; }
    void SetColumnHidden(int column, bool hidden);
    // The width the columns take side by side.
    int ColumnsWidth() const;
    // How much wider the list must be to show every column.
    int MissingColumnsWidth() const;

    // Ids are unique within the list. An item whose id was expanded before comes
    // back expanded.
    ListItem* AddListItem(ListItem* parent, RowId id, uint32_t flags, const std::string& label);
    void RemoveListItem(ListItem* item);
    void RemoveAllItems();
    // Empties the list and lets fill add the items again; the selection, the anchor,
    // the expanded rows and the scroll position are kept for the ids that return.
    void Refill(const std::function<void()>& fill);
    ListItem* FindItem(RowId id) const;
    ListItem* FirstItem() const { return first_; }
    int ItemCount() const { return int(items_.size()); }
    void SetItemDimmed(ListItem* item, bool dimmed);
    void SetItemColor(ListItem* item, const uint8_t rgb[3]);

    void SelectListItem(ListItem* item, bool extend);
    void DeselectAll();
    void SelectAll();
    const std::vector<ListItem*>& Selection() const { return selection_; }
    ListItem* Anchor() const { return anchor_; }
    void ExpandItem(ListItem* item);
    void CollapseItem(ListItem* item);
    void ToggleItem(ListItem* item);

    // A cell: the label for text items in the first visible column (or column -1),
    // else the model's value.
    CellValue Cell(const ListItem* item, int column) const;
    std::string CellText(const ListItem* item, int column) const { return Cell(item, column).text; }
    // The colour a row's text is drawn in.
    static void RowTextColor(const ListItem* item, uint8_t out[3]);
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

    // Owner callback; false refuses the expansion.
    std::function<bool(ListItem* item)> expandItem;

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
    void SetExpanded(ListItem* item, bool expanded);
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
    int TitleWidth(const std::string& title) const;
    ListItem* ItemAtPoint(Point surface) const;
    void SortChildren(ListItem* parent, const std::vector<int>& order);
    void DrawCell(const ListItem* item, int column, const Rect& rect);
    void DrawHeader(int width);
    void DrawRow(const ListItem* item, int y, int width);
    void OnEditorEnter(int pressed);

    uint32_t listFlags_;
    const ListModel* model_ = nullptr;
    std::vector<Column> columns_;
    // Owns the items; the tree links between them are plain pointers.
    std::unordered_map<RowId, std::unique_ptr<ListItem>> items_;
    // Ids of the items the user or the owner expanded, kept while they are away.
    std::unordered_set<RowId> expanded_;
    ListItem* first_ = nullptr;
    ListItem* last_ = nullptr;
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
