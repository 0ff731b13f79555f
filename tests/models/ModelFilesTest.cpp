// Model files as a stranger or a failing disk gives them: special files, files
// too large to read, metafiles without a mesh, and textures that cannot be written.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

#include "models/LwObject.h"
#include "models/LwoWriter.h"
#include "models/ModelFrom3DMF.h"

using namespace tamber::base;
using namespace tamber::images;
using namespace tamber::models;

namespace fs = std::filesystem;

namespace {

fs::path FreshFolder(const char* name) {
    const fs::path folder = fs::path(testing::TempDir()) / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

// One triangle with one textured material.
Model TexturedTriangle(const char* materialName) {
    Model model;
    model.vertices.resize(3);
    model.vertices[1].position[0] = 1;
    model.vertices[2].position[1] = 1;
    ModelTriangle& triangle = model.triangles.emplace_back();
    for (uint32_t k = 0; k < 3; ++k) triangle.corners[k].vertex = k;
    ModelMaterial& material = model.materials.emplace_back();
    material.name = materialName;
    material.texture.format = kPixelRGBA;
    material.texture.width = material.texture.height = 2;
    material.texture.pixels.assign(16, 200);
    return model;
}

TEST(ModelFiles, SpecialAndOversizedInputsAreRefusedAtOnce) {
    const fs::path folder = FreshFolder("model_special_inputs");
    const std::string fifo = (folder / "fifo").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // A sparse file one byte past the limit: refused before anything is read.
    const std::string huge = (folder / "huge.3dmf").string();
    { std::ofstream(huge) << "3DMetafile"; }
    fs::resize_file(huge, kMaxModelFileBytes + 1);
    // Opening the FIFO for reading would wait for a writer forever: the alarm
    // ends the run instead.
    alarm(20);
    for (const std::string& path : {fifo, folder.string(), huge}) {
        SCOPED_TRACE(path);
        Result<Model> metafile = ModelFrom3DMF(path);
        ASSERT_FALSE(metafile);
        EXPECT_NE(metafile.error().find(path), std::string::npos) << metafile.error();
        Result<LwObject> object = ReadLwObjectFile(path);
        ASSERT_FALSE(object);
        EXPECT_NE(object.error().find(path), std::string::npos) << object.error();
    }
    alarm(0);
}

TEST(ModelFiles, AMetafileWithoutAMeshIsAnError) {
    const fs::path folder = FreshFolder("model_no_mesh");
    const std::string path = (folder / "empty.3dmf").string();
    { std::ofstream(path) << "3DMetafile"; }
    Result<Model> model = ModelFrom3DMF(path);
    ASSERT_FALSE(model);
    EXPECT_NE(model.error().find("no mesh"), std::string::npos) << model.error();

    // One mesh is enough, and a malformed pixmap token is a warning, not a failure.
    { std::ofstream(path) << "3DMetafile ( 1 6 Normal toc> )\n"
                             "TriMesh ( 1 0 0 0 3 0  0 1 2  0 0 0 1 0 0 0 1 0  0 0 0 1 1 0 False )\n"
                             "PixmapTexture ( 1 1 4 32 ARGB32 BigEndian BigEndian 0xNOTHEX )\n"; }
    std::string warning;
    model = ModelFrom3DMF(path, &warning);
    ASSERT_TRUE(model) << model.error();
    EXPECT_EQ(model->triangles.size(), 1u);
    EXPECT_NE(warning.find("128 bit hex"), std::string::npos) << warning;
}

TEST(ModelFiles, ATextureThatCannotBeWrittenFailsTheObjectAndSaysWhich) {
    const fs::path folder = FreshFolder("model_texture_failure");
    // A folder where the texture file should go: the rename over it fails.
    fs::create_directories(folder / "hull.png");
    Status written = WriteLwoModel(TexturedTriangle("hull"), folder.string(), "ship");
    ASSERT_FALSE(written);
    EXPECT_NE(written.error().find("hull.png"), std::string::npos) << written.error();
    EXPECT_FALSE(fs::exists(folder / "ship.lwo"));

    // A texture that no PNG can hold names its material.
    Model odd = TexturedTriangle("glass");
    odd.materials[0].texture.format = kPixelPalettedAlpha;
    odd.materials[0].texture.pixels.resize(8);
    ASSERT_TRUE(odd.materials[0].HasTexture());
    written = WriteLwoModel(odd, folder.string(), "odd");
    ASSERT_FALSE(written);
    EXPECT_NE(written.error().find("glass"), std::string::npos) << written.error();
    EXPECT_FALSE(fs::exists(folder / "odd.lwo"));

    EXPECT_TRUE(WriteLwoModel(TexturedTriangle("deck"), folder.string(), "ship"));
    EXPECT_TRUE(fs::exists(folder / "ship.lwo"));
    EXPECT_TRUE(fs::is_regular_file(folder / "deck.png"));
}

}  // namespace
