#pragma once
// The four tags a model becomes: geometry, texture collection, collection
// reference and model, created together or not at all.
#include <cstdint>
#include <string>

#include "base/Result.h"
#include "models/Model.h"
#include "tags/Codex.h"

namespace tamber::models::import {

struct ModelTags {
    tags::TagRecord* geometry = nullptr;
    tags::TagRecord* collection = nullptr;
    tags::TagRecord* reference = nullptr;
    tags::TagRecord* model = nullptr;
};

// Writes the four loose tags named `name`, each with a new tagid (or, with
// `allowOverwrite`, the tagid of the tag of that name it replaces). Everything
// that can be refused (limits, textures) is settled before the first write; a
// write that fails removes the tags this call created. The failure says why.
base::Result<ModelTags> TagsFromModel(tags::Codex& codex, const Model& model, const std::string& name,
                                      bool allowOverwrite);

}  // namespace tamber::models::import
