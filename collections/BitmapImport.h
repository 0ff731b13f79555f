#pragma once
// Pictures entering a collection: new bitmaps and shadows from image files or a
// colour plate, and new pixels or alphas for existing bitmaps. Colour pictures
// are 8-bit paletted (grey pictures count as paletted with the grey ramp), alpha
// masks 8-bit grey. Every refused file is reported with its name and skipped.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "base/Result.h"
#include "collections/Collection.h"
#include "images/Image.h"

namespace tamber::collections {

// Asked when a picture's colours do not fit into the collection's palette: true
// gives the collection the picture's palette, false cancels the import.
using PaletteQuestion = std::function<bool()>;

constexpr const char* kOverwritePaletteTitle = "Overwrite Palette?";
constexpr const char* kOverwritePaletteText =
    "The color table in the image file is not compatible with the one in the collection.\n"
    "Would you like to replace the collection's color table with the one from the image file?";

struct ImportOutcome {
    std::vector<std::string> refusals;  // one message per refused file
    int changed = 0;                    // bitmaps added or replaced
    bool cancelled = false;             // the palette question was cancelled: the import stopped
};

// Reads a colour picture or an alpha mask, with the refusal message of each failure.
base::Result<images::Image> ReadColorImage(const std::string& path);
base::Result<images::Image> ReadAlphaImage(const std::string& path);

// One new bitmap per file (shadows carry flag 0x80), named after the file.
ImportOutcome AddBitmapsFromFiles(Collection& collection, const std::vector<std::string>& paths, bool shadows,
                                  const PaletteQuestion& question);
// The bitmaps cut from a colour plate, named "<plate name> #0000" after their cells.
ImportOutcome AddBitmapsFromPlate(Collection& collection, const std::string& path, bool shadows,
                                  const PaletteQuestion& question);

enum class MappingMode { kByOrder = 0, kByName = 1 };
using FileMapping = std::vector<std::pair<const Bitmap*, std::string>>;
// Pairs bitmaps with replacement files. By order, the files in their order go to
// the bitmaps in theirs; fewer files than bitmaps fail. By name, each bitmap takes
// the file whose base name is its name; the bitmaps without one are named in
// `unmatched` (empty when all matched) and left out.
base::Result<FileMapping> MapReplacementFiles(const std::vector<const Bitmap*>& bitmaps,
                                              const std::vector<std::string>& paths, MappingMode mode,
                                              std::string& unmatched);

// New pixels for each bitmap, keeping its name and place.
ImportOutcome ReplaceBitmaps(Collection& collection, const FileMapping& mapping, const PaletteQuestion& question);
// New alphas, from masks of each bitmap's size.
ImportOutcome ReplaceAlphas(Collection& collection, const FileMapping& mapping);
// The same from a plate whose cells hold exactly the bitmaps (alpha plates: of their sizes).
ImportOutcome ReplaceFromPlate(Collection& collection, const std::vector<const Bitmap*>& bitmaps,
                               const std::string& path, const PaletteQuestion& question);
ImportOutcome ReplaceAlphasFromPlate(Collection& collection, const std::vector<const Bitmap*>& bitmaps,
                                     const std::string& path);

// The base name of a path: without its folder and its extension.
std::string BaseName(const std::string& path);

}  // namespace tamber::collections
