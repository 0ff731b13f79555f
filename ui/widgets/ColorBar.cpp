#include "ui/widgets/ColorBar.h"

#include <algorithm>
#include <cstdlib>

#include "ui/DrawBatch.h"
#include "ui/Skin.h"
#include "ui/WindowSystem.h"

namespace tamber::ui::widgets {

namespace {

constexpr int kCursorArrow = 0;
constexpr int kCursorHorizontalResize = 1;

// A fully saturated colour of the hue, 0 to 6 around the circle.
void HueColor(double h, uint8_t out[3]) {
    double f = h - int(h);
    uint8_t up = uint8_t(255 * f), down = uint8_t(255 * (1 - f));
    switch (int(h) % 6) {
    case 0: out[0] = 255, out[1] = up, out[2] = 0; break;
    case 1: out[0] = down, out[1] = 255, out[2] = 0; break;
    case 2: out[0] = 0, out[1] = 255, out[2] = up; break;
    case 3: out[0] = 0, out[1] = down, out[2] = 255; break;
    case 4: out[0] = up, out[1] = 0, out[2] = 255; break;
    default: out[0] = 255, out[1] = 0, out[2] = down; break;
    }
}

}  // namespace

ColorBar::ColorBar(Window* parent) : Window(kStyleResizable | kStyleEnabled | kStyleVisible, parent) {
    int border = WS().ThickBorder();
    SetSize(kWidth + 2 * border, kHeight + 2 * border);
}

void ColorBar::SetHues(uint16_t start, uint16_t median, uint16_t end) {
    start_ = start, median_ = median, end_ = end;
    InvalidateClient();
}

uint16_t ColorBar::Hue(int marker) const {
    return marker == kStart ? start_ : marker == kMedian ? median_ : marker == kEnd ? end_ : 0;
}

int ColorBar::HueToX(uint16_t hue) const { return int(int64_t(hue) * Client().Width() / 65536); }

uint16_t ColorBar::XToHue(int x) const {
    int width = std::max(Client().Width(), 1);
    x = std::clamp(x, 0, width);
    // The right end is the full circle, which the 16-bit field holds as its largest value.
    return uint16_t(std::min<int64_t>(int64_t(x) * 65536 / width, 65535));
}

int ColorBar::MarkerAt(int x) const {
    for (int marker : {kStart, kEnd, kMedian}) {
        if (std::abs(x - HueToX(Hue(marker))) <= kGrabDistance) return marker;
    }
    return kNone;
}

void ColorBar::ShowCursor(int shape) {
    if (Cursor() == shape) return;
    SetCursor(shape);
    WS().SetCursorShape(shape);
}

void ColorBar::OnMouseMove(Event& event) {
    if (dragging_) return;
    int x = event.Position().x - Client().left;
    ShowCursor(MarkerAt(x) != kNone ? kCursorHorizontalResize : kCursorArrow);
}

void ColorBar::OnMouseLeave(uint32_t newHit, uint32_t oldHit) {
    (void)newHit, (void)oldHit;
    if (!dragging_) ShowCursor(kCursorArrow);
}

void ColorBar::OnMouseButton(Event& event) {
    if (!IsEnabled() || event.Button() != 0 || !event.ButtonPressed()) return;
    int marker = MarkerAt(event.Position().x - Client().left);
    if (marker == kNone) return;
    dragging_ = marker;
    if (!WS().BeginMouseTracking(this)) dragging_ = kNone;
}

void ColorBar::OnMouseTrack(Point start, Point current, int phase) {
    (void)start;
    if (dragging_ == kNone) return;
    uint16_t hue = XToHue(current.x - Client().left);
    uint16_t& field = dragging_ == kStart ? start_ : dragging_ == kMedian ? median_ : end_;
    if (field != hue) {
        field = hue;
        InvalidateClient();
        huesChanged.Emit();
    }
    if (phase == 2) dragging_ = kNone;
}

void ColorBar::Draw() {
    int width = Client().Width(), height = Client().Height();
    // The hue ramp, in narrow strips of one colour each.
    constexpr int kStripWidth = 2;
    for (int x = 0; x < width; x += kStripWidth) {
        uint8_t rgb[3];
        HueColor(6.0 * (x + kStripWidth / 2) / std::max(width, 1), rgb);
        SetDrawColor(rgb[0], rgb[1], rgb[2], 255);
        Skin::FillRect({x, 0, std::min(x + kStripWidth, width), height});
    }
    // The affected range is shaded out everywhere else.
    int a = HueToX(start_), b = HueToX(end_);
    SetDrawColor(0, 0, 0, 150);
    if (a <= b) {
        Skin::FillRect({0, 0, a, height});
        Skin::FillRect({b, 0, width, height});
    } else {
        Skin::FillRect({b, 0, a, height});  // the range wraps around the circle
    }
    auto marker = [&](int which, uint8_t grey) {
        int x = HueToX(Hue(which));
        SetDrawColor(0, 0, 0, 255);
        Skin::FillRect({x - 2, 0, x + 2, height});
        SetDrawColor(grey, grey, grey, 255);
        Skin::FillRect({x - 1, which == kMedian ? height / 3 : 0, x + 1, height});
    };
    marker(kMedian, 160);
    marker(kStart, 255);
    marker(kEnd, 255);
}

}  // namespace tamber::ui::widgets
