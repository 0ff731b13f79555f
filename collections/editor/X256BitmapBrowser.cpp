#include "collections/editor/X256BitmapBrowser.h"

#include <algorithm>

#include "base/Preferences.h"
#include "collections/CollectionEdits.h"
#include "collections/editor/BitmapWindow.h"
#include "collections/editor/X256BitmapCommands.h"
#include "collections/editor/X256Edit.h"
#include "collections/editor/X256Text.h"
#include "ui/RectOps.h"
#include "ui/Skin.h"
#include "ui/WindowSystem.h"
#include "ui/Font.h"
#include "ui/widgets/GridWindow.h"
#include "ui/widgets/ListWindow.h"
#include "ui/widgets/Menu.h"
#include "ui/widgets/MessageBoxWindow.h"

namespace tamber::collections::editor {
using namespace tamber::base;

namespace {

constexpr uint16_t kShadowFlag = 0x80;
constexpr int kLabelHeight = ListGridWindow::kBarHeight;

std::string BitsText(const Bitmap& bitmap) {
    if (bitmap.flags & kBitmapColourAlpha8) return "8+OL";
    if (bitmap.flags & kBitmapColourAlpha16) return "16+OL";
    return Printf("%s bit", bitmap.IsHighColour() ? "32" : bitmap.Is16Bit() ? "16" : "8");
}

}  // namespace

// The cells of the page's rows; a row's id is its place on the page.
class X256BitmapBrowser::Rows : public ListModel {
public:
    explicit Rows(X256BitmapBrowser& page) : page_(page) {}
    CellValue Cell(RowId row, int column) const override {
        if (row >= page_.items_.size()) return {};
        const Bitmap& b = *page_.items_[row];
        switch (column) {
        case kColumnName:
        case kColumnPicture: return CellValue::Text(b.name.substr(0, 64));
        case kColumnBits: return CellValue::Text(BitsText(b));
        case kColumnFormat: return CellValue::Text(b.IsRle() ? "RLE" : "RAW");
        case kColumnDimensions:
            return CellValue::Number(double(b.width) * 65536 + b.height, Printf("%4d x %d", b.width, b.height));
        default: return {};
        }
    }
    void DrawPicture(RowId row, int, const Rect& rect) const override {
        // Pictures outside the redrawn area are left alone (the page may lie under a playing frame view).
        const Window* grid = page_.Grid();
        if (grid && !RectsMeet(RectOffset(rect, grid->Client().left, grid->Client().top), grid->Clip())) return;
        if (row < page_.items_.size())
            page_.pictures_.Draw(page_.editor_.GetCollection(), page_.items_[row], rect, 0);
    }

private:
    X256BitmapBrowser& page_;
};

X256BitmapBrowser::X256BitmapBrowser(X256Edit& editor, Mode mode, Window* parent)
    : ListGridWindow(ListWindow::kHeaderRow | ListWindow::kMultipleSelection, kStyleVisible | kStyleEnabled, parent),
      editor_(editor),
      mode_(mode),
      rows_(std::make_unique<Rows>(*this)) {
    SetModel(rows_.get(), kColumnName, kColumnPicture);
    List()->AddColumn("Name", CellType::kText, 256);
    List()->AddColumn("Bits", CellType::kText, 48);
    List()->AddColumn("Format", CellType::kText, 40);
    List()->AddColumn("Dimensions", CellType::kNumber, 128);
    List()->AddColumn("", CellType::kPicture, 0, ListWindow::kColumnHidden);
    List()->contextClick.Connect(this, &X256BitmapBrowser::OnContextClick);
    List()->activated.Connect(this, &X256BitmapBrowser::OnActivated);
    Grid()->contextClick.Connect(this, &X256BitmapBrowser::OnContextClick);
    Grid()->activateCell = [this](int index) {
        if (index >= 0 && index < Grid()->CellCount()) {
            const RowId id = Grid()->GetCell(index).id;
            if (id < items_.size()) OpenBitmapWindow(items_[id]);
        }
    };
    double zoom = 1;
    if (GetPrefReal(kZoomPreference, zoom)) Grid()->SetZoom(zoom);
    loadedZoom_ = Grid()->Zoom();
    editor_.bitmapsChanged.Connect(this, &X256BitmapBrowser::Refresh);
    editor_.colorTableChanged.Connect(this, &X256BitmapBrowser::OnPaletteChanged);
    Refresh();
}

// Only a page whose zoom the user changed stores it, so that closing its sibling
// page of the same editor does not put back the old value.
X256BitmapBrowser::~X256BitmapBrowser() {
    if (Grid()->Zoom() != loadedZoom_) SetPrefReal(kZoomPreference, Grid()->Zoom());
}

void X256BitmapBrowser::OnResize() {
    ListGridWindow::OnResize();
    InvalidateClient();
}

std::string X256BitmapBrowser::CountLabel() const {
    const int count = int(items_.size());
    return Printf("%3d %s%s:", count, mode_ == kModeShadows ? "Shadow" : "Bitmap", count == 1 ? "" : "s");
}

void X256BitmapBrowser::Draw() {
    ListGridWindow::Draw();
    const Rect label{8, 0, Client().Width() - 80, kLabelHeight};
    Skin::SetTextColor(false);
    DrawText(CountLabel().c_str(), 0, kTextCenterVertically, label);
}

void X256BitmapBrowser::Refresh() {
    const Collection& collection = editor_.GetCollection();
    items_.clear();
    for (const auto& bitmap : collection.bitmaps)
        if (bool(bitmap->flags & kShadowFlag) == (mode_ == kModeShadows)) items_.push_back(bitmap);
    pictures_.Prune(collection);
    List()->Refill([&] {
        for (size_t i = 0; i < items_.size(); ++i) List()->AddListItem(nullptr, i, 0, "");
    });
    std::vector<RowId> ids(items_.size());
    for (size_t i = 0; i < ids.size(); ++i) ids[i] = i;
    Grid()->Refill(ids);
    Invalidate();
}

void X256BitmapBrowser::OnPaletteChanged() {
    pictures_.Clear();
    Refresh();
}

std::vector<const Bitmap*> X256BitmapBrowser::SelectedBitmaps() const {
    std::vector<RowId> ids;
    if (ShowingGrid()) {
        for (int index : Grid()->SelectedCells()) ids.push_back(Grid()->GetCell(index).id);
    } else {
        for (const ListWindow::ListItem* item : List()->Selection()) ids.push_back(item->id);
    }
    std::sort(ids.begin(), ids.end());
    std::vector<const Bitmap*> bitmaps;
    for (RowId id : ids)
        if (id < items_.size()) bitmaps.push_back(items_[id].get());
    return bitmaps;
}

std::vector<const Bitmap*> X256BitmapBrowser::AllBitmaps() const {
    std::vector<const Bitmap*> bitmaps;
    for (const auto& bitmap : items_) bitmaps.push_back(bitmap.get());
    return bitmaps;
}

void X256BitmapBrowser::ShowContextMenu(Point point) {
    const bool shadows = mode_ == kModeShadows;
    const size_t selected = SelectedBitmaps().size();
    auto* menu = new Menu(false);
    auto fill = [&](MenuItem* parent, bool all) {
        const int offset = all ? 100 : 0;
        auto add = [&](const char* label, int command, bool enabled = true) {
            AddMenuItem(menu, label, parent, command + offset, enabled);
        };
        if (!all) add("Rename", kCommandRename, selected == 1);
        add("Export", kCommandExport);
        add("Export Alpha", kCommandExportAlpha);
        add("Export Plate", kCommandExportPlate);
        add("Export Alpha Plate", kCommandExportAlphaPlate);
        AddSeparator(menu, parent);
        add("Replace", kCommandReplace);
        add("Replace Alpha", kCommandReplaceAlpha);
        add("Replace from Plate", kCommandReplaceFromPlate);
        add("Replace Alpha from Plate", kCommandReplaceAlphaFromPlate);
        AddSeparator(menu, parent);
        add("Remove Alpha", kCommandRemoveAlpha);
        MenuItem* format = AddMenuItem(menu, "Format", parent, 0, true);
        AddMenuItem(menu, "Convert to RLE", format, kCommandConvertToRle + offset, true);
        AddMenuItem(menu, "Convert to RAW", format, kCommandConvertToRaw + offset, true);
        add("Crop Transparency", kCommandCrop);
        add("Uncrop Transparency", kCommandUncrop);
        AddSeparator(menu, parent);
        add("Delete", kCommandDelete);
    };
    const char* noun = shadows ? "Shadow" : "Bitmap";
    const std::string selectedHeading = Printf("Selected %s%s", noun, selected == 1 ? "" : "s");
    const std::string allHeading = Printf("All %ss", noun);
    fill(AddMenuItem(menu, selectedHeading.c_str(), nullptr, 0, selected > 0), false);
    fill(AddMenuItem(menu, allHeading.c_str(), nullptr, 0, !items_.empty()), true);
    AddSeparator(menu, nullptr);
    AddMenuItem(menu, shadows ? "Add Shadow(s) from File(s)" : "Add Bitmap(s) from File(s)", nullptr, kCommandAddFiles,
                true);
    AddMenuItem(menu, "Add Bitmap(s) from Plate", nullptr, kCommandAddPlate, true);
    const int command = PopupMenu(menu, point);
    menu->Close();
    if (command > 0) RunBitmapCommand(*this, command % 100, command > 100);
}

void X256BitmapBrowser::RenameSelected() {
    const std::vector<const Bitmap*> selected = SelectedBitmaps();
    if (selected.size() != 1) return;
    const Bitmap* bitmap = selected[0];
    auto rename = [&](const std::string& text) {
        const std::string name = text.substr(0, 63);
        if (name == bitmap->name) return;
        editor_.Change(kChangeBitmaps, [&](Collection& collection) {
            auto renamed = std::make_shared<Bitmap>(*bitmap);
            renamed->name = name;
            ReplaceBitmap(collection, bitmap, renamed);
            return true;
        });
    };
    if (!ShowingGrid() && !List()->Selection().empty()) {
        List()->EditCell(List()->Selection()[0], kColumnName,
                         [&](ListWindow::ListItem*, int, const std::string& text) { rename(text); });
        return;
    }
    std::string name = bitmap->name;
    if (MessageBoxWithInput("Enter Bitmap Name", name, {"OK", "Cancel"}) == 0) rename(name);
}

void X256BitmapBrowser::OnActivated(ListWindow::ListItem* item) {
    if (item && item->id < items_.size()) OpenBitmapWindow(items_[item->id]);
}

void X256BitmapBrowser::OpenBitmapWindow(const std::shared_ptr<Bitmap>& bitmap) {
    if (Window* open = editor_.BitmapWindowOf(bitmap.get())) {
        open->BringToFront();
        return;
    }
    new BitmapWindow(editor_, bitmap);
}

bool X256BitmapBrowser::OnFilesDropped(const std::vector<std::string>& paths) {
    const std::vector<const Bitmap*> selected = SelectedBitmaps();
    if ((WS().GetModifiers() & kModCtrl) && selected.size() == 1)
        ReplaceBitmapFiles(*this, selected, paths);
    else
        AddBitmapFiles(*this, paths);
    return true;
}

}  // namespace tamber::collections::editor
