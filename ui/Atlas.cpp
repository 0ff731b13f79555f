#include "ui/Atlas.h"

#include <cstring>

namespace tamber::ui {

std::optional<Atlas> BuildAtlas(const std::vector<AtlasImage>& images, int side, int bytesPerTexel) {
    std::vector<PackSize> sizes;
    sizes.reserve(images.size());
    for (const AtlasImage& image : images)
        sizes.push_back(PackSize{image.width, image.height});
    int pageCount = 0;
    auto placements = RectPacker::PackAll(sizes, side, &pageCount);
    if (!placements)
        return std::nullopt;

    Atlas atlas;
    atlas.side = side;
    atlas.bytesPerTexel = bytesPerTexel;
    atlas.pages.assign(pageCount, std::vector<uint8_t>(size_t(side) * side * bytesPerTexel, 0));
    atlas.placements = std::move(*placements);
    const size_t bpt = bytesPerTexel;
    for (size_t i = 0; i < images.size(); ++i) {
        const AtlasImage& image = images[i];
        const PackPlacement& at = atlas.placements[i];
        if (image.width == 0 || image.height == 0 || !image.pixels)
            continue;
        uint8_t* page = atlas.pages[at.page].data();
        for (int py = 0; py < image.height; ++py) {
            const uint8_t* row = image.pixels + size_t(py) * image.width * bpt;
            if (!at.rotated) {
                std::memcpy(page + (size_t(at.y + py) * side + at.x) * bpt, row, image.width * bpt);
                continue;
            }
            // Turned: each source row becomes a page column.
            for (int px = 0; px < image.width; ++px)
                std::memcpy(page + (size_t(at.y + px) * side + at.x + py) * bpt, row + px * bpt, bpt);
        }
    }
    return atlas;
}

}  // namespace tamber::ui
