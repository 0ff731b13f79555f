#include "collections/editor/X256SequenceFrameEdit.h"

#include "collections/editor/X256Edit.h"
#include "collections/editor/X256SequenceFrameView.h"
#include "collections/editor/X256Text.h"
#include "ui/WindowPlacement.h"
#include "ui/WindowSystem.h"
#include "ui/choosers/ChooserControls.h"
#include "ui/widgets/Button.h"
#include "ui/widgets/CheckBox.h"
#include "ui/widgets/ColorButton.h"
#include "ui/widgets/ComboBox.h"
#include "ui/widgets/TextBox.h"

namespace tamber::collections::editor {
using namespace tamber::ui::choosers;
using namespace tamber::ui::widgets;

namespace {

constexpr uint32_t kStyle = kStyleDocument & ~kStyleVisible;
constexpr int kWidth = 760;
constexpr int kHeight = 560;
constexpr int kPanel = 250;
constexpr int kMinViewWidth = 160;
constexpr int kMargin = 10;
constexpr int kRow = 24;

constexpr const char* kOptionLabels[X256SequenceFrameEdit::kOptionCount] = {
    "Show Reg Point", "Show Key Point", "Show Selection Box", "Show Origin",
    "Show Bitmap",    "Show Shadow",    "Show Contrail",      "Show Onion Skin"};
constexpr MoveMode kModes[] = {MoveMode::Bitmap, MoveMode::View, MoveMode::Frame, MoveMode::Sequence,
                               MoveMode::KeyPoint};

Button* SmallButton(Window* parent, const char* label, int id, int x, int y, int width) {
    auto* button = new Button(parent, uint32_t(id));
    button->SetName(label);
    button->SizeToFit();
    button->SetFrameXYWH(x, y, width, button->Frame().Height());
    return button;
}

}  // namespace

X256SequenceFrameEdit::X256SequenceFrameEdit(X256Edit& editor, int sequence, int frame, int view)
    : Window(kStyle, nullptr), editor_(editor, this), sequence_(sequence) {
    editor.AddSequenceWindow(this, sequence);
    view_ = new X256SequenceFrameView(editor, sequence, this);
    view_->SetCell(frame, view);
    int y = kMargin;
    for (int option = 0; option < kOptionCount; ++option, y += kRow) {
        auto* box = new CheckBox(this, uint32_t(option));
        box->SetName(kOptionLabels[option]);
        box->SizeToFit();
        box->SetFrameXYWH(kMargin, y, box->Frame().Width(), box->Frame().Height());
        box->SetChecked(view_->Options() & (1u << option));
        box->clickedWithId.Connect(this, &X256SequenceFrameEdit::OnOptionClicked);
        options_[size_t(option)] = box;
    }
    MakeLabel(this, "Background:", kMargin, y, 90, kRow);
    background_ = new ColorButton(this);
    background_->SetName("BackgroundPicker");
    background_->SetFrameXYWH(kMargin + 100, y + 2, 42, 20);
    background_->SetColor(view_->Background());
    background_->colorChanged.Connect(this, &X256SequenceFrameEdit::OnBackground);
    y += kRow + 4;
    auto stepper = [&](const char* label, int less, int more) {
        MakeLabel(this, label, kMargin, y, 50, kRow);
        SmallButton(this, "<", less, kMargin + 50, y, 28)->clickedWithId.Connect(this, &X256SequenceFrameEdit::Press);
        SmallButton(this, ">", more, kMargin + 150, y, 28)->clickedWithId.Connect(this, &X256SequenceFrameEdit::Press);
        TextBox* shown = MakeLabel(this, "", kMargin + 82, y, 66, kRow);
        y += kRow + 4;
        return shown;
    };
    zoomLabel_ = stepper("Zoom:", kZoomOut, kZoomIn);
    zoomLabel_->SetName("Zoom");
    frameLabel_ = stepper("Frame:", kPreviousFrame, kNextFrame);
    frameLabel_->SetName("Frame");
    viewLabel_ = stepper("View:", kPreviousView, kNextView);
    viewLabel_->SetName("View");
    mode_ = new ComboBox(this, 0);
    mode_->SetName("Move Mode");
    for (MoveMode mode : kModes) mode_->AddItem(MoveModeName(mode));
    mode_->SetFrameXYWH(kMargin, y, kPanel - 2 * kMargin, kRow - 4);
    mode_->SelectItem(0);
    mode_->itemChosen.Connect(this, &X256SequenceFrameEdit::OnModeChosen);
    y += kRow;
    modeLabel_ = MakeLabel(this, "", kMargin, y, kPanel - kMargin, kRow);
    y += kRow + 4;
    animate_ = SmallButton(this, "Animate", kAnimate, kMargin, y, 90);
    animate_->clickedWithId.Connect(this, &X256SequenceFrameEdit::Press);
    panelHeight_ = y + animate_->Frame().Height() + kMargin;
    view_->changed.Connect(this, &X256SequenceFrameEdit::Refresh);
    editor.sequencesChanged.Connect(this, &X256SequenceFrameEdit::OnSequencesChanged);
    SetFrameXYWH(0, 0, kWidth, kHeight);
    Refresh();
    PresentAtCascadePosition(this, view_);
}

void X256SequenceFrameEdit::OnClose() { editor_.Release(); }

bool X256SequenceFrameEdit::OnKey(Event& event) { return editor_.HandleUndoKeys(event) || Window::OnKey(event); }

void X256SequenceFrameEdit::OnResize() {
    view_->SetFrameXYWH(kPanel, 0, std::max(1, Client().Width() - kPanel), Client().Height());
}

// Small enough to sit beside other windows, never so small that the controls spill out.
void X256SequenceFrameEdit::GetMinimumSize(Point& out) {
    Window::GetMinimumSize(out);
    out.x += kPanel + kMinViewWidth;
    out.y += panelHeight_;
}

void X256SequenceFrameEdit::OnSequencesChanged() {
    if (!editor_ || sequence_ >= editor_->GetCollection().SequenceCount()) {
        Close();
        return;
    }
    Refresh();
}

void X256SequenceFrameEdit::Refresh() {
    if (!editor_ || sequence_ >= editor_->GetCollection().SequenceCount()) return;
    const Sequence& sequence = editor_->GetCollection().sequences[size_t(sequence_)];
    SetName(Printf("Frames: %s", sequence.name.c_str()).c_str());
    zoomLabel_->SetText(Printf("%d%%", view_->Zoom() * 100));
    frameLabel_->SetText(Printf("%d / %d", view_->FrameIndex(), int(sequence.frames.size())));
    viewLabel_->SetText(Printf("%d / %d", view_->ViewIndex(), int(sequence.header.viewCount)));
    modeLabel_->SetText(Printf("Mouse / Arrow Keys: %s", MoveModeName(view_->Mode())));
    animate_->SetName(view_->Playing() ? "Stop" : "Animate");
    animate_->Invalidate();
}

void X256SequenceFrameEdit::Press(int control) {
    if (!editor_ || sequence_ >= editor_->GetCollection().SequenceCount()) return;
    const Sequence& sequence = editor_->GetCollection().sequences[size_t(sequence_)];
    const int frames = std::max<int>(1, int(sequence.frames.size())), views = std::max<int>(1, sequence.header.viewCount);
    switch (control) {
    case kZoomOut: view_->SetZoom(view_->Zoom() - 1); break;
    case kZoomIn: view_->SetZoom(view_->Zoom() + 1); break;
    case kPreviousFrame: view_->SetCell((view_->FrameIndex() + frames - 1) % frames, view_->ViewIndex()); break;
    case kNextFrame: view_->SetCell((view_->FrameIndex() + 1) % frames, view_->ViewIndex()); break;
    case kPreviousView: view_->SetCell(view_->FrameIndex(), (view_->ViewIndex() + views - 1) % views); break;
    case kNextView: view_->SetCell(view_->FrameIndex(), (view_->ViewIndex() + 1) % views); break;
    case kAnimate: view_->SetPlaying(!view_->Playing()); break;
    default: break;
    }
}

void X256SequenceFrameEdit::OnOptionClicked(int option) {
    view_->SetOption(X256SequenceFrameView::Option(1u << option), options_[size_t(option)]->GetButtonState() == Button::kOn);
}

void X256SequenceFrameEdit::OnModeChosen(int item) {
    if (item < 0 || item >= int(std::size(kModes))) return;
    view_->SetMode(kModes[item]);
    Refresh();
    WS().SetFocus(view_, 0);
}

void X256SequenceFrameEdit::OnBackground(uint32_t rgba) { view_->SetBackground(rgba); }

}  // namespace tamber::collections::editor
