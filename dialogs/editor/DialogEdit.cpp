#include "dialogs/editor/DialogEdit.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "dialogs/editor/ControlDataDialog.h"
#include "dialogs/editor/DialogValueDialog.h"
#include "dialogs/editor/DialogView.h"
#include "platform/Os.h"
#include "tags/LooseTagFile.h"
#include "ui/RectOps.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/CheckBox.h"
#include "ui/widgets/ListWindow.h"

namespace tamber::dialogs::editor {
using namespace tamber::base;
using namespace tamber::platform;

namespace {

constexpr int kMargin = 8;
constexpr int kKeyMinus = '-';
constexpr int kKeyEquals = '=';

const char* const kHelpRows[] = {"Controls..................", "Ctrl+A to add under mouse", "Delete to remove",
                                 "Ctrl+Drag/Arrow to move",   "Shift+Drag/Arrow to resize", "Ctrl+[+/-] to reorder"};

// The tag holds the dialog's rectangle in 16 bits: values it cannot keep are refused.
bool Fits16(int64_t value) { return value >= INT16_MIN && value <= INT16_MAX; }

std::string Format(const char* format, int a, int b) {
    char text[64];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

}  // namespace

DialogEdit::DialogEdit(TagRecord* record)
    : TagEdit(record),
      list_(new ListWindow(0, kStyleControl, this)),
      view_(new DialogView(this, this)),
      previewBox_(new CheckBox(this, 0)) {
    list_->SetModel(&rows_);
    // Narrower than the list by its scroll bar, so no sideways bar is needed.
    list_->AddColumn("", CellType::kText, kListWidth - 2 * ScrollableWindow::kArrowLength);
    list_->selectionChanged.Connect(this, &DialogEdit::OnListSelection);
    list_->activated.Connect(this, &DialogEdit::OnListActivated);
    previewBox_->SetName("Preview");
    previewBox_->SizeToFit();
    previewBox_->clicked.Connect(this, &DialogEdit::OnPreviewToggled);
    SetFrameXYWH(0, 0, kWidth, kHeight);
    SetFocusChild(view_);
    OnResize();
}

DialogEdit::~DialogEdit() = default;

void DialogEdit::OnResize() {
    const int width = Client().Width();
    const int height = Client().Height();
    const int listHeight = std::max(height - kStripHeight, 0);
    list_->SetFrameXYWH(0, 0, kListWidth, listHeight);
    previewBox_->SetFrameXYWH(kMargin, listHeight + (kStripHeight - previewBox_->Frame().Height()) / 2,
                              previewBox_->Frame().Width(), previewBox_->Frame().Height());
    view_->SetFrameXYWH(kListWidth, 0, std::max(width - kListWidth, 0), height);
}

int DialogEdit::ParsePayload(FILE* stream, const TagHeader& header) {
    const Result<std::vector<uint8_t>> payload = ReadTagPayloadBytes(stream, header);
    if (!payload) return 0;
    Result<Dialog> dialog = ReadDialogPayload(payload->data(), payload->size());
    if (!dialog) return 0;
    state_ = DialogState{std::move(dialog).value(), -1};
    history_.Clear();
    history_ = UndoHistory();
    savedSerial_ = CurrentSerial();
    Refresh();
    return 1;
}

int DialogEdit::WritePayload(FILE* stream, const TagHeader&) {
    const Result<std::vector<uint8_t>> bytes = WriteDialogPayload(state_.dialog);
    if (!bytes) return 0;
    return std::fwrite(bytes->data(), 1, bytes->size(), stream) == bytes->size() ? 1 : 0;
}

int DialogEdit::Save() {
    const int saved = TagEdit::Save();
    if (saved) savedSerial_ = CurrentSerial();
    return saved;
}

int DialogEdit::DiscardChanges() {
    while (CurrentSerial() != savedSerial_ && history_.Undo(&state_)) {}
    Refresh();
    return 1;
}

uint64_t DialogEdit::CurrentSerial() const {
    const auto* change = dynamic_cast<const DialogChange*>(history_.Current());
    return change ? change->Serial() : 0;
}

void DialogEdit::UpdateModified() { SetModified(CurrentSerial() != savedSerial_ ? 1 : 0); }

void DialogEdit::Apply(DialogState after, int nudge, bool repeat) {
    auto* latest = const_cast<DialogChange*>(dynamic_cast<const DialogChange*>(history_.Current()));
    // The repeats of a held key extend the action its press made.
    if (repeat && nudge && nudge == nudge_ && latest && latest->Serial() + 1 == nextSerial_ &&
        latest->Serial() != savedSerial_) {
        latest->SetAfter(after);
        state_ = std::move(after);
    } else {
        history_.AddAction(std::make_unique<DialogChange>(state_, std::move(after), nextSerial_++), false, &state_);
    }
    nudge_ = nudge;
    Refresh();
    UpdateModified();
}

void DialogEdit::Refresh() {
    refreshing_ = true;
    const Dialog& d = state_.dialog;
    list_->Refill([&] {
        rows_.Clear();
        RowId separator = kVersionRow + 3;
        auto row = [&](RowId id, const std::string& text) { list_->AddListItem(nullptr, id, ListWindow::kItemText, text); };
        row(kVersionRow, Format("Version: %d", d.version, 0));
        row(kSizeRow, Format("Size: %dx%d", d.right - d.left, d.bottom - d.top));
        row(kPositionRow, Format("Position: (%d, %d)", d.left, d.top));
        row(separator++, "--");
        for (const char* help : kHelpRows) row(separator++, help);
        row(separator++, "--");
        for (size_t i = 0; i < d.controls.size(); ++i) row(i, DialogControlRowText(d.controls[i]));
    });
    list_->DeselectAll();
    if (state_.selected >= int(d.controls.size())) state_.selected = -1;
    if (state_.selected >= 0) {
        if (ListWindow::ListItem* item = list_->FindItem(RowId(state_.selected))) list_->SelectListItem(item, false);
    }
    refreshing_ = false;
    view_->Refresh();
}

void DialogEdit::Select(int index) {
    state_.selected = index >= 0 && size_t(index) < state_.dialog.controls.size() ? index : -1;
    refreshing_ = true;
    list_->DeselectAll();
    if (state_.selected >= 0) {
        if (ListWindow::ListItem* item = list_->FindItem(RowId(state_.selected))) {
            list_->SelectListItem(item, false);
            list_->ScrollToItem(item);
        }
    }
    refreshing_ = false;
    view_->InvalidateClient();
}

void DialogEdit::OnListSelection() {
    if (refreshing_) return;
    const auto& selection = list_->Selection();
    const RowId id = selection.empty() ? RowId(-1) : selection.front()->id;
    state_.selected = id < state_.dialog.controls.size() ? int(id) : -1;
    view_->InvalidateClient();
}

void DialogEdit::OnListActivated(ListWindow::ListItem* item) {
    if (!item) return;
    if (item->id == kVersionRow) EditVersion();
    else if (item->id == kSizeRow) EditSize();
    else if (item->id == kPositionRow) EditPosition();
    else if (item->id < state_.dialog.controls.size()) EditControl(int(item->id));
}

void DialogEdit::OnPreviewToggled() { view_->SetPreview(previewBox_->IsChecked()); }

bool DialogEdit::AddControlAt(int x, int y) {
    if (!InsideDialog(state_.dialog, x, y)) {
        OsBeep();
        return false;
    }
    const std::optional<DialogControl> control = ControlDataDialog(NewControlAt(state_.dialog, x, y)).Run();
    if (!control) return false;
    DialogState after = state_;
    after.dialog.controls.push_back(*control);
    after.selected = int(after.dialog.controls.size()) - 1;
    Apply(std::move(after));
    return true;
}

bool DialogEdit::RemoveSelected() {
    if (state_.selected < 0) {
        OsBeep();
        return false;
    }
    DialogState after = state_;
    after.dialog.controls.erase(after.dialog.controls.begin() + state_.selected);
    after.selected = std::min(state_.selected, int(after.dialog.controls.size()) - 1);
    Apply(std::move(after));
    return true;
}

bool DialogEdit::NudgeSelected(int dx, int dy, bool resize, bool repeat) {
    if (state_.selected < 0) return false;
    DialogState after = state_;
    DialogControl& c = after.dialog.controls[size_t(state_.selected)];
    c = DragControl(c, resize ? kDragBottomRight : kDragMove, dx, dy);
    if (SameRect(c, state_.dialog.controls[size_t(state_.selected)])) return false;
    // Names the kind of nudge, so that only repeats of the same one merge.
    Apply(std::move(after), (resize ? 16 : 32) + (dx + 1) * 3 + (dy + 1), repeat);
    return true;
}

bool DialogEdit::ReorderSelected(int direction) {
    DialogState after = state_;
    if (state_.selected < 0 || !ReorderControl(after.dialog, size_t(state_.selected), direction)) return false;
    after.selected = state_.selected + (direction < 0 ? -1 : 1);
    Apply(std::move(after));
    return true;
}

bool DialogEdit::EditControl(int index) {
    if (index < 0 || size_t(index) >= state_.dialog.controls.size()) return false;
    Select(index);
    const std::optional<DialogControl> control = ControlDataDialog(state_.dialog.controls[size_t(index)]).Run();
    // The dialog ran modally: the control may be gone if the tag was reloaded meanwhile.
    if (!control || size_t(index) >= state_.dialog.controls.size()) return false;
    DialogState after = state_;
    after.dialog.controls[size_t(index)] = *control;
    after.selected = index;
    Apply(std::move(after));
    return true;
}

std::optional<std::pair<int, int>> DialogEdit::AskNumbers(const char* label, int first, std::optional<int> second) {
    return DialogValueDialog(label, first, second).Run();
}

bool DialogEdit::EditVersion() {
    const auto value = AskNumbers("Dialog Version:", state_.dialog.version, std::nullopt);
    if (!value || value->first < 0 || value->first > 0xFFFF) return false;
    DialogState after = state_;
    after.dialog.version = uint16_t(value->first);
    Apply(std::move(after));
    return true;
}

bool DialogEdit::EditSize() {
    const Dialog& d = state_.dialog;
    const auto value = AskNumbers("Dialog Size (W,H):", d.right - d.left, d.bottom - d.top);
    if (!value || value->first < 1 || value->second < 1 || !Fits16(int64_t(d.left) + value->first) ||
        !Fits16(int64_t(d.top) + value->second))
        return false;
    DialogState after = state_;
    after.dialog.right = d.left + value->first;
    after.dialog.bottom = d.top + value->second;
    Apply(std::move(after));
    return true;
}

bool DialogEdit::EditPosition() {
    const Dialog& d = state_.dialog;
    const auto value = AskNumbers("Dialog Position (X,Y):", d.left, d.top);
    if (!value || !Fits16(value->first) || !Fits16(value->second) || !Fits16(int64_t(value->first) + (d.right - d.left)) ||
        !Fits16(int64_t(value->second) + (d.bottom - d.top)))
        return false;
    DialogState after = state_;
    after.dialog.left = value->first;
    after.dialog.top = value->second;
    after.dialog.right = value->first + (d.right - d.left);
    after.dialog.bottom = value->second + (d.bottom - d.top);
    Apply(std::move(after));
    return true;
}

bool DialogEdit::Undo() {
    nudge_ = 0;
    if (!history_.Undo(&state_)) return false;
    Refresh();
    UpdateModified();
    return true;
}

bool DialogEdit::Redo() {
    nudge_ = 0;
    if (!history_.Redo(&state_)) return false;
    Refresh();
    UpdateModified();
    return true;
}

void DialogEdit::BeginDrag() {
    nudge_ = 0;
    dragStart_ = state_;
}

void DialogEdit::DragControlTo(int index, const DialogControl& control) {
    if (!dragStart_ || index < 0 || size_t(index) >= state_.dialog.controls.size()) return;
    state_.dialog.controls[size_t(index)] = control;
    SetModified(1);
    Refresh();
}

void DialogEdit::EndDrag() {
    if (!dragStart_) return;
    DialogState after = std::move(state_);
    state_ = std::move(*dragStart_);
    dragStart_.reset();
    bool changed = false;
    for (size_t i = 0; i < after.dialog.controls.size(); ++i)
        changed = changed || !SameRect(after.dialog.controls[i], state_.dialog.controls[i]);
    if (changed) {
        Apply(std::move(after));
    } else {
        state_.selected = after.selected;
        Refresh();
        UpdateModified();
    }
}

bool DialogEdit::HandleKey(Event& event) {
    const int key = event.Key();
    const bool ctrl = (event.Modifiers() & kModCtrl) != 0;
    const bool shift = (event.Modifiers() & kModShift) != 0;
    if (!event.Pressed()) return false;
    int dx = 0, dy = 0;
    if (key == kKeyLeft) dx = -1;
    if (key == kKeyRight) dx = 1;
    if (key == kKeyUp) dy = -1;
    if (key == kKeyDown) dy = 1;
    if ((dx || dy) && (ctrl || shift)) {
        NudgeSelected(dx, dy, !ctrl, event.IsRepeat());
        return true;
    }
    if (key == kKeyDelete && !ctrl && !shift) {
        RemoveSelected();
        return true;
    }
    if (!ctrl) return false;
    switch (key) {
    case 'A': {
        const Point mouse = WS().GetMousePosition();
        if (!RectContains(view_->Client(), mouse)) {
            OsBeep();
            return true;
        }
        const Point at = view_->ToDialog(mouse);
        AddControlAt(at.x, at.y);
        return true;
    }
    case 'Z': Undo(); return true;
    case 'Y': Redo(); return true;
    case kKeyMinus:
    case ListWindow::kKeypadMinus: ReorderSelected(-1); return true;
    case kKeyEquals:
    case ListWindow::kKeypadPlus: ReorderSelected(1); return true;
    default: return false;
    }
}

bool DialogEdit::HandleEvent(Window* target, int kind, Event& event) {
    // Keys typed into a box of a dialog this editor opened are that box's.
    if (kind == kEventKey && target->GetTopLevel() == GetTopLevel() && HandleKey(event)) return true;
    return TagEdit::HandleEvent(target, kind, event);
}

TagEdit* DialogEdit::Create(TagRecord* record) { return new DialogEdit(record); }

}  // namespace tamber::dialogs::editor
