#pragma once
// The frame editor of a sequence, in a window of its own: the frame view with its
// display options, background colour, zoom, frame and view choice, the move mode
// ("Mouse / Arrow Keys: %s") and "Animate" / "Stop".
#include <array>

#include "collections/editor/EditorLink.h"
#include "ui/Window.h"

namespace tamber::ui::widgets {
class Button;
class CheckBox;
class ColorButton;
class ComboBox;
class TextBox;
}  // namespace tamber::ui::widgets

namespace tamber::collections::editor {
using namespace tamber::ui;

class X256Edit;
class X256SequenceFrameView;

class X256SequenceFrameEdit : public Window {
public:
    static constexpr int kOptionCount = 8;
    enum Control { kZoomOut = 1, kZoomIn, kPreviousFrame, kNextFrame, kPreviousView, kNextView, kAnimate };

    X256SequenceFrameEdit(X256Edit& editor, int sequence, int frame, int view);

    const char* GetClassName() const override { return "X256SequenceFrameEdit"; }
    void OnClose() override;
    bool OnKey(Event& event) override;
    void OnResize() override;
    void GetMinimumSize(Point& out) override;

    X256SequenceFrameView* View() const { return view_; }
    widgets::CheckBox* OptionBox(int option) const { return options_[size_t(option)]; }
    widgets::ComboBox* ModeBox() const { return mode_; }
    widgets::TextBox* ModeLabel() const { return modeLabel_; }
    widgets::TextBox* ZoomLabel() const { return zoomLabel_; }
    widgets::Button* AnimateButton() const { return animate_; }
    void Press(int control);

private:
    void Refresh();
    void OnOptionClicked(int option);
    void OnModeChosen(int item);
    void OnBackground(uint32_t rgba);
    void OnSequencesChanged();

    EditorLink editor_;
    int sequence_;
    X256SequenceFrameView* view_;
    std::array<widgets::CheckBox*, kOptionCount> options_{};
    widgets::ColorButton* background_;
    widgets::ComboBox* mode_;
    widgets::TextBox* modeLabel_;
    widgets::TextBox* zoomLabel_;
    widgets::TextBox* frameLabel_;
    widgets::TextBox* viewLabel_;
    widgets::Button* animate_;
    int panelHeight_ = 0;  // the controls' column, margin included
};

}  // namespace tamber::collections::editor
