#pragma once
// Recursive image conversion: every image of a folder tree (or one image file)
// converted into one pixel format, optionally reduced to a palette of its own or
// to one palette shared by all, and written into a destination tree of the same
// shape. Results and problems are reported as log lines through a callback.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace tamber::images {

// The entries of the four option lists, in their order.
enum ConversionFormat : int { kConvertCopySource, kConvertIndexed, kConvertRGB, kConvertRGBA, kConvertAlpha };
enum IndexingType : int { kIndexIndividual, kIndexGlobal };
const std::vector<std::string>& ConversionFormatNames();  // "Copy Source", "Indexed", "RGB", "RGBA", "Alpha"
const std::vector<std::string>& IndexingTypeNames();      // "Individual", "Global"
const std::vector<std::string>& TrueFalseNames();         // "True", "False"

struct ImageConversionOptions {
    int format = kConvertCopySource;
    int indexing = kIndexIndividual;
    // Palette entries 0 and 1 are kept (black) and used by no converted colour.
    bool reserveFirstTwo = false;
    // Pixels less than half opaque take palette entry 0, which no colour uses.
    bool zeroIndexTransparent = false;
    uint32_t paletteSize = 256;  // 1 to 256, entries kept included
    // Indexed pixels carry their rounding error to their neighbours; off, each takes its nearest entry.
    bool dither = true;
};

// A palette size as typed: a whole number from 1 to 256 (blanks around it allowed).
std::optional<uint32_t> ParsePaletteSize(const std::string& text);

// One image to convert and the file it becomes.
struct ImageConversionJob {
    std::string source;
    std::string target;
};

// The work of a conversion: both paths resolved, and the jobs sorted by path.
struct ImageConversionPlan {
    std::string source;
    std::string destination;
    bool singleFile = false;
    std::vector<ImageConversionJob> jobs;
    // Folders of the source tree that could not be listed, with the system's reason.
    std::vector<std::pair<std::string, std::string>> unlistedFolders;
};

// A refusal of the paths: the log line to report and its level.
struct ConversionRefusal {
    int level = 0;
    std::string line;
};

// Checks the paths and lists the images (files named .bmp, .png, .tif or .tiff in
// any letter case; hidden files are skipped). Refused when the destination is the
// source or inside it, or when the source is neither a file nor a folder. A single
// file cannot be converted into its own folder, where it would be replaced.
std::variant<ImageConversionPlan, ConversionRefusal> PlanImageConversion(const std::string& source,
                                                                         const std::string& destination);
// The targets that are files already.
std::vector<std::string> ExistingTargets(const ImageConversionPlan& plan);

using ConversionLog = std::function<void(int level, const std::string& line)>;
using ConversionProgress = std::function<void(const std::string& what, size_t done, size_t total)>;
// Asked with the existing targets before anything is written; false stops the run.
using ReplaceQuestion = std::function<bool(const std::vector<std::string>& existing)>;

struct ImageConversionSummary {
    bool started = false;  // the paths were accepted and the run was not stopped
    size_t images = 0;
    size_t written = 0;
    size_t unreadable = 0;
    size_t unwritable = 0;
};

// The whole run with its log lines. Nothing is written outside the destination:
// a target whose folder resolves elsewhere (through a link) is not written.
ImageConversionSummary ConvertImageTree(const std::string& source, const std::string& destination,
                                        const ImageConversionOptions& options, const ConversionLog& log,
                                        const ConversionProgress& progress = nullptr,
                                        const ReplaceQuestion& mayReplace = nullptr);

}  // namespace tamber::images
