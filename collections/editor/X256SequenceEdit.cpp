#include "collections/editor/X256SequenceEdit.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "collections/SequenceLayout.h"
#include "collections/editor/BitmapPictures.h"
#include "collections/editor/X256Edit.h"
#include "collections/editor/X256SequenceCommands.h"
#include "collections/editor/X256SequenceFrameEdit.h"
#include "collections/editor/X256SequenceGrid.h"
#include "collections/editor/X256Text.h"
#include "ui/WindowSystem.h"
#include "ui/choosers/ChooserControls.h"
#include "ui/widgets/Button.h"
#include "ui/widgets/CheckBox.h"
#include "ui/widgets/ComboBox.h"
#include "ui/widgets/Menu.h"
#include "ui/widgets/MessageBoxWindow.h"
#include "ui/widgets/TextBox.h"

namespace tamber::collections::editor {
using namespace tamber::ui::choosers;
using namespace tamber::ui::widgets;

namespace {

constexpr uint32_t kStyle = (kStyleDocument | kStyleFocusable) & ~kStyleVisible;
constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kMargin = 10;
constexpr int kRow = 28;
constexpr int kLabelWidth = 112;
constexpr int kFieldWidth = 64;
constexpr int kColumnWidth = 190;
constexpr int kGridTop = kMargin + 5 * kRow + 8;
constexpr int kMinGridHeight = 120;
constexpr uint32_t kNoSound = 0xFFFFFFFF;

int LeadingNumber(const std::string& text) { return int(std::strtol(text.c_str(), nullptr, 10)); }

std::string SoundText(uint32_t tagid) {
    if (tagid == kNoSound) return "";
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) text += char((tagid >> shift) & 0xFF);
    return text;
}

// A tagid typed as up to four characters, padded with blanks; none when empty.
uint32_t SoundFromText(std::string text) {
    if (text.empty()) return kNoSound;
    text.resize(4, ' ');
    uint32_t tagid = 0;
    for (char c : text) tagid = tagid << 8 | uint8_t(c);
    return tagid;
}

CheckBox* MakeCheckBox(Window* parent, const char* label, int x, int y, uint32_t id = 0) {
    auto* box = new CheckBox(parent, id);
    box->SetName(label);
    box->SizeToFit();
    box->SetFrameXYWH(x, y, box->Frame().Width(), box->Frame().Height());
    return box;
}

constexpr const char* kCellFlagLabels[X256SequenceEdit::kCellFlagCount] = {"Horz. Mirror", "Vert. Mirror",
                                                                           "Bitmap Is 3D", "Shadow Is Light"};
constexpr uint32_t kCellFlagBits[X256SequenceEdit::kCellFlagCount] = {kViewMirrorH, kViewMirrorV, kView3D, 1};

}  // namespace

X256SequenceEdit::X256SequenceEdit(X256Edit& editor, int index)
    : Window(kStyle, nullptr), editor_(editor, this), index_(index), pictures_(std::make_unique<BitmapPictures>()) {
    editor.AddSequenceWindow(this, index);
    auto field = [&](Field which, const char* label, int column, int row, bool sound = false) {
        const int x = kMargin + column * kColumnWidth, y = kMargin + row * kRow;
        MakeLabel(this, label, x, y, kLabelWidth, kRow);
        auto* box = new TextBox(sound ? TextBox::kModeTextField : TextBox::kModeInteger, this);
        box->SetName(label);
        if (sound) box->SetMaxLength(4);
        box->SetFrameXYWH(x + kLabelWidth, y + 3, kFieldWidth, kRow - 6);
        box->changed.Connect(this, &X256SequenceEdit::OnFieldChanged);
        fields_[which] = box;
    };
    field(kFrames, "Frames:", 0, 0);
    field(kViews, "Views:", 1, 0);
    field(kTicks, "Ticks per Frame:", 2, 0);
    field(kKeyFrame, "Key Frame:", 3, 0);
    field(kLoopFrame, "Loop Frame:", 0, 1);
    field(kTransferPeriod, "Transfer Period:", 1, 1);
    MakeLabel(this, "Mode:", kMargin + 2 * kColumnWidth, kMargin + kRow, 50, kRow);
    mode_ = new ComboBox(this, 0);
    mode_->SetName("Mode:");
    for (const SequenceMode& mode : SequenceModes()) mode_->AddItem(mode.name);
    mode_->SetFrameXYWH(kMargin + 2 * kColumnWidth + 50, kMargin + kRow + 3, 120, kRow - 6);
    mode_->itemChosen.Connect(this, &X256SequenceEdit::OnModeChosen);
    field(kFirstSound, "First Sound Tag:", 0, 2, true);
    field(kKeySound, "Key Sound Tag:", 1, 2, true);
    field(kLastSound, "Last Sound Tag:", 2, 2, true);
    const int flagsY = kMargin + 3 * kRow + 4;
    mirroring_ = MakeCheckBox(this, "Use Mirroring", kMargin, flagsY);
    noRotation_ = MakeCheckBox(this, "No Rotation", kMargin + kColumnWidth, flagsY);
    mirroring_->clicked.Connect(this, &X256SequenceEdit::OnSequenceFlagClicked);
    noRotation_->clicked.Connect(this, &X256SequenceEdit::OnSequenceFlagClicked);
    for (int flag = 0; flag < kCellFlagCount; ++flag) {
        const int x = kMargin + flag * kColumnWidth, y = flagsY + kRow;
        cellFlags_[size_t(flag)] = MakeCheckBox(this, kCellFlagLabels[flag], x, y, uint32_t(flag));
        cellFlags_[size_t(flag)]->clickedWithId.Connect(this, &X256SequenceEdit::OnCellFlagClicked);
        const int right = cellFlags_[size_t(flag)]->Frame().right - Frame().left;
        mixedLabels_[size_t(flag)] = MakeLabel(this, "(mixed)", right + 4, y - 4, 60, kRow);
    }
    frameView_ = new Button(this, 0);
    frameView_->SetName("Frame View");
    frameView_->SizeToFit();
    frameView_->SetFrameXYWH(kMargin + 3 * kColumnWidth, kMargin + 2 * kRow + 2, 120, frameView_->Frame().Height());
    frameView_->clicked.Connect(this, &X256SequenceEdit::OpenFrameEditor);
    grid_ = new X256SequenceGrid(*editor_, *pictures_, this);
    grid_->selectionChanged.Connect(this, &X256SequenceEdit::RefreshCellFlags);
    grid_->contextClick.Connect(this, &X256SequenceEdit::OnGridContext);
    grid_->SetSequence(index);
    editor.sequencesChanged.Connect(this, &X256SequenceEdit::OnSequencesChanged);
    SetFrameXYWH(0, 0, kWidth, kHeight);
    Refresh();
    CenterInParent();
    SetVisible(true);
    BringToFront();
    WS().SetFocus(this, kFocusByProgram);
}

X256SequenceEdit::~X256SequenceEdit() = default;

void X256SequenceEdit::OnClose() { editor_.Release(); }

bool X256SequenceEdit::OnKey(Event& event) {
    return editor_.HandleUndoKeys(event) || Window::OnKey(event);
}

void X256SequenceEdit::OnResize() {
    grid_->SetFrameXYWH(kMargin, kGridTop, Client().Width() - 2 * kMargin, Client().Height() - kGridTop - kMargin);
}

// The four columns of controls, and a few rows of the grid.
void X256SequenceEdit::GetMinimumSize(Point& out) {
    Window::GetMinimumSize(out);
    out.x += 2 * kMargin + 4 * kColumnWidth;
    out.y += kGridTop + kMinGridHeight + kMargin;
}

const Sequence* X256SequenceEdit::Shown() const {
    if (!editor_ || index_ >= editor_->GetCollection().SequenceCount()) return nullptr;
    return &editor_->GetCollection().sequences[size_t(index_)];
}

std::vector<ViewCell> X256SequenceEdit::SelectedViews() const {
    std::vector<ViewCell> cells;
    for (const auto& cell : grid_->Selection())
        if (cell.column > 0) cells.push_back({cell.frame, cell.column - 1});
    return cells;
}

bool X256SequenceEdit::Edit(const void* key, const std::function<bool(Sequence&)>& edit, uint32_t kinds) {
    if (refreshing_ || !Shown()) return false;
    const int index = index_;
    return editor_->Change(
        kChangeSequences | kinds, [&](Collection& collection) { return edit(collection.sequences[size_t(index)]); },
        reinterpret_cast<uintptr_t>(key));
}

void X256SequenceEdit::OnSequencesChanged() {
    // A sequence removed by an undo takes its window with it.
    if (!Shown()) {
        Close();
        return;
    }
    grid_->Rebuild();
    Refresh();
}

void X256SequenceEdit::Refresh() {
    const Sequence* sequence = Shown();
    if (!sequence) return;
    refreshing_ = true;
    SetName(Printf("Sequence: %s", sequence->name.c_str()).c_str());
    const SequenceHeader& h = sequence->header;
    auto number = [&](Field field, int value) {
        const std::string& text = fields_[field]->Text();
        if (text.empty() || LeadingNumber(text) != value) fields_[field]->SetText(std::to_string(value));
    };
    number(kFrames, int(sequence->frames.size()));
    number(kViews, h.viewCount);
    number(kTicks, h.ticksPerFrame);
    number(kKeyFrame, h.keyFrame);
    number(kTransferPeriod, h.transferPeriod);
    number(kLoopFrame, h.loopFrame);
    auto sound = [&](Field field, uint32_t tagid) {
        if (SoundFromText(fields_[field]->Text()) != tagid) fields_[field]->SetText(SoundText(tagid));
    };
    sound(kFirstSound, h.firstSound);
    sound(kKeySound, h.keySound);
    sound(kLastSound, h.lastSound);
    int item = -1;
    for (size_t i = 0; i < SequenceModes().size(); ++i)
        if (SequenceModes()[i].code == h.mode) item = int(i);
    mode_->SelectItem(item);
    mirroring_->SetChecked(h.flags & kSequenceMirroring);
    noRotation_->SetChecked(h.flags & kSequenceNoRotation);
    refreshing_ = false;
    RefreshCellFlags();
}

bool X256SequenceEdit::IsCellFlagMixed(CellFlag flag) const {
    const Sequence* sequence = Shown();
    if (!sequence) return false;
    int on = 0, count = 0;
    for (const auto& cell : grid_->Selection()) {
        const collections::Frame& frame = sequence->frames[size_t(cell.frame)];
        if ((flag == kShadowLight) != (cell.column == 0) || (cell.column > 0 && size_t(cell.column - 1) >= frame.views.size()))
            continue;
        const uint32_t flags = cell.column == 0 ? frame.shadow.flags : frame.views[size_t(cell.column - 1)].flags;
        on += (flags & kCellFlagBits[flag]) != 0;
        ++count;
    }
    return on > 0 && on < count;
}

void X256SequenceEdit::RefreshCellFlags() {
    const Sequence* sequence = Shown();
    if (!sequence) return;
    refreshing_ = true;
    for (int flag = 0; flag < kCellFlagCount; ++flag) {
        // A box shows its bit set on every selected cell of its kind; a mixed
        // selection shows the box clear with "(mixed)" beside it.
        bool all = true, any = false;
        for (const auto& cell : grid_->Selection()) {
            const collections::Frame& frame = sequence->frames[size_t(cell.frame)];
            if ((flag == kShadowLight) != (cell.column == 0)) continue;
            if (cell.column > 0 && size_t(cell.column - 1) >= frame.views.size()) continue;
            const uint32_t flags = cell.column == 0 ? frame.shadow.flags : frame.views[size_t(cell.column - 1)].flags;
            const bool on = flags & kCellFlagBits[flag];
            all = all && on;
            any = true;
        }
        cellFlags_[size_t(flag)]->SetChecked(any && all);
        any ? cellFlags_[size_t(flag)]->SetFlags(kStyleEnabled) : cellFlags_[size_t(flag)]->ClearFlags(kStyleEnabled);
        mixedLabels_[size_t(flag)]->SetVisible(IsCellFlagMixed(CellFlag(flag)));
    }
    refreshing_ = false;
}

void X256SequenceEdit::OnFieldChanged() {
    const Sequence* shown = Shown();
    if (refreshing_ || !shown) return;
    const SequenceHeader h = shown->header;
    const int frames = int(shown->frames.size());
    auto typed = [&](Field field) { return LeadingNumber(fields_[field]->Text()); };
    const int newFrames = std::max(1, typed(kFrames)), newViews = std::max(1, typed(kViews));
    if (newFrames != frames || newViews != h.viewCount) {
        Edit(fields_[newFrames != frames ? kFrames : kViews], [&](Sequence& s) {
            ResizeSequence(s, newFrames, newViews);
            return true;
        });
    }
    auto word = [&](Field field, uint16_t value, uint16_t SequenceHeader::*member) {
        const int number = std::clamp(typed(field), 0, 0xFFFF);
        if (number != value)
            Edit(fields_[field], [&](Sequence& s) {
                s.header.*member = uint16_t(number);
                return true;
            });
    };
    word(kTicks, h.ticksPerFrame, &SequenceHeader::ticksPerFrame);
    word(kKeyFrame, h.keyFrame, &SequenceHeader::keyFrame);
    word(kTransferPeriod, h.transferPeriod, &SequenceHeader::transferPeriod);
    word(kLoopFrame, h.loopFrame, &SequenceHeader::loopFrame);
    auto sound = [&](Field field, uint32_t value, uint32_t SequenceHeader::*member) {
        const uint32_t tagid = SoundFromText(fields_[field]->Text());
        if (tagid != value)
            Edit(fields_[field], [&](Sequence& s) {
                s.header.*member = tagid;
                return true;
            });
    };
    sound(kFirstSound, h.firstSound, &SequenceHeader::firstSound);
    sound(kKeySound, h.keySound, &SequenceHeader::keySound);
    sound(kLastSound, h.lastSound, &SequenceHeader::lastSound);
    // Values the sequence cannot take (0 frames) show what it stored.
    Refresh();
}

void X256SequenceEdit::OnModeChosen(int item) {
    if (item < 0 || size_t(item) >= SequenceModes().size()) return;
    const uint16_t code = SequenceModes()[size_t(item)].code;
    Edit(nullptr, [&](Sequence& s) {
        if (s.header.mode == code) return false;
        s.header.mode = code;
        return true;
    });
}

void X256SequenceEdit::OnSequenceFlagClicked() {
    const bool mirroring = mirroring_->GetButtonState() == Button::kOn;
    const bool noRotation = noRotation_->GetButtonState() == Button::kOn;
    Edit(nullptr, [&](Sequence& s) { return SetSequenceFlags(s, mirroring, noRotation); });
    Refresh();
}

void X256SequenceEdit::OnCellFlagClicked(int flag) {
    const bool on = cellFlags_[size_t(flag)]->GetButtonState() == Button::kOn;
    const uint32_t bit = kCellFlagBits[flag];
    const auto selection = grid_->Selection();
    Edit(nullptr, [&](Sequence& s) {
        bool changed = false;
        for (const auto& cell : selection) {
            if ((flag == kShadowLight) != (cell.column == 0)) continue;
            collections::Frame& frame = s.frames[size_t(cell.frame)];
            if (cell.column > 0 && size_t(cell.column - 1) >= frame.views.size()) continue;
            uint32_t& flags = cell.column == 0 ? frame.shadow.flags : frame.views[size_t(cell.column - 1)].flags;
            const uint32_t next = on ? flags | bit : flags & ~bit;
            changed = changed || next != flags;
            flags = next;
        }
        return changed;
    });
    RefreshCellFlags();
}

void X256SequenceEdit::OnGridContext(Point point) {
    const bool views = !SelectedViews().empty();
    const bool cells = !grid_->Selection().empty();
    auto* menu = new Menu(false);
    MenuItem* import = AddMenuItem(menu, "Bitmap Import", nullptr, 0, cells);
    AddMenuItem(menu, "Assign views, then frames", import, kImportViewsThenFrames, true);
    AddMenuItem(menu, "Assign frames, then views", import, kImportFramesThenViews, true);
    AddMenuItem(menu, "From Plate", import, kImportPlate, true);
    MenuItem* alpha = AddMenuItem(menu, "Alpha Import", nullptr, 0, cells);
    AddMenuItem(menu, "Assign views, then frames", alpha, kAlphaViewsThenFrames, true);
    AddMenuItem(menu, "Assign frames, then views", alpha, kAlphaFramesThenViews, true);
    AddMenuItem(menu, "From Plate", alpha, kAlphaPlate, true);
    MenuItem* exports = AddMenuItem(menu, "Export", nullptr, 0, cells);
    AddMenuItem(menu, "Bitmaps", exports, kExportBitmaps, true);
    AddMenuItem(menu, "Bitmap Plate", exports, kExportBitmapPlate, true);
    AddMenuItem(menu, "Alphas", exports, kExportAlphas, true);
    AddMenuItem(menu, "Alpha Plate", exports, kExportAlphaPlate, true);
    MenuItem* reg = AddMenuItem(menu, "Registration Point", nullptr, 0, views);
    AddMenuItem(menu, "Copy", reg, kCopyRegPoint, SelectedViews().size() == 1);
    AddMenuItem(menu, "Paste", reg, kPasteRegPoint, copiedPoint_.has_value());
    AddMenuItem(menu, "Paste X", reg, kPasteRegX, copiedPoint_.has_value());
    AddMenuItem(menu, "Paste Y", reg, kPasteRegY, copiedPoint_.has_value());
    AddSeparator(menu, reg);
    AddMenuItem(menu, "Set...", reg, kSetRegPoint, true);
    AddMenuItem(menu, "Offset...", reg, kOffsetRegPoints, true);
    AddSeparator(menu, reg);
    AddMenuItem(menu, "Centre", reg, kPlaceCentre, true);
    AddMenuItem(menu, "Bottom Centre", reg, kPlaceBottomCentre, true);
    AddMenuItem(menu, "Top Centre", reg, kPlaceTopCentre, true);
    const int command = PopupMenu(menu, point);
    menu->Close();
    if (command > 0) RunCommand(command);
}

void X256SequenceEdit::OpenFrameEditor() {
    if (!Shown()) return;
    const std::vector<ViewCell> cells = SelectedViews();
    const ViewCell at = cells.empty() ? ViewCell{} : cells[0];
    new X256SequenceFrameEdit(*editor_, index_, at.frame, at.view);
}

std::optional<RegPoint> X256SequenceEdit::AskPoint(const char* title, RegPoint initial) {
    std::string text = Printf("%d, %d", initial.x, initial.y);
    if (MessageBoxWithInput(title, text, {"OK", "Cancel"}) != 0) return std::nullopt;
    RegPoint point;
    if (std::sscanf(text.c_str(), "%d , %d", &point.x, &point.y) != 2) return std::nullopt;
    return point;
}

void X256SequenceEdit::RunCommand(int command) {
    if (command >= kImportViewsThenFrames) {
        RunSequenceCellCommand(*this, command);
        return;
    }
    const Sequence* sequence = Shown();
    const std::vector<ViewCell> cells = SelectedViews();
    if (!sequence || cells.empty()) return;
    const int set = editor_->DisplaySet();
    auto apply = [&](const std::function<int(Sequence&)>& change) {
        Edit(nullptr, [&](Sequence& s) { return change(s) > 0; });
    };
    switch (command) {
    case kCopyRegPoint: copiedPoint_ = RegPointOf(*sequence, cells[0], set); break;
    case kPasteRegPoint:
    case kPasteRegX:
    case kPasteRegY: {
        if (!copiedPoint_) return;
        const RegAxes axes = command == kPasteRegX ? RegAxes::X : command == kPasteRegY ? RegAxes::Y : RegAxes::Both;
        apply([&](Sequence& s) { return PasteRegPoint(s, cells, *copiedPoint_, axes, set); });
        break;
    }
    case kSetRegPoint: {
        const std::optional<RegPoint> point = AskPoint("Enter Registration Point (x, y)",
                                                       RegPointOf(*sequence, cells[0], set).value_or(RegPoint{}));
        if (point) apply([&](Sequence& s) { return PasteRegPoint(s, cells, *point, RegAxes::Both, set); });
        break;
    }
    case kOffsetRegPoints: {
        const std::optional<RegPoint> offset = AskPoint("Enter Registration Point Offset (x, y)", {});
        if (offset) apply([&](Sequence& s) { return OffsetRegPoints(s, cells, offset->x, offset->y, set); });
        break;
    }
    case kPlaceCentre:
    case kPlaceBottomCentre:
    case kPlaceTopCentre: {
        const RegPreset preset = command == kPlaceCentre         ? RegPreset::Centre
                                 : command == kPlaceTopCentre    ? RegPreset::TopCentre
                                                                 : RegPreset::BottomCentre;
        apply([&](Sequence& s) { return PlaceRegPoints(s, cells, preset, set); });
        break;
    }
    default: break;
    }
}

}  // namespace tamber::collections::editor
