#include "collections/BitmapImport.h"

#include <optional>
#include <unordered_map>

#include "collections/CollectionEdits.h"
#include "collections/ColorPlate.h"
#include "collections/PaletteMerge.h"
#include "images/MediaFile.h"

namespace tamber::collections {
using namespace tamber::base;
using namespace tamber::images;

namespace {

constexpr uint16_t kShadowFlag = 0x80;

std::string FileName(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Quoted(const std::string& path) { return "'" + FileName(path) + "': "; }

Result<Image> ReadPicture(const std::string& path) {
    MediaFile file(path);
    if (Status identified = Identify(file); !identified || file.kind != kMediaImage)
        return Fail(Quoted(path) + "The file is not of the right format.");
    if (Status loaded = LoadImage(file); !loaded)
        return Fail(Quoted(path) + "An error occurred while reading the image data.");
    return std::move(file.image);
}

// Brings the picture's colours into the palette, asking when they do not fit.
// False when the question was cancelled.
bool BringColours(Collection& collection, const Image& image, const std::vector<bool>& used,
                  const PaletteQuestion& question) {
    if (MergePalette(collection, image, used) != PaletteMerge::kIncompatible) return true;
    if (!question()) return false;
    TakePalette(collection, image);
    return true;
}

// (alpha, index) pixels of a rectangle of a paletted picture in the collection's
// palette; `transparent` says which picture indices are transparent.
std::vector<uint8_t> PixelsOf(const Collection& collection, const Image& image, const PlateCell& area,
                              bool plateIndices) {
    const std::array<uint8_t, 256> map = IndexMap(collection.palette, image);
    std::vector<uint8_t> pixels(size_t(area.width) * size_t(area.height) * 2);
    for (int y = 0; y < area.height; ++y)
        for (int x = 0; x < area.width; ++x) {
            const uint8_t index = image.pixels[size_t(area.y + y) * size_t(image.width) + size_t(area.x + x)];
            uint8_t* p = &pixels[(size_t(y) * size_t(area.width) + size_t(x)) * 2];
            const bool transparent = plateIndices && index <= 1;
            p[0] = transparent ? 0 : 255;
            p[1] = transparent ? 0 : map[index];
        }
    return pixels;
}

PlateCell Whole(const Image& image) { return {0, 0, image.width, image.height}; }

bool FitsBitmap(int width, int height) { return width > 0 && height > 0 && width <= 32767 && height <= 32767; }

std::shared_ptr<Bitmap> NewBitmap(const std::string& name, bool shadows, bool rle) {
    auto bitmap = std::make_shared<Bitmap>();
    bitmap->name = name.substr(0, 63);
    bitmap->flags = uint16_t((shadows ? kShadowFlag : 0) | (rle ? kBitmapRle : 0));
    return bitmap;
}

// Which plate pixels are bitmap pixels of the given cells (their colours matter).
std::vector<bool> CellMask(const Image& plate, const std::vector<PlateCell>& cells) {
    std::vector<bool> used(plate.pixels.size(), false);
    for (const PlateCell& cell : cells)
        for (int y = cell.y; y < cell.y + cell.height; ++y)
            for (int x = cell.x; x < cell.x + cell.width; ++x) {
                const size_t i = size_t(y) * size_t(plate.width) + size_t(x);
                used[i] = plate.pixels[i] > 1;
            }
    return used;
}

std::vector<PlateCell> Filled(const std::vector<PlateCell>& cells) {
    std::vector<PlateCell> filled;
    for (const PlateCell& cell : cells)
        if (!cell.Empty()) filled.push_back(cell);
    return filled;
}

// A replacement bitmap: the old one's name, flags and place, with new pixels.
void Replace(Collection& collection, const Bitmap* old, int width, int height, std::vector<uint8_t> pixels,
             bool clearColourAlpha) {
    auto replacement = std::make_shared<Bitmap>(*old);
    if (clearColourAlpha) replacement->flags &= uint16_t(~(kBitmapColourAlpha8 | kBitmapColourAlpha16));
    StorePixels(*replacement, width, height, std::move(pixels));
    ReplaceBitmap(collection, old, replacement);
}

std::vector<uint8_t> WithAlpha(const Bitmap& bitmap, const Image& mask, const PlateCell& area) {
    std::vector<uint8_t> pixels = bitmap.pixels;
    for (int y = 0; y < area.height; ++y)
        for (int x = 0; x < area.width; ++x)
            pixels[(size_t(y) * size_t(area.width) + size_t(x)) * 2] =
                mask.pixels[size_t(area.y + y) * size_t(mask.width) + size_t(area.x + x)];
    return pixels;
}

std::vector<int> IndicesOf(const Collection& collection, const FileMapping& mapping) {
    std::vector<int> indices;
    for (const auto& entry : mapping) indices.push_back(collection.IndexOfBitmap(entry.first));
    return indices;
}

bool IsPalettedBitmap(const Bitmap& bitmap) {
    return !bitmap.IsHighColour() && bitmap.pixels.size() == bitmap.PixelCount() * kPalettedPixelBytes;
}

// A replacement plate for exactly these bitmaps (alpha plates: of their sizes):
// the picture and its filled cells, or the refusal in `outcome`.
struct ReplacementPlate {
    Image image;
    std::vector<PlateCell> cells;
};
std::optional<ReplacementPlate> ReadReplacementPlate(const std::string& path, const std::vector<const Bitmap*>& bitmaps,
                                                     bool alpha, ImportOutcome& outcome) {
    Result<Image> image = alpha ? ReadAlphaImage(path) : ReadColorImage(path);
    if (!image) {
        outcome.refusals.push_back(image.error());
        return std::nullopt;
    }
    Result<std::vector<PlateCell>> cells = ReadPlateLayout(*image);
    std::vector<PlateCell> filled = cells ? Filled(*cells) : std::vector<PlateCell>{};
    bool fits = cells && filled.size() == bitmaps.size();
    for (size_t i = 0; i < filled.size() && fits && alpha; ++i)
        fits = filled[i].width == bitmaps[i]->width && filled[i].height == bitmaps[i]->height;
    if (!fits) {
        outcome.refusals.push_back(Quoted(path) + "The " + (alpha ? "alpha" : "color") +
                                   " plate is not of the correct format or the image dimensions do not match.");
        return std::nullopt;
    }
    return ReplacementPlate{std::move(*image), std::move(filled)};
}

}  // namespace

std::string BaseName(const std::string& path) {
    const std::string name = FileName(path);
    const size_t dot = name.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

Result<Image> ReadColorImage(const std::string& path) {
    Result<Image> image = ReadPicture(path);
    if (!image) return image;
    // The image reader turns pictures with the grey ramp as their palette into grey.
    if (image->format == kPixelGrey) {
        uint8_t ramp[768];
        for (int i = 0; i < 768; ++i) ramp[i] = uint8_t(i / 3);
        image->format = kPixelPaletted;
        SetPalette(*image, 256, ramp);
    }
    if (image->format != kPixelPaletted) return Fail(Quoted(path) + "The image is not 8-bit paletted.");
    if (!FitsBitmap(image->width, image->height))
        return Fail(Quoted(path) + "An error occurred while reading the image data.");
    return image;
}

Result<Image> ReadAlphaImage(const std::string& path) {
    Result<Image> image = ReadPicture(path);
    if (!image) return image;
    if (image->format != kPixelGrey) return Fail(Quoted(path) + "The image is not 8-bit greyscale.");
    return image;
}

ImportOutcome AddBitmapsFromFiles(Collection& collection, const std::vector<std::string>& paths, bool shadows,
                                  const PaletteQuestion& question) {
    ImportOutcome outcome;
    for (const std::string& path : paths) {
        Result<Image> image = ReadColorImage(path);
        if (!image) {
            outcome.refusals.push_back(image.error());
            continue;
        }
        if (!BringColours(collection, *image, {}, question)) {
            outcome.cancelled = true;
            break;
        }
        auto bitmap = NewBitmap(BaseName(path), shadows, false);
        StorePixels(*bitmap, image->width, image->height, PixelsOf(collection, *image, Whole(*image), false));
        collection.bitmaps.push_back(bitmap);
        ++outcome.changed;
    }
    return outcome;
}

ImportOutcome AddBitmapsFromPlate(Collection& collection, const std::string& path, bool shadows,
                                  const PaletteQuestion& question) {
    ImportOutcome outcome;
    Result<Image> plate = ReadColorImage(path);
    if (!plate) {
        outcome.refusals.push_back(plate.error());
        return outcome;
    }
    Result<std::vector<PlateCell>> cells = ReadPlateLayout(*plate);
    if (!cells) {
        outcome.refusals.push_back(Quoted(path) + "The color plate is not of the correct format.");
        return outcome;
    }
    if (!BringColours(collection, *plate, CellMask(*plate, *cells), question)) {
        outcome.cancelled = true;
        return outcome;
    }
    const std::string base = BaseName(path);
    for (size_t n = 0; n < cells->size(); ++n) {
        const PlateCell& cell = (*cells)[n];
        if (cell.Empty()) continue;
        char number[16];
        std::snprintf(number, sizeof number, " #%04d", int(n));
        std::vector<uint8_t> pixels = PixelsOf(collection, *plate, cell, true);
        auto bitmap = NewBitmap(base.substr(0, 63 - std::string(number).size()) + number, shadows, false);
        // Cells with transparent pixels are stored run-length encoded.
        for (size_t i = 0; i < pixels.size() && !bitmap->IsRle(); i += 2)
            if (pixels[i] == 0) bitmap->flags |= kBitmapRle;
        StorePixels(*bitmap, cell.width, cell.height, std::move(pixels));
        collection.bitmaps.push_back(bitmap);
        ++outcome.changed;
    }
    return outcome;
}

Result<FileMapping> MapReplacementFiles(const std::vector<const Bitmap*>& bitmaps,
                                        const std::vector<std::string>& paths, MappingMode mode,
                                        std::string& unmatched) {
    unmatched.clear();
    FileMapping mapping;
    if (mode == MappingMode::kByOrder) {
        if (paths.size() < bitmaps.size())
            return Fail(std::to_string(paths.size()) + " bitmaps were selected, expected at least " +
                        std::to_string(bitmaps.size()));
        for (size_t i = 0; i < bitmaps.size(); ++i) mapping.emplace_back(bitmaps[i], paths[i]);
        return mapping;
    }
    std::unordered_map<std::string, std::string> byName;
    for (const std::string& path : paths) byName.emplace(BaseName(path), path);
    constexpr size_t kListed = 10;
    size_t missing = 0;
    for (const Bitmap* bitmap : bitmaps) {
        const auto found = byName.find(bitmap->name);
        if (found != byName.end()) {
            mapping.emplace_back(bitmap, found->second);
            continue;
        }
        if (missing < kListed) unmatched += (missing ? ", " : "") + bitmap->name;
        ++missing;
    }
    if (missing) {
        unmatched = "The following bitmaps were not matched by name: " + unmatched;
        if (missing > kListed) unmatched += " (" + std::to_string(missing - kListed) + " more)";
    }
    return mapping;
}

ImportOutcome ReplaceBitmaps(Collection& collection, const FileMapping& mapping, const PaletteQuestion& question) {
    ImportOutcome outcome;
    const std::vector<int> indices = IndicesOf(collection, mapping);
    for (size_t k = 0; k < mapping.size(); ++k) {
        const std::string& path = mapping[k].second;
        const int index = indices[k];
        if (index < 0) continue;
        Result<Image> image = ReadColorImage(path);
        if (!image) {
            outcome.refusals.push_back(image.error());
            continue;
        }
        if (!BringColours(collection, *image, {}, question)) {
            outcome.cancelled = true;
            break;
        }
        // Merging the palette may have put a new object in the bitmap's place.
        Replace(collection, collection.GetBitmap(index), image->width, image->height, PixelsOf(collection, *image, Whole(*image), false),
                false);
        ++outcome.changed;
    }
    return outcome;
}

ImportOutcome ReplaceAlphas(Collection& collection, const FileMapping& mapping) {
    ImportOutcome outcome;
    for (const auto& [bitmap, path] : mapping) {
        Result<Image> mask = ReadAlphaImage(path);
        if (!mask) {
            outcome.refusals.push_back(mask.error());
            continue;
        }
        if (mask->width != bitmap->width || mask->height != bitmap->height) {
            char text[160];
            std::snprintf(text, sizeof text,
                          "The alpha mask must have the same dimensions as the image. Found: %d x %d. Expected: %d x %d.",
                          mask->width, mask->height, bitmap->width, bitmap->height);
            outcome.refusals.push_back(Quoted(path) + text);
            continue;
        }
        if (!IsPalettedBitmap(*bitmap)) continue;
        Replace(collection, bitmap, bitmap->width, bitmap->height, WithAlpha(*bitmap, *mask, Whole(*mask)), true);
        ++outcome.changed;
    }
    return outcome;
}

ImportOutcome ReplaceFromPlate(Collection& collection, const std::vector<const Bitmap*>& bitmaps,
                               const std::string& path, const PaletteQuestion& question) {
    ImportOutcome outcome;
    const std::optional<ReplacementPlate> plate = ReadReplacementPlate(path, bitmaps, false, outcome);
    if (!plate) return outcome;
    // Merging the palette may put new objects in the bitmaps' places.
    std::vector<int> indices;
    for (const Bitmap* bitmap : bitmaps) indices.push_back(collection.IndexOfBitmap(bitmap));
    if (!BringColours(collection, plate->image, CellMask(plate->image, plate->cells), question)) {
        outcome.cancelled = true;
        return outcome;
    }
    for (size_t i = 0; i < bitmaps.size(); ++i) {
        const PlateCell& cell = plate->cells[i];
        if (indices[i] < 0) continue;
        Replace(collection, collection.GetBitmap(indices[i]), cell.width, cell.height,
                PixelsOf(collection, plate->image, cell, true), false);
        ++outcome.changed;
    }
    return outcome;
}

ImportOutcome ReplaceAlphasFromPlate(Collection& collection, const std::vector<const Bitmap*>& bitmaps,
                                     const std::string& path) {
    ImportOutcome outcome;
    const std::optional<ReplacementPlate> plate = ReadReplacementPlate(path, bitmaps, true, outcome);
    if (!plate) return outcome;
    for (size_t i = 0; i < bitmaps.size(); ++i) {
        if (!IsPalettedBitmap(*bitmaps[i])) continue;
        Replace(collection, bitmaps[i], bitmaps[i]->width, bitmaps[i]->height,
                WithAlpha(*bitmaps[i], plate->image, plate->cells[i]), true);
        ++outcome.changed;
    }
    return outcome;
}

}  // namespace tamber::collections
