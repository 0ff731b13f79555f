#pragma once
// The readers the editors open tags with, applied to a tag's data to tell whether
// it reads: collections, meshes, detail maps, detail textures, sounds, dialogs
// and text tags.
#include <cstdint>
#include <string>
#include <vector>

#include "cli/TagSource.h"

namespace tamber::cli {

bool HasTagReader(uint32_t group);

// How a tag read: the reason it does not (the editors would refuse it), and
// damage that the reader repairs as it reads (the tag opens, but not whole).
struct TagCheck {
    std::string failure;
    std::vector<std::string> warnings;
};
TagCheck CheckTagReads(const TagData& tag);

}  // namespace tamber::cli
