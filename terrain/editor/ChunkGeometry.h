#pragma once
// The vertex arrays of one 32 x 32-cell chunk of a mesh, laid out for OpenGL's
// interleaved arrays: the colour-mapped ground, the detail layers by material and
// the highlight tint. Built without a window; the mesh editor uploads them.
#include <array>
#include <cstdint>
#include <vector>

#include "terrain/MediaWave.h"
#include "terrain/Mesh.h"
#include "terrain/editor/DetailGrid.h"

namespace tamber::terrain::painting {

struct GroundVertex {  // GL_T2F_V3F
    float u, v, x, y, z;
};
struct DetailVertex {  // GL_T2F_C4UB_V3F
    float u, v;
    uint8_t r, g, b, a;
    float x, y, z;
};
struct TintVertex {  // GL_C4UB_V3F
    uint8_t r, g, b, a;
    float x, y, z;
};

// The cells of a chunk: x0 <= x < x1, z0 <= z < z1 (the mesh's last row and column
// of points close the cells before them).
struct ChunkCells {
    int x0 = 0, z0 = 0, x1 = 0, z1 = 0;

    static ChunkCells Of(const Mesh& mesh, int blockX, int blockZ);
    int Count() const { return (x1 - x0) * (z1 - z0); }
};

// Where the vertices stand: the surface, moved by the media wave when animating.
struct VertexPlacement {
    const MediaWave* wave = nullptr;  // none: still
    uint32_t ticks = 0;

    // Map x, height units, map z of grid point (x, z).
    std::array<float, 3> At(const Mesh& mesh, int x, int z) const;
    bool Animates(const Mesh& mesh, int x, int z) const;
};

// The chunk's grid points (row by row, texture coordinates over the chunk's
// 256 x 256 colour-map texture) and two triangles a cell indexing them, corners as
// TriangleCorners. Shared points keep the vertex work of software rendering low.
struct GroundMesh {
    std::vector<GroundVertex> vertices;
    std::vector<uint16_t> indices;
};
GroundMesh BuildGround(const Mesh& mesh, const ChunkCells& cells, const VertexPlacement& place);

struct DetailScale {
    float u = 0, v = 0;   // texture repeats per cell; 0 when the material has no texture
};
struct DetailBatch {
    int material = 0;
    std::vector<DetailVertex> vertices;
};
// The detail layers of the chunk's triangles grouped by material; materials
// without a texture are left out.
std::vector<DetailBatch> BuildDetail(const Mesh& mesh, const ChunkCells& cells, const VertexPlacement& place,
                                     const DetailGrid& vertex, const DetailGrid& triangle,
                                     const std::array<DetailScale, 128>& scales);

enum class HighlightMode { kTextureIndex = 0, kReflectivity = 1, kTerrainType = 2 };
HighlightMode NextHighlightMode(HighlightMode mode);
const char* HighlightModeName(HighlightMode mode);

// The tint of each element (alpha 127) for a highlight mode; empty when nothing is
// tinted. Texture Index tints the elements of the brush mode's grid whose material
// is highlighted (a vertex's tint fades across the triangles around it).
struct HighlightInput {
    HighlightMode mode = HighlightMode::kTextureIndex;
    BrushMode brushMode = BrushMode::kVertex;
    const DetailGrid* vertex = nullptr;
    const DetailGrid* triangle = nullptr;
    const std::array<bool, 128>* highlighted = nullptr;
    const std::array<uint8_t, 768>* colours = nullptr;
};
std::vector<TintVertex> BuildHighlight(const Mesh& mesh, const ChunkCells& cells, const VertexPlacement& place,
                                       const HighlightInput& input);

}  // namespace tamber::terrain::painting
