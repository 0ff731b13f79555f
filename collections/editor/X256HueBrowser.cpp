#include "collections/editor/X256HueBrowser.h"

#include "collections/HueChangeValues.h"
#include "collections/editor/X256Edit.h"
#include "collections/editor/X256HueEdit.h"
#include "collections/editor/X256Text.h"
#include "ui/widgets/MessageBoxWindow.h"

namespace tamber::collections::editor {

X256HueBrowser::X256HueBrowser(X256Edit& editor, Window* parent) : X256ItemBrowser(editor, parent, "New Hue Change") {
    list_->AddColumn("Name", CellType::kText, 256);
    list_->AddColumn("Hue Range", CellType::kText, 120);
    editor_.hueChangesChanged.Connect(this, &X256HueBrowser::Refresh);
    Refresh();
}

void X256HueBrowser::Refresh() {
    const auto& hues = editor_.GetCollection().hueChanges;
    list_->Refill([&] {
        rows_.Clear();
        for (size_t i = 0; i < hues.size(); ++i) {
            rows_.SetRow(i, {CellValue::Text(hues[i].name),
                             CellValue::Text(Printf("%d%c - %d%c", HueDegrees(hues[i].startHue), 161,
                                                    HueDegrees(hues[i].endHue), 161))});
            list_->AddListItem(nullptr, i, 0, "");
        }
    });
}

void X256HueBrowser::RunCommand(int command) {
    const std::vector<int> selected = Selected();
    const auto& hues = editor_.GetCollection().hueChanges;
    switch (command) {
    case kCommandNew: {
        const size_t index = hues.size();
        editor_.Change(kChangeHueChanges, [](Collection& c) {
            c.hueChanges.push_back(NewHueChange());
            return true;
        });
        list_->DeselectAll();
        list_->SelectListItem(list_->FindItem(index), false);
        break;
    }
    case kCommandRename: {
        if (selected.size() != 1) return;
        const int index = selected[0];
        std::string name = hues[size_t(index)].name;
        if (MessageBoxWithInput("Enter Hue Change Name", name, {"OK", "Cancel"}) != 0) return;
        editor_.Change(kChangeHueChanges, [&](Collection& c) {
            c.hueChanges[size_t(index)].name = name.substr(0, 63);
            return true;
        });
        break;
    }
    case kCommandDuplicate:
        if (selected.size() != 1) return;
        editor_.Change(kChangeHueChanges, [&](Collection& c) {
            HueChange copy = c.hueChanges[size_t(selected[0])];
            copy.name = (copy.name + " copy").substr(0, 63);
            c.hueChanges.insert(c.hueChanges.begin() + selected[0] + 1, copy);
            return true;
        });
        break;
    case kCommandDelete: {
        if (selected.empty()) return;
        if (!ConfirmDelete(selected, "hue change", [&](int index) { return editor_.IsHueChangeOpen(index); },
                           [&](int index) { return hues[size_t(index)].name; }))
            return;
        editor_.Change(kChangeHueChanges, [&](Collection& c) {
            for (auto it = selected.rbegin(); it != selected.rend(); ++it) c.hueChanges.erase(c.hueChanges.begin() + *it);
            return true;
        });
        list_->DeselectAll();
        break;
    }
    default: break;
    }
}

void X256HueBrowser::OpenEditor(int index) {
    if (index < 0 || index >= editor_.GetCollection().HueChangeCount() || editor_.IsHueChangeOpen(index)) return;
    new X256HueEdit(editor_, index);
}

}  // namespace tamber::collections::editor
