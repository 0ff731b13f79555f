#pragma once
// A small RGBA painting surface for the resource generators: shapes are given as
// inside tests and filled with 4 x 4 supersampling, so edges come out antialiased.
// Pixels are kept premultiplied in floats and composited "over".
#include <cstdint>
#include <functional>
#include <vector>

#include "ui/PieceFile.h"

namespace tamber::resgen {
using namespace tamber::ui;

struct Color {
    float r = 0, g = 0, b = 0, a = 1;
};
Color Rgb(uint32_t rgb, float alpha = 1);
Color Mix(const Color& a, const Color& b, float t);

// Colour at a point; lets a fill be a gradient.
using Paint = std::function<Color(float x, float y)>;
Paint Solid(Color c);
Paint VerticalGradient(float y0, float y1, Color top, Color bottom);

struct CanvasPoint {
    float x, y;
};

class Canvas {
public:
    Canvas(int width, int height);
    int Width() const { return width_; }
    int Height() const { return height_; }

    // Fills every pixel whose samples satisfy inside, weighted by coverage.
    void FillShape(const std::function<bool(float x, float y)>& inside, const Paint& paint);
    void FillRect(float x0, float y0, float x1, float y1, const Paint& paint);
    void FillRoundRect(float x0, float y0, float x1, float y1, float radius, const Paint& paint);
    // A rounded rectangle with a border of the given width in another colour.
    void FramedRoundRect(float x0, float y0, float x1, float y1, float radius, float border, const Paint& fill,
                         Color edge);
    void FillPolygon(const std::vector<CanvasPoint>& points, const Paint& paint);
    void Line(CanvasPoint a, CanvasPoint b, float width, Color color);  // round caps
    void FillCircle(float cx, float cy, float radius, const Paint& paint);
    // Coverage mask (0..255) placed with its top-left at (x, y).
    void BlendMask(int x, int y, int width, int height, const uint8_t* mask, Color color);
    // Sets a pixel outright (straight alpha).
    void Set(int x, int y, Color color);
    Color Get(int x, int y) const;

    // Straight RGBA bytes, rows top to bottom.
    std::vector<uint8_t> Rgba() const;
    PieceImage ToPiece(uint32_t id) const;
    // The columns [x0, x1) or rows [y0, y1) as a piece.
    PieceImage Slice(uint32_t id, int x0, int y0, int x1, int y1) const;

private:
    void Blend(int x, int y, Color color, float coverage);

    int width_;
    int height_;
    std::vector<Color> pixels_;  // premultiplied
};

}  // namespace tamber::resgen
