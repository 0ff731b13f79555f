#pragma once
// Nearest palette colour by squared RGB distance. The entries are kept in order
// of their sum red + green + blue with a table from every possible sum (0 to 765)
// to a starting place; the search walks outward from there by closeness of sums
// and stops once the squared sum difference exceeds three times the best squared
// distance, since no further entry can then be nearer.
#include <array>
#include <cstdint>
#include <vector>

namespace tamber::images {

class NearestColorSearch {
public:
    // `palette` holds `count` (1 to 256) red, green, blue entries.
    NearestColorSearch(const uint8_t* palette, uint32_t count);

    // The palette index nearest to the colour. A pure black colour takes the
    // entry the table gives for sum 0 (the entry of smallest sum).
    uint32_t Find(int r, int g, int b) const;

private:
    struct Entry {
        int r, g, b, sum;
        uint32_t index;
    };
    std::vector<Entry> sorted_;
    std::array<int, 766> start_{};
};

}  // namespace tamber::images
