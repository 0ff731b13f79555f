#include "bench/images/TestPictures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

double Hash(int x, int y, uint32_t seed) {
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return double((h ^ (h >> 16)) & 0xFFFF) / 65535.0;
}

// Smooth value noise with several octaves, 0..1.
double Noise(double x, double y, uint32_t seed) {
    double total = 0, amplitude = 0.5, norm = 0;
    for (int octave = 0; octave < 5; ++octave) {
        int ix = int(std::floor(x)), iy = int(std::floor(y));
        double fx = x - ix, fy = y - iy;
        fx = fx * fx * (3 - 2 * fx);
        fy = fy * fy * (3 - 2 * fy);
        double a = Hash(ix, iy, seed + octave), b = Hash(ix + 1, iy, seed + octave);
        double c = Hash(ix, iy + 1, seed + octave), d = Hash(ix + 1, iy + 1, seed + octave);
        total += amplitude * ((a * (1 - fx) + b * fx) * (1 - fy) + (c * (1 - fx) + d * fx) * fy);
        norm += amplitude;
        amplitude *= 0.5;
        x *= 2;
        y *= 2;
    }
    return total / norm;
}

uint8_t Byte(double v) { return uint8_t(std::clamp(std::lround(v), 0L, 255L)); }

struct Sphere {
    double cx, cy, radius, r, g, b;
};

// A still life: a textured wall and floor, lit spheres with highlights and
// soft shadows, and a little per-pixel noise as a camera would add.
Image StillLife(int width, int height, uint32_t seed, const std::vector<Sphere>& spheres) {
    Image image;
    CreateImage(image, width, height, kPixelRGBA);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double u = double(x) / width, v = double(y) / height;
            double tex = Noise(u * 6, v * 6, seed);
            double r, g, b;
            if (v < 0.62) {  // wall: warm gradient with plaster texture
                r = 170 + 60 * u + 30 * tex;
                g = 140 + 40 * u + 25 * tex;
                b = 110 + 20 * v + 20 * tex;
            } else {  // floor: wood-like streaks
                double grain = 0.5 + 0.5 * std::sin(u * 90 + 8 * Noise(u * 3, v * 20, seed + 9));
                r = 100 + 50 * grain + 20 * tex;
                g = 60 + 30 * grain + 10 * tex;
                b = 30 + 15 * grain;
            }
            double light = 1.0;
            for (const Sphere& s : spheres) {
                double dx = (x - s.cx) / s.radius, dy = (y - s.cy) / s.radius;
                // Shadow ellipse on the floor to the lower right.
                double sx = (x - s.cx - 0.6 * s.radius) / (1.3 * s.radius), sy = (y - s.cy - 0.9 * s.radius) / (0.35 * s.radius);
                double shadow = sx * sx + sy * sy;
                if (shadow < 1)
                    light = std::min(light, 0.55 + 0.45 * shadow);
                double d2 = dx * dx + dy * dy;
                if (d2 < 1) {
                    double nz = std::sqrt(1 - d2);
                    double diffuse = std::max(0.0, -0.5 * dx - 0.6 * dy + 0.62 * nz);
                    double half = std::max(0.0, -0.3 * dx - 0.4 * dy + 0.87 * nz);
                    double glint = std::pow(half, 40) * 220;
                    double edge = std::clamp((1 - d2) * s.radius / 2, 0.0, 1.0);  // antialiased rim
                    double sr = s.r * (0.2 + 0.8 * diffuse) + glint, sg = s.g * (0.2 + 0.8 * diffuse) + glint,
                           sb = s.b * (0.2 + 0.8 * diffuse) + glint;
                    r = r * (1 - edge) + sr * edge;
                    g = g * (1 - edge) + sg * edge;
                    b = b * (1 - edge) + sb * edge;
                    light = 1.0;
                }
            }
            double grain = (Hash(x, y, seed + 77) - 0.5) * 10;
            uint8_t* p = &image.pixels[(size_t(y) * width + x) * 4];
            p[0] = Byte(r * light + grain);
            p[1] = Byte(g * light + grain);
            p[2] = Byte(b * light + grain);
            p[3] = 255;
        }
    }
    return image;
}

// A landscape: sky gradient with clouds, layered hills, a lake reflecting the sky.
Image Landscape(int width, int height, uint32_t seed) {
    Image image;
    CreateImage(image, width, height, kPixelRGBA);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double u = double(x) / width, v = double(y) / height;
            double r = 90 + 120 * v, g = 140 + 80 * v, b = 230 - 20 * v;
            double cloud = std::max(0.0, Noise(u * 4, v * 8, seed) - 0.45) * 2.5;
            r += (255 - r) * cloud;
            g += (255 - g) * cloud;
            b += (255 - b) * cloud;
            for (int layer = 0; layer < 3; ++layer) {
                double ridge = 0.45 + 0.1 * layer + 0.12 * Noise(u * (2 + layer), layer * 3.1, seed + 5 + layer);
                if (v > ridge) {
                    double t = Noise(u * 30, v * 30, seed + 20 + layer);
                    double shade = 1 - 0.25 * layer;
                    r = (40 + 30 * t + 25 * layer) * shade + 20;
                    g = (90 + 50 * t - 10 * layer) * shade + 10;
                    b = (40 + 20 * t + 30 * layer) * shade;
                }
            }
            if (v > 0.82) {  // lake
                double ripple = Noise(u * 40, v * 200, seed + 40);
                r = 60 + 60 * ripple;
                g = 90 + 60 * ripple;
                b = 150 + 60 * ripple;
            }
            double grain = (Hash(x, y, seed + 99) - 0.5) * 8;
            uint8_t* p = &image.pixels[(size_t(y) * width + x) * 4];
            p[0] = Byte(r + grain);
            p[1] = Byte(g + grain);
            p[2] = Byte(b + grain);
            p[3] = 255;
        }
    }
    return image;
}

// A sprite sheet: shaded creatures (bodies, eyes, glows) on a transparent
// background; transparent pixels are black with alpha 0.
Image Sprites(int width, int height, uint32_t seed) {
    Image image;
    CreateImage(image, width, height, kPixelRGBA);
    int cell = 64;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            int cx = x / cell, cy = y / cell;
            double lx = (x % cell - cell / 2 + 0.5) / (cell * 0.4), ly = (y % cell - cell / 2 + 0.5) / (cell * 0.4);
            double hue = Hash(cx, cy, seed) * 6.283;
            double br = 128 + 110 * std::cos(hue), bg = 128 + 110 * std::cos(hue + 2.09), bb = 128 + 110 * std::cos(hue + 4.19);
            double d = std::sqrt(lx * lx + ly * ly * 1.3) + 0.15 * Noise(x * 0.1, y * 0.1, seed);
            double alpha = std::clamp((1.0 - d) * 12, 0.0, 1.0);
            double glow = std::clamp(1.25 - d, 0.0, 0.25) * 2;  // soft halo
            double shade = std::clamp(0.35 + 0.65 * (1 - d) - 0.3 * ly, 0.0, 1.2);
            double r = br * shade, g = bg * shade, b = bb * shade;
            double ex = std::fabs(lx) - 0.3, ey = ly + 0.2;
            if (ex * ex + ey * ey < 0.02) {
                r = g = b = 240;
            }
            double a = std::max(alpha, glow);
            if (alpha < glow) {
                r = br;
                g = bg;
                b = bb;
            }
            uint8_t* p = &image.pixels[(size_t(y) * width + x) * 4];
            if (a <= 0)
                continue;
            p[0] = Byte(r);
            p[1] = Byte(g);
            p[2] = Byte(b);
            p[3] = Byte(a * 255);
        }
    }
    return image;
}

}  // namespace

std::vector<TestPicture> MakeTestPictures() {
    std::vector<TestPicture> pictures;
    pictures.push_back({"still life 640x480",
                        StillLife(640, 480, 1, {{200, 230, 90, 200, 40, 30}, {420, 260, 70, 40, 120, 200},
                                                {520, 330, 45, 230, 200, 60}, {300, 340, 40, 60, 170, 80}})});
    pictures.push_back({"landscape 800x600", Landscape(800, 600, 7)});
    pictures.push_back({"still life 320x240", StillLife(320, 240, 3, {{160, 110, 70, 150, 60, 200}})});
    pictures.push_back({"sprites 512x256", Sprites(512, 256, 11)});
    pictures.push_back({"sprites 256x256", Sprites(256, 256, 23)});
    return pictures;
}
