#pragma once
// Reduction of an RGBA picture to at most 256 palette colours: Wu's quantiser,
// a histogram-weighted refinement of its palette, then error diffusion.
#include <cstdint>
#include <vector>

#include "images/ColorHistogram.h"
#include "images/Image.h"

namespace tamber::images {

struct PaletteReduction {
    uint32_t maxColors = 256;
    // Passes of PaletteRefiner over the distinct colours after Wu's quantiser.
    int refinePasses = 24;
};

// Replaces an RGBA image by a paletted one (6400) or one that keeps each pixel's
// alpha beside its index (6666). False for other source or target formats.
bool ReducePalette(Image& image, uint32_t target, const PaletteReduction& options = {});

// Improves the palette against the histogram (see PaletteRefiner). When there are
// no more distinct colours than `maxColors`, the palette becomes those colours.
void RefinePalette(std::vector<uint8_t>& palette, const std::vector<ColorCount>& colors, uint32_t maxColors,
                   int passes);

// Maps RGBA pixels to palette indices row by row with error diffusion: of each
// pixel's error, 21/64 goes right, 9/64 lower left, 15/64 below and 3/64 lower
// right (shares truncated toward zero, channels held to 0..255).
void DiffuseToPalette(const uint8_t* rgba, int32_t width, int32_t height, const std::vector<uint8_t>& palette,
                      uint8_t* indices, size_t indexStride);

// Maps RGBA pixels to the index of their nearest palette entry, without diffusion.
void MapToPalette(const uint8_t* rgba, size_t pixelCount, const std::vector<uint8_t>& palette, uint8_t* indices);

}  // namespace tamber::images
