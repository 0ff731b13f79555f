#pragma once
// The cells of the game's ground grid (512 game units each) a geometry stands on.
#include <cstdint>
#include <vector>

#include "models/import/Geometry.h"

namespace tamber::models::import {

constexpr uint16_t kFootprintCovered = 2;

struct FootprintCell {
    int16_t x = 0;
    int16_t y = 0;
    uint16_t value = 0;  // kFootprintCovered or 0
};

// Every whole cell (x, y) from round(x min / 512 - 0.5) to round(x max / 512 + 0.5)
// in x, and likewise in y, x varying slowest. A cell is covered when some
// triangle, seen from above, overlaps the square of half-size 0.49 around
// the cell's centre (x, y).
std::vector<FootprintCell> ComputeFootprint(const Geometry& geometry);

}  // namespace tamber::models::import
