#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numbers>

#include "base/Result.h"

#include "images/MediaFile.h"
#include "models/IffWriter.h"
#include "models/ModelFromLwo.h"
#include "models/PolygonTriangulation.h"
#include "tests/models/LwoChunks.h"

using namespace tamber::base;
using namespace tamber::images;
using namespace tamber::models;

namespace fs = std::filesystem;

namespace {

using Corners = std::vector<std::array<float, 3>>;

// Twice the signed area of a triangle in the xy plane.
double Area2(const Corners& c, const CornerTriangle& t) {
    const auto &a = c[t[0]], &b = c[t[1]], &d = c[t[2]];
    return double(b[0] - a[0]) * (d[1] - a[1]) - double(b[1] - a[1]) * (d[0] - a[0]);
}

double PolygonArea2(const Corners& c) {
    double sum = 0;
    for (size_t i = 0; i < c.size(); ++i) {
        const auto &a = c[i], &b = c[(i + 1) % c.size()];
        sum += double(a[0]) * b[1] - double(b[0]) * a[1];
    }
    return sum;
}

// Every triangle keeps the polygon's winding and together they cover its area.
void ExpectCovers(const Corners& corners, const std::vector<CornerTriangle>& triangles) {
    ASSERT_EQ(triangles.size(), corners.size() - 2);
    double total = 0;
    for (const CornerTriangle& t : triangles) {
        EXPECT_GE(Area2(corners, t), -1e-9);
        total += Area2(corners, t);
    }
    EXPECT_NEAR(total, PolygonArea2(corners), 1e-4);
}

}  // namespace

TEST(PolygonTriangulation, TrianglesFansAndEars) {
    EXPECT_TRUE(TriangulatePolygon(Corners{{0, 0, 0}, {1, 0, 0}}).empty());
    EXPECT_EQ(TriangulatePolygon(Corners{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}), (std::vector<CornerTriangle>{{0, 1, 2}}));

    // A 66-corner disc: a fan of 64 triangles covering it, not one sliver.
    Corners disc;
    for (int i = 0; i < 66; ++i) {
        const double angle = 2 * std::numbers::pi * i / 66;
        disc.push_back({float(std::cos(angle)), float(std::sin(angle)), 0});
    }
    ExpectCovers(disc, TriangulatePolygon(disc));

    // Concave: an L and a comb, counter-clockwise; a fan from corner 0 would
    // cover ground outside them.
    const Corners l{{0, 0, 0}, {2, 0, 0}, {2, 1, 0}, {1, 1, 0}, {1, 2, 0}, {0, 2, 0}};
    ExpectCovers(l, TriangulatePolygon(l));
    const Corners comb{{0, 0, 0}, {5, 0, 0}, {5, 2, 0}, {4, 2, 0}, {4, 1, 0}, {3, 1, 0},
                       {3, 2, 0}, {2, 2, 0}, {2, 1, 0}, {1, 1, 0}, {1, 2, 0}, {0, 2, 0}};
    ExpectCovers(comb, TriangulatePolygon(comb));
    const Corners dart{{1, 1, 0}, {0, 0, 0}, {2, 0.5f, 0}, {0, 3, 0}};  // concave at corner 0
    ExpectCovers(dart, TriangulatePolygon(dart));

    // The same L standing in the yz plane, wound the other way round.
    Corners upright;
    for (auto it = l.rbegin(); it != l.rend(); ++it) upright.push_back({0, (*it)[0], (*it)[1]});
    EXPECT_EQ(TriangulatePolygon(upright).size(), 4u);

    // A polygon crossing itself, or one with no area, still ends.
    EXPECT_EQ(TriangulatePolygon(Corners{{0, 0, 0}, {1, 1, 0}, {1, 0, 0}, {0, 1, 0}, {0.5f, 2, 0}}).size(), 3u);
    EXPECT_EQ(TriangulatePolygon(Corners{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}}).size(), 2u);
}

namespace {

// One layer with a quad patch (PTCH), a curve (CURV) and a subdivision
// triangle (SUBD); the surface's image is named with "../" in front.
std::vector<uint8_t> PatchObject(const std::string& imageName) {
    IffWriter out;
    out.BeginChunk(FourCC("FORM"));
    out.U4(FourCC("LWO2"));
    out.BeginChunk(FourCC("TAGS"));
    out.S0("Cage");
    out.End();
    lwo_chunks::Points(out, {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0});
    lwo_chunks::Polygons(out, FourCC("PTCH"), {{0, 1, 2, 3}}, {0});
    lwo_chunks::Polygons(out, FourCC("CURV"), {{0, 1, 2}}, {0});
    lwo_chunks::Polygons(out, FourCC("SUBD"), {{0, 1, 2}}, {0});
    lwo_chunks::Clip(out, 1, imageName);
    lwo_chunks::Surface(out, "Cage", 1, "");
    out.End();
    return out.Bytes();
}

void WriteTexture(const fs::path& path) {
    Image image;
    ASSERT_TRUE(CreateImage(image, 2, 2, kPixelRGBA));
    MediaFile file(path.string());
    file.image = image;
    ASSERT_TRUE(SaveImage(file));
}

}  // namespace

TEST(ModelFromLwo, PatchesAreFacesAndTexturesStayInTheObjectsFolder) {
    const fs::path root = fs::path(testing::TempDir()) / "lwo_patches";
    fs::remove_all(root);
    fs::create_directories(root / "object");
    WriteTexture(root / "outside.png");  // beside the object's folder, not in it

    const std::vector<uint8_t> bytes = PatchObject("../outside.png");
    Result<LwObject> object = ReadLwObject(bytes.data(), bytes.size());
    ASSERT_TRUE(object) << object.error();
    LwoConversionNotes notes;
    Model model = ModelFromLwObject(*object, (root / "object").string(), &notes);
    EXPECT_EQ(model.triangles.size(), 3u);  // the patch's two and the subdivision triangle
    EXPECT_EQ(notes.skippedPolygons, 1u);   // the curve
    ASSERT_EQ(model.materials.size(), 1u);
    EXPECT_FALSE(model.materials[0].HasTexture());
    EXPECT_EQ(notes.unreadTextures, (std::vector<std::string>{"outside.png"}));

    WriteTexture(root / "object" / "outside.png");
    notes = {};
    model = ModelFromLwObject(*object, (root / "object").string(), &notes);
    EXPECT_TRUE(model.materials[0].HasTexture());
    EXPECT_TRUE(notes.unreadTextures.empty());
    // An absolute name is looked up in the folder as well.
    const std::vector<uint8_t> absolute = PatchObject((root / "outside.png").string());
    object = ReadLwObject(absolute.data(), absolute.size());
    ASSERT_TRUE(object);
    EXPECT_EQ(ModelFromLwObject(*object, (root / "elsewhere").string(), &notes).materials[0].HasTexture(), false);
}
