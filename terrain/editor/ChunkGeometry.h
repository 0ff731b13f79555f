#pragma once
// The vertex arrays of one 32 x 32-cell chunk of a mesh for OpenGL: the ground's
// shared grid points, its triangles sorted by how their detail layers are drawn,
// the faded layers, the per-triangle highlight colours and the per-vertex tint.
// Built without a window; the mesh editor uploads them.
#include <array>
#include <cstdint>
#include <vector>

#include "terrain/MediaWave.h"
#include "terrain/Mesh.h"
#include "terrain/editor/DetailGrid.h"

namespace tamber::terrain::painting {

// A ground vertex: colour-map texture coordinates, grid coordinates (a detail
// texture's scale turns them into its coordinates), position.
struct GroundVertex {
    float u, v, gx, gz, x, y, z;
};
// A corner of a detail layer: as GroundVertex, with how much of the layer is drawn
// there: a triangle's first layer is mixed with the plain ground by r (= g = b) and
// drawn opaque (a = 255); later ones are blended over it by a (r = g = b = 255).
struct LayerVertex {
    float u, v, gx, gz;
    uint8_t r, g, b, a;
    float x, y, z;
};
struct TintVertex {  // GL_C4UB_V3F
    uint8_t r, g, b, a;
    float x, y, z;
};
using Rgba = std::array<uint8_t, 4>;

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

// The chunk's grid points twice over (row by row, texture coordinates over the
// chunk's 256 x 256 colour-map texture): the first copy ends each cell's first
// triangle, the second copy each cell's second one, so that with flat shading every
// triangle takes its own colour (see FlatTint) while sharing its corners' work.
std::vector<GroundVertex> BuildGround(const Mesh& mesh, const ChunkCells& cells, const VertexPlacement& place);
// Indices into BuildGround's vertices of triangle t of cell (x, z): its corners as
// TriangleCorners, turned so that the last (the one flat shading colours by) is
// the triangle's own vertex.
std::array<uint16_t, 3> GroundTriangle(const ChunkCells& cells, int x, int z, int t);

struct DetailScale {
    float u = 0, v = 0;   // texture repeats per cell; 0 when the material has no texture
};
struct DetailRange {
    int material = 0, first = 0, count = 0;
};
// The chunk's triangles sorted by how they are drawn, each once in `indices`: first
// those with no textured layer (plain ground), then the detailed ones, whose layers
// are drawn by material, one run each (see LayerVertex).
struct ChunkTriangles {
    std::vector<uint16_t> indices;
    int plainCount = 0, detailedCount = 0;  // in indices
    std::vector<LayerVertex> layers;        // three corners a triangle
    std::vector<DetailRange> layerRuns;     // first and count in layers, one run a material

    int IndexCount() const { return plainCount + detailedCount; }
};
// Without detail grids every triangle is plain.
ChunkTriangles SortTriangles(const Mesh& mesh, const ChunkCells& cells, const VertexPlacement& place,
                             const DetailGrid* vertex, const DetailGrid* triangle,
                             const std::array<DetailScale, 128>& scales);

enum class HighlightMode { kTextureIndex = 0, kReflectivity = 1, kTerrainType = 2 };
HighlightMode NextHighlightMode(HighlightMode mode);
const char* HighlightModeName(HighlightMode mode);

// The tint (alpha 127) of each element for a highlight mode. Texture Index tints
// the elements of the brush mode's grid whose material is highlighted.
struct HighlightInput {
    HighlightMode mode = HighlightMode::kTextureIndex;
    BrushMode brushMode = BrushMode::kVertex;
    const DetailGrid* vertex = nullptr;
    const DetailGrid* triangle = nullptr;
    const std::array<bool, 128>* highlighted = nullptr;
    const std::array<uint8_t, 768>* colours = nullptr;

    // Every mode but Texture Index on vertices gives each triangle one colour.
    bool PerTriangle() const { return mode != HighlightMode::kTextureIndex || brushMode == BrushMode::kTriangle; }
};
// Per-triangle modes: the colour of each of BuildGround's vertices, alpha 127 on the
// triangle it ends when that triangle is tinted, else 0.
std::vector<Rgba> FlatTint(const Mesh& mesh, const ChunkCells& cells, const HighlightInput& input);
// Texture Index on vertices: each highlighted grid point tints the triangles around
// it, fading towards their other corners.
std::vector<TintVertex> VertexTint(const Mesh& mesh, const ChunkCells& cells, const VertexPlacement& place,
                                   const HighlightInput& input);

}  // namespace tamber::terrain::painting
