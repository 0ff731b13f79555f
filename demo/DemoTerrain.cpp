// The mesh "demo valley" (tagid `tval`) names the colour map `tval` and the media
// `twat`; its detail map `tval` is a loose version-2 file. The loose version-1
// detail map `told` belongs to the version-10 mesh "demo old valley" and refers
// to the detail texture `lava`, which does not exist, so building a detail-texture
// add-on from the local folder stops with its error.
#include "demo/DemoTerrain.h"

#include <algorithm>
#include <cassert>
#include <cmath>

#include "collections/BigEndianWriter.h"
#include "collections/Collection.h"
#include "demo/DemoCollections.h"
#include "tags/FourCC.h"
#include "terrain/DetailMap.h"
#include "terrain/DetailTexture.h"
#include "terrain/Mesh.h"

namespace tamber::demo {
using namespace tamber::base;
using namespace tamber::collections;
using namespace tamber::tags;
using namespace tamber::terrain;

namespace {

constexpr int kBlocks = 2;
constexpr int kSide = kBlocks * kMeshBlockCells;

double Ground(int x, int z) { return 900 * std::sin(x * 0.15) * std::cos(z * 0.11) + 40.0 * (x % 3); }
bool Lake(int x, int z) { return (x - 20) * (x - 20) + (z - 40) * (z - 40) < 90; }

Mesh Valley() {
    Mesh mesh;
    mesh.colourMap = FourCC("tval");
    mesh.media = FourCC("twat");
    mesh.blocksWide = mesh.blocksHigh = kBlocks;
    mesh.width = mesh.height = kSide;
    mesh.shading = {96, 160, {65535, 60000, 30000}, 0x8000};
    for (int z = 0; z < kSide; ++z)
        for (int x = 0; x < kSide; ++x) {
            MeshCell cell;
            cell.height = int16_t(Ground(x, z));
            const int slope = int(std::abs(Ground(x + 1, z) - Ground(x, z)));
            const int type = Lake(x, z) ? 1 : slope > 120 ? 5 : slope > 60 ? 4 : (x + z) % 7 == 0 ? 7 : 6;
            cell.flags = uint16_t(type << 4 | type);
            if (Lake(x, z)) {
                cell.flags |= kCellFirstReflective | kCellSecondReflective;
                cell.media = int16_t(Ground(20, 40) + 200);
            }
            mesh.cells.push_back(cell);
        }
    return mesh;
}

// Two 256 x 256 8-bit bitmaps per block: colour indices, then shades.
Collection ColourMap() {
    Collection c;
    c.flags = kCollectionColourMap;
    for (int i = 0; i < 256; ++i) {
        uint8_t* p = &c.palette[size_t(i) * 3];
        p[0] = uint8_t(60 + i / 3);
        p[1] = uint8_t(90 + i / 2);
        p[2] = uint8_t(40 + i / 5);
    }
    for (int block = 0; block < kBlocks * kBlocks; ++block)
        for (int layer = 0; layer < 2; ++layer) {
            auto bitmap = std::make_shared<Bitmap>();
            bitmap->name = (layer ? "shade " : "colour ") + std::to_string(block);
            bitmap->width = bitmap->height = 256;
            bitmap->pixels.resize(256 * 256 * 2);
            for (int y = 0; y < 256; ++y)
                for (int x = 0; x < 256; ++x) {
                    const int gx = (block % kBlocks) * 256 + x, gz = (block / kBlocks) * 256 + y;
                    const int v = layer ? 128 + int(Ground(gx / 8, gz / 8) / 8)
                                        : int(127 + 120 * std::sin(gx * 0.02) * std::cos(gz * 0.03));
                    uint8_t* p = &bitmap->pixels[(size_t(y) * 256 + size_t(x)) * 2];
                    p[1] = uint8_t(std::clamp(v, 1, 255));
                    p[0] = 255;
                }
            [[maybe_unused]] const base::Status encoded = bitmap->Encode();
            assert(encoded.ok());  // paletted pixels always encode
            c.bitmaps.push_back(bitmap);
        }
    return c;
}

std::vector<uint8_t> Media() {
    std::vector<uint8_t> data(256, 0);
    BigEndianWriter out(data);
    out.Seek(104);
    for (uint16_t word : {40, 80, 25, 300, 500, 350})
        out.U16(word);
    return data;
}

DetailTexture Texture(uint32_t side, uint8_t red, uint8_t green, uint8_t blue, int grain) {
    DetailTexture texture;
    texture.width = texture.height = side;
    for (uint32_t y = 0; y < side; ++y)
        for (uint32_t x = 0; x < side; ++x) {
            const int n = int((x * 7919 + y * 104729 + x * y * 31) % 97) - 48;
            const int wave = int(20 * std::sin(x * 6.2832 / side * 3) * std::sin(y * 6.2832 / side * 2));
            for (uint8_t base : {red, green, blue})
                texture.pixels.push_back(uint8_t(std::clamp(base + wave + n * grain / 48, 0, 255)));
        }
    return texture;
}

DemoTag Tag(uint32_t group, const std::string& name, uint32_t tagid, std::vector<uint8_t> data, uint16_t version) {
    DemoTag tag;
    tag.group = group;
    tag.name = name;
    tag.tagid = tagid;
    tag.data = std::move(data);
    tag.version = version;
    return tag;
}

DemoTag TextureTag(const std::string& name, const char (&tagid)[5], const DetailTexture& texture) {
    // The demo textures are made with power-of-two sides, so they always store.
    base::Result<std::vector<uint8_t>> payload = WriteDetailTexture(texture);
    assert(payload.ok());
    return Tag(FourCC("dtex"), name, FourCC(tagid), payload ? std::move(payload).value() : std::vector<uint8_t>{}, 1);
}

DetailMap ValleyDetails(const Mesh& mesh) {
    DetailMap map = CreateDetailMap(uint32_t(mesh.width), uint32_t(mesh.height));
    const char* textures[] = {"gras", "sand", "ston", "wate"};
    const uint8_t colours[][3] = {{32, 255, 26}, {212, 242, 0}, {255, 120, 0}, {0, 123, 255}};
    for (int i = 0; i < 4; ++i) {
        DetailMaterial& m = map.materials[size_t(i + 1)];
        m.tagid = FourCCFromText(textures[i]);
        m.scaleMinusOne = uint8_t(31 + 32 * i);
        m.red = colours[i][0];
        m.green = colours[i][1];
        m.blue = colours[i][2];
        m.description = std::string("valley ") + textures[i];
    }
    for (int z = 0; z < mesh.height; ++z)
        for (int x = 0; x < mesh.width; ++x) {
            const size_t i = size_t(z) * size_t(mesh.width) + size_t(x);
            const int type = mesh.cells[i].flags & kCellSecondTypeMask;
            const uint8_t material = type == 1 ? 4 : type >= 4 && type <= 5 ? 3 : type == 7 ? 2 : 1;
            map.vertex[i] = (x / 8 + z / 8) % 3 == 0 ? 0 : material;
            map.triangle[i * 2] = material;
            map.triangle[i * 2 + 1] = (x + z) % 5 ? material : 0;
        }
    return map;
}

// Version 1: the size, two cleared words, 128 tagids, 128 scales, 8 reserved
// bytes, then one raw detail byte per grid point.
std::vector<uint8_t> OldDetails(int side) {
    std::vector<uint8_t> data;
    BigEndianWriter out(data);
    out.U32(uint32_t(side));
    out.U32(uint32_t(side));
    out.Zeros(8);
    const char* textures[] = {"dirt", "lava", "snow"};
    for (int i = 0; i < 128; ++i)
        out.U32(i >= 1 && i <= 3 ? FourCCFromText(textures[i - 1]) : kNoDetailTexture);
    for (int i = 0; i < 128; ++i)
        out.U8(uint8_t(i < 4 ? 16 * i : 1));
    out.Zeros(8);
    for (int z = 0; z < side; ++z)
        for (int x = 0; x < side; ++x)
            out.U8(uint8_t(1 + (x / 4 + z / 4) % 3));
    return data;
}

}  // namespace

void AddTerrainContent(DemoGame& game) {
    DemoArchive& foundation = game.ArchiveNamed("foundation.dng");
    const Mesh valley = Valley();
    foundation.tags.push_back(Tag(FourCC("mesh"), "demo valley", FourCC("tval"), SaveMesh(valley), kMeshTagVersion));
    foundation.tags.push_back(MakeCollectionTag(ColourMap(), "demo valley colour map", FourCC("tval")));
    foundation.tags.push_back(Tag(FourCC("medi"), "demo valley water", FourCC("twat"), Media(), 1));

    Mesh old = Valley();
    old.colourMap = FourCC("told");
    foundation.tags.push_back(Tag(FourCC("mesh"), "demo old valley", FourCC("told"), SaveMesh(old), 10));

    foundation.tags.push_back(TextureTag("grass", "gras", Texture(64, 70, 140, 50, 30)));
    foundation.tags.push_back(TextureTag("sand", "sand", Texture(128, 210, 190, 140, 12)));
    foundation.tags.push_back(TextureTag("stone", "ston", Texture(64, 128, 124, 120, 48)));
    foundation.tags.push_back(TextureTag("dirt", "dirt", Texture(32, 120, 90, 60, 40)));
    foundation.tags.push_back(TextureTag("snow", "snow", Texture(16, 240, 244, 250, 6)));
    DemoTag water = TextureTag("water", "wate", Texture(256, 40, 80, 160, 20));
    game.AddLoose({"detail textures", water.name, water, false});

    Result<std::vector<uint8_t>> details = SaveDetailMap(ValleyDetails(valley));
    assert(details);
    DemoTag map = Tag(FourCC("dmap"), "demo valley details", FourCC("tval"), *details, kDetailMapTagVersion);
    game.AddLoose({"detail maps", map.name, map, false});
    DemoTag oldMap = Tag(FourCC("dmap"), "demo old valley details", FourCC("told"), OldDetails(kSide), 1);
    game.AddLoose({"detail maps", oldMap.name, oldMap, false});
}

}  // namespace tamber::demo
