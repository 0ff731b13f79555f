#pragma once
// Bitmaps of a collection as image files: paletted images with the collection's
// palette, named by number ("bitmap #0003") or by the bitmap's name.
#include <optional>
#include <string>
#include <vector>

#include "base/Result.h"
#include "collections/Collection.h"
#include "images/Image.h"

namespace tamber::cli {
using namespace tamber::base;
using namespace tamber::collections;
using namespace tamber::images;

// The paletted picture of a decoded paletted bitmap; none for a high-colour
// bitmap or one without decoded pixels.
std::optional<Image> BitmapToImage(const Collection& collection, const Bitmap& bitmap);

// One file name (without extension) per bitmap: "bitmap #%04d", or the bitmap's
// name made safe for a path. By name, fails with the message the bitmap browsers
// show when two bitmaps share a name.
Result<std::vector<std::string>> BitmapFileStems(const Collection& collection, bool byName);

}  // namespace tamber::cli
