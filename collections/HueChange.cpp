#include "collections/HueChange.h"

#include <algorithm>

namespace tamber::collections {

void HueChange::ComputeAffected(const uint8_t* palette) {
    affected.fill(0);
    for (int i = 0; i < 256; ++i) {
        // Components as 16-bit fractions (8-bit value in the high byte).
        const double r = palette[i * 3] * 256 / 65535.0;
        const double g = palette[i * 3 + 1] * 256 / 65535.0;
        const double b = palette[i * 3 + 2] * 256 / 65535.0;
        const double max = std::max({r, g, b}), min = std::min({r, g, b});
        const double saturation = max > 0 ? (max - min) / max : 0;
        double hue = 0;
        if (max > min) {
            const double delta = max - min;
            if (max == r)
                hue = (g - b) / delta;
            else if (max == g)
                hue = 2 + (b - r) / delta;
            else
                hue = 4 + (r - g) / delta;
            hue /= 6;
            if (hue < 0)
                hue += 1;
        }
        const uint32_t saturation16 = uint16_t(uint32_t(saturation * 65535));
        const uint32_t hue16 = uint32_t(hue * 65536);
        const bool inRange = startHue <= endHue ? hue16 >= startHue && hue16 < endHue
                                                : hue16 >= startHue || hue16 < endHue;
        if (saturation16 > minSaturation && inRange)
            affected[i / 8] |= uint8_t(1 << (i % 8));
    }
}

}  // namespace tamber::collections
