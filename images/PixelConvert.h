#pragma once
// Conversion between the five pixel formats.
#include <cstdint>

#include "images/Image.h"
#include "images/PaletteReducer.h"

namespace tamber::images {

// Converts in place. A non-paletted target drops the palette; a true-colour image
// converted to 6400 or 6666 is reduced to at most 256 colours. A grey image
// becomes paletted exactly, with the grey ramp. False for raw or unknown codes.
bool Convert(Image& image, uint32_t target);
bool Convert(Image& image, uint32_t target, const PaletteReduction& reduction);

// Grey level of an RGB colour (ITU-R BT.601 weights, rounded).
inline uint8_t Luminance(int r, int g, int b) { return uint8_t((r * 299 + g * 587 + b * 114 + 500) / 1000); }

}  // namespace tamber::images
