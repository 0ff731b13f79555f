#include "collections/builder/SequenceFolderScan.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>

#include "images/MediaFile.h"
#include "images/PixelConvert.h"
#include "platform/fs/FileSystem.h"

namespace tamber::collections::builder {
using namespace tamber::base;
using namespace tamber::images;
using namespace tamber::platform;

namespace {

std::string Lower(std::string text) {
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool IsImageName(const std::string& name) {
    if (name.empty() || name[0] == '.') return false;
    const uint32_t format = FormatFromExtension(name);
    return format == kFormatBmp || format == kFormatPng || format == kFormatTiff ||
           Lower(name).ends_with(".tif");
}

bool IsAlphaName(const std::string& name) { return FileStem(name).ends_with(".alpha"); }

// The sub-folders of a folder in name order (hidden ones left out).
std::vector<std::string> SubFolders(const std::string& folder) {
    std::vector<std::string> names;
    if (Result<std::vector<FolderItem>> items = ListFolder(folder)) {
        for (const FolderItem& item : *items)
            if (item.status.isFolder && !item.name.empty() && item.name[0] != '.') names.push_back(item.name);
    }
    return names;
}

bool IsFolder(const std::string& path) { return GetFileStatus(path).isFolder; }

// "run(8,12)" gives run, 8 views and 12 frames.
struct FolderName {
    std::string name;
    int views = 0, frames = 0;
    bool hasDimensions = false;
};

FolderName ParseFolderName(const std::string& folder) {
    FolderName parsed{folder};
    const size_t open = folder.rfind('(');
    if (open == std::string::npos) return parsed;
    int views = 0, frames = 0, used = 0;
    if (std::sscanf(folder.c_str() + open, "(%d,%d)%n", &views, &frames, &used) == 2 &&
        open + size_t(used) == folder.size() && views > 0 && frames > 0 && views <= kMaxBitmapSide &&
        frames <= kMaxBitmapSide) {
        parsed = {folder.substr(0, open), views, frames, true};
    }
    return parsed;
}

// Makes the alpha image one grey channel; false (with the warning) for other formats.
bool AlphaChannel(Image& alpha, const std::string& file, const BuildLog& log) {
    if (alpha.format == kPixelGrey) return true;
    const size_t bytes = alpha.format == kPixelRGB ? 3 : alpha.format == kPixelRGBA ? 4 : 0;
    if (!bytes) {
        log.Line(1, "WARNING: the alpha bitmap file '%s' was not 8-bit grayscale.\n", file.c_str());
        return false;
    }
    for (size_t i = 0; i < alpha.PixelCount(); ++i) alpha.pixels[i] = alpha.pixels[i * bytes];
    alpha.pixels.resize(alpha.PixelCount());
    alpha.format = kPixelGrey;
    return true;
}

// Crops to the pixels with non-zero alpha; false when there are none.
bool CropToVisible(ScannedImage& image) {
    const Image& rgba = image.rgba;
    int left = rgba.width, top = rgba.height, right = -1, bottom = -1;
    for (int y = 0; y < rgba.height; ++y) {
        const uint8_t* row = rgba.pixels.data() + size_t(y) * size_t(rgba.width) * 4;
        for (int x = 0; x < rgba.width; ++x) {
            if (!row[x * 4 + 3]) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = y;
        }
    }
    if (right < 0) return false;
    image.left = left;
    image.top = top;
    if (left == 0 && top == 0 && right == rgba.width - 1 && bottom == rgba.height - 1) return true;
    Image cropped;
    const int width = right - left + 1, height = bottom - top + 1;
    if (!CreateImage(cropped, width, height, kPixelRGBA)) return false;
    for (int y = 0; y < height; ++y)
        std::copy_n(rgba.pixels.data() + (size_t(top + y) * size_t(rgba.width) + size_t(left)) * 4, size_t(width) * 4,
                    cropped.pixels.data() + size_t(y) * size_t(width) * 4);
    image.rgba = std::move(cropped);
    return true;
}

std::optional<Image> LoadPicture(const std::string& path, Transparency transparency) {
    MediaFile file(path);
    file.kind = kMediaImage;
    file.transparency = transparency;
    if (!LoadImage(file)) return std::nullopt;
    return std::move(file.image);
}

}  // namespace

std::string FileStem(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string SequenceFolderName(const std::string& sequenceName) {
    std::string name = sequenceName;
    for (char& c : name)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F || std::strchr("\\/|\"<>*?:", c)) c = '_';
    if (name.empty() || name == "." || name == "..") name = "_" + name;
    return name;
}

SequenceFiles ListSequenceFiles(const std::string& colourFolder, const std::string& alphaFolder) {
    SequenceFiles files{colourFolder, alphaFolder, {}, {}};
    const bool shared = colourFolder == alphaFolder;
    if (Result<std::vector<FolderItem>> items = ListFolder(colourFolder)) {
        for (const FolderItem& item : *items) {
            if (item.status.isFolder || !IsImageName(item.name)) continue;
            (shared && IsAlphaName(item.name) ? files.alphas : files.colours).push_back(colourFolder + item.name);
        }
    }
    if (!shared) {
        if (Result<std::vector<FolderItem>> items = ListFolder(alphaFolder)) {
            for (const FolderItem& item : *items)
                if (!item.status.isFolder && IsImageName(item.name)) files.alphas.push_back(alphaFolder + item.name);
        }
    }
    return files;
}

SequenceFiles ListSequenceFolder(const std::string& folder) {
    return IsFolder(folder + "bitmaps") ? ListSequenceFiles(folder + "bitmaps/", folder + "alphas/")
                                        : ListSequenceFiles(folder, folder);
}

void ToViewsThenFrames(std::vector<std::string>& files, int views) {
    if (views <= 0) return;
    const size_t perView = files.size() / size_t(views);
    std::vector<std::string> ordered(files.size());
    for (size_t v = 0; v < size_t(views); ++v)
        for (size_t p = 0; p < perView; ++p) ordered[p * size_t(views) + v] = std::move(files[v * perView + p]);
    for (size_t i = perView * size_t(views); i < files.size(); ++i) ordered[i] = std::move(files[i]);
    files = std::move(ordered);
}

std::vector<int> MapFrameSlots(int views, int frames, const std::vector<int>& frameList, int& distinct) {
    std::vector<int> slots(size_t(views) * size_t(frames), -1);
    std::set<int> used;
    for (int f = 0; f < frames; ++f) {
        const int number = frameList.empty() ? f + 1 : frameList[size_t(f)];
        if (number == kEmptyFrame) continue;
        used.insert(number);
        for (int v = 0; v < views; ++v) slots[size_t(f) * size_t(views) + size_t(v)] = (number - 1) * views + v;
    }
    distinct = int(used.size());
    return slots;
}

std::optional<ScannedImage> LoadScannedImage(const std::string& colour, const std::string& alpha, bool invertAlpha,
                                             const BuildLog& log) {
    std::optional<Image> picture = LoadPicture(colour, Transparency::kApply);
    if (!picture || !Convert(*picture, kPixelRGBA)) {
        log.Line(1, "ERROR: the color bitmap file '%s' could not be loaded.\n", colour.c_str());
        return std::nullopt;
    }
    if (picture->width > kMaxBitmapSide || picture->height > kMaxBitmapSide) {
        log.Line(1, "ERROR: the color bitmap file '%s' is %dx%d pixels; collection bitmaps can be at most %dx%d.\n",
                 colour.c_str(), picture->width, picture->height, kMaxBitmapSide, kMaxBitmapSide);
        return std::nullopt;
    }
    ScannedImage image{colour, std::move(*picture), 0, 0, 0, 0};
    image.renderWidth = image.rgba.width;
    image.renderHeight = image.rgba.height;
    if (!alpha.empty()) {
        std::optional<Image> mask = LoadPicture(alpha, Transparency::kIgnore);
        if (!mask) {
            log.Line(1, "ERROR: the alpha bitmap file '%s' could not be loaded.\n", alpha.c_str());
            return std::nullopt;
        }
        if (AlphaChannel(*mask, alpha, log)) {
            if (mask->width != image.rgba.width || mask->height != image.rgba.height) {
                log.Line(1, "ERROR: the alpha bitmap file '%s' had different dimensions than its color counterpart, '%s'.\n",
                         alpha.c_str(), colour.c_str());
                return std::nullopt;
            }
            for (size_t i = 0; i < mask->pixels.size(); ++i) image.rgba.pixels[i * 4 + 3] = mask->pixels[i];
        }
    }
    if (invertAlpha)
        for (size_t i = 3; i < image.rgba.pixels.size(); i += 4) image.rgba.pixels[i] = uint8_t(255 - image.rgba.pixels[i]);
    if (!CropToVisible(image)) {
        log.Line(1, "ERROR: bitmap '%s' is empty after cropping (missing alpha channel?)\n", colour.c_str());
        return std::nullopt;
    }
    return image;
}

void LoadSlotImages(ScannedSequence& sequence, const SequenceFiles& files, bool invertAlphas, const BuildLog& log,
                    size_t& done, size_t total) {
    // File index -> loaded image index (-1 unusable, -2 not loaded yet).
    std::vector<int> loaded(files.colours.size(), -2);
    for (int& slot : sequence.slots) {
        if (slot < 0) continue;
        const size_t file = size_t(slot);
        if (file >= files.colours.size()) {
            slot = -1;
            continue;
        }
        if (loaded[file] == -2) {
            log.Step(files.colours[file], done++, total);
            const std::string alpha = files.alphas.empty() ? std::string() : files.alphas[file];
            std::optional<ScannedImage> image = LoadScannedImage(files.colours[file], alpha, invertAlphas, log);
            loaded[file] = image ? int(sequence.images.size()) : -1;
            if (image) sequence.images.push_back(std::move(*image));
        }
        slot = loaded[file];
    }
}

std::vector<ScannedSequence> ScanSequenceFolders(const std::string& folder, const ScanOptions& options,
                                                 const BuildLog& log) {
    struct Found {
        std::string folderName;
        std::string scriptFolder;
        SequenceFiles files;
    };
    std::vector<Found> found;
    if (IsFolder(folder + "bitmaps")) {
        for (const std::string& name : SubFolders(folder + "bitmaps/")) {
            const std::string colours = folder + "bitmaps/" + name + "/";
            found.push_back({name, colours, ListSequenceFiles(colours, folder + "alphas/" + name + "/")});
        }
    } else {
        for (const std::string& name : SubFolders(folder)) {
            const std::string base = folder + name + "/";
            found.push_back({name, base, ListSequenceFolder(base)});
        }
    }
    size_t total = 0, done = 0, bitmaps = 0;
    for (const Found& f : found) total += f.files.colours.size();

    std::vector<ScannedSequence> sequences;
    for (Found& f : found) {
        log.Line(0, "scanning sequence folder '%s'\n", f.folderName.c_str());
        const FolderName parsed = ParseFolderName(f.folderName);
        ScannedSequence sequence;
        sequence.name = parsed.name;
        sequence.order = options.order;
        Result<BuildScript> script = ReadBuildScript(f.scriptFolder);
        if (!script) {
            log.Line(1, "ERROR: script.txt in sequence folder '%s' could not be read: %s\n", f.folderName.c_str(),
                     script.error().c_str());
            continue;
        }
        sequence.script = std::move(*script);
        if (sequence.script.bitmapOrder) sequence.order = *sequence.script.bitmapOrder;
        SequenceFiles& files = f.files;
        const int count = int(std::min<size_t>(files.colours.size(), kMaxCollectionBitmaps));
        if (!files.alphas.empty() && files.alphas.size() != files.colours.size()) {
            log.Line(1, "ERROR: found %d alphas for sequence '%s', expected %d\n", int(files.alphas.size()),
                     sequence.name.c_str(), count);
            continue;
        }
        const std::vector<int>& frameList = sequence.script.frameList;
        if (parsed.hasDimensions) {
            sequence.views = parsed.views;
            sequence.frames = parsed.frames;
        } else if (sequence.script.hasFrameList && !frameList.empty() && count > 0) {
            // The frame list gives the frames; the views are what the images leave.
            const int distinct = int(std::set<int>(frameList.begin(), frameList.end()).size() -
                                     (std::count(frameList.begin(), frameList.end(), kEmptyFrame) ? 1 : 0));
            sequence.frames = int(frameList.size());
            sequence.views = distinct > 0 && count % distinct == 0 ? count / distinct : 0;
        } else if (count > 0 && count % 8 == 0) {
            log.Line(0, "INFO: Sequence dimensions not specified for '%s'; Assuming the default of 8 views.\n",
                     sequence.name.c_str());
            sequence.views = 8;
            sequence.frames = count / 8;
        }
        if (sequence.views <= 0 || sequence.frames <= 0) {
            log.Line(1, "ERROR: the sequence folder '%s' had invalid dimensions, no dimensions in script.txt and no "
                        "dimensions in the name.\n", f.folderName.c_str());
            continue;
        }
        if ((long long)sequence.views * sequence.frames > kMaxCollectionViews) {
            log.Line(1, "ERROR: the sequence folder '%s' asks for %d views of %d frames; a collection holds at most %lld "
                        "views.\n", f.folderName.c_str(), sequence.views, sequence.frames, kMaxCollectionViews);
            continue;
        }
        if (sequence.script.hasFrameList && int(frameList.size()) != sequence.frames) {
            log.Line(1, "ERROR: script.txt in sequence folder '%s' specifies %d frames, expected %d\n",
                     f.folderName.c_str(), int(frameList.size()), sequence.frames);
            continue;
        }
        int distinct = 0;
        sequence.slots = MapFrameSlots(sequence.views, sequence.frames, frameList, distinct);
        const long long expected = (long long)distinct * sequence.views;
        const int largest = frameList.empty() ? sequence.frames : *std::max_element(frameList.begin(), frameList.end());
        if (expected > count) {
            log.Line(1, "ERROR: sequence folder '%s' contains %d bitmaps, expected %lld\n", f.folderName.c_str(), count,
                     expected);
            continue;
        }
        if ((long long)largest * sequence.views > count) {
            log.Line(1, "ERROR: script.txt in sequence folder '%s' specified a frame index (%d), larger than the number "
                        "of frames found in the folder (%d).\n", f.folderName.c_str(), largest, count / sequence.views);
            continue;
        }
        if (expected < count)
            log.Line(1, "WARNING: sequence folder '%s' contains %d bitmaps, expected %lld. Some bitmaps will not be used.\n",
                     f.folderName.c_str(), count, expected);
        if (bitmaps + size_t(expected) > kMaxCollectionBitmaps - 1) {
            log.Line(1, "ERROR: sequence folder '%s' would take the collection past %d bitmaps.\n", f.folderName.c_str(),
                     int(kMaxCollectionBitmaps - 1));
            continue;
        }
        if (sequence.order == kFramesThenViews) {
            ToViewsThenFrames(files.colours, sequence.views);
            if (!files.alphas.empty()) ToViewsThenFrames(files.alphas, sequence.views);
        }
        LoadSlotImages(sequence, files, options.invertAlphas, log, done, total);
        bitmaps += sequence.images.size();
        sequences.push_back(std::move(sequence));
    }
    return sequences;
}

}  // namespace tamber::collections::builder
