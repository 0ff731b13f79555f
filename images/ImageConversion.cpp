#include "images/ImageConversion.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <system_error>
#include <variant>

#include "images/ColorHistogram.h"
#include "images/MediaFile.h"
#include "images/PaletteReducer.h"
#include "images/PixelConvert.h"
#include "images/WuQuantizer.h"
#include "platform/fs/FileSystem.h"

namespace tamber::images {
using namespace tamber::base;
using namespace tamber::platform;

namespace fs = std::filesystem;

namespace {

constexpr int kRefinePasses = 24;
// The shared histogram is coarsened to 6 bits per channel beyond this many colours.
constexpr size_t kMaxSharedColors = size_t(1) << 20;
constexpr uint8_t kTransparentBelow = 128;

// ---- Paths ----

std::string Resolved(const std::string& path) {
    std::error_code ec;
    fs::path resolved = fs::weakly_canonical(fs::absolute(path, ec), ec);
    if (ec) resolved = fs::absolute(path, ec).lexically_normal();
    std::string text = resolved.string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

bool IsSameOrInside(const std::string& path, const std::string& folder) {
    if (path == folder) return true;
    const std::string prefix = folder == "/" ? folder : folder + "/";
    return path.compare(0, prefix.size(), prefix) == 0;
}

bool HasImageExtension(const std::string& name) {
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos) return false;
    std::string ext = name.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return ext == "bmp" || ext == "png" || ext == "tif" || ext == "tiff" || ext == "jpg" || ext == "jpeg";
}

// Where a source image goes: the same name, but a JPEG (read only) becomes a PNG.
fs::path TargetPath(const fs::path& destination, const fs::path& relative) {
    fs::path target = destination / relative;
    std::string ext = relative.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    if (ext == ".jpg" || ext == ".jpeg") target.replace_extension(".png");
    return target;
}

void CollectImages(const std::string& source, const std::string& destination, ImageConversionPlan& plan) {
    // Folder links are not followed: a link back up the tree would never end. A
    // folder that cannot be listed is recorded, never skipped in silence.
    std::vector<fs::path> folders{fs::path(source)};
    while (!folders.empty()) {
        const fs::path folder = std::move(folders.back());
        folders.pop_back();
        std::error_code ec;
        fs::directory_iterator it(folder, ec), end;
        for (; !ec && it != end; it.increment(ec)) {
            const fs::path& path = it->path();
            const std::string name = path.filename().string();
            // A broken link or a vanished file ends nothing but its own entry.
            std::error_code entryError;
            if (name.empty() || name[0] == '.') continue;
            if (it->is_directory(entryError) && !it->is_symlink(entryError)) {
                folders.push_back(path);
                continue;
            }
            if (!it->is_regular_file(entryError) || !HasImageExtension(name)) continue;
            const fs::path relative = path.lexically_relative(source);
            bool safe = !relative.empty();
            for (const fs::path& part : relative) safe = safe && part != ".." && part != "." && !part.empty();
            if (safe) plan.jobs.push_back({path.string(), TargetPath(destination, relative).string()});
        }
        if (ec) plan.unlistedFolders.push_back({folder.string(), ec.message()});
    }
    std::sort(plan.jobs.begin(), plan.jobs.end(),
              [](const ImageConversionJob& a, const ImageConversionJob& b) { return a.source < b.source; });
}

// ---- Palettes ----

// The distinct colours of an RGBA image; pixels bound for entry 0 are left out.
std::vector<ColorCount> ColorsOf(const Image& rgba, bool skipTransparent) {
    if (!skipTransparent) return CountColors(rgba.pixels.data(), rgba.PixelCount());
    std::vector<uint8_t> opaque;
    opaque.reserve(rgba.pixels.size());
    for (size_t i = 0; i < rgba.pixels.size(); i += 4) {
        if (rgba.pixels[i + 3] >= kTransparentBelow) opaque.insert(opaque.end(), &rgba.pixels[i], &rgba.pixels[i + 4]);
    }
    return CountColors(opaque.data(), opaque.size() / 4);
}

// Sums the counts of equal colours (saturating) after sorting.
void Compact(std::vector<ColorCount>& colors) {
    std::sort(colors.begin(), colors.end(), [](const ColorCount& a, const ColorCount& b) { return a.rgb < b.rgb; });
    size_t out = 0;
    for (size_t i = 0; i < colors.size(); ++i) {
        if (out > 0 && colors[out - 1].rgb == colors[i].rgb) {
            uint64_t sum = uint64_t(colors[out - 1].count) + colors[i].count;
            colors[out - 1].count = uint32_t(std::min<uint64_t>(sum, std::numeric_limits<uint32_t>::max()));
        } else {
            colors[out++] = colors[i];
        }
    }
    colors.resize(out);
    if (colors.size() > kMaxSharedColors) colors = MergeColors(colors, 6);
}

uint32_t ReservedEntries(const ImageConversionOptions& options) {
    return options.reserveFirstTwo ? 2 : options.zeroIndexTransparent ? 1 : 0;
}

// Red, green, blue triples for the colours, never empty.
std::vector<uint8_t> BuildPalette(const std::vector<ColorCount>& colors, const ImageConversionOptions& options) {
    const uint32_t size = std::clamp<uint32_t>(options.paletteSize, 1, 256);
    const uint32_t reserved = ReservedEntries(options);
    const uint32_t available = size > reserved ? size - reserved : 1;
    if (colors.empty()) return {0, 0, 0};
    std::vector<uint8_t> palette;
    if (colors.size() > available) palette = WuQuantizer(colors).BuildPalette(available);
    RefinePalette(palette, colors, available, kRefinePasses);
    if (palette.empty()) palette = {0, 0, 0};
    return palette;
}

// Maps an RGBA image onto the palette (after the kept entries) with error diffusion.
bool IndexImage(Image& image, const std::vector<uint8_t>& palette, const ImageConversionOptions& options) {
    const uint32_t reserved = ReservedEntries(options);
    Image result;
    if (!CreateImage(result, image.width, image.height, kPixelPaletted)) return false;
    std::vector<uint8_t> entries(reserved * 3, 0);
    entries.insert(entries.end(), palette.begin(), palette.end());
    SetPalette(result, uint32_t(entries.size() / 3), entries.data());
    if (options.dither)
        DiffuseToPalette(image.pixels.data(), image.width, image.height, palette, result.pixels.data(), 1);
    else
        MapToPalette(image.pixels.data(), image.PixelCount(), palette, result.pixels.data());
    for (size_t i = 0; i < result.pixels.size(); ++i) {
        const bool transparent = image.pixels[i * 4 + 3] < kTransparentBelow;
        result.pixels[i] = options.zeroIndexTransparent && transparent ? 0 : uint8_t(result.pixels[i] + reserved);
    }
    image = std::move(result);
    return true;
}

// ---- One image ----

// Every target format but the source's own is RGB or RGBA on the way, so
// transparency chunks are applied for those.
Result<MediaFile> ReadImage(const std::string& path, const ImageConversionOptions& options) {
    MediaFile file(path);
    file.kind = kMediaImage;
    file.transparency = options.format == kConvertCopySource ? Transparency::kIgnore : Transparency::kApply;
    if (Status loaded = LoadImage(file); !loaded) return std::move(loaded).TakeError();
    return file;
}

// The pixel conversion of every format but the shared palette's second pass.
bool ConvertPixels(Image& image, const ImageConversionOptions& options, const std::vector<uint8_t>* shared) {
    switch (options.format) {
    case kConvertRGB: return Convert(image, kPixelRGB);
    case kConvertRGBA: return Convert(image, kPixelRGBA);
    case kConvertAlpha: return Convert(image, kPixelGrey);
    case kConvertIndexed: {
        if (!Convert(image, kPixelRGBA)) return false;
        if (shared) return IndexImage(image, *shared, options);
        return IndexImage(image, BuildPalette(ColorsOf(image, options.zeroIndexTransparent), options), options);
    }
    default: return true;
    }
}

// Writes into the destination only: the target's folder must resolve inside it
// (a link in the destination tree could lead anywhere).
Status WriteImage(const Image& image, const ImageConversionJob& job, uint32_t sourceFormat,
                  const std::string& destination) {
    const std::string folder = fs::path(job.target).parent_path().string();
    const Error outside = Fail("its folder '" + folder + "' leads out of the destination folder through a link");
    // Checked before the folders are made (so none appears elsewhere) and after.
    if (!IsSameOrInside(Resolved(folder), destination)) return outside;
    if (Status made = MakeFolders(folder); !made) return made;
    if (!IsSameOrInside(Resolved(folder), destination)) return outside;
    MediaFile file(job.target);
    const uint32_t named = FormatFromExtension(job.target);
    file.format = named == kFormatBmp || named == kFormatPng || named == kFormatTiff ? named : sourceFormat;
    file.kind = kMediaImage;
    file.image = image;
    return SaveImage(file);
}

std::string SettingsLine(const std::string& source, const std::string& destination,
                         const ImageConversionOptions& options) {
    std::string line = "Converting '" + source + "' into '" + destination + "' as " +
                       ConversionFormatNames()[size_t(options.format)];
    if (options.format == kConvertIndexed) {
        line += " (" + IndexingTypeNames()[size_t(options.indexing)] + ", " + std::to_string(options.paletteSize) +
                " colors, reserve first two " + TrueFalseNames()[options.reserveFirstTwo ? 0 : 1] +
                ", 0-index transparent " + TrueFalseNames()[options.zeroIndexTransparent ? 0 : 1] + ")";
    }
    return line + "\n";
}

std::string Quoted(const char* format, const std::string& path) {
    std::vector<char> text(path.size() + 128);
    std::snprintf(text.data(), text.size(), format, path.c_str());
    return text.data();
}

}  // namespace

const std::vector<std::string>& ConversionFormatNames() {
    static const std::vector<std::string> names{"Copy Source", "Indexed", "RGB", "RGBA", "Alpha"};
    return names;
}

const std::vector<std::string>& IndexingTypeNames() {
    static const std::vector<std::string> names{"Individual", "Global"};
    return names;
}

const std::vector<std::string>& TrueFalseNames() {
    static const std::vector<std::string> names{"True", "False"};
    return names;
}

std::optional<uint32_t> ParsePaletteSize(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::nullopt;
    const size_t last = text.find_last_not_of(" \t");
    const std::string digits = text.substr(first, last - first + 1);
    if (digits.size() > 3 || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const uint32_t size = uint32_t(std::stoul(digits));
    if (size < 1 || size > 256) return std::nullopt;
    return size;
}

std::variant<ImageConversionPlan, ConversionRefusal> PlanImageConversion(const std::string& source,
                                                                         const std::string& destination) {
    ImageConversionPlan plan;
    plan.source = Resolved(source);
    plan.destination = Resolved(destination);
    const FileStatus status = GetFileStatus(plan.source);
    plan.singleFile = status.exists && !status.isFolder;
    // A single file's folder counts as the source folder: converting into it would
    // replace the file being read.
    const std::string sourceFolder = plan.singleFile ? fs::path(plan.source).parent_path().string() : plan.source;
    const bool inside = plan.singleFile ? plan.destination == sourceFolder
                                        : IsSameOrInside(plan.destination, sourceFolder);
    if (!source.empty() && (destination.empty() || inside))
        return ConversionRefusal{0, "ERROR: the destination folder must not be the same as, or inside of the source folder.\n"};
    if (source.empty() || !status.exists) return ConversionRefusal{2, "ERROR: source path must be a valid file or folder.\n"};
    if (plan.singleFile) {
        plan.jobs.push_back({plan.source, TargetPath(plan.destination, fs::path(plan.source).filename()).string()});
    } else {
        CollectImages(plan.source, plan.destination, plan);
    }
    return plan;
}

std::vector<std::string> ExistingTargets(const ImageConversionPlan& plan) {
    std::vector<std::string> existing;
    for (const ImageConversionJob& job : plan.jobs) {
        if (GetFileStatus(job.target).exists) existing.push_back(job.target);
    }
    return existing;
}

ImageConversionSummary ConvertImageTree(const std::string& source, const std::string& destination,
                                        const ImageConversionOptions& requested, const ConversionLog& log,
                                        const ConversionProgress& progress, const ReplaceQuestion& mayReplace) {
    ImageConversionSummary summary;
    ImageConversionOptions options = requested;
    options.format = std::clamp(options.format, int(kConvertCopySource), int(kConvertAlpha));
    options.indexing = std::clamp(options.indexing, int(kIndexIndividual), int(kIndexGlobal));
    options.paletteSize = std::clamp<uint32_t>(options.paletteSize, 1, 256);
    log(0, "------------------- Begin Recursive image conversion (TODO log paths & settings here)\n");
    auto planned = PlanImageConversion(source, destination);
    if (const auto* refusal = std::get_if<ConversionRefusal>(&planned)) {
        log(refusal->level, refusal->line);
        return summary;
    }
    const ImageConversionPlan& plan = std::get<ImageConversionPlan>(planned);
    log(0, SettingsLine(plan.source, plan.destination, options));
    const std::vector<std::string> existing = ExistingTargets(plan);
    if (!existing.empty() && (!mayReplace || !mayReplace(existing))) {
        log(1, "Stopped: " + std::to_string(existing.size()) +
                   " converted images would replace files in the destination folder.\n");
        return summary;
    }
    summary.started = true;
    summary.images = plan.jobs.size();
    for (const auto& [folder, reason] : plan.unlistedFolders) {
        ++summary.unreadable;
        log(1, Quoted("WARNING: folder '%s' could not be read", folder) + ": " + reason + "\n");
    }

    const bool shared = options.format == kConvertIndexed && options.indexing == kIndexGlobal;
    const size_t steps = plan.jobs.size() * (shared ? 2 : 1);
    size_t step = 0;
    std::vector<bool> readable(plan.jobs.size(), true);
    auto unreadable = [&](size_t i, const std::string& reason) {
        readable[i] = false;
        ++summary.unreadable;
        log(1, Quoted("WARNING: image file '%s' could not be read", plan.jobs[i].source) + ": " + reason + "\n");
    };

    // One palette for all: the colours of every image first.
    std::vector<uint8_t> sharedPalette;
    if (shared) {
        std::vector<ColorCount> colors;
        size_t compacted = 0;
        for (size_t i = 0; i < plan.jobs.size(); ++i) {
            if (progress) progress("Counting colors: " + plan.jobs[i].source, step++, steps);
            Result<MediaFile> file = ReadImage(plan.jobs[i].source, options);
            if (!file || !Convert(file->image, kPixelRGBA)) {
                unreadable(i, file ? "its pixels cannot be converted" : file.error());
                continue;
            }
            const std::vector<ColorCount> own = ColorsOf(file->image, options.zeroIndexTransparent);
            colors.insert(colors.end(), own.begin(), own.end());
            if (colors.size() > 2 * compacted + 65536) {
                Compact(colors);
                compacted = colors.size();
            }
        }
        Compact(colors);
        sharedPalette = BuildPalette(colors, options);
    }

    for (size_t i = 0; i < plan.jobs.size(); ++i) {
        const ImageConversionJob& job = plan.jobs[i];
        if (progress) progress(job.source, step++, steps);
        if (!readable[i]) continue;
        Result<MediaFile> file = ReadImage(job.source, options);
        if (!file) {
            unreadable(i, file.error());
            continue;
        }
        Status written = ConvertPixels(file->image, options, shared ? &sharedPalette : nullptr)
                             ? WriteImage(file->image, job, file->format, plan.destination)
                             : Status(Fail("its pixels cannot be converted"));
        if (!written) {
            ++summary.unwritable;
            log(1, Quoted("WARNING: image file '%s' could not be written", job.target) + ": " + written.error() + "\n");
            continue;
        }
        ++summary.written;
    }
    if (progress) progress("", steps, steps);
    log(0, "------------------- End Recursive image conversion: " + std::to_string(summary.written) + " of " +
               std::to_string(summary.images) + " images written\n");
    return summary;
}

}  // namespace tamber::images
