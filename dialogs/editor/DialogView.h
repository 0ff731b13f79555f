#pragma once
// The dialog drawn to scale: its rectangle and its controls', the selected one
// marked, in a scrollable area 32 pixels larger than the dialog. A press picks a
// control and a drag mode (see DialogLayout.h); dragging moves or resizes it as
// one undoable change. With preview on, each control is drawn in a style that
// suggests its type, with its text.
#include "dialogs/editor/DialogLayout.h"
#include "ui/widgets/ScrollableWindow.h"

namespace tamber::dialogs::editor {
using namespace tamber::ui;
using namespace tamber::ui::widgets;

class DialogEdit;

class DialogView : public ScrollableWindow {
public:
    // The space around the dialog on each side.
    static constexpr int kMargin = 16;
    static constexpr int kCursorResize = 3;  // the bottom-right resize shape

    DialogView(DialogEdit* edit, Window* parent);

    const char* GetClassName() const override { return "DialogView"; }

    // Takes the dialog's new size after a change.
    void Refresh();
    void SetPreview(bool preview);
    bool Preview() const { return preview_; }
    DragMode CurrentDrag() const { return drag_; }

    // A point in surface pixels in the dialog's coordinates, and back.
    Point ToDialog(Point surface) const;
    Point ToSurface(Point dialog) const;

    void Draw() override;
    void Idle() override;
    void OnResize() override;
    void OnMouseButton(Event& event) override;
    void OnMouseMove(Event& event) override;
    void OnMouseTrack(Point start, Point current, int phase) override;

private:
    Rect SurfaceRect(int left, int top, int right, int bottom) const;
    void DrawControl(const DialogControl& control, bool selected);
    void DrawPreview(const DialogControl& control, const Rect& rect);
    void DrawDragInfo(const DialogControl& control);
    void UpdateCursor();

    DialogEdit* edit_;
    bool preview_ = false;
    DragMode drag_ = kDragNone;
    int dragIndex_ = -1;
    DialogControl dragStart_;
};

}  // namespace tamber::dialogs::editor
