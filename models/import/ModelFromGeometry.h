#pragma once
// The model a geometry tag shows: its triangles in model units with the
// textures of the collection its collection reference names.
#include <string>
#include <vector>

#include "base/Result.h"
#include "collections/Collection.h"
#include "models/Model.h"
#include "models/import/Geometry.h"
#include "tags/Codex.h"

namespace tamber::models::import {

// Material i takes the first view of sequence `sequence` of `textures` (when
// given and present) as its texture.
Model ModelFromGeometry(const Geometry& geometry, const collections::Collection* textures);

// The geometry with the textures of the collection its reference names in the
// Codex; a missing or damaged reference or collection gives a model without
// textures and a line in `notes`.
Model ModelFromGeometryInCodex(tags::Codex& codex, const Geometry& geometry, std::vector<std::string>* notes);

// Reads the geometry tag, then its collection reference and collection. Fails
// only when the geometry itself cannot be read; a missing or damaged reference
// or collection gives a model without textures and a line in `notes`.
base::Result<Model> ModelFromGeometryTag(tags::Codex& codex, tags::TagRecord* geometry,
                                         std::vector<std::string>* notes = nullptr);

}  // namespace tamber::models::import
