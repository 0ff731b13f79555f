#pragma once
// Resizing RGBA pictures with a separable Lanczos filter (three lobes) over
// alpha-premultiplied colour, so that clear pixels do not darken the edges.
// Shrinking widens the filter by the scale, which averages every source pixel.
#include "images/Image.h"

namespace tamber::collections::builder {

// The picture at `width` x `height` (each at least 1).
images::Image ResampleLanczos(const images::Image& rgba, int width, int height);

}  // namespace tamber::collections::builder
