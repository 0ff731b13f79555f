#include "collections/CollectionEdits.h"

#include <algorithm>
#include <cassert>
#include <optional>
#include <unordered_map>

#include "collections/BitmapCrop.h"

namespace tamber::collections {
using namespace tamber::base;

namespace {

std::shared_ptr<Bitmap> CopyOf(const Bitmap* bitmap) { return std::make_shared<Bitmap>(*bitmap); }

bool IsPaletted(const Bitmap* bitmap) {
    return !bitmap->IsHighColour() && bitmap->pixels.size() == bitmap->PixelCount() * kPalettedPixelBytes;
}

}  // namespace

void ReplaceBitmap(Collection& collection, const Bitmap* old, std::shared_ptr<Bitmap> replacement) {
    for (auto& entry : collection.bitmaps)
        if (entry.get() == old) entry = replacement;
    for (Sequence& sequence : collection.sequences)
        for (Frame& frame : sequence.frames) {
            if (frame.shadow.bitmap.get() == old) frame.shadow.bitmap = replacement;
            for (View& view : frame.views)
                for (ViewSet& set : view.sets)
                    if (set.bitmap.get() == old) set.bitmap = replacement;
        }
}

void StorePixels(Bitmap& bitmap, int width, int height, std::vector<uint8_t> pixels) {
    assert(pixels.size() == size_t(width) * size_t(height) * 2);
    bitmap.width = int16_t(width);
    bitmap.height = int16_t(height);
    bitmap.placeholder = false;
    // Colour alpha derives the alpha from the colours again when decoded.
    if (bitmap.HasColourAlpha()) {
        bitmap.pixels = std::move(pixels);
        [[maybe_unused]] const base::Status encoded = bitmap.Encode();
        assert(encoded.ok());
        return;
    }
    // 8-bit pixels of index 0 are transparent: partial alpha, and opaque pixels of
    // index 0, need 16 bits.
    bool needs16 = false;
    for (size_t i = 0; i < pixels.size(); i += 2) {
        if (pixels[i] == 0)
            pixels[i + 1] = 0;
        else if (pixels[i] != 255 || pixels[i + 1] == 0)
            needs16 = true;
    }
    bitmap.flags &= uint16_t(~(kBitmapHighColour | kBitmapFileColourAlpha));
    if (needs16) bitmap.flags |= kBitmap16Bit;
    bitmap.pixels = std::move(pixels);
    [[maybe_unused]] const base::Status encoded = bitmap.Encode();
    assert(encoded.ok());  // paletted pixels of the bitmap's size always encode
}

namespace {

// Puts each replacement in the bitmap list and moves the views showing the old
// bitmaps to it, with their points shifted by the margins.
void ApplyResized(Collection& collection, const std::unordered_map<const Bitmap*, ResizedBitmap>& resized) {
    if (resized.empty()) return;
    for (auto& entry : collection.bitmaps)
        if (const auto found = resized.find(entry.get()); found != resized.end()) entry = found->second.replacement;
    MoveViewsToResizedBitmaps(collection, resized);
}

}  // namespace

CropOutcome CropTransparency(Collection& collection, const std::vector<const Bitmap*>& bitmaps) {
    CropOutcome outcome;
    std::unordered_map<const Bitmap*, ResizedBitmap> resized;
    for (const Bitmap* bitmap : bitmaps) {
        if (IsCropExempt(*bitmap) || resized.count(bitmap)) continue;
        // A bitmap with nothing visible is left alone: cropping would leave no bitmap.
        const std::optional<PixelRect> bounds = OpaqueBounds(*bitmap);
        if (!bounds || (bounds->Width() == bitmap->width && bounds->Height() == bitmap->height)) continue;
        Result<std::shared_ptr<Bitmap>> cut = CutBitmap(*bitmap, *bounds);
        if (!cut) continue;
        ++outcome.bitmaps;
        outcome.pixels += int64_t(bitmap->PixelCount()) - int64_t((*cut)->PixelCount());
        resized[bitmap] = {*cut, {bounds->left, bounds->top, bitmap->width - bounds->right, bitmap->height - bounds->bottom}};
    }
    ApplyResized(collection, resized);
    return outcome;
}

int UncropTransparency(Collection& collection, const std::vector<const Bitmap*>& bitmaps, int size) {
    assert(size >= kMinUncropSize && size <= kMaxUncropSize);
    std::unordered_map<const Bitmap*, ResizedBitmap> resized;
    for (const Bitmap* bitmap : bitmaps) {
        if (!IsPaletted(bitmap) || resized.count(bitmap)) continue;
        const int w = bitmap->width, h = bitmap->height;
        if (w > size || h > size || (w == size && h == size)) continue;
        const int left = (size - w) / 2, top = (size - h) / 2;
        std::shared_ptr<Bitmap> uncropped = CopyOf(bitmap);
        std::vector<uint8_t> canvas(size_t(size) * size_t(size) * 2);
        for (int y = 0; y < h; ++y)
            std::copy_n(bitmap->pixels.begin() + ptrdiff_t(size_t(y) * size_t(w) * 2), size_t(w) * 2,
                        canvas.begin() + ptrdiff_t((size_t(top + y) * size_t(size) + size_t(left)) * 2));
        StorePixels(*uncropped, size, size, std::move(canvas));
        // Negative margins: the points move right and down.
        resized[bitmap] = {uncropped, {-left, -top, -(size - w - left), -(size - h - top)}};
    }
    ApplyResized(collection, resized);
    return int(resized.size());
}

int RemoveAlpha(Collection& collection, const std::vector<const Bitmap*>& bitmaps) {
    int changed = 0;
    for (const Bitmap* bitmap : bitmaps) {
        if (!IsPaletted(bitmap) || !bitmap->Is16Bit()) continue;
        std::shared_ptr<Bitmap> opaque = CopyOf(bitmap);
        for (size_t i = 0; i < opaque->pixels.size(); i += 2) opaque->pixels[i] = 255;
        opaque->flags &= uint16_t(~(kBitmap16Bit | kBitmapColourAlpha8 | kBitmapColourAlpha16));
        [[maybe_unused]] const base::Status encoded = opaque->Encode();
        assert(encoded.ok());
        ReplaceBitmap(collection, bitmap, opaque);
        ++changed;
    }
    return changed;
}

int ConvertEncoding(Collection& collection, const std::vector<const Bitmap*>& bitmaps, bool rle) {
    int changed = 0;
    for (const Bitmap* bitmap : bitmaps) {
        if (!IsPaletted(bitmap) || bitmap->IsRle() == rle) continue;
        std::shared_ptr<Bitmap> converted = CopyOf(bitmap);
        converted->flags = uint16_t(rle ? converted->flags | kBitmapRle : converted->flags & ~kBitmapRle);
        StorePixels(*converted, bitmap->width, bitmap->height, bitmap->pixels);
        ReplaceBitmap(collection, bitmap, converted);
        ++changed;
    }
    return changed;
}

}  // namespace tamber::collections
