#include "terrain/editor/DetailMapListing.h"

#include "tags/FourCC.h"

namespace tamber::terrain::painting {
using namespace tamber::tags;

std::string DetailMapListing(const DetailMap& map, const TextureNamer& nameOf) {
    std::string text;
    for (const DetailMaterial& material : map.materials) {
        if (material.tagid == kNoDetailTexture)
            continue;
        const std::optional<std::string> name = nameOf(material.tagid);
        text += FourCCText(material.tagid) + " - " + (name ? *name : std::string("<not found>")) + "\n";
    }
    return text;
}

}  // namespace tamber::terrain::painting
