#pragma once
// The readers the editors open tags with, applied to a tag's data to tell whether
// it reads: collections, meshes, detail maps, detail textures, sounds, dialogs
// and text tags.
#include <cstdint>
#include <string>

#include "cli/TagSource.h"

namespace tamber::cli {

bool HasTagReader(uint32_t group);
// "" when the tag reads, else the reason it does not.
std::string CheckTagReads(const TagData& tag);

}  // namespace tamber::cli
