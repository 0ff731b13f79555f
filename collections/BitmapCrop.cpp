#include "collections/BitmapCrop.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <utility>

namespace tamber::collections {

using namespace tamber::base;

namespace {

bool IsPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

}  // namespace

// Paletted pixels carry their alpha in byte 0; high-colour pixels their level in
// the low five bits of byte 3.
bool IsPixelOpaque(const Bitmap& bitmap, size_t pixel) {
    if (bitmap.IsHighColour()) return (bitmap.pixels[pixel * kHighColourPixelBytes + 3] & 31) != 0;
    return bitmap.pixels[pixel * kPalettedPixelBytes] != 0;
}

std::optional<PixelRect> OpaqueBounds(const Bitmap& bitmap) {
    const size_t count = bitmap.PixelCount();
    if (count == 0 || bitmap.pixels.size() != count * size_t(bitmap.DecodedPixelBytes())) return std::nullopt;
    PixelRect rect{bitmap.width, bitmap.height, 0, 0};
    for (int y = 0; y < bitmap.height; ++y) {
        const size_t row = size_t(y) * size_t(bitmap.width);
        for (int x = 0; x < bitmap.width; ++x) {
            if (!IsPixelOpaque(bitmap, row + size_t(x))) continue;
            rect.left = std::min(rect.left, x);
            rect.right = std::max(rect.right, x + 1);
            rect.top = std::min(rect.top, y);
            rect.bottom = y + 1;
        }
    }
    if (rect.right == 0) return std::nullopt;
    return rect;
}

bool IsCropExempt(const Bitmap& bitmap) {
    if (bitmap.IsHighColour() || bitmap.placeholder) return true;
    if (bitmap.PixelCount() == 0 || bitmap.pixels.size() != bitmap.PixelCount() * kPalettedPixelBytes) return true;
    return !bitmap.IsRle() && IsPowerOfTwo(bitmap.width) && IsPowerOfTwo(bitmap.height);
}

Result<std::shared_ptr<Bitmap>> CutBitmap(const Bitmap& bitmap, const PixelRect& rect) {
    assert(rect.left >= 0 && rect.top >= 0 && rect.right <= bitmap.width && rect.bottom <= bitmap.height);
    assert(rect.Width() > 0 && rect.Height() > 0);
    auto cut = std::make_shared<Bitmap>(bitmap);
    cut->width = int16_t(rect.Width());
    cut->height = int16_t(rect.Height());
    const size_t bytes = size_t(bitmap.DecodedPixelBytes());
    const size_t rowBytes = size_t(rect.Width()) * bytes;
    cut->pixels.assign(cut->PixelCount() * bytes, 0);
    for (int y = 0; y < rect.Height(); ++y) {
        const size_t from = (size_t(rect.top + y) * size_t(bitmap.width) + size_t(rect.left)) * bytes;
        std::memcpy(cut->pixels.data() + size_t(y) * rowBytes, bitmap.pixels.data() + from, rowBytes);
    }
    if (Status encoded = cut->Encode(); !encoded) return std::move(encoded).TakeError();
    return cut;
}

namespace {

// The shift of ShiftViewPoints; `replacement` of the bitmap, when given, is put in
// the views and shadows that showed it.
void ShiftAndReplace(Collection& collection, const std::unordered_map<const Bitmap*, Margins>& removed,
                     const std::unordered_map<const Bitmap*, ResizedBitmap>* replacement) {
    auto replace = [&](std::shared_ptr<Bitmap>& bitmap, const Bitmap* old) {
        if (replacement) bitmap = replacement->at(old).replacement;
    };
    for (Sequence& sequence : collection.sequences)
        for (Frame& frame : sequence.frames) {
            if (const Bitmap* old = frame.shadow.bitmap.get(); removed.count(old)) replace(frame.shadow.bitmap, old);
            for (View& view : frame.views)
                for (size_t set = 0; set < view.sets.size(); ++set) {
                    ViewSet& shown = view.sets[set];
                    const Bitmap* old = shown.bitmap.get();
                    const auto found = removed.find(old);
                    if (found == removed.end() || (set == 1 && !view.HasSecondSet())) continue;
                    const Margins& margins = found->second;
                    const int dx = view.flags & kViewMirrorH ? margins.right : margins.left;
                    const int dy = view.flags & kViewMirrorV ? margins.bottom : margins.top;
                    shown.regX = int16_t(shown.regX - dx);
                    shown.regY = int16_t(shown.regY - dy);
                    // The second point belongs to the record's first set.
                    if (set == 0) {
                        view.pointX = int16_t(view.pointX - dx);
                        view.pointY = int16_t(view.pointY - dy);
                    }
                    replace(shown.bitmap, old);
                }
        }
}

}  // namespace

void ShiftViewPoints(Collection& collection, const std::unordered_map<const Bitmap*, Margins>& removed) {
    ShiftAndReplace(collection, removed, nullptr);
}

void MoveViewsToResizedBitmaps(Collection& collection,
                               const std::unordered_map<const Bitmap*, ResizedBitmap>& resized) {
    if (resized.empty()) return;
    std::unordered_map<const Bitmap*, Margins> removed;
    for (const auto& [old, entry] : resized) removed[old] = entry.removed;
    ShiftAndReplace(collection, removed, &resized);
    for (Sequence& sequence : collection.sequences) {
        if (sequence.header.flags & kSequenceMirroring)
            sequence.Complete();
        else
            sequence.ComputeExtents();
    }
}

}  // namespace tamber::collections
