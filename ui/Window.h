#pragma once
// The base class of everything on screen. Geometry is in surface pixels (origin
// top left, y down); frame and client are absolute, the normal frame is relative
// to the parent's client origin. Windows are deleted only by the window system's
// deferred-deletion list (Close), so a handler may close its own window.
#include <cstdint>
#include <string>
#include <vector>

#include "ui/Event.h"
#include "ui/Rect.h"
#include "ui/Signal.h"

namespace tamber::ui {

struct Font;

enum WindowStyle : uint32_t {
    kStyleVisible = 0x1,
    kStyleEnabled = 0x2,
    kStyleTitleBar = 0x4,
    kStyleShadow = 0x8,
    kStyleThinBorder = 0x10,
    kStyleResizable = 0x20,
    kStyleMaximisable = 0x40,
    kStylePanelA = 0x80,
    kStylePanelB = 0x100,
    kStyleAltFrame = 0x200,
    kStyleCloseBox = 0x400,
    kStyleMaximiseBox = 0x800,
    kStyleRollUpBox = 0x1000,
    kStyleNoOverview = 0x2000,
    kStyleTopBoundary = 0x4000,
    kStyleFocusable = 0x8000,
    kStyleKeepCentred = 0x10000,
    kStyleUpperLayer = 0x40000,

    // An editor or tool window: framed, resizable and maximisable, with all three title boxes.
    kStyleDocument = kStyleEnabled | kStyleTitleBar | kStyleShadow | kStyleResizable | kStyleMaximisable |
                     kStylePanelB | kStyleCloseBox | kStyleMaximiseBox | kStyleRollUpBox,
    // A visible control that takes the keyboard focus.
    kStyleControl = kStyleVisible | kStyleEnabled | kStyleResizable | kStyleFocusable,
    // A palette floating in the upper layer.
    kStyleFloating = kStyleVisible | kStyleEnabled | kStyleTitleBar | kStyleShadow | kStyleResizable | kStylePanelA |
                     kStyleAltFrame | kStyleUpperLayer,
};
static_assert(kStyleDocument == 0x1D6E && kStyleControl == 0x8023 && kStyleFloating == 0x402AF);

enum HitCode : uint32_t {
    kHitNone = 0,
    kHitClient = 1,
    kHitTitle = 2,
    kHitLeft = 4,
    kHitTop = 8,
    kHitRight = 16,
    kHitBottom = 32,
    kHitCloseBox = 0x400,
    kHitMaximiseBox = 0x800,
    kHitRollUpBox = 0x1000,
    kHitFrame = 0x80000000,
    kHitEdges = kHitLeft | kHitTop | kHitRight | kHitBottom,
};

enum DisplayState : int32_t { kDisplayNormal = 0, kDisplayRolledUp = 1, kDisplayMaximised = 2, kDisplayClosed = 3 };

enum RenderState : uint32_t {
    kRenderClient = 1,
    kRenderFrame = 2,
    kRenderFrozen = 4,
    kRenderDestroying = 8,
};

enum FocusReason : int32_t { kFocusByProgram = 0, kFocusByMouse = 1, kFocusByTab = 2 };

constexpr int32_t kTitleBarHeight = 22;

class Window : public has_slots<void> {
public:
    // Data carried by a drag; subclasses add their payload. The type number selects
    // the image-drawing function registered with the window system.
    class DragDropData {
    public:
        explicit DragDropData(int type) : type_(type) {}
        virtual ~DragDropData() = default;
        int Type() const { return type_; }

    private:
        int type_;
    };

    // A null parent puts the window into layer1 (style 0x40000) or layer0,
    // unless the style carries the top boundary (the root and layers themselves).
    Window(uint32_t flags, Window* parent);
    ~Window() override;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    virtual const char* GetClassName() const { return "Window"; }
    // Every event routed to or through this window; target is the window it is meant for.
    virtual bool HandleEvent(Window* target, int kind, Event& event);
    virtual void ConstrainFrame(const Rect& current, const Rect& requested, Rect& out);
    virtual void FrameToClient(const Rect& frame, Rect& out);
    virtual void GetMinimumSize(Point& out);
    // force is 1 for a close asked by the close box or a close key. True lets it close.
    virtual bool CanClose(int force);
    virtual void OnClose() {}
    virtual void Idle() {}
    virtual void OnMove(Point oldOrigin, Point newOrigin) { (void)oldOrigin, (void)newOrigin; }
    virtual void OnResize() {}
    virtual void Draw() {}
    virtual void DrawFrame();
    virtual void DrawBackground();
    // False passes the key on to the parent.
    virtual bool OnKey(Event& event) { return (void)event, false; }
    virtual void OnChar(Event& event) { (void)event; }
    virtual void OnMouseButton(Event& event) { (void)event; }
    virtual void OnFrameMouseButton(Event& event);
    virtual void OnDoubleClick(Event& event) { (void)event; }
    virtual void OnFrameDoubleClick(Event& event);
    virtual void OnMouseMove(Event& event) { (void)event; }
    virtual void OnFrameMouseMove(Event& event) { (void)event; }
    virtual void OnWheel(Event& event) { (void)event; }
    virtual void OnFrameWheel(Event& event) { (void)event; }
    virtual void OnMouseLeave(uint32_t newHit, uint32_t oldHit) { (void)newHit, (void)oldHit; }
    virtual void OnFrameMouseLeave(uint32_t newHit, uint32_t oldHit) { (void)newHit, (void)oldHit; }
    virtual void OnChildAdded(Window* child) { (void)child; }
    virtual void OnChildRemoved(Window* child) { (void)child; }
    virtual void OnFocusLost(Window* newFocus, int reason) { (void)newFocus, (void)reason; }
    // Null (or kKeepFocus) accepts; another window redirects the focus to it.
    virtual Window* OnFocusGained(Window* oldFocus, int reason) { return (void)oldFocus, (void)reason, nullptr; }
    virtual void OnParentChanging(Window* oldParent, Window* newParent) { (void)oldParent, (void)newParent; }
    virtual void OnFlagsChanged(uint32_t changedBits);
    // phase 0 start, 1 move, 2 release.
    virtual void OnMouseTrack(Point start, Point current, int phase);
    // phase 1 hovering, 0 dropped. True accepts.
    virtual bool OnDragOver(Point point, int phase, DragDropData* data) { return (void)point, (void)phase, (void)data, false; }
    virtual uint32_t HitTest(Point point);
    // Files dropped from the desktop over this window or a child of it that declined
    // them. True takes them; false offers them to the parent.
    virtual bool OnFilesDropped(const std::vector<std::string>& paths) { return (void)paths, false; }
    virtual void SetName(const char* name) { name_ = name ? name : ""; hasName_ = name != nullptr; }
    virtual const char* GetName() const { return hasName_ ? name_.c_str() : nullptr; }

    // Tree.
    void SetParent(Window* parent);
    void BringToFront();
    void SendToBack();
    Window* Parent() const { return parent_; }
    Window* FirstChild() const { return firstChild_; }
    Window* LastChild() const { return lastChild_; }
    Window* NextSibling() const { return nextSibling_; }
    Window* PreviousSibling() const { return previousSibling_; }
    int ChildCount() const { return childCount_; }
    Window* GetTopLevel();
    bool IsInside(const Window* ancestor) const;
    // First child with this name and class name (a null name matches only an unnamed child).
    Window* FindChild(const char* name, const char* className) const;

    // Geometry. SetFrame takes the parent's client coordinates.
    void SetFrame(const Rect& rect);
    void SetFrameXYWH(int x, int y, int w, int h) { SetFrame({x, y, x + w, y + h}); }
    void SetSize(int w, int h);
    void SetWidth(int w);
    void CenterInParent();
    const Rect& Frame() const { return frame_; }
    const Rect& Client() const { return client_; }
    const Rect& NormalFrame() const { return normalFrame_; }
    const Rect& DisplayFrame() const { return displayFrame_; }
    const Rect& DisplayClient() const { return displayClient_; }
    void SetDisplayRects(const Rect& frame, const Rect& client) { displayFrame_ = frame, displayClient_ = client; }
    // The frame relative to the parent's client origin.
    Rect RelativeFrame() const;
    const Rect& Clip() const { return clip_; }
    void SetClip(const Rect& clip) { clip_ = clip; }
    int BorderWidth() const;
    uint32_t BorderSides() const { return borderSides_; }
    void SetBorderSides(uint32_t sides) { borderSides_ = sides; }

    // Flags.
    void SetFlags(uint32_t bits);
    void ClearFlags(uint32_t bits);
    void SetVisible(bool visible) { visible ? SetFlags(kStyleVisible) : ClearFlags(kStyleVisible); }
    bool IsVisible() const { return (flags_ & kStyleVisible) != 0; }
    bool IsEnabled() const { return (flags_ & kStyleEnabled) != 0; }
    bool HasFlags(uint32_t mask) const { return (flags_ & mask) == mask; }
    uint32_t Flags() const { return flags_; }
    // Visible, with every ancestor below the top boundary visible and not rolled up.
    bool IsShown() const;

    uint32_t RenderState() const { return renderState_; }
    void SetRenderBits(uint32_t bits) { renderState_ |= bits; }
    void ClearRenderBits(uint32_t bits) { renderState_ &= ~bits; }
    int32_t DisplayState() const { return displayState_; }

    // Focus.
    bool IsFocused() const;
    Window* FocusChild() const { return focusChild_; }
    void SetFocusChild(Window* child) { focusChild_ = child; }
    Window* FocusDelegate() const { return focusDelegate_; }
    void SetFocusDelegate(Window* child) { focusDelegate_ = child; }
    Window* TabNext() const { return tabNext_; }
    Window* TabPrevious() const { return tabPrevious_; }
    // Links this window into a tab chain after the given window.
    void InsertTabAfter(Window* previous);
    void UnlinkTab();
    Signal1<int> focusLost;

    // Lifecycle and states.
    void Close();
    void CloseChildren();
    void ToggleMaximised();
    // mode 1 roll up, 0 unroll, -1 toggle.
    void SetRolledUp(int mode);

    // Placement: display state and normal (or current) frame relative to the parent.
    void GetPlacement(int32_t out[5]) const;
    void ApplyPlacement(const int32_t placement[5]);

    void SetFont(Font* font) { font_ = font; }
    Font* GetFont() const;
    void SetCursor(int shape) { cursor_ = shape; }
    int Cursor() const { return cursor_; }
    void SetCommandId(uint32_t id) { commandId_ = id; }
    uint32_t GetCommandId() const { return commandId_; }
    uint32_t PressedTitleBox() const { return pressedTitleBox_; }
    // 1 whole window, 2 client area; taken after the next draw.
    void RequestSnapshot(int mode) { snapshotRequest_ = mode; }
    int SnapshotRequest() const { return snapshotRequest_; }
    void ClearSnapshotRequest() { snapshotRequest_ = 0; }

    // Draws text with the window's font (or the default font) in client coordinates.
    int DrawText(const char* text, int style, int flags, const Rect& rect);

    // The rectangles of the three title boxes (close, maximise, roll-up) in screen pixels.
    Rect TitleBoxRect(uint32_t box) const;
    void Invalidate();
    void InvalidateClient();
    // Invalidates a rectangle given in client coordinates.
    void InvalidateRect(const Rect& clientRect);

private:
    friend class WindowSystem;
    void Unlink();
    void LinkAtBack(Window* parent);
    void MoveDescendants(int dx, int dy);
    Rect ShadowWidened(const Rect& rect) const;
    void SetFrameAbsolute(const Rect& rect);
    void FrameTrack(Point start, Point current, int phase);

    Window* previousSibling_ = nullptr;
    Window* nextSibling_ = nullptr;
    Window* parent_ = nullptr;
    Window* focusChild_ = nullptr;
    Window* focusDelegate_ = nullptr;
    Window* tabNext_ = nullptr;
    Window* tabPrevious_ = nullptr;
    Window* firstChild_ = nullptr;
    Window* lastChild_ = nullptr;
    int32_t childCount_ = 0;
    uint32_t flags_ = 0;
    uint32_t borderSides_ = 15;
    uint32_t renderState_ = 0;
    uint32_t commandId_ = 0;
    std::string name_;
    bool hasName_ = false;
    int32_t displayState_ = kDisplayNormal;
    Font* font_ = nullptr;
    int32_t cursor_ = 0;
    uint32_t pressedTitleBox_ = 0;
    int32_t snapshotRequest_ = 0;
    Rect displayFrame_, displayClient_;
    Rect frame_, client_, normalFrame_, clip_;
    // Frame-mouse tracking state: what is being dragged and from where.
    uint32_t trackHit_ = 0;
    Rect trackFrame_;
    int32_t trackMinY_ = 0;
};

}  // namespace tamber::ui
