#pragma once
// Flood fill of a detail grid: the 4-connected region holding the seed's value.
#include <cstdint>
#include <optional>
#include <vector>

#include "terrain/editor/DetailGrid.h"

namespace tamber::terrain::painting {

struct FillSpan {
    size_t offset = 0;   // index of the first byte in the grid
    uint32_t length = 0;
};

// What a fill changed: enough to redo it, undo it and redraw it.
struct FillRecord {
    uint8_t oldValue = 0, newValue = 0;
    std::vector<FillSpan> spans;
    GridRect bounds;
};

// Fills from (x, y) with `value`; nothing (and no record) when the seed is outside
// the grid or already holds the value.
std::optional<FillRecord> FloodFill(DetailGrid& grid, int x, int y, uint8_t value);

// Sets every span of the record to `value`.
void ApplyFill(DetailGrid& grid, const FillRecord& fill, uint8_t value);

}  // namespace tamber::terrain::painting
