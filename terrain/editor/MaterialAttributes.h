#pragma once
// What a user sets on a detail material: its texture, its highlight colour and its
// description. The brush scale is set with keys and kept apart.
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "terrain/DetailMap.h"
#include "terrain/TerrainTypes.h"

namespace tamber::terrain::painting {

constexpr size_t kMaxDescriptionLength = 31;

struct MaterialAttributes {
    uint32_t tagid = kNoDetailTexture;
    std::array<uint8_t, 3> colour{};
    std::string description;

    // The colour as 0xRRGGBBAA, opaque.
    uint32_t Rgba() const { return uint32_t(colour[0]) << 24 | uint32_t(colour[1]) << 16 | uint32_t(colour[2]) << 8 | 0xFF; }
    bool operator==(const MaterialAttributes&) const = default;
};

using HighlightTable = std::array<uint8_t, 768>;
using TerrainRows = std::array<MaterialAttributes, kTerrainTypeCount>;

// Material `index`'s attributes: its entry's texture and description, its colour
// from the highlight table.
MaterialAttributes ReadAttributes(const DetailMaterial& entry, const HighlightTable& colours, int index);
// Stores them back; a longer description is cut to what the detail map holds.
void WriteAttributes(const MaterialAttributes& attributes, DetailMaterial& entry, HighlightTable& colours, int index);

// Per terrain type: its proposed texture when `exists` finds that tag (else none),
// its colour and its label as the description.
TerrainRows TerrainProposals(const std::function<bool(uint32_t tagid)>& exists);

}  // namespace tamber::terrain::painting
