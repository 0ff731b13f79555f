#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "models/3DMFModel.h"
#include "models/ModelFrom3DMF.h"

using namespace tamber::base;
using namespace tamber::models;

namespace {

struct Parsed {
    bool ok = false;
    std::string error;
    std::vector<ParsedMesh> meshes;
};

Parsed ParseText(std::string text) {
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back(0);
    TextTokenizer tokenizer;
    tokenizer.Tokenize(buffer.data(), text.size());
    x3DMFParser parser;
    Parsed result;
    result.ok = parser.Parse(tokenizer.Tokens());
    result.error = parser.Error();
    result.meshes = std::move(parser.Meshes());
    return result;
}

const char kSquareMesh[] =
    "TriMesh ( 2 0 0 0 4 0\n"
    "  0 1 2\n  0 2 3\n"
    "  -1 0 0  -1 1 0  -2 1 0  -2 0 0\n"
    "  -2 0 0 -1 1 0 False )\n";

}  // namespace

TEST(TextTokenizer, LinesColumnsAndComments) {
    std::string text = "  alpha #beta\r\n# TriMesh ( 1\n\tgamma";
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back(0);
    TextTokenizer tokenizer;
    tokenizer.Tokenize(buffer.data(), text.size());
    const auto& tokens = tokenizer.Tokens();
    ASSERT_EQ(tokens.size(), 3u);
    EXPECT_STREQ(tokens[0].text, "alpha");
    EXPECT_EQ(tokens[0].column, 2u);
    EXPECT_EQ(tokens[0].line, 1u);
    EXPECT_STREQ(tokens[1].text, "#beta");  // '#' inside a line is an ordinary character
    EXPECT_EQ(tokens[1].length, 5u);
    EXPECT_STREQ(tokens[2].text, "gamma");
    EXPECT_EQ(tokens[2].column, 1u);
    EXPECT_EQ(tokens[2].line, 4u);  // CR and LF each end a line; the comment line gives nothing

    std::string words = "one # three";
    std::vector<char> wordBuffer(words.begin(), words.end());
    wordBuffer.push_back(0);
    tokenizer.Tokenize(wordBuffer.data(), words.size());
    EXPECT_EQ(tokenizer.Tokens().size(), 3u);
    tokenizer.Tokenize(wordBuffer.data(), 0);
    EXPECT_TRUE(tokenizer.Tokens().empty());
}

TEST(x3DMFParser, SkipsEverythingButKnownObjects) {
    Parsed headerOnly = ParseText("3DMetafile");
    EXPECT_TRUE(headerOnly.ok);
    EXPECT_TRUE(headerOnly.meshes.empty());

    Parsed withHeader = ParseText(std::string("3DMetafile ( 1 6 Normal tableofcontents0> )\n"
                                              "Container (\n  Group ( )\n") +
                                  kSquareMesh + "# TriMesh ( in a comment\n  Shader ( ) )\n");
    ASSERT_TRUE(withHeader.ok) << withHeader.error;
    ASSERT_EQ(withHeader.meshes.size(), 1u);
    const ParsedMesh& mesh = withHeader.meshes[0];
    ASSERT_EQ(mesh.triangles.size(), 2u);
    EXPECT_EQ(mesh.triangles[0], (std::array<int32_t, 3>{0, 2, 1}));
    EXPECT_EQ(mesh.triangles[1], (std::array<int32_t, 3>{0, 3, 2}));
    ASSERT_EQ(mesh.points.size(), 4u);
    EXPECT_FLOAT_EQ(mesh.points[2][0], -2.0f);

    // Objects of data before the first mesh touch nothing.
    Parsed early = ParseText("3DMetafile AttributeArray ( 2 0 2 0 0 ) PixmapTexture");
    EXPECT_TRUE(early.ok);
    EXPECT_TRUE(early.meshes.empty());
}

TEST(x3DMFParser, AttributeArrays) {
    Parsed uv = ParseText(std::string("3DMetafile ") +
                          "TriMesh ( 1 0 0 0 3 0 0 1 2 0 0 0 1 0 0 0 1 0 0 0 0 1 1 0 False )\n"
                          "AttributeArray ( 2 0 2 0 0 0.25 0.25 1 0 0.5 1 )\n"
                          "AttributeArray ( 3 0 0 0 0 0 0 1 )\n"
                          "AttributeArray ( 3 0 2 0 0 0 0 1 0 0 1 0 0 1 )\n");
    ASSERT_TRUE(uv.ok) << uv.error;
    const ParsedMesh& mesh = uv.meshes[0];
    ASSERT_EQ(mesh.textureCoords.size(), 3u);
    EXPECT_FLOAT_EQ(mesh.textureCoords[0][0], 0.25f);
    EXPECT_FLOAT_EQ(mesh.textureCoords[0][1], 0.75f);
    EXPECT_FLOAT_EQ(mesh.textureCoords[1][1], 1.0f);
    ASSERT_EQ(mesh.triangleNormals.size(), 1u);
    EXPECT_FLOAT_EQ(mesh.triangleNormals[0][2], 1.0f);

    Parsed unknown = ParseText(std::string("3DMetafile ") + kSquareMesh + "\nAttributeArray ( 1 0 2 0 0 )");
    EXPECT_FALSE(unknown.ok);
    EXPECT_EQ(unknown.error, "AttributeArray at line 7: unknown attribute/geometry type combination 1:2");
}

TEST(x3DMFParser, ErrorMessages) {
    Parsed eof = ParseText("3DMetafile TriMesh ( 1 0 0 0 3 0 0 1 2 0 0 0 1 0");
    EXPECT_FALSE(eof.ok);
    EXPECT_EQ(eof.error, "unexpected EOF.");

    Parsed eofKeyword = ParseText("3DMetafile TriMesh");
    EXPECT_EQ(eofKeyword.error, "unexpected EOF; expected '('");

    Parsed notInteger = ParseText("3DMetafile TriMesh (\n  1 zero");
    EXPECT_EQ(notInteger.error, "line 2 col 4: found 'zero'; expected <integer>");

    Parsed notDouble = ParseText("3DMetafile TriMesh ( 0 0 0 0 1 0 x");
    EXPECT_EQ(notDouble.error, "line 1 col 33: found 'x'; expected <double>");

    Parsed notBoolean = ParseText("3DMetafile TriMesh ( 0 0 0 0 0 0 0 0 0 1 1 1 Maybe )");
    EXPECT_EQ(notBoolean.error, "line 1 col 45: found 'Maybe'; expected 'True' or 'False'");

    Parsed badKeyword = ParseText("3DMetafile TriMesh [");
    EXPECT_FALSE(badKeyword.ok);
    EXPECT_EQ(badKeyword.error.rfind("in 'x3DMFParser::parseTriMesh' at 3DMFModel:", 0), 0u) << badKeyword.error;
    EXPECT_NE(badKeyword.error.find(":\nline 1 col 19: found '['; expected '('"), std::string::npos);

    Parsed notMetafile = ParseText("TriMesh");
    EXPECT_FALSE(notMetafile.ok);
    EXPECT_NE(notMetafile.error.find("x3DMFParser::parse3DMetaFile"), std::string::npos);

    // Integers are read like "%d": trailing characters are ignored, overflow is refused.
    EXPECT_TRUE(ParseText("3DMetafile TriMesh ( 0x 0 0 0 0 0 0 0 0 0 0 0 True )").ok);
    EXPECT_FALSE(ParseText("3DMetafile TriMesh ( 99999999999 0 0 0 0 0 0 0 0 0 0 0 True )").ok);
}

TEST(x3DMFParser, Pixmaps) {
    const std::string mesh = "3DMetafile TriMesh ( 0 0 0 0 0 0 0 0 0 0 0 0 False )\n";
    Parsed rgb16 = ParseText(mesh + "PixmapTexture ( 3 1 6 16 RGB16 BigEndian BigEndian\n"
                                    "0x7FFF8000001F03E07C0000000000ffff )");
    ASSERT_TRUE(rgb16.ok) << rgb16.error;
    const ParsedPixmap& small = rgb16.meshes[0].pixmap;
    ASSERT_EQ(small.pixels.size(), 12u);
    const uint8_t expected[12] = {248, 248, 248, 255, 0, 0, 0, 255, 0, 0, 248, 255};
    EXPECT_EQ(0, std::memcmp(small.pixels.data(), expected, 12));

    Parsed argb = ParseText(mesh + "PixmapTexture ( 2 2 16 32 ARGB32 BigEndian BigEndian\n"
                                   "0x80112233FF445566000000000a0B0c0D\n0xzz000000000000000000000000000000 )");
    ASSERT_TRUE(argb.ok);
    EXPECT_EQ(argb.error, "line 4 col 0: found '0xzz000000000000000000000000000000'; expected <128 bit hex constant>");
    const uint8_t* p = argb.meshes[0].pixmap.pixels.data();
    EXPECT_EQ(p[0], 0x11);
    EXPECT_EQ(p[3], 0x80);
    EXPECT_EQ(p[4], 0x44);
    EXPECT_EQ(p[7], 0xFF);
    EXPECT_EQ(p[12], 0x0B);
    EXPECT_EQ(p[15], 0x0A);

    Parsed unknownType = ParseText(mesh + "PixmapTexture ( 1 1 16 8 Indexed8 BigEndian BigEndian 0x00 )");
    EXPECT_TRUE(unknownType.ok);
    EXPECT_EQ(unknownType.error, "PixmapTexture at line 2: unknown pixel type 'Indexed8'");

    // A size its data cannot hold is refused before anything is allocated.
    Parsed huge = ParseText(mesh + "PixmapTexture ( 100000 100000 4 32 ARGB32 BigEndian BigEndian )");
    EXPECT_FALSE(huge.ok);
    Parsed shortData = ParseText(mesh + "PixmapTexture ( 4 4 16 32 ARGB32 BigEndian BigEndian 0x0 )");
    EXPECT_EQ(shortData.error, "unexpected EOF.");
}

TEST(ModelFrom3DMF, MeshesBecomeOneModel) {
    const std::string path = testing::TempDir() + "/two_meshes.3dmf";
    {
        std::ofstream out(path);
        out << "3DMetafile ( 1 6 Normal toc> )\n"
               "TriMesh ( 2 0 0 0 4 0 0 1 3 0 4 1\n"
               "-1 0 0 -2 0 0 -2 1 0 -1 1 5  0 0 0 0 0 0 False )\n"
               "AttributeArray ( 2 0 2 0 0 0 0 1 0 1 1 0.5 0.5 )\n"
               "TriMesh ( 2 0 0 0 3 0 0 1 2 0 1 3 -3 -1 -1 -4 0 0 -3 2 0  0 0 0 0 0 0 False )\n"
               "AttributeArray ( 2 0 2 0 0 0.5 0 0.5 0.5 1 1 )\n"
               "PixmapTexture ( 1 1 4 32 ARGB32 BigEndian BigEndian 0xFF0000FF000000000000000000000000 )\n";
    }
    Result<Model> model = ModelFrom3DMF(path);
    ASSERT_TRUE(model) << model.error();
    EXPECT_EQ(model->vertices.size(), 7u);
    ASSERT_EQ(model->triangles.size(), 3u);
    ASSERT_EQ(model->materials.size(), 2u);
    EXPECT_EQ(model->materials[1].name, "Pixmap1");
    EXPECT_EQ(model->materials[1].label, "Pixmap1");
    EXPECT_FALSE(model->materials[0].HasTexture());
    ASSERT_TRUE(model->materials[1].HasTexture());
    EXPECT_EQ(model->materials[1].texture.pixels[2], 0xFF);  // blue

    const ModelTriangle& first = model->triangles[0];
    EXPECT_EQ(first.corners[1].vertex, 3u);
    EXPECT_FLOAT_EQ(first.corners[1].u, 0.5f);
    EXPECT_FLOAT_EQ(first.corners[1].v, 0.5f);
    // A point index equal to the mesh's point count takes no texture coordinates.
    const ModelTriangle& outside = model->triangles[1];
    EXPECT_EQ(outside.corners[2].vertex, 4u);
    EXPECT_FLOAT_EQ(outside.corners[0].u, 0.0f);
    EXPECT_FLOAT_EQ(outside.corners[1].v, 0.0f);
    // The second mesh's corners are offset by the first mesh's 4 points; its
    // triangle naming a point past every mesh is dropped.
    const ModelTriangle& second = model->triangles[2];
    EXPECT_EQ(second.material, 1u);
    EXPECT_EQ(second.corners[0].vertex, 4u);
    EXPECT_EQ(second.corners[1].vertex, 6u);
    EXPECT_FLOAT_EQ(second.corners[2].v, 0.5f);

    // The whole model lies at negative x.
    EXPECT_FLOAT_EQ(model->boundsMax[0], -1.0f);
    EXPECT_FLOAT_EQ(model->boundsMin[0], -4.0f);
    EXPECT_FLOAT_EQ(model->boundsMax[2], 5.0f);

    Result<Model> missing = ModelFrom3DMF(path + ".missing");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().rfind("Input file failed to open. ", 0), 0u) << missing.error();
    EXPECT_NE(missing.error().find("No such file"), std::string::npos) << missing.error();
}
