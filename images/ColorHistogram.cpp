#include "images/ColorHistogram.h"

#include <algorithm>

namespace tamber::images {

namespace {

// Open addressing over a power-of-two table; the slot value 0xFFFFFFFF marks an
// empty slot (no 24-bit colour has that value).
constexpr uint32_t kEmpty = 0xFFFFFFFFu;

uint32_t Hash(uint32_t rgb) { return (rgb * 0x9E3779B1u) ^ (rgb >> 15); }

}  // namespace

std::vector<ColorCount> CountColors(const uint8_t* rgba, size_t pixelCount) {
    // There are at most 2^24 colours; the table never needs to exceed twice that.
    size_t capacity = 1024;
    size_t limit = std::min<size_t>(pixelCount, size_t(1) << 24) * 2;
    while (capacity < limit)
        capacity *= 2;
    std::vector<ColorCount> table(capacity, ColorCount{kEmpty, 0});
    size_t mask = capacity - 1;
    uint32_t lastRgb = kEmpty;
    size_t lastSlot = 0;
    for (size_t i = 0; i < pixelCount; ++i) {
        const uint8_t* p = rgba + i * 4;
        uint32_t rgb = uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
        // Neighbouring pixels often share a colour; skip the lookup then.
        if (rgb != lastRgb) {
            size_t slot = Hash(rgb) & mask;
            while (table[slot].rgb != rgb && table[slot].rgb != kEmpty)
                slot = (slot + 1) & mask;
            table[slot].rgb = rgb;
            lastRgb = rgb;
            lastSlot = slot;
        }
        ++table[lastSlot].count;
    }
    std::vector<ColorCount> colors;
    for (const ColorCount& entry : table) {
        if (entry.rgb != kEmpty)
            colors.push_back(entry);
    }
    return colors;
}

std::vector<ColorCount> MergeColors(const std::vector<ColorCount>& colors, int keptBits) {
    keptBits = std::clamp(keptBits, 5, 6);
    int drop = 8 - keptBits;
    struct Cell {
        uint64_t count = 0, r = 0, g = 0, b = 0;
    };
    std::vector<Cell> cells(size_t(1) << (3 * keptBits));
    for (const ColorCount& c : colors) {
        uint32_t r = c.rgb >> 16, g = c.rgb >> 8 & 255, b = c.rgb & 255;
        Cell& cell = cells[(r >> drop) << (2 * keptBits) | (g >> drop) << keptBits | (b >> drop)];
        cell.count += c.count;
        cell.r += uint64_t(c.count) * r;
        cell.g += uint64_t(c.count) * g;
        cell.b += uint64_t(c.count) * b;
    }
    std::vector<ColorCount> merged;
    for (const Cell& cell : cells) {
        if (cell.count == 0)
            continue;
        auto mean = [&](uint64_t sum) { return uint32_t((sum + cell.count / 2) / cell.count); };
        uint32_t count = uint32_t(std::min<uint64_t>(cell.count, UINT32_MAX));
        merged.push_back({mean(cell.r) << 16 | mean(cell.g) << 8 | mean(cell.b), count});
    }
    return merged;
}

}  // namespace tamber::images
