#include "models/import/GeometryPayload.h"

#include <algorithm>
#include <cstring>

#include "collections/BigEndianReader.h"
#include "collections/BigEndianWriter.h"

namespace tamber::models::import {
using namespace tamber::base;
using namespace tamber::collections;

namespace {

// Where an array lies, relative to the data start.
struct ArrayPlace {
    uint32_t offset = 0;
    uint32_t size = 0;
};

// Arrays follow each other from the data start; an empty one keeps offset 0.
ArrayPlace Place(uint32_t& next, size_t count, uint32_t recordSize) {
    if (count == 0) return {};
    const ArrayPlace place{next, uint32_t(count * recordSize)};
    next += place.size;
    return place;
}

void WriteMaterial(BigEndianWriter& out, const GeometryMaterial& material) {
    char name[kMaxMaterialName + 1] = {};
    std::memcpy(name, material.name.data(), std::min(material.name.size(), kMaxMaterialName));
    out.Bytes({reinterpret_cast<const uint8_t*>(name), sizeof name});
    out.U16(material.sequence);
    out.Zeros(kGeometryMaterialSize - sizeof name - 2);
}

void WriteTriangle(BigEndianWriter& out, const GeometryTriangle& triangle) {
    out.U16(0);  // flags
    for (int16_t n : triangle.normal) out.U16(uint16_t(n));
    out.U32(uint32_t(triangle.planeConstant));
    out.Zeros(12);  // words 6 to 11
    out.U16(triangle.transparency);
    out.U16(triangle.material);
    for (size_t k = 0; k < 3; ++k) {
        out.U16(triangle.v[k]);
        out.U16(triangle.u[k]);
        out.U16(triangle.vertex[k]);
        out.U16(0);
    }
    for (int i = 0; i < 3; ++i) out.U16(0xFFFF);  // words 26 to 28
    out.U16(0);
    out.U16(0xFFFF);
    out.U16(0);
}

GeometryTriangle ReadTriangle(BigEndianReader& in) {
    GeometryTriangle triangle;
    in.Skip(2);
    for (int16_t& n : triangle.normal) n = in.I16();
    triangle.planeConstant = int32_t(in.U32());
    in.Skip(12);
    triangle.transparency = in.U16();
    triangle.material = in.U16();
    for (size_t k = 0; k < 3; ++k) {
        triangle.v[k] = in.U16();
        triangle.u[k] = in.U16();
        triangle.vertex[k] = in.U16();
        in.Skip(2);
    }
    in.Skip(12);
    return triangle;
}

// The records of one array, or an empty span when it does not lie in the data.
std::span<const uint8_t> ArrayBytes(std::span<const uint8_t> payload, uint32_t dataStart, ArrayPlace place,
                                    size_t count, uint32_t recordSize, bool& ok) {
    if (place.size != uint64_t(count) * recordSize) ok = false;
    const uint64_t start = uint64_t(dataStart) + place.offset;
    if (count == 0 || !ok) return {};
    if (start + place.size > payload.size()) {
        ok = false;
        return {};
    }
    return payload.subspan(size_t(start), place.size);
}

}  // namespace

std::vector<uint8_t> WriteGeometryPayload(const Geometry& g) {
    uint32_t next = 0;
    const ArrayPlace materials = Place(next, g.materials.size(), kGeometryMaterialSize);
    const ArrayPlace vertices = Place(next, g.vertices.size(), kGeometryVertexSize);
    const ArrayPlace triangles = Place(next, g.triangles.size(), kGeometryTriangleSize);

    std::vector<uint8_t> bytes;
    BigEndianWriter out(bytes);
    out.U32(0);
    out.U32(g.collectionReference);
    out.U16(uint16_t(g.materials.size()));
    out.U16(uint16_t(g.vertices.size()));
    out.U16(uint16_t(g.triangles.size()));
    out.U16(0);
    out.Zeros(6);  // reference point: 0 for imported models
    out.Zeros(6);
    for (const ArrayPlace& place : {materials, vertices, triangles}) {
        out.U32(place.offset);
        out.U32(place.size);
        out.Zeros(4);
    }
    out.Zeros(12);  // offset 64: two zero words and four zero bytes
    out.U32(kGeometryHeaderSize);
    out.U32(next);
    out.Zeros(4);
    for (int16_t value : g.boundsMin) out.U16(uint16_t(value));
    for (int16_t value : g.boundsMax) out.U16(uint16_t(value));
    out.Zeros(kGeometryHeaderSize - out.Position());

    for (const GeometryMaterial& material : g.materials) WriteMaterial(out, material);
    for (const auto& vertex : g.vertices) {
        for (int16_t value : vertex) out.U16(uint16_t(value));
    }
    for (const GeometryTriangle& triangle : g.triangles) WriteTriangle(out, triangle);
    return bytes;
}

Result<Geometry> ReadGeometryPayload(std::span<const uint8_t> payload) {
    BigEndianReader header(payload);
    Geometry g;
    header.Skip(4);
    g.collectionReference = header.U32();
    const size_t materialCount = header.U16();
    const size_t vertexCount = header.U16();
    const size_t triangleCount = header.U16();
    header.Seek(28);
    ArrayPlace places[3];
    for (ArrayPlace& place : places) {
        place.offset = header.U32();
        place.size = header.U32();
        header.Skip(4);
    }
    header.Seek(76);
    const uint32_t dataStart = header.U32();
    header.Seek(88);
    for (int16_t& value : g.boundsMin) value = header.I16();
    for (int16_t& value : g.boundsMax) value = header.I16();
    if (!header.Ok() || payload.size() < kGeometryHeaderSize) return Fail("the geometry's header is cut short");

    bool ok = true;
    BigEndianReader materials(ArrayBytes(payload, dataStart, places[0], materialCount, kGeometryMaterialSize, ok));
    BigEndianReader vertices(ArrayBytes(payload, dataStart, places[1], vertexCount, kGeometryVertexSize, ok));
    BigEndianReader triangles(ArrayBytes(payload, dataStart, places[2], triangleCount, kGeometryTriangleSize, ok));
    if (!ok) return Fail("the geometry's arrays do not lie inside its data");

    g.materials.resize(materialCount);
    for (GeometryMaterial& material : g.materials) {
        const std::span<const uint8_t> name = materials.Take(kMaxMaterialName + 1);
        material.name.assign(name.begin(), std::find(name.begin(), name.end(), uint8_t(0)));
        material.sequence = materials.U16();
        materials.Skip(kGeometryMaterialSize - kMaxMaterialName - 3);
    }
    g.vertices.resize(vertexCount);
    for (auto& vertex : g.vertices) {
        for (int16_t& value : vertex) value = vertices.I16();
    }
    g.triangles.reserve(triangleCount);
    for (size_t i = 0; i < triangleCount; ++i) {
        const GeometryTriangle triangle = ReadTriangle(triangles);
        bool inside = triangle.material < materialCount;
        for (uint16_t vertex : triangle.vertex) inside = inside && vertex < vertexCount;
        if (!inside) return Fail("triangle " + std::to_string(i) + " names a vertex or material the geometry lacks");
        g.triangles.push_back(triangle);
    }
    return g;
}

}  // namespace tamber::models::import
