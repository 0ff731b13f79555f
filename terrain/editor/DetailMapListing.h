#pragma once
// The text the detail-map viewer shows: one line per material with a texture.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "terrain/DetailMap.h"

namespace tamber::terrain::painting {

// The name of the `dtex` tag of a tagid, or none when there is no such tag.
using TextureNamer = std::function<std::optional<std::string>(uint32_t tagid)>;

// "tagid - name\n" for each material whose tagid is set, "<not found>" for a
// texture that does not exist.
std::string DetailMapListing(const DetailMap& map, const TextureNamer& nameOf);

}  // namespace tamber::terrain::painting
