// LightWave objects shaped the ways other tools write them: several layers,
// n-gons (concave too), several UV maps, vertex maps nobody uses, surfaces
// without images, images in a subfolder or named by another machine's path,
// the older LWOB form, patches and curves. Each imports, or is refused with a
// reason; where `assimp` is installed its triangle counts must agree.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>

#include "base/MessageLog.h"
#include "images/MediaFile.h"
#include "models/IffWriter.h"
#include "models/ModelFromLwo.h"
#include "models/import/ModelImport.h"
#include "tags/Codex.h"
#include "tests/models/LwoChunks.h"
#include "tests/support/ScratchFolder.h"

using namespace tamber::base;
using namespace tamber::images;
using namespace tamber::models;
using namespace tamber::models::import;
using namespace tamber::tags;
using namespace lwo_chunks;

namespace fs = std::filesystem;

namespace {

void VertexMap(IffWriter& out, uint32_t type, const char* name, uint32_t points, float scale) {
    const bool uv = type == FourCC("TXUV");
    out.BeginChunk(FourCC("VMAP"));
    out.U4(type);
    out.U2(uv ? 2 : 1);
    out.S0(name);
    for (uint32_t i = 0; i < points; ++i) {
        out.VX(i);
        out.F4(scale * float(i % 2));
        if (uv) out.F4(scale * float(i / 2 % 2));
    }
    out.End();
}

// Two layers; the first holds a cube of quads, a concave hexagon (an L) and a
// 12-corner disc; the second a triangle strip of quads. Surface "Wood" maps
// "images/wood.png" through UV map "second"; "Bare" has no image; the weight
// map and the first UV map are used by nobody.
std::vector<uint8_t> LayeredObject() {
    IffWriter out;
    out.BeginChunk(FourCC("FORM"));
    out.U4(FourCC("LWO2"));
    out.BeginChunk(FourCC("TAGS"));
    out.S0("Wood");
    out.S0("Bare");
    out.End();
    Layer(out, 0);
    std::vector<float> points = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 0, 0, 1, 1, 0, 1, 1, 1, 1, 0, 1, 1};
    const std::vector<float> l = {2, 0, 0, 4, 0, 0, 4, 1, 0, 3, 1, 0, 3, 2, 0, 2, 2, 0};
    points.insert(points.end(), l.begin(), l.end());
    for (int i = 0; i < 12; ++i)
        points.insert(points.end(), {6 + std::cos(float(i) * 0.5236f), 0.0f, std::sin(float(i) * 0.5236f)});
    Points(out, points);
    std::vector<std::vector<uint32_t>> polygons = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4},
                                                   {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
    polygons.push_back({8, 9, 10, 11, 12, 13});
    std::vector<uint32_t> disc;
    for (uint32_t i = 0; i < 12; ++i) disc.push_back(14 + i);
    polygons.push_back(disc);
    Polygons(out, FourCC("FACE"), polygons, {0, 0, 0, 0, 0, 0, 1, 1});
    VertexMap(out, FourCC("TXUV"), "first", 26, 0.5f);
    VertexMap(out, FourCC("TXUV"), "second", 26, 1.0f);
    VertexMap(out, FourCC("WGHT"), "unused weights", 26, 1.0f);
    Layer(out, 1);
    Points(out, {0, 3, 0, 1, 3, 0, 2, 3, 0, 0, 4, 0, 1, 4, 0, 2, 4, 0});
    Polygons(out, FourCC("FACE"), {{0, 1, 4, 3}, {1, 2, 5, 4}}, {1, 1});
    Clip(out, 1, "images/wood.png");
    Surface(out, "Wood", 1, "second");
    Surface(out, "Bare", 0, "");
    out.End();
    return out.Bytes();
}

// LWOB: two quads, surface "Hull" with an image-mapped colour texture.
std::vector<uint8_t> OldObject() {
    IffWriter out;
    out.BeginChunk(FourCC("FORM"));
    out.U4(FourCC("LWOB"));
    Points(out, {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 2, 0, 0, 2, 1, 0});
    out.BeginChunk(FourCC("SRFS"));
    out.S0("Hull");
    out.End();
    out.BeginChunk(FourCC("POLS"));
    for (const std::vector<uint16_t>& quad : {std::vector<uint16_t>{0, 1, 2, 3}, std::vector<uint16_t>{1, 4, 5, 2}}) {
        out.U2(4);
        for (uint16_t i : quad) out.U2(i);
        out.U2(1);
    }
    out.End();
    out.BeginChunk(FourCC("SURF"));
    out.S0("Hull");
    out.BeginSub(FourCC("COLR"));
    for (uint8_t c : {200, 200, 200, 0}) out.U1(c);
    out.End();
    out.End();
    out.End();
    return out.Bytes();
}

// Patches (subdivision cages), a curve and a bone in one layer.
std::vector<uint8_t> PatchObject() {
    IffWriter out;
    out.BeginChunk(FourCC("FORM"));
    out.U4(FourCC("LWO2"));
    out.BeginChunk(FourCC("TAGS"));
    out.S0("Skin");
    out.End();
    Points(out, {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 2, 0, 0, 2, 1, 0});
    Polygons(out, FourCC("SUBD"), {{0, 1, 2, 3}, {1, 4, 5, 2}}, {0, 0});
    Polygons(out, FourCC("CURV"), {{0, 1, 4}}, {0});
    Polygons(out, FourCC("BONE"), {{0, 5}}, {0});
    out.End();
    return out.Bytes();
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// assimp's triangle count for a file, or -1 when assimp is missing or refuses it.
int AssimpFaces(const std::string& path) {
    if (std::system("command -v assimp >/dev/null 2>&1") != 0) return -1;
    FILE* pipe = ::popen(("assimp info '" + path + "' 2>/dev/null").c_str(), "r");
    if (!pipe) return -1;
    std::string text;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) text += buffer;
    ::pclose(pipe);
    std::smatch match;
    if (!std::regex_search(text, match, std::regex("Faces: +([0-9]+)")) ||
        text.find("Primitive Types:    triangles") == std::string::npos)
        return -1;
    return std::stoi(match[1]);
}

}  // namespace

TEST(LwoInterop, ObjectsOfOtherToolsImport) {
    MessageLog::Instance().Clear();
    Scratch root;
    fs::create_directories(root / "game/local");
    Codex codex;
    codex.Init(root / "game");

    const std::string layered = root / "objects/layered.lwo";
    WriteBytes(layered, LayeredObject());
    fs::create_directories(root / "objects/images");
    MediaFile wood(root / "objects/images/wood.png");
    ASSERT_TRUE(CreateImage(wood.image, 4, 4, kPixelRGB));
    ASSERT_TRUE(SaveImage(wood));
    LwoConversionNotes notes;
    Result<Model> model = ModelFromLwoFile(layered, &notes);
    ASSERT_TRUE(model) << model.error();
    // 6 quads, an L of 4 triangles, a disc of 10, and 2 quads in the second layer.
    EXPECT_EQ(model->triangles.size(), 12u + 4 + 10 + 4);
    EXPECT_EQ(model->vertices.size(), 26u + 6);
    ASSERT_EQ(model->materials.size(), 2u);
    EXPECT_TRUE(model->materials[0].HasTexture()) << "found in the object's images/ folder";
    EXPECT_FALSE(model->materials[1].HasTexture());
    EXPECT_TRUE(notes.unreadTextures.empty());
    EXPECT_FLOAT_EQ(model->triangles[0].corners[1].u, 1.0f);  // point 3 in "second" (0.5 in "first")
    EXPECT_TRUE(ImportModelFile(codex, layered, "", false));

    const std::string old = root / "objects/old.lwo";
    WriteBytes(old, OldObject());
    model = ModelFromLwoFile(old, &notes);
    ASSERT_TRUE(model) << model.error();
    EXPECT_EQ(model->triangles.size(), 4u);
    EXPECT_EQ(model->materials.at(0).name, "Hull");
    EXPECT_TRUE(ImportModelFile(codex, old, "", false));

    const std::string patches = root / "objects/patches.lwo";
    WriteBytes(patches, PatchObject());
    notes = {};
    model = ModelFromLwoFile(patches, &notes);
    ASSERT_TRUE(model) << model.error();
    EXPECT_EQ(model->triangles.size(), 4u);
    EXPECT_EQ(notes.skippedPolygons, 2u);
    MessageLog::Instance().Clear();
    EXPECT_TRUE(ImportModelFile(codex, patches, "", false));
    EXPECT_NE(MessageLog::Instance().Find(kModelImportChannel)->text.find("Skipped 2 polygons that are not surfaces"),
              std::string::npos);

    // A file cut inside a chunk is refused with the reader's reason.
    std::vector<uint8_t> cut = LayeredObject();
    cut.resize(cut.size() / 2);
    const std::string broken = root / "objects/broken.lwo";
    WriteBytes(broken, cut);
    MessageLog::Instance().Clear();
    EXPECT_FALSE(ImportModelFile(codex, broken, "", false));
    EXPECT_NE(MessageLog::Instance().Find(kModelImportChannel)->text.find("LWO reading failed: "), std::string::npos);

    // Where assimp reads the same files, its triangle counts agree.
    for (const auto& [path, triangles] : {std::pair{layered, 30}, std::pair{old, 4}}) {
        const int faces = AssimpFaces(path);
        if (faces >= 0) {
            EXPECT_EQ(faces, triangles) << path;
        }
    }
}
