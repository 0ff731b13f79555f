#pragma once
// Bitmaps leaving a collection as image files: colours as paletted pictures with
// the collection's palette, alphas as grey pictures, one file each or one plate.
#include <optional>
#include <string>
#include <vector>

#include "base/Result.h"
#include "collections/Collection.h"
#include "images/Image.h"

namespace tamber::collections {

constexpr const char* kSharedNameMessage =
    "Export by name is not possible because two or more of the selected bitmaps share the same name. Running the "
    "auto-rename function may be useful.";

// The colour or alpha picture of a decoded paletted bitmap; none for a high-colour
// bitmap or one without decoded pixels.
std::optional<images::Image> BitmapToImage(const Collection& collection, const Bitmap& bitmap);
std::optional<images::Image> AlphaToImage(const Bitmap& bitmap);

// A bitmap name made safe as a file name inside a chosen folder: separators,
// reserved and control characters become "_", trailing points and blanks go, and
// an empty name, "." or ".." becomes "_".
std::string SafeFileStem(const std::string& name);

enum class ExportNaming { kByNumber = 0, kByName = 1 };

// One file name (without extension) per bitmap: "<word> #0000" by number (word
// "bitmap", "shadow" or "alpha"), or the bitmap's name made safe, followed by
// " alpha" for alphas. By name, fails with kSharedNameMessage when two names (as
// file names) are equal; each name that had to change is described in `renamed`.
base::Result<std::vector<std::string>> ExportFileStems(const std::vector<const Bitmap*>& bitmaps,
                                                       ExportNaming naming, const std::string& word, bool alpha,
                                                       std::vector<std::string>* renamed = nullptr);

// Writes one picture; the format follows the extension. Every failure is returned.
base::Status ExportBitmap(const Collection& collection, const Bitmap& bitmap, const std::string& path, bool alpha);
base::Status ExportPlate(const Collection& collection, const std::vector<const Bitmap*>& bitmaps,
                         const std::string& path, bool alpha);

struct ExportOutcome {
    std::vector<std::string> written;   // paths
    std::vector<std::string> failures;  // one message per file not written
    std::vector<std::string> notes;     // names changed to be safe as file names
};
// Writes each bitmap into `folder` (which must exist) as "<stem>.<extension>".
// Fails before writing anything when the names cannot be made.
base::Result<ExportOutcome> ExportBitmaps(const Collection& collection, const std::vector<const Bitmap*>& bitmaps,
                                          const std::string& folder, const std::string& extension,
                                          ExportNaming naming, const std::string& word, bool alpha);

}  // namespace tamber::collections
