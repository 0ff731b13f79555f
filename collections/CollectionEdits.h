#pragma once
// Whole-bitmap commands of the bitmap browsers, applied to a collection. None of
// them alters a Bitmap object in place: a changed bitmap is a new object put where
// the old one was (in the list and in every view and shadow), so a copy of the
// collection taken before the command still describes it as it was (undo).
#include <cstdint>
#include <memory>
#include <vector>

#include "collections/Collection.h"

namespace tamber::collections {

// Puts `replacement` where `old` is: in the bitmap list and every view and shadow.
void ReplaceBitmap(Collection& collection, const Bitmap* old, std::shared_ptr<Bitmap> replacement);

struct CropOutcome {
    int bitmaps = 0;       // bitmaps cut
    int64_t pixels = 0;    // pixels removed
};
// Cuts each bitmap to the smallest rectangle holding its non-transparent pixels
// (RAW bitmaps with power-of-two sides, high-colour bitmaps and bitmaps with no
// visible pixel are left alone) and moves the points of the views that show it.
CropOutcome CropTransparency(Collection& collection, const std::vector<const Bitmap*>& bitmaps);

// Valid sizes of UncropTransparency.
constexpr int kMinUncropSize = 1;
constexpr int kMaxUncropSize = 4096;
// Centres each paletted bitmap of at most size x size on a transparent size x size
// canvas and moves the points of the views that show it; returns the bitmaps changed.
int UncropTransparency(Collection& collection, const std::vector<const Bitmap*>& bitmaps, int size);

// Makes every 16-bit bitmap opaque and 8-bit, and clears the colour-alpha markers;
// returns the bitmaps changed.
int RemoveAlpha(Collection& collection, const std::vector<const Bitmap*>& bitmaps);

// Stores each paletted bitmap run-length encoded or RAW; returns the bitmaps changed.
int ConvertEncoding(Collection& collection, const std::vector<const Bitmap*>& bitmaps, bool rle);

// Sets a bitmap's decoded (alpha, index) pixels and size and encodes them, choosing
// the depth the pixels need: partial alpha, or opaque pixels of index 0 (which
// 8-bit bitmaps show transparent), make the bitmap 16-bit. Transparent pixels are
// stored as (0, 0).
// Bitmaps whose alpha comes from their colours keep that rule.
void StorePixels(Bitmap& bitmap, int width, int height, std::vector<uint8_t> pixels);

}  // namespace tamber::collections
