#include "collections/PaletteMerge.h"

#include <algorithm>
#include <unordered_map>

#include "collections/CollectionEdits.h"

namespace tamber::collections {
using namespace tamber::images;

namespace {

uint32_t ColourAt(const uint8_t* palette, size_t index) {
    return uint32_t(palette[index * 3]) << 16 | uint32_t(palette[index * 3 + 1]) << 8 | palette[index * 3 + 2];
}

// The first index of every colour of the palette.
std::unordered_map<uint32_t, uint8_t> FirstIndices(const Palette& palette) {
    std::unordered_map<uint32_t, uint8_t> first;
    for (size_t i = 256; i-- > 0;) first[ColourAt(palette.data(), i)] = uint8_t(i);
    return first;
}

// Moves every paletted pixel of index `from` to index `to` (a new bitmap object for
// each bitmap that changes).
void MoveIndices(Collection& collection, const std::array<uint8_t, 256>& moves) {
    for (const std::shared_ptr<Bitmap>& bitmap : std::vector<std::shared_ptr<Bitmap>>(collection.bitmaps)) {
        if (bitmap->IsHighColour()) continue;
        bool uses = false;
        for (size_t i = 1; i < bitmap->pixels.size() && !uses; i += 2) uses = moves[bitmap->pixels[i]] != bitmap->pixels[i];
        if (!uses) continue;
        auto moved = std::make_shared<Bitmap>(*bitmap);
        for (size_t i = 1; i < moved->pixels.size(); i += 2) moved->pixels[i] = moves[moved->pixels[i]];
        if (base::Status encoded = moved->Encode(); !encoded) continue;
        ReplaceBitmap(collection, bitmap.get(), moved);
    }
}

// A new collection's palette: every entry equals entry 0.
bool IsBlank(const Palette& palette) {
    for (size_t i = 3; i < palette.size(); ++i)
        if (palette[i] != palette[i % 3]) return false;
    return true;
}

}  // namespace

Palette PaddedPalette(const Image& image) {
    Palette padded{};
    const size_t count = std::min<size_t>(image.paletteCount, 256);
    std::copy(image.palette.begin(), image.palette.begin() + ptrdiff_t(std::min(image.palette.size(), count * 3)),
              padded.begin());
    for (size_t i = std::max<size_t>(count, 1); i < 256; ++i)
        std::copy(padded.begin(), padded.begin() + 3, padded.begin() + ptrdiff_t(i * 3));
    return padded;
}

void TakePalette(Collection& collection, const Image& image) { collection.palette = PaddedPalette(image); }

std::array<uint8_t, 256> IndexMap(const Palette& palette, const Image& image) {
    const Palette source = PaddedPalette(image);
    const auto first = FirstIndices(palette);
    std::array<uint8_t, 256> map{};
    for (size_t i = 0; i < 256; ++i) {
        const auto found = first.find(ColourAt(source.data(), i));
        map[i] = found == first.end() ? 0 : found->second;
    }
    return map;
}

PaletteMerge MergePalette(Collection& collection, const Image& image, const std::vector<bool>& used) {
    const Palette source = PaddedPalette(image);
    Palette& palette = collection.palette;
    if (IsBlank(palette)) {
        if (palette == source) return PaletteMerge::kUnchanged;
        palette = source;
        return PaletteMerge::kChanged;
    }
    std::array<bool, 256> wanted{};
    for (size_t i = 0; i < image.pixels.size(); ++i)
        if (used.empty() || used[i]) wanted[image.pixels[i]] = true;
    // Free entries repeat an earlier entry; each keeps the index of that earlier one.
    std::unordered_map<uint32_t, uint8_t> first;
    std::vector<std::pair<uint8_t, uint8_t>> free;  // (entry, earlier entry of its colour)
    for (size_t i = 0; i < 256; ++i) {
        const auto [at, inserted] = first.emplace(ColourAt(palette.data(), i), uint8_t(i));
        if (!inserted) free.emplace_back(uint8_t(i), at->second);
    }
    std::vector<uint32_t> missing;
    for (size_t i = 0; i < 256; ++i) {
        const uint32_t colour = ColourAt(source.data(), i);
        if (wanted[i] && !first.count(colour) && std::find(missing.begin(), missing.end(), colour) == missing.end())
            missing.push_back(colour);
    }
    if (missing.empty()) return PaletteMerge::kUnchanged;
    if (missing.size() > free.size()) return PaletteMerge::kIncompatible;
    std::array<uint8_t, 256> moves;
    for (size_t i = 0; i < 256; ++i) moves[i] = uint8_t(i);
    for (size_t k = 0; k < missing.size(); ++k) {
        const auto [entry, earlier] = free[k];
        moves[entry] = earlier;
        palette[entry * 3] = uint8_t(missing[k] >> 16);
        palette[entry * 3 + 1] = uint8_t(missing[k] >> 8);
        palette[entry * 3 + 2] = uint8_t(missing[k]);
    }
    MoveIndices(collection, moves);
    return PaletteMerge::kChanged;
}

}  // namespace tamber::collections
