#pragma once
// Draws a mesh from vertex buffers, one set per 32 x 32-cell chunk. A chunk's plain
// ground (no detail) is one pass: the colour map and the per-triangle highlight
// colour, combined in texture units. Detail is drawn per material, one run for all
// the chunk's triangles with that layer: each triangle's first layer opaque, mixed
// with the ground in the texture units, later layers blended over it;
// the highlight tint follows in one pass, as does the fading per-vertex tint.
// Chunks outside the view are skipped; a chunk's sorting and tint are rebuilt at
// the next draw after they are marked. Detail layers are drawn only on chunks near
// the camera: farther away their mipmapped texels blend to about the ground's own
// colour.
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "collections/Collection.h"
#include "terrain/editor/ChunkGeometry.h"
#include "terrain/editor/GroundPick.h"

namespace tamber::terrain::editor {
using namespace tamber::terrain::painting;

struct MeshDrawSettings {
    const DetailGrid* vertex = nullptr;    // none: no detail map
    const DetailGrid* triangle = nullptr;
    bool details = false;
    bool highlight = false;
    bool wireframe = false;
    HighlightInput highlightInput;
    VertexPlacement placement;             // with a wave while animating
    // The detail texture of a material, uploaded when first asked for; 0 for none.
    std::function<uint32_t(int material)> texture;
    std::array<DetailScale, 128> scales{};  // zero for materials without a texture
    Vec3 eye{};                            // the camera: map x, height in cells, map z
};

struct MeshDrawStats {
    int invisible = 0, partial = 0, full = 0;
    int cells = 0;
    int draws = 0;  // glDrawArrays and glDrawElements calls
};

class MeshRenderer {
public:
    MeshRenderer(const Mesh& mesh, const collections::Collection& colourMap);
    ~MeshRenderer();
    MeshRenderer(const MeshRenderer&) = delete;
    MeshRenderer& operator=(const MeshRenderer&) = delete;

    // The chunks holding any of these cells (grid points x0..x1, z0..z1 inclusive
    // and the cells around them) rebuild their detail and tint at the next draw.
    void MarkCells(int x0, int z0, int x1, int z1);
    void MarkAll();
    // The ground moves with the media wave: every animated chunk rebuilds its ground.
    void MarkAnimated();

    // Draws with the projection and modelview already set (map coordinates, height
    // units); classifies every chunk first. Needs the current context.
    MeshDrawStats Draw(const MeshDrawSettings& settings);

    int ChunkCount() const { return int(chunks_.size()); }
    // Chunks farther than this from the eye (in cells) are drawn without detail layers.
    static constexpr double kDetailRange = 80;

private:
    struct Chunk {
        ChunkCells cells;
        int block = 0;
        Vec3 low{}, high{};
        uint32_t texture = 0;
        uint32_t ground = 0, indices = 0, layers = 0, flatTint = 0, vertexTint = 0;  // buffer names
        ChunkTriangles sorted;  // ranges only: the arrays live in the buffers
        int vertexTintCount = 0;
        bool groundDirty = true, sortDirty = true, tintDirty = true, animated = false;
        Visibility visibility = Visibility::kInvisible;
    };

    void Prepare(Chunk& chunk, const MeshDrawSettings& settings);
    void DrawChunk(const Chunk& chunk, const MeshDrawSettings& settings, bool details);
    void DrawGround(const Chunk& chunk, bool details, bool tint);
    void DrawLayers(const Chunk& chunk, const MeshDrawSettings& settings);
    void Elements(int first, int count);  // of the bound indices
    void Arrays(int first, int count);
    void UseDetailTexture(uint32_t texture, const DetailScale& scale);
    // Ground positions (with texture coordinates, with the flat tint), its indices.
    void BindGround(const Chunk& chunk, bool textured, bool tinted);
    // From the eye (map x, height in cells, map z) to the chunk's box, in cells.
    static double DistanceToEye(const Chunk& chunk, const Vec3& eye);

    const Mesh& mesh_;
    const collections::Collection& colourMap_;
    std::vector<uint8_t> shading_;
    std::vector<Chunk> chunks_;
    uint32_t white_ = 0;  // a 1 x 1 white texture for the units that only combine
    DetailScale unitScale_;  // the scale in unit 1's texture matrix
    int draws_ = 0;          // in the current Draw
};

}  // namespace tamber::terrain::editor
