#pragma once
// A detail map (tag group `dmap`): per grid point of a mesh one vertex detail byte
// and two triangle detail bytes, each an index into 128 detail materials.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/Result.h"

namespace tamber::terrain {

constexpr int kDetailMaterialCount = 128;
constexpr uint32_t kNoDetailTexture = 0xFFFFFFFF;
constexpr uint16_t kDetailMapTagVersion = 2;

struct DetailMaterial {
    uint32_t tagid = kNoDetailTexture;  // the detail texture (`dtex`)
    uint8_t scaleMinusOne = 0;          // brush scale 1 to 256 pixels per cell
    uint8_t red = 0, green = 0, blue = 0;  // highlight colour
    std::string description;            // at most 31 characters

    int Scale() const { return scaleMinusOne + 1; }
};

struct DetailMap {
    uint32_t width = 0, height = 0;
    std::vector<uint8_t> vertex;        // width x height, row-major
    std::vector<uint8_t> triangle;      // per grid point: first, then second triangle
    std::array<DetailMaterial, kDetailMaterialCount> materials;
};

// A detail map of the given size with zeroed details and no materials set.
DetailMap CreateDetailMap(uint32_t width, uint32_t height);

// Reads a version 1 or 2 payload; fails for another version or a damaged payload.
// Detail bytes outside the material range read as 0 (no detail).
base::Result<DetailMap> LoadDetailMap(std::span<const uint8_t> payload, uint16_t version);

// The version 2 payload; fails when the map's arrays do not match its size. The
// tag's version becomes kDetailMapTagVersion.
base::Result<std::vector<uint8_t>> SaveDetailMap(const DetailMap& map);

}  // namespace tamber::terrain
