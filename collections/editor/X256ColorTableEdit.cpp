#include "collections/editor/X256ColorTableEdit.h"

#include "collections/PaletteFile.h"
#include "collections/editor/X256Edit.h"
#include "images/ColorTable.h"
#include "ui/DrawBatch.h"
#include "ui/Skin.h"
#include "ui/choosers/ChooserControls.h"
#include "ui/choosers/FileDialogs.h"
#include "ui/widgets/Button.h"
#include "ui/widgets/MessageBoxWindow.h"

namespace tamber::collections::editor {
using namespace tamber::base;
using namespace tamber::images;
using namespace tamber::ui::choosers;
using namespace tamber::ui::widgets;

namespace {

const std::vector<FileFilter> kFilters = {{kColorTableFileType, kColorTablePattern}};

}  // namespace

X256ColorTableEdit::X256ColorTableEdit(X256Edit& editor, Window* parent)
    : Window(kStyleVisible | kStyleEnabled, parent), editor_(editor) {
    save_ = MakeButton(this, "Save Color Table As...", kLeft, 8, 160);
    load_ = MakeButton(this, "Load Color Table...", kLeft + save_->Frame().Width() + 8, 8, 160);
    save_->clicked.Connect(this, &X256ColorTableEdit::SaveTable);
    load_->clicked.Connect(this, &X256ColorTableEdit::LoadTable);
    editor_.colorTableChanged.Connect(static_cast<Window*>(this), &Window::Invalidate);
}

void X256ColorTableEdit::Draw() {
    const auto& palette = editor_.GetCollection().palette;
    for (int i = 0; i < 256; ++i) {
        const int x = kLeft + (i % kColumns) * kSwatch, y = kTop + (i / kColumns) * kSwatch;
        SetDrawColor(palette[size_t(i) * 3], palette[size_t(i) * 3 + 1], palette[size_t(i) * 3 + 2], 255);
        Skin::FillRect({x + 1, y + 1, x + kSwatch - 1, y + kSwatch - 1});
    }
}

int X256ColorTableEdit::EntryAt(Point local) const {
    const int column = (local.x - kLeft) / kSwatch, row = (local.y - kTop) / kSwatch;
    if (local.x < kLeft || local.y < kTop || column >= kColumns || row >= 256 / kColumns) return -1;
    return row * kColumns + column;
}

void X256ColorTableEdit::OnMouseButton(Event& event) {
    if (!event.ButtonPressed()) return;
    const Point point = event.Position();
    const int index = EntryAt({point.x - Client().left, point.y - Client().top});
    if (index < 0) return;
    uint8_t rgb[3];
    std::copy_n(&editor_.GetCollection().palette[size_t(index) * 3], 3, rgb);
    if (OsChooseColor(rgb)) SetEntry(index, rgb);
}

void X256ColorTableEdit::SetEntry(int index, const uint8_t rgb[3]) {
    editor_.Change(kChangeColorTable, [&](Collection& collection) {
        uint8_t* entry = &collection.palette[size_t(index) * 3];
        if (std::equal(rgb, rgb + 3, entry)) return false;
        std::copy_n(rgb, 3, entry);
        return true;
    });
}

void X256ColorTableEdit::SaveTable() {
    int filter = 0;
    std::string path = "color table.act";
    if (!OsSaveFile(kExportColorTableTitle, kFilters, filter, path)) return;
    if (Status saved = SavePalette(editor_.GetCollection(), path); !saved)
        MessageBox("Error", kColorTableSaveFailedMessage, {"OK"});
}

void X256ColorTableEdit::LoadTable() {
    int filter = 0;
    std::string path;
    if (!OsOpenFile(kImportColorTableTitle, kFilters, filter, path)) return;
    bool failed = false;
    editor_.Change(kChangeColorTable, [&](Collection& collection) {
        const auto before = collection.palette;
        failed = !LoadPalette(collection, path).ok();
        return !failed && collection.palette != before;
    });
    if (failed) MessageBox("Error", kColorTableOpenFailedMessage, {"OK"});
}

}  // namespace tamber::collections::editor
