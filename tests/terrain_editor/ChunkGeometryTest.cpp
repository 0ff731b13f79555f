// How a chunk's triangles are sorted for drawing (plain ground, detail layers by
// material, first layers opaque) and the per-triangle tint colours.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "terrain/TerrainTypes.h"
#include "terrain/editor/ChunkGeometry.h"
#include "terrain/editor/LayerWord.h"

using namespace tamber::terrain;
using namespace tamber::terrain::painting;

namespace {

Mesh SmallMesh() {
    Mesh mesh;
    mesh.width = mesh.height = 8;
    mesh.blocksWide = mesh.blocksHigh = 1;
    for (int i = 0; i < 64; ++i) {
        MeshCell cell;
        cell.flags = uint16_t((i % 5) << 4 | (i % 7));
        mesh.cells.push_back(cell);
    }
    return mesh;
}

}  // namespace

TEST(ChunkGeometry, TrianglesSortByHowTheirLayersAreDrawn) {
    const Mesh mesh = SmallMesh();
    const ChunkCells cells = ChunkCells::Of(mesh, 0, 0);
    DetailGrid vertex = DetailGrid::Make(BrushMode::kVertex, 8, 8), triangle = DetailGrid::Make(BrushMode::kTriangle, 8, 8);
    std::fill(vertex.bytes.begin(), vertex.bytes.end(), 3);
    vertex.At(2, 2) = 4;
    triangle.At(5 * 2 + 1, 5) = 6;
    std::array<DetailScale, 128> scales{};
    for (int m : {3, 4, 6}) scales[size_t(m)] = {0.5f, 0.25f};
    const VertexPlacement still;

    const ChunkTriangles sorted = SortTriangles(mesh, cells, still, &vertex, &triangle, scales);
    ASSERT_EQ(sorted.IndexCount(), cells.Count() * 6);
    EXPECT_EQ(sorted.plainCount, 0);
    EXPECT_EQ(sorted.detailedCount, cells.Count() * 6);
    // One run a material, in material order. The triangles around grid point (2, 2)
    // fade from material 3 (first: mixed with the ground, opaque) to 4 (blended
    // over it); the others are wholly covered by one layer.
    ASSERT_EQ(sorted.layerRuns.size(), 3u);
    std::map<int, int> coveredCorners, fadedCorners;
    int next = 0;
    for (const DetailRange& run : sorted.layerRuns) {
        EXPECT_EQ(run.first, next);
        next += run.count;
        for (int i = run.first; i < run.first + run.count; i += 3) {
            const LayerVertex* v = &sorted.layers[size_t(i)];
            const bool faded = std::any_of(v, v + 3, [](const LayerVertex& c) { return c.gx == 2 && c.gz == 2; });
            (faded ? fadedCorners : coveredCorners)[run.material] += 3;
            for (int k = 0; k < 3; ++k) {
                const uint8_t held = !faded || (v[k].gx == 2 && v[k].gz == 2) == (run.material == 4) ? 255 : 0;
                const bool first = run.material != 4;
                EXPECT_EQ(v[k].r, first ? held : 255);
                EXPECT_EQ(v[k].g, v[k].r);
                EXPECT_EQ(v[k].a, first ? 255 : held);
            }
        }
    }
    EXPECT_EQ(next, int(sorted.layers.size()));
    const int touching = 8;  // all four cells' diagonals meet there
    EXPECT_EQ(coveredCorners, (std::map<int, int>{{3, (cells.Count() * 2 - touching - 1) * 3}, {6, 3}}));
    EXPECT_EQ(fadedCorners, (std::map<int, int>{{3, touching * 3}, {4, touching * 3}}));

    // Layers without a texture are left out: with only material 3 textured, the faded
    // triangles keep its layer alone; with none, every triangle is plain ground.
    scales[4] = scales[6] = {};
    const ChunkTriangles partly = SortTriangles(mesh, cells, still, &vertex, &triangle, scales);
    EXPECT_EQ(partly.plainCount, 3);
    ASSERT_EQ(partly.layerRuns.size(), 1u);
    EXPECT_EQ(partly.layerRuns[0].material, 3);
    EXPECT_EQ(partly.layerRuns[0].count, (cells.Count() * 2 - 1) * 3);
    EXPECT_TRUE(std::all_of(partly.layers.begin(), partly.layers.end(), [](const LayerVertex& v) { return v.a == 255; }));
    scales[3] = {};
    const ChunkTriangles none = SortTriangles(mesh, cells, still, &vertex, &triangle, scales);
    EXPECT_EQ(none.plainCount, none.IndexCount());
    EXPECT_TRUE(none.layers.empty());
}

TEST(ChunkGeometry, FlatTintColoursEachTrianglesOwnVertex) {
    const Mesh mesh = SmallMesh();
    const ChunkCells cells = ChunkCells::Of(mesh, 0, 0);
    DetailGrid vertex = DetailGrid::Make(BrushMode::kVertex, 8, 8), triangle = DetailGrid::Make(BrushMode::kTriangle, 8, 8);
    triangle.At(3 * 2, 4) = 6;
    triangle.At(1 * 2 + 1, 0) = 200;  // a stranger's byte past the 128 materials
    std::array<bool, 128> highlighted{};
    highlighted[6] = highlighted[200 & 127] = true;
    std::array<uint8_t, 768> colours{};
    for (size_t i = 0; i < colours.size(); ++i) colours[i] = uint8_t(i);
    HighlightInput input{HighlightMode::kTerrainType, BrushMode::kVertex, &vertex, &triangle, &highlighted, &colours};
    EXPECT_TRUE(input.PerTriangle());

    std::vector<Rgba> tint = FlatTint(mesh, cells, input);
    ASSERT_EQ(tint.size(), size_t(8 * 8 * 2));
    for (int z = 0; z < 7; ++z)
        for (int x = 0; x < 7; ++x)
            for (int t = 0; t < 2; ++t) {
                const uint16_t flags = mesh.Cell(x, z).flags;
                const TerrainType& type = GetTerrainType(t == 0 ? (flags & kCellFirstTypeMask) >> 4 : flags & kCellSecondTypeMask);
                EXPECT_EQ(tint[GroundTriangle(cells, x, z, t)[2]], (Rgba{type.red, type.green, type.blue, 127}));
            }

    // Texture Index on triangles tints only highlighted triangles, in their material's colour.
    input.mode = HighlightMode::kTextureIndex;
    input.brushMode = BrushMode::kTriangle;
    tint = FlatTint(mesh, cells, input);
    int tinted = 0;
    for (const Rgba& c : tint) tinted += c[3] != 0;
    EXPECT_EQ(tinted, 2);
    EXPECT_EQ(tint[GroundTriangle(cells, 3, 4, 0)[2]], (Rgba{18, 19, 20, 127}));
    EXPECT_EQ(tint[GroundTriangle(cells, 1, 0, 1)[2]], (Rgba{216, 217, 218, 127}));
    input.brushMode = BrushMode::kVertex;
    EXPECT_FALSE(input.PerTriangle());
}
