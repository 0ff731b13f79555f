#include "collections/editor/X256SequenceFrameView.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "collections/editor/X256Edit.h"
#include "platform/Os.h"
#include "ui/DrawBatch.h"
#include "ui/Skin.h"
#include "ui/WindowSystem.h"

namespace tamber::collections::editor {
using namespace tamber::platform;

namespace {

constexpr int kArrowStep = 1;
constexpr int kShiftArrowStep = 10;
constexpr int kMarkerArm = 6;

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

}  // namespace

X256SequenceFrameView::X256SequenceFrameView(X256Edit& editor, int sequence, Window* parent)
    : Window(kStyleVisible | kStyleEnabled | kStyleFocusable, parent), editor_(editor), sequence_(sequence) {
    SetName("Frame View");
    editor_.sequencesChanged.Connect(this, &X256SequenceFrameView::OnSequencesChanged);
    editor_.bitmapsChanged.Connect(this, &X256SequenceFrameView::ForgetTextures);
    editor_.colorTableChanged.Connect(this, &X256SequenceFrameView::ForgetTextures);
}

X256SequenceFrameView::~X256SequenceFrameView() { ForgetTextures(); }

void X256SequenceFrameView::ForgetTextures() {
    for (auto& [key, texture] : textures_) {
        const GLuint name = texture.name;
        if (name) glDeleteTextures(1, &name);
    }
    textures_.clear();
    InvalidateClient();
}

void X256SequenceFrameView::OnSequencesChanged() { InvalidateClient(); }

const Sequence* X256SequenceFrameView::Shown() const {
    const auto& sequences = editor_.GetCollection().sequences;
    return sequence_ >= 0 && sequence_ < int(sequences.size()) ? &sequences[size_t(sequence_)] : nullptr;
}

void X256SequenceFrameView::SetCell(int frame, int view) {
    frame_ = std::max(frame, 0);
    view_ = std::max(view, 0);
    InvalidateClient();
    changed.Emit();
}

void X256SequenceFrameView::SetZoom(int zoom) {
    zoom_ = std::clamp(zoom, 1, kMaxZoom);
    InvalidateClient();
    changed.Emit();
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

Point X256SequenceFrameView::Origin() const { return {Client().Width() / 2, Client().Height() * 2 / 3}; }

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
    if (event.Button() != 0 || !event.ButtonPressed()) return;
    WS().SetFocus(this, 0);
    dragKey_ = nextKey_++;
    dragApplied_ = {};
    if (!WS().BeginMouseTracking(this)) dragKey_ = 0;
}

void X256SequenceFrameView::OnMouseTrack(Point start, Point current, int phase) {
    if (!dragKey_) return;
    // Whole picture pixels moved since the press, less what was already applied.
    const Point total{int(std::lround(double(current.x - start.x) / zoom_)),
                      int(std::lround(double(current.y - start.y) / zoom_))};
    Move(total.x - dragApplied_.x, total.y - dragApplied_.y, dragKey_);
    dragApplied_ = total;
    if (phase == 2) dragKey_ = 0;
}

void X256SequenceFrameView::OnWheel(Event&) { SetZoom(zoom_ + (WS().WheelDelta(false) > 0 ? 1 : -1)); }

uint32_t X256SequenceFrameView::TextureOf(const std::shared_ptr<Bitmap>& bitmap) {
    Texture& texture = textures_[bitmap.get()];
    if (texture.name && texture.bitmap.lock() == bitmap) return texture.name;
    if (texture.name) {
        const GLuint old = texture.name;
        glDeleteTextures(1, &old);
    }
    const Collection& collection = editor_.GetCollection();
    const size_t count = bitmap->PixelCount();
    std::vector<uint8_t> rgba(count * 4);
    if (!bitmap->IsHighColour() && bitmap->pixels.size() == count * kPalettedPixelBytes)
        for (size_t i = 0; i < count; ++i) {
            const uint8_t* colour = &collection.palette[size_t(bitmap->pixels[i * 2 + 1]) * 3];
            std::copy(colour, colour + 3, &rgba[i * 4]);
            rgba[i * 4 + 3] = bitmap->pixels[i * 2];
        }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, bitmap->width, bitmap->height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    texture = {bitmap, name};
    return name;
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
    glBindTexture(GL_TEXTURE_2D, TextureOf(bitmap));
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
