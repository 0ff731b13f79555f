#include "collections/builder/CollectionUpRes.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "collections/CollectionFile.h"
#include "collections/builder/CollectionBuild.h"
#include "collections/builder/Resampler.h"
#include "collections/builder/SequenceFolderScan.h"
#include "collections/builder/SharedPalette.h"
#include "collections/builder/UpResScale.h"
#include "tags/Archive.h"
#include "tags/LooseTagFile.h"

namespace tamber::collections::builder {
using namespace tamber::base;
using namespace tamber::tags;

namespace {

constexpr double kMinScale = 0.01, kMaxScale = 32;
// Scales compare equal within this, so a target equal to the computed scale passes.
constexpr double kScaleSlack = 1e-9;

std::optional<double> ParseNumber(const std::string& text, double low, double high) {
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end || errno || !(value >= low && value <= high)) return std::nullopt;
    return value;
}

// One original bitmap use and the render that replaces it.
struct Instance {
    size_t sequence;
    int frame, view;
    std::shared_ptr<Bitmap> original;
    int render = -1;          // index into the renders, -1 missing
    bool recovered = false;
};

struct SequenceRun {
    BuildScript script;
    bool preserve = false;    // render alignment kept for this sequence
};

// The key of the images that share one alignment.
long long AlignGroup(const Instance& instance, size_t index, const BuildScript& script) {
    const AlignType type = script.alignIndividually ? kAlignBitmaps : script.alignType.value_or(kAlignWholeSequence);
    const long long sequence = (long long)instance.sequence << 32;
    switch (type) {
        case kAlignBitmaps: return -1 - (long long)index;
        case kAlignViews: return sequence | (1LL << 31) | instance.view;
        case kAlignFrames: return sequence | instance.frame;
        default: return sequence | 0x7FFFFFFF;
    }
}

int16_t ToInt16(long value) { return int16_t(std::clamp(value, -32768L, 32767L)); }

class UpResRun {
public:
    UpResRun(Collection& collection, const UpResOptions& options, const BuildLog& log)
        : collection_(collection), options_(options), log_(log) {}

    Status Run();

private:
    void ApplyRootScript(std::vector<HueChange>& hues);
    void ScanSequence(size_t index, size_t& done, size_t total);
    void Recover();
    void CheckAlignment();
    double ScaleOf(const Instance& instance, double global) const;

    Collection& collection_;
    const UpResOptions& options_;
    const BuildLog& log_;
    std::vector<SequenceRun> sequences_;
    std::vector<ScannedImage> renders_;
    std::vector<Instance> instances_;
};

void UpResRun::ApplyRootScript(std::vector<HueChange>& hues) {
    Result<BuildScript> root = ReadBuildScript(options_.folder);
    if (!root) {
        log_.Line(1, "ERROR: script.txt in '%s' could not be read: %s\n", options_.folder.c_str(), root.error().c_str());
        return;
    }
    if (root->hueChanges.empty()) return;
    if (root->hueChanges.size() != hues.size()) {
        log_.Line(1, "ERROR: %d hue changes specified in script.txt, expected %d. Script hues ignored.\n",
                  int(root->hueChanges.size()), int(hues.size()));
        return;
    }
    for (size_t i = 0; i < hues.size(); ++i) {
        const ScriptHueChange& from = root->hueChanges[i];
        HueChange& hue = hues[i];
        if (from.name) hue.name = from.name->substr(0, 63);
        hue.startHue = from.startHue;
        hue.endHue = from.endHue;
        hue.minSaturation = from.minSaturation;
        hue.medianHue = from.medianHue;
        hue.ComputeAffected(collection_.palette.data());
    }
}

void UpResRun::ScanSequence(size_t index, size_t& done, size_t total) {
    const Sequence& original = collection_.sequences[index];
    SequenceRun& run = sequences_[index];
    const std::string folderName = SequenceFolderName(original.name);
    const std::string folder = options_.folder + folderName + "/";
    log_.Line(0, "scanning sequence '%s'\n", original.name.c_str());
    Result<BuildScript> script = ReadBuildScript(folder);
    if (!script) {
        log_.Line(1, "ERROR: script.txt in sequence folder '%s' could not be read: %s\n", folderName.c_str(),
                  script.error().c_str());
        return;
    }
    run.script = std::move(*script);
    const int views = original.frames.empty() ? 0 : int(original.frames[0].views.size());
    const int frames = int(original.frames.size());
    if (!views || !frames) return;
    const std::vector<int>& frameList = run.script.frameList;
    if (run.script.hasFrameList && int(frameList.size()) != frames) {
        log_.Line(1, "ERROR: script.txt in sequence folder '%s' specifies %d frames, expected %d\n",
                  folderName.c_str(), int(frameList.size()), frames);
        return;
    }
    SequenceFiles files = ListSequenceFolder(folder);
    const int count = int(std::min<size_t>(files.colours.size(), kMaxCollectionBitmaps));
    if (!files.alphas.empty() && files.alphas.size() != files.colours.size()) {
        log_.Line(1, "ERROR: found %d alphas for sequence '%s', expected %d\n", int(files.alphas.size()),
                  original.name.c_str(), count);
        return;
    }
    ScannedSequence scanned;
    scanned.views = views;
    scanned.frames = frames;
    int distinct = 0;
    scanned.slots = MapFrameSlots(views, frames, frameList, distinct);
    const int expected = distinct * views;
    if (count > expected)
        log_.Line(1, "WARNING: sequence folder '%s' contains %d bitmaps, expected %d\n", folderName.c_str(), count,
                  expected);
    if (count < expected)
        log_.Line(1, "WARNING: sequence folder '%s' contains %d bitmaps, expected %d. Sequence may not be constructed.\n",
                  folderName.c_str(), count, expected);
    if (!frameList.empty() && count > 0) {
        const int largest = *std::max_element(frameList.begin(), frameList.end());
        if (largest > count / views) {
            log_.Line(1, "ERROR: script.txt in sequence folder '%s' specified a frame index (%d), larger than the "
                         "number of frames found in the folder (%d).\n", folderName.c_str(), largest, count / views);
            return;
        }
    }
    if (run.script.bitmapOrder.value_or(options_.order) == kFramesThenViews) {
        ToViewsThenFrames(files.colours, views);
        if (!files.alphas.empty()) ToViewsThenFrames(files.alphas, views);
    }
    if (run.script.reverseViews)
        for (int f = 0; f < frames; ++f)
            std::reverse(scanned.slots.begin() + long(f) * views, scanned.slots.begin() + long(f + 1) * views);
    const std::vector<int> wanted = scanned.slots;
    LoadSlotImages(scanned, files, options_.invertAlphas, log_, done, total);
    const int offset = int(renders_.size());
    for (ScannedImage& image : scanned.images) renders_.push_back(std::move(image));
    for (int f = 0; f < frames; ++f)
        for (int v = 0; v < views; ++v) {
            const std::shared_ptr<Bitmap>& bitmap = original.frames[size_t(f)].views[size_t(v)].sets[0].bitmap;
            if (!bitmap || bitmap->width <= 0 || bitmap->height <= 0) continue;
            Instance instance{index, f, v, bitmap};
            const size_t slot = size_t(f) * size_t(views) + size_t(v);
            if (scanned.slots[slot] >= 0) {
                instance.render = offset + scanned.slots[slot];
            } else if (wanted[slot] >= 0 && wanted[slot] < count) {
                log_.Line(1, "ERROR: could not create UpRes bitmap instance for '%s' (bad format?)\n",
                          files.colours[size_t(wanted[slot])].c_str());
            }
            instances_.push_back(instance);
        }
}

// Missing renders are taken from another sequence's render of the same original.
void UpResRun::Recover() {
    std::map<const Bitmap*, int> renderOf;
    for (const Instance& instance : instances_)
        if (instance.render >= 0) renderOf.emplace(instance.original.get(), instance.render);
    for (size_t s = 0; s < sequences_.size(); ++s) {
        int missing = 0, recovered = 0;
        for (Instance& instance : instances_) {
            if (instance.sequence != s || instance.render >= 0) continue;
            ++missing;
            const auto found = renderOf.find(instance.original.get());
            if (found == renderOf.end()) continue;
            instance.render = found->second;
            instance.recovered = true;
            ++recovered;
        }
        if (missing)
            log_.Line(recovered == missing ? 0 : 1, "'%s': recovered %d/%d bitmaps from other sequences\n",
                      collection_.sequences[s].name.c_str(), recovered, missing);
    }
}

void UpResRun::CheckAlignment() {
    for (size_t s = 0; s < sequences_.size(); ++s) {
        int width = -1, height = -1;
        bool same = true;
        for (const Instance& instance : instances_) {
            if (instance.sequence != s || instance.render < 0) continue;
            const ScannedImage& render = renders_[size_t(instance.render)];
            if (width < 0) {
                width = render.renderWidth;
                height = render.renderHeight;
            }
            same = same && render.renderWidth == width && render.renderHeight == height;
        }
        sequences_[s].preserve = same;
        if (!same)
            log_.Line(1, "ERROR: sequence '%s': not all bitmaps are the same size; Alignment not preserved!\n",
                      collection_.sequences[s].name.c_str());
    }
}

double UpResRun::ScaleOf(const Instance& instance, double global) const {
    const double own = sequences_[instance.sequence].script.imageScale;
    return own > 0 ? own : global;
}

Status UpResRun::Run() {
    const auto start = std::chrono::steady_clock::now();
    log_.Line(0, "****************** Begin UpRes log for '%s' ******************\n", options_.folder.c_str());
    std::vector<HueChange> hues = collection_.hueChanges;
    ApplyRootScript(hues);
    sequences_.resize(collection_.sequences.size());
    size_t total = 0, done = 0;
    for (const Sequence& sequence : collection_.sequences)
        total += sequence.frames.size() * (sequence.frames.empty() ? 0 : sequence.frames[0].views.size());
    for (size_t s = 0; s < collection_.sequences.size(); ++s) ScanSequence(s, done, total);
    log_.Line(0, "********* All folders loaded, now attempting upres process\n");
    Recover();

    std::vector<ScalePair> pairs;
    bool needsGlobal = false;
    for (const Instance& instance : instances_) {
        if (instance.render < 0) continue;
        const SequenceRun& run = sequences_[instance.sequence];
        needsGlobal = needsGlobal || run.script.imageScale <= 0;
        if (instance.recovered || !run.script.affectsGlobalScale) continue;
        const ScannedImage& render = renders_[size_t(instance.render)];
        pairs.push_back({instance.original->name, instance.original->width, instance.original->height,
                         FileStem(render.file), render.rgba.width, render.rgba.height});
    }
    if (!needsGlobal && pairs.empty() && std::none_of(instances_.begin(), instances_.end(),
                                                      [](const Instance& i) { return i.render >= 0; })) {
        log_.Line(1, "ERROR: no renders were found for the collection's bitmaps.\n");
        return Fail("no renders were found for the collection's bitmaps");
    }
    const std::optional<double> global = ComputeGlobalScale(pairs, options_.tolerance, log_);
    if (needsGlobal && !global) {
        log_.Line(1, "ERROR: the global scale could not be computed.\n");
        return Fail("the global scale could not be computed");
    }
    if (global && *global < options_.targetScale - kScaleSlack) {
        log_.Line(1, "FATAL: computed scale (%.2lf) must not be less than the target scale (%.2lf).\n", *global,
                  options_.targetScale);
        return Fail("the computed scale is less than the target scale");
    }
    if (options_.preserveAlignment) CheckAlignment();

    // Each alignment group's registration point in render pixels: the mean of
    // where its instances' registration points fall in their renders.
    std::map<long long, std::pair<double, double>> anchorSum;
    std::map<long long, int> anchorCount;
    std::vector<std::pair<double, double>> anchors(instances_.size());
    for (size_t i = 0; i < instances_.size(); ++i) {
        const Instance& instance = instances_[i];
        if (instance.render < 0) continue;
        const ScannedImage& render = renders_[size_t(instance.render)];
        const ViewSet& first = collection_.sequences[instance.sequence]
                                   .frames[size_t(instance.frame)].views[size_t(instance.view)].sets[0];
        anchors[i] = {render.left + first.regX * double(render.rgba.width) / instance.original->width,
                      render.top + first.regY * double(render.rgba.height) / instance.original->height};
        if (!sequences_[instance.sequence].preserve) continue;
        const long long group = AlignGroup(instance, i, sequences_[instance.sequence].script);
        anchorSum[group].first += anchors[i].first;
        anchorSum[group].second += anchors[i].second;
        ++anchorCount[group];
    }

    std::vector<std::shared_ptr<Bitmap>> added;
    std::map<std::pair<int, double>, std::shared_ptr<Bitmap>> resampled;
    struct Update {
        View* view;
        ViewSet set;
    };
    std::vector<Update> updates;
    const uint32_t secondScale = uint32_t(std::lround(655360.0 / options_.targetScale));
    for (size_t i = 0; i < instances_.size(); ++i) {
        const Instance& instance = instances_[i];
        if (instance.render < 0) continue;
        const ScannedImage& render = renders_[size_t(instance.render)];
        const double factor = options_.targetScale / ScaleOf(instance, global.value_or(1));
        const double wide = render.rgba.width * factor, high = render.rgba.height * factor;
        if (!(wide < kMaxBitmapSide + 0.5 && high < kMaxBitmapSide + 0.5)) {
            log_.Line(1, "ERROR: '%s' would be %.0lfx%.0lf pixels at the target scale; collection bitmaps can be at "
                         "most %dx%d.\n", render.file.c_str(), wide, high, kMaxBitmapSide, kMaxBitmapSide);
            continue;
        }
        const long width = std::max(1L, std::lround(wide)), height = std::max(1L, std::lround(high));
        std::shared_ptr<Bitmap>& bitmap = resampled[{instance.render, factor}];
        if (!bitmap) {
            if (added.size() + collection_.bitmaps.size() >= kMaxCollectionBitmaps - 1) {
                log_.Line(1, "ERROR: the collection would have more than %d bitmaps.\n", int(kMaxCollectionBitmaps - 1));
                return Fail("the collection would have too many bitmaps");
            }
            log_.Step("Resampling " + render.file, i, instances_.size());
            bitmap = MakePalettedBitmap(ResampleLanczos(render.rgba, int(width), int(height)), collection_.palette,
                                        FileStem(render.file), false);
            added.push_back(bitmap);
        }
        const SequenceRun& run = sequences_[instance.sequence];
        std::pair<double, double> anchor = anchors[i];
        if (run.preserve) {
            const long long group = AlignGroup(instance, i, run.script);
            const int n = anchorCount[group];
            anchor = {anchorSum[group].first / n, anchorSum[group].second / n};
        }
        ViewSet set;
        set.bitmap = bitmap;
        set.scale = secondScale;
        set.regX = ToInt16(std::lround((anchor.first - render.left) * factor));
        set.regY = ToInt16(std::lround((anchor.second - render.top) * factor));
        updates.push_back({&collection_.sequences[instance.sequence].frames[size_t(instance.frame)]
                               .views[size_t(instance.view)], set});
    }
    log_.Line(0, "%d instances, %d unique\n", int(instances_.size()), int(added.size()));
    log_.Line(0, "%.2lfs elpased\n",
              std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    if (added.empty()) {
        log_.Line(1, "ERROR: no high-resolution bitmap was made.\n");
        return Fail("no high-resolution bitmap was made");
    }
    collection_.hueChanges = std::move(hues);
    collection_.bitmaps.insert(collection_.bitmaps.end(), added.begin(), added.end());
    for (Update& update : updates) {
        update.view->flags |= kViewSecondSet;
        update.view->sets[1] = update.set;
    }
    return Ok();
}

}  // namespace

Status CheckUpResFields(const std::string& scale, const std::string& tolerance, const std::string& objectScale,
                        UpResOptions& options) {
    const std::optional<double> target = ParseNumber(scale, kMinScale, kMaxScale);
    if (!target) return Fail("Invalid scale.");
    const std::optional<double> object = ParseNumber(objectScale, 0, kMaxScale);
    if (!object) return Fail("Invalid object scale.");
    const std::optional<double> warn = ParseNumber(tolerance, 0, kMaxScale);
    if (!warn) return Fail("Invalid tolerance.");
    // A product too small to divide by would make every bitmap enormous.
    if (*target * *object < kMinScale) return Fail("Invalid object scale.");
    options.targetScale = *target * *object;
    options.tolerance = *warn;
    return Ok();
}

std::string NextUpResLogTitle(const std::string& folder) {
    static int counter = 0;
    return "UpRes " + std::to_string(counter++) + " (" + folder + ")";
}

Status UpResCollection(Collection& collection, const UpResOptions& options, const BuildLog& log) {
    return UpResRun(collection, options, log).Run();
}

const TagEntry* ArchivedCollectionEntry(const Codex& codex, const TagRecord* record) {
    for (int rank = kLooseRank - 1; rank >= 0; --rank)
        if (const TagEntry* entry = codex.EntryOfRank(record, rank)) return entry;
    return nullptr;
}

Status UpResCollectionTag(Codex& codex, TagRecord* record, const UpResOptions& options, const BuildLog& log) {
    const TagEntry* entry = ArchivedCollectionEntry(codex, record);
    if (!entry) return Fail("Cannot Up-Res a collection from the local folder.");
    const TagHeader header = entry->header;
    Result<UniqueFile> file = OpenEntryData(*entry);
    std::vector<uint8_t> data(header.size <= kMaxTagFileSize ? header.size : 0);
    const bool read = file && header.size <= kMaxTagFileSize &&
                      (data.empty() || std::fread(data.data(), 1, data.size(), file->get()) == data.size());
    Result<std::unique_ptr<Collection>> collection =
        read ? ReadCollection(data, header.user, true) : Result<std::unique_ptr<Collection>>(Fail("unreadable"));
    if (!collection) return Fail("The specified collection could not be loaded.");
    data = {};
    if (Status done = UpResCollection(**collection, options, log); !done) return done;
    log.Line(0, "Writing collection data to disk...");
    Status written = WriteCollectionTag(codex, record, header, **collection);
    log.Line(written ? 0 : 1, "%s\n", written ? "ok." : "failed!");
    if (!written) log.Line(1, "ERROR: %s\n", written.error().c_str());
    return written;
}

}  // namespace tamber::collections::builder
