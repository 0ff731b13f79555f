#pragma once
// The visible (non-transparent) area of a bitmap, and cutting a bitmap down to it.
#include <memory>
#include <optional>
#include <unordered_map>

#include "collections/Collection.h"

namespace tamber::collections {

// A rectangle of pixels: left and top inclusive, right and bottom exclusive.
struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// Whether decoded pixel `pixel` (row-major index) is not fully transparent.
bool IsPixelOpaque(const Bitmap& bitmap, size_t pixel);

// The smallest rectangle holding every pixel that is not fully transparent; none
// when the bitmap has no such pixel or no decoded pixels.
std::optional<PixelRect> OpaqueBounds(const Bitmap& bitmap);

// Whether the crop rule leaves the bitmap alone whatever its pixels: RAW bitmaps
// whose sides are both powers of two, high-colour bitmaps and damaged bitmaps.
bool IsCropExempt(const Bitmap& bitmap);

// A copy of the bitmap cut to `rect` (inside the bitmap) and encoded again.
base::Result<std::shared_ptr<Bitmap>> CutBitmap(const Bitmap& bitmap, const PixelRect& rect);

// Pixels taken from (negative: added to) each side of a bitmap.
struct Margins {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// Moves the registration point and the second point of every view showing a
// bitmap of `removed` left by its left margin and up by its top margin; views
// mirrored horizontally (vertically) take the right (bottom) margin instead.
void ShiftViewPoints(Collection& collection, const std::unordered_map<const Bitmap*, Margins>& removed);

// A bitmap replaced by a cropped or uncropped copy.
struct ResizedBitmap {
    std::shared_ptr<Bitmap> replacement;
    Margins removed;
};

// ShiftViewPoints, and every view and shadow showing a key of `resized` is pointed
// at its replacement; then the mirrored views of sequences with mirroring are made
// again from the views they mirror, as reading the tag would make them (with the
// replacement's width). The bitmap list is the caller's.
void MoveViewsToResizedBitmaps(Collection& collection,
                               const std::unordered_map<const Bitmap*, ResizedBitmap>& resized);

}  // namespace tamber::collections
