#pragma once
// A terrain mesh (tag group `mesh`, version 11): a height field of square cells
// with per-cell flags, and the tagids of its colour-map collection and media.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "base/Result.h"

namespace tamber::terrain {

constexpr uint16_t kMeshTagVersion = 11;
constexpr int kMeshBlockCells = 32;
constexpr int kHeightUnitsPerCell = 512;

// Cell flags.
enum : uint16_t {
    kCellSecondTypeMask = 0x000F,
    kCellFirstTypeMask = 0x00F0,
    kCellCleared9 = 0x0200,
    kCellAnimatedMedia = 0x0400,
    kCellFirstReflective = 0x0800,
    kCellSecondReflective = 0x1000,
    kCellCleared14 = 0x4000,
};

struct MeshCell {
    int16_t height = 0;   // ground height, 512 units per cell side
    uint16_t word1 = 0;   // not interpreted
    uint16_t flags = 0;
    int16_t media = 0;    // media surface height
};

struct MeshShading {
    int16_t below = 0, above = 0;         // strengths below and above the pivot
    std::array<uint16_t, 3> target{};     // red, green, blue, full scale 65535
    uint32_t pivot = 0;                   // 16.16 fraction of full shade
};

// A triangle of the mesh: the cell and 0 for its first triangle, 1 for its second.
struct MeshTriangle {
    int x = 0, z = 0, t = 0;
};

class Mesh {
public:
    uint32_t colourMap = 0;               // tagid of the `.256` colour map (and of the `dmap`)
    uint32_t media = 0;                   // tagid of the `medi` tag
    int blocksWide = 0, blocksHigh = 0;
    int width = 0, height = 0;            // grid points: 32 per block
    MeshShading shading;
    std::array<uint8_t, 1024> header{};   // memory form, runtime fields cleared; kept, not interpreted
    std::vector<MeshCell> cells;          // width x height, row-major

    const MeshCell& Cell(int x, int z) const { return cells[size_t(z) * size_t(width) + size_t(x)]; }
    // Word 4 when either triangle is reflective, else word 0; 0 outside the mesh.
    int SurfaceHeight(int x, int z) const;
    // Interpolated surface height inside the triangle that holds the point.
    double HeightAt(double x, double z) const;
};

// Reads a mesh payload of the given tag version; fails unless it is version 11
// with a header and cells that fit the payload. Applies the cell flag rules.
base::Result<Mesh> LoadMesh(std::span<const uint8_t> payload, uint16_t version);

// The payload LoadMesh reads: `header` with the mesh's fields set in it, the
// data area right after the header and the cells at its start. For tools and tests
// that make meshes; the editors never write meshes.
std::vector<uint8_t> SaveMesh(const Mesh& mesh);

// The triangle of cell (floor x, floor z) that holds the point.
MeshTriangle TriangleAt(double x, double z);
// The centre of a triangle, in grid coordinates.
std::array<double, 2> TriangleCentre(const MeshTriangle& triangle);

}  // namespace tamber::terrain
