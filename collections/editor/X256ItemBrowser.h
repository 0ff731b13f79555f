#pragma once
// What the "Sequences" and "Hue Changes" pages share: a list of named items with
// New, Rename, Duplicate and Delete in its context menu, opening an item's window
// when it is activated, and the delete question with its "currently open" refusal.
#include <functional>
#include <string>
#include <vector>

#include "ui/Window.h"
#include "ui/widgets/ListWindow.h"
#include "ui/widgets/StoredListModel.h"

namespace tamber::collections::editor {
using namespace tamber::ui;
using namespace tamber::ui::widgets;

class X256Edit;

class X256ItemBrowser : public Window {
public:
    enum Command { kCommandNew = 1, kCommandRename, kCommandDuplicate, kCommandDelete };

    void OnResize() override;

    ListWindow* List() const { return list_; }
    virtual void RunCommand(int command) = 0;
    // Opens the item's window unless it is open already.
    virtual void OpenEditor(int index) = 0;

protected:
    // `newItem` is the menu text of the New command ("New Sequence").
    X256ItemBrowser(X256Edit& editor, Window* parent, const char* newItem);

    // The selected rows' item indices, in ascending order.
    std::vector<int> Selected() const;
    // Asks "Are you sure you want to remove the selected <what>(s)?" and refuses,
    // naming it, an item that is open. True when the items may go.
    bool ConfirmDelete(const std::vector<int>& selected, const char* what, const std::function<bool(int)>& isOpen,
                       const std::function<std::string(int)>& name) const;

    X256Edit& editor_;
    StoredListModel rows_;
    ListWindow* list_;

private:
    void OnContextClick(Point point);
    void OnActivated(ListWindow::ListItem* item);

    const char* newItem_;
};

}  // namespace tamber::collections::editor
