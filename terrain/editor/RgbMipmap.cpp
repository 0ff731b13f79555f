#include "terrain/editor/RgbMipmap.h"

#include <algorithm>
#include <cstddef>

namespace tamber::terrain::painting {

std::vector<uint8_t> HalveRgb(const uint8_t* rgb, int width, int height) {
    const int w = std::max(1, width / 2), h = std::max(1, height / 2);
    // A side of one pixel is not halved: its pixel is taken once.
    const int stepX = width > 1 ? 1 : 0, stepY = height > 1 ? 1 : 0;
    std::vector<uint8_t> out(size_t(w) * size_t(h) * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (size_t c = 0; c < 3; ++c) {
                auto at = [&](int px, int py) { return unsigned(rgb[(size_t(py) * size_t(width) + size_t(px)) * 3 + c]); };
                const int x0 = x * 2, y0 = y * 2;
                const unsigned sum = at(x0, y0) + at(x0 + stepX, y0) + at(x0, y0 + stepY) + at(x0 + stepX, y0 + stepY);
                out[(size_t(y) * size_t(w) + size_t(x)) * 3 + c] = uint8_t((sum + 2) / 4);
            }
    return out;
}

}  // namespace tamber::terrain::painting
