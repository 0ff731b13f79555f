#include "images/PaletteReducer.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>

#include "images/NearestColorSearch.h"
#include "images/PaletteRefiner.h"
#include "images/WuQuantizer.h"

namespace tamber::images {

namespace {
constexpr size_t kRefineBudget = 65536;
}

void RefinePalette(std::vector<uint8_t>& palette, const std::vector<ColorCount>& colors, uint32_t maxColors,
                   int passes) {
    if (colors.size() <= maxColors) {
        palette.clear();
        for (const ColorCount& c : colors)
            palette.insert(palette.end(), {uint8_t(c.rgb >> 16), uint8_t(c.rgb >> 8), uint8_t(c.rgb)});
        return;
    }
    // The passes cost a search per distinct colour; past the budget the colours are
    // merged into small cells first, which moves the result little and bounds the time.
    if (colors.size() > kRefineBudget) {
        std::vector<ColorCount> merged = MergeColors(colors, 6);
        if (merged.size() > kRefineBudget)
            merged = MergeColors(colors, 5);
        PaletteRefiner(merged).Refine(palette, maxColors, passes);
        return;
    }
    PaletteRefiner(colors).Refine(palette, maxColors, passes);
}

namespace {

inline int Clamp255(int v) { return v < 0 ? 0 : v > 255 ? 255 : v; }

// Adds share/64 of the error to a working pixel (truncated toward zero).
inline void Spread(int* pixel, const int* error, int share) {
    for (int ch = 0; ch < 3; ++ch)
        pixel[ch] = Clamp255(pixel[ch] + error[ch] * share / 64);
}

// The nearest-colour search with the last answer for each colour kept in a small
// table indexed by a hash of the colour: pictures repeat colours, diffused or not.
class CachedNearestColor {
public:
    explicit CachedNearestColor(const std::vector<uint8_t>& palette)
        : search_(palette.data(), uint32_t(palette.size() / 3)), colors_(kSlots, kEmpty), indices_(kSlots) {}

    uint32_t Find(int r, int g, int b) {
        const uint32_t rgb = uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b);
        const uint32_t slot = (rgb * 2654435761u) >> (32 - kSlotBits);
        if (colors_[slot] != rgb) {
            colors_[slot] = rgb;
            indices_[slot] = uint8_t(search_.Find(r, g, b));
        }
        return indices_[slot];
    }

private:
    static constexpr int kSlotBits = 14;
    static constexpr size_t kSlots = size_t(1) << kSlotBits;
    static constexpr uint32_t kEmpty = UINT32_MAX;  // no colour has bits above 24

    NearestColorSearch search_;
    std::vector<uint32_t> colors_;
    std::vector<uint8_t> indices_;
};

// Orders the entries by red + green + blue, the order the nearest-colour search keeps.
void SortBySum(std::vector<uint8_t>& palette) {
    std::vector<std::array<uint8_t, 3>> entries(palette.size() / 3);
    for (size_t i = 0; i < entries.size(); ++i)
        entries[i] = {palette[i * 3], palette[i * 3 + 1], palette[i * 3 + 2]};
    std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return a[0] + a[1] + a[2] < b[0] + b[1] + b[2];
    });
    for (size_t i = 0; i < entries.size(); ++i)
        std::copy(entries[i].begin(), entries[i].end(), palette.begin() + long(i * 3));
}

}  // namespace

void DiffuseToPalette(const uint8_t* rgba, int32_t width, int32_t height, const std::vector<uint8_t>& palette,
                      uint8_t* indices, size_t indexStride) {
    CachedNearestColor search(palette);
    // Working rows with one spare pixel on each side, so edge shares fall away unchecked.
    size_t rowInts = (size_t(width) + 2) * 3;
    std::vector<int> current(rowInts), below(rowInts);
    auto load = [&](std::vector<int>& row, int32_t y) {
        const uint8_t* src = rgba + size_t(y) * size_t(width) * 4;
        for (int32_t x = 0; x < width; ++x)
            for (int ch = 0; ch < 3; ++ch)
                row[(x + 1) * 3 + ch] = src[x * 4 + ch];
    };
    if (height > 0)
        load(current, 0);
    for (int32_t y = 0; y < height; ++y) {
        if (y + 1 < height)
            load(below, y + 1);
        for (int32_t x = 0; x < width; ++x) {
            int* pixel = &current[(x + 1) * 3];
            const uint32_t index = search.Find(pixel[0], pixel[1], pixel[2]);
            const uint8_t* chosen = &palette[index * 3];
            int error[3] = {pixel[0] - chosen[0], pixel[1] - chosen[1], pixel[2] - chosen[2]};
            indices[(size_t(y) * size_t(width) + size_t(x)) * indexStride] = uint8_t(index);
            if (error[0] == 0 && error[1] == 0 && error[2] == 0)
                continue;
            Spread(pixel + 3, error, 21);
            Spread(&below[x * 3], error, 9);
            Spread(&below[(x + 1) * 3], error, 15);
            Spread(&below[(x + 2) * 3], error, 3);
        }
        std::swap(current, below);
    }
}

void MapToPalette(const uint8_t* rgba, size_t pixelCount, const std::vector<uint8_t>& palette, uint8_t* indices) {
    CachedNearestColor search(palette);
    for (size_t i = 0; i < pixelCount; ++i)
        indices[i] = uint8_t(search.Find(rgba[i * 4], rgba[i * 4 + 1], rgba[i * 4 + 2]));
}

bool ReducePalette(Image& image, uint32_t target, const PaletteReduction& options) {
    if (image.format != kPixelRGBA || (target != kPixelPaletted && target != kPixelPalettedAlpha))
        return false;
    if (image.pixels.size() != image.PixelCount() * 4)
        return false;
    uint32_t maxColors = std::clamp<uint32_t>(options.maxColors, 1, 256);
    std::vector<ColorCount> colors = CountColors(image.pixels.data(), image.PixelCount());
    std::vector<uint8_t> palette;
    if (colors.size() > maxColors)
        palette = WuQuantizer(colors).BuildPalette(maxColors);
    RefinePalette(palette, colors, maxColors, options.refinePasses);
    SortBySum(palette);

    Image result;
    if (!CreateImage(result, image.width, image.height, target))
        return false;
    SetPalette(result, uint32_t(palette.size() / 3), palette.data());
    if (target == kPixelPaletted) {
        DiffuseToPalette(image.pixels.data(), image.width, image.height, palette, result.pixels.data(), 1);
    } else {
        DiffuseToPalette(image.pixels.data(), image.width, image.height, palette, result.pixels.data() + 1, 2);
        for (size_t i = 0; i < image.PixelCount(); ++i)
            result.pixels[i * 2] = image.pixels[i * 4 + 3];
    }
    image = std::move(result);
    return true;
}

}  // namespace tamber::images
