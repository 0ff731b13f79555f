#include "collections/editor/BitmapWindow.h"

#include <algorithm>

#include "collections/editor/X256Edit.h"
#include "collections/editor/X256Text.h"
#include "ui/WindowPlacement.h"
#include "ui/WindowSystem.h"

namespace tamber::collections::editor {

namespace {

constexpr uint32_t kStyle = (kStyleDocument | kStyleFocusable) & ~kStyleVisible;
constexpr int kKeyPlus = '=';
constexpr int kKeyMinus = '-';

}  // namespace

BitmapWindow::BitmapWindow(X256Edit& editor, std::shared_ptr<Bitmap> bitmap)
    : Window(kStyle, nullptr), editor_(editor, this), bitmap_(std::move(bitmap)) {
    SetName(bitmap_->name.c_str());
    editor_->AddBitmapWindow(this, bitmap_.get());
    editor_->bitmapsChanged.Connect(this, &BitmapWindow::OnBitmapsChanged);
    SetFrameXYWH(0, 0, std::clamp(bitmap_->width + 40, 200, 800), std::clamp(bitmap_->height + 60, 160, 700));
    PresentAtCascadePosition(this, this);
}

void BitmapWindow::OnClose() { editor_.Release(); }

void BitmapWindow::OnBitmapsChanged() {
    // An undone or replaced bitmap is no longer the collection's: the window closes.
    if (editor_ && editor_->GetCollection().IndexOfBitmap(bitmap_.get()) < 0) Close();
}

void BitmapWindow::SetZoom(double zoom) {
    zoom_ = std::clamp(zoom, kMinZoom, kMaxZoom);
    SetName(Printf("%s (%d%%)", bitmap_->name.c_str(), int(zoom_ * 100 + 0.5)).c_str());
    Invalidate();
}

void BitmapWindow::Draw() {
    if (editor_) pictures_.Draw(editor_->GetCollection(), bitmap_, {0, 0, Client().Width(), Client().Height()}, zoom_);
}

bool BitmapWindow::OnKey(Event& event) {
    if (!event.Pressed()) return false;
    if (event.Key() == kKeyPlus) SetZoom(zoom_ * 2);
    else if (event.Key() == kKeyMinus) SetZoom(zoom_ / 2);
    else return false;
    return true;
}

void BitmapWindow::OnWheel(Event&) {
    if (const int delta = WS().WheelDelta(false)) SetZoom(delta > 0 ? zoom_ * 2 : zoom_ / 2);
}

}  // namespace tamber::collections::editor
