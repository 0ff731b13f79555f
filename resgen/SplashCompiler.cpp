// Writes the splash picture (res/tamber.bmp, 24-bit) and the default highlight
// colours of detail materials (res/dtex.act, 256 colours).
// Usage: resgen_splash SPLASH_BMP DTEX_ACT BOLD_FONT PLAIN_FONT
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

// Eight distinct colours, repeated over the table: neighbouring materials differ.
constexpr uint8_t kHighlights[8][3] = {{255, 8, 51},  {221, 0, 230}, {42, 12, 255},  {0, 123, 255},
                                       {0, 246, 204}, {32, 255, 26}, {212, 242, 0}, {255, 120, 0}};

void DrawSplash(Canvas& c, const FaceRenderer& title, const FaceRenderer& text) {
    // A night-blue field with a soft glow behind the emblem.
    c.FillRect(0, 0, kWidth, kHeight, [](float x, float y) {
        float glow = std::exp(-((x - 110) * (x - 110) + (y - 130) * (y - 130)) / (2 * 90.0f * 90.0f));
        Color base = Mix(Rgb(0x1B2B46), Rgb(0x0B0F16), y / kHeight);
        return Mix(base, Rgb(0x2F5FA8), glow * 0.45f);
    });
    // The emblem: a drum seen from above, its skin in rings, and two crossed sticks.
    c.FillCircle(110, 130, 62, Solid(Rgb(0x0A0D12)));
    c.FillCircle(110, 130, 58, Solid(Rgb(0xC9A15A)));
    c.FillCircle(110, 130, 50, [](float x, float y) {
        float d = std::hypot(x - 110, y - 130) / 50;
        return Mix(Rgb(0xF4EBD8), Rgb(0xD8C7A4), d * d);
    });
    for (float r : {18.0f, 32.0f, 44.0f})
        c.FillShape([r](float x, float y) {
            float d = std::hypot(x - 110, y - 130);
            return d > r - 0.8f && d < r + 0.8f;
        }, Solid(Color{0.55f, 0.42f, 0.24f, 0.35f}));
    c.Line({62, 196}, {150, 86}, 7, Rgb(0x0A0D12));
    c.Line({158, 196}, {70, 86}, 7, Rgb(0x0A0D12));
    c.Line({62, 196}, {150, 86}, 4.5f, Rgb(0x8A5A2B));
    c.Line({158, 196}, {70, 86}, 4.5f, Rgb(0x8A5A2B));
    c.FillCircle(150, 86, 6, Solid(Rgb(0xF0E2C4)));
    c.FillCircle(70, 86, 6, Solid(Rgb(0xF0E2C4)));

    title.DrawString(&c, "Tamber", 200, 150, Color{0, 0, 0, 0.6f});
    title.DrawString(&c, "Tamber", 198, 147, Rgb(0xFFFFFF));
    text.DrawString(&c, "Tag editor for Vesk II", 202, 180, Rgb(0xA9BEDD));
    c.FillRect(30, 240, kWidth - 30, 241, Solid(Color{1, 1, 1, 0.18f}));
    text.DrawString(&c, "Archives, collections, meshes, sounds and more", 30, 272, Rgb(0x7F93B3));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s SPLASH_BMP DTEX_ACT BOLD_FONT PLAIN_FONT\n", argv[0]);
        return 2;
    }
    auto title = FaceRenderer::Open(argv[3], 58);
    auto text = FaceRenderer::Open(argv[4], 16);
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
    return 0;
}
