#include "collections/BitmapExport.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>

#include "collections/ColorPlate.h"
#include "images/MediaFile.h"

namespace tamber::collections {
using namespace tamber::base;
using namespace tamber::images;

namespace {

constexpr size_t kMaxStem = 63;

bool HasPalettedPixels(const Bitmap& bitmap) {
    return !bitmap.IsHighColour() && bitmap.PixelCount() != 0 &&
           bitmap.pixels.size() == bitmap.PixelCount() * kPalettedPixelBytes;
}

Status Save(const Image& image, const std::string& path) {
    MediaFile file(path);
    file.kind = kMediaImage;
    file.image = image;
    if (file.format = FormatFromExtension(path); file.format != kFormatBmp && file.format != kFormatPng &&
                                                  file.format != kFormatTiff)
        return Fail("couldn't write '" + path + "': the name does not end in .bmp, .png or .tiff");
    return SaveImage(file);
}

}  // namespace

std::optional<Image> BitmapToImage(const Collection& collection, const Bitmap& bitmap) {
    Image image;
    if (!HasPalettedPixels(bitmap) || !CreateImage(image, bitmap.width, bitmap.height, kPixelPaletted) ||
        !SetPalette(image, 256, collection.palette.data()))
        return std::nullopt;
    // Decoded pixels are (alpha, index) pairs; the colour export keeps the index.
    for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = bitmap.pixels[i * 2 + 1];
    return image;
}

std::optional<Image> AlphaToImage(const Bitmap& bitmap) {
    Image image;
    if (!HasPalettedPixels(bitmap) || !CreateImage(image, bitmap.width, bitmap.height, kPixelGrey))
        return std::nullopt;
    for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = bitmap.pixels[i * 2];
    return image;
}

std::string SafeFileStem(const std::string& name) {
    std::string stem(name.c_str(), std::min(name.size(), std::strlen(name.c_str())));
    if (stem.size() > kMaxStem) stem.resize(kMaxStem);
    for (char& c : stem)
        if (static_cast<unsigned char>(c) < 32 || c == 127 || std::strchr("\\/|\"<>*?:", c)) c = '_';
    while (!stem.empty() && (stem.back() == '.' || stem.back() == ' ')) stem.pop_back();
    return stem.empty() ? "_" : stem;
}

Result<std::vector<std::string>> ExportFileStems(const std::vector<const Bitmap*>& bitmaps, ExportNaming naming,
                                                 const std::string& word, bool alpha,
                                                 std::vector<std::string>* renamed) {
    std::vector<std::string> stems;
    std::set<std::string> taken;
    for (size_t i = 0; i < bitmaps.size(); ++i) {
        if (naming == ExportNaming::kByNumber) {
            char stem[48];
            std::snprintf(stem, sizeof stem, "%s #%04d", word.c_str(), int(i));
            stems.push_back(stem);
            continue;
        }
        const std::string& name = bitmaps[i]->name;
        const std::string stem = SafeFileStem(name) + (alpha ? " alpha" : "");
        // Names that only differ in characters a file name cannot hold collide too.
        if (!taken.insert(stem).second) return Fail(kSharedNameMessage);
        if (renamed && SafeFileStem(name) != name)
            renamed->push_back("INFO: bitmap \"" + name + "\" is written as \"" + stem + "\"");
        stems.push_back(stem);
    }
    return stems;
}

Status ExportBitmap(const Collection& collection, const Bitmap& bitmap, const std::string& path, bool alpha) {
    const std::optional<Image> image = alpha ? AlphaToImage(bitmap) : BitmapToImage(collection, bitmap);
    if (!image || bitmap.placeholder)
        return Fail("couldn't write '" + path + "': bitmap \"" + bitmap.name + "\" is " +
                    (bitmap.IsHighColour() ? "high-colour" : "damaged") + " and has no paletted picture");
    return Save(*image, path);
}

Status ExportPlate(const Collection& collection, const std::vector<const Bitmap*>& bitmaps, const std::string& path,
                   bool alpha) {
    return Save(MakePlate(collection, bitmaps, alpha), path);
}

Result<ExportOutcome> ExportBitmaps(const Collection& collection, const std::vector<const Bitmap*>& bitmaps,
                                    const std::string& folder, const std::string& extension, ExportNaming naming,
                                    const std::string& word, bool alpha) {
    ExportOutcome outcome;
    Result<std::vector<std::string>> stems = ExportFileStems(bitmaps, naming, word, alpha, &outcome.notes);
    if (!stems) return std::move(stems).TakeError();
    const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    for (size_t i = 0; i < bitmaps.size(); ++i) {
        const std::string path = prefix + (*stems)[i] + "." + extension;
        if (Status saved = ExportBitmap(collection, *bitmaps[i], path, alpha); !saved)
            outcome.failures.push_back(saved.error());
        else
            outcome.written.push_back(path);
    }
    return outcome;
}

}  // namespace tamber::collections
