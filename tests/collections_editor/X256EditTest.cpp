// The collection editor driven in-process: the pages and their texts, every kind
// of bitmap command with its questions and messages, the open check, flags, hue
// changes and the colour table, undo and redo back to identical bytes, dropped
// files, and saving; the context menus opened by right-clicks, exports through
// them in both naming modes, and the grid zoom kept across editors.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "base/Preferences.h"
#include "collections/CollectionFile.h"
#include "collections/CollectionEdits.h"
#include "collections/editor/BitmapWindow.h"
#include "collections/editor/X256BitmapBrowser.h"
#include "collections/editor/X256BitmapCommands.h"
#include "collections/editor/X256ColorTableEdit.h"
#include "collections/editor/X256Edit.h"
#include "collections/editor/X256FlagsEdit.h"
#include "collections/editor/X256HueBrowser.h"
#include "collections/editor/X256HueEdit.h"
#include "editing/TagEditorRegistry.h"
#include "images/MediaFile.h"
#include "tests/collections/TestCollections.h"
#include "tests/editing/EditingTestSupport.h"
#include "tests/editing/EditingUiSupport.h"
#include "tests/ui/support/UiTestDriver.h"
#include "ui/widgets/CheckBox.h"
#include "ui/widgets/ComboBox.h"
#include "ui/widgets/GridWindow.h"
#include "ui/widgets/Menu.h"
#include "ui/widgets/MenuItem.h"
#include "ui/widgets/TabWindow.h"

using namespace tamber::base;
using namespace tamber::collections::editor;
using namespace tamber::images;

namespace {

// An opaque paletted bitmap with `clear` transparent columns on the left.
std::shared_ptr<Bitmap> Picture(const char* name, int w, int h, uint16_t flags, int clear = 0) {
    auto b = std::make_shared<Bitmap>();
    b->name = name;
    b->flags = flags;
    std::vector<uint8_t> pixels(size_t(w) * size_t(h) * 2);
    for (int i = 0; i < w * h; ++i) {
        pixels[size_t(i) * 2] = i % w < clear ? 0 : 255;
        pixels[size_t(i) * 2 + 1] = i % w < clear ? 0 : uint8_t(5 + i % 100);
    }
    StorePixels(*b, w, h, std::move(pixels));
    return b;
}

std::unique_ptr<Collection> Sprites() {
    auto c = std::make_unique<Collection>();
    for (size_t i = 0; i < 256; ++i) c->palette[i * 3] = uint8_t(i), c->palette[i * 3 + 2] = uint8_t(255 - i);
    c->bitmaps = {Picture("raw64", 64, 64, 0, 2), Picture("rle64", 64, 64, kBitmapRle, 2), Picture("small", 30, 20, 0),
                  Picture("edge", 12, 10, kBitmapRle, 1), Picture("shade", 16, 8, kBitmapRle | 0x80)};
    Sequence walk;
    walk.name = "walk";
    walk.frames.resize(1);
    View view;
    view.sets[0].bitmap = c->bitmaps[3];
    view.sets[0].regX = 6;
    view.sets[0].regY = 5;
    walk.frames[0].views.push_back(view);
    walk.frames[0].shadow.bitmap = c->bitmaps[4];
    walk.header.viewCount = 1;
    c->sequences.push_back(walk);
    HueChange hue;
    hue.name = "team";
    hue.startHue = 60000;
    hue.endHue = 5000;
    hue.ComputeAffected(c->palette.data());
    c->hueChanges.push_back(hue);
    return c;
}

std::vector<uint8_t> Bytes(const Collection& collection) {
    Collection written = collection;
    for (HueChange& hue : written.hueChanges) hue.ComputeAffected(written.palette.data());
    return WriteCollection(written).value().bytes;
}

X256BitmapBrowser* Page(X256Edit* edit, X256Edit::Page page) {
    return static_cast<X256BitmapBrowser*>(edit->GetPage(page));
}

}  // namespace

TEST(X256Edit, BrowsesCommandsUndoesAndSaves) {
    ScratchGame game;
    SetTagEditorFactory(kCollectionGroupCode, &X256Edit::Create);
    const std::vector<uint8_t> original = Bytes(*Sprites());
    TagRecord* record = MakeLooseTag("sprites", std::string(original.begin(), original.end()), kCollectionGroupCode);
    ASSERT_NE(record, nullptr);

    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([&](UiTestDriver& ui) {
        auto* edit = dynamic_cast<X256Edit*>(OpenTagEditor(record));
        ASSERT_NE(edit, nullptr);
        ui.step(2);
        // The new editor has the keyboard, so its keys work at once.
        ASSERT_TRUE(WS().Focus());
        EXPECT_TRUE(WS().Focus()->IsInside(edit)) << WS().Focus()->GetClassName();
        X256BitmapBrowser* bitmaps = Page(edit, X256Edit::kBitmapsPage);
        X256BitmapBrowser* shadows = Page(edit, X256Edit::kShadowsPage);
        std::vector<std::string> tabs;
        for (const auto& tab : edit->Tabs()->Tabs()) tabs.push_back(tab.page->GetName());
        EXPECT_EQ(tabs, (std::vector<std::string>{"Bitmaps", "Shadows", "Sequences", "Hue Changes", "Color Table",
                                                  "Flags", "Optimize"}));
        EXPECT_EQ(bitmaps->CountLabel(), "  4 Bitmaps:");
        EXPECT_EQ(shadows->CountLabel(), "  1 Shadow:");
        const ListWindow* list = bitmaps->List();
        EXPECT_EQ(list->CellText(list->FindItem(1), X256BitmapBrowser::kColumnBits), "8 bit");
        EXPECT_EQ(list->CellText(list->FindItem(1), X256BitmapBrowser::kColumnFormat), "RLE");
        EXPECT_EQ(list->CellText(list->FindItem(2), X256BitmapBrowser::kColumnDimensions), "  30 x 20");
        ui.screenshot("x256-table.ppm");
        bitmaps->SwitchView();
        ui.step(2);
        ui.screenshot("x256-grid.ppm");
        bitmaps->SwitchView();
        const std::vector<uint8_t> loaded = Bytes(edit->GetCollection());
        EXPECT_EQ(loaded, original);
        EXPECT_EQ(edit->DisplaySet(), 1);
        ui.key('T', kModCtrl);
        ui.key('T', kModCtrl);
        EXPECT_EQ(edit->DisplaySet(), 1);
        EXPECT_FALSE(edit->IsModified());

        auto* opener = new Opener;
        // Answers a box; the next one the command opens is there a frame later.
        auto answer = [&](const char* path) {
            ui.click(path);
            ui.step(2);
        };
        // Keys go to the focused window: the editor's after a click on the opener.
        auto key = [&](int code, int modifiers) {
            WS().SetFocus(edit, kFocusByProgram);
            ui.key(code, modifiers);
            ui.step(2);
        };
        auto run = [&](X256BitmapBrowser* page, int command, bool all) {
            opener->action = [=] { RunBitmapCommand(*page, command, all); };
            ui.click(UiTestDriver::center(opener));
        };

        // Deleting the only shadow, then undoing it.
        edit->Tabs()->SelectTab(1);
        run(shadows, kCommandDelete, true);
        EXPECT_EQ(BoxText(), "Are you sure you want to remove the only shadow?");
        answer("Confirm Delete/Delete");
        ui.step();
        EXPECT_EQ(shadows->CountLabel(), "  0 Shadows:");
        EXPECT_EQ(edit->GetCollection().sequences[0].frames[0].shadow.bitmap, nullptr);
        EXPECT_STREQ(edit->GetName(), "sprites*");
        key('Z', kModCtrl);
        EXPECT_EQ(shadows->CountLabel(), "  1 Shadow:");
        EXPECT_STREQ(edit->GetName(), "sprites");
        EXPECT_EQ(Bytes(edit->GetCollection()), original);
        key('Y', kModCtrl);
        EXPECT_EQ(shadows->CountLabel(), "  0 Shadows:");
        key('Z', kModCtrl);
        edit->Tabs()->SelectTab(0);

        // Cropping all: the RAW 64 x 64 stays, the RLE one is cut; the view moves.
        run(bitmaps, kCommandCrop, true);
        EXPECT_EQ(BoxText(), "Are you sure you want to crop all bitmaps?");
        answer("Confirm Crop/Crop");
        EXPECT_EQ(BoxText(), "2 bitmaps were cropped (138 pixels removed).");
        ui.key(kKeyEnter);
        ui.step();
        EXPECT_EQ(edit->GetCollection().bitmaps[0]->width, 64);
        EXPECT_EQ(edit->GetCollection().bitmaps[1]->width, 62);
        EXPECT_EQ(edit->GetCollection().bitmaps[3]->width, 11);
        EXPECT_EQ(edit->GetCollection().sequences[0].frames[0].views[0].sets[0].regX, 5);

        // Uncropping to 64 places the 30 x 20 bitmap at 17, 22; a bad size is refused.
        run(bitmaps, kCommandUncrop, true);
        ui.type("0");
        answer("Enter Uncropped Size (pixels)/Uncrop");
        EXPECT_EQ(BoxText(), "Invalid size for uncropping.");
        answer("Error/OK");
        run(bitmaps, kCommandUncrop, true);
        ui.type("64");
        answer("Enter Uncropped Size (pixels)/Uncrop");
        ui.step();
        const Bitmap& small = *edit->GetCollection().bitmaps[2];
        EXPECT_EQ(small.width, 64);
        EXPECT_EQ(small.pixels[(22 * 64 + 17) * 2], 255);
        EXPECT_EQ(small.pixels[(22 * 64 + 16) * 2], 0);

        // Converting RLE bitmaps to RLE changes nothing and adds no action.
        const size_t actions = edit->History().Count();
        bitmaps->List()->DeselectAll();
        bitmaps->List()->SelectListItem(bitmaps->List()->FindItem(1), false);
        run(bitmaps, kCommandConvertToRle, false);
        EXPECT_EQ(edit->History().Count(), actions);

        // The open check.
        bitmaps->OpenBitmapWindow(edit->GetCollection().bitmaps[1]);
        ui.step(2);
        ui.screenshot("x256-bitmap-window.ppm");
        run(bitmaps, kCommandDelete, false);
        answer("Confirm Delete/Delete");
        EXPECT_EQ(BoxText(), "The bitmap \"rle64\" is currently open. Please close it before deleting.");
        answer("Error/OK");
        EXPECT_EQ(edit->GetCollection().BitmapCount(), 5);
        edit->BitmapWindowOf(edit->GetCollection().bitmaps[1].get())->Close();
        ui.step();
        EXPECT_EQ(edit->BitmapWindowOf(edit->GetCollection().bitmaps[1].get()), nullptr);

        // Flags: one bit.
        edit->Tabs()->SelectTab(X256Edit::kFlagsPage);
        ui.step();
        auto* flags = static_cast<X256FlagsEdit*>(edit->GetPage(X256Edit::kFlagsPage));
        ui.click(UiTestDriver::center(flags->Box(3)));
        EXPECT_EQ(edit->GetCollection().flags, 8u);

        // Hue changes: a new one with its defaults, edited in its window.
        auto* hues = static_cast<X256HueBrowser*>(edit->GetPage(X256Edit::kHueChangesPage));
        hues->RunCommand(X256HueBrowser::kCommandNew);
        ASSERT_EQ(edit->GetCollection().HueChangeCount(), 2);
        EXPECT_EQ(edit->GetCollection().hueChanges[1].name, "New Hue Change");
        hues->OpenEditor(1);
        ui.step(2);
        EXPECT_TRUE(edit->IsHueChangeOpen(1));
        ui.screenshot("x256-hue-edit.ppm");

        // The colour table.
        auto* colours = static_cast<X256ColorTableEdit*>(edit->GetPage(X256Edit::kColorTablePage));
        const uint8_t red[3] = {255, 0, 0};
        colours->SetEntry(7, red);
        EXPECT_EQ(edit->GetCollection().palette[21], 255);

        // Dropped image files are added; with Control held they replace the selection.
        MediaFile png(game.Path() + "dropped.png");
        ASSERT_TRUE(CreateImage(png.image, 5, 4, kPixelPaletted));
        SetPalette(png.image, 1, red);
        ASSERT_TRUE(SaveImage(png).ok());
        EXPECT_TRUE(bitmaps->OnFilesDropped({png.path}));
        ui.step();
        EXPECT_EQ(bitmaps->CountLabel(), "  5 Bitmaps:");
        EXPECT_EQ(edit->GetCollection().bitmaps.back()->name, "dropped");

        // Everything undone: the bytes of the loaded collection.
        while (edit->Undo()) {}
        ui.step();
        EXPECT_EQ(Bytes(edit->GetCollection()), original);
        EXPECT_FALSE(edit->IsModified());
        while (edit->Redo()) {}
        EXPECT_EQ(edit->GetCollection().flags, 8u);
        EXPECT_TRUE(edit->IsModified());

        key('S', kModCtrl);
        ui.step();
        EXPECT_FALSE(edit->IsModified());
        opener->Close();
        edit->Close();
        ui.step(2);
    });
    // Reopened: the saved flags in the header, the bitmaps as saved.
    Result<std::vector<uint8_t>> payload = ReadCurrentTagData(Codex::Instance(), record);
    ASSERT_TRUE(payload.ok());
    Result<std::unique_ptr<Collection>> read =
        ReadCollection(*payload, Codex::Instance().CurrentEntry(record)->header.user, true);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ((*read)->flags, 8u);
    EXPECT_EQ((*read)->BitmapCount(), 6);
}

namespace {

Point RowPoint(const ListWindow* list, RowId id) {
    const Rect cell = list->CellRect(list->FindItem(id), X256BitmapBrowser::kColumnName);
    return {cell.left + 20, (cell.top + cell.bottom) / 2};
}

Point CellPoint(const GridWindow* grid, int index) {
    const Rect picture = grid->PictureRect(index);
    return {grid->Client().left + (picture.left + picture.right) / 2, grid->Client().top + (picture.top + picture.bottom) / 2};
}

// The labels of a menu's items ("-" for a separator), "(off)" after disabled ones.
std::vector<std::string> Items(const Menu* menu) {
    std::vector<std::string> labels;
    for (Window* w = menu ? menu->FirstChild() : nullptr; w; w = w->NextSibling()) {
        const auto* item = dynamic_cast<const MenuItem*>(w);
        if (!item) continue;
        labels.push_back(item->IsSeparator() ? "-" : std::string(item->GetName()) + (item->IsEnabled() ? "" : " (off)"));
    }
    return labels;
}

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(X256Edit, ContextMenusExportsAndTheKeptGridZoom) {
    ScratchGame game;
    Preferences::Instance().Clear();
    Preferences::Instance().SetPath(game.Path() + "prefs.txt");
    SetTagEditorFactory(kCollectionGroupCode, &X256Edit::Create);
    const std::vector<uint8_t> original = Bytes(*Sprites());
    TagRecord* record = MakeLooseTag("sprites", std::string(original.begin(), original.end()), kCollectionGroupCode);
    ASSERT_NE(record, nullptr);
    const std::string byNumber = game.Path() + "by number", byName = game.Path() + "by name";
    ASSERT_TRUE(std::filesystem::create_directory(byNumber) && std::filesystem::create_directory(byName));

    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([&](UiTestDriver& ui) {
        auto* edit = dynamic_cast<X256Edit*>(OpenTagEditor(record));
        ASSERT_NE(edit, nullptr);
        ui.step(2);
        X256BitmapBrowser* bitmaps = Page(edit, X256Edit::kBitmapsPage);
        ListWindow* list = bitmaps->List();

        // Table view, one row right-clicked: it is selected and may be renamed.
        ui.click(RowPoint(list, 2), 1);
        ASSERT_NE(ui.find("Popup Menu"), nullptr);
        EXPECT_EQ(Items(static_cast<Menu*>(ui.find("Popup Menu"))),
                  (std::vector<std::string>{"Selected Bitmap", "All Bitmaps", "-", "Add Bitmap(s) from File(s)",
                                            "Add Bitmap(s) from Plate"}));
        auto* selected = static_cast<MenuItem*>(ui.find("Popup Menu/Selected Bitmap"));
        ui.moveTo(UiTestDriver::center(selected));
        ASSERT_TRUE(selected->Submenu() && selected->Submenu()->IsVisible());
        EXPECT_EQ(Items(selected->Submenu()),
                  (std::vector<std::string>{"Rename", "Export", "Export Alpha", "Export Plate", "Export Alpha Plate", "-",
                                            "Replace", "Replace Alpha", "Replace from Plate", "Replace Alpha from Plate",
                                            "-", "Remove Alpha", "Format", "Crop Transparency", "Uncrop Transparency",
                                            "-", "Delete"}));
        auto* format = static_cast<MenuItem*>(ui.find("Popup Menu/Selected Bitmap/Format"));
        ASSERT_NE(format, nullptr);
        EXPECT_EQ(Items(format->EnsureSubmenu()), (std::vector<std::string>{"Convert to RLE", "Convert to RAW"}));
        // "Rename" edits the name in place.
        ui.click(UiTestDriver::center(ui.find("Popup Menu/Selected Bitmap/Rename")));
        ui.step();
        ui.type("tiny\n");
        ui.step();
        EXPECT_EQ(edit->GetCollection().bitmaps[2]->name, "tiny");
        EXPECT_EQ(list->CellText(list->FindItem(2), X256BitmapBrowser::kColumnName), "tiny");
        WS().SetFocus(edit, kFocusByProgram);
        ui.key('Z', kModCtrl);
        ui.step(2);
        EXPECT_EQ(edit->GetCollection().bitmaps[2]->name, "small");
        EXPECT_FALSE(edit->IsModified());

        // Two rows: the plural heading, Rename off. Below the rows nothing is selected.
        list->SelectListItem(list->FindItem(0), true);
        ui.click(RowPoint(list, 0), 1);
        auto* several = static_cast<MenuItem*>(ui.find("Popup Menu/Selected Bitmaps"));
        ASSERT_NE(several, nullptr);
        EXPECT_EQ(Items(several->EnsureSubmenu()).front(), "Rename (off)");
        ui.key(kKeyEscape);
        ui.step();
        ui.click({list->Client().left + 40, list->Client().bottom - 5}, 1);
        EXPECT_EQ(Items(static_cast<Menu*>(ui.find("Popup Menu"))).front(), "Selected Bitmaps (off)");
        auto* all = static_cast<MenuItem*>(ui.find("Popup Menu/All Bitmaps"));
        ASSERT_NE(all, nullptr);
        EXPECT_EQ(Items(all->EnsureSubmenu()).front(), "Export");  // no Rename for all

        // "All Bitmaps" > "Export": a folder and a naming mode; first by number.
        SetPrefString("LastImageFolderPath", byNumber);
        SetPrefInt("LastImageFolderFormat", 1);
        SetPrefInt("BitmapImportMappingMode", 0);
        ui.moveTo(UiTestDriver::center(all));
        ui.click(UiTestDriver::center(ui.find("Popup Menu/All Bitmaps/Export")));
        ui.step();
        auto* mode = dynamic_cast<ComboBox*>(ui.find("Choose a destination folder/Mode:"));
        ASSERT_NE(mode, nullptr);
        EXPECT_EQ(mode->GetSelectedItem(), 0);
        ui.key(kKeyEnter);
        ui.step(2);
        EXPECT_EQ(FilesIn(byNumber), (std::vector<std::string>{"bitmap #0000.png", "bitmap #0001.png",
                                                               "bitmap #0002.png", "bitmap #0003.png"}));
        // Then by name, chosen in the box and remembered.
        SetPrefString("LastImageFolderPath", byName);
        ui.click({list->Client().left + 40, list->Client().bottom - 5}, 1);
        ui.moveTo(UiTestDriver::center(ui.find("Popup Menu/All Bitmaps")));
        ui.click(UiTestDriver::center(ui.find("Popup Menu/All Bitmaps/Export")));
        ui.step();
        mode = dynamic_cast<ComboBox*>(ui.find("Choose a destination folder/Mode:"));
        ASSERT_NE(mode, nullptr);
        ui.click(UiTestDriver::center(mode->Button()));
        ui.click({mode->List()->Client().left + 20, mode->List()->Client().top + mode->List()->RowHeight() * 3 / 2});
        EXPECT_EQ(mode->GetSelectedItem(), 1);
        ui.key(kKeyEnter);
        ui.step(2);
        EXPECT_EQ(FilesIn(byName), (std::vector<std::string>{"edge.png", "raw64.png", "rle64.png", "small.png"}));
        int remembered = -1;
        EXPECT_TRUE(GetPrefInt("BitmapImportMappingMode", remembered) && remembered == 1);
        MediaFile exported(byName + "/small.png");
        ASSERT_TRUE(LoadImage(exported).ok());
        EXPECT_EQ(exported.image.width, 30);
        EXPECT_EQ(exported.image.height, 20);

        // The grid of the shadow page: a right-clicked cell is selected; the headings
        // name shadows. Zooming in is kept for the next editor.
        edit->Tabs()->SelectTab(X256Edit::kShadowsPage);
        X256BitmapBrowser* shadows = Page(edit, X256Edit::kShadowsPage);
        shadows->SwitchView();
        ui.step(2);
        ui.click(CellPoint(shadows->Grid(), 0), 1);
        EXPECT_EQ(Items(static_cast<Menu*>(ui.find("Popup Menu"))),
                  (std::vector<std::string>{"Selected Shadow", "All Shadows", "-", "Add Shadow(s) from File(s)",
                                            "Add Bitmap(s) from Plate"}));
        ui.key(kKeyEscape);
        ui.step();
        EXPECT_EQ(shadows->SelectedBitmaps().size(), 1u);
        const double zoom = shadows->Grid()->Zoom();
        WS().SetFocus(shadows->Grid(), kFocusByProgram);
        ui.key('=', kModCtrl);
        ui.key('=', kModCtrl);
        const double zoomed = shadows->Grid()->Zoom();
        EXPECT_GT(zoomed, zoom);
        ui.screenshot("x256-shadow-grid.ppm");
        // A double-clicked cell opens its bitmap; the bitmap and hue-change windows
        // close with the editor.
        ui.doubleClick(CellPoint(shadows->Grid(), 0));
        ui.step(2);
        const std::string shadowName = shadows->Items()[0]->name;
        ASSERT_NE(edit->BitmapWindowOf(shadows->Items()[0].get()), nullptr);
        static_cast<X256HueBrowser*>(edit->GetPage(X256Edit::kHueChangesPage))->OpenEditor(0);
        ui.step(2);
        ASSERT_NE(ui.find("Hue Change: team"), nullptr);
        edit->Close();
        ui.step(2);
        EXPECT_EQ(ui.find("Hue Change: team"), nullptr);
        EXPECT_EQ(ui.find(shadowName), nullptr);
        double kept = 0;
        EXPECT_TRUE(GetPrefReal(X256BitmapBrowser::kZoomPreference, kept) && kept == zoomed);
        edit = dynamic_cast<X256Edit*>(OpenTagEditor(record));
        ASSERT_NE(edit, nullptr);
        ui.step(2);
        EXPECT_EQ(Page(edit, X256Edit::kBitmapsPage)->Grid()->Zoom(), zoomed);
        EXPECT_EQ(Page(edit, X256Edit::kShadowsPage)->Grid()->Zoom(), zoomed);
        edit->Close();
        ui.step(2);
    });
}
