#pragma once
// The frame view: one frame and view of a sequence drawn around the origin (the
// registration point) at a zoom, with optional markers (registration point, key
// point, selection box, origin, contrail of the key point), the shadow, and the
// previous and next frames as an onion skin. Dragging with the mouse or holding an
// arrow key moves what the move mode names; a drag or a held key is one action.
// Playing shows the frames at the sequence's ticks per frame, at the game's rate
// of kTicksPerSecond ticks per second.
//
// The view pans with the middle button, with Space and the left button, or with its
// scroll bars once the drawing outgrows it; Home puts the origin back in its resting
// place. Panning and zooming are ways of looking: they change neither the tag nor
// the undo history.
#include <cstdint>

#include "collections/RegistrationPoints.h"
#include "collections/editor/BitmapPictures.h"
#include "ui/Signal.h"
#include "ui/widgets/ScrollableWindow.h"

namespace tamber::collections::editor {
using namespace tamber::ui;

class X256Edit;

class X256SequenceFrameView : public widgets::ScrollableWindow {
public:
    static constexpr double kTicksPerSecond = 30.0;
    static constexpr int kMaxZoom = 16;
    // Room kept around the drawing when panning to its edges, in client pixels.
    static constexpr int kPanMargin = 32;
    enum Option : uint32_t {
        kShowRegPoint = 1, kShowKeyPoint = 2, kShowSelectionBox = 4, kShowOrigin = 8,
        kShowBitmap = 16, kShowShadow = 32, kShowContrail = 64, kShowOnionSkin = 128,
    };

    X256SequenceFrameView(X256Edit& editor, int sequence, Window* parent);
    ~X256SequenceFrameView() override;

    const char* GetClassName() const override { return "X256SequenceFrameView"; }
    void Draw() override;
    void Idle() override;
    bool OnKey(Event& event) override;
    void OnMouseButton(Event& event) override;
    void OnMouseTrack(Point start, Point current, int phase) override;
    void OnWheel(Event& event) override;
    void OnResize() override;
    void OnHorizontalScroll(int32_t position) override;
    void OnVerticalScroll(int32_t position, int32_t oldPosition) override;

    int FrameIndex() const { return frame_; }
    int ViewIndex() const { return view_; }
    void SetCell(int frame, int view);
    int Zoom() const { return zoom_; }
    // Zooms about the centre of the view.
    void SetZoom(int zoom);
    // Zooms keeping the picture pixel under `anchor` (client pixels) in place, as far
    // as panning allows.
    void ZoomAt(int zoom, Point anchor);
    // The origin's offset from its resting place, in client pixels.
    Point Pan() const { return pan_; }
    void PanBy(int dx, int dy);
    void ResetPan();
    uint32_t Options() const { return options_; }
    void SetOption(Option option, bool on);
    uint32_t Background() const { return background_; }
    void SetBackground(uint32_t rgba);
    MoveMode Mode() const { return mode_; }
    void SetMode(MoveMode mode) { mode_ = mode; }
    bool Playing() const { return playing_; }
    void SetPlaying(bool playing);
    // The origin in client pixels.
    Point Origin() const;
    // Where the drawing lies around the origin, in picture pixels: the shown view's
    // pictures and key points in every frame, the shadows and the origin itself.
    Rect Extent() const;
    // The same in client pixels, markers included.
    Rect DrawnRect() const;

    Signal0 changed;  // frame, zoom or playing changed

private:
    const Sequence* Shown() const;
    void OnSequencesChanged();
    Point RestingOrigin() const;
    // Keeps the pan where some of the drawing stays in view.
    void ClampPan();
    // States the scroll bars' ranges from the drawing, the resting place and the
    // current pan (which stays where it is even when the drawing has moved away).
    void SyncScrollBars();
    // Moves by whole picture pixels as one action per drag or held key.
    void Move(int dx, int dy, uintptr_t key);
    void DrawSprite(const std::shared_ptr<Bitmap>& bitmap, int left, int top, uint32_t flags, uint8_t alpha);
    void ForgetTextures();

    X256Edit& editor_;
    int sequence_;
    int frame_ = 0, view_ = 0;
    int zoom_ = 2;
    uint32_t options_ = kShowRegPoint | kShowKeyPoint | kShowOrigin | kShowBitmap | kShowShadow;
    uint32_t background_ = 0x404850FF;
    MoveMode mode_ = MoveMode::Bitmap;
    bool playing_ = false;
    double frameStart_ = 0;
    // A drag or held key: its action key and the pixels already applied.
    uintptr_t nextKey_ = 1, dragKey_ = 0, arrowKey_ = 0;
    Point dragApplied_{};
    Point pan_{}, panAtPress_{};
    bool panning_ = false;
    bool syncingBars_ = false;
    int32_t scrollLow_[2] = {};  // the client's first pixel about the origin at scroll position 0, per axis
    BitmapPictures pictures_;
};

}  // namespace tamber::collections::editor
