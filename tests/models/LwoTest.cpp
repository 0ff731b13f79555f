#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

#include "images/MediaFile.h"
#include "models/IffWriter.h"
#include "models/LwObject.h"
#include "models/LwoWriter.h"
#include "models/ModelFromLwo.h"

using namespace tamber::images;
using namespace tamber::base;
using namespace tamber::models;

namespace fs = std::filesystem;

namespace {

void Points(IffWriter& out, std::initializer_list<float> coordinates) {
    out.BeginChunk(FourCC("PNTS"));
    for (float c : coordinates) out.F4(c);
    out.End();
}

// A layer of five points: a quad (0 1 2 3) on surface "Skin" and a triangle
// (1 4 2) on surface "Bare"; UV map "uv" gives points 0 to 2 values, and a
// discontinuous value overrides point 1 in the triangle.
std::vector<uint8_t> QuadObject() {
    IffWriter out;
    out.BeginChunk(FourCC("FORM"));
    out.U4(FourCC("LWO2"));
    out.BeginChunk(FourCC("TAGS"));
    out.S0("Skin");
    out.S0("Bare");
    out.End();
    out.BeginChunk(FourCC("LAYR"));
    out.U2(0);
    out.U2(0);
    for (int i = 0; i < 3; ++i) out.F4(0);
    out.S0("");
    out.End();
    Points(out, {1, 0, 0, 2, 0, 0, 2, 1, 0, 1, 1, 0, 3, 1, 0});
    out.BeginChunk(FourCC("POLS"));
    out.U4(FourCC("FACE"));
    out.U2(4);
    for (uint32_t i : {0u, 1u, 2u, 3u}) out.VX(i);
    out.U2(3);
    for (uint32_t i : {1u, 4u, 2u}) out.VX(i);
    out.End();
    out.BeginChunk(FourCC("PTAG"));
    out.U4(FourCC("SURF"));
    out.VX(0);
    out.U2(0);
    out.VX(1);
    out.U2(1);
    out.End();
    out.BeginChunk(FourCC("VMAP"));
    out.U4(FourCC("TXUV"));
    out.U2(2);
    out.S0("uv");
    for (uint32_t i : {0u, 1u, 2u}) {
        out.VX(i);
        out.F4(0.25f * float(i));
        out.F4(0.25f);
    }
    out.End();
    out.BeginChunk(FourCC("VMAD"));
    out.U4(FourCC("TXUV"));
    out.U2(2);
    out.S0("uv");
    out.VX(1);
    out.VX(1);
    out.F4(0.9f);
    out.F4(0.1f);
    out.End();
    out.BeginChunk(FourCC("CLIP"));
    out.U4(7);
    out.BeginSub(FourCC("STIL"));
    out.S0("C:/textures/skin.png");
    out.End();
    out.End();
    for (const char* name : {"Skin", "Bare"}) {
        out.BeginChunk(FourCC("SURF"));
        out.S0(name);
        out.S0("");
        out.BeginSub(FourCC("BLOK"));
        out.BeginSub(FourCC("IMAP"));
        out.S0("\x80");
        out.BeginSub(FourCC("CHAN"));
        out.U4(FourCC("COLR"));
        out.End();
        out.End();
        out.BeginSub(FourCC("PROJ"));
        out.U2(5);
        out.End();
        out.BeginSub(FourCC("IMAG"));
        out.VX(std::string(name) == "Skin" ? 7 : 0);
        out.End();
        out.BeginSub(FourCC("VMAP"));
        out.S0("uv");
        out.End();
        out.End();
        out.End();
    }
    out.End();
    return out.Bytes();
}

Result<LwObject> Read(const std::vector<uint8_t>& bytes) { return ReadLwObject(bytes.data(), bytes.size()); }

// The byte offset a read failure names at the end of its message.
size_t FailurePosition(const std::string& message) {
    const size_t digits = message.find_last_not_of("0123456789") + 1;
    return digits < message.size() ? size_t(std::stoull(message.substr(digits))) : SIZE_MAX;
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

size_t CountOf(const std::string& haystack, const std::string& needle) {
    size_t count = 0;
    for (size_t at = haystack.find(needle); at != std::string::npos; at = haystack.find(needle, at + 1)) ++count;
    return count;
}

Image SolidTexture(int32_t size, uint8_t red) {
    Image image;
    image.format = kPixelRGBA;
    image.width = image.height = size;
    image.pixels.assign(size_t(size * size) * 4, 255);
    for (size_t i = 0; i < image.pixels.size(); i += 4) image.pixels[i] = red;
    return image;
}

}  // namespace

TEST(LwoReader, ReadsLayersPolygonsSurfacesAndMaps) {
    Result<LwObject> object = Read(QuadObject());
    ASSERT_TRUE(object);
    ASSERT_EQ(object->layers.size(), 1u);
    const LwLayer& layer = object->layers[0];
    ASSERT_EQ(layer.points.size(), 5u);
    ASSERT_EQ(layer.polygons.size(), 2u);
    EXPECT_EQ(layer.polygons[0].vertices.size(), 4u);
    EXPECT_EQ(layer.points[1].polygons, (std::vector<uint32_t>{0, 1}));
    EXPECT_FLOAT_EQ(layer.polygons[0].normal[2], 1.0f);
    ASSERT_EQ(object->surfaces.size(), 2u);
    EXPECT_EQ(object->surfaces[size_t(layer.polygons[1].surface)].name, "Bare");
    const LwTexture* map = object->surfaces[0].FirstUvImageMap();
    ASSERT_TRUE(map);
    EXPECT_STREQ(map->TypeName(), "Image Map");
    EXPECT_STREQ(map->ProjectionName(), "UV");
    ASSERT_TRUE(object->FindClip(7));
    EXPECT_EQ(ClipFileName(object->FindClip(7)->stillName), "skin.png");
    EXPECT_FALSE(object->FindClip(1));
}

TEST(LwoReader, ModelSplitsPolygonsAndTakesUvMaps) {
    Result<LwObject> object = Read(QuadObject());
    ASSERT_TRUE(object);
    LwoConversionNotes notes;
    Model model = ModelFromLwObject(*object, testing::TempDir() + "/no-such-folder", &notes);
    ASSERT_EQ(model.vertices.size(), 5u);
    EXPECT_FLOAT_EQ(model.vertices[0].position[0], -1.0f);
    EXPECT_FLOAT_EQ(model.vertices[0].normal[2], 1.0f);
    EXPECT_FLOAT_EQ(model.boundsMax[0], -1.0f);
    EXPECT_FLOAT_EQ(model.boundsMin[0], -3.0f);
    // The quad becomes two triangles covering it, the triangle stays one.
    ASSERT_EQ(model.triangles.size(), 3u);
    const ModelTriangle& quad = model.triangles[0];
    EXPECT_EQ(quad.corners[0].vertex, 0u);
    EXPECT_EQ(quad.corners[1].vertex, 1u);
    EXPECT_EQ(quad.corners[2].vertex, 2u);
    EXPECT_FLOAT_EQ(quad.corners[1].u, 0.25f);
    EXPECT_FLOAT_EQ(quad.corners[1].v, 0.75f);
    EXPECT_EQ(model.triangles[1].corners[0].vertex, 0u);
    EXPECT_EQ(model.triangles[1].corners[1].vertex, 2u);
    EXPECT_EQ(model.triangles[1].corners[2].vertex, 3u);
    EXPECT_EQ(model.triangles[1].material, 0u);
    const ModelTriangle& triangle = model.triangles[2];
    EXPECT_EQ(triangle.material, 1u);
    EXPECT_FLOAT_EQ(triangle.corners[0].u, 0.9f);  // the polygon's own value wins
    EXPECT_FLOAT_EQ(triangle.corners[0].v, 0.9f);
    EXPECT_FLOAT_EQ(triangle.corners[1].u, 0.0f);  // point 4 has no UV value
    EXPECT_FLOAT_EQ(triangle.corners[1].v, 0.0f);
    ASSERT_EQ(model.materials.size(), 2u);
    EXPECT_EQ(model.materials[0].name, "Skin");
    EXPECT_EQ(model.materials[0].label, "skin.png");
    EXPECT_FALSE(model.materials[0].HasTexture());
    EXPECT_EQ(notes.unreadTextures, (std::vector<std::string>{"skin.png"}));
    EXPECT_EQ(notes.skippedPolygons, 0u);
}

TEST(LwoReader, ChunkLengthsAndPadding) {
    // An unknown chunk of odd length is followed by one pad byte.
    IffWriter out;
    out.BeginChunk(FourCC("FORM"));
    out.U4(FourCC("LWO2"));
    out.BeginChunk(FourCC("ZZZZ"));
    out.U1(1);
    out.U1(2);
    out.U1(3);
    out.End();
    Points(out, {1, 2, 3});
    out.End();
    std::vector<uint8_t> bytes = out.Bytes();
    EXPECT_EQ(bytes[19], 3u);   // the odd length
    EXPECT_EQ(bytes[23], 0u);   // its pad byte
    Result<LwObject> object = Read(bytes);
    ASSERT_TRUE(object);
    ASSERT_EQ(object->layers.size(), 1u);
    EXPECT_FLOAT_EQ(object->layers[0].points[0].position[2], 3.0f);

    // Truncated anywhere inside a chunk: nothing, with the chunk and the position.
    std::vector<uint8_t> whole = QuadObject();
    for (size_t cut : {size_t(3), size_t(20), whole.size() / 2, whole.size() - 1}) {
        std::vector<uint8_t> part(whole.begin(), whole.begin() + long(cut));
        // Keep the FORM length honest so that only the last chunk is short.
        if (cut >= 8) {
            const uint32_t length = uint32_t(cut - 8);
            for (int i = 0; i < 4; ++i) part[size_t(4 + i)] = uint8_t(length >> (24 - 8 * i));
        }
        Result<LwObject> object = Read(part);
        ASSERT_FALSE(object) << cut;
        EXPECT_NE(object.error().find("chunk '"), std::string::npos) << object.error();
        EXPECT_LE(FailurePosition(object.error()), cut) << object.error();
    }
    // A sub-chunk longer than its chunk, a polygon naming a missing point, and
    // a FORM of another type.
    std::vector<uint8_t> longSub = QuadObject();
    const size_t colrAt = std::string(longSub.begin(), longSub.end()).find("CHAN");
    longSub[colrAt + 5] = 0x7F;
    EXPECT_FALSE(Read(longSub));
    std::vector<uint8_t> badIndex = QuadObject();
    const size_t polsAt = std::string(badIndex.begin(), badIndex.end()).find("FACE");
    badIndex[polsAt + 7] = 9;
    object = Read(badIndex);
    ASSERT_FALSE(object);
    EXPECT_NE(object.error().find("'POLS'"), std::string::npos) << object.error();
    std::vector<uint8_t> other = QuadObject();
    other[11] = 'X';
    object = Read(other);
    ASSERT_FALSE(object);
    EXPECT_EQ(FailurePosition(object.error()), 12u) << object.error();
}

TEST(LwoReader, OldFormatObjects) {
    IffWriter out;
    out.BeginChunk(FourCC("FORM"));
    out.U4(FourCC("LWOB"));
    Points(out, {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0});
    out.BeginChunk(FourCC("SRFS"));
    out.S0("Hull");
    out.End();
    out.BeginChunk(FourCC("POLS"));
    out.U2(4);
    for (uint16_t i : {0, 1, 2, 3}) out.U2(i);
    out.U2(uint16_t(-1));  // surface 1 with detail polygons
    out.U2(1);
    out.U2(3);
    for (uint16_t i : {0, 2, 3}) out.U2(i);
    out.U2(1);
    out.End();
    out.BeginChunk(FourCC("SURF"));
    out.S0("Hull");
    out.BeginSub(FourCC("COLR"));
    for (uint8_t c : {255, 0, 51, 0}) out.U1(c);
    out.End();
    out.BeginSub(FourCC("DIFF"));
    out.U2(128);
    out.End();
    out.BeginSub(FourCC("CTEX"));
    out.S0("Planar Image Map");
    out.End();
    out.BeginSub(FourCC("TFLG"));
    out.U2(4);
    out.End();
    out.BeginSub(FourCC("TIMG"));
    out.S0("images/hull.png");
    out.End();
    out.End();
    out.End();
    Result<LwObject> object = Read(out.Bytes());
    ASSERT_TRUE(object);
    const LwLayer& layer = object->layers[0];
    ASSERT_EQ(layer.polygons.size(), 2u);
    EXPECT_EQ(layer.polygons[1].vertices[2].index, 3u);
    ASSERT_EQ(object->surfaces.size(), 1u);
    const LwSurface& hull = object->surfaces[0];
    EXPECT_EQ(layer.polygons[0].surface, 0);
    EXPECT_FLOAT_EQ(hull.color[2], 0.2f);
    EXPECT_FLOAT_EQ(hull.diffuse, 0.5f);
    ASSERT_EQ(hull.textures.size(), 1u);
    EXPECT_STREQ(hull.textures[0].ProjectionName(), "Planar");
    EXPECT_EQ(hull.textures[0].axis, 2);
    ASSERT_TRUE(object->FindClip(hull.textures[0].clipIndex));
    EXPECT_EQ(object->FindClip(hull.textures[0].clipIndex)->DisplayName(), "images/hull.png");
}

TEST(LwoWriter, WritesObjectAndTexturesThatReadBack) {
    const fs::path folder = fs::path(testing::TempDir()) / "lwo_writer";
    fs::remove_all(folder);
    fs::create_directories(folder);
    Model model;
    for (float x : {0.0f, 1.0f, 1.0f, 0.0f}) {
        ModelVertex& vertex = model.vertices.emplace_back();
        vertex.position[0] = x;
        vertex.position[1] = float(model.vertices.size() > 2);
    }
    model.triangles.resize(3);
    const uint32_t corners[3][3] = {{0, 1, 2}, {0, 2, 3}, {1, 2, 3}};
    for (uint32_t t = 0; t < 3; ++t) {
        model.triangles[t].material = t;
        for (int k = 0; k < 3; ++k) {
            model.triangles[t].corners[k].vertex = corners[t][k];
            model.triangles[t].corners[k].u = 0.125f * float(k + t);
            model.triangles[t].corners[k].v = 0.25f * float(k);
        }
    }
    for (const char* name : {"red/../skin", "blue", "plain"}) model.materials.emplace_back().name = name;
    model.materials[0].texture = SolidTexture(2, 200);
    model.materials[1].texture = SolidTexture(4, 10);
    ASSERT_TRUE(WriteLwoModel(model, folder.string(), "ship"));

    EXPECT_TRUE(fs::exists(folder / "ship.lwo"));
    EXPECT_TRUE(fs::exists(folder / "red_.._skin.png"));
    EXPECT_TRUE(fs::exists(folder / "blue.png"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 3);
    const std::string text = ReadText(folder / "ship.lwo");
    EXPECT_EQ(CountOf(text, "CLIP"), 2u);
    EXPECT_EQ(CountOf(text, "SURF") - 1, 3u);  // one more in the PTAG type
    EXPECT_EQ(text.size() % 2, 0u);

    LwoConversionNotes notes;
    Result<Model> read = ModelFromLwoFile((folder / "ship.lwo").string(), &notes);
    ASSERT_TRUE(read) << read.error();
    const Model& back = *read;
    EXPECT_TRUE(notes.unreadTextures.empty());
    ASSERT_EQ(back.vertices.size(), 4u);
    EXPECT_FLOAT_EQ(back.vertices[1].position[0], 1.0f);
    ASSERT_EQ(back.triangles.size(), 3u);
    for (uint32_t t = 0; t < 3; ++t) {
        EXPECT_EQ(back.triangles[t].material, t);
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(back.triangles[t].corners[k].vertex, corners[t][k]);
            EXPECT_FLOAT_EQ(back.triangles[t].corners[k].u, model.triangles[t].corners[k].u);
            EXPECT_FLOAT_EQ(back.triangles[t].corners[k].v, model.triangles[t].corners[k].v);
        }
    }
    ASSERT_EQ(back.materials.size(), 3u);
    EXPECT_EQ(back.materials[1].label, "blue.png");
    ASSERT_TRUE(back.materials[1].HasTexture());
    EXPECT_EQ(back.materials[1].texture.pixels, model.materials[1].texture.pixels);
    EXPECT_FALSE(back.materials[2].HasTexture());

    // A texture whose pixels do not match its size is no texture at all.
    ModelMaterial uneven;
    uneven.texture = SolidTexture(2, 1);
    uneven.texture.pixels.pop_back();
    EXPECT_FALSE(uneven.HasTexture());

    // A model that names a vertex it does not have is refused and writes nothing.
    model.triangles[0].corners[0].vertex = 4;
    EXPECT_FALSE(WriteLwoModel(model, folder.string(), "broken"));
    EXPECT_FALSE(fs::exists(folder / "broken.lwo"));
}

TEST(LwoWriter, LoadsInAssimp) {
    if (std::system("command -v assimp >/dev/null 2>&1") != 0) GTEST_SKIP() << "assimp not installed";
    const fs::path folder = fs::path(testing::TempDir()) / "lwo_assimp";
    fs::remove_all(folder);
    fs::create_directories(folder);
    Model model;
    for (int i = 0; i < 6; ++i) {
        ModelVertex& vertex = model.vertices.emplace_back();
        vertex.position[0] = float(i % 3);
        vertex.position[1] = float(i / 3);
        vertex.position[2] = float(i % 2);
    }
    const uint32_t corners[4][3] = {{0, 1, 4}, {0, 4, 3}, {1, 2, 5}, {1, 5, 4}};
    for (uint32_t t = 0; t < 4; ++t) {
        ModelTriangle& triangle = model.triangles.emplace_back();
        triangle.material = t / 2;
        for (int k = 0; k < 3; ++k) triangle.corners[k].vertex = corners[t][k];
    }
    model.materials.emplace_back().name = "Left";
    model.materials.emplace_back().name = "Right";
    model.materials[0].texture = SolidTexture(2, 90);
    ASSERT_TRUE(WriteLwoModel(model, folder.string(), "strip"));
    const std::string report = (folder / "report.txt").string();
    const std::string command = "cd '" + folder.string() + "' && assimp info strip.lwo > report.txt 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << ReadText(report);
    const std::string text = ReadText(report);
    auto number = [&](const char* label) {
        std::smatch match;
        const std::regex pattern(std::string(label) + ":\\s*(\\d+)");
        return std::regex_search(text, match, pattern) ? std::stoi(match[1]) : -1;
    };
    EXPECT_EQ(number("Faces"), 4) << text;
    EXPECT_EQ(number("Materials"), 2) << text;
    // Assimp splits vertices per face corner.
    EXPECT_EQ(number("Vertices"), 12) << text;
}
