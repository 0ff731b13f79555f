#include "dialogs/editor/DialogView.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>

#include "dialogs/ControlTypes.h"
#include "dialogs/editor/DialogEdit.h"
#include "tags/FourCC.h"
#include "ui/DrawBatch.h"
#include "ui/Font.h"
#include "ui/RectOps.h"
#include "ui/Skin.h"
#include "ui/SkinPieces.h"
#include "ui/WindowSystem.h"

namespace tamber::dialogs::editor {
using namespace tamber::tags;

namespace {

struct Rgba {
    uint8_t r, g, b, a = 255;
};

constexpr Rgba kBackground{40, 40, 48};
constexpr Rgba kDialogFill{72, 76, 88};
constexpr Rgba kDialogEdge{200, 200, 210};
constexpr Rgba kControlEdge{120, 200, 255};
constexpr Rgba kSelectedEdge{255, 210, 60};
constexpr Rgba kSelectedFill{255, 210, 60, 48};
constexpr Rgba kText{235, 235, 240};
constexpr Rgba kDarkText{20, 20, 24};
constexpr Rgba kFace{170, 172, 180};
constexpr Rgba kFaceLight{215, 217, 225};
constexpr Rgba kFaceDark{90, 92, 100};
constexpr Rgba kField{245, 245, 240};
constexpr Rgba kAccent{90, 150, 230};

void Fill(const Rect& rect, Rgba color) {
    SetDrawColor(color.r, color.g, color.b, color.a);
    Skin::FillRect(rect);
}

void Outline(const Rect& rect, Rgba color, int thickness = 1) {
    SetDrawColor(color.r, color.g, color.b, color.a);
    Skin::DrawRectOutline(rect, thickness, false);
}

// A raised face: light top and left, dark bottom and right.
void Bevel(const Rect& r, bool raised) {
    Fill(r, kFace);
    Fill({r.left, r.top, r.right, r.top + 1}, raised ? kFaceLight : kFaceDark);
    Fill({r.left, r.top, r.left + 1, r.bottom}, raised ? kFaceLight : kFaceDark);
    Fill({r.left, r.bottom - 1, r.right, r.bottom}, raised ? kFaceDark : kFaceLight);
    Fill({r.right - 1, r.top, r.right, r.bottom}, raised ? kFaceDark : kFaceLight);
}

bool IsType(uint32_t code, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        if (FourCCFromText(name) == code) return true;
    }
    return false;
}

}  // namespace

DialogView::DialogView(DialogEdit* edit, Window* parent) : ScrollableWindow(kStyleControl, parent), edit_(edit) {
    SetName("Dialog View");
    SetLineStep(16);
}

Point DialogView::ToDialog(Point surface) const {
    return {surface.x - Client().left + Position(kHorizontal) - kMargin,
            surface.y - Client().top + Position(kVertical) - kMargin};
}

Point DialogView::ToSurface(Point dialog) const {
    return {dialog.x + Client().left - Position(kHorizontal) + kMargin,
            dialog.y + Client().top - Position(kVertical) + kMargin};
}

// Client-local drawing coordinates of a rectangle in dialog coordinates.
Rect DialogView::SurfaceRect(int left, int top, int right, int bottom) const {
    const int dx = kMargin - Position(kHorizontal), dy = kMargin - Position(kVertical);
    return {left + dx, top + dy, right + dx, bottom + dy};
}

void DialogView::Refresh() {
    OnResize();
    InvalidateClient();
}

void DialogView::SetPreview(bool preview) {
    preview_ = preview;
    InvalidateClient();
}

void DialogView::OnResize() {
    ScrollableWindow::OnResize();
    const Dialog& d = edit_->GetDialog();
    SetScrollRange(kHorizontal, std::max(d.right - d.left, 0) + 2 * kMargin, Client().Width());
    SetScrollRange(kVertical, std::max(d.bottom - d.top, 0) + 2 * kMargin, Client().Height());
}

void DialogView::Draw() {
    const Dialog& d = edit_->GetDialog();
    Fill({0, 0, Client().Width(), Client().Height()}, kBackground);
    const Rect dialogRect = SurfaceRect(0, 0, d.right - d.left, d.bottom - d.top);
    Fill(dialogRect, kDialogFill);
    Outline(dialogRect, kDialogEdge);
    for (size_t i = 0; i < d.controls.size(); ++i) DrawControl(d.controls[i], int(i) == edit_->Selected());
    if (drag_ != kDragNone && dragIndex_ >= 0 && size_t(dragIndex_) < d.controls.size())
        DrawDragInfo(d.controls[size_t(dragIndex_)]);
}

void DialogView::DrawControl(const DialogControl& control, bool selected) {
    const Rect rect = SurfaceRect(control.left, control.top, control.right, control.bottom);
    if (preview_) {
        DrawPreview(control, rect);
    } else {
        Outline(rect, kControlEdge);
        SetDrawColor(kText.r, kText.g, kText.b, kText.a);
        const std::string label = ControlTypeText(control.type);
        DrawText(label.c_str(), 0, kTextCenter | kTextCenterVertically, rect);
    }
    if (selected) {
        Fill(rect, kSelectedFill);
        Outline({rect.left - 1, rect.top - 1, rect.right + 1, rect.bottom + 1}, kSelectedEdge, 2);
    }
}

void DialogView::DrawPreview(const DialogControl& control, const Rect& r) {
    const uint32_t type = control.type;
    const char* text = control.text.c_str();
    auto label = [&](const Rect& area, Rgba color, int flags) {
        SetDrawColor(color.r, color.g, color.b, color.a);
        DrawText(text, 0, flags | kTextCenterVertically, area);
    };
    const int side = std::max(std::min(r.Height() - 4, 14), 4);
    const int middle = (r.top + r.bottom) / 2;
    if (IsType(type, {"butt"})) {
        Bevel(r, true);
        label(r, kDarkText, kTextCenter);
    } else if (IsType(type, {"chek", "radi"})) {
        const Rect box{r.left + 2, middle - side / 2, r.left + 2 + side, middle - side / 2 + side};
        Fill(box, kField);
        Outline(box, kFaceDark);
        if (IsType(type, {"radi"})) Fill(RectInset(box, side / 3, side / 3), kDarkText);
        label({box.right + 6, r.top, r.right, r.bottom}, kText, 0);
    } else if (IsType(type, {"edit", "pass"})) {
        Fill(r, kField);
        Outline(r, kFaceDark);
        const std::string shown = IsType(type, {"pass"}) ? std::string(control.text.size(), '*') : control.text;
        SetDrawColor(kDarkText.r, kDarkText.g, kDarkText.b, 255);
        DrawText(shown.c_str(), 0, kTextCenterVertically, {r.left + 4, r.top, r.right - 2, r.bottom});
    } else if (IsType(type, {"stat", "bann"})) {
        label(r, kText, IsType(type, {"bann"}) ? kTextCenter : 0);
    } else if (IsType(type, {"slid"})) {
        // The caption stands left of the track, which takes the rest.
        const int caption = control.text.empty() ? 0 : std::min(DrawText(text, 0, kTextMeasureOnly, {0, 0, 1 << 30, 1 << 10}) + 8, r.Width() / 2);
        label({r.left, r.top, r.left + caption, r.bottom}, kText, 0);
        const int thumb = r.left + caption + (r.Width() - caption) / 3;
        Fill({r.left + caption, middle - 2, r.right, middle + 2}, kFaceDark);
        Bevel({thumb - 4, r.top, thumb + 4, r.bottom}, true);
    } else if (IsType(type, {"prog", "sacc"})) {
        Fill(r, kFaceDark);
        Fill({r.left + 1, r.top + 1, r.left + 1 + (r.Width() - 2) * 3 / 5, r.bottom - 1}, kAccent);
        label(r, kText, kTextCenter);
    } else if (IsType(type, {"popu", "popm", "ipop", "numb"})) {
        Bevel(r, true);
        const int arrow = std::min(r.Height(), 18);
        Bevel({r.right - arrow, r.top, r.right, r.bottom}, false);
        label({r.left + 4, r.top, r.right - arrow, r.bottom}, kDarkText, 0);
    } else if (IsType(type, {"tabc"})) {
        for (int i = 0, x = r.left; i < 3 && x < r.right; ++i, x += 72) Bevel({x, r.top, std::min(x + 68, r.right), r.bottom}, i == 0);
    } else if (IsType(type, {"lste", "lstm", "lstp", "lstg", "gaml", "plli", "pbli", "poli", "slst", "chat", "repo"})) {
        Fill(r, kField);
        for (int y = r.top + 2, row = 0; y + 14 <= r.bottom; y += 16, ++row) {
            if (row % 2) Fill({r.left + 1, y, r.right - 1, y + 14}, kFaceLight);
        }
        Outline(r, kFaceDark);
        SetDrawColor(kDarkText.r, kDarkText.g, kDarkText.b, 255);
        DrawText(text, 0, 0, {r.left + 4, r.top + 2, r.right - 2, std::min(r.bottom, r.top + 16)});
    } else {
        // Pictures and the game's own drawings: a framed area with a cross.
        Fill(r, kFaceDark);
        Outline(r, kFace);
        FlushDrawing();
        glColor4ub(kFace.r, kFace.g, kFace.b, 255);
        glBegin(GL_LINES);
        glVertex2i(r.left, r.top);
        glVertex2i(r.right, r.bottom);
        glVertex2i(r.right, r.top);
        glVertex2i(r.left, r.bottom);
        glEnd();
        const std::string name = control.text.empty() ? ControlTypeText(type) : control.text;
        SetDrawColor(kText.r, kText.g, kText.b, 255);
        DrawText(name.c_str(), 0, kTextCenter | kTextCenterVertically, r);
    }
}

void DialogView::DrawDragInfo(const DialogControl& control) {
    char text[48];
    if (drag_ == kDragMove) std::snprintf(text, sizeof text, "X: %d\nY: %d", control.left, control.top);
    else std::snprintf(text, sizeof text, "W: %d\nH: %d", control.right - control.left, control.bottom - control.top);
    const Rect rect = SurfaceRect(control.right + 6, control.top, control.right + 106, control.top + 40);
    SetDrawColor(kSelectedEdge.r, kSelectedEdge.g, kSelectedEdge.b, 255);
    DrawText(text, 0, kTextMultiLine, rect);
}

void DialogView::UpdateCursor() {
    int shape = 0;
    if (drag_ == kDragMove || (drag_ == kDragNone && WS().IsKeyDown(kKeyCtrl))) shape = kCursorMove;
    else if (drag_ != kDragNone || WS().IsKeyDown(kKeyShift)) shape = kCursorResize;
    if (Cursor() == shape) return;
    SetCursor(shape);
    if (WS().MouseWindow() == this || drag_ != kDragNone) WS().SetCursorShape(shape);
}

void DialogView::Idle() {
    ScrollableWindow::Idle();
    UpdateCursor();
}

void DialogView::OnMouseMove(Event& event) {
    (void)event;
    UpdateCursor();
}

void DialogView::OnMouseButton(Event& event) {
    if (event.Button() != 0 || !event.ButtonPressed()) return;
    const Point at = ToDialog(event.Position());
    const int modifiers = event.Modifiers();
    const ControlHit hit =
        HitTestControls(edit_->GetDialog(), at.x, at.y, (modifiers & kModCtrl) != 0, (modifiers & kModShift) != 0);
    edit_->Select(hit.index);
    if (hit.index < 0 || hit.mode == kDragNone) return;
    drag_ = hit.mode;
    dragIndex_ = hit.index;
    dragStart_ = edit_->GetDialog().controls[size_t(hit.index)];
    edit_->BeginDrag();
    if (!WS().BeginMouseTracking(this)) {
        drag_ = kDragNone;
        edit_->EndDrag();
    }
}

void DialogView::OnMouseTrack(Point start, Point current, int phase) {
    if (drag_ == kDragNone) return;
    edit_->DragControlTo(dragIndex_, DragControlWithin(edit_->GetDialog(), dragStart_, drag_, current.x - start.x, current.y - start.y));
    if (phase == 2) {
        drag_ = kDragNone;
        edit_->EndDrag();
        UpdateCursor();
    }
}

}  // namespace tamber::dialogs::editor
