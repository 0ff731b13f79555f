#pragma once
// A named rule by which the game recolours a hue range of the palette.
#include <array>
#include <cstdint>
#include <string>

namespace tamber::collections {

struct HueChange {
    std::string name;                     // at most 63 characters
    uint16_t startHue = 0;                // a full turn is 65536
    uint16_t endHue = 0;
    std::array<uint8_t, 32> affected{};   // one bit per palette entry, lowest bit first
    uint16_t minSaturation = 0;           // 65535 = 100 %
    uint16_t medianHue = 0;
    uint16_t use = 0;                     // 0 none, 1 primary, 2 secondary colour
    std::array<uint16_t, 3> kept{};       // words at 106..111
    uint16_t red = 0, green = 0, blue = 0;  // 8-bit value in the high byte
    uint16_t reversed = 0;                // bit 0: reversed hue change
    std::array<uint8_t, 8> solid{};       // byte 0: solid-colour flags; the rest kept

    bool operator==(const HueChange&) const = default;

    // Recomputes `affected` from a 768-byte red, green, blue palette.
    void ComputeAffected(const uint8_t* palette);
};

}  // namespace tamber::collections
