#pragma once
// The distinct colours of an RGBA picture (alpha ignored) with their pixel counts.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tamber::images {

struct ColorCount {
    uint32_t rgb;    // 0x00RRGGBB
    uint32_t count;  // pixels of this colour
};

// Counts the colours of `pixelCount` RGBA pixels; the result is in no particular order.
std::vector<ColorCount> CountColors(const uint8_t* rgba, size_t pixelCount);

// Merges colours that agree in their top `keptBits` (5 or 6) bits per channel into
// one entry at their pixel-weighted mean, with their summed count.
std::vector<ColorCount> MergeColors(const std::vector<ColorCount>& colors, int keptBits);

}  // namespace tamber::images
