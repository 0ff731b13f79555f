#pragma once
// Menu bars and pop-up menus. A menu holds MenuItem windows; an item with items of
// its own opens a submenu (a pop-up that is a child of the item, so that a whole
// open menu tree lies inside the window that runs modally). Choosing an item ends
// the menu run with it, or, outside a run, emits the root menu's chosen signal.
#include <cstdint>
#include <vector>

#include "ui/Signal.h"
#include "ui/Window.h"
#include "ui/widgets/PopupRun.h"

namespace tamber::ui::widgets {

class MenuItem;

class Menu : public Window {
public:
    // A bar ("Menu Bar") or a pop-up ("Popup Menu", focusable, shadow), in the upper layer.
    explicit Menu(bool isBar);
    // The submenu of an item.
    explicit Menu(MenuItem* owner);

    // Menus and items report one class name: a menu is the window that holds items.
    const char* GetClassName() const override { return "MenuItem"; }

    bool IsBar() const { return isBar_; }
    Menu* Root() const { return root_; }
    MenuItem* Owner() const { return owner_; }
    MenuItem* OpenItem() const { return openItem_; }
    MenuItem* HighlightedItem() const { return highlighted_; }
    const std::vector<MenuItem*>& Items() const { return items_; }
    // Whether this root menu is in its modal run.
    bool IsRunning() const { return running_; }

    void SetHighlight(MenuItem* item);
    // Opens or closes the submenu of one of this menu's items.
    void SetSubmenuOpen(MenuItem* item, bool open);
    // Sizes the menu and places its items.
    void Relayout();
    // A press on an item (mouse or Enter): opens or closes its submenu, or chooses it.
    void PressItem(MenuItem* item);
    // The mouse moved over an item: highlight it and, in an open tree, open its submenu.
    void HoverItem(MenuItem* item);
    // Runs a bar's menu tree modally once a submenu is open; emits chosen afterwards.
    void RunBar();
    // Runs a pop-up modally; the chosen item or null.
    MenuItem* RunPopup();

    void Draw() override;
    bool OnKey(Event& event) override;
    void OnChar(Event& event) override;
    void OnMouseButton(Event& event) override;
    void OnChildAdded(Window* child) override;
    void OnChildRemoved(Window* child) override;

    Signal1<MenuItem*> chosen;
    // Emitted on the root menu just before an item's submenu opens.
    Signal1<MenuItem*> opening;
    Signal1<MenuItem*> highlight;

private:
    friend MenuItem* AddMenuItem(Menu* menu, const char* label, MenuItem* parentItem, int32_t commandId, bool enabled);

    void RunModally();
    // Ends the run with the item (or null); the root only.
    void EndRun(MenuItem* item);
    // The deepest open menu of the tree: where keys act.
    Menu* ActiveMenu();
    void MoveHighlight(int step);
    // Highlights the next item after the highlighted one whose label starts with c.
    bool FindByLetter(int c);
    // Closes every submenu and forgets the highlight, down the tree.
    void CloseTree();
    bool PointInOpenTree(Point p) const;

    bool isBar_;
    Menu* root_;
    MenuItem* owner_ = nullptr;
    MenuItem* openItem_ = nullptr;
    MenuItem* highlighted_ = nullptr;
    std::vector<MenuItem*> items_;
    bool running_ = false;
    MenuItem* runResult_ = nullptr;
    PopupRun run_;
};

// Creates an item in the menu, or in the submenu of parentItem, and relayouts.
MenuItem* AddMenuItem(Menu* menu, const char* label, MenuItem* parentItem, int32_t commandId, bool enabled);
MenuItem* AddSeparator(Menu* menu, MenuItem* parentItem);
// Shows the pop-up at a point (placed where most of it stays on the surface) and runs
// it; the chosen item's command id, or -1.
int PopupMenu(Menu* menu, Point point);
void OpenSubmenu(MenuItem* item, bool open);
// Where a rectangle of the given size goes beside an anchor (a point is an empty
// anchor): below-right, below-left, above-right, above-left, whichever keeps the
// largest area on the surface (the first on a tie). Surface pixels.
Rect PlaceBeside(const Rect& anchor, int width, int height, const Rect& surface);

}  // namespace tamber::ui::widgets
