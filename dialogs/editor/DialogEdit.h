#pragma once
// The editor of `bina` dialogs: a list describing the dialog and its controls
// beside a DialogView that shows them. Controls are added under the mouse,
// removed, moved and resized with the mouse or the arrow keys, reordered and
// edited; every change is one undoable action (Control+Z, Control+Y), and the
// modified mark follows the history back to the saved state.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "dialogs/editor/DialogChange.h"
#include "editing/TagEdit.h"
#include "ui/UndoHistory.h"
#include "ui/widgets/ListWindow.h"
#include "ui/widgets/StoredListModel.h"

namespace tamber::ui::widgets { class CheckBox; }

namespace tamber::dialogs::editor {
using namespace tamber::editing;
using namespace tamber::ui;
using namespace tamber::ui::widgets;

class DialogView;

class DialogEdit : public TagEdit {
public:
    static constexpr int kWidth = 840;
    static constexpr int kHeight = 560;
    static constexpr int kListWidth = 300;
    static constexpr int kStripHeight = 32;
    // Row ids of the list rows above the controls (controls use their index).
    static constexpr RowId kVersionRow = 1u << 20;
    static constexpr RowId kSizeRow = kVersionRow + 1;
    static constexpr RowId kPositionRow = kVersionRow + 2;

    explicit DialogEdit(TagRecord* record);
    ~DialogEdit() override;

    const char* GetClassName() const override { return "DialogEdit"; }
    // The editor's keys, taken before the list or the view sees them.
    bool HandleEvent(Window* target, int kind, Event& event) override;
    void OnResize() override;
    int ParsePayload(FILE* stream, const TagHeader& header) override;
    int WritePayload(FILE* stream, const TagHeader& header) override;
    int Save() override;
    int DiscardChanges() override;

    const DialogState& State() const { return state_; }
    const Dialog& GetDialog() const { return state_.dialog; }
    int Selected() const { return state_.selected; }
    // Selects a control (-1 none) in the list and the view; not a change of the tag.
    void Select(int index);

    // Commands; each one that changes the dialog is one undoable action. False
    // (with the system beep) when there is nothing to do.
    bool AddControlAt(int x, int y);   // opens "Edit Control Data"; appended on OK
    bool RemoveSelected();
    // Control+arrow moves, Shift+arrow resizes; the repeats of a held key make one action.
    bool NudgeSelected(int dx, int dy, bool resize, bool repeat = false);
    bool ReorderSelected(int direction);
    bool EditControl(int index);       // "Edit Control Data"
    bool EditVersion();
    bool EditSize();
    bool EditPosition();
    bool Undo();
    bool Redo();

    // A drag in the view: the state at its start is kept, each move shows the
    // control where it is, and the end makes the whole drag one action.
    void BeginDrag();
    void DragControlTo(int index, const DialogControl& control);
    void EndDrag();

    DialogView* View() const { return view_; }
    ListWindow* List() const { return list_; }
    CheckBox* PreviewBox() const { return previewBox_; }
    const UndoHistory& History() const { return history_; }

    static TagEdit* Create(TagRecord* record);

private:
    // Makes `after` current as a new action, or, for the repeat of a held key's
    // nudge, as the new end of the action its press made.
    void Apply(DialogState after, int nudge = 0, bool repeat = false);
    void Refresh();
    void UpdateModified();
    uint64_t CurrentSerial() const;
    bool HandleKey(Event& event);
    void OnListSelection();
    void OnListActivated(ListWindow::ListItem* item);
    void OnPreviewToggled();
    // Asks for one or two numbers in a DialogValueDialog; none when cancelled.
    std::optional<std::pair<int, int>> AskNumbers(const char* label, int first, std::optional<int> second);

    DialogState state_;
    UndoHistory history_;
    uint64_t nextSerial_ = 1;
    uint64_t savedSerial_ = 0;
    int nudge_ = 0;                          // the kind of the latest action when it was a nudge
    std::optional<DialogState> dragStart_;   // while a drag runs
    bool refreshing_ = false;
    StoredListModel rows_;
    ListWindow* list_;
    DialogView* view_;
    CheckBox* previewBox_;
};

}  // namespace tamber::dialogs::editor
