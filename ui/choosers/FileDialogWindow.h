#pragma once
// The file and folder chooser: a path field with Up and Home, a sortable list of
// folders and files with size and date, a name field, a filter list and option rows.
// It runs modally and gives back absolute paths with forward slashes.
#include <string>
#include <unordered_map>
#include <vector>

#include "ui/choosers/DialogOption.h"
#include "ui/choosers/FileDialogModel.h"
#include "ui/widgets/DialogWindow.h"
#include "ui/widgets/ListWindow.h"
#include "ui/widgets/StoredListModel.h"

namespace tamber::ui::widgets { class Button; }
namespace tamber::ui::widgets { class ComboBox; }
namespace tamber::ui::widgets { class TextBox; }

namespace tamber::ui::choosers {
using namespace tamber::ui::widgets;

class FileDialogWindow : public DialogWindow {
public:
    static constexpr int kOptionRowSpacing = 27;

    // start is a folder, or (for saving) a file whose folder is shown and whose name is offered.
    FileDialogWindow(const char* title, DialogPurpose purpose, std::vector<FileFilter> filters, int filterIndex,
                     const std::string& start, std::vector<DialogOption>* options);

    const char* GetClassName() const override { return "FileDialogWindow"; }

    // Centres, focuses and runs the dialog modally; true on OK with Paths() filled.
    bool Run();
    const std::vector<std::string>& Paths() const { return paths_; }
    int FilterIndex() const { return model_.FilterIndex(); }
    const FileDialogModel& Model() const { return model_; }
    ListWindow* List() const { return list_; }
    TextBox* PathField() const { return pathField_; }
    TextBox* NameField() const { return nameField_; }

    bool OnOK() override;
    void OnResize() override;
    bool HandleEvent(Window* target, int kind, Event& event) override;

private:
    // Lists a folder; false (and nothing changed) when it cannot be read.
    bool ShowFolder(const std::string& path);
    void Fill();
    std::vector<size_t> SelectedIndexes() const;
    const FileEntry* EntryOf(const ListWindow::ListItem* item) const;
    // Acts on what OK decided; true when the dialog may end.
    bool Apply(const FileDialogModel::Decision& decision);
    bool AskOverwrite(const std::string& path) const;
    void OnActivated(ListWindow::ListItem* item);
    void OnSelectionChanged();
    void OnFilterChosen(int index);
    void OnUp();
    void OnHome();

    FileDialogModel model_;
    // Rows are named by file name within the listed folder, so a refill of the same
    // folder (another filter) keeps the selection and the scroll position.
    StoredListModel rows_;
    std::string listedFolder_;
    std::unordered_map<std::string, RowId> rowIds_;
    std::unordered_map<RowId, size_t> entryOfRow_;
    std::vector<DialogOption>* options_;
    std::vector<ComboBox*> optionCombos_;
    std::vector<TextBox*> optionLabels_;
    std::vector<std::string> paths_;
    TextBox* pathLabel_;
    TextBox* pathField_;
    Button* upButton_;
    Button* homeButton_;
    ListWindow* list_;
    TextBox* nameLabel_;
    TextBox* nameField_;
    TextBox* filterLabel_ = nullptr;
    ComboBox* filterCombo_ = nullptr;
};

}  // namespace tamber::ui::choosers
