#pragma once
// The next smaller level of a mipmapped RGB texture, made on the processor: software
// OpenGL builds mipmaps far more slowly, and textures are uploaded while drawing.
#include <cstdint>
#include <vector>

namespace tamber::terrain::painting {

// An image of max(1, width / 2) x max(1, height / 2) RGB pixels, each the mean of
// the (up to) 2 x 2 pixels it covers in the width x height image `rgb`.
std::vector<uint8_t> HalveRgb(const uint8_t* rgb, int width, int height);

}  // namespace tamber::terrain::painting
