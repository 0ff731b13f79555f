#pragma once
// The one window system: owns the window tree, the 32-entry input queue, key and
// mouse state, focus, the modal stack, event handlers, mouse tracking and drag and
// drop, the deferred-deletion list and the dirty rectangles. Everything runs on the
// main thread; the shell's pump calls FrameStep once per frame.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "ui/Event.h"
#include "ui/Rect.h"
#include "ui/Window.h"

namespace tamber::ui {

struct Font;
class Skin;

class WindowSystem {
public:
    using Handler = std::function<bool(int kind, Event& event)>;
    using Pump = std::function<int()>;
    using QuitConfirm = std::function<int()>;
    using TrackCallback = std::function<void(Window* window, Point start, Point current, int phase)>;
    // Draws a drag image at a point of layer1; with measureOnly it returns the offset only.
    using DragImageDrawer = std::function<Point(Window::DragDropData* data, Point at, bool measureOnly)>;

    static WindowSystem& Instance();
    // Deletes the tree and forgets all state (tests start each case afresh).
    static void Reset();

    // Creates root, layer1 and layer0, the bottom modal entry, focus and mouse slots.
    void InitWindowSystem();
    void SetPump(Pump pump) { pump_ = std::move(pump); }
    void SetQuitConfirm(QuitConfirm confirm) { quitConfirm_ = std::move(confirm); }
    void SetSkin(Skin* skin) { skin_ = skin; }
    Skin* GetSkin() const { return skin_; }
    // Border metrics of the skin (0 without one).
    int ThickBorder() const;
    int ThinBorder() const;
    void SetDefaultFont(Font* font) { defaultFont_ = font; }
    Font* DefaultFont() const { return defaultFont_; }
    void SetPartialRedraw(bool enabled) { partialRedraw_ = enabled; }
    // Whether Render issues OpenGL calls (off for logic-only tests without a context).
    void SetDrawingEnabled(bool enabled) { drawingEnabled_ = enabled; }
    bool DrawingEnabled() const { return drawingEnabled_; }

    // Registers the entry points below (and SurfaceResized) with the platform layer.
    void ConnectPlatform();

    // Input entry points, called by the platform layer.
    void QueueKey(int key, int pressed);
    void QueueChar(int character, int action);
    void QueueMouseButton(int button, int pressed);
    void QueueMouseMove(int x, int y);
    void QueueWheel(int position);
    void QueueHorizontalWheel(int position);
    void QueueQuit();
    void SurfaceResized(int width, int height);
    void SurfaceRefresh();

    // Main loop.
    void SetNativeDialogActive(bool active);
    void RunMainLoop();
    // One iteration; true when the pump must present.
    bool FrameStep();
    void RequestQuit();
    bool Running() const { return running_; }
    void Stop() { running_ = false; }
    // Repaints what is dirty and presents it at once without dispatching any input
    // (progress shown during long work on the main thread). Needs the pump.
    void PresentNow();
    // True while the pump runs for PresentNow: it should present and do nothing else
    // (the long work may be walking data that other per-frame work would change).
    bool PresentingOnly() const { return presentOnly_; }

    // Modal runs.
    int RunModal(Window* window, int flags, bool* cancelledOut = nullptr);
    void EndModal(Window* window, int result);
    bool IsOnModalStack(const Window* window) const;
    // Gives the focus to a window just opened or brought forward: to the control it
    // last focused, else to its first visible focusable descendant. Null when none.
    Window* FocusWindow(Window* window);
    // The focus window if it lies outside window, else the latest earlier focus that does.
    Window* FocusOutside(const Window* window) const;
    Window* ModalWindow() const { return modalStack_.back().window; }
    int ModalFlags() const { return modalStack_.back().flags; }
    size_t ModalDepth() const { return modalStack_.size() - 1; }
    std::vector<Window*> ModalWindows() const;

    void PushEventHandler(Handler handler) { handlers_.push_back(std::move(handler)); }
    void PopEventHandler() {
        if (!handlers_.empty()) handlers_.pop_back();
    }
    size_t HandlerDepth() const { return handlers_.size(); }

    // Mouse tracking and drag and drop. False when a tracking already runs.
    bool BeginMouseTracking(Window* window, TrackCallback callback = nullptr);
    bool BeginDrag(Window* window, Window::DragDropData* data, TrackCallback callback = nullptr);
    void RegisterDragImage(int type, DragImageDrawer drawer);
    bool IsTracking() const { return tracking_.active; }
    Window* TrackingWindow() const { return tracking_.active ? tracking_.window : nullptr; }

    // Repainting.
    void Invalidate(const Rect& rect);
    void InvalidateWindow(Window* window);
    void ForceFullRedraw() { redrawFlags_ |= kRedrawFull; }
    bool FullRedrawPending() const { return (redrawFlags_ & kRedrawFull) != 0; }
    const std::vector<Rect>& DirtyRects() const { return dirty_; }
    // Draws the dirty parts of the tree; true when anything was drawn.
    bool Render();

    // Focus and windows.
    // Returns the window that took the focus, or null when none could.
    Window* SetFocus(Window* window, int reason);
    Window* Focus() const { return focus_; }
    // Whether the last SetFocus ended on a window that OnFocusGained redirected to.
    bool LastFocusRedirected() const { return focusRedirected_; }
    bool TabFrom(Window* window, bool backwards);
    // Gives the focus back to the desktop layer when no window can hold it.
    void FocusLayer0() { focus_ = layer0_; }
    Window* Root() const { return root_; }
    Window* Layer0() const { return layer0_; }
    Window* Layer1() const { return layer1_; }
    Window* MouseWindow() const { return mouseWindow_; }
    // Offers files dropped from the desktop to the window under the mouse, then to its
    // parents in turn. False when no window took them (the program's default applies).
    bool OfferDroppedFiles(const std::vector<std::string>& paths);
    uint32_t MouseHit() const { return mouseHit_; }
    void SetMenuBar(Window* menuBar);
    Window* MenuBar() const { return menuBar_; }
    void RecomputeMouseWindow();
    bool CloseAllTopLevel();
    void ScheduleDeletion(Window* window);
    void EmptyDeletionList();
    bool IsDeleting() const { return (redrawFlags_ & kRedrawDeleting) != 0; }
    // Called by the Window destructor.
    void ForgetWindow(Window* window);

    // State queries.
    void SetCursorShape(int shape);
    void SetMouseCaptured(bool captured);
    bool IsKeyDown(int code) const;
    bool IsButtonDown(int button) const { return button >= 0 && button < 3 && buttons_[button].current; }
    Point GetMousePosition() const { return mouse_; }
    int GetModifiers() const { return modifiers_; }
    // How far the wheel turned with the last wheel event (the platform reports positions).
    int WheelDelta(bool horizontal) const {
        return horizontal ? horizontalWheel_ - previousHorizontalWheel_ : wheel_ - previousWheel_;
    }
    int SurfaceWidth() const { return surfaceWidth_; }
    int SurfaceHeight() const { return surfaceHeight_; }
    uint32_t FramesRendered() const { return framesRendered_; }
    bool IntelWorkaround() const { return intelVendor_; }

    // Overview mode (F10) and the debug aids.
    bool InOverview() const { return (redrawFlags_ & kRedrawOverview) != 0; }
    // Progress of the overview animation from 0 (real rectangles) to 1 (display rectangles).
    double OverviewProgress() const;
    void ToggleOverview();
    bool DebugOverlay() const { return debugOverlay_; }
    bool OutlineRepaints() const { return outlineRepaints_; }

    // The default and modal handlers, also used by tests.
    bool DefaultHandler(int kind, Event& event);
    void Deliver(Window* window, int kind, Event& event);

    static constexpr int kQueueSize = 32;
    static constexpr size_t kFocusHistoryLength = 16;
    static constexpr int kMaxDirty = 32;
    static constexpr double kOverviewSeconds = 0.25;

private:
    enum RedrawFlag : uint32_t {
        kRedrawFull = 1,
        kRedrawResized = 2,
        kRedrawOverview = 4,
        kRedrawAnimating = 8,
        kRedrawAnimatingIn = 16,
        kRedrawDuringResize = 32,
        kRedrawDeleting = 128,
    };
    struct ModalEntry {
        Window* window;
        int flags;
    };
    struct ButtonState {
        bool previous = false;
        bool current = false;
    };
    struct Tracking {
        bool active = false;
        Window* window = nullptr;
        TrackCallback callback;
        std::unique_ptr<Window::DragDropData> data;
        bool accepted = false;
        Point start, current, previous, imageOffset;
        DragImageDrawer drawer;
    };

    void Enqueue(const Event& event);
    void ProcessEvent(Event& event);
    bool GlobalKey(Event& event);
    bool ModalHandler(int kind, Event& event);
    bool TrackingHandler(int kind, Event& event);
    bool OverviewHandler(int kind, Event& event);
    void EndTracking(Point point);
    void UpdateModifiers();
    void SetKeyBit(int code, bool down);
    Window* HitSearch(Window* window, Point point, uint32_t& hit);
    void UpdateCursor();
    void CallIdle(Window* window);
    void DrawTree(Window* window, Window* dimming);
    void DrawWindow(Window* window, Window* dimming);
    void DrawDebugOverlay();
    void TakeSnapshot(Window* window);
    void DimSurface();
    bool HidesWindowsBelow(Window* window, const Rect& clip) const;
    void DrawDropShadow(Window* window, const Rect& clip);
    void LayoutOverview();
    static void ForEachInTree(Window* window, const std::function<void(Window*)>& visit);
    void FinishOverviewAnimation();
    void BroadcastResize(Window* window, Event& event);
    std::vector<Window*> OverviewWindows() const;
    void SwitchToFront(Window* window);
    void CycleTopLevel();
    Window* FocusedTopLevel();

    bool running_ = false;
    bool nativeDialogActive_ = false;
    bool presentRequest_ = false;
    bool presentOnly_ = false;
    Window* root_ = nullptr;
    Window* layer0_ = nullptr;
    Window* layer1_ = nullptr;
    Window* mouseWindow_ = nullptr;
    uint32_t mouseHit_ = 0;
    Window* focus_ = nullptr;
    // The windows that held the focus before the current one, most recent last; a
    // modal run gives the focus back to the latest that lies outside its window.
    std::vector<Window*> focusHistory_;
    Window* menuBar_ = nullptr;
    std::vector<Rect> dirty_;
    bool partialRedraw_ = true;
    bool drawingEnabled_ = true;
    int surfaceWidth_ = 0;
    int surfaceHeight_ = 0;
    std::vector<ModalEntry> modalStack_{{nullptr, 0}};
    int modalResult_ = 0;
    bool modalCancelled_ = false;
    bool modalFinished_ = false;
    int32_t quitCountdown_ = 0;
    Tracking tracking_;
    std::vector<std::pair<int, DragImageDrawer>> dragImages_;
    uint32_t redrawFlags_ = 0;
    double overviewStart_ = 0;
    Point mouse_, previousMouse_;
    bool mouseCaptured_ = false;
    Point capturePoint_;
    int wheel_ = 0, previousWheel_ = 0, horizontalWheel_ = 0, previousHorizontalWheel_ = 0;
    ButtonState buttons_[3];
    int modifiers_ = 0;
    uint32_t keyState_[(kKeyCodeLimit + 31) / 32] = {};
    std::vector<Handler> handlers_;
    std::vector<Window*> deletion_;
    Pump pump_;
    QuitConfirm quitConfirm_;
    Skin* skin_ = nullptr;
    Font* defaultFont_ = nullptr;
    Event queue_[kQueueSize];
    int queueCount_ = 0, queueRead_ = 0, queueWrite_ = 0;
    bool intelVendor_ = false;
    uint32_t framesRendered_ = 0;
    uint32_t windowsPainted_ = 0;
    bool focusRedirected_ = false;
    bool debugOverlay_ = false;
    bool outlineRepaints_ = false;
    // Double-click detection.
    double lastButtonTime_ = -1;
    int lastButton_ = -1;
    Point lastButtonPoint_;
    double lastDoubleClickTime_ = -1;
    bool mouseMovedSinceButton_ = false;
};

inline WindowSystem& WS() { return WindowSystem::Instance(); }

}  // namespace tamber::ui
