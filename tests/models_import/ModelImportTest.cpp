#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/MessageLog.h"
#include "collections/CollectionFile.h"
#include "models/IffWriter.h"
#include "models/import/CollectionReference.h"
#include "models/import/Footprint.h"
#include "models/import/GeometryPayload.h"
#include "models/import/ModelFromGeometry.h"
#include "models/import/ModelImport.h"
#include "models/import/ModelPayload.h"
#include "tags/Codex.h"
#include "tests/models/LwoChunks.h"
#include "tests/support/ScratchFolder.h"

using namespace tamber::base;
using namespace tamber::collections;
using namespace tamber::models;
using namespace tamber::models::import;
using namespace tamber::tags;

namespace fs = std::filesystem;

namespace {

// Two meshes of 4 and 3 points; the second triangle of each names a point
// past its mesh (the first's stays inside the model, the second's does not).
const char kTwoMeshes[] =
    "3DMetafile ( 1 6 Normal toc> )\n"
    "TriMesh ( 2 0 0 0 4 0 0 1 3 0 4 1\n"
    "-1 0 0 -2 0 0 -2 1 0 -1 1 5  0 0 0 0 0 0 False )\n"
    "AttributeArray ( 2 0 2 0 0 0 0 1 0 1 1 0.5 0.5 )\n"
    "TriMesh ( 2 0 0 0 3 0 0 1 2 0 1 3 -3 -1 -1 -4 0 0 -3 2 0  0 0 0 0 0 0 False )\n"
    "AttributeArray ( 2 0 2 0 0 0.5 0 0.5 0.5 1 1 )\n"
    "PixmapTexture ( 1 1 4 32 ARGB32 BigEndian BigEndian 0xFF0000FF000000000000000000000000 )\n";

uint16_t U16(const std::vector<uint8_t>& b, size_t at) { return uint16_t(b.at(at) << 8 | b.at(at + 1)); }
int16_t I16(const std::vector<uint8_t>& b, size_t at) { return int16_t(U16(b, at)); }
uint32_t U32(const std::vector<uint8_t>& b, size_t at) { return uint32_t(U16(b, at)) << 16 | U16(b, at + 2); }

class ModelImportTest : public ::testing::Test {
protected:
    void SetUp() override {
        MessageLog::Instance().Clear();
        fs::create_directories(game.Path() + "/local");
        codex.Init(game.Path());
    }

    std::string Write(const std::string& name, const std::string& text) {
        std::ofstream(game / name, std::ios::binary) << text;
        return game / name;
    }
    std::vector<uint8_t> Payload(TagRecord* record) {
        Result<std::vector<uint8_t>> bytes = ReadCurrentTagData(codex, record);
        EXPECT_TRUE(bytes) << bytes.error();
        return bytes ? *bytes : std::vector<uint8_t>{};
    }
    std::string Log() const {
        const MessageLog::Channel* channel = MessageLog::Instance().Find(kModelImportChannel);
        return channel ? channel->text : "";
    }
    size_t LooseTagCount() const { return codex.LocalTags().size(); }

    Scratch game;
    Codex codex;
};

}  // namespace

TEST_F(ModelImportTest, MetafileBecomesFourTagsLaidOutByteForByte) {
    const std::string path = Write("two meshes.3dmf", kTwoMeshes);
    Result<ModelTags> tags = ImportModelFile(codex, path, "", false);
    ASSERT_TRUE(tags) << tags.error() << Log();
    EXPECT_EQ(Log(), "Beginning import of '" + path + "' ...\nImport Successful.\n\n");
    for (TagRecord* record : {tags->geometry, tags->collection, tags->reference, tags->model}) {
        ASSERT_TRUE(record && record->localEntry);
        EXPECT_EQ(record->localEntry->header.Name(), "two meshes");
    }
    EXPECT_EQ(tags->geometry->localEntry->header.version, kGeometryTagVersion);
    EXPECT_EQ(tags->model->localEntry->header.version, kModelTagVersion);
    EXPECT_EQ(tags->reference->localEntry->header.version, kCollectionReferenceTagVersion);
    EXPECT_EQ(tags->collection->localEntry->header.version, kCollectionTagVersion);

    // The collection reference.
    const std::vector<uint8_t> core = Payload(tags->reference);
    ASSERT_EQ(core.size(), 384u);
    EXPECT_EQ(U32(core, 0), tags->collection->tagid);
    EXPECT_EQ(U32(core, 4), 1u);
    EXPECT_EQ(std::count(core.begin() + 8, core.begin() + 332, 0xFF), 324);
    EXPECT_EQ(std::count(core.begin() + 332, core.end(), 0), 52);

    // The geometry: header, then materials, vertices and triangles.
    const std::vector<uint8_t> geom = Payload(tags->geometry);
    ASSERT_EQ(geom.size(), 128u + 2 * 64 + 7 * 6 + 3 * 64);
    EXPECT_EQ(U32(geom, 0), 0u);
    EXPECT_EQ(U32(geom, 4), tags->reference->tagid);
    EXPECT_EQ(U16(geom, 8), 2);
    EXPECT_EQ(U16(geom, 10), 7);
    EXPECT_EQ(U16(geom, 12), 3);
    EXPECT_EQ(std::count(geom.begin() + 14, geom.begin() + 28, 0), 14);
    const uint32_t places[3][2] = {{0, 128}, {128, 42}, {170, 192}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(U32(geom, 28 + 12 * size_t(i)), places[i][0]);
        EXPECT_EQ(U32(geom, 32 + 12 * size_t(i)), places[i][1]);
    }
    EXPECT_EQ(U32(geom, 76), 128u);
    EXPECT_EQ(U32(geom, 80), 362u);
    // Game x = -512 model x, y = 512 model z, z = 512 model y; each pair ordered.
    const int16_t bounds[6] = {512, -512, -512, 2048, 2560, 1024};
    for (size_t i = 0; i < 6; ++i) EXPECT_EQ(I16(geom, 88 + 2 * i), bounds[i]) << i;
    EXPECT_EQ(std::count(geom.begin() + 100, geom.begin() + 128, 0), 28);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&geom[128 + 64])), "Pixmap1");
    EXPECT_EQ(U16(geom, 128 + 64 + 32), 1);  // its sequence
    const int16_t vertex3[3] = {512, 2560, 512};
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(I16(geom, 256 + 3 * 6 + 2 * i), vertex3[i]);
    // Triangle 2: the second mesh's, corners offset by 4 points.
    const size_t t = 170 + 128 + 2 * 64;
    EXPECT_EQ(U16(geom, t), 0);
    EXPECT_EQ(I16(geom, t + 2), -8758);  // (-2, 3, -1) / sqrt(14) x 16384
    EXPECT_EQ(I16(geom, t + 4), 13136);
    EXPECT_EQ(I16(geom, t + 6), -4379);
    EXPECT_EQ(int32_t(U32(geom, t + 8)), 17935872);
    EXPECT_EQ(U16(geom, t + 24), 0);  // opaque
    EXPECT_EQ(U16(geom, t + 26), 1);  // material
    const uint16_t corners[3][3] = {{65535, 32768, 4}, {0, 65535, 6}, {32768, 32768, 5}};  // v, u, vertex
    for (size_t k = 0; k < 3; ++k) {
        for (size_t w = 0; w < 3; ++w) EXPECT_EQ(U16(geom, t + 28 + 8 * k + 2 * w), corners[k][w]) << k << w;
        EXPECT_EQ(U16(geom, t + 34 + 8 * k), 0);
    }
    const uint16_t tail[6] = {0xFFFF, 0xFFFF, 0xFFFF, 0, 0xFFFF, 0};
    for (size_t w = 0; w < 6; ++w) EXPECT_EQ(U16(geom, t + 52 + 2 * w), tail[w]);
    // Triangle 1 names the first point of the second mesh: no texture coordinates.
    EXPECT_EQ(U16(geom, 128 + 170 + 64 + 28), 0);
    EXPECT_EQ(U16(geom, 128 + 170 + 64 + 30), 0);
    EXPECT_EQ(U16(geom, 128 + 170 + 64 + 48), 4);  // third corner: vertex 4

    // The model: header, 8 zero bytes, vertex flags, one part, the footprint.
    const std::vector<uint8_t> mode = Payload(tags->model);
    ASSERT_EQ(mode.size(), 72u + 7 * 4 + 64 + 45 * 8);
    EXPECT_EQ(U32(mode, 4), tags->geometry->tagid);
    EXPECT_EQ(U16(mode, 10), 7);
    EXPECT_EQ(U16(mode, 12), 1);
    EXPECT_EQ(U16(mode, 14), 45);  // x from 1 to 5, y from -2 to 6
    const uint32_t arrays[3][2] = {{0, 28}, {28, 64}, {92, 360}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(U32(mode, 16 + 12 * i), arrays[i][0]);
        EXPECT_EQ(U32(mode, 20 + 12 * i), arrays[i][1]);
    }
    EXPECT_EQ(U32(mode, 52), 72u);
    EXPECT_EQ(U32(mode, 56), 452u);
    EXPECT_EQ(std::count(mode.begin() + 60, mode.begin() + 72, 0), 12);
    const uint32_t flags[7] = {1, 1, 0, 0, 0, 1, 0};  // game z == 0
    for (size_t i = 0; i < 7; ++i) EXPECT_EQ(U32(mode, 72 + 4 * i), flags[i]);
    EXPECT_EQ(std::count(mode.begin() + 100, mode.begin() + 164, 0), 64);
    auto cell = [&](int x, int y) {
        const size_t at = 164 + size_t((x - 1) * 9 + (y + 2)) * 8;
        EXPECT_EQ(I16(mode, at), x);
        EXPECT_EQ(I16(mode, at + 2), y);
        return U16(mode, at + 4);
    };
    EXPECT_EQ(cell(1, 0), kFootprintCovered);
    EXPECT_EQ(cell(1, 4), kFootprintCovered);
    EXPECT_EQ(cell(3, -1), kFootprintCovered);
    EXPECT_EQ(cell(5, 0), 0);
    EXPECT_EQ(cell(2, 3), 0);
    EXPECT_EQ(cell(1, -2), 0);

    // The collection: one table, a 16-bit bitmap and a one-frame sequence per material.
    const std::vector<uint8_t> textures = Payload(tags->collection);
    Result<std::unique_ptr<Collection>> collection = ReadCollection(textures, 0, true);
    ASSERT_TRUE(collection) << collection.error();
    ASSERT_EQ((*collection)->BitmapCount(), 2);
    ASSERT_EQ((*collection)->SequenceCount(), 2);
    EXPECT_TRUE((*collection)->GetBitmap(1)->Is16Bit());
    EXPECT_EQ((*collection)->GetBitmap(1)->name, "Pixmap1");
    EXPECT_EQ((*collection)->sequences[1].frames.size(), 1u);

    // Back from the tags: the same model, the texture through the reference.
    std::vector<std::string> notes;
    Result<Model> back = ModelFromGeometryTag(codex, tags->geometry, &notes);
    ASSERT_TRUE(back) << back.error();
    EXPECT_TRUE(notes.empty());
    ASSERT_EQ(back->vertices.size(), 7u);
    EXPECT_FLOAT_EQ(back->vertices[3].position[2], 5.0f);
    EXPECT_FLOAT_EQ(back->boundsMax[0], -1.0f);  // the model lies at negative x
    EXPECT_FLOAT_EQ(back->boundsMin[0], -4.0f);
    ASSERT_EQ(back->materials.size(), 2u);
    ASSERT_TRUE(back->materials[1].HasTexture());
    const std::vector<uint8_t> blue = {0, 0, 255, 255};
    EXPECT_EQ(back->materials[1].texture.pixels, blue);
    EXPECT_EQ(back->triangles[2].corners[1].vertex, 6u);
    EXPECT_FLOAT_EQ(back->triangles[2].corners[1].u, 1.0f);
}

TEST_F(ModelImportTest, RefusalsAndFailuresLeaveNoTags) {
    const size_t before = LooseTagCount();
    // Another file type.
    Result<ModelTags> tags = ImportModelFile(codex, Write("notes.txt", "just text"), "", false);
    ASSERT_FALSE(tags);
    EXPECT_EQ(tags.error(), kUnsupportedModelFormat);
    EXPECT_EQ(LooseTagCount(), before);

    // A metafile that does not parse.
    tags = ImportModelFile(codex, Write("cut.3dmf", "3DMetafile TriMesh ( 1 0 0 0 3 0 0 1"), "", false);
    ASSERT_FALSE(tags);
    EXPECT_NE(Log().find("3dmf parsing failed: unexpected EOF."), std::string::npos) << Log();
    EXPECT_NE(Log().find("Import Failed.\n\n"), std::string::npos);

    // A model's tags cannot all be written: the folder for models is a file.
    const std::string path = Write("crate.3dmf", kTwoMeshes);
    std::ofstream(game.Path() + "/local/models") << "in the way";
    MessageLog::Instance().Clear();
    tags = ImportModelFile(codex, path, "", false);
    ASSERT_FALSE(tags);
    EXPECT_EQ(LooseTagCount(), before);
    for (const char* folder : {"geometries", "collections", "collection references"}) {
        const fs::path written = fs::path(game.Path()) / "local" / folder;
        EXPECT_TRUE(!fs::exists(written) || fs::is_empty(written)) << folder;
    }
    EXPECT_NE(Log().find("3DMF -> Model conversion failed. If the target model is already open in Tamber or another "
                         "app, please close it first.\n"),
              std::string::npos)
        << Log();
    fs::remove(game.Path() + "/local/models");

    // A name taken: refused without overwriting, replaced with it.
    ASSERT_TRUE(ImportModelFile(codex, path, "", false));
    const size_t four = LooseTagCount();
    EXPECT_EQ(four, before + 4);
    EXPECT_FALSE(ImportModelFile(codex, path, "", false));
    EXPECT_EQ(LooseTagCount(), four);
    EXPECT_TRUE(ImportModelFile(codex, path, "", true));
    EXPECT_EQ(LooseTagCount(), four);
}

TEST_F(ModelImportTest, LimitsAreRefusedSayingByHowMuch) {
    Model model;
    model.materials.emplace_back().name = "plain";
    model.vertices.resize(65537);
    model.vertices[1].position[0] = 1;
    model.vertices[2].position[1] = 70;  // game z 35840, 3073 past 32767
    model.triangles.push_back({0, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}});
    Result<ModelTags> tags = TagsFromModel(codex, model, "huge", false);
    ASSERT_FALSE(tags);
    EXPECT_NE(tags.error().find("65537 vertices, 2 more than the 65535"), std::string::npos) << tags.error();
    EXPECT_NE(tags.error().find("game z = 35840, 3073 beyond"), std::string::npos) << tags.error();
    EXPECT_EQ(LooseTagCount(), 0u);

    model.vertices.resize(3);
    model.triangles.assign(65536, model.triangles[0]);
    tags = TagsFromModel(codex, model, "huge", false);
    ASSERT_FALSE(tags);
    EXPECT_NE(tags.error().find("65536 triangles, 1 more"), std::string::npos) << tags.error();

    model.triangles.resize(1);
    model.vertices[2].position[1] = -0.5f;
    model.materials.resize(kMaxCollectionMaterials + 3);
    tags = TagsFromModel(codex, model, "huge", false);
    ASSERT_FALSE(tags);
    EXPECT_NE(tags.error().find("65537 materials, 3 more than the 65534 a collection can hold"), std::string::npos)
        << tags.error();
    EXPECT_EQ(LooseTagCount(), 0u);
}

namespace {

// A LightWave object of one triangle whose surface names "missing.png".
std::string ObjectWithMissingImage() {
    IffWriter out;
    out.BeginChunk(FourCC("FORM"));
    out.U4(FourCC("LWO2"));
    out.BeginChunk(FourCC("TAGS"));
    out.S0("Hull");
    out.End();
    lwo_chunks::Points(out, {0, 0, 0, 1, 0, 0, 0, 1, 0});
    lwo_chunks::Polygons(out, FourCC("FACE"), {{0, 1, 2}}, {0});
    lwo_chunks::Clip(out, 1, "../images/missing.png");
    lwo_chunks::Surface(out, "Hull", 1, "");
    out.End();
    return std::string(out.Bytes().begin(), out.Bytes().end());
}

}  // namespace

TEST_F(ModelImportTest, LightWaveObjectWithoutItsTextureImportsAndSaysSo) {
    const std::string path = Write("hull.lwo", ObjectWithMissingImage());
    Result<ModelTags> tags = ImportModelFile(codex, path, "", false);
    ASSERT_TRUE(tags) << tags.error() << Log();
    EXPECT_EQ(Log(), "Beginning import of '" + path + "' ...\nTexture 'missing.png' could not be loaded.\n"
                     "Import Successful.\n\n");
    Result<Model> back = ModelFromGeometryTag(codex, tags->geometry);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->materials.size(), 1u);
    EXPECT_EQ(back->materials[0].name, "Hull");
    // A material without a texture shows plain grey.
    ASSERT_TRUE(back->materials[0].HasTexture());
    EXPECT_EQ(back->materials[0].texture.pixels[0], 192);
}

TEST(GeometryPayload, DamagedPayloadsAreRefused) {
    Geometry geometry;
    geometry.materials.push_back({"m", 0});
    geometry.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    geometry.triangles.emplace_back().vertex = {0, 1, 2};
    std::vector<uint8_t> bytes = WriteGeometryPayload(geometry);
    ASSERT_TRUE(ReadGeometryPayload(bytes));
    EXPECT_FALSE(ReadGeometryPayload(std::span(bytes).first(100)));
    EXPECT_FALSE(ReadGeometryPayload(std::span(bytes).first(bytes.size() - 1)));
    std::vector<uint8_t> badIndex = bytes;
    badIndex[128 + 64 + 18 + 32 + 1] = 3;  // the third corner names vertex 3 of 3
    EXPECT_FALSE(ReadGeometryPayload(badIndex));
    std::vector<uint8_t> badOffset = bytes;
    badOffset[40] = 0x7F;  // vertices far past the end
    EXPECT_FALSE(ReadGeometryPayload(badOffset));
    EXPECT_FALSE(ReadCollectionReference(std::vector<uint8_t>(3)));
}
