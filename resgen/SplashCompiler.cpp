// Writes the splash picture (res/tamber.bmp, 24-bit), the default highlight colours
// of detail materials (res/dtex.act, 256 colours) and the desktop icon (a PNG of the
// splash's emblem on a transparent square).
// Usage: resgen_splash SPLASH_BMP DTEX_ACT ICON_PNG BOLD_FONT PLAIN_FONT
#include <cmath>
#include <cstdio>

#include "images/ColorTable.h"
#include "images/MediaFile.h"
#include "resgen/FaceRenderer.h"

using namespace tamber::images;
using namespace tamber::resgen;

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 300;
constexpr int kIconSide = 128;

// Eight distinct colours, repeated over the table: neighbouring materials differ.
constexpr uint8_t kHighlights[8][3] = {{255, 8, 51},  {221, 0, 230}, {42, 12, 255},  {0, 123, 255},
                                       {0, 246, 204}, {32, 255, 26}, {212, 242, 0}, {255, 120, 0}};

// The emblem: a drum seen from above, its skin in rings, and two crossed sticks,
// centred at (cx, cy); at scale 1 the drum's radius is 62 pixels.
void DrawEmblem(Canvas& c, float cx, float cy, float scale) {
    auto at = [&](float dx, float dy) { return CanvasPoint{cx + dx * scale, cy + dy * scale}; };
    c.FillCircle(cx, cy, 62 * scale, Solid(Rgb(0x0A0D12)));
    c.FillCircle(cx, cy, 58 * scale, Solid(Rgb(0xC9A15A)));
    c.FillCircle(cx, cy, 50 * scale, [=](float x, float y) {
        float d = std::hypot(x - cx, y - cy) / (50 * scale);
        return Mix(Rgb(0xF4EBD8), Rgb(0xD8C7A4), d * d);
    });
    for (float r : {18.0f, 32.0f, 44.0f})
        c.FillShape([=](float x, float y) {
            float d = std::hypot(x - cx, y - cy);
            return d > (r - 0.8f) * scale && d < (r + 0.8f) * scale;
        }, Solid(Color{0.55f, 0.42f, 0.24f, 0.35f}));
    c.Line(at(-48, 66), at(40, -44), 7 * scale, Rgb(0x0A0D12));
    c.Line(at(48, 66), at(-40, -44), 7 * scale, Rgb(0x0A0D12));
    c.Line(at(-48, 66), at(40, -44), 4.5f * scale, Rgb(0x8A5A2B));
    c.Line(at(48, 66), at(-40, -44), 4.5f * scale, Rgb(0x8A5A2B));
    c.FillCircle(cx + 40 * scale, cy - 44 * scale, 6 * scale, Solid(Rgb(0xF0E2C4)));
    c.FillCircle(cx - 40 * scale, cy - 44 * scale, 6 * scale, Solid(Rgb(0xF0E2C4)));
}

void DrawSplash(Canvas& c, const FaceRenderer& title, const FaceRenderer& text) {
    // A night-blue field with a soft glow behind the emblem.
    c.FillRect(0, 0, kWidth, kHeight, [](float x, float y) {
        float glow = std::exp(-((x - 110) * (x - 110) + (y - 130) * (y - 130)) / (2 * 90.0f * 90.0f));
        Color base = Mix(Rgb(0x1B2B46), Rgb(0x0B0F16), y / kHeight);
        return Mix(base, Rgb(0x2F5FA8), glow * 0.45f);
    });
    DrawEmblem(c, 110, 130, 1);

    title.DrawString(&c, "Tamber", 200, 150, Color{0, 0, 0, 0.6f});
    title.DrawString(&c, "Tamber", 198, 147, Rgb(0xFFFFFF));
    text.DrawString(&c, "Tag editor for Vesk II", 202, 180, Rgb(0xA9BEDD));
    c.FillRect(30, 240, kWidth - 30, 241, Solid(Color{1, 1, 1, 0.18f}));
    text.DrawString(&c, "Archives, collections, meshes, sounds and more", 30, 272, Rgb(0x7F93B3));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: %s SPLASH_BMP DTEX_ACT ICON_PNG BOLD_FONT PLAIN_FONT\n", argv[0]);
        return 2;
    }
    auto title = FaceRenderer::Open(argv[4], 58);
    auto text = FaceRenderer::Open(argv[5], 16);
    if (!title || !text) {
        std::fprintf(stderr, "cannot open the splash fonts\n");
        return 1;
    }
    Canvas canvas(kWidth, kHeight);
    DrawSplash(canvas, *title, *text);
    std::vector<uint8_t> rgba = canvas.Rgba();

    MediaFile splash(argv[1]);
    splash.format = kFormatBmp;
    std::vector<uint8_t> rgb;
    rgb.reserve(size_t(kWidth) * kHeight * 3);
    for (size_t i = 0; i < rgba.size(); i += 4)
        rgb.insert(rgb.end(), {rgba[i], rgba[i + 1], rgba[i + 2]});
    if (!CreateImage(splash.image, kWidth, kHeight, kPixelRGB, rgb.data()) || !SaveImage(splash)) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }

    uint8_t table[768];
    for (int i = 0; i < 256; ++i)
        for (int k = 0; k < 3; ++k)
            table[i * 3 + k] = kHighlights[i % 8][k];
    if (!WriteColorTable(argv[2], table, 256)) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }

    Canvas iconCanvas(kIconSide, kIconSide);
    DrawEmblem(iconCanvas, kIconSide / 2.0f, kIconSide / 2.0f, (kIconSide / 2.0f - 1) / 66);
    std::vector<uint8_t> iconRgba = iconCanvas.Rgba();
    MediaFile icon(argv[3]);
    icon.format = kFormatPng;
    if (!CreateImage(icon.image, kIconSide, kIconSide, kPixelRGBA, iconRgba.data()) || !SaveImage(icon)) {
        std::fprintf(stderr, "cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
