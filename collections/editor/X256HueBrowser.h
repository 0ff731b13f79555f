#pragma once
// The "Hue Changes" page: the collection's hue changes with New, Rename,
// Duplicate and Delete in its context menu; opening one shows X256HueEdit.
#include "ui/Window.h"
#include "ui/widgets/ListWindow.h"
#include "ui/widgets/StoredListModel.h"

namespace tamber::collections::editor {
using namespace tamber::ui;
using namespace tamber::ui::widgets;

class X256Edit;

class X256HueBrowser : public Window {
public:
    enum Command { kCommandNew = 1, kCommandRename, kCommandDuplicate, kCommandDelete };

    X256HueBrowser(X256Edit& editor, Window* parent);

    const char* GetClassName() const override { return "X256HueBrowser"; }
    void OnResize() override;

    ListWindow* List() const { return list_; }
    void RunCommand(int command);
    void OpenEditor(int index);

private:
    void Refresh();
    void OnContextClick(Point point);
    void OnActivated(ListWindow::ListItem* item);
    std::vector<int> Selected() const;

    X256Edit& editor_;
    StoredListModel rows_;
    ListWindow* list_;
};

}  // namespace tamber::collections::editor
