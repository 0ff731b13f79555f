#include "cli/CollectionExport.h"

#include <cstdio>
#include <set>

#include "tags/TagHeader.h"

namespace tamber::cli {
using namespace tamber::tags;

std::optional<Image> BitmapToImage(const Collection& collection, const Bitmap& bitmap) {
    if (bitmap.IsHighColour() || bitmap.pixels.size() != bitmap.PixelCount() * kPalettedPixelBytes ||
        bitmap.PixelCount() == 0)
        return std::nullopt;
    Image image;
    if (!CreateImage(image, bitmap.width, bitmap.height, kPixelPaletted) ||
        !SetPalette(image, 256, collection.palette.data()))
        return std::nullopt;
    // Decoded pixels are (alpha, index) pairs; the colour export keeps the index.
    for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = bitmap.pixels[i * 2 + 1];
    return image;
}

Result<std::vector<std::string>> BitmapFileStems(const Collection& collection, bool byName) {
    std::vector<std::string> stems;
    std::set<std::string> taken;
    for (int i = 0; i < collection.BitmapCount(); ++i) {
        if (!byName) {
            char stem[32];
            std::snprintf(stem, sizeof stem, "bitmap #%04d", i);
            stems.push_back(stem);
            continue;
        }
        // Names that only differ in characters a file name cannot hold collide too.
        const std::string stem = TagFileName(collection.GetBitmap(i)->name);
        if (!taken.insert(stem).second)
            return Fail("Export by name is not possible because two or more of the selected bitmaps share the same "
                        "name. Running the auto-rename function may be useful.");
        stems.push_back(stem);
    }
    return stems;
}

}  // namespace tamber::cli
