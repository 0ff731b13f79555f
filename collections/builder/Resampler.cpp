#include "collections/builder/Resampler.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <vector>

namespace tamber::collections::builder {
using namespace tamber::images;

namespace {

constexpr double kLobes = 3.0;

double Lanczos(double x) {
    x = std::fabs(x);
    if (x < 1e-9) return 1.0;
    if (x >= kLobes) return 0.0;
    const double px = M_PI * x;
    return kLobes * std::sin(px) * std::sin(px / kLobes) / (px * px);
}

// The weights of one output position: the first source index and one weight per tap.
struct Taps {
    int first = 0;
    std::vector<float> weights;
};

std::vector<Taps> Weights(int from, int to) {
    const double scale = double(to) / double(from);
    const double support = scale < 1 ? kLobes / scale : kLobes;
    const double stretch = scale < 1 ? scale : 1.0;
    std::vector<Taps> all(static_cast<size_t>(to));
    for (int i = 0; i < to; ++i) {
        const double centre = (i + 0.5) / scale - 0.5;
        const int first = std::max(0, int(std::ceil(centre - support)));
        const int last = std::min(from - 1, int(std::floor(centre + support)));
        Taps& taps = all[size_t(i)];
        taps.first = first;
        double sum = 0;
        for (int s = first; s <= last; ++s) {
            const double w = Lanczos((s - centre) * stretch);
            taps.weights.push_back(float(w));
            sum += w;
        }
        if (sum != 0)
            for (float& w : taps.weights) w = float(w / sum);
    }
    return all;
}

uint8_t ToByte(float v) { return uint8_t(std::clamp(std::lround(v), 0L, 255L)); }

}  // namespace

Image ResampleLanczos(const Image& rgba, int width, int height) {
    assert(rgba.format == kPixelRGBA && width > 0 && height > 0);
    const size_t sw = size_t(rgba.width), sh = size_t(rgba.height);
    // Premultiplied source.
    std::vector<float> source(sw * sh * 4);
    for (size_t i = 0; i < sw * sh; ++i) {
        const float a = rgba.pixels[i * 4 + 3] / 255.0f;
        for (int c = 0; c < 3; ++c) source[i * 4 + size_t(c)] = rgba.pixels[i * 4 + size_t(c)] * a;
        source[i * 4 + 3] = rgba.pixels[i * 4 + 3];
    }
    // Rows first, then columns.
    const std::vector<Taps> across = Weights(rgba.width, width);
    std::vector<float> rows(size_t(width) * sh * 4, 0.0f);
    for (size_t y = 0; y < sh; ++y)
        for (size_t x = 0; x < size_t(width); ++x) {
            const Taps& taps = across[x];
            float* out = &rows[(y * size_t(width) + x) * 4];
            for (size_t t = 0; t < taps.weights.size(); ++t) {
                const float* in = &source[(y * sw + size_t(taps.first) + t) * 4];
                for (int c = 0; c < 4; ++c) out[c] += in[c] * taps.weights[t];
            }
        }
    source = {};
    const std::vector<Taps> down = Weights(rgba.height, height);
    Image result;
    [[maybe_unused]] const bool made = CreateImage(result, width, height, kPixelRGBA);
    assert(made);
    for (size_t y = 0; y < size_t(height); ++y) {
        const Taps& taps = down[y];
        for (size_t x = 0; x < size_t(width); ++x) {
            float sum[4] = {0, 0, 0, 0};
            for (size_t t = 0; t < taps.weights.size(); ++t) {
                const float* in = &rows[((size_t(taps.first) + t) * size_t(width) + x) * 4];
                for (int c = 0; c < 4; ++c) sum[c] += in[c] * taps.weights[t];
            }
            uint8_t* out = &result.pixels[(y * size_t(width) + x) * 4];
            const uint8_t alpha = ToByte(sum[3]);
            out[3] = alpha;
            for (int c = 0; c < 3; ++c) out[c] = alpha ? ToByte(sum[c] * 255.0f / std::max(sum[3], 1e-3f)) : 0;
        }
    }
    return result;
}

}  // namespace tamber::collections::builder
