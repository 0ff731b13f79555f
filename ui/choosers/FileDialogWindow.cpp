#include "ui/choosers/FileDialogWindow.h"

#include <algorithm>
#include <ctime>
#include <filesystem>

#include "platform/Os.h"
#include "ui/Font.h"
#include "ui/WindowSystem.h"
#include "ui/choosers/ChooserControls.h"
#include "ui/widgets/Button.h"
#include "ui/widgets/ComboBox.h"
#include "ui/widgets/MessageBoxWindow.h"
#include "ui/widgets/TextBox.h"

namespace tamber::ui::choosers {
using namespace tamber::platform;
using namespace tamber::ui::widgets;

namespace {

constexpr int kContentWidth = 520;
constexpr int kListHeight = 260;
constexpr int kLabelWidth = 96;
constexpr int kGap = 6;
constexpr int kSmallButtonWidth = 52;
constexpr int kRunFlags = 1 | 4;  // keys to the dialog, the screen dimmed behind it


std::string FormatDate(int64_t seconds) {
    if (seconds <= 0) return {};
    time_t t = time_t(seconds);
    struct tm local {};
    if (!localtime_r(&t, &local)) return {};
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return text;
}

// The label column: wide enough for the longest label (option labels come from callers).
int LabelColumnWidth(std::initializer_list<const TextBox*> fixed, const std::vector<TextBox*>& options) {
    int width = kLabelWidth;
    auto widen = [&](const TextBox* label) {
        if (!label) return;
        int text = ui::DrawText(label->GetFont(), label->Text().c_str(), 0, kTextMeasureOnly, {0, 0, 1 << 20, 1 << 20});
        width = std::max(width, text + 2 * TextBox::kMargin + 2 + kGap);
    };
    for (const TextBox* label : fixed) widen(label);
    for (const TextBox* label : options) widen(label);
    return width;
}

bool IsFolder(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

const char* OkLabel(DialogPurpose purpose) {
    switch (purpose) {
    case DialogPurpose::Save: return "Save";
    case DialogPurpose::ChooseFolder: return "Select";
    default: return "Open";
    }
}

}  // namespace

FileDialogWindow::FileDialogWindow(const char* title, DialogPurpose purpose, std::vector<FileFilter> filters,
                                   int filterIndex, const std::string& start, std::vector<DialogOption>* options)
    : model_(purpose, purpose == DialogPurpose::ChooseFolder ? std::vector<FileFilter>{{"Folders", "*"}}
                                                             : std::move(filters),
             filterIndex),
      options_(options) {
    SetVisible(false);
    SetName(title ? title : "");
    OKButton()->SetName(OkLabel(purpose));
    bool folderDialog = purpose == DialogPurpose::ChooseFolder;

    pathLabel_ = MakeLabel(this, "Look in:", 0, 0, kLabelWidth, 0);
    pathField_ = new TextBox(TextBox::kModeTextField, this);
    pathField_->SetName("Path");
    upButton_ = MakeButton(this, "Up", 0, 0, kSmallButtonWidth);
    homeButton_ = MakeButton(this, "Home", 0, 0, kSmallButtonWidth);
    upButton_->clicked.Connect(this, &FileDialogWindow::OnUp);
    homeButton_->clicked.Connect(this, &FileDialogWindow::OnHome);

    uint32_t listFlags = ListWindow::kHeaderRow;
    if (purpose == DialogPurpose::OpenSeveral) listFlags |= ListWindow::kMultipleSelection;
    list_ = new ListWindow(listFlags, kStyleControl | kStylePanelB, this);
    list_->SetName("Files");
    list_->SetModel(&rows_);
    list_->AddColumn("Name", CellType::kText, 270);
    list_->AddColumn("Size", CellType::kNumber, 72);
    list_->AddColumn("Modified", CellType::kNumber, 130);
    list_->activated.Connect(this, &FileDialogWindow::OnActivated);
    list_->selectionChanged.Connect(this, &FileDialogWindow::OnSelectionChanged);

    nameLabel_ = MakeLabel(this, folderDialog ? "Folder Name:" : "File Name:", 0, 0, kLabelWidth, 0);
    nameField_ = new TextBox(TextBox::kModeTextField, this);
    nameField_->SetName("Name");
    // The folder picker has no file types to choose from.
    if (!folderDialog) {
        filterLabel_ = MakeLabel(this, "Files of Type:", 0, 0, kLabelWidth, 0);
        filterCombo_ = new ComboBox(this, 0);
        filterCombo_->SetName("Type");
        for (const FileFilter& f : model_.Filters()) filterCombo_->AddItem(f.name + " (" + f.pattern + ")");
        if (model_.Filters().empty()) filterCombo_->AddItem("All files (*.*)");
        filterCombo_->SelectItem(model_.FilterIndex());
        filterCombo_->itemChosen.Connect(this, &FileDialogWindow::OnFilterChosen);
    }
    if (options_) {
        for (const DialogOption& option : *options_) {
            optionLabels_.push_back(MakeLabel(this, option.label, 0, 0, kLabelWidth, 0));
            auto* combo = new ComboBox(this, 0);
            combo->SetName(option.label.c_str());
            for (const std::string& entry : option.entries) combo->AddItem(entry);
            if (!option.entries.empty()) combo->SelectItem(std::clamp(option.chosen, 0, int(option.entries.size()) - 1));
            optionCombos_.push_back(combo);
        }
    }
    // Tab runs down the dialog: path row, list, name, type, options, then OK and Cancel.
    Window* last = pathField_;
    std::vector<Window*> chain = {upButton_, homeButton_, list_, nameField_};
    if (filterCombo_) chain.push_back(filterCombo_);
    chain.insert(chain.end(), optionCombos_.begin(), optionCombos_.end());
    for (Window* w : chain) {
        w->InsertTabAfter(last);
        last = w;
    }
    LinkTabOrder(last);

    // Start in the folder given (or the folder of a file given), else the current folder.
    std::string folder = start.empty() ? "." : NormalisePath(start);
    if (!start.empty() && !IsFolder(folder) && purpose != DialogPurpose::ChooseFolder) {
        size_t slash = folder.find_last_of('/');
        std::string name = slash == std::string::npos ? folder : folder.substr(slash + 1);
        folder = slash == std::string::npos ? "." : slash == 0 ? "/" : folder.substr(0, slash);
        if (purpose == DialogPurpose::Save) nameField_->SetText(name);
    }
    if (!ShowFolder(folder) && !ShowFolder(".")) ShowFolder("/");

    int rows = 2 + (filterCombo_ ? 1 : 0) + int(optionCombos_.size());
    int rowHeight = nameField_->Frame().Height();
    SetContentSize(kContentWidth, kListHeight + rows * kOptionRowSpacing + rowHeight - kOptionRowSpacing + kGap * 2);
}

bool FileDialogWindow::Run() {
    CenterInParent();
    SetVisible(true);
    WS().SetFocus(nameField_, kFocusByProgram);
    return WS().RunModal(this, kRunFlags) == 1;
}

void FileDialogWindow::OnResize() {
    DialogWindow::OnResize();
    Rect content = GetContentRect();
    int rowHeight = nameField_->Frame().Height();
    int x = content.left, width = content.Width(), y = content.top;
    const int labelWidth = LabelColumnWidth({pathLabel_, nameLabel_, filterLabel_}, optionLabels_);
    int fieldX = x + labelWidth;

    // Path row: label, field, Up, Home.
    pathLabel_->SetFrameXYWH(x, y + std::max(0, (rowHeight - pathLabel_->Frame().Height()) / 2), labelWidth - kGap,
                             pathLabel_->Frame().Height());
    int homeX = content.right - homeButton_->Frame().Width();
    int upX = homeX - kGap - upButton_->Frame().Width();
    pathField_->SetFrameXYWH(fieldX, y, std::max(20, upX - kGap - fieldX), rowHeight);
    upButton_->SetFrameXYWH(upX, y, upButton_->Frame().Width(), rowHeight);
    homeButton_->SetFrameXYWH(homeX, y, homeButton_->Frame().Width(), rowHeight);
    y += rowHeight + kGap;

    // The list takes what the rows below leave.
    int rowsBelow = 1 + (filterCombo_ ? 1 : 0) + int(optionCombos_.size());
    int below = (rowsBelow - 1) * kOptionRowSpacing + rowHeight + kGap;
    list_->SetFrameXYWH(x, y, width, std::max(40, content.bottom - below - y));
    y = content.bottom - below + kGap;

    auto row = [&](TextBox* label, Window* control) {
        label->SetFrameXYWH(x, y + std::max(0, (rowHeight - label->Frame().Height()) / 2), labelWidth - kGap,
                            label->Frame().Height());
        control->SetFrameXYWH(fieldX, y, content.right - fieldX, rowHeight);
        y += kOptionRowSpacing;
    };
    row(nameLabel_, nameField_);
    if (filterCombo_) row(filterLabel_, filterCombo_);
    for (size_t i = 0; i < optionCombos_.size(); ++i) row(optionLabels_[i], optionCombos_[i]);
}

bool FileDialogWindow::ShowFolder(const std::string& path) {
    if (!model_.SetFolder(path)) return false;
    Fill();
    return true;
}

void FileDialogWindow::Fill() {
    pathField_->SetText(model_.Folder());
    if (model_.Folder() != listedFolder_) {
        // Another folder starts at its top with nothing selected.
        listedFolder_ = model_.Folder();
        rowIds_.clear();
        list_->RemoveAllItems();
    }
    list_->Refill([this] {
        rows_.Clear();
        entryOfRow_.clear();
        const std::vector<FileEntry>& entries = model_.Entries();
        for (size_t i = 0; i < entries.size(); ++i) {
            const FileEntry& entry = entries[i];
            const RowId row = rowIds_.try_emplace(entry.name, RowId(rowIds_.size())).first->second;
            entryOfRow_[row] = i;
            // Folders have no size; they sort before the smallest file.
            rows_.SetRow(row, {CellValue::Text(entry.isFolder ? entry.name + "/" : entry.name),
                               entry.isFolder ? CellValue::Number(-1, "") : CellValue::Integer(int64_t(entry.size)),
                               CellValue::Number(double(entry.modified), FormatDate(entry.modified))});
            list_->AddListItem(nullptr, row, 0, entry.name);
        }
    });
    InvalidateClient();
}

const FileEntry* FileDialogWindow::EntryOf(const ListWindow::ListItem* item) const {
    auto found = item ? entryOfRow_.find(item->id) : entryOfRow_.end();
    return found == entryOfRow_.end() ? nullptr : &model_.Entries()[found->second];
}

std::vector<size_t> FileDialogWindow::SelectedIndexes() const {
    std::vector<size_t> indexes;
    for (const ListWindow::ListItem* item : list_->Selection()) {
        auto found = entryOfRow_.find(item->id);
        if (found != entryOfRow_.end()) indexes.push_back(found->second);
    }
    std::sort(indexes.begin(), indexes.end());
    return indexes;
}

bool FileDialogWindow::AskOverwrite(const std::string& path) const {
    std::string name = path.substr(path.find_last_of('/') + 1);
    std::string text = name + " already exists.\nDo you want to replace it?";
    return MessageBox("Confirm Save As", text.c_str(), {"Yes", "No"}) == 0;
}

bool FileDialogWindow::Apply(const FileDialogModel::Decision& decision) {
    using Decision = FileDialogModel::Decision;
    switch (decision.kind) {
    case Decision::EnterFolder:
        if (ShowFolder(decision.folder)) {
            nameField_->SetText("");
            OkHandledWithoutClosing();
        }
        return false;
    case Decision::AskOverwrite:
        if (!AskOverwrite(decision.paths.front())) return false;
        [[fallthrough]];
    case Decision::Accept:
        paths_ = decision.paths;
        if (options_) {
            for (size_t i = 0; i < optionCombos_.size(); ++i) {
                int chosen = optionCombos_[i]->GetSelectedItem();
                if (chosen >= 0) (*options_)[i].chosen = chosen;
            }
        }
        return true;
    case Decision::Refuse:
        // Refusals the user can act on are explained; the others beep.
        if (!decision.reason.empty()) {
            MessageBox(GetName(), decision.reason.c_str(), {"OK"});
            OkHandledWithoutClosing();
        }
        break;
    }
    return false;
}

bool FileDialogWindow::OnOK() { return Apply(model_.Confirm(nameField_->Text(), SelectedIndexes())); }

bool FileDialogWindow::HandleEvent(Window* target, int kind, Event& event) {
    // Enter in the path field goes to the typed folder instead of ending the dialog.
    if (kind == kEventKey && event.Pressed() && !event.IsRepeat() &&
        (event.Key() == kKeyEnter || event.Key() == kKeyKeypadEnter) && WS().Focus() == pathField_ &&
        WS().ModalWindow() == this) {
        std::string typed = model_.Resolve(pathField_->Text());
        if (!ShowFolder(typed)) {
            OsBeep();
            pathField_->SetText(model_.Folder());
        }
        return true;
    }
    return DialogWindow::HandleEvent(target, kind, event);
}

void FileDialogWindow::OnActivated(ListWindow::ListItem* item) {
    const FileEntry* entry = EntryOf(item);
    if (!entry) return;
    if (entry->isFolder) {
        std::string folder = model_.Resolve(entry->name);
        if (ShowFolder(folder)) nameField_->SetText("");
        return;
    }
    // A double click on a file is OK for it.
    OKButton()->SetButtonState(Button::kOn, false);
}

void FileDialogWindow::OnSelectionChanged() {
    if (model_.Purpose() == DialogPurpose::ChooseFolder) return;
    std::vector<const FileEntry*> files;
    for (const ListWindow::ListItem* item : list_->Selection()) {
        const FileEntry* entry = EntryOf(item);
        if (entry && !entry->isFolder) files.push_back(entry);
    }
    // One file is offered by name; several are taken from the selection.
    if (files.size() == 1) nameField_->SetText(files[0]->name);
    else if (files.size() > 1) nameField_->SetText("");
}

void FileDialogWindow::OnFilterChosen(int index) {
    model_.SetFilter(index);
    Fill();
}

void FileDialogWindow::OnUp() {
    if (model_.GoUp()) Fill();
}

void FileDialogWindow::OnHome() {
    if (model_.GoHome()) Fill();
}

}  // namespace tamber::ui::choosers
