#pragma once
// One 256-colour table for every image of a build. Entry 0 stays black and is
// used by no colour, so the bitmaps read the same as 8-bit pictures, where entry
// 0 is transparent.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "collections/Bitmap.h"
#include "images/Image.h"

namespace tamber::collections::builder {

// Counts the colours of the visible pixels of every image and builds the table.
std::array<uint8_t, 768> BuildSharedPalette(const std::vector<const images::Image*>& rgbaImages);

// Makes a run-length bitmap of an RGBA image over the table, each pixel's colour
// chosen by error diffusion among entries 1 to 255. A 16-bit bitmap keeps the
// alpha in the 16 levels its pixels hold; an 8-bit one has clear pixels (entry
// 0) where the alpha is below half and opaque ones elsewhere.
std::shared_ptr<Bitmap> MakePalettedBitmap(const images::Image& rgba, const std::array<uint8_t, 768>& palette,
                                           const std::string& name, bool sixteenBit);

}  // namespace tamber::collections::builder
