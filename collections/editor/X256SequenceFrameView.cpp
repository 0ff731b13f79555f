#include "collections/editor/X256SequenceFrameView.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "collections/editor/X256Edit.h"
#include "platform/Os.h"
#include "ui/DrawBatch.h"
#include "ui/RectOps.h"
#include "ui/Skin.h"
#include "ui/WindowSystem.h"

namespace tamber::collections::editor {
using namespace tamber::platform;
using namespace tamber::ui::widgets;

namespace {

constexpr int kArrowStep = 1;
constexpr int kShiftArrowStep = 10;
constexpr int kMarkerArm = 6;
constexpr int kScrollLine = 16;
constexpr int kKeySpace = ' ';
constexpr int kMiddleButton = 2;

void SetColour(uint32_t rgba) { SetDrawColor(uint8_t(rgba >> 24), uint8_t(rgba >> 16), uint8_t(rgba >> 8), uint8_t(rgba)); }

// Markers are drawn in whole screen pixels, so they stay one pixel sharp at every zoom.
void Cross(Point at, uint32_t rgba) {
    SetColour(0x000000C0);
    Skin::FillRect({at.x - kMarkerArm - 1, at.y - 1, at.x + kMarkerArm + 2, at.y + 2});
    Skin::FillRect({at.x - 1, at.y - kMarkerArm - 1, at.x + 2, at.y + kMarkerArm + 2});
    SetColour(rgba);
    Skin::FillRect({at.x - kMarkerArm, at.y, at.x + kMarkerArm + 1, at.y + 1});
    Skin::FillRect({at.x, at.y - kMarkerArm, at.x + 1, at.y + kMarkerArm + 1});
}

void Diamond(Point at, uint32_t rgba) {
    SetColour(rgba);
    for (int d = -4; d <= 4; ++d) {
        const int half = 4 - std::abs(d);
        Skin::FillRect({at.x - half, at.y + d, at.x + half + 1, at.y + d + 1});
    }
}

// One axis of the view in client pixels about the origin: the client's length, the
// resting origin, and the drawing with its margin.
struct PanAxis {
    int size, rest, low, high;
    // Where the client's first pixel may lie: far enough to bring either edge of the
    // drawing into view, and always where it lies at rest.
    int FirstMin() const { return std::min(low, -rest); }
    int FirstMax() const { return std::max(high - size, -rest); }
};

PanAxis AxisOf(const X256SequenceFrameView& view, ScrollableWindow::ScrollAxis axis, Point rest) {
    const Rect extent = view.Extent();
    const int zoom = view.Zoom(), margin = X256SequenceFrameView::kPanMargin;
    if (axis == ScrollableWindow::kHorizontal)
        return {std::max(1, view.Client().Width()), rest.x, extent.left * zoom - margin, extent.right * zoom + margin};
    return {std::max(1, view.Client().Height()), rest.y, extent.top * zoom - margin, extent.bottom * zoom + margin};
}

}  // namespace

X256SequenceFrameView::X256SequenceFrameView(X256Edit& editor, int sequence, Window* parent)
    : ScrollableWindow(kStyleVisible | kStyleEnabled | kStyleFocusable, parent), editor_(editor), sequence_(sequence) {
    SetName("Frame View");
    SetLineStep(kScrollLine);
    // The bars keep their room from the start, so that the client area (and with it the
    // resting origin) does not change when they come and go.
    SetScrollRange(kHorizontal, 1, 1);
    SetScrollRange(kVertical, 1, 1);
    editor_.sequencesChanged.Connect(this, &X256SequenceFrameView::OnSequencesChanged);
    editor_.bitmapsChanged.Connect(this, &X256SequenceFrameView::ForgetTextures);
    editor_.colorTableChanged.Connect(this, &X256SequenceFrameView::ForgetTextures);
}

X256SequenceFrameView::~X256SequenceFrameView() = default;

void X256SequenceFrameView::ForgetTextures() {
    pictures_.Clear();
    InvalidateClient();
}

void X256SequenceFrameView::OnSequencesChanged() {
    // An edit may move the drawing, but never the view the user is looking through.
    SyncScrollBars();
    InvalidateClient();
}

const Sequence* X256SequenceFrameView::Shown() const {
    const auto& sequences = editor_.GetCollection().sequences;
    return sequence_ >= 0 && sequence_ < int(sequences.size()) ? &sequences[size_t(sequence_)] : nullptr;
}

void X256SequenceFrameView::SetCell(int frame, int view) {
    const bool sameView = std::max(view, 0) == view_;
    frame_ = std::max(frame, 0);
    view_ = std::max(view, 0);
    if (sameView) {
        // Every frame of the view is drawn inside the drawing's extent: while playing,
        // only that part is drawn again.
        InvalidateRect(RectIntersection(DrawnRect(), {0, 0, Client().Width(), Client().Height()}));
    } else {
        SyncScrollBars();
        InvalidateClient();
    }
    changed.Emit();
}

Rect X256SequenceFrameView::DrawnRect() const {
    const Rect extent = Extent();
    const Point origin = Origin();
    // The markers reach a little beyond the pictures and points they mark.
    constexpr int kReach = kMarkerArm + 2;
    return {origin.x + extent.left * zoom_ - kReach, origin.y + extent.top * zoom_ - kReach,
            origin.x + extent.right * zoom_ + kReach, origin.y + extent.bottom * zoom_ + kReach};
}

void X256SequenceFrameView::SetZoom(int zoom) { ZoomAt(zoom, {Client().Width() / 2, Client().Height() / 2}); }

void X256SequenceFrameView::ZoomAt(int zoom, Point anchor) {
    zoom = std::clamp(zoom, 1, kMaxZoom);
    if (zoom == zoom_) return;
    const Point origin = Origin(), rest = RestingOrigin();
    auto scaled = [&](int fromAnchor) { return int(std::lround(double(fromAnchor) * zoom / zoom_)); };
    pan_ = {anchor.x - scaled(anchor.x - origin.x) - rest.x, anchor.y - scaled(anchor.y - origin.y) - rest.y};
    zoom_ = zoom;
    ClampPan();
    SyncScrollBars();
    InvalidateClient();
    changed.Emit();
}

void X256SequenceFrameView::PanBy(int dx, int dy) {
    pan_ = {pan_.x + dx, pan_.y + dy};
    ClampPan();
    SyncScrollBars();
    InvalidateClient();
}

void X256SequenceFrameView::ResetPan() {
    pan_ = {};
    SyncScrollBars();
    InvalidateClient();
}

void X256SequenceFrameView::ClampPan() {
    const Point rest = RestingOrigin();
    for (ScrollAxis axis : {kHorizontal, kVertical}) {
        const PanAxis a = AxisOf(*this, axis, rest);
        int& pan = axis == kHorizontal ? pan_.x : pan_.y;
        pan = -std::clamp(-(a.rest + pan), a.FirstMin(), a.FirstMax()) - a.rest;
    }
}

void X256SequenceFrameView::SyncScrollBars() {
    if (syncingBars_) return;
    syncingBars_ = true;
    const Point rest = RestingOrigin();
    for (ScrollAxis axis : {kHorizontal, kVertical}) {
        const PanAxis a = AxisOf(*this, axis, rest);
        const int first = -(a.rest + (axis == kHorizontal ? pan_.x : pan_.y));
        const int low = std::min(a.FirstMin(), first), high = std::max(a.FirstMax(), first) + a.size;
        scrollLow_[axis] = low;
        SetScrollRange(axis, high - low, a.size);
        ScrollableWindow::ScrollTo(axis, first - low);
    }
    syncingBars_ = false;
}

void X256SequenceFrameView::OnHorizontalScroll(int32_t position) {
    if (syncingBars_) return;
    pan_.x = -(scrollLow_[kHorizontal] + position) - RestingOrigin().x;
    InvalidateClient();
}

void X256SequenceFrameView::OnVerticalScroll(int32_t position, int32_t) {
    if (syncingBars_) return;
    pan_.y = -(scrollLow_[kVertical] + position) - RestingOrigin().y;
    InvalidateClient();
}

void X256SequenceFrameView::OnResize() {
    ScrollableWindow::OnResize();
    ClampPan();
    SyncScrollBars();
}

Rect X256SequenceFrameView::Extent() const {
    Rect extent{0, 0, 1, 1};  // the origin's own pixel
    const Sequence* sequence = Shown();
    if (!sequence) return extent;
    const int set = editor_.DisplaySet();
    auto add = [&](int left, int top, int width, int height) {
        extent = {std::min(extent.left, left), std::min(extent.top, top), std::max(extent.right, left + width),
                  std::max(extent.bottom, top + height)};
    };
    for (const auto& frame : sequence->frames) {
        // The shadow is centred on the origin in screen pixels: half a picture pixel either way.
        if (const Bitmap* shadow = frame.shadow.bitmap.get())
            add(-(shadow->width + 1) / 2, -(shadow->height + 1) / 2, shadow->width + 1, shadow->height + 1);
        if (view_ >= int(frame.views.size())) continue;
        const View& view = frame.views[size_t(view_)];
        const ViewSet& shown = view.Shown(set);
        if (shown.bitmap) add(-shown.regX, -shown.regY, shown.bitmap->width, shown.bitmap->height);
        add(view.pointX - shown.regX, view.pointY - shown.regY, 1, 1);  // the key point
    }
    return extent;
}

void X256SequenceFrameView::SetOption(Option option, bool on) {
    options_ = on ? options_ | option : options_ & ~option;
    InvalidateClient();
}

void X256SequenceFrameView::SetBackground(uint32_t rgba) {
    background_ = rgba;
    InvalidateClient();
}

void X256SequenceFrameView::SetPlaying(bool playing) {
    playing_ = playing;
    frameStart_ = OsGetTime();
    changed.Emit();
}

Point X256SequenceFrameView::RestingOrigin() const { return {Client().Width() / 2, Client().Height() * 2 / 3}; }

Point X256SequenceFrameView::Origin() const {
    const Point rest = RestingOrigin();
    return {rest.x + pan_.x, rest.y + pan_.y};
}

void X256SequenceFrameView::Idle() {
    const Sequence* sequence = Shown();
    if (!playing_ || !sequence || sequence->frames.empty()) return;
    const double frameSeconds = std::max<int>(sequence->header.ticksPerFrame, 1) / kTicksPerSecond;
    const double now = OsGetTime();
    if (now - frameStart_ < frameSeconds) return;
    // Whole frames only, so a slow redraw does not change the animation's speed.
    const int steps = int((now - frameStart_) / frameSeconds);
    frameStart_ += steps * frameSeconds;
    const int count = int(sequence->frames.size());
    const int loop = sequence->header.loopFrame < count ? sequence->header.loopFrame : 0;
    int frame = frame_;
    for (int i = 0; i < steps; ++i) frame = frame + 1 < count ? frame + 1 : loop;
    SetCell(frame, view_);
}

void X256SequenceFrameView::Move(int dx, int dy, uintptr_t key) {
    const Sequence* sequence = Shown();
    if (!sequence || (dx == 0 && dy == 0)) return;
    const int index = sequence_, set = editor_.DisplaySet();
    const ViewCell at{frame_, view_};
    const MoveMode mode = mode_;
    editor_.Change(
        kChangeSequences,
        [&](Collection& collection) { return MoveInMode(collection.sequences[size_t(index)], mode, at, dx, dy, set) > 0; },
        key);
}

bool X256SequenceFrameView::OnKey(Event& event) {
    const int key = event.Key();
    if (key == kKeyHome || key == kKeySpace) {
        // Space only arms panning with the left button; it is read when the button goes down.
        if (key == kKeyHome && event.Pressed()) ResetPan();
        return true;
    }
    if (key != kKeyLeft && key != kKeyRight && key != kKeyUp && key != kKeyDown) return Window::OnKey(event);
    if (!event.Pressed()) {
        arrowKey_ = 0;  // the next press starts a new action
        return true;
    }
    if (!arrowKey_ || !event.IsRepeat()) arrowKey_ = nextKey_++;
    const int step = event.Modifiers() & kModShift ? kShiftArrowStep : kArrowStep;
    Move(key == kKeyLeft ? -step : key == kKeyRight ? step : 0, key == kKeyUp ? -step : key == kKeyDown ? step : 0,
         arrowKey_);
    return true;
}

void X256SequenceFrameView::OnMouseButton(Event& event) {
    if (!event.ButtonPressed()) return;
    const bool pan = event.Button() == kMiddleButton || (event.Button() == 0 && WS().IsKeyDown(kKeySpace));
    if (!pan && event.Button() != 0) return;
    WS().SetFocus(this, 0);
    panning_ = pan;
    panAtPress_ = pan_;
    dragKey_ = pan ? 0 : nextKey_++;
    dragApplied_ = {};
    if (!WS().BeginMouseTracking(this)) dragKey_ = 0, panning_ = false;
}

void X256SequenceFrameView::OnMouseTrack(Point start, Point current, int phase) {
    if (panning_) {
        pan_ = panAtPress_;
        PanBy(current.x - start.x, current.y - start.y);
        if (phase == 2) panning_ = false;
        return;
    }
    if (!dragKey_) return;
    // Whole picture pixels moved since the press, less what was already applied.
    const Point total{int(std::lround(double(current.x - start.x) / zoom_)),
                      int(std::lround(double(current.y - start.y) / zoom_))};
    Move(total.x - dragApplied_.x, total.y - dragApplied_.y, dragKey_);
    dragApplied_ = total;
    if (phase == 2) dragKey_ = 0;
}

void X256SequenceFrameView::OnWheel(Event&) {
    const Point mouse = WS().GetMousePosition();
    ZoomAt(zoom_ + (WS().WheelDelta(false) > 0 ? 1 : -1), {mouse.x - Client().left, mouse.y - Client().top});
}

void X256SequenceFrameView::DrawSprite(const std::shared_ptr<Bitmap>& bitmap, int left, int top, uint32_t flags,
                                       uint8_t alpha) {
    if (!bitmap || bitmap->PixelCount() == 0) return;
    const int right = left + bitmap->width * zoom_, bottom = top + bitmap->height * zoom_;
    // Mirrored views show the picture flipped.
    const float u0 = flags & kViewMirrorH ? 1.0f : 0.0f, v0 = flags & kViewMirrorV ? 1.0f : 0.0f;
    FlushDrawing();
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_TEXTURE_BIT);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glBindTexture(GL_TEXTURE_2D, pictures_.TextureOf(editor_.GetCollection(), bitmap));
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glColor4ub(255, 255, 255, alpha);
    glBegin(GL_QUADS);
    glTexCoord2f(u0, v0), glVertex2i(left, top);
    glTexCoord2f(1 - u0, v0), glVertex2i(right, top);
    glTexCoord2f(1 - u0, 1 - v0), glVertex2i(right, bottom);
    glTexCoord2f(u0, 1 - v0), glVertex2i(left, bottom);
    glEnd();
    glPopAttrib();
}

void X256SequenceFrameView::Draw() {
    const int width = Client().Width(), height = Client().Height();
    SetColour(background_);
    Skin::FillRect({0, 0, width, height});
    const Sequence* sequence = Shown();
    if (!sequence || sequence->frames.empty()) return;
    const int count = int(sequence->frames.size());
    const int frame = std::min(frame_, count - 1);
    const int set = editor_.DisplaySet();
    const Point origin = Origin();
    auto viewOf = [&](int f) -> const View* {
        const auto& views = sequence->frames[size_t(f)].views;
        return view_ < int(views.size()) ? &views[size_t(view_)] : nullptr;
    };
    // Where a view's picture lies: its registration point on the origin.
    auto place = [&](const View& view, int& left, int& top) {
        const ViewSet& shown = view.Shown(set);
        left = origin.x - shown.regX * zoom_;
        top = origin.y - shown.regY * zoom_;
    };
    if (options_ & kShowOrigin) {
        SetColour(0xFFFFFF50);
        Skin::FillRect({0, origin.y, width, origin.y + 1});
        Skin::FillRect({origin.x, 0, origin.x + 1, height});
    }
    const std::shared_ptr<Bitmap>& shadow = sequence->frames[size_t(frame)].shadow.bitmap;
    if ((options_ & kShowShadow) && shadow)
        DrawSprite(shadow, origin.x - shadow->width * zoom_ / 2, origin.y - shadow->height * zoom_ / 2, 0, 255);
    if ((options_ & kShowOnionSkin) && count > 1)
        for (int f : {(frame + count - 1) % count, (frame + 1) % count}) {
            const View* view = viewOf(f);
            if (!view || f == frame) continue;
            int left = 0, top = 0;
            place(*view, left, top);
            DrawSprite(view->Shown(set).bitmap, left, top, view->flags, 80);
        }
    const View* view = viewOf(frame);
    if (!view) return;
    const std::shared_ptr<Bitmap>& bitmap = view->Shown(set).bitmap;
    int left = 0, top = 0;
    place(*view, left, top);
    if (options_ & kShowBitmap) DrawSprite(bitmap, left, top, view->flags, 255);
    if ((options_ & kShowSelectionBox) && bitmap) {
        SetColour(0x60C0FFFF);
        Skin::DrawRectOutline({left - 1, top - 1, left + bitmap->width * zoom_ + 1, top + bitmap->height * zoom_ + 1}, 1,
                              false);
    }
    auto keyPointOf = [&](const View& v) {
        int l = 0, t = 0;
        place(v, l, t);
        return Point{l + v.pointX * zoom_ + zoom_ / 2, t + v.pointY * zoom_ + zoom_ / 2};
    };
    if (options_ & kShowContrail) {
        SetColour(0xFFD04090);
        for (int f = 0; f < count; ++f)
            if (const View* v = viewOf(f)) {
                const Point p = keyPointOf(*v);
                Skin::FillRect({p.x - 1, p.y - 1, p.x + 2, p.y + 2});
            }
    }
    if (options_ & kShowKeyPoint) Diamond(keyPointOf(*view), 0x40FF60FF);
    if (options_ & kShowRegPoint) Cross(origin, 0xFF4040FF);
}

}  // namespace tamber::collections::editor
