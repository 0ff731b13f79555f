#include "terrain/editor/MaterialAttributes.h"

namespace tamber::terrain::painting {

MaterialAttributes ReadAttributes(const DetailMaterial& entry, const HighlightTable& colours, int index) {
    const size_t at = size_t(index & 127) * 3;
    return {entry.tagid, {colours[at], colours[at + 1], colours[at + 2]}, entry.description};
}

void WriteAttributes(const MaterialAttributes& attributes, DetailMaterial& entry, HighlightTable& colours, int index) {
    entry.tagid = attributes.tagid;
    entry.description = attributes.description.substr(0, kMaxDescriptionLength);
    entry.red = attributes.colour[0], entry.green = attributes.colour[1], entry.blue = attributes.colour[2];
    const size_t at = size_t(index & 127) * 3;
    colours[at] = attributes.colour[0], colours[at + 1] = attributes.colour[1], colours[at + 2] = attributes.colour[2];
}

TerrainRows TerrainProposals(const std::function<bool(uint32_t tagid)>& exists) {
    TerrainRows rows;
    for (int i = 0; i < kTerrainTypeCount; ++i) {
        const TerrainType& type = GetTerrainType(i);
        const bool found = type.proposedTexture != kNoDetailTexture && exists(type.proposedTexture);
        rows[size_t(i)] = {found ? type.proposedTexture : kNoDetailTexture, {type.red, type.green, type.blue}, type.label};
    }
    return rows;
}

}  // namespace tamber::terrain::painting
