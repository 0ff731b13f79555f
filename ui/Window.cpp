#include "ui/Window.h"

#include <algorithm>

#include "ui/Font.h"
#include "ui/RectOps.h"
#include "ui/Skin.h"
#include "ui/WindowSystem.h"

namespace tamber::ui {

namespace {

constexpr int kShadowWidth = 16;

// Frame hit tests use inclusive bounds, so the right and bottom edges count as inside.
bool ContainsInclusive(const Rect& r, Point p) {
    return p.x >= r.left && p.x <= r.right && p.y >= r.top && p.y <= r.bottom;
}

}  // namespace

Window::Window(uint32_t flags, Window* parent) {
    if (parent) font_ = parent->font_;
    SetFlags(flags | kStyleEnabled);
    if (parent) {
        SetParent(parent);
    } else if (!(flags & kStyleTopBoundary)) {
        WindowSystem& ws = WS();
        SetParent((flags & kStyleUpperLayer) ? ws.Layer1() : ws.Layer0());
    }
    SetFrame({0, 0, 0, 0});
}

Window::~Window() {
    WindowSystem& ws = WS();
    renderState_ |= kRenderDestroying;
    bool wasShown = IsShown();
    Rect covered = ShadowWidened(frame_);
    bool focusInside = ws.Focus() && ws.Focus()->IsInside(this);
    ws.ForgetWindow(this);
    UnlinkTab();

    if (focusInside && parent_) {
        Window* sibling = nullptr;
        for (Window* w = nextSibling_; w && !sibling; w = w->nextSibling_) {
            if (w->IsVisible()) sibling = w;
        }
        for (Window* w = previousSibling_; w && !sibling; w = w->previousSibling_) {
            if (w->IsVisible()) sibling = w;
        }
        if (sibling) {
            sibling->BringToFront();
            ws.SetFocus(sibling, kFocusByProgram);
        }
    }

    Window* formerParent = parent_;
    bool cascade = formerParent && (formerParent->renderState_ & kRenderDestroying);
    if (parent_) {
        if (parent_->focusChild_ == this) parent_->focusChild_ = nullptr;
        if (parent_->focusDelegate_ == this) parent_->focusDelegate_ = nullptr;
        parent_->OnChildRemoved(this);
        Unlink();
    }
    while (firstChild_) delete firstChild_;

    if (!ws.Focus() || ws.Focus() == this) {
        for (Window* a = formerParent; a; a = a->parent_) {
            if (ws.SetFocus(a, kFocusByProgram)) break;
        }
        if (!ws.Focus()) ws.FocusLayer0();
    }
    if (wasShown && !cascade) ws.Invalidate(covered);
    DisconnectAll();
}

bool Window::CanClose(int) {
    WindowSystem& ws = WS();
    if (ws.IsOnModalStack(this)) ws.EndModal(this, 0);
    return true;
}

void Window::OnMouseTrack(Point start, Point current, int phase) { FrameTrack(start, current, phase); }

// ---- Tree ----

void Window::Unlink() {
    if (previousSibling_) previousSibling_->nextSibling_ = nextSibling_;
    else if (parent_) parent_->firstChild_ = nextSibling_;
    if (nextSibling_) nextSibling_->previousSibling_ = previousSibling_;
    else if (parent_) parent_->lastChild_ = previousSibling_;
    if (parent_) --parent_->childCount_;
    previousSibling_ = nextSibling_ = nullptr;
    parent_ = nullptr;
}

void Window::LinkAtBack(Window* parent) {
    parent_ = parent;
    previousSibling_ = parent->lastChild_;
    nextSibling_ = nullptr;
    if (parent->lastChild_) parent->lastChild_->nextSibling_ = this;
    else parent->firstChild_ = this;
    parent->lastChild_ = this;
    ++parent->childCount_;
}

void Window::SetParent(Window* newParent) {
    if (newParent == parent_) return;
    Window* oldParent = parent_;
    if (oldParent) {
        if (oldParent->focusChild_ == this) oldParent->focusChild_ = nullptr;
        if (oldParent->focusDelegate_ == this) oldParent->focusDelegate_ = nullptr;
    }
    if (newParent && (flags_ & kStyleFocusable)) newParent->focusChild_ = this;
    OnParentChanging(oldParent, newParent);
    if (oldParent) {
        oldParent->OnChildRemoved(this);
        Unlink();
    }
    if (newParent) {
        LinkAtBack(newParent);
        BringToFront();
        newParent->OnChildAdded(this);
    }
}

void Window::BringToFront() {
    if ((flags_ & kStyleTopBoundary) || !parent_ || parent_->firstChild_ == this) return;
    Window* parent = parent_;
    int count = parent->childCount_;
    Unlink();
    parent_ = parent;
    nextSibling_ = parent->firstChild_;
    previousSibling_ = nullptr;
    if (parent->firstChild_) parent->firstChild_->previousSibling_ = this;
    else parent->lastChild_ = this;
    parent->firstChild_ = this;
    parent->childCount_ = count;
    Invalidate();
}

void Window::SendToBack() {
    if (!parent_ || parent_->lastChild_ == this) return;
    Window* parent = parent_;
    int count = parent->childCount_;
    Unlink();
    LinkAtBack(parent);
    parent->childCount_ = count;
    Invalidate();
}

Window* Window::GetTopLevel() {
    Window* w = this;
    while (w->parent_ && !(w->parent_->flags_ & kStyleTopBoundary)) w = w->parent_;
    return w;
}

bool Window::IsInside(const Window* ancestor) const {
    for (const Window* w = this; w; w = w->parent_) {
        if (w == ancestor) return true;
    }
    return false;
}

Window* Window::FindChild(const char* name, const char* className) const {
    for (Window* c = firstChild_; c; c = c->nextSibling_) {
        const char* childName = c->GetName();
        bool nameMatches = name ? (childName && std::string(childName) == name) : childName == nullptr;
        if (nameMatches && className && std::string(c->GetClassName()) == className) return c;
    }
    return nullptr;
}

// ---- Geometry ----

int Window::BorderWidth() const {
    if (flags_ & kStyleResizable) return WS().ThickBorder();
    if (flags_ & kStyleThinBorder) return WS().ThinBorder();
    return 0;
}

void Window::GetMinimumSize(Point& out) {
    out = {0, 0};
    int thick = WS().ThickBorder();
    if (flags_ & kStyleResizable) {
        if (borderSides_ & 1) out.x += thick;
        if (borderSides_ & 4) out.x += thick;
        if (borderSides_ & 2) out.y += thick;
        if (borderSides_ & 8) out.y += thick;
    }
    int title = 0;
    if (flags_ & kStyleTitleBar) {
        title = kTitleBarHeight + ((flags_ & kStyleResizable) ? 0 : 2 * thick);
        out.y += title;
    }
    if (flags_ & kStyleAltFrame) {
        out.y -= title;
        out.x += 64;
        out.y += 64;
    }
}

void Window::ConstrainFrame(const Rect& current, const Rect& requested, Rect& out) {
    Point minimum;
    GetMinimumSize(minimum);
    out = requested;
    if (requested.Width() < minimum.x) {
        if (requested.right == current.right && requested.left != current.left) {
            out.left = requested.right - minimum.x;
        } else {
            out.right = requested.left + minimum.x;
        }
    }
    if (requested.Height() < minimum.y) {
        if (requested.bottom == current.bottom && requested.top != current.top) {
            out.top = requested.bottom - minimum.y;
        } else {
            out.bottom = requested.top + minimum.y;
        }
    }
}

void Window::FrameToClient(const Rect& frame, Rect& out) {
    int b = BorderWidth();
    out = frame;
    if (borderSides_ & 1) out.left += b;
    if (borderSides_ & 2) out.top += b;
    if (borderSides_ & 4) out.right -= b;
    if (borderSides_ & 8) out.bottom -= b;
    if (flags_ & kStyleTitleBar) out.top += kTitleBarHeight + ((flags_ & kStyleResizable) ? b : 0);
    if (out.right < out.left) out.right = out.left;
    if (out.bottom < out.top) out.bottom = out.top;
}

Rect Window::RelativeFrame() const {
    if (!parent_) return frame_;
    return RectOffset(frame_, -parent_->client_.left, -parent_->client_.top);
}

void Window::SetFrame(const Rect& rect) {
    Rect absolute = parent_ ? RectOffset(rect, parent_->client_.left, parent_->client_.top) : rect;
    SetFrameAbsolute(absolute);
}

void Window::SetFrameAbsolute(const Rect& requested) {
    Rect oldFrame = frame_;
    Rect oldClient = client_;
    Rect constrained;
    ConstrainFrame(frame_, requested, constrained);
    Rect client;
    FrameToClient(constrained, client);
    frame_ = constrained;
    client_ = client;
    if (displayState_ == kDisplayNormal) normalFrame_ = RelativeFrame();
    if (!(renderState_ & kRenderFrozen)) {
        displayFrame_ = frame_;
        displayClient_ = client_;
    }
    int dx = frame_.left - oldFrame.left;
    int dy = frame_.top - oldFrame.top;
    bool moved = dx != 0 || dy != 0;
    if (moved) {
        for (Window* c = firstChild_; c; c = c->nextSibling_) c->MoveDescendants(dx, dy);
        OnMove({oldFrame.left, oldFrame.top}, {frame_.left, frame_.top});
    }
    bool resized = oldFrame.Width() != frame_.Width() || oldFrame.Height() != frame_.Height() ||
                   oldClient.Width() != client_.Width() || oldClient.Height() != client_.Height();
    if (resized || moved) OnResize();
    if (IsShown() && !(renderState_ & kRenderDestroying)) {
        WindowSystem& ws = WS();
        ws.Invalidate(ShadowWidened(oldFrame));
        ws.Invalidate(ShadowWidened(frame_));
    }
}

void Window::MoveDescendants(int dx, int dy) {
    frame_ = RectOffset(frame_, dx, dy);
    client_ = RectOffset(client_, dx, dy);
    if (!(renderState_ & kRenderFrozen)) {
        displayFrame_ = frame_;
        displayClient_ = client_;
    }
    for (Window* c = firstChild_; c; c = c->nextSibling_) c->MoveDescendants(dx, dy);
    OnMove({frame_.left - dx, frame_.top - dy}, {frame_.left, frame_.top});
    OnResize();
}

void Window::SetSize(int w, int h) {
    Rect r = RelativeFrame();
    SetFrame({r.left, r.top, r.left + w, r.top + h});
}

void Window::SetWidth(int w) { SetSize(w, frame_.Height()); }

void Window::CenterInParent() {
    if (!parent_) return;
    int x = std::max(0, (parent_->client_.Width() - frame_.Width()) / 2);
    int y = std::max(0, (parent_->client_.Height() - frame_.Height()) / 2);
    SetFrameXYWH(x, y, frame_.Width(), frame_.Height());
    BringToFront();
}

Rect Window::ShadowWidened(const Rect& rect) const {
    if (!(flags_ & kStyleShadow)) return rect;
    return {rect.left, rect.top, rect.right + kShadowWidth, rect.bottom + kShadowWidth};
}

// ---- Flags and visibility ----

void Window::SetFlags(uint32_t bits) {
    uint32_t changed = bits & ~flags_;
    if (!changed) return;
    flags_ |= bits;
    OnFlagsChanged(changed);
}

void Window::ClearFlags(uint32_t bits) {
    uint32_t changed = bits & flags_;
    if (!changed) return;
    flags_ &= ~bits;
    OnFlagsChanged(changed);
}

void Window::OnFlagsChanged(uint32_t changedBits) {
    if (renderState_ & kRenderDestroying) return;
    if (changedBits & kStyleVisible) {
        // Shown or hidden: whatever it covers changes.
        if (parent_ && parent_->IsShown()) WS().Invalidate(ShadowWidened(frame_));
        if (!IsVisible()) WS().RecomputeMouseWindow();
    } else if (changedBits) {
        Invalidate();
    }
}

bool Window::IsShown() const {
    if (!IsVisible()) return false;
    for (const Window* a = parent_; a; a = a->parent_) {
        if (a->flags_ & kStyleTopBoundary) break;
        if (!a->IsVisible() || a->displayState_ == kDisplayRolledUp) return false;
    }
    return parent_ != nullptr || (flags_ & kStyleTopBoundary);
}

void Window::Invalidate() {
    if (renderState_ & kRenderDestroying) return;
    renderState_ |= kRenderClient | kRenderFrame;
    WS().InvalidateWindow(this);
}

void Window::InvalidateClient() {
    if (renderState_ & kRenderDestroying) return;
    renderState_ |= kRenderClient;
    if (IsShown()) WS().Invalidate(client_);
}

void Window::InvalidateRect(const Rect& r) {
    if (renderState_ & kRenderDestroying) return;
    renderState_ |= kRenderClient;
    if (IsShown()) WS().Invalidate(RectOffset(r, client_.left, client_.top));
}

// ---- Focus and tab chain ----

bool Window::IsFocused() const {
    Window* focus = WS().Focus();
    return focus && (focus == this || focus == focusDelegate_);
}

void Window::InsertTabAfter(Window* previous) {
    UnlinkTab();
    if (!previous) return;
    tabPrevious_ = previous;
    tabNext_ = previous->tabNext_;
    if (tabNext_) tabNext_->tabPrevious_ = this;
    previous->tabNext_ = this;
}

void Window::UnlinkTab() {
    if (tabPrevious_) tabPrevious_->tabNext_ = tabNext_;
    if (tabNext_) tabNext_->tabPrevious_ = tabPrevious_;
    tabPrevious_ = tabNext_ = nullptr;
}

// ---- Lifecycle ----

void Window::Close() {
    if (displayState_ == kDisplayClosed) return;
    OnClose();
    DisconnectAll();
    WS().ScheduleDeletion(this);
    displayState_ = kDisplayClosed;
}

void Window::CloseChildren() {
    while (Window* child = firstChild_) {
        child->SetParent(nullptr);
        child->Close();
    }
}

void Window::ToggleMaximised() {
    if (displayState_ == kDisplayMaximised) {
        displayState_ = kDisplayNormal;
        SetFrame(normalFrame_);
    } else if (displayState_ == kDisplayRolledUp) {
        SetRolledUp(0);
    } else if (displayState_ == kDisplayNormal && HasFlags(kStyleResizable | kStyleMaximisable) && parent_) {
        displayState_ = kDisplayMaximised;
        SetFrame({0, 0, parent_->client_.Width(), parent_->client_.Height()});
    }
}

void Window::SetRolledUp(int mode) {
    if (displayState_ == kDisplayClosed) return;
    bool rolled = displayState_ == kDisplayRolledUp;
    bool rollUp = mode == 1 || (mode == -1 && !rolled);
    if (rollUp && !rolled) {
        if (displayState_ == kDisplayMaximised) ToggleMaximised();
        displayState_ = kDisplayRolledUp;
        Rect r = RelativeFrame();
        SetFrame({r.left, r.top, r.right, r.top + 30});
        WS().RecomputeMouseWindow();
    } else if (!rollUp && rolled) {
        displayState_ = kDisplayNormal;
        Rect r = RelativeFrame();
        SetFrame({r.left, r.top, r.left + normalFrame_.Width(), r.top + normalFrame_.Height()});
    }
}

void Window::GetPlacement(int32_t out[5]) const {
    Rect r = displayState_ == kDisplayNormal ? RelativeFrame() : normalFrame_;
    out[0] = displayState_;
    out[1] = r.left;
    out[2] = r.top;
    out[3] = r.right;
    out[4] = r.bottom;
}

void Window::ApplyPlacement(const int32_t placement[5]) {
    Rect r{placement[1], placement[2], placement[3], placement[4]};
    SetFrame(r);
    // Fit inside layer0's client area.
    Window* layer0 = WS().Layer0();
    if (layer0 && parent_) {
        Rect area = layer0->Client();
        Rect f = frame_;
        int w = std::min(f.Width(), area.Width());
        int h = std::min(f.Height(), area.Height());
        int left = std::clamp(f.left, area.left, area.right - w);
        int top = std::clamp(f.top, area.top, area.bottom - h);
        SetFrameAbsolute({left, top, left + w, top + h});
    }
    int state = placement[0];
    if (state == kDisplayMaximised) {
        displayState_ = kDisplayNormal;
        ToggleMaximised();
    } else if (state == kDisplayRolledUp) {
        SetRolledUp(1);
    }
}

Font* Window::GetFont() const { return font_ ? font_ : WS().DefaultFont(); }

int Window::DrawText(const char* text, int style, int flags, const Rect& rect) {
    return ui::DrawText(GetFont(), text, style, flags, rect);
}

// ---- Hit testing and frame mouse ----

Rect Window::TitleBoxRect(uint32_t box) const {
    Skin* skin = WS().GetSkin();
    if (!skin || !(flags_ & box)) return {};
    int b = BorderWidth();
    Rect band{frame_.left + b, frame_.top + b, frame_.right - b, frame_.top + b + kTitleBarHeight};
    // Counted from the right end of the title band: close, maximise, roll-up, each
    // taking a slot only when the window has it.
    int slot = 0;
    for (uint32_t candidate : {uint32_t(kStyleCloseBox), uint32_t(kStyleMaximiseBox), uint32_t(kStyleRollUpBox)}) {
        if (candidate == box) return skin->TitleBoxRect(band, slot);
        if (flags_ & candidate) ++slot;
    }
    return {};
}

uint32_t Window::HitTest(Point p) {
    if (!ContainsInclusive(frame_, p)) return kHitNone;
    if (RectContains(client_, p)) return kHitClient;
    uint32_t result = 0;
    int b = BorderWidth();
    if (flags_ & kStyleTitleBar) {
        Rect band{frame_.left + b, frame_.top + b, frame_.left + b + client_.Width(), frame_.top + b + kTitleBarHeight};
        if (ContainsInclusive(band, p)) {
            for (uint32_t box : {uint32_t(kHitCloseBox), uint32_t(kHitMaximiseBox), uint32_t(kHitRollUpBox)}) {
                if ((flags_ & box) && RectContains(TitleBoxRect(box), p)) return box;
            }
            result = kHitTitle;
        }
    }
    if (flags_ & kStyleResizable) {
        if ((borderSides_ & 2) && p.y < frame_.top + b) result |= kHitTop;
        else if ((borderSides_ & 8) && p.y >= frame_.bottom - b) result |= kHitBottom;
        if ((borderSides_ & 1) && p.x < frame_.left + b) result |= kHitLeft;
        else if ((borderSides_ & 4) && p.x >= frame_.right - b) result |= kHitRight;
    }
    return result ? result : uint32_t(kHitFrame);
}

void Window::OnFrameMouseButton(Event& event) {
    if (event.Button() == 1 || !event.ButtonPressed()) return;
    WindowSystem& ws = WS();
    uint32_t hit = uint32_t(event.HitCode());
    bool edgeDrag = (hit & kHitEdges) && HasFlags(kStyleResizable | kStyleMaximisable) &&
                    displayState_ == kDisplayNormal;
    bool titleDrag = hit == kHitTitle && (flags_ & kStyleTitleBar) && displayState_ != kDisplayMaximised;
    bool box = hit == kHitCloseBox || hit == kHitMaximiseBox || hit == kHitRollUpBox;
    if (!edgeDrag && !titleDrag && !box) return;
    trackHit_ = hit;
    trackFrame_ = RelativeFrame();
    // The title bar may not go above layer0's client area (the surface for modal windows),
    // so a drag that moves the top stops there; a bottom edge follows the mouse up to the
    // minimum size.
    int limit = ws.IsOnModalStack(this) ? 0 : (ws.Layer0() ? ws.Layer0()->Client().top : 0);
    const bool movesTop = hit == kHitTitle || (hit & kHitTop);
    trackMinY_ = movesTop ? limit + (event.Position().y - frame_.top) : 0;
    if (box) {
        pressedTitleBox_ = hit;
        ws.Invalidate(TitleBoxRect(hit));
    }
    ws.BeginMouseTracking(this);
}

void Window::FrameTrack(Point start, Point current, int phase) {
    if (!trackHit_) return;
    WindowSystem& ws = WS();
    uint32_t hit = trackHit_;
    if (hit == kHitCloseBox || hit == kHitMaximiseBox || hit == kHitRollUpBox) {
        Rect box = TitleBoxRect(hit);
        bool over = RectContains(box, current);
        uint32_t shown = (over && phase != 2) ? hit : 0;
        if (shown != pressedTitleBox_) {
            pressedTitleBox_ = shown;
            ws.Invalidate(box);
        }
        if (phase == 2) {
            trackHit_ = 0;
            if (!over) return;
            if (hit == kHitCloseBox) {
                if (CanClose(1)) Close();
            } else if (hit == kHitMaximiseBox) {
                ToggleMaximised();
            } else {
                SetRolledUp(-1);
            }
        }
        return;
    }
    Point p = current;
    p.y = std::max(p.y, trackMinY_);
    p.x = std::clamp(p.x, 0, std::max(0, ws.SurfaceWidth()));
    p.y = std::min(p.y, std::max(0, ws.SurfaceHeight()));
    int dx = p.x - start.x;
    int dy = p.y - start.y;
    Rect r = trackFrame_;
    if (hit == kHitTitle) {
        r = RectOffset(r, dx, dy);
    } else {
        if (hit & kHitLeft) r.left += dx;
        if (hit & kHitRight) r.right += dx;
        if (hit & kHitTop) r.top += dy;
        if (hit & kHitBottom) r.bottom += dy;
    }
    SetFrame(r);
    if (phase == 2) trackHit_ = 0;
}

void Window::OnFrameDoubleClick(Event& event) {
    if (uint32_t(event.HitCode()) == kHitTitle) ToggleMaximised();
}

}  // namespace tamber::ui
