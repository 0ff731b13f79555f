// List windows: keys, Shift and Ctrl selection, typed sorting, trees, refills, in-place editing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/OsDriver.h"
#include "tests/ui/support/UiTestDriver.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/ListWindow.h"
#include "ui/widgets/TextBox.h"

using namespace tamber::platform;
using namespace tamber::ui;
using namespace tamber::ui::widgets;

namespace {

using Item = ListWindow::ListItem;

struct Row {
    std::string name;
    int size;
    int kind;
};

// A row's id is its index: name (text), size and kind (numbers).
struct RowsModel : ListModel {
    explicit RowsModel(std::vector<Row> rows) : rows(std::move(rows)) {}
    CellValue Cell(RowId id, int column) const override {
        const Row& row = rows.at(id);
        if (column == 0) return CellValue::Text(row.name);
        return CellValue::Integer(column == 1 ? row.size : row.kind);
    }
    std::vector<Row> rows;
};

// Records the list's signals; double clicks edit the cell under the mouse.
struct EditingList : ListWindow {
    EditingList(uint32_t flags, Window* parent) : ListWindow(flags, kStyleVisible, parent) {
        activated.Connect(this, &EditingList::OnActivated);
        deleteRequested.Connect(this, &EditingList::OnDelete);
    }
    void OnActivated(Item* item) { activations.push_back(item); }
    void OnDelete() { ++deletes; }
    void OnDoubleClick(Event& event) override {
        if (!editOnDoubleClick) return ListWindow::OnDoubleClick(event);
        int row = Position(kVertical) + (event.Position().y - Client().top - HeaderHeight()) / RowHeight();
        committed = EditCell(ItemAtRow(row), editColumn, commit);
    }
    std::vector<Item*> activations;
    int deletes = 0;
    bool editOnDoubleClick = false;
    int editColumn = 0;
    CommitFunction commit;
    bool committed = false;
};

Point RowPoint(const ListWindow* list, int row) {
    return {list->Client().left + 40, list->Client().top + list->HeaderHeight() + row * list->RowHeight() + 4};
}

std::vector<std::string> Labels(const ListWindow* list) {
    std::vector<std::string> labels;
    for (int r = 0; r < list->RowCount(); ++r) labels.push_back(list->ItemAtRow(r)->label);
    return labels;
}

std::vector<Item*> Selected(const ListWindow* list) {
    std::vector<Item*> items;
    for (int r = 0; r < list->RowCount(); ++r)
        if (list->ItemAtRow(r)->Selected()) items.push_back(list->ItemAtRow(r));
    return items;
}

}  // namespace

TEST(ListWindow, KeysAndShiftCtrlSelection) {
    UiTestDriver ui({.pixels = false});
    ASSERT_TRUE(ui.Ready());
    ui.Run([](UiTestDriver& ui) {
        auto* list = new EditingList(ListWindow::kMultipleSelection, nullptr);
        list->SetFrameXYWH(10, 10, 300, 100);
        std::vector<Item*> items;
        for (int i = 0; i < 20; ++i) items.push_back(list->AddListItem(nullptr, RowId(i), ListWindow::kItemText, "item" + std::to_string(i)));
        ui.click(RowPoint(list, 2));
        EXPECT_EQ(Selected(list), std::vector<Item*>{items[2]});
        OsCurrentCallbacks().key(kKeyLeftShift, 1);
        ui.click(RowPoint(list, 5));
        OsCurrentCallbacks().key(kKeyLeftShift, 0);
        EXPECT_EQ(Selected(list), (std::vector<Item*>{items[2], items[3], items[4], items[5]}));
        OsCurrentCallbacks().key(kKeyLeftCtrl, 1);
        ui.wait(1);
        ui.click(RowPoint(list, 3));
        OsCurrentCallbacks().key(kKeyLeftCtrl, 0);
        EXPECT_EQ(Selected(list), (std::vector<Item*>{items[2], items[4], items[5]}));
        EXPECT_EQ(list->Anchor(), items[3]);

        // Arrows move from the last clicked item; Shift extends from it.
        ui.key(kKeyDown);
        EXPECT_EQ(Selected(list), std::vector<Item*>{items[4]});
        ui.key(kKeyDown, kModShift);
        ui.key(kKeyDown, kModShift);
        EXPECT_EQ(Selected(list), (std::vector<Item*>{items[4], items[5], items[6]}));
        ui.key(kKeyEnd);
        EXPECT_EQ(Selected(list), std::vector<Item*>{items[19]});
        EXPECT_EQ(list->Position(ScrollableWindow::kVertical), 20 - list->VisibleSize(ScrollableWindow::kVertical));
        ui.key(kKeyPageUp);
        EXPECT_EQ(Selected(list), std::vector<Item*>{items[19 - list->VisibleSize(ScrollableWindow::kVertical)]});
        ui.key(kKeyHome);
        EXPECT_EQ(list->Position(ScrollableWindow::kVertical), 0);
        ui.key('A', kModCtrl);
        EXPECT_EQ(list->Selection().size(), 20u);
        ui.key(kKeyDelete);
        EXPECT_EQ(list->deletes, 1);
        // Enter activates every selected item without children.
        ui.key(kKeyEnter);
        EXPECT_EQ(list->activations.size(), 20u);
        // A click on empty space clears the selection.
        list->RemoveListItem(items[19]);
        for (int i = 10; i < 19; ++i) list->RemoveListItem(items[size_t(i)]);
        EXPECT_EQ(list->RowCount(), 10);
        EXPECT_EQ(list->Selection().size(), 10u);
        list->SetFrameXYWH(10, 10, 300, 300);
        ui.wait(1);
        ui.click(RowPoint(list, 5));
        ui.wait(1);
        ui.click({list->Client().left + 5, list->Client().bottom - 2});
        EXPECT_TRUE(list->Selection().empty());

        // Without multiple selection, Shift+click selects only the clicked item.
        auto* single = new EditingList(0, nullptr);
        single->SetFrameXYWH(400, 10, 200, 200);
        for (int i = 0; i < 5; ++i) single->AddListItem(nullptr, RowId(i), ListWindow::kItemText, "s" + std::to_string(i));
        ui.wait(1);
        ui.click(RowPoint(single, 1));
        OsCurrentCallbacks().key(kKeyLeftShift, 1);
        ui.wait(1);
        ui.click(RowPoint(single, 3));
        ui.key(kKeyDown);
        OsCurrentCallbacks().key(kKeyLeftShift, 0);
        EXPECT_EQ(Selected(single), std::vector<Item*>{single->ItemAtRow(4)});
    });
}

TEST(ListWindow, HeaderClickSortingPriorities) {
    UiTestDriver ui({.pixels = false});
    ASSERT_TRUE(ui.Ready());
    RowsModel model({{"beta", 10, 1}, {"Alpha", 9, 2}, {"gamma", 10, 2}, {"delta", 100, 1}});
    ui.Run([&](UiTestDriver& ui) {
        auto* list = new EditingList(ListWindow::kHeaderRow, nullptr);
        list->SetFrameXYWH(10, 10, 400, 200);
        list->SetModel(&model);
        list->AddColumn("Name", CellType::kText, 100);
        list->AddColumn("Size", CellType::kNumber, 100);
        list->AddColumn("Kind", CellType::kNumber, 100);
        for (size_t i = 0; i < model.rows.size(); ++i) list->AddListItem(nullptr, RowId(i), 0, model.rows[i].name);
        auto header = [&](int column) {
            return Point{list->Client().left + list->Columns()[size_t(column)].x + 50, list->Client().top + 4};
        };
        auto priorities = [&] {
            std::vector<int> p;
            for (const auto& c : list->Columns()) p.push_back(c.priority);
            return p;
        };
        EXPECT_EQ(priorities(), (std::vector<int>{0, 1, 2}));
        // Size goes first, descending (the click toggles its direction); Name breaks the tie.
        ui.click(header(1));
        EXPECT_EQ(priorities(), (std::vector<int>{1, 0, 2}));
        EXPECT_EQ(Labels(list), (std::vector<std::string>{"delta", "beta", "gamma", "Alpha"}));
        // The first column again only reverses the order.
        ui.wait(1);
        ui.click(header(1));
        EXPECT_EQ(priorities(), (std::vector<int>{1, 0, 2}));
        EXPECT_EQ(Labels(list), (std::vector<std::string>{"Alpha", "beta", "gamma", "delta"}));
        // Kind moves to the front; the others keep their order behind it.
        ui.wait(1);
        ui.click(header(2));
        EXPECT_EQ(priorities(), (std::vector<int>{2, 1, 0}));
        EXPECT_EQ(Labels(list), (std::vector<std::string>{"Alpha", "gamma", "beta", "delta"}));
        // Numbers compare by value, names without regard to case.
        ui.wait(1);
        ui.click(header(0));
        ui.wait(1);
        ui.click(header(0));
        EXPECT_EQ(priorities(), (std::vector<int>{0, 2, 1}));
        EXPECT_EQ(Labels(list), (std::vector<std::string>{"Alpha", "beta", "delta", "gamma"}));

        // A hidden column leaves the order; a column added later goes after the last visible one.
        list->SetColumnHidden(1, true);
        EXPECT_EQ(priorities(), (std::vector<int>{0, -1, 1}));
        list->AddColumn("Extra", CellType::kNumber, 50);
        EXPECT_EQ(list->Columns()[3].title, "Extra");
        EXPECT_EQ(list->Columns()[3].priority, 2);
    });
}

TEST(ListWindow, TypedColumnsSortByValue) {
    UiTestDriver ui({.pixels = false});
    ASSERT_TRUE(ui.Ready());
    // Shown texts that sort wrongly as text: "0x100" after "0x20", "-5" after "-40".
    struct Typed : ListModel {
        CellValue Cell(RowId id, int column) const override {
            static const int64_t values[] = {0x20, 0x100, -5, -40};
            static const uint32_t colors[] = {0x00FF00FF, 0xFF000080, 0x0000FFFF, 0xFF0000FF};
            char hex[16];
            std::snprintf(hex, sizeof hex, "0x%llx", (long long)values[id]);
            if (column == 0) return CellValue::Number(double(values[id]), values[id] < 0 ? std::to_string(values[id]) : hex);
            return CellValue::Color(colors[id], "");
        }
    } model;
    ui.Run([&](UiTestDriver&) {
        auto* list = new ListWindow(ListWindow::kHeaderRow, kStyleVisible, nullptr);
        list->SetFrameXYWH(10, 10, 300, 200);
        list->SetModel(&model);
        list->AddColumn("Value", CellType::kNumber, 100);
        list->AddColumn("Colour", CellType::kColor, 100);
        for (RowId id = 0; id < 4; ++id) list->AddListItem(nullptr, id, 0, "");
        auto order = [&] {
            std::vector<RowId> ids;
            for (int r = 0; r < list->RowCount(); ++r) ids.push_back(list->ItemAtRow(r)->id);
            return ids;
        };
        list->SortByColumn(0);
        EXPECT_EQ(order(), (std::vector<RowId>{3, 2, 0, 1}));
        list->SortByColumn(1);
        EXPECT_EQ(order(), (std::vector<RowId>{2, 0, 1, 3}));
        // A title wider than the asked width widens its column instead of being clipped.
        list->AddColumn("A title much wider than its column", CellType::kText, 20);
        if (list->GetFont()) EXPECT_GT(list->Columns().back().width, 100);
    });
}

TEST(ListWindow, RefillKeepsSelectionExpansionAndScroll) {
    UiTestDriver ui({.pixels = false});
    ASSERT_TRUE(ui.Ready());
    ui.Run([](UiTestDriver& ui) {
        struct Counter : Window {
            Counter() : Window(0, nullptr) {}
            void OnSelection() { ++count; }
            int count = 0;
        };
        auto* counter = new Counter;
        auto* list = new ListWindow(ListWindow::kMultipleSelection, kStyleVisible, nullptr);
        list->SetFrameXYWH(10, 10, 300, 100);
        list->selectionChanged.Connect(counter, &Counter::OnSelection);
        // Groups 1000 and 2000 with children; `skip` leaves ids out, `extra` adds new ones first.
        auto fill = [&](std::vector<RowId> skip, std::vector<RowId> extra) {
            list->Refill([&] {
                for (RowId id : extra) list->AddListItem(nullptr, id, ListWindow::kItemText, "new");
                for (RowId group : {RowId(1000), RowId(2000)}) {
                    if (std::find(skip.begin(), skip.end(), group) != skip.end()) continue;
                    Item* parent = list->AddListItem(nullptr, group, ListWindow::kItemText, std::to_string(group));
                    for (RowId i = 1; i <= 20; ++i) {
                        if (std::find(skip.begin(), skip.end(), group + i) == skip.end()) {
                            list->AddListItem(parent, group + i, ListWindow::kItemText, std::to_string(group + i));
                        }
                    }
                }
            });
        };
        fill({}, {});
        list->ExpandItem(list->FindItem(1000));
        list->SelectListItem(list->FindItem(1005), false);
        list->SelectListItem(list->FindItem(1012), true);
        ui.step();
        list->ScrollTo(ScrollableWindow::kVertical, 10);
        ASSERT_EQ(list->Position(ScrollableWindow::kVertical), 10);
        const Item* top = list->ItemAtRow(10);
        ASSERT_NE(top, nullptr);
        const RowId topId = top->id;
        const int notified = counter->count;

        // Everything comes back: the same ids selected, 1000 expanded, the same row on top, no signal.
        fill({}, {});
        EXPECT_TRUE(list->FindItem(1000)->Expanded());
        ASSERT_EQ(list->Selection().size(), 2u);
        EXPECT_TRUE(list->FindItem(1005)->Selected() && list->FindItem(1012)->Selected());
        EXPECT_EQ(list->ItemAtRow(list->Position(ScrollableWindow::kVertical))->id, topId);
        EXPECT_EQ(counter->count, notified);
        // Rows added before it push the top row down; the view follows it.
        fill({}, {1, 2, 3});
        EXPECT_EQ(list->ItemAtRow(list->Position(ScrollableWindow::kVertical))->id, topId);
        // A selected row that goes leaves the selection, which is announced.
        fill({1012}, {});
        EXPECT_EQ(list->Selection().size(), 1u);
        EXPECT_EQ(counter->count, notified + 1);
        // A group that is away for a refill comes back expanded; the cursor keys go on from the anchor.
        fill({1000}, {});
        EXPECT_EQ(list->FindItem(1005), nullptr);
        fill({}, {});
        EXPECT_TRUE(list->FindItem(1000)->Expanded());
        EXPECT_FALSE(list->FindItem(2000)->Expanded());
        list->SelectListItem(list->FindItem(1007), false);
        fill({}, {});
        WS().SetFocus(list, kFocusByProgram);
        ui.key(kKeyDown);
        EXPECT_EQ(list->Selection().front()->id, 1008u);
    });
}

TEST(ListWindow, TreeItemsAndEnter) {
    UiTestDriver ui({.pixels = false});
    ASSERT_TRUE(ui.Ready());
    ui.Run([](UiTestDriver& ui) {
        auto* list = new EditingList(ListWindow::kMultipleSelection, nullptr);
        list->SetFrameXYWH(10, 10, 300, 300);
        Item* parent = list->AddListItem(nullptr, 1, ListWindow::kItemText, "parent");
        Item* a = list->AddListItem(parent, 2, ListWindow::kItemText, "a");
        list->AddListItem(parent, 3, ListWindow::kItemText, "b");
        Item* other = list->AddListItem(nullptr, 4, ListWindow::kItemText | ListWindow::kItemExpanded, "other");
        Item* c = list->AddListItem(other, 5, ListWindow::kItemText, "c");
        EXPECT_EQ(Labels(list), (std::vector<std::string>{"parent", "other", "c"}));
        EXPECT_EQ(c->depth, 2);

        list->SelectListItem(parent, false);
        WS().SetFocus(list, kFocusByProgram);
        ui.key(kKeyEnter);
        EXPECT_TRUE(list->activations.empty());
        EXPECT_EQ(Labels(list), (std::vector<std::string>{"parent", "a", "b", "other", "c"}));
        EXPECT_EQ(parent->visibleDescendants, 2);
        list->SelectListItem(a, false);
        ui.key(kKeyEnter);
        EXPECT_EQ(list->activations, std::vector<Item*>{a});

        // Collapsing hides the selected child and moves the selection off it.
        list->SelectListItem(parent, false);
        ui.key(kKeyLeft);
        EXPECT_EQ(list->RowCount(), 3);
        ui.key(ListWindow::kKeypadPlus);
        EXPECT_EQ(list->RowCount(), 5);
        list->SelectListItem(a, false);
        list->CollapseItem(parent);
        EXPECT_TRUE(list->Selection().empty());
        // The owner may refuse an expansion.
        list->expandItem = [&](Item* item) { return item != parent; };
        list->ExpandItem(parent);
        EXPECT_EQ(list->RowCount(), 3);
        list->expandItem = nullptr;
        // A double click toggles an item with children and activates any other.
        ui.doubleClick(RowPoint(list, 0));
        EXPECT_EQ(list->RowCount(), 5);
        ui.wait(1);
        ui.doubleClick(RowPoint(list, 4));
        EXPECT_EQ(list->activations.back(), c);
        list->RemoveAllItems();
        EXPECT_EQ(list->RowCount(), 0);
        EXPECT_EQ(list->ItemCount(), 0);
    });
}

TEST(ListWindow, DraggingSelectedItems) {
    UiTestDriver ui({.pixels = false});
    ASSERT_TRUE(ui.Ready());
    ui.Run([](UiTestDriver& ui) {
        struct DropTarget : Window {
            DropTarget() : Window(kStyleVisible, nullptr) {}
            bool OnDragOver(Point, int phase, DragDropData* data) override {
                if (data->Type() != ListWindow::ListItemDDData::kType) return false;
                auto* items = static_cast<ListWindow::ListItemDDData*>(data);
                if (phase == 0) dropped = items->Rows().size();
                return true;
            }
            size_t dropped = 0;
        };
        auto* list = new ListWindow(ListWindow::kMultipleSelection | ListWindow::kDragItems, kStyleVisible, nullptr);
        list->SetFrameXYWH(10, 10, 200, 200);
        struct Counter : Window {
            Counter() : Window(0, nullptr) {}
            void OnDrag() { ++count; }
            int count = 0;
        };
        auto* counter = new Counter;
        list->dragStarted.Connect(counter, &Counter::OnDrag);
        for (int i = 0; i < 5; ++i) list->AddListItem(nullptr, RowId(i), ListWindow::kItemText, "d" + std::to_string(i));
        auto* target = new DropTarget;
        target->SetFrameXYWH(300, 10, 200, 200);
        list->SelectListItem(list->ItemAtRow(1), false);
        list->SelectListItem(list->ItemAtRow(2), true);
        // A press on the selection keeps it, so moving away drags both items.
        ui.drag(RowPoint(list, 2), UiTestDriver::center(target));
        EXPECT_EQ(counter->count, 1);
        EXPECT_EQ(target->dropped, 2u);
        EXPECT_EQ(list->Selection().size(), 2u);
        EXPECT_EQ(list->DropHighlight(), nullptr);
        // Small movements are clicks, not drags; the release leaves the clicked item alone selected.
        ui.wait(1);
        ui.drag(RowPoint(list, 1), {RowPoint(list, 1).x + 2, RowPoint(list, 1).y + 1});
        EXPECT_EQ(Selected(list), std::vector<Item*>{list->ItemAtRow(1)});
        // An unselected item is picked and dragged alone.
        ui.wait(1);
        ui.drag(RowPoint(list, 3), UiTestDriver::center(target));
        EXPECT_EQ(target->dropped, 1u);
        EXPECT_EQ(counter->count, 2);
    });
}

TEST(ListWindow, InPlaceEditCommit) {
    UiTestDriver ui({.pixels = false});
    ASSERT_TRUE(ui.Ready());
    RowsModel model({{"one", 1, 0}, {"two", 2, 0}});
    ui.Run([&](UiTestDriver& ui) {
        auto* list = new EditingList(ListWindow::kHeaderRow, nullptr);
        list->SetFrameXYWH(10, 10, 300, 200);
        list->SetModel(&model);
        list->AddColumn("Name", CellType::kText, 100);
        list->AddColumn("Size", CellType::kNumber, 100);
        Item* first = list->AddListItem(nullptr, 0, ListWindow::kItemText, "one");
        Item* second = list->AddListItem(nullptr, 1, ListWindow::kItemText, "two");
        list->editOnDoubleClick = true;

        // The label of a text item: Enter commits.
        ui.doubleClick(RowPoint(list, 0));
        TextBox* editor = list->CellEditor();
        ASSERT_NE(editor, nullptr);
        EXPECT_TRUE(editor->IsFocused());
        EXPECT_EQ(editor->Text(), "one");
        EXPECT_EQ(editor->MaxLength(), 256);
        ui.type("uno\n");
        ui.step(2);  // the modal run returns to the list's handler
        EXPECT_TRUE(list->committed);
        EXPECT_EQ(first->label, "uno");
        EXPECT_EQ(list->CellEditor(), nullptr);
        EXPECT_EQ(WS().ModalDepth(), 0u);
        ui.step(2);
        EXPECT_EQ(list->ChildCount(), 0);

        // Escape leaves the cell as it was.
        ui.wait(1);
        ui.doubleClick(RowPoint(list, 1));
        ASSERT_NE(list->CellEditor(), nullptr);
        ui.type("zwei");
        ui.key(kKeyEscape);
        ui.step(2);
        EXPECT_FALSE(list->committed);
        EXPECT_EQ(second->label, "two");

        // Another column goes through the commit callback.
        list->editColumn = 1;
        list->commit = [&](Item* item, int column, const std::string& text) {
            model.rows.at(item->id).size = std::stoi(text) * (column == 1 ? 1 : -1);
        };
        ui.wait(1);
        ui.doubleClick(RowPoint(list, 1));
        ASSERT_NE(list->CellEditor(), nullptr);
        EXPECT_EQ(list->CellEditor()->Text(), "2");
        ui.type("42\n");
        ui.step(2);
        EXPECT_EQ(model.rows[1].size, 42);
        EXPECT_EQ(list->CellText(second, 1), "42");
    });
}

TEST(ListWindow, EveryRowColourReadsOnBothBackgrounds) {
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([](UiTestDriver& ui) {
        // The colours rows take (white, loose orange), plain and dimmed, each unselected
        // and selected, in a list that holds the focus and in one that does not.
        const uint8_t colours[2][3] = {{255, 255, 255}, {255, 144, 0}};
        auto* panel = new Window(kStyleVisible | kStylePanelB, nullptr);
        panel->SetFrameXYWH(0, 0, 700, 300);
        std::vector<ListWindow*> lists;
        for (int l = 0; l < 2; ++l) {
            auto* list = new ListWindow(ListWindow::kMultipleSelection, kStyleControl, panel);
            list->SetFrameXYWH(10 + 340 * l, 10, 320, 280);
            for (RowId id = 0; id < 8; ++id) {
                Item* item = list->AddListItem(nullptr, id, ListWindow::kItemText, "WWWWWWWW");
                list->SetItemColor(item, colours[id / 4]);
                list->SetItemDimmed(item, (id / 2) % 2 == 1);
                if (id % 2) list->SelectListItem(item, true);
            }
            lists.push_back(list);
        }
        WS().SetFocus(lists[0], kFocusByProgram);
        std::vector<uint8_t> rgba = ui.pixels();
        ASSERT_FALSE(rgba.empty());
        const int width = WS().SurfaceWidth();
        auto luminance = [](const uint8_t* p) {
            auto linear = [](uint8_t c) {
                double v = c / 255.0;
                return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
            };
            return 0.2126 * linear(p[0]) + 0.7152 * linear(p[1]) + 0.0722 * linear(p[2]);
        };
        for (ListWindow* list : lists) {
            for (int r = 0; r < list->RowCount(); ++r) {
                SCOPED_TRACE("list " + std::to_string(list == lists[0]) + " row " + std::to_string(r));
                const int y = list->Client().top + r * list->RowHeight() + list->RowHeight() / 2;
                // The band's colour right of the text, and the text pixel that stands out most.
                const uint8_t* band = &rgba[(size_t(y) * size_t(width) + size_t(list->Client().right - 30)) * 4];
                const double background = luminance(band);
                double best = 1.0;
                for (int x = list->Client().left; x < list->Client().left + 120; ++x) {
                    for (int dy = -3; dy <= 3; ++dy) {
                        const double text = luminance(&rgba[(size_t(y + dy) * size_t(width) + size_t(x)) * 4]);
                        const double ratio = (std::max(text, background) + 0.05) / (std::min(text, background) + 0.05);
                        best = std::max(best, ratio);
                    }
                }
                EXPECT_GE(best, 3.0);
            }
        }
        ui.screenshot("list-row-colours.ppm");
    });
}
