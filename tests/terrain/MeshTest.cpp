#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "collections/Collection.h"
#include "terrain/ColorMapShading.h"
#include "terrain/HighlightColors.h"
#include "terrain/MediaWave.h"
#include "terrain/Mesh.h"

using namespace tamber::collections;
using namespace tamber::terrain;

namespace {

Mesh MakeMesh(int blocksWide, int blocksHigh) {
    Mesh mesh;
    mesh.colourMap = 0x636D6170;
    mesh.media = 0x77617465;
    mesh.blocksWide = blocksWide;
    mesh.blocksHigh = blocksHigh;
    mesh.width = blocksWide * kMeshBlockCells;
    mesh.height = blocksHigh * kMeshBlockCells;
    mesh.cells.resize(size_t(mesh.width) * size_t(mesh.height));
    for (int z = 0; z < mesh.height; ++z)
        for (int x = 0; x < mesh.width; ++x) {
            MeshCell& c = mesh.cells[size_t(z * mesh.width + x)];
            c.height = int16_t(x * 10 + z);
            c.media = int16_t(1000 + x);
            c.flags = kCellCleared9 | kCellCleared14 | 0x0100;
            if (x >= 4 && x < 8 && z >= 4 && z < 8)
                c.flags |= kCellFirstReflective | kCellSecondReflective;
        }
    return mesh;
}

}  // namespace

TEST(Mesh, LoadingRules) {
    Mesh source = MakeMesh(1, 1);
    source.header.fill(0x5A);
    std::vector<uint8_t> payload = SaveMesh(source);
    payload[1024 + 7] = 0x77;  // word 3 of cell 0, cleared on reading
    EXPECT_EQ(LoadMesh(payload, 10).error(), "couldn't read the mesh: version 10 is not known");
    EXPECT_EQ(LoadMesh(std::span(payload.data(), payload.size() - 1), 11).error(),
              "couldn't read the mesh: its cells lie outside the data");
    auto mesh = LoadMesh(payload, 11);
    ASSERT_TRUE(mesh);
    EXPECT_EQ(mesh->width, 32);
    EXPECT_EQ(mesh->height, 32);
    EXPECT_EQ(mesh->colourMap, source.colourMap);
    for (size_t cleared : {20, 35, 66, 115, 363, 547, 548, 993})
        EXPECT_EQ(mesh->header[cleared], 0) << cleared;
    for (size_t kept : {16, 362, 1008})
        EXPECT_EQ(mesh->header[kept], 0x5A) << kept;

    const uint16_t both = kCellFirstReflective | kCellSecondReflective;
    for (int z = 0; z < 32; ++z)
        for (int x = 0; x < 32; ++x) {
            const uint16_t flags = mesh->Cell(x, z).flags;
            SCOPED_TRACE(testing::Message() << x << "," << z);
            EXPECT_TRUE(flags & 0x0100);
            if (x == 0 || z == 0) {
                EXPECT_EQ(flags & (kCellCleared9 | kCellCleared14), kCellCleared9 | kCellCleared14);
                continue;
            }
            EXPECT_EQ(flags & (kCellCleared9 | kCellCleared14), 0);
            // The grid point's four cells lie in 4..7 when x and z are in 5..7.
            EXPECT_EQ(bool(flags & kCellAnimatedMedia), x >= 5 && x < 8 && z >= 5 && z < 8);
            EXPECT_EQ(mesh->SurfaceHeight(x, z), (flags & both) ? 1000 + x : x * 10 + z);
        }
    EXPECT_EQ(mesh->SurfaceHeight(-1, 3), 0);
    EXPECT_EQ(mesh->SurfaceHeight(32, 3), 0);

    source.blocksWide = 0;
    EXPECT_EQ(LoadMesh(SaveMesh(source), 11).error(), "couldn't read the mesh: it has no cells");
}

TEST(Mesh, ChessboardTriangles) {
    // Odd cells split along (x+1, z)-(x, z+1), even cells along (x, z)-(x+1, z+1).
    EXPECT_EQ(TriangleAt(1.2, 0.2).t, 0);
    EXPECT_EQ(TriangleAt(1.8, 0.7).t, 1);
    EXPECT_EQ(TriangleAt(0.2, 0.7).t, 0);
    EXPECT_EQ(TriangleAt(0.7, 0.2).t, 1);
    EXPECT_EQ(TriangleAt(2.5, 3.5).x, 2);
    for (int z = 0; z < 2; ++z)
        for (int x = 0; x < 2; ++x)
            for (int t = 0; t < 2; ++t) {
                const auto centre = TriangleCentre({x, z, t});
                const MeshTriangle found = TriangleAt(centre[0], centre[1]);
                EXPECT_EQ(found.x, x);
                EXPECT_EQ(found.z, z);
                EXPECT_EQ(found.t, t);
            }

    Mesh mesh = MakeMesh(1, 1);
    EXPECT_EQ(mesh.HeightAt(1e300, 2), 0);
    EXPECT_TRUE(std::isnan(mesh.HeightAt(std::nan(""), 2)));
    EXPECT_LT(TriangleAt(-1e300, 0.5).x, 0);
    for (int z = 0; z < 3; ++z)
        for (int x = 0; x < 3; ++x) {
            EXPECT_DOUBLE_EQ(mesh.HeightAt(x, z), mesh.SurfaceHeight(x, z));
            // Along the shared diagonal both triangles agree.
            const double mid = (x ^ z) & 1 ? (mesh.SurfaceHeight(x + 1, z) + mesh.SurfaceHeight(x, z + 1)) / 2.0
                                           : (mesh.SurfaceHeight(x, z) + mesh.SurfaceHeight(x + 1, z + 1)) / 2.0;
            EXPECT_DOUBLE_EQ(mesh.HeightAt(x + 0.5, z + 0.5), mid);
        }
}

TEST(Mesh, MediaWaveAndShading) {
    MediaWave fallback = LoadMediaWave(std::nullopt);
    EXPECT_DOUBLE_EQ(fallback.ay, 0.2);
    EXPECT_DOUBLE_EQ(fallback.fy, 1.0);
    std::vector<uint8_t> media(256, 0);
    media[104] = 1;     // ax = 256 / 512 cell
    media[111] = 0x40;  // fx = 64 x 2 pi / 65536
    const MediaWave wave = LoadMediaWave(media);
    EXPECT_DOUBLE_EQ(wave.ax, 0.5);
    EXPECT_DOUBLE_EQ(wave.fx, 64 * 2 * M_PI / 65536);
    EXPECT_DOUBLE_EQ(wave.az, 0);
    const WaveOffset offset = ComputeWave(wave, 1, 0, 6);
    EXPECT_NEAR(offset.dx, 0.5 * std::sin(380 * wave.fx), 1e-12);
    EXPECT_EQ(LoadMediaWave(std::span(media.data(), 100)).ax, 0.1);

    std::array<uint8_t, 768> palette{};
    for (size_t i = 0; i < 768; ++i)
        palette[i] = uint8_t(i / 3);
    MeshShading shading;
    shading.above = 128;
    shading.target = {65535, 0, 0};
    auto table = BuildShadingTable(palette.data(), shading);
    // Pivot 0: row 0 is the palette; row 255 blends halfway towards the target.
    EXPECT_EQ(table[(0 * 256 + 200) * 3 + 1], 200);
    EXPECT_EQ(table[(255 * 256 + 200) * 3 + 0], (((128 * 200 * 256 + 128 * 65535) >> 8) >> 8));
    EXPECT_EQ(table[(255 * 256 + 200) * 3 + 1], 100);
    shading.pivot = 0x20000;  // beyond full shade: every row uses the strength below
    shading.below = 256;
    table = BuildShadingTable(palette.data(), shading);
    EXPECT_EQ(table[(255 * 256 + 9) * 3 + 1], 9);
    EXPECT_EQ(table[(0 * 256 + 9) * 3 + 0], 255);

    Collection map;
    map.palette = palette;
    for (int i = 0; i < 2; ++i) {
        auto bitmap = std::make_shared<Bitmap>();
        bitmap->width = bitmap->height = 256;
        bitmap->pixels.assign(256 * 256 * 2, 255);
        bitmap->pixels[1] = uint8_t(7 + i * 248);  // colour 7, shade 255
        map.bitmaps.push_back(bitmap);
    }
    auto texture = MakeBlockTexture(map, 0, table);
    ASSERT_TRUE(texture);
    EXPECT_EQ(texture->format, uint32_t(kPixelRGB));
    EXPECT_EQ(texture->pixels[1], table[(255 * 256 + 7) * 3 + 1]);
    EXPECT_EQ(texture->pixels[4], table[(255 * 256 + 255) * 3 + 1]);
    auto missing = MakeBlockTexture(map, 1, table);
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error(), "colour-map block 1 needs two decoded 256 x 256 paletted bitmaps");
}

TEST(Mesh, HighlightColorsFallBackAndWriteBack) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "tamber_highlight_test";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "dtex.act").string();
    const auto colours = LoadHighlightColors(path);
    EXPECT_EQ(colours[0], 255);
    EXPECT_EQ(colours[8 * 3 + 2], 51);
    EXPECT_EQ(colours[7 * 3 + 1], 120);
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(std::string(768, '\x11').data(), 768);
    EXPECT_EQ(LoadHighlightColors(path)[0], 0x11);
    std::filesystem::remove_all(dir);
}
