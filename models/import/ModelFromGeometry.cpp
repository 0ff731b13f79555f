#include "models/import/ModelFromGeometry.h"

#include <memory>

#include "collections/CollectionFile.h"
#include "models/import/CollectionReference.h"
#include "models/import/GeometryFromModel.h"
#include "models/import/GeometryPayload.h"
#include "models/import/TextureCollection.h"

namespace tamber::models::import {
using namespace tamber::base;
using namespace tamber::collections;
using namespace tamber::tags;

namespace {

const Bitmap* FirstViewBitmap(const Collection& collection, uint16_t sequence) {
    if (sequence >= collection.sequences.size()) return nullptr;
    const Sequence& s = collection.sequences[sequence];
    if (s.frames.empty() || s.frames[0].views.empty()) return nullptr;
    return s.frames[0].views[0].sets[0].bitmap.get();
}

Result<std::unique_ptr<Collection>> ReadTextures(Codex& codex, uint32_t referenceTagid) {
    TagRecord* reference = codex.FindTag(kCollectionReferenceGroup, referenceTagid);
    if (!reference) return Fail("its collection reference is not in the game folder");
    Result<std::vector<uint8_t>> referenceBytes = ReadCurrentTagData(codex, reference);
    if (!referenceBytes) return Fail("its collection reference cannot be read: " + referenceBytes.error());
    Result<uint32_t> collectionTagid = ReadCollectionReference(*referenceBytes);
    if (!collectionTagid) return std::move(collectionTagid).TakeError();
    TagRecord* collection = codex.FindTag(kCollectionGroupCode, *collectionTagid);
    if (!collection) return Fail("its texture collection is not in the game folder");
    Result<std::vector<uint8_t>> bytes = ReadCurrentTagData(codex, collection);
    if (!bytes) return Fail("its texture collection cannot be read: " + bytes.error());
    const TagEntry* entry = codex.CurrentEntry(collection);
    return ReadCollection(*bytes, entry ? entry->header.user : 0, true);
}

}  // namespace

Model ModelFromGeometry(const Geometry& geometry, const Collection* textures) {
    Model model;
    model.vertices.resize(geometry.vertices.size());
    for (size_t i = 0; i < geometry.vertices.size(); ++i) ModelPosition(geometry.vertices[i], model.vertices[i].position);
    model.triangles.reserve(geometry.triangles.size());
    for (const GeometryTriangle& source : geometry.triangles) {
        ModelTriangle& triangle = model.triangles.emplace_back();
        triangle.material = source.material;
        for (size_t k = 0; k < 3; ++k) {
            triangle.corners[k].vertex = source.vertex[k];
            triangle.corners[k].u = float(source.u[k] / 65535.0);
            triangle.corners[k].v = float(source.v[k] / 65535.0);
        }
    }
    for (const GeometryMaterial& source : geometry.materials) {
        ModelMaterial& material = model.materials.emplace_back();
        material.name = material.label = source.name;
        const Bitmap* bitmap = textures ? FirstViewBitmap(*textures, source.sequence) : nullptr;
        if (bitmap) material.texture = TextureFromBitmap(*bitmap, textures->palette.data());
    }
    model.ComputeBounds();
    model.ComputeVertexNormals();
    return model;
}

Result<Model> ModelFromGeometryTag(Codex& codex, TagRecord* record, std::vector<std::string>* notes) {
    Result<std::vector<uint8_t>> bytes = ReadCurrentTagData(codex, record);
    if (!bytes) return Fail("the geometry cannot be read: " + bytes.error());
    Result<Geometry> geometry = ReadGeometryPayload(*bytes);
    if (!geometry) return std::move(geometry).TakeError();
    return ModelFromGeometryInCodex(codex, *geometry, notes);
}

Model ModelFromGeometryInCodex(Codex& codex, const Geometry& geometry, std::vector<std::string>* notes) {
    Result<std::unique_ptr<Collection>> textures = ReadTextures(codex, geometry.collectionReference);
    if (!textures && notes) notes->push_back("The geometry is shown without textures: " + textures.error() + ".");
    return ModelFromGeometry(geometry, textures ? textures->get() : nullptr);
}

}  // namespace tamber::models::import
