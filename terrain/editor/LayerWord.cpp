#include "terrain/editor/LayerWord.h"

#include <algorithm>

namespace tamber::terrain::painting {

std::array<std::array<int, 2>, 3> TriangleCorners(int x, int z, int t) {
    const bool odd = ((x ^ z) & 1) != 0;
    if (t == 0)
        return odd ? std::array<std::array<int, 2>, 3>{{{x, z}, {x, z + 1}, {x + 1, z}}}
                   : std::array<std::array<int, 2>, 3>{{{x, z}, {x, z + 1}, {x + 1, z + 1}}};
    return odd ? std::array<std::array<int, 2>, 3>{{{x + 1, z}, {x, z + 1}, {x + 1, z + 1}}}
               : std::array<std::array<int, 2>, 3>{{{x, z}, {x + 1, z + 1}, {x + 1, z}}};
}

uint32_t MakeLayerWord(uint8_t t, uint8_t a, uint8_t b, uint8_t c) {
    if (t != 0)
        return (uint32_t(t & 0x7F) << 9) | kLayerWhiteBase | 7;
    if (a == b && b == c)
        return a == 0 ? kLayerWhiteBase : (uint32_t(a & 0x7F) << 9) | 7;
    std::array<uint8_t, 3> values{a, b, c};
    std::sort(values.begin(), values.end());
    const uint8_t* end = std::unique(values.begin(), values.end());
    uint32_t word = kLayerWhiteBase;
    const uint8_t corners[3] = {a, b, c};
    for (int k = 0; values.begin() + k != end; ++k) {
        word |= uint32_t(values[size_t(k)] & 0x7F) << (9 + 7 * k);
        for (int corner = 0; corner < 3; ++corner)
            if (corners[corner] == values[size_t(k)])
                word |= 1u << (3 * k + corner);
    }
    return word;
}

int UnpackLayers(uint32_t word, std::array<DetailLayer, 3>& layers) {
    int count = 0;
    for (int k = 0; k < 3; ++k) {
        const uint32_t mask = (word >> (3 * k)) & 7;
        if (mask == 0)
            continue;
        layers[size_t(count++)] = {int((word >> (9 + 7 * k)) & 0x7F), mask};
    }
    return count;
}

}  // namespace tamber::terrain::painting
