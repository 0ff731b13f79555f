#pragma once
// The editor of one sequence, in a window of its own (800 x 600, centred): its
// numbers, mode, sounds and flags, the per-cell flags of the selected cells, and
// the frame grid with its context menu (bitmap import, alpha import, export and
// registration points). Every edit changes the collection at once as one undoable
// action; typing into one field is one action.
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "collections/RegistrationPoints.h"
#include "collections/editor/EditorLink.h"
#include "ui/Window.h"

namespace tamber::ui::widgets {
class Button;
class CheckBox;
class ComboBox;
class TextBox;
}  // namespace tamber::ui::widgets

namespace tamber::collections::editor {
using namespace tamber::ui;

class X256Edit;
class X256SequenceGrid;
class BitmapPictures;

class X256SequenceEdit : public Window {
public:
    enum Field { kFrames, kViews, kTicks, kKeyFrame, kTransferPeriod, kLoopFrame, kFirstSound, kKeySound, kLastSound, kFieldCount };
    enum CellFlag { kHorzMirror, kVertMirror, kBitmap3D, kShadowLight, kCellFlagCount };
    enum Command {
        kCopyRegPoint = 1, kPasteRegPoint, kPasteRegX, kPasteRegY, kSetRegPoint, kOffsetRegPoints,
        kPlaceCentre, kPlaceBottomCentre, kPlaceTopCentre,
    };

    X256SequenceEdit(X256Edit& editor, int index);
    ~X256SequenceEdit() override;

    const char* GetClassName() const override { return "X256SequenceEdit"; }
    void OnClose() override;
    void OnResize() override;
    void GetMinimumSize(Point& out) override;
    // Control+Z and Control+Y undo and redo in the collection editor.
    bool OnKey(Event& event) override;

    int Index() const { return index_; }
    X256Edit* Editor() const { return editor_.get(); }
    const Sequence* Shown() const;
    // The selected view cells (the shadow column left out).
    std::vector<ViewCell> SelectedViews() const;
    // A registration-point command, or a SequenceCellCommand.
    void RunCommand(int command);
    // Opens the frame editor on the first selected view cell (or frame 0, view 0).
    void OpenFrameEditor();

    widgets::TextBox* FieldBox(Field field) const { return fields_[field]; }
    widgets::ComboBox* ModeBox() const { return mode_; }
    widgets::CheckBox* MirroringBox() const { return mirroring_; }
    widgets::CheckBox* NoRotationBox() const { return noRotation_; }
    widgets::CheckBox* CellFlagBox(CellFlag flag) const { return cellFlags_[flag]; }
    // Whether the selected cells disagree about a flag (shown beside its box).
    bool IsCellFlagMixed(CellFlag flag) const;
    X256SequenceGrid* Grid() const { return grid_; }

private:
    // Applies an edit of the sequence; `key` merges consecutive edits of one control.
    bool Edit(const void* key, const std::function<bool(Sequence&)>& edit, uint32_t kinds = 0);
    void Refresh();
    void RefreshCellFlags();
    void OnSequencesChanged();
    void OnFieldChanged();
    void OnModeChosen(int item);
    void OnSequenceFlagClicked();
    void OnCellFlagClicked(int flag);
    void OnGridContext(Point point);
    // Reads "x, y" from an input box; none when cancelled or not two numbers.
    std::optional<RegPoint> AskPoint(const char* title, RegPoint initial);

    EditorLink editor_;
    int index_;
    bool refreshing_ = false;
    std::unique_ptr<BitmapPictures> pictures_;
    std::array<widgets::TextBox*, kFieldCount> fields_{};
    widgets::ComboBox* mode_;
    widgets::CheckBox* mirroring_;
    widgets::CheckBox* noRotation_;
    std::array<widgets::CheckBox*, kCellFlagCount> cellFlags_{};
    std::array<widgets::TextBox*, kCellFlagCount> mixedLabels_{};
    X256SequenceGrid* grid_;
    widgets::Button* frameView_;
    std::optional<RegPoint> copiedPoint_;
};

}  // namespace tamber::collections::editor
