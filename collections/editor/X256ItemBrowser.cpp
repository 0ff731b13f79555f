#include "collections/editor/X256ItemBrowser.h"

#include <algorithm>

#include "collections/editor/X256Text.h"
#include "ui/widgets/Menu.h"
#include "ui/widgets/MessageBoxWindow.h"

namespace tamber::collections::editor {

X256ItemBrowser::X256ItemBrowser(X256Edit& editor, Window* parent, const char* newItem)
    : Window(kStyleVisible | kStyleEnabled, parent),
      editor_(editor),
      list_(new ListWindow(ListWindow::kHeaderRow | ListWindow::kMultipleSelection, kStyleVisible, this)),
      newItem_(newItem) {
    list_->SetModel(&rows_);
    list_->contextClick.Connect(this, &X256ItemBrowser::OnContextClick);
    list_->activated.Connect(this, &X256ItemBrowser::OnActivated);
}

void X256ItemBrowser::OnResize() { list_->SetFrameXYWH(0, 0, Client().Width(), Client().Height()); }

std::vector<int> X256ItemBrowser::Selected() const {
    std::vector<int> indices;
    for (const ListWindow::ListItem* item : list_->Selection()) indices.push_back(int(item->id));
    std::sort(indices.begin(), indices.end());
    return indices;
}

void X256ItemBrowser::OnContextClick(Point point) {
    const size_t selected = Selected().size();
    auto* menu = new Menu(false);
    AddMenuItem(menu, newItem_, nullptr, kCommandNew, true);
    AddMenuItem(menu, "Rename", nullptr, kCommandRename, selected == 1);
    AddMenuItem(menu, "Duplicate", nullptr, kCommandDuplicate, selected == 1);
    AddMenuItem(menu, "Delete", nullptr, kCommandDelete, selected > 0);
    const int command = PopupMenu(menu, point);
    menu->Close();
    if (command > 0) RunCommand(command);
}

void X256ItemBrowser::OnActivated(ListWindow::ListItem* item) {
    if (item) OpenEditor(int(item->id));
}

bool X256ItemBrowser::ConfirmDelete(const std::vector<int>& selected, const char* what,
                                    const std::function<bool(int)>& isOpen,
                                    const std::function<std::string(int)>& name) const {
    const std::string question =
        Printf("Are you sure you want to remove the selected %s%s?", what, selected.size() == 1 ? "" : "s");
    if (MessageBox("Confirm Delete", question.c_str(), {"Delete", "Cancel"}) != 0) return false;
    for (int index : selected) {
        if (!isOpen(index)) continue;
        const std::string text = Printf("The %s \"%s\" is currently open. Please close it before deleting.", what,
                                        name(index).c_str());
        MessageBox("Error", text.c_str(), {"OK"});
        return false;
    }
    return true;
}

}  // namespace tamber::collections::editor
