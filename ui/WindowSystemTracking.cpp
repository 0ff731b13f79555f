// Mouse tracking, drag and drop, and the overview mode: the handlers that take
// every event while they run.
#include <algorithm>
#include <cmath>

#include "platform/Os.h"
#include "ui/RectOps.h"
#include "ui/WindowSystem.h"

namespace tamber::ui {
using namespace tamber::platform;

bool WindowSystem::BeginMouseTracking(Window* window, TrackCallback callback) {
    if (tracking_.active || !window) return false;
    tracking_ = Tracking{};
    tracking_.active = true;
    tracking_.window = window;
    tracking_.callback = callback ? std::move(callback) : [](Window* w, Point start, Point current, int phase) {
        w->OnMouseTrack(start, current, phase);
    };
    tracking_.start = tracking_.current = tracking_.previous = mouse_;
    PushEventHandler([this](int kind, Event& event) { return TrackingHandler(kind, event); });
    TrackCallback call = tracking_.callback;
    call(window, tracking_.start, tracking_.start, 0);
    return true;
}

bool WindowSystem::BeginDrag(Window* window, Window::DragDropData* data, TrackCallback callback) {
    std::unique_ptr<Window::DragDropData> owned(data);
    if (tracking_.active || !window) return false;
    DragImageDrawer drawer;
    for (auto& [type, fn] : dragImages_) {
        if (data && type == data->Type()) drawer = fn;
    }
    Point offset;
    if (drawer && data) offset = drawer(data, mouse_, true);
    if (!BeginMouseTracking(window, std::move(callback))) return false;
    tracking_.data = std::move(owned);
    tracking_.drawer = drawer;
    tracking_.imageOffset = offset;
    return true;
}

void WindowSystem::RegisterDragImage(int type, DragImageDrawer drawer) {
    dragImages_.emplace_back(type, std::move(drawer));
}

bool WindowSystem::TrackingHandler(int kind, Event& event) {
    if (kind == kEventMouseMove) {
        tracking_.previous = tracking_.current;
        tracking_.current = event.Position();
        TrackCallback call = tracking_.callback;
        call(tracking_.window, tracking_.start, tracking_.current, 1);
        if (tracking_.active && tracking_.data) {
            ForceFullRedraw();
            Window* target = mouseWindow_;
            tracking_.accepted = target && target->OnDragOver(tracking_.current, 1, tracking_.data.get());
            SetCursorShape(tracking_.accepted ? 7 : 8);
        }
    } else if ((kind == kEventMouseButton || kind == kEventDoubleClick) && !event.ButtonPressed()) {
        EndTracking(event.Position());
    }
    return true;
}

void WindowSystem::EndTracking(Point point) {
    if (tracking_.data && tracking_.accepted && mouseWindow_) {
        mouseWindow_->OnDragOver(point, 0, tracking_.data.get());
    }
    Tracking ended = std::move(tracking_);
    tracking_ = Tracking{};
    PopEventHandler();
    RecomputeMouseWindow();
    if (ended.callback) ended.callback(ended.window, ended.start, point, 2);
    if (ended.data) ForceFullRedraw();
}

// ---- Overview mode ----

std::vector<Window*> WindowSystem::OverviewWindows() const {
    std::vector<Window*> windows;
    if (!layer0_) return windows;
    for (Window* w = layer0_->FirstChild(); w; w = w->NextSibling()) {
        if (w->IsVisible() && !w->HasFlags(kStyleNoOverview)) windows.push_back(w);
    }
    return windows;
}

void WindowSystem::LayoutOverview() {
    std::vector<Window*> windows = OverviewWindows();
    if (windows.empty()) return;
    Rect area = layer0_->Client();
    int count = int(windows.size());
    int columns = int(std::ceil(std::sqrt(double(count))));
    int rows = (count + columns - 1) / columns;
    double cellW = area.Width() * 0.95 / columns;
    double cellH = area.Height() * 0.95 / rows;
    double marginX = area.Width() * 0.025, marginY = area.Height() * 0.025;
    for (int i = 0; i < count; ++i) {
        Window* w = windows[size_t(i)];
        const Rect& f = w->Frame();
        double scale = std::min({1.0, cellW / std::max(1, f.Width()), cellH / std::max(1, f.Height())});
        int width = int(f.Width() * scale), height = int(f.Height() * scale);
        int cx = area.left + int(marginX + cellW * (i % columns) + (cellW - width) / 2);
        int cy = area.top + int(marginY + cellH * (i / columns) + (cellH - height) / 2);
        auto scaled = [&](const Rect& r) {
            return Rect{cx + int((r.left - f.left) * scale), cy + int((r.top - f.top) * scale),
                        cx + int((r.right - f.left) * scale), cy + int((r.bottom - f.top) * scale)};
        };
        // The whole window shrinks: every descendant is shown scaled inside it.
        ForEachInTree(w, [&](Window* d) {
            d->SetRenderBits(kRenderFrozen);
            d->SetDisplayRects(scaled(d->Frame()), scaled(d->Client()));
        });
    }
}

void WindowSystem::ForEachInTree(Window* window, const std::function<void(Window*)>& visit) {
    visit(window);
    for (Window* child = window->FirstChild(); child; child = child->NextSibling()) ForEachInTree(child, visit);
}

double WindowSystem::OverviewProgress() const {
    if (!(redrawFlags_ & (kRedrawOverview | kRedrawAnimating))) return 0.0;
    double t = std::clamp((OsGetTime() - overviewStart_) / kOverviewSeconds, 0.0, 1.0);
    if (!(redrawFlags_ & kRedrawAnimating)) return 1.0;
    return (redrawFlags_ & kRedrawAnimatingIn) ? t : 1.0 - t;
}

void WindowSystem::ToggleOverview() {
    overviewStart_ = OsGetTime();
    ForceFullRedraw();
    if (!InOverview()) {
        LayoutOverview();
        redrawFlags_ |= kRedrawOverview | kRedrawAnimating | kRedrawAnimatingIn;
        PushEventHandler([this](int kind, Event& event) { return OverviewHandler(kind, event); });
        RecomputeMouseWindow();
    } else {
        // Animate back; the mode ends when the animation has run.
        redrawFlags_ |= kRedrawAnimating;
        redrawFlags_ &= ~kRedrawAnimatingIn;
    }
}

void WindowSystem::FinishOverviewAnimation() {
    redrawFlags_ &= ~kRedrawAnimating;
    if (redrawFlags_ & kRedrawAnimatingIn) return;
    redrawFlags_ &= ~(kRedrawOverview | kRedrawAnimatingIn);
    for (Window* w : OverviewWindows()) {
        ForEachInTree(w, [](Window* d) {
            d->ClearRenderBits(kRenderFrozen);
            d->SetDisplayRects(d->Frame(), d->Client());
        });
    }
    PopEventHandler();
    ForceFullRedraw();
    RecomputeMouseWindow();
}

bool WindowSystem::OverviewHandler(int kind, Event& event) {
    bool leaving = (redrawFlags_ & kRedrawAnimating) && !(redrawFlags_ & kRedrawAnimatingIn);
    if (leaving) return true;
    if (kind == kEventKey) {
        if (event.Pressed() && event.Key() == kKeyF10) ToggleOverview();
        return true;
    }
    if ((kind == kEventMouseButton || kind == kEventDoubleClick) && event.ButtonPressed()) {
        for (Window* w : OverviewWindows()) {
            if (RectContains(w->DisplayFrame(), event.Position())) {
                w->BringToFront();
                SetFocus(w, kFocusByMouse);
                ToggleOverview();
                break;
            }
        }
    }
    return true;
}

}  // namespace tamber::ui
