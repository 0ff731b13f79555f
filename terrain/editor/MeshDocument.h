#pragma once
// What the mesh editor opens: the mesh, its colour-map collection, its media wave
// and the detail map of the colour map's tagid, read from the tag database.
#include <memory>
#include <optional>
#include <string>

#include "base/Result.h"
#include "collections/Collection.h"
#include "tags/Codex.h"
#include "terrain/DetailMap.h"
#include "terrain/MediaWave.h"
#include "terrain/Mesh.h"

namespace tamber::terrain::painting {

struct MeshDocument {
    Mesh mesh;
    std::unique_ptr<collections::Collection> colourMap;
    std::string colourMapName;
    MediaWave wave;
    // The detail map of the colour map's tagid when its size matches the mesh.
    std::optional<DetailMap> detailMap;
    // A detail map of that tagid whose size does not match: its name (else empty).
    std::string mismatchedMapName;
};

// Reads what goes with a mesh; fails when its colour map cannot be read.
base::Result<MeshDocument> OpenMeshDocument(tags::Codex& codex, Mesh mesh);
// The same for a mesh tag; fails when the mesh cannot be read either.
base::Result<MeshDocument> OpenMeshDocument(tags::Codex& codex, tags::TagRecord* meshRecord);

// The detail map to save: the painted grids, the materials with their scales and
// descriptions, and each material's colour from the highlight colour table.
DetailMap MakeSavedDetailMap(DetailMap map, const std::array<DetailMaterial, kDetailMaterialCount>& materials,
                             const std::array<uint8_t, 768>& highlight);

}  // namespace tamber::terrain::painting
