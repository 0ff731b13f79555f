#include "ui/choosers/WidgetGallery.h"

#include <algorithm>
#include <cstdio>

#include "ui/DrawBatch.h"
#include "ui/Skin.h"
#include "ui/WindowSystem.h"
#include "ui/choosers/ChooserControls.h"
#include "ui/choosers/FileDialogs.h"
#include "ui/widgets/Button.h"
#include "ui/widgets/CheckBox.h"
#include "ui/widgets/ColorBar.h"
#include "ui/widgets/ColorButton.h"
#include "ui/widgets/ComboBox.h"
#include "ui/widgets/GridWindow.h"
#include "ui/widgets/ListWindow.h"
#include "ui/widgets/Menu.h"
#include "ui/widgets/MenuItem.h"
#include "ui/widgets/MessageBoxWindow.h"
#include "ui/widgets/ScrollableWindow.h"
#include "ui/widgets/SplitterWindow.h"
#include "ui/widgets/TabWindow.h"
#include "ui/widgets/TextBox.h"

namespace tamber::ui::choosers {
using namespace tamber::ui::widgets;

namespace {

constexpr int kMargin = 12;
constexpr int kGap = 8;
constexpr int kRowSpacing = 27;
constexpr int kLeftWidth = 330;
constexpr int kCaptionWidth = 96;
constexpr int kResultsHeight = 96;
constexpr int kMenuFile = 100;
constexpr int kMenuChoosers = 101;
constexpr int kMenuMore = 102;

WidgetGallery* theGallery = nullptr;

// A large checkered picture in a scrollable area.
class ScrollPicture : public ScrollableWindow {
public:
    static constexpr int kWidth = 1200, kHeight = 900, kSquare = 40;
    explicit ScrollPicture(Window* parent) : ScrollableWindow(kStyleControl, parent) { SetLineStep(kSquare / 2); }
    const char* GetClassName() const override { return "ScrollPicture"; }
    void OnResize() override {
        ScrollableWindow::OnResize();
        SetScrollRange(kVertical, kHeight, Client().Height());
        SetScrollRange(kHorizontal, kWidth, Client().Width());
    }
    void OnVerticalScroll(int32_t, int32_t) override { InvalidateClient(); }
    void OnHorizontalScroll(int32_t) override { InvalidateClient(); }
    void Draw() override {
        int dx = Position(kHorizontal), dy = Position(kVertical);
        for (int y = (dy / kSquare) * kSquare; y < dy + Client().Height(); y += kSquare) {
            for (int x = (dx / kSquare) * kSquare; x < dx + Client().Width(); x += kSquare) {
                bool dark = ((x / kSquare) + (y / kSquare)) % 2 != 0;
                SetDrawColor(dark ? 90 : 200, dark ? 110 : 210, dark ? 140 : 225, 255);
                Skin::FillRect({x - dx, y - dy, x - dx + kSquare, y - dy + kSquare});
            }
        }
    }
};

struct SampleRow {
    const char* name;
    const char* kind;
    int size;
    int parent;  // index of the parent row, -1 at the top
};

constexpr SampleRow kSampleRows[] = {
    {"Archives", "folder", 0, -1},    {"foundation.arc", "archive", 48211, 0}, {"patch.arc", "archive", 1024, 0},
    {"Collections", "folder", 0, -1}, {"interface.col", "collection", 9120, 3}, {"walls.col", "collection", 70234, 3},
    {"Sounds", "folder", 0, -1},      {"door.snd", "sound", 3310, 6},          {"readme.txt", "text", 512, -1},
};

// The sample rows' cells; a row's id is its index in kSampleRows.
class SampleRowsModel : public ListModel {
public:
    CellValue Cell(RowId row, int column) const override {
        if (row >= std::size(kSampleRows)) return {};
        const SampleRow& sample = kSampleRows[row];
        if (column == 0) return CellValue::Text(sample.name);
        if (column == 1) return CellValue::Text(sample.kind);
        return CellValue::Number(sample.size, sample.size ? std::to_string(sample.size) : std::string());
    }
};

const SampleRowsModel kSampleModel;

// The grid's items: "Item n" under a swatch of its own shade.
class SampleCellsModel : public ListModel {
public:
    CellValue Cell(RowId row, int column) const override {
        return column == 0 ? CellValue::Text("Item " + std::to_string(row + 1)) : CellValue{};
    }
    void DrawPicture(RowId row, int, const Rect& rect) const override {
        const uint8_t shade = uint8_t(64 + (row * 37) % 160);
        SetDrawColor(shade, uint8_t(255 - shade), 160, 255);
        Skin::FillRect({rect.left + 8, rect.top + 8, rect.right - 8, rect.bottom - 8});
    }
};

const SampleCellsModel kSampleCells;

ListWindow* MakeSampleList(Window* parent) {
    auto* list = new ListWindow(ListWindow::kHeaderRow | ListWindow::kMultipleSelection, kStyleControl, parent);
    list->SetName("List");
    list->SetModel(&kSampleModel);
    list->AddColumn("Name", CellType::kText, 170);
    list->AddColumn("Kind", CellType::kText, 90);
    list->AddColumn("Size", CellType::kNumber, 70);
    std::vector<ListWindow::ListItem*> items;
    for (size_t i = 0; i < std::size(kSampleRows); ++i) {
        const SampleRow& row = kSampleRows[i];
        ListWindow::ListItem* parentItem = row.parent >= 0 ? items[size_t(row.parent)] : nullptr;
        items.push_back(list->AddListItem(parentItem, RowId(i), 0, row.name));
    }
    list->ExpandItem(items[0]);
    list->ExpandItem(items[3]);
    return list;
}

TextBox* MakeText(int mode, Window* parent, const char* name, const std::string& text) {
    auto* box = new TextBox(mode, parent);
    box->SetName(name);
    box->SetText(text);
    return box;
}

}  // namespace

WidgetGallery::WidgetGallery() : Window(kStyleDocument, nullptr) {
    SetName("Widget Gallery");
    SetFrameXYWH(40, 40, 800, 660);
    BuildControls();
    BuildPages();
    OnResize();
}

WidgetGallery* WidgetGallery::Get(bool create) {
    if (!theGallery && create) theGallery = new WidgetGallery();
    return theGallery;
}

void WidgetGallery::OnClose() {
    if (theGallery == this) theGallery = nullptr;
}

void WidgetGallery::BuildControls() {
    // The bar lives in the gallery rather than across the top of the screen.
    auto* bar = new Menu(true);
    bar->ClearFlags(kStyleUpperLayer);
    bar->SetParent(this);
    MenuItem* file = AddMenuItem(bar, "File", nullptr, kMenuFile, true);
    MenuItem* choosers = AddMenuItem(bar, "Choosers", nullptr, kMenuChoosers, true);
    AddMenuItem(bar, "Open Image...", choosers, kOpenFile, true);
    AddMenuItem(bar, "Open Several Files...", choosers, kOpenFiles, true);
    AddMenuItem(bar, "Save Sound As...", choosers, kSaveFile, true);
    AddMenuItem(bar, "Choose Image Folder...", choosers, kChooseFolder, true);
    AddSeparator(bar, choosers);
    AddMenuItem(bar, "Pick a Color...", choosers, kChooseColor, true);
    MenuItem* more = AddMenuItem(bar, "More", choosers, kMenuMore, true);
    AddMenuItem(bar, "Message Box...", more, kMessageBox, true);
    AddMenuItem(bar, "Disabled Item", more, 0, false);
    AddMenuItem(bar, "Close Gallery", file, kCloseGallery, true);
    bar->chosen.Connect(this, &WidgetGallery::OnMenuChosen);
    menuBar_ = bar;

    bar->Relayout();
    bar->SetFrameXYWH(0, 0, bar->Frame().Width(), bar->Frame().Height());
    const int x0 = kMargin;
    int y = bar->Frame().Height() + kMargin;
    auto* push = new Button(this, 0);
    push->SetName("Push Button");
    push->SizeToFit();
    push->SetFrameXYWH(x0, y, push->Frame().Width() + 16, push->Frame().Height());
    const char* checkNames[] = {"Unchecked", "Checked", "Disabled", "Disabled Checked"};
    for (int i = 0; i < 4; ++i) {
        auto* check = new CheckBox(this, 0);
        check->SetName(checkNames[i]);
        check->SizeToFit();
        check->SetChecked(i % 2 == 1);
        if (i >= 2) check->ClearFlags(kStyleEnabled);
        check->SetFrameXYWH(x0 + (i % 2) * 150, y + kRowSpacing * (1 + i / 2), 140, check->Frame().Height());
    }
    y += 3 * kRowSpacing;

    auto* combo = new ComboBox(this, 0);
    combo->SetName("Drop-down List");
    for (const char* entry : {"Bitmap Image", "PNG Image", "TIFF Image"}) combo->AddItem(entry);
    combo->SelectItem(1);
    auto* editable = new ComboBox(this, ComboBox::kEditable);
    editable->SetName("Editable Combo");
    for (const char* entry : {"Small", "Medium", "Large"}) editable->AddItem(entry);
    editable->SelectItem(0);
    int rowHeight = editable->TextPart()->Frame().Height();
    combo->SetFrameXYWH(x0, y, 160, rowHeight);
    editable->SetFrameXYWH(x0 + 170, y, 160, rowHeight);
    y += kRowSpacing;

    auto* colorButton = new ColorButton(this);
    colorButton_ = colorButton;
    colorButton->SetName("Color Button");
    colorButton->SetColor(0x3C78C8FF);
    colorButton->SetFrameXYWH(x0, y, 42, 20);
    auto* bar2 = new ColorBar(this);
    bar2->SetName("Color Bar");
    bar2->SetHues(8000, 16000, 30000);
    bar2->SetFrameXYWH(x0 + 60, y, kLeftWidth - 60, bar2->Frame().Height());
    y += kRowSpacing + 4;

    struct TextRow {
        const char* caption;
        int mode;
        const char* text;
        int lines = 1;
    };
    const TextRow rows[] = {
        {"Label:", TextBox::kModeLabel, "A plain label"},
        {"Read-only:", TextBox::kModeReadOnly, "Selectable, not editable,\nand scrolls when long.\nThird line.", 2},
        {"Integer:", TextBox::kModeInteger, "42"},
        {"Decimal:", TextBox::kModeDecimal, "3.25"},
        {"Text Field:", TextBox::kModeTextField, "Edit me"},
        {"Long Line:", TextBox::kModeLongLine, "A long line that scrolls sideways when it no longer fits the box"},
    };
    for (const TextRow& row : rows) {
        MakeLabel(this, row.caption, x0, y, kCaptionWidth, rowHeight);
        TextBox* box = MakeText(row.mode, this, row.caption, row.text);
        int boxHeight = rowHeight + (row.lines - 1) * box->RowHeight();
        box->SetFrameXYWH(x0 + kCaptionWidth, y, kLeftWidth - kCaptionWidth, boxHeight);
        y += kRowSpacing + boxHeight - rowHeight;
    }
    MakeLabel(this, "Editor:", x0, y, kCaptionWidth, rowHeight);
    TextBox* editor = MakeText(TextBox::kModeEditor, this, "Editor",
                               "A multi-line editor.\nIt wraps long lines, scrolls, and undoes edits with "
                               "Ctrl+Z.\n\nThird paragraph.\nMore lines\nto make\nthe bar\nscroll.");
    editor->SetFrameXYWH(x0 + kCaptionWidth, y, kLeftWidth - kCaptionWidth, 96);
    leftBottom_ = y + 96;

    // The chooser buttons, each writing its result into the results box.
    const std::pair<const char*, int> buttons[] = {
        {"Open File...", kOpenFile},         {"Open Files...", kOpenFiles},     {"Save File...", kSaveFile},
        {"Choose Folder...", kChooseFolder}, {"Choose Color...", kChooseColor}, {"Show Message Box...", kMessageBox},
    };
    for (const auto& [label, command] : buttons) {
        auto* button = new Button(this, uint32_t(command));
        button->SetName(label);
        button->SizeToFit();
        button->clickedWithId.Connect(this, &WidgetGallery::RunCommand);
        chooserButtons_.push_back(button);
    }
    results_ = MakeText(TextBox::kModeReadOnly, this, "Results", "");
    results_->SetWordWrap(true);
}

void WidgetGallery::BuildPages() {
    auto* tabs = new TabWindow(kStyleVisible | kStyleEnabled, this);
    tabs->SetName("Tabs");
    tabs_ = tabs;
    MakeSampleList(tabs);

    auto* grid = new GridWindow(kStyleControl, tabs);
    grid->SetName("Grid");
    grid->SetZoom(0.75);
    grid->SetModel(&kSampleCells, 0, 1);
    for (int i = 0; i < 14; ++i) grid->AddCell(RowId(i));

    auto* splitter = new SplitterWindow(kStyleVisible | kStyleEnabled, tabs, SplitterWindow::kSideBySide);
    splitter->SetName("Splitter");
    TextBox* left = MakeText(TextBox::kModeReadOnly, nullptr, "Left Pane", "The left pane.\nDrag the bar to resize.");
    TextBox* right = MakeText(TextBox::kModeReadOnly, nullptr, "Right Pane", "The right pane.");
    splitter->SetPanes(left, right);
    splitter->SetMinimums(60, 60);
    // The tabs size their pages later; a size now keeps the position from being clamped.
    splitter->SetFrameXYWH(0, 0, 400, 300);
    splitter->SetSplitPosition(180);

    auto* picture = new ScrollPicture(tabs);
    picture->SetName("Scrolling");
    tabs->SelectTab(0);
}

void WidgetGallery::OnResize() {
    if (!tabs_) return;
    int width = Client().Width(), height = Client().Height();
    static_cast<Menu*>(menuBar_)->Relayout();
    int top = menuBar_->Frame().Height() + kMargin;
    int right = kMargin + kLeftWidth + 2 * kMargin;
    // The chooser buttons in a row above the results.
    int buttonHeight = chooserButtons_.front()->Frame().Height();
    int buttonY = std::max(leftBottom_ + 2 * kGap, height - kMargin - kResultsHeight - kGap - buttonHeight);
    int x = kMargin;
    for (Window* button : chooserButtons_) {
        button->SetFrameXYWH(x, buttonY, button->Frame().Width(), buttonHeight);
        x += button->Frame().Width() + kGap;
    }
    int resultsY = buttonY + buttonHeight + kGap;
    results_->SetFrameXYWH(kMargin, resultsY, width - 2 * kMargin, std::max(40, height - kMargin - resultsY));
    tabs_->SetFrameXYWH(right, top, std::max(100, width - right - kMargin), std::max(100, buttonY - kGap - top));
}

void WidgetGallery::Report(const std::string& line) { results_->AppendText(line + "\n"); }

void WidgetGallery::OnMenuChosen(MenuItem* item) {
    if (item) RunCommand(item->Id());
}

void WidgetGallery::RunCommand(int command) {
    std::string path;
    int format = -1;  // the remembered filter
    switch (command) {
    case kOpenFile:
        if (OpenFileOfKind(kFileKindImage, nullptr, path, &format)) Report("Open: " + path + " (format " + std::to_string(format) + ")");
        else Report("Open: cancelled");
        break;
    case kOpenFiles: {
        std::vector<std::string> paths;
        if (!OpenFilesOfKind(kFileKindAny, nullptr, paths)) {
            Report("Open several: cancelled");
            break;
        }
        for (const std::string& p : paths) Report("Open several: " + p);
        break;
    }
    case kSaveFile:
        path = "untitled.wav";
        if (SaveFileOfKind(kFileKindSound, nullptr, path, &format)) Report("Save: " + path);
        else Report("Save: cancelled");
        break;
    case kChooseFolder:
        if (ChooseFolderOfKind(kFileKindImage, nullptr, path, &format)) Report("Folder: " + path + " (format " + std::to_string(format) + ")");
        else Report("Folder: cancelled");
        break;
    case kChooseColor: {
        ColorButton* button = colorButton_;
        uint32_t color = button ? button->GetColor() : 0xFFFFFFFF;
        uint8_t rgb[3] = {uint8_t(color >> 24), uint8_t(color >> 16), uint8_t(color >> 8)};
        if (OsChooseColor(rgb)) {
            char text[40];
            std::snprintf(text, sizeof text, "Color: %d %d %d", rgb[0], rgb[1], rgb[2]);
            Report(text);
            if (button) button->SetColor(uint32_t(rgb[0]) << 24 | uint32_t(rgb[1]) << 16 | uint32_t(rgb[2]) << 8 | 0xFF);
        } else {
            Report("Color: cancelled");
        }
        break;
    }
    case kMessageBox: {
        int pressed = MessageBox("Gallery Question", "Do you like what you see?", {"Yes", "No", "Cancel"});
        Report("Message box: button " + std::to_string(pressed));
        break;
    }
    case kCloseGallery:
        Close();
        break;
    default:
        break;
    }
}

void ShowWidgetGallery() {
    WidgetGallery* gallery = WidgetGallery::Get(true);
    gallery->SetVisible(true);
    gallery->BringToFront();
}

}  // namespace tamber::ui::choosers
