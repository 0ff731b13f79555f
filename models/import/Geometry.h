#pragma once
// A geometry (tag group `geom`) in game units: what the game draws for a model.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tags/FourCC.h"

namespace tamber::models::import {

constexpr uint32_t kGeometryGroup = tags::FourCC("geom");
constexpr uint32_t kModelGroup = tags::FourCC("mode");
constexpr uint32_t kCollectionReferenceGroup = tags::FourCC("core");
constexpr uint16_t kGeometryTagVersion = 1;
constexpr uint16_t kModelTagVersion = 4;
constexpr uint16_t kCollectionReferenceTagVersion = 1;

// Counts are stored in 16 bits; a material's name in 31 characters.
constexpr size_t kMaxGeometryCount = 0xFFFF;
constexpr size_t kMaxMaterialName = 31;
// One bitmap and one sequence per material; a collection indexes fewer than 0xFFFF.
constexpr size_t kMaxCollectionMaterials = 0xFFFE;
// Game units per model unit.
constexpr double kGameUnitsPerModelUnit = 512.0;

struct GeometryMaterial {
    std::string name;
    uint16_t sequence = 0;  // sequence of the material's texture in the collection
};

struct GeometryTriangle {
    std::array<int16_t, 3> normal{};  // unit normal x 16384
    int32_t planeConstant = 0;        // -(normal . first vertex)
    uint16_t transparency = 0;        // (1 - opacity) x 65535
    uint16_t material = 0;
    std::array<uint16_t, 3> vertex{};
    std::array<uint16_t, 3> u{};  // texture coordinates x 65535
    std::array<uint16_t, 3> v{};
};

struct Geometry {
    uint32_t collectionReference = 0;  // tagid of the `core` tag naming the textures
    std::vector<GeometryMaterial> materials;
    std::vector<std::array<int16_t, 3>> vertices;
    std::vector<GeometryTriangle> triangles;
    std::array<int16_t, 3> boundsMin{};
    std::array<int16_t, 3> boundsMax{};
};

}  // namespace tamber::models::import
