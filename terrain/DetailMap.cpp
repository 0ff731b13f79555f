#include "terrain/DetailMap.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "collections/RecordIO.h"
#include "terrain/RunStream.h"
#include "terrain/TerrainRecords.h"

namespace tamber::terrain {
using namespace tamber::base;
using namespace tamber::collections;

namespace {

constexpr size_t kHeaderSize = 256;
constexpr size_t kDescriptionSize = 31;

void ClampDetails(std::vector<uint8_t>& details) {
    for (uint8_t& d : details)
        if (d >= kDetailMaterialCount)
            d = 0;
}

// Checks a map size against what the payload can describe before allocating: every
// vertex byte costs at least 1/128 of a payload byte (a 2-byte run covers 256 bytes).
bool PlausibleSize(uint32_t width, uint32_t height, uint64_t maxBytes) {
    return width > 0 && height > 0 && uint64_t(width) * height <= maxBytes;
}

constexpr const char* kCutShort = "its header is cut short";

std::string SizeMessage(uint32_t width, uint32_t height) {
    return "its size of " + std::to_string(width) + " x " + std::to_string(height) +
           " points is empty or more than its data holds";
}

Result<DetailMap> LoadVersion2(std::span<const uint8_t> payload) {
    BigEndianReader in(payload);
    DetailMapHeaderRecord header;
    if (!UnpackAt(in, &header, 1, kDetailMapHeaderDescriptor))
        return Fail(kCutShort);
    if (!PlausibleSize(header.width, header.height, payload.size() * 128ull))
        return Fail(SizeMessage(header.width, header.height));
    DetailMaterialRecord materials[kDetailMaterialCount];
    if (!in.Seek(header.materialOffset) || !UnpackAt(in, materials, kDetailMaterialCount, kDetailMaterialDescriptor))
        return Fail("its material table lies outside the data");
    DetailMap map;
    map.width = header.width;
    map.height = header.height;
    for (size_t i = 0; i < map.materials.size(); ++i) {
        const DetailMaterialRecord& r = materials[i];
        map.materials[i] = {r.tagid, r.scaleMinusOne, r.red, r.green, r.blue,
                            std::string(r.description, strnlen(r.description, kDescriptionSize))};
    }
    const size_t count = size_t(map.width) * map.height;
    map.vertex.resize(count);
    map.triangle.resize(count * 2);
    if (!in.Seek(header.vertexOffset) || !DecodeRuns(in, map.vertex))
        return Fail("its vertex details are damaged or cut short");
    if (!in.Seek(header.triangleOffset) || !DecodeRuns(in, map.triangle))
        return Fail("its triangle details are damaged or cut short");
    return map;
}

Result<DetailMap> LoadVersion1(std::span<const uint8_t> payload) {
    BigEndianReader in(payload);
    OldDetailMapHeaderRecord header;
    if (!UnpackAt(in, &header, 1, kOldDetailMapHeaderDescriptor))
        return Fail(kCutShort);
    if (!PlausibleSize(header.width, header.height, in.Remaining()))
        return Fail(SizeMessage(header.width, header.height));
    DetailMap map;
    map.width = header.width;
    map.height = header.height;
    for (size_t i = 0; i < map.materials.size(); ++i) {
        map.materials[i].tagid = header.tagids[i];
        const uint8_t scale = header.scales[i];
        map.materials[i].scaleMinusOne = scale < 2 ? 0 : uint8_t(scale - 1);
    }
    const size_t count = size_t(map.width) * map.height;
    std::span<const uint8_t> vertex = in.Take(count);
    map.vertex.assign(vertex.begin(), vertex.end());
    map.triangle.assign(count * 2, 0);
    return map;
}

}  // namespace

DetailMap CreateDetailMap(uint32_t width, uint32_t height) {
    DetailMap map;
    map.width = width;
    map.height = height;
    map.vertex.assign(size_t(width) * height, 0);
    map.triangle.assign(size_t(width) * height * 2, 0);
    return map;
}

Result<DetailMap> LoadDetailMap(std::span<const uint8_t> payload, uint16_t version) {
    if (version != 1 && version != 2)
        return Fail("couldn't read the detail map: version " + std::to_string(version) + " is not known");
    Result<DetailMap> map = version == 2 ? LoadVersion2(payload) : LoadVersion1(payload);
    if (!map)
        return Fail("couldn't read the detail map: " + map.error());
    ClampDetails(map->vertex);
    ClampDetails(map->triangle);
    return map;
}

Result<std::vector<uint8_t>> SaveDetailMap(const DetailMap& map) {
    const size_t count = size_t(map.width) * map.height;
    if (count == 0 || map.vertex.size() != count || map.triangle.size() != count * 2)
        return Fail("couldn't write the detail map: its details do not match its size of " +
                    std::to_string(map.width) + " x " + std::to_string(map.height));
    DetailMaterialRecord materials[kDetailMaterialCount] = {};
    for (size_t i = 0; i < map.materials.size(); ++i) {
        const DetailMaterial& m = map.materials[i];
        DetailMaterialRecord& r = materials[i];
        r.tagid = m.tagid;
        r.scaleMinusOne = m.scaleMinusOne;
        r.red = m.red;
        r.green = m.green;
        r.blue = m.blue;
        std::memcpy(r.description, m.description.data(), std::min(m.description.size(), kDescriptionSize));
    }
    std::vector<uint8_t> payload;
    BigEndianWriter out(payload);
    DetailMapHeaderRecord header{};
    header.width = map.width;
    header.height = map.height;
    header.materialOffset = uint32_t(kHeaderSize);
    out.Zeros(kHeaderSize);
    PackAt(out, materials, kDetailMaterialCount, kDetailMaterialDescriptor);
    header.vertexOffset = uint32_t(payload.size());
    EncodeRuns(map.vertex, payload);
    header.triangleOffset = uint32_t(payload.size());
    EncodeRuns(map.triangle, payload);
    out.Seek(0);
    PackAt(out, &header, 1, kDetailMapHeaderDescriptor);
    return payload;
}

}  // namespace tamber::terrain
