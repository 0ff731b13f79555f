#pragma once
// The 4-bit terrain types of mesh triangles, with the detail texture proposed for
// each and its colour in the terrain-type highlight mode.
#include <cstdint>

namespace tamber::terrain {

struct TerrainType {
    const char* label;
    uint32_t proposedTexture;  // `dtex` tagid, 0xFFFFFFFF for none
    uint8_t red, green, blue;
};

constexpr int kTerrainTypeCount = 16;

// The entry of a terrain type code (only the low four bits are used).
const TerrainType& GetTerrainType(int code);

}  // namespace tamber::terrain
