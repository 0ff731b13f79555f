#pragma once
// The hue bar of the hue-change editor: a hue ramp with markers for the start, median
// and end hue of a hue change (each a fraction of the full circle in 1/65536 units),
// which the user drags.
#include <cstdint>

#include "ui/Signal.h"
#include "ui/Window.h"

namespace tamber::ui::widgets {

class ColorBar : public Window {
public:
    enum Marker : int { kNone = 0, kStart = 1, kMedian = 2, kEnd = 3 };
    static constexpr int kWidth = 360;
    static constexpr int kHeight = 20;
    static constexpr int kGrabDistance = 3;

    // Style 0x23 (resizable border, enabled, visible); the client is 360 by 20.
    explicit ColorBar(Window* parent);

    const char* GetClassName() const override { return "ColorBar"; }

    void SetHues(uint16_t start, uint16_t median, uint16_t end);
    uint16_t Hue(int marker) const;
    int Dragging() const { return dragging_; }
    // The marker within grabbing distance of a client x (start, end, median first), or kNone.
    int MarkerAt(int x) const;
    int HueToX(uint16_t hue) const;
    uint16_t XToHue(int x) const;

    void Draw() override;
    void OnMouseButton(Event& event) override;
    void OnMouseMove(Event& event) override;
    void OnMouseLeave(uint32_t newHit, uint32_t oldHit) override;
    void OnMouseTrack(Point start, Point current, int phase) override;

    // A marker was dragged to a new hue.
    Signal0 huesChanged;

private:
    void ShowCursor(int shape);

    uint16_t start_ = 0;
    uint16_t median_ = 0;
    uint16_t end_ = 0;
    int dragging_ = kNone;
};

}  // namespace tamber::ui::widgets
