#include "collections/editor/X256SequenceBrowser.h"

#include "collections/SequenceLayout.h"
#include "collections/editor/X256Edit.h"
#include "collections/editor/X256SequenceEdit.h"
#include "collections/editor/X256Text.h"
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
    : X256ItemBrowser(editor, parent, "New Sequence") {
    list_->SetName("Sequence List");
    list_->AddColumn("Name", CellType::kText, 256);
    list_->AddColumn("Frames", CellType::kNumber, 60);
    list_->AddColumn("Views", CellType::kNumber, 60);
    list_->AddColumn("Ticks per Frame", CellType::kNumber, 110);
    list_->AddColumn("Mode", CellType::kText, 100);
    editor_.sequencesChanged.Connect(this, &X256SequenceBrowser::Refresh);
    Refresh();
}

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
        if (!ConfirmDelete(selected, "sequence", [&](int index) { return editor_.IsSequenceOpen(index); },
                           [&](int index) { return sequences[size_t(index)].name; }))
            return;
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

void X256SequenceBrowser::OpenEditor(int index) {
    if (index < 0 || index >= editor_.GetCollection().SequenceCount() || editor_.IsSequenceOpen(index)) return;
    new X256SequenceEdit(editor_, index);
}

}  // namespace tamber::collections::editor
