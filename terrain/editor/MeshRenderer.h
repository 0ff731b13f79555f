#pragma once
// Draws a mesh from vertex buffers, one batch per 32 x 32-cell chunk: the ground
// with the chunk's colour-map texture, the detail layers by material, the
// highlight tint and the wireframe. Chunks outside the view are skipped; a chunk's
// detail and tint buffers are rebuilt at the next draw after they are marked.
// Detail layers are drawn only on chunks near the camera: farther away their
// mipmapped texels blend to about the ground's own colour, and they would cost
// several full passes over most of the view.
#include <array>
#include <cstdint>
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
    std::array<uint32_t, 128> textures{};  // detail texture names, 0 for none
    std::array<DetailScale, 128> scales{};
    Vec3 eye{};                            // the camera: map x, height in cells, map z
};

struct MeshDrawStats {
    int invisible = 0, partial = 0, full = 0;
    int cells = 0;
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
        uint32_t ground = 0, groundIndices = 0, detail = 0, tint = 0;  // buffer names
        int groundCount = 0, tintCount = 0;
        std::vector<std::array<int, 3>> batches;    // material, first vertex, count
        bool groundDirty = true, detailDirty = true, animated = false;
        Visibility visibility = Visibility::kInvisible;
    };

    void Prepare(Chunk& chunk, const MeshDrawSettings& settings);
    void DrawChunk(const Chunk& chunk, const MeshDrawSettings& settings, bool details);
    static bool NearEye(const Chunk& chunk, const Vec3& eye);

    const Mesh& mesh_;
    const collections::Collection& colourMap_;
    std::vector<uint8_t> shading_;
    std::vector<Chunk> chunks_;
};

}  // namespace tamber::terrain::editor
