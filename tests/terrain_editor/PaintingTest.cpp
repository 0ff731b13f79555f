#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "terrain/editor/ChunkGeometry.h"
#include "terrain/editor/DetailPainter.h"
#include "terrain/editor/LayerWord.h"

using namespace tamber::terrain;
using namespace tamber::terrain::painting;

namespace {

int CountNonZero(const DetailGrid& grid) {
    int n = 0;
    for (uint8_t b : grid.bytes) n += b != 0;
    return n;
}

}  // namespace

TEST(Brush, SmallVertexBrushTakesOnlyTheNearPoint) {
    Brush brush{0.2, BrushShape::kRound, BrushMode::kVertex};
    PaintValue paint{9};
    DetailGrid grid = DetailGrid::Make(BrushMode::kVertex, 32, 32);
    GridRect range = ApplyBrush(grid, brush, 5.1, 6.1, paint, 32, 32);
    EXPECT_EQ(grid.At(5, 6), 9);
    EXPECT_EQ(CountNonZero(grid), 1);
    EXPECT_EQ(range.x0, 4);
    EXPECT_EQ(range.x1, 7);  // cells floor(4.9) to ceil(5.3), inclusive

    DetailGrid far = DetailGrid::Make(BrushMode::kVertex, 32, 32);
    (void)ApplyBrush(far, brush, 5.3, 6.3, paint, 32, 32);  // 0.42 from the nearest point
    EXPECT_EQ(CountNonZero(far), 0);

    // Off the mesh and at absurd positions nothing is touched and nothing overruns.
    EXPECT_TRUE(ApplyBrush(far, brush, -50, 3, paint, 32, 32).Empty());
    EXPECT_TRUE(ApplyBrush(far, Brush{10, BrushShape::kSquare}, 1e300, -1e300, paint, 32, 32).Empty());
    EXPECT_EQ(CountNonZero(far), 0);
}

TEST(Brush, SquareTriangleBrushTakesCentresWithinRadius) {
    Brush brush{1.0, BrushShape::kSquare, BrushMode::kTriangle};
    DetailGrid grid = DetailGrid::Make(BrushMode::kTriangle, 32, 32);
    (void)ApplyBrush(grid, brush, 5.0, 5.0, PaintValue{200}, 32, 32);  // above 127 paints 127
    int taken = 0;
    for (int z = 0; z < 32; ++z)
        for (int x = 0; x < 32; ++x)
            for (int t = 0; t < 2; ++t) {
                const auto c = TriangleCentre({x, z, t});
                const bool inside = std::abs(c[0] - 5) <= 1 && std::abs(c[1] - 5) <= 1;
                EXPECT_EQ(grid.At(x * 2 + t, z), inside ? 127 : 0) << x << "," << z << "," << t;
                taken += inside;
            }
    EXPECT_EQ(taken, 8);  // both triangles of the four cells around (5, 5)
}

TEST(Brush, LockedMaterialsAreSparedUnlessShiftWasHeld) {
    MaterialLocks locks;
    locks.set(3);
    DetailGrid grid = DetailGrid::Make(BrushMode::kVertex, 32, 32);
    grid.At(10, 10) = 3;
    grid.At(11, 10) = 4;
    Brush brush{2, BrushShape::kRound};
    (void)ApplyBrush(grid, brush, 10.5, 10, PaintValue{7, &locks, false}, 32, 32);
    EXPECT_EQ(grid.At(10, 10), 3);
    EXPECT_EQ(grid.At(11, 10), 7);
    EXPECT_EQ(grid.At(9, 10), 7);
    (void)ApplyBrush(grid, brush, 10.5, 10, PaintValue{8, &locks, true}, 32, 32);
    EXPECT_EQ(grid.At(10, 10), 8);
    EXPECT_FLOAT_EQ(ClampRadius(0.0), 0.2);
    EXPECT_FLOAT_EQ(ClampRadius(11), 10);
}

TEST(Painter, StrokeUndoRedoRestoresIdenticalGrids) {
    DetailPainter painter;
    painter.Create(64, 32);
    painter.Working(BrushMode::kTriangle).At(3, 3) = 5;
    painter.CommitAll();
    const DetailMap start = painter.MakeMap();

    painter.BeginStroke(BrushMode::kTriangle);
    Brush brush{1.5, BrushShape::kRound};
    for (double x = 2; x < 20; x += 0.7)
        (void)painter.Paint(brush, x, 4 + x / 5, PaintValue{12});
    std::optional<StrokeRecord> stroke = painter.EndStroke();
    ASSERT_TRUE(stroke);
    EXPECT_EQ(stroke->mode, BrushMode::kTriangle);
    const DetailMap painted = painter.MakeMap();
    EXPECT_NE(painted.triangle, start.triangle);
    EXPECT_EQ(painter.Committed(BrushMode::kTriangle).bytes, painted.triangle);
    EXPECT_EQ(painted.vertex, start.vertex);

    painter.Apply(*stroke, false);
    EXPECT_EQ(painter.MakeMap().triangle, start.triangle);
    EXPECT_EQ(painter.Committed(BrushMode::kTriangle).bytes, start.triangle);
    painter.Apply(*stroke, true);
    EXPECT_EQ(painter.MakeMap().triangle, painted.triangle);

    // A stroke that changes nothing leaves no record.
    painter.BeginStroke(BrushMode::kTriangle);
    (void)painter.Paint(brush, 5, 5, PaintValue{12});
    (void)painter.Paint(brush, 5, 5, PaintValue{12});
    EXPECT_FALSE(painter.EndStroke());
    EXPECT_FALSE(painter.StrokeActive());
}

TEST(Painter, FloodFillAndUndo) {
    DetailPainter painter;
    painter.Create(32, 32);
    DetailGrid& grid = painter.Working(BrushMode::kVertex);
    for (int z = 0; z < 32; ++z) grid.At(16, z) = 1;  // a wall splitting the map
    grid.At(16, 31) = 0;                               // with a gap at the bottom
    painter.CommitAll();
    const auto before = grid.bytes;

    EXPECT_FALSE(painter.Fill(BrushMode::kVertex, 3.4, 3.6, 0));  // already the value: no step
    EXPECT_FALSE(painter.Fill(BrushMode::kVertex, -40, 3, 4));    // outside
    std::optional<FillRecord> fill = painter.Fill(BrushMode::kVertex, 3.4, 3.6, 4);
    ASSERT_TRUE(fill);
    EXPECT_EQ(CountNonZero(grid), 32 * 32);
    EXPECT_EQ(grid.At(16, 5), 1);
    EXPECT_EQ(grid.At(30, 0), 4);  // reached through the gap
    EXPECT_EQ(fill->bounds.x0, 0);
    EXPECT_EQ(fill->bounds.x1, 32);
    EXPECT_EQ(painter.Committed(BrushMode::kVertex).bytes, grid.bytes);
    painter.Apply(BrushMode::kVertex, *fill, false);
    EXPECT_EQ(grid.bytes, before);
    EXPECT_EQ(painter.Committed(BrushMode::kVertex).bytes, before);

    // Triangle mode treats the triangle grid as an image 2W wide.
    std::optional<FillRecord> all = painter.Fill(BrushMode::kTriangle, 10.2, 10.1, 6);
    ASSERT_TRUE(all);
    EXPECT_EQ(CountNonZero(painter.Working(BrushMode::kTriangle)), 64 * 32);
}

TEST(Painter, LoadChecksSizeAndTerrainFill) {
    DetailPainter painter;
    DetailMap other = CreateDetailMap(64, 32);
    EXPECT_FALSE(painter.Load(other, 32, 32));
    EXPECT_FALSE(painter.Exists());
    other.vertex[70] = 9;
    ASSERT_TRUE(painter.Load(other, 64, 32));
    EXPECT_EQ(painter.Working(BrushMode::kVertex).At(6, 1), 9);
    EXPECT_EQ(painter.MakeMap().vertex, other.vertex);

    Mesh mesh;
    mesh.width = 64, mesh.height = 32;
    mesh.cells.resize(64 * 32);
    mesh.cells[70].flags = 0x5A;  // first triangle type 5
    MaterialLocks locks;
    locks.set(0);
    painter.FillFromTerrain(mesh, PaintValue{0, &locks, false});
    EXPECT_EQ(painter.Working(BrushMode::kVertex).At(6, 1), 6);
    EXPECT_EQ(painter.Working(BrushMode::kVertex).At(7, 1), 0);  // locked 0 spared
    painter.FillFromTerrain(mesh, PaintValue{0, &locks, true});
    EXPECT_EQ(painter.Working(BrushMode::kVertex).At(7, 1), 1);
}

TEST(LayerWord, EveryCornerCombination) {
    EXPECT_EQ(MakeLayerWord(5, 1, 2, 3), (5u << 9) | 0x40000007);
    EXPECT_EQ(MakeLayerWord(0, 0, 0, 0), 0x40000000u);
    EXPECT_EQ(MakeLayerWord(0, 4, 4, 4), (4u << 9) | 7);
    // Two values: layer 0 the lower, layer 1 the higher, with their corners.
    EXPECT_EQ(MakeLayerWord(0, 2, 9, 2), 0x40000000u | (2u << 9) | (9u << 16) | 0b101 | (0b010 << 3));
    EXPECT_EQ(MakeLayerWord(0, 9, 2, 2), 0x40000000u | (2u << 9) | (9u << 16) | 0b110 | (0b001 << 3));
    EXPECT_EQ(MakeLayerWord(0, 0, 0, 3), 0x40000000u | (0u << 9) | (3u << 16) | 0b011 | (0b100 << 3));
    // Three values in ascending order.
    const uint32_t three = MakeLayerWord(0, 7, 1, 4);
    EXPECT_EQ(three, 0x40000000u | (1u << 9) | (4u << 16) | (7u << 23) | 0b010 | (0b100 << 3) | (0b001 << 6));
    std::array<DetailLayer, 3> layers;
    ASSERT_EQ(UnpackLayers(three, layers), 3);
    EXPECT_EQ(layers[0].material, 1);
    EXPECT_EQ(layers[2].material, 7);
    EXPECT_EQ(layers[2].cornerMask, 1u);
    EXPECT_EQ(UnpackLayers(0x40000000u, layers), 0);
    ASSERT_EQ(UnpackLayers(MakeLayerWord(127, 0, 0, 0), layers), 1);
    EXPECT_EQ(layers[0].material, 127);

    // Corners: even cell (2, 4), odd cell (3, 4).
    using C = std::array<std::array<int, 2>, 3>;
    EXPECT_EQ(TriangleCorners(2, 4, 0), (C{{{2, 4}, {2, 5}, {3, 5}}}));
    EXPECT_EQ(TriangleCorners(2, 4, 1), (C{{{2, 4}, {3, 5}, {3, 4}}}));
    EXPECT_EQ(TriangleCorners(3, 4, 0), (C{{{3, 4}, {3, 5}, {4, 4}}}));
    EXPECT_EQ(TriangleCorners(3, 4, 1), (C{{{4, 4}, {3, 5}, {4, 5}}}));
}

TEST(ChunkGeometry, GroundIndicesNameEachTrianglesCorners) {
    Mesh mesh;
    mesh.width = mesh.height = 40;
    mesh.blocksWide = mesh.blocksHigh = 2;
    for (int i = 0; i < 40 * 40; ++i) {
        MeshCell cell;
        cell.height = int16_t(i * 3);
        mesh.cells.push_back(cell);
    }
    // The last chunk of the first row: seven cells wide, closed by the last column.
    const ChunkCells cells = ChunkCells::Of(mesh, 1, 0);
    const VertexPlacement still;
    const std::vector<GroundVertex> ground = BuildGround(mesh, cells, still);
    ASSERT_EQ(ground.size(), size_t(8 * 33 * 2));
    const ChunkTriangles sorted = SortTriangles(mesh, cells, still, nullptr, nullptr, {});
    ASSERT_EQ(sorted.indices.size(), size_t(cells.Count()) * 6);
    EXPECT_EQ(sorted.plainCount, int(sorted.indices.size()));
    std::set<uint16_t> lastVertices;
    size_t next = 0;
    for (int z = cells.z0; z < cells.z1; ++z)
        for (int x = cells.x0; x < cells.x1; ++x)
            for (int t = 0; t < 2; ++t) {
                // The same corners turned (the winding kept), ending on the triangle's own vertex.
                const auto corners = TriangleCorners(x, z, t);
                const std::array<int, 2> own = t == 0 ? std::array<int, 2>{x, z} : std::array<int, 2>{x + 1, z + 1};
                const size_t last = size_t(std::find(corners.begin(), corners.end(), own) - corners.begin());
                ASSERT_LT(last, 3u);
                // No two triangles end on the same vertex, so each can have its own flat colour.
                EXPECT_TRUE(lastVertices.insert(sorted.indices[next + 2]).second);
                for (size_t k = 0; k < 3; ++k) {
                    const auto& corner = corners[(last + 1 + k) % 3];
                    const GroundVertex& v = ground.at(sorted.indices[next++]);
                    EXPECT_EQ((std::array<float, 3>{v.x, v.y, v.z}), still.At(mesh, corner[0], corner[1]));
                    EXPECT_FLOAT_EQ(v.u, float(corner[0] - cells.x0) / kMeshBlockCells);
                    EXPECT_EQ(v.gx, float(corner[0]));
                }
            }
}
