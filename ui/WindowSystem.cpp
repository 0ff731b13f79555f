#include "ui/WindowSystem.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <utility>

#include "platform/Os.h"
#include "ui/CharSet.h"

namespace tamber::ui {
using namespace tamber::platform;

namespace {

std::unique_ptr<WindowSystem> instance;

constexpr double kDoubleClickSeconds = 0.2;
constexpr double kDoubleClickPause = 0.3;

int GenericKey(int key) {
    switch (key) {
    case kKeyKeypadEnter: return kKeyEnter;
    case kKeyLeftShift: case kKeyRightShift: return kKeyShift;
    case kKeyLeftCtrl: case kKeyRightCtrl: return kKeyCtrl;
    case kKeyLeftCommand: case kKeyRightCommand: return kKeyCommand;
    case kKeyLeftAlt: case kKeyRightAlt: return kKeyAlt;
    default: return key;
    }
}

}  // namespace

WindowSystem& WindowSystem::Instance() {
    if (!instance) instance.reset(new WindowSystem);
    return *instance;
}

void WindowSystem::Reset() {
    if (!instance) return;
    instance->running_ = false;
    instance->deletion_.clear();
    // The root's destructor deletes the whole tree; its windows still reach the
    // window system while they go.
    std::unique_ptr<Window> root(instance->root_);
    root.reset();
    instance.reset();
}

void WindowSystem::InitWindowSystem() {
    root_ = new Window(kStyleTopBoundary | kStyleVisible, nullptr);
    root_->SetName("root");
    layer1_ = new Window(kStyleTopBoundary | kStyleVisible, root_);
    layer1_->SetName("layer1");
    layer0_ = new Window(kStyleTopBoundary | kStyleVisible | kStylePanelA, root_);
    layer0_->SetName("layer0");
    layer1_->BringToFront();
    modalStack_.assign(1, {nullptr, 0});
    focus_ = layer0_;
    mouseWindow_ = layer0_;
    redrawFlags_ |= kRedrawDuringResize | kRedrawFull;
}

// ---- Input entry points ----

void WindowSystem::ConnectPlatform() {
    OsSetKeyCallback([](int key, int pressed) { WS().QueueKey(key, pressed); });
    OsSetCharCallback([](int character, int action) { WS().QueueChar(character, action); });
    OsSetMouseButtonCallback([](int button, int pressed) { WS().QueueMouseButton(button, pressed); });
    OsSetMousePosCallback([](int x, int y) { WS().QueueMouseMove(x, y); });
    OsSetMouseWheelCallback([](int position) { WS().QueueWheel(position); });
    OsSetWindowRefreshCallback([] { WS().SurfaceRefresh(); });
    OsSetWindowSizeCallback([](int width, int height) { WS().SurfaceResized(width, height); });
}

void WindowSystem::Enqueue(const Event& event) {
    if (queueCount_ >= kQueueSize) return;
    queue_[queueWrite_] = event;
    queueWrite_ = (queueWrite_ + 1) % kQueueSize;
    ++queueCount_;
}

void WindowSystem::QueueKey(int key, int pressed) {
    if (!running_ || key < 0 || key >= kKeyCodeLimit) return;
    Event e;
    e.word[0] = GenericKey(key);
    e.word[1] = pressed ? 1 : 0;
    e.word[6] = kEventKey;
    Enqueue(e);
}

void WindowSystem::QueueChar(int character, int action) {
    if (!running_ || character < 32 || character > 255) return;
    Event e;
    e.word[0] = character;
    e.word[1] = action;
    e.word[6] = kEventChar;
    Enqueue(e);
}

void WindowSystem::QueueMouseButton(int button, int pressed) {
    if (!running_ || button < 0 || button > 2) return;
    double now = OsGetTime();
    bool isDouble = pressed && button == lastButton_ && !mouseMovedSinceButton_ &&
                    now - lastButtonTime_ < kDoubleClickSeconds &&
                    (lastDoubleClickTime_ < 0 || now - lastDoubleClickTime_ > kDoubleClickPause);
    if (isDouble) lastDoubleClickTime_ = now;
    lastButtonTime_ = now;
    lastButton_ = button;
    mouseMovedSinceButton_ = false;
    Event e;
    e.word[4] = button;
    e.word[5] = pressed ? 1 : 0;
    e.word[6] = isDouble ? kEventDoubleClick : kEventMouseButton;
    Enqueue(e);
}

void WindowSystem::QueueMouseMove(int x, int y) {
    if (!running_) return;
    Event e;
    if (mouseCaptured_) {
        e.word[0] = x - capturePoint_.x;
        e.word[1] = y - capturePoint_.y;
        OsSetMousePos(capturePoint_.x, capturePoint_.y);
    } else {
        e.word[0] = x;
        e.word[1] = y;
    }
    e.word[6] = kEventMouseMove;
    mouseMovedSinceButton_ = true;
    Enqueue(e);
}

void WindowSystem::QueueWheel(int position) {
    if (!running_) return;
    Event e;
    e.word[5] = position;
    e.word[6] = kEventWheel;
    Enqueue(e);
}

void WindowSystem::QueueHorizontalWheel(int position) {
    if (!running_) return;
    Event e;
    e.word[3] = kHorizontalWheelBit;
    e.word[5] = position;
    e.word[6] = kEventWheel;
    Enqueue(e);
}

void WindowSystem::QueueQuit() {
    if (!running_) return;
    Event e;
    e.word[6] = kEventQuit;
    Enqueue(e);
    quitCountdown_ = INT32_MAX;
    // Modal runs that give way to a quit are unwound by FrameStep first.
    if (ModalFlags() & 8) modalFinished_ = true;
}

// ---- Main loop ----

void WindowSystem::SetNativeDialogActive(bool active) {
    if (pump_) pump_();
    nativeDialogActive_ = active;
    presentRequest_ = true;
    redrawFlags_ |= kRedrawFull;
    running_ = !active;
    Render();
    if (pump_) pump_();
}

void WindowSystem::RunMainLoop() {
    if (pump_) pump_();
    redrawFlags_ |= kRedrawFull;
    running_ = true;
    presentRequest_ = true;
    Render();
    if (!pump_) return;
    pump_();
    while (running_ && pump_()) {
    }
}

void WindowSystem::PresentNow() {
    if (!pump_ || presentOnly_) return;
    // Closed windows are deleted between frames, and a handler may still be running
    // inside one: hide them instead, so the picture shows them gone.
    for (Window* window : deletion_) window->SetVisible(false);
    presentOnly_ = true;
    pump_();
    presentOnly_ = false;
}

bool WindowSystem::FrameStep() {
    // A frame asked for by PresentNow only draws: queued input waits for a real frame.
    if (presentOnly_) return Render() || std::exchange(presentRequest_, false);
    if (presentRequest_) {
        presentRequest_ = false;
        return true;
    }
    if (!running_) return false;
    EmptyDeletionList();
    RecomputeMouseWindow();
    if (modalFinished_) {
        if ((ModalFlags() & 8) && quitCountdown_ > 0) {
            --quitCountdown_;
            Window* window = ModalWindow();
            EndModal(window, 0);
            modalCancelled_ = true;
            return false;
        }
        modalFinished_ = false;
        quitCountdown_ = 0;
        return false;
    }
    while (queueCount_ > 0 && running_ && !modalFinished_) {
        Event event = queue_[queueRead_];
        queueRead_ = (queueRead_ + 1) % kQueueSize;
        --queueCount_;
        ProcessEvent(event);
        EmptyDeletionList();
        RecomputeMouseWindow();
    }
    if (!running_ || modalFinished_) return false;
    if (root_) CallIdle(root_);
    EmptyDeletionList();
    return Render();
}

void WindowSystem::CallIdle(Window* window) {
    for (Window* c = window->FirstChild(); c;) {
        Window* next = c->NextSibling();
        CallIdle(c);
        c = next;
    }
    window->Idle();
}

void WindowSystem::ProcessEvent(Event& event) {
    int kind = event.Kind();
    switch (kind) {
    case kEventKey: {
        int key = event.Key();
        bool down = event.Pressed();
        if (down == IsKeyDown(key)) {
            event.word[2] |= kKeyRepeatBit;
        } else {
            SetKeyBit(key, down);
            UpdateModifiers();
        }
        event.word[2] = (event.word[2] & kKeyRepeatBit) | modifiers_;
        break;
    }
    case kEventChar:
        event.word[2] = modifiers_;
        event.word[0] = TranslateTypedChar(event.Character(), (modifiers_ & kModAlt) != 0);
        break;
    case kEventMouseButton:
    case kEventDoubleClick: {
        ButtonState& b = buttons_[event.Button()];
        b.previous = b.current;
        b.current = event.ButtonPressed();
        break;
    }
    case kEventMouseMove:
        previousMouse_ = mouse_;
        mouse_ = {event.word[0], event.word[1]};
        RecomputeMouseWindow();
        break;
    case kEventWheel:
        if (event.word[3] & kHorizontalWheelBit) {
            previousHorizontalWheel_ = horizontalWheel_;
            horizontalWheel_ = event.WheelPosition();
        } else {
            previousWheel_ = wheel_;
            wheel_ = event.WheelPosition();
        }
        break;
    default:
        break;
    }
    if (event.IsMouse()) {
        event.word[0] = mouse_.x;
        event.word[1] = mouse_.y;
        event.word[2] = int32_t(mouseHit_);
        event.word[3] = (event.word[3] & kHorizontalWheelBit) | modifiers_;
    }
    if (kind == kEventQuit) {
        RequestQuit();
        return;
    }
    if (!handlers_.empty()) {
        Handler handler = handlers_.back();
        handler(kind, event);
    } else {
        DefaultHandler(kind, event);
    }
}

void WindowSystem::SetKeyBit(int code, bool down) {
    if (code < 0 || code >= kKeyCodeLimit) return;
    if (down) keyState_[code / 32] |= 1u << (code % 32);
    else keyState_[code / 32] &= ~(1u << (code % 32));
}

bool WindowSystem::IsKeyDown(int code) const {
    if (code < 0 || code >= kKeyCodeLimit) return false;
    return (keyState_[code / 32] >> (code % 32)) & 1;
}

void WindowSystem::UpdateModifiers() {
    modifiers_ = 0;
    if (IsKeyDown(kKeyShift)) modifiers_ |= kModShift;
    if (IsKeyDown(kKeyAlt)) modifiers_ |= kModAlt;
    if (IsKeyDown(kKeyCtrl)) modifiers_ |= kModCtrl | kModCommand;
}

// ---- Routing ----

void WindowSystem::Deliver(Window* window, int kind, Event& event) {
    if (!window) return;
    std::vector<Window*> ancestors;
    for (Window* a = window->Parent(); a; a = a->Parent()) ancestors.push_back(a);
    for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it) {
        if ((*it)->HandleEvent(window, kind, event)) return;
    }
    window->HandleEvent(window, kind, event);
}

bool WindowSystem::DefaultHandler(int kind, Event& event) {
    switch (kind) {
    case kEventKey:
        if (GlobalKey(event)) return true;
        Deliver(focus_, kind, event);
        return true;
    case kEventChar:
        Deliver(focus_, kind, event);
        return true;
    default:
        if (event.IsMouse() && mouseWindow_) Deliver(mouseWindow_, kind, event);
        return true;
    }
}

bool WindowSystem::GlobalKey(Event& event) {
    if (!event.Pressed()) return false;
    int mods = event.Modifiers();
    switch (event.Key()) {
    case kKeyF4:
        if (!(mods & kModAlt)) return false;
        QueueQuit();
        return true;
    case kKeyF1:
        if (!(mods & kModCtrl)) return false;
        debugOverlay_ = !debugOverlay_;
        ForceFullRedraw();
        return true;
    case kKeyF2:
        if (!(mods & kModCtrl)) return false;
        outlineRepaints_ = !outlineRepaints_;
        ForceFullRedraw();
        return true;
    case kKeyF10:
        if (!handlers_.empty() && !InOverview()) return false;
        ToggleOverview();
        return true;
    case kKeyF11:
        CycleTopLevel();
        return true;
    case kKeyF12: {
        if (!(mods & kModCtrl)) return false;
        Window* top = FocusedTopLevel();
        if (top) top->RequestSnapshot((mods & kModAlt) ? 2 : 1);
        if (top) top->Invalidate();
        return true;
    }
    default:
        return false;
    }
}

Window* WindowSystem::FocusedTopLevel() {
    if (!focus_ || focus_ == layer0_ || focus_ == layer1_ || focus_ == root_) return nullptr;
    return focus_->GetTopLevel();
}

void WindowSystem::CycleTopLevel() {
    Window* top = FocusedTopLevel();
    if (!top || !top->Parent()) return;
    Window* next = top->NextSibling();
    while (next && !next->IsVisible()) next = next->NextSibling();
    top->SendToBack();
    if (!next) return;
    next->BringToFront();
    SetFocus(next, kFocusByProgram);
}

bool WindowSystem::ModalHandler(int kind, Event& event) {
    Window* modal = ModalWindow();
    int flags = ModalFlags();
    if (kind == kEventKey || kind == kEventChar) {
        if (kind == kEventKey && GlobalKey(event)) return true;
        if (focus_ && modal && focus_->IsInside(modal)) Deliver(focus_, kind, event);
        else if (flags & 1) Deliver(modal, kind, event);
        return true;
    }
    if (!event.IsMouse()) return true;
    if (mouseWindow_ && modal && mouseWindow_->IsInside(modal)) {
        Deliver(mouseWindow_, kind, event);
    } else if (flags & 2) {
        event.word[2] = kHitClient;
        Deliver(modal, kind, event);
    } else if ((kind == kEventMouseButton || kind == kEventDoubleClick) && event.ButtonPressed()) {
        OsBeep();
    }
    return true;
}

// ---- Mouse window ----

Window* WindowSystem::HitSearch(Window* window, Point point, uint32_t& hit) {
    for (Window* c = window->FirstChild(); c; c = c->NextSibling()) {
        if (!c->IsVisible()) continue;
        if (c->FirstChild() && c->DisplayState() != kDisplayRolledUp) {
            if (Window* found = HitSearch(c, point, hit)) return found;
        }
        if (c == layer1_) continue;
        uint32_t code = c->HitTest(point);
        if (code) {
            hit = code;
            return c;
        }
    }
    return nullptr;
}

void WindowSystem::RecomputeMouseWindow() {
    if (!root_) return;
    Window* found = nullptr;
    uint32_t hit = 0;
    if (!InOverview()) found = HitSearch(root_, mouse_, hit);
    Window* modal = ModalWindow();
    if (found && modal && !found->IsInside(modal)) {
        found = nullptr;
        hit = 0;
    }
    if (found != mouseWindow_ || hit != mouseHit_) {
        Window* previous = mouseWindow_;
        uint32_t previousHit = mouseHit_;
        mouseWindow_ = found;
        mouseHit_ = hit;
        if (previous && (!modal || previous->IsInside(modal))) {
            if (previousHit == kHitClient) previous->OnMouseLeave(hit, previousHit);
            else previous->OnFrameMouseLeave(hit, previousHit);
        }
    }
    UpdateCursor();
}

bool WindowSystem::OfferDroppedFiles(const std::vector<std::string>& paths) {
    RecomputeMouseWindow();
    for (Window* w = mouseWindow_; w && w != root_ && w != layer0_ && w != layer1_; w = w->Parent()) {
        if (w->OnFilesDropped(paths)) return true;
    }
    return false;
}

void WindowSystem::UpdateCursor() {
    int shape = 0;
    Window* w = mouseWindow_;
    Window* modal = ModalWindow();
    bool foreignDrag = tracking_.active && tracking_.data && tracking_.window != w;
    if (tracking_.active && tracking_.data) return;  // drag cursors are set by the drag itself
    if (w && !foreignDrag && !InOverview() && (!modal || w->IsInside(modal))) {
        uint32_t hit = mouseHit_;
        bool sizable = w->HasFlags(kStyleResizable | kStyleMaximisable) && w->DisplayState() == kDisplayNormal;
        uint32_t edges = hit & kHitEdges;
        if (sizable && edges && !(hit & kHitFrame)) {
            if (edges == kHitLeft || edges == kHitRight) shape = 1;
            else if (edges == kHitTop || edges == kHitBottom) shape = 2;
            else if (edges == (kHitLeft | kHitTop) || edges == (kHitRight | kHitBottom)) shape = 3;
            else shape = 4;
        } else if (hit == kHitClient) {
            shape = w->Cursor();
        }
    }
    SetCursorShape(shape);
}

void WindowSystem::SetCursorShape(int shape) { OsSetCursor(shape); }

void WindowSystem::SetMouseCaptured(bool captured) {
    if (captured == mouseCaptured_) return;
    mouseCaptured_ = captured;
    if (captured) {
        capturePoint_ = mouse_;
        OsShowCursor(false);
    } else {
        OsSetMousePos(capturePoint_.x, capturePoint_.y);
        mouse_ = capturePoint_;
        OsShowCursor(true);
    }
}

// ---- Focus ----

Window* WindowSystem::SetFocus(Window* window, int reason) {
    focusRedirected_ = false;
    for (int guard = 0; window && guard < 64; ++guard) {
        while (window && !window->HasFlags(kStyleFocusable) && window->FocusChild()) window = window->FocusChild();
        if (!window || !window->HasFlags(kStyleFocusable) || (window->RenderState() & kRenderDestroying)) {
            return nullptr;
        }
        for (Window* w = window; w->Parent() && !(w->HasFlags(kStyleTopBoundary)); w = w->Parent()) {
            w->Parent()->SetFocusChild(w);
        }
        if (window == focus_) return window;
        Window* old = focus_;
        if (old && old != window) {
            old->focusLost.Emit(reason);
            old->OnFocusLost(window, reason);
        }
        Window* redirect = window->OnFocusGained(old, reason);
        if (redirect && redirect != window && redirect != reinterpret_cast<Window*>(1)) {
            focusRedirected_ = true;
            window = redirect;
            continue;
        }
        if (old) {
            std::erase(focusHistory_, old);
            if (focusHistory_.size() >= kFocusHistoryLength) focusHistory_.erase(focusHistory_.begin());
            focusHistory_.push_back(old);
        }
        focus_ = window;
        if (old && old->IsShown()) old->Invalidate();
        if (window->IsShown()) window->Invalidate();
        // Title bars show which top-level window holds the focus.
        Window* oldTop = old ? old->GetTopLevel() : nullptr;
        Window* newTop = window->GetTopLevel();
        if (oldTop != newTop) {
            if (oldTop && oldTop->IsShown()) oldTop->Invalidate();
            if (newTop && newTop->IsShown()) newTop->Invalidate();
        }
        return window;
    }
    return nullptr;
}

namespace {

Window* FirstFocusable(Window* window) {
    for (Window* child = window->FirstChild(); child; child = child->NextSibling()) {
        if (!child->IsVisible() || !child->IsEnabled()) continue;
        if (child->HasFlags(kStyleFocusable)) return child;
        if (Window* found = FirstFocusable(child)) return found;
    }
    return nullptr;
}

}  // namespace

Window* WindowSystem::FocusWindow(Window* window) {
    if (!window) return nullptr;
    if (Window* focused = SetFocus(window, kFocusByProgram)) return focused;
    Window* control = FirstFocusable(window);
    return control ? SetFocus(control, kFocusByProgram) : nullptr;
}

bool WindowSystem::TabFrom(Window* window, bool backwards) {
    if (!window || (!window->TabNext() && !window->TabPrevious())) return false;
    Window* candidate = window;
    for (int guard = 0; guard < 4096; ++guard) {
        Window* next = backwards ? candidate->TabPrevious() : candidate->TabNext();
        if (!next) {
            // Wrap to the far end of the chain.
            next = candidate;
            while (Window* further = backwards ? next->TabNext() : next->TabPrevious()) {
                if (further == candidate) break;
                next = further;
            }
        }
        candidate = next;
        if (candidate == window) return false;
        if (candidate->IsVisible() && candidate->IsEnabled()) {
            SetFocus(candidate, kFocusByTab);
            return true;
        }
    }
    return false;
}

// ---- Modal runs ----

namespace {

bool InTree(const Window* root, const Window* window) {
    for (const Window* c = root ? root->FirstChild() : nullptr; c; c = c->NextSibling()) {
        if (c == window || InTree(c, window)) return true;
    }
    return false;
}

}  // namespace

Window* WindowSystem::FocusOutside(const Window* window) const {
    auto outside = [&](const Window* w) {
        return w && w != layer0_ && w != layer1_ && w != root_ && !(window && w->IsInside(window));
    };
    if (outside(focus_)) return focus_;
    // The caller may have focused a control of the window before running it.
    for (auto it = focusHistory_.rbegin(); it != focusHistory_.rend(); ++it) {
        if (outside(*it)) return *it;
    }
    return nullptr;
}

int WindowSystem::RunModal(Window* window, int flags, bool* cancelledOut) {
    Window* focusBefore = FocusOutside(window);
    if (flags & 4) ForceFullRedraw();
    PushEventHandler([this](int kind, Event& event) { return ModalHandler(kind, event); });
    RecomputeMouseWindow();
    modalStack_.push_back({window, flags});
    if (window && window->IsVisible()) {
        window->BringToFront();
        SetFocus(window, kFocusByProgram);
    }
    size_t depth = modalStack_.size();
    while (modalStack_.size() >= depth && modalStack_[depth - 1].window == window && pump_ && pump_()) {
    }
    if (flags & 4) ForceFullRedraw();
    // The focus goes back to the control that had it before the run, if that still
    // lives and the focus was left in the finished modal window.
    bool focusLeftBehind = !focus_ || focus_ == layer0_ || (window && focus_->IsInside(window));
    if (focusLeftBehind && focusBefore && focusBefore != focus_ && InTree(root_, focusBefore)) {
        SetFocus(focusBefore, kFocusByProgram);
    }
    if (cancelledOut) *cancelledOut = modalCancelled_;
    return modalResult_;
}

void WindowSystem::EndModal(Window* window, int result) {
    if (modalStack_.size() <= 1) return;
    (void)window;
    PopEventHandler();
    modalStack_.pop_back();
    RecomputeMouseWindow();
    modalFinished_ = true;
    modalCancelled_ = false;
    modalResult_ = result;
}

bool WindowSystem::IsOnModalStack(const Window* window) const {
    for (size_t i = 1; i < modalStack_.size(); ++i) {
        if (modalStack_[i].window == window) return true;
    }
    return false;
}

std::vector<Window*> WindowSystem::ModalWindows() const {
    std::vector<Window*> windows;
    for (size_t i = 1; i < modalStack_.size(); ++i) windows.push_back(modalStack_[i].window);
    return windows;
}

// ---- Quitting ----

void WindowSystem::RequestQuit() {
    if (InOverview()) {
        ToggleOverview();
        while (!handlers_.empty() && pump_ && pump_()) {
        }
    }
    if (!handlers_.empty()) {
        OsBeep();
        return;
    }
    if (quitConfirm_ && !quitConfirm_()) return;
    running_ = false;
}

bool WindowSystem::CloseAllTopLevel() {
    if (!layer0_) return true;
    for (Window* w = layer0_->FirstChild(); w;) {
        Window* next = w->NextSibling();
        if (w->DisplayState() != kDisplayClosed) {
            if (!w->CanClose(0)) {
                // A window that hides itself instead of closing (a tool kept for
                // the whole run) does not hold the others back.
                if (w->IsVisible()) return false;
            } else {
                w->Close();
            }
        }
        w = next;
    }
    EmptyDeletionList();
    return true;
}

// ---- Windows ----

void WindowSystem::SetMenuBar(Window* menuBar) {
    menuBar_ = menuBar;
    if (surfaceWidth_ > 0) SurfaceResized(surfaceWidth_, surfaceHeight_);
}

void WindowSystem::ScheduleDeletion(Window* window) {
    if (std::find(deletion_.begin(), deletion_.end(), window) == deletion_.end()) deletion_.push_back(window);
}

void WindowSystem::EmptyDeletionList() {
    if (deletion_.empty()) return;
    redrawFlags_ |= kRedrawDeleting;
    while (!deletion_.empty()) {
        Window* window = deletion_.back();
        deletion_.pop_back();
        delete window;
    }
    redrawFlags_ &= ~kRedrawDeleting;
}

void WindowSystem::ForgetWindow(Window* window) {
    if (focus_ == window) focus_ = nullptr;
    std::erase(focusHistory_, window);
    if (mouseWindow_ == window) {
        mouseWindow_ = nullptr;
        mouseHit_ = 0;
    }
    if (menuBar_ == window) menuBar_ = nullptr;
    deletion_.erase(std::remove(deletion_.begin(), deletion_.end(), window), deletion_.end());
    if (tracking_.active && tracking_.window == window) {
        PopEventHandler();
        tracking_ = Tracking{};
    }
    for (size_t i = modalStack_.size(); i-- > 1;) {
        if (modalStack_[i].window == window) {
            if (i == modalStack_.size() - 1) {
                EndModal(window, 0);
            } else {
                modalStack_[i].window = nullptr;
            }
        }
    }
    if (window == root_) root_ = layer0_ = layer1_ = nullptr;
    if (window == layer0_) layer0_ = nullptr;
    if (window == layer1_) layer1_ = nullptr;
}

}  // namespace tamber::ui
