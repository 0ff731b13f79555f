#include "resgen/Canvas.h"

#include <algorithm>
#include <cmath>

namespace tamber::resgen {

Color Rgb(uint32_t rgb, float alpha) {
    return Color{((rgb >> 16) & 255) / 255.0f, ((rgb >> 8) & 255) / 255.0f, (rgb & 255) / 255.0f, alpha};
}

Color Mix(const Color& a, const Color& b, float t) {
    return Color{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Paint Solid(Color c) {
    return [c](float, float) { return c; };
}

Paint VerticalGradient(float y0, float y1, Color top, Color bottom) {
    return [=](float, float y) { return Mix(top, bottom, std::clamp((y - y0) / (y1 - y0), 0.0f, 1.0f)); };
}

Canvas::Canvas(int width, int height) : width_(width), height_(height), pixels_(size_t(width) * height, Color{0, 0, 0, 0}) {}

void Canvas::Blend(int x, int y, Color c, float coverage) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || coverage <= 0)
        return;
    float a = c.a * coverage;
    Color& d = pixels_[size_t(y) * width_ + x];
    d.r = c.r * a + d.r * (1 - a);
    d.g = c.g * a + d.g * (1 - a);
    d.b = c.b * a + d.b * (1 - a);
    d.a = a + d.a * (1 - a);
}

void Canvas::Set(int x, int y, Color c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    pixels_[size_t(y) * width_ + x] = Color{c.r * c.a, c.g * c.a, c.b * c.a, c.a};
}

Color Canvas::Get(int x, int y) const {
    const Color& p = pixels_[size_t(y) * width_ + x];
    if (p.a <= 0)
        return Color{0, 0, 0, 0};
    return Color{p.r / p.a, p.g / p.a, p.b / p.a, p.a};
}

void Canvas::FillShape(const std::function<bool(float, float)>& inside, const Paint& paint) {
    constexpr int kSamples = 4;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            int hits = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx)
                    hits += inside(x + (sx + 0.5f) / kSamples, y + (sy + 0.5f) / kSamples);
            if (hits)
                Blend(x, y, paint(x + 0.5f, y + 0.5f), float(hits) / (kSamples * kSamples));
        }
}

void Canvas::FillRect(float x0, float y0, float x1, float y1, const Paint& paint) {
    FillShape([=](float x, float y) { return x >= x0 && x < x1 && y >= y0 && y < y1; }, paint);
}

namespace {
bool InRoundRect(float x, float y, float x0, float y0, float x1, float y1, float r) {
    if (x < x0 || x >= x1 || y < y0 || y >= y1)
        return false;
    float cx = std::clamp(x, x0 + r, x1 - r), cy = std::clamp(y, y0 + r, y1 - r);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
}
}  // namespace

void Canvas::FillRoundRect(float x0, float y0, float x1, float y1, float radius, const Paint& paint) {
    FillShape([=](float x, float y) { return InRoundRect(x, y, x0, y0, x1, y1, radius); }, paint);
}

void Canvas::FramedRoundRect(float x0, float y0, float x1, float y1, float radius, float border, const Paint& fill,
                             Color edge) {
    FillRoundRect(x0, y0, x1, y1, radius, Solid(edge));
    float inner = std::max(0.0f, radius - border);
    FillRoundRect(x0 + border, y0 + border, x1 - border, y1 - border, inner, fill);
}

void Canvas::FillPolygon(const std::vector<CanvasPoint>& points, const Paint& paint) {
    FillShape(
        [&](float x, float y) {
            bool in = false;
            for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
                const CanvasPoint& a = points[i];
                const CanvasPoint& b = points[j];
                if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x)
                    in = !in;
            }
            return in;
        },
        paint);
}

void Canvas::Line(CanvasPoint a, CanvasPoint b, float width, Color color) {
    const float half = width / 2;
    FillShape(
        [=](float x, float y) {
            float dx = b.x - a.x, dy = b.y - a.y;
            float length2 = dx * dx + dy * dy;
            float t = length2 > 0 ? std::clamp(((x - a.x) * dx + (y - a.y) * dy) / length2, 0.0f, 1.0f) : 0;
            float px = a.x + t * dx - x, py = a.y + t * dy - y;
            return px * px + py * py <= half * half;
        },
        Solid(color));
}

void Canvas::FillCircle(float cx, float cy, float radius, const Paint& paint) {
    FillShape([=](float x, float y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius; }, paint);
}

void Canvas::BlendMask(int x, int y, int width, int height, const uint8_t* mask, Color color) {
    for (int my = 0; my < height; ++my)
        for (int mx = 0; mx < width; ++mx)
            Blend(x + mx, y + my, color, mask[my * width + mx] / 255.0f);
}

std::vector<uint8_t> Canvas::Rgba() const {
    std::vector<uint8_t> out;
    out.reserve(pixels_.size() * 4);
    auto byte = [](float v) { return uint8_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 255)); };
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            Color c = Get(x, y);
            out.insert(out.end(), {byte(c.r), byte(c.g), byte(c.b), byte(c.a)});
        }
    return out;
}

PieceImage Canvas::ToPiece(uint32_t id) const { return Slice(id, 0, 0, width_, height_); }

PieceImage Canvas::Slice(uint32_t id, int x0, int y0, int x1, int y1) const {
    std::vector<uint8_t> all = Rgba();
    PieceImage piece;
    piece.id = id;
    piece.width = uint16_t(x1 - x0);
    piece.height = uint16_t(y1 - y0);
    for (int y = y0; y < y1; ++y)
        piece.rgba.insert(piece.rgba.end(), all.begin() + (size_t(y) * width_ + x0) * 4,
                          all.begin() + (size_t(y) * width_ + x1) * 4);
    return piece;
}

}  // namespace tamber::resgen
