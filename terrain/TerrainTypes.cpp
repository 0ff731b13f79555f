#include "terrain/TerrainTypes.h"

namespace tamber::terrain {

namespace {

constexpr uint32_t Code(const char (&text)[5]) {
    return uint32_t(uint8_t(text[0])) << 24 | uint32_t(uint8_t(text[1])) << 16 | uint32_t(uint8_t(text[2])) << 8 |
           uint8_t(text[3]);
}
constexpr uint32_t kNone = 0xFFFFFFFF;

constexpr TerrainType kTypes[kTerrainTypeCount] = {
    {"dwarf depth media", Code("wate"), 32, 32, 255},
    {"human depth media", Code("wate"), 32, 32, 186},
    {"giant depth media", Code("wate"), 32, 32, 144},
    {"deeper than giant depth media", Code("wate"), 32, 32, 102},
    {"sloped", Code("ston"), 192, 128, 128},
    {"steep", Code("ston"), 255, 48, 48},
    {"grass", Code("gras"), 255, 255, 255},
    {"desert", Code("sand"), 255, 255, 128},
    {"rocky", Code("dirt"), 144, 144, 144},
    {"marsh", Code("gras"), 192, 160, 128},
    {"snow", Code("snow"), 207, 207, 207},
    {"forest", Code("gras"), 144, 184, 144},
    {"vantle special", kNone, 255, 255, 255},
    {"unused", kNone, 255, 255, 255},
    {"walking impassible", kNone, 32, 144, 32},
    {"flying impassible", kNone, 32, 255, 32},
};

}  // namespace

const TerrainType& GetTerrainType(int code) { return kTypes[code & 15]; }

}  // namespace tamber::terrain
