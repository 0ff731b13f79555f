#include "ui/choosers/ColorFields.h"

#include <algorithm>

#include "ui/DrawBatch.h"
#include "ui/Skin.h"
#include "ui/WindowSystem.h"

namespace tamber::ui::choosers {

namespace {

constexpr uint32_t kFieldStyle = kStyleVisible | kStyleEnabled | kStyleThinBorder;

BatchVertex Vertex(Rgb c, int x, int y) { return BatchVertex{0, 0, c.r, c.g, c.b, 255, float(x), float(y), 0}; }

// A ring marker that stays visible on light and dark colours.
void DrawMarker(int x, int y) {
    SetDrawColor(0, 0, 0, 255);
    Skin::DrawRectOutline({x - 4, y - 4, x + 5, y + 5}, 1, false);
    SetDrawColor(255, 255, 255, 255);
    Skin::DrawRectOutline({x - 3, y - 3, x + 4, y + 4}, 1, false);
}

double Fraction(int offset, int length) { return std::clamp(double(offset) / std::max(length - 1, 1), 0.0, 1.0); }

}  // namespace

ColorPicker::ColorPicker(Window* parent, const char* name) : Window(kFieldStyle, parent) { SetName(name); }

void ColorPicker::SetColor(const Hsv& hsv) {
    hsv_ = hsv;
    InvalidateClient();
}

void ColorPicker::Pick(Point surface) {
    Hsv hsv = PickAt({surface.x - Client().left, surface.y - Client().top});
    SetColor(hsv);
    picked.Emit(hsv);
}

void ColorPicker::OnMouseButton(Event& event) {
    if (event.Button() != 0 || !event.ButtonPressed()) return;
    Pick(event.Position());
    WS().BeginMouseTracking(this);
}

void ColorPicker::OnMouseTrack(Point start, Point current, int phase) {
    (void)start, (void)phase;
    Pick(current);
}

void HueSaturationField::Draw() {
    int width = Client().Width(), height = Client().Height();
    // Between the six primary and secondary hues the colour changes linearly, so six
    // shaded quads draw the field exactly.
    for (int segment = 0; segment < 6; ++segment) {
        int x0 = segment * width / 6, x1 = (segment + 1) * width / 6;
        Rgb top0 = HsvToRgb({segment * 60.0, 1, 1}), top1 = HsvToRgb({(segment + 1) * 60.0, 1, 1});
        Rgb grey{128, 128, 128};
        InterfaceBatch().AddQuad(0, {Vertex(top0, x0, 0), Vertex(top1, x1, 0), Vertex(grey, x1, height),
                                     Vertex(grey, x0, height)});
    }
    DrawMarker(int(Color().h / 360.0 * (width - 1)), int((1.0 - Color().s) * (height - 1)));
}

Hsv HueSaturationField::PickAt(Point local) const {
    Hsv hsv = Color();
    hsv.h = std::min(359.0, 360.0 * Fraction(local.x, Client().Width()));
    hsv.s = 1.0 - Fraction(local.y, Client().Height());
    // Picking a colour at no brightness would show nothing; lift it to full.
    if (hsv.v <= 0) hsv.v = 1;
    return hsv;
}

void ValueStrip::Draw() {
    int width = Client().Width(), height = Client().Height();
    Rgb full = HsvToRgb({Color().h, Color().s, 1}), black{0, 0, 0};
    InterfaceBatch().AddQuad(0, {Vertex(full, 0, 0), Vertex(full, width, 0), Vertex(black, width, height),
                                 Vertex(black, 0, height)});
    int y = int((1.0 - Color().v) * (height - 1));
    SetDrawColor(0, 0, 0, 255);
    Skin::FillRect({0, y - 2, width, y + 3});
    SetDrawColor(255, 255, 255, 255);
    Skin::FillRect({0, y - 1, width, y + 2});
}

Hsv ValueStrip::PickAt(Point local) const {
    Hsv hsv = Color();
    hsv.v = 1.0 - Fraction(local.y, Client().Height());
    return hsv;
}

ColorSwatch::ColorSwatch(Window* parent, int index) : Window(kFieldStyle, parent), index_(index) {}

void ColorSwatch::SetColor(Rgb rgb) {
    rgb_ = rgb;
    InvalidateClient();
}

void ColorSwatch::SetMarked(bool marked) {
    marked_ = marked;
    InvalidateClient();
}

void ColorSwatch::Draw() {
    Rect local{0, 0, Client().Width(), Client().Height()};
    SetDrawColor(rgb_.r, rgb_.g, rgb_.b, 255);
    Skin::FillRect(local);
    if (marked_) {
        SetDrawColor(0, 0, 0, 255);
        Skin::DrawRectOutline(local, 2, false);
        SetDrawColor(255, 255, 255, 255);
        Skin::DrawRectOutline({2, 2, local.right - 2, local.bottom - 2}, 1, false);
    }
}

void ColorSwatch::OnMouseButton(Event& event) {
    if (event.Button() == 0 && event.ButtonPressed()) pressed.Emit(index_);
}

}  // namespace tamber::ui::choosers
