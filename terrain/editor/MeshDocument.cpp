#include "terrain/editor/MeshDocument.h"

#include "collections/CollectionFile.h"
#include "tags/FourCC.h"

namespace tamber::terrain::painting {
using namespace tamber::base;
using namespace tamber::collections;
using namespace tamber::tags;

Result<MeshDocument> OpenMeshDocument(Codex& codex, TagRecord* meshRecord) {
    const TagEntry* entry = codex.CurrentEntry(meshRecord);
    if (!entry)
        return Fail("the mesh has no copy to read");
    const uint16_t version = entry->header.version;
    Result<std::vector<uint8_t>> bytes = ReadCurrentTagData(codex, meshRecord);
    if (!bytes)
        return std::move(bytes).TakeError();
    Result<Mesh> mesh = LoadMesh(*bytes, version);
    if (!mesh)
        return std::move(mesh).TakeError();
    return OpenMeshDocument(codex, std::move(*mesh));
}

Result<MeshDocument> OpenMeshDocument(Codex& codex, Mesh mesh) {
    MeshDocument document;
    document.mesh = std::move(mesh);
    TagRecord* colourRecord = codex.FindTag(kCollectionGroupCode, document.mesh.colourMap);
    const TagEntry* colourEntry = codex.CurrentEntry(colourRecord);
    if (!colourEntry)
        return Fail("the mesh's colour map '" + FourCCText(document.mesh.colourMap) + "' does not exist");
    const uint32_t colourFlags = colourEntry->header.user;
    document.colourMapName = colourEntry->header.Name();
    Result<std::vector<uint8_t>> colourBytes = ReadCurrentTagData(codex, colourRecord);
    if (!colourBytes)
        return std::move(colourBytes).TakeError();
    Result<std::unique_ptr<Collection>> colourMap = ReadCollection(*colourBytes, colourFlags, true);
    if (!colourMap)
        return std::move(colourMap).TakeError();
    document.colourMap = std::move(*colourMap);

    TagRecord* mediaRecord = codex.FindTag(FourCC("medi"), document.mesh.media);
    Result<std::vector<uint8_t>> media = mediaRecord ? ReadCurrentTagData(codex, mediaRecord) : Fail("none");
    document.wave = LoadMediaWave(media ? std::optional<std::span<const uint8_t>>(*media) : std::nullopt);

    TagRecord* mapRecord = codex.FindTag(FourCC("dmap"), document.mesh.colourMap);
    if (const TagEntry* mapEntry = codex.CurrentEntry(mapRecord)) {
        Result<std::vector<uint8_t>> mapBytes = ReadCurrentTagData(codex, mapRecord);
        Result<DetailMap> map = mapBytes ? LoadDetailMap(*mapBytes, mapEntry->header.version) : Fail("unreadable");
        if (map && map->width == uint32_t(document.mesh.width) && map->height == uint32_t(document.mesh.height))
            document.detailMap = std::move(*map);
        else if (map)
            document.mismatchedMapName = mapEntry->header.Name();
    }
    return document;
}

DetailMap MakeSavedDetailMap(DetailMap map, const std::array<DetailMaterial, kDetailMaterialCount>& materials,
                             const std::array<uint8_t, 768>& highlight) {
    for (size_t i = 0; i < materials.size(); ++i) {
        DetailMaterial& out = map.materials[i];
        out = materials[i];
        out.red = highlight[i * 3], out.green = highlight[i * 3 + 1], out.blue = highlight[i * 3 + 2];
    }
    return map;
}

}  // namespace tamber::terrain::painting
