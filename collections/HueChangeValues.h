#pragma once
// The values of a hue change as the editor shows and takes them.
#include <cstdint>

#include "collections/HueChange.h"

namespace tamber::collections {

// A new hue change: "New Hue Change", range 120 to 240 degrees, median 180.
HueChange NewHueChange();

// Hue in whole degrees (a full turn is 65536), and back.
int HueDegrees(uint16_t hue);
uint16_t HueFromDegrees(int degrees);

// Minimum saturation in whole percent (truncated), and back: p < 100 stores
// p x 65535 / 100 + 1, 100 or more stores 65535, less than 0 stores 0.
int SaturationPercent(uint16_t saturation);
uint16_t SaturationFromPercent(int percent);

}  // namespace tamber::collections
