#pragma once
// The colour-map textures of a mesh: each 32 x 32-cell block has a colour-index
// bitmap and a shade bitmap in the colour-map collection, combined through a
// 256 x 256 RGB shading table. Pixel buffers only; uploading is the caller's.
#include <cstdint>
#include <vector>

#include "base/Result.h"
#include "collections/Collection.h"
#include "images/Image.h"
#include "terrain/Mesh.h"

namespace tamber::terrain {
using namespace tamber::collections;
using namespace tamber::images;

constexpr int kBlockTextureSize = 256;

// 256 x 256 RGB entries, indexed [shade][colour].
std::vector<uint8_t> BuildShadingTable(const uint8_t* palette, const MeshShading& shading);

// The 256 x 256 RGB image of block `block` (block row x blocks wide + block
// column), ready for upload; fails when its two bitmaps are missing, undecoded
// or not 256 x 256 paletted bitmaps.
base::Result<Image> MakeBlockTexture(const Collection& colourMap, int block, const std::vector<uint8_t>& table);

}  // namespace tamber::terrain
