#pragma once
// Copies a set of pictures into square pages packed by RectPacker. Shared by the
// texture pack (4 bytes per texel) and the fonts (1 byte per texel). A picture placed
// turned is stored transposed: its pixel (px, py) lands at page (x + py, y + px).
#include <cstdint>
#include <optional>
#include <vector>

#include "ui/RectPacker.h"

namespace tamber::ui {

struct AtlasImage {
    int width = 0;
    int height = 0;
    const uint8_t* pixels = nullptr;  // rows top to bottom, bytesPerTexel bytes each
};

struct Atlas {
    int side = 0;
    int bytesPerTexel = 0;
    std::vector<std::vector<uint8_t>> pages;   // side x side texels each
    std::vector<PackPlacement> placements;     // one per input picture
};

// Nothing when a picture is larger than a page.
std::optional<Atlas> BuildAtlas(const std::vector<AtlasImage>& images, int side, int bytesPerTexel);

}  // namespace tamber::ui
