#pragma once
// The nearest palette entry of every histogram colour, kept across a sequence of
// palettes (the passes of a refinement). Between two palettes each colour keeps a
// lower bound on its distance to every entry but its own; the bound shrinks by how
// far the entries moved, and while the colour's own entry is strictly nearer than
// the bound the colour is not searched again. Otherwise the entries around its old
// one are checked, nearest first, out to twice its distance (no farther entry can
// be as near); when the palette grows, the old entries are still the starting
// points. The result equals NearestColorSearch::Find for every colour: ties and
// pure black are left to it.
#include <cstdint>
#include <vector>

#include "images/ColorHistogram.h"

namespace tamber::images {

class NearestEntryTracker {
public:
    explicit NearestEntryTracker(const std::vector<ColorCount>& colors) : colors_(colors) {}

    // Updates and returns the nearest entry of `palette` (red, green, blue triples,
    // 1 to 256 entries) for each colour, in the colours' order.
    const std::vector<uint8_t>& Update(const std::vector<uint8_t>& palette);

    // Colours searched again in the last update (the others kept their entry by the bounds).
    size_t Searched() const { return searched_; }

private:
    void Restart(const std::vector<uint8_t>& palette);
    // The other entries of the palette, nearest to `entry` first (ordered on first use).
    const uint32_t* Neighbours(const std::vector<uint8_t>& palette, uint32_t entry);

    const std::vector<ColorCount>& colors_;
    std::vector<uint8_t> nearest_;
    std::vector<double> lower_;       // distance to the nearest entry other than nearest_
    std::vector<uint8_t> previous_;   // the palette of the last update
    // Per entry, every other entry, nearest first: squared distance << 8 | index.
    std::vector<uint32_t> neighbours_;
    std::vector<uint8_t> sorted_;  // per entry: its row of neighbours_ is ready
    size_t searched_ = 0;
};

}  // namespace tamber::images
