#include "collections/editor/X256SequenceBrowser.h"

#include <algorithm>

#include "collections/SequenceLayout.h"
#include "collections/editor/X256Edit.h"
#include "collections/editor/X256SequenceEdit.h"
#include "collections/editor/X256Text.h"
#include "ui/widgets/Menu.h"
#include "ui/widgets/MessageBoxWindow.h"

namespace tamber::collections::editor {

namespace {

const char* ModeName(uint16_t code) {
    for (const SequenceMode& mode : SequenceModes())
        if (mode.code == code) return mode.name;
    return "";
}

}  // namespace

X256SequenceBrowser::X256SequenceBrowser(X256Edit& editor, Window* parent)
    : Window(kStyleVisible | kStyleEnabled, parent),
      editor_(editor),
      list_(new ListWindow(ListWindow::kHeaderRow | ListWindow::kMultipleSelection, kStyleVisible, this)) {
    list_->SetName("Sequence List");
    list_->SetModel(&rows_);
    list_->AddColumn("Name", CellType::kText, 256);
    list_->AddColumn("Frames", CellType::kNumber, 60);
    list_->AddColumn("Views", CellType::kNumber, 60);
    list_->AddColumn("Ticks per Frame", CellType::kNumber, 110);
    list_->AddColumn("Mode", CellType::kText, 100);
    list_->contextClick.Connect(this, &X256SequenceBrowser::OnContextClick);
    list_->activated.Connect(this, &X256SequenceBrowser::OnActivated);
    editor_.sequencesChanged.Connect(this, &X256SequenceBrowser::Refresh);
    Refresh();
}

void X256SequenceBrowser::OnResize() { list_->SetFrameXYWH(0, 0, Client().Width(), Client().Height()); }

void X256SequenceBrowser::Refresh() {
    const auto& sequences = editor_.GetCollection().sequences;
    list_->Refill([&] {
        rows_.Clear();
        for (size_t i = 0; i < sequences.size(); ++i) {
            const Sequence& sequence = sequences[i];
            rows_.SetRow(i, {CellValue::Text(sequence.name), CellValue::Integer(int64_t(sequence.frames.size())),
                             CellValue::Integer(sequence.header.viewCount),
                             CellValue::Integer(sequence.header.ticksPerFrame),
                             CellValue::Text(ModeName(sequence.header.mode))});
            list_->AddListItem(nullptr, i, 0, "");
        }
    });
}

std::vector<int> X256SequenceBrowser::Selected() const {
    std::vector<int> indices;
    for (const ListWindow::ListItem* item : list_->Selection()) indices.push_back(int(item->id));
    std::sort(indices.begin(), indices.end());
    return indices;
}

void X256SequenceBrowser::OnContextClick(Point point) {
    const size_t selected = Selected().size();
    auto* menu = new Menu(false);
    AddMenuItem(menu, "New Sequence", nullptr, kCommandNew, true);
    AddMenuItem(menu, "Rename", nullptr, kCommandRename, selected == 1);
    AddMenuItem(menu, "Duplicate", nullptr, kCommandDuplicate, selected == 1);
    AddMenuItem(menu, "Delete", nullptr, kCommandDelete, selected > 0);
    const int command = PopupMenu(menu, point);
    menu->Close();
    if (command > 0) RunCommand(command);
}

void X256SequenceBrowser::RunCommand(int command) {
    const std::vector<int> selected = Selected();
    const auto& sequences = editor_.GetCollection().sequences;
    int select = -1;
    switch (command) {
    case kCommandNew:
        editor_.Change(kChangeSequences, [&](Collection& c) {
            select = AddNewSequence(c);
            return true;
        });
        break;
    case kCommandRename: {
        if (selected.size() != 1) return;
        const int index = selected[0];
        std::string name = sequences[size_t(index)].name;
        if (MessageBoxWithInput("Enter Sequence Name", name, {"OK", "Cancel"}) != 0) return;
        editor_.Change(kChangeSequences, [&](Collection& c) {
            RenameSequence(c.sequences[size_t(index)], name);
            return true;
        });
        select = index;
        break;
    }
    case kCommandDuplicate:
        if (selected.size() != 1) return;
        editor_.Change(kChangeSequences, [&](Collection& c) {
            select = DuplicateSequence(c, selected[0]);
            return true;
        });
        break;
    case kCommandDelete: {
        if (selected.empty()) return;
        const std::string question =
            Printf("Are you sure you want to remove the selected sequence%s?", selected.size() == 1 ? "" : "s");
        if (MessageBox("Confirm Delete", question.c_str(), {"Delete", "Cancel"}) != 0) return;
        for (int index : selected)
            if (editor_.IsSequenceOpen(index)) {
                const std::string text = Printf("The sequence \"%s\" is currently open. Please close it before deleting.",
                                                sequences[size_t(index)].name.c_str());
                MessageBox("Error", text.c_str(), {"OK"});
                return;
            }
        editor_.Change(kChangeSequences, [&](Collection& c) {
            for (auto it = selected.rbegin(); it != selected.rend(); ++it) c.sequences.erase(c.sequences.begin() + *it);
            return true;
        });
        break;
    }
    default: return;
    }
    list_->DeselectAll();
    if (select >= 0) list_->SelectListItem(list_->FindItem(size_t(select)), false);
}

void X256SequenceBrowser::OnActivated(ListWindow::ListItem* item) {
    if (item) OpenEditor(int(item->id));
}

void X256SequenceBrowser::OpenEditor(int index) {
    if (index < 0 || index >= editor_.GetCollection().SequenceCount() || editor_.IsSequenceOpen(index)) return;
    new X256SequenceEdit(editor_, index);
}

}  // namespace tamber::collections::editor
