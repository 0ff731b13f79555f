#pragma once
// The frame view: one frame and view of a sequence drawn around the origin (the
// registration point) at a zoom, with optional markers (registration point, key
// point, selection box, origin, contrail of the key point), the shadow, and the
// previous and next frames as an onion skin. Dragging with the mouse or holding an
// arrow key moves what the move mode names; a drag or a held key is one action.
// Playing shows the frames at the sequence's ticks per frame, at the game's rate
// of kTicksPerSecond ticks per second.
#include <cstdint>
#include <unordered_map>

#include "collections/RegistrationPoints.h"
#include "ui/Signal.h"
#include "ui/Window.h"

namespace tamber::collections::editor {
using namespace tamber::ui;

class X256Edit;

class X256SequenceFrameView : public Window {
public:
    static constexpr double kTicksPerSecond = 30.0;
    static constexpr int kMaxZoom = 16;
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

    int FrameIndex() const { return frame_; }
    int ViewIndex() const { return view_; }
    void SetCell(int frame, int view);
    int Zoom() const { return zoom_; }
    void SetZoom(int zoom);
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

    Signal0 changed;  // frame, zoom or playing changed

private:
    const Sequence* Shown() const;
    void OnSequencesChanged();
    // Moves by whole picture pixels as one action per drag or held key.
    void Move(int dx, int dy, uintptr_t key);
    void DrawSprite(const std::shared_ptr<Bitmap>& bitmap, int left, int top, uint32_t flags, uint8_t alpha);
    uint32_t TextureOf(const std::shared_ptr<Bitmap>& bitmap);
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
    struct Texture {
        std::weak_ptr<Bitmap> bitmap;
        uint32_t name = 0;
    };
    std::unordered_map<const Bitmap*, Texture> textures_;
};

}  // namespace tamber::collections::editor
