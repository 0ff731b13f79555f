#pragma once
// Bringing the colours of a paletted picture into a collection's palette.
#include <array>
#include <cstdint>
#include <vector>

#include "collections/Collection.h"
#include "images/Image.h"

namespace tamber::collections {

using Palette = std::array<uint8_t, 768>;

enum class PaletteMerge {
    kUnchanged,     // every colour the picture uses is in the palette already
    kChanged,       // the palette took the picture's palette or new colours
    kIncompatible,  // the new colours do not fit into the palette's repeated entries
};

// The picture's palette padded to 256 entries with its entry 0.
Palette PaddedPalette(const images::Image& image);

// Merges the colours of the picture's pixels for which `used` is true (all pixels
// when `used` is empty) into the collection's palette. A palette whose entries all
// equal entry 0 takes the picture's palette. Otherwise each colour not in the
// palette goes into a free entry (one that repeats an earlier entry), lowest first;
// bitmaps that used a filled entry are moved to the earlier entry of the same
// colour, so that they look the same. Nothing changes when the colours do not fit.
PaletteMerge MergePalette(Collection& collection, const images::Image& image, const std::vector<bool>& used = {});

// The collection takes the picture's palette; its bitmaps keep their indices.
void TakePalette(Collection& collection, const images::Image& image);

// For each index of the picture, the index of the same colour in `palette`
// (its first occurrence); 0 for a colour that is not there.
std::array<uint8_t, 256> IndexMap(const Palette& palette, const images::Image& image);

}  // namespace tamber::collections
