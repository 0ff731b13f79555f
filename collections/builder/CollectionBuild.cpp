#include "collections/builder/CollectionBuild.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstdio>

#include "collections/CollectionFile.h"
#include "collections/builder/SequenceFolderScan.h"
#include "collections/builder/SharedPalette.h"
#include "platform/fs/FileSystem.h"
#include "tags/TagOperations.h"

namespace tamber::collections::builder {
using namespace tamber::base;
using namespace tamber::tags;

namespace {

int16_t ToInt16(int value) { return int16_t(std::clamp(value, -32768, 32767)); }

Sequence MakeSequence(const ScannedSequence& scanned, const std::vector<std::shared_ptr<Bitmap>>& bitmaps,
                      const StandardBuildOptions& options) {
    Sequence sequence;
    sequence.name = scanned.name.substr(0, 63);
    sequence.header.viewCount = uint16_t(scanned.views);
    sequence.header.ticksPerFrame = 1;
    sequence.header.regX = uint32_t(options.regX) << 16;
    sequence.header.regY = uint32_t(options.regY) << 16;
    sequence.frames.resize(size_t(scanned.frames));
    for (int f = 0; f < scanned.frames; ++f) {
        Frame& frame = sequence.frames[size_t(f)];
        frame.views.resize(size_t(scanned.views));
        for (int v = 0; v < scanned.views; ++v) {
            const int index = scanned.Slot(f, v);
            if (index < 0) continue;
            const ScannedImage& image = scanned.images[size_t(index)];
            ViewSet& set = frame.views[size_t(v)].sets[0];
            set.bitmap = bitmaps[size_t(index)];
            if (scanned.script.alignIndividually) {
                set.regX = ToInt16(image.rgba.width / 2);
                set.regY = ToInt16(image.rgba.height / 2);
            } else {
                set.regX = ToInt16(options.regX - image.left);
                set.regY = ToInt16(options.regY - image.top);
            }
        }
    }
    return sequence;
}

std::optional<int> ParseOffset(const std::string& text) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end || errno || value < -kMaxRegistrationOffset || value > kMaxRegistrationOffset)
        return std::nullopt;
    return int(value);
}

}  // namespace

Status CheckStandardBuildFields(const std::string& folder, const std::string& name, const std::string& regX,
                                const std::string& regY, StandardBuildOptions& options) {
    if (folder.empty() || !platform::GetFileStatus(folder).isFolder) return Fail("Specified folder not found.");
    if (name.empty() || name.size() > kTagNameSize - 1 || CleanTagName(name).empty())
        return Fail("The name field is invalid.");
    const std::optional<int> x = ParseOffset(regX);
    if (!x) return Fail("The Reg Point X value is invalid.");
    const std::optional<int> y = ParseOffset(regY);
    if (!y) return Fail("The Reg Point Y value is invalid.");
    options.folder = folder.back() == '/' ? folder : folder + "/";
    options.name = name;
    options.regX = *x;
    options.regY = *y;
    return Ok();
}

std::string CreateTagFailureMessage(const std::string& name) {
    return "Could not create the collection tag '" + name + "'; it may already exist.";
}

std::string NextBuildLogTitle(const std::string& folder) {
    static int counter = 0;
    char title[64];
    std::snprintf(title, sizeof title, "BuildCollection %d (", counter++);
    return title + folder + ")";
}

Result<std::unique_ptr<Collection>> AssembleStandardCollection(const StandardBuildOptions& options,
                                                               const BuildLog& log) {
    ScanOptions scan{options.order, options.invertAlphas};
    std::vector<ScannedSequence> scanned = ScanSequenceFolders(options.folder, scan, log);
    std::vector<const images::Image*> pictures;
    for (const ScannedSequence& sequence : scanned)
        for (const ScannedImage& image : sequence.images) pictures.push_back(&image.rgba);
    if (pictures.empty()) {
        log.Line(1, "ERROR: no sequence of '%s' could be built.\n", options.folder.c_str());
        return Fail("no sequence of '" + options.folder + "' could be built");
    }
    log.Step("Reducing colors", 0, 1);
    auto collection = std::make_unique<Collection>();
    const std::array<uint8_t, 768> palette = BuildSharedPalette(pictures);
    collection->palette = palette;
    size_t done = 0;
    for (ScannedSequence& sequence : scanned) {
        std::vector<std::shared_ptr<Bitmap>> bitmaps;
        for (ScannedImage& image : sequence.images) {
            log.Step("Making bitmap " + image.file, done++, pictures.size());
            bitmaps.push_back(MakePalettedBitmap(image.rgba, palette, FileStem(image.file), true));
            image.rgba.pixels = {};  // the bitmap holds the pixels now
        }
        collection->bitmaps.insert(collection->bitmaps.end(), bitmaps.begin(), bitmaps.end());
        collection->sequences.push_back(MakeSequence(sequence, bitmaps, options));
    }
    return collection;
}

Status WriteCollectionTag(Codex& codex, TagRecord* record, const TagHeader& header, const Collection& collection) {
    Result<CollectionPayload> payload = WriteCollection(collection);
    if (!payload) return std::move(payload).TakeError();
    TagHeader fields = header;
    fields.user = payload->fields.user;
    fields.version = payload->fields.version;
    Result<FILE*> out = BeginTagWrite(codex, record, fields);
    if (!out) return std::move(out).TakeError();
    const bool written = std::fwrite(payload->bytes.data(), 1, payload->bytes.size(), *out) == payload->bytes.size();
    return FinishTagWrite(codex, record, &fields, written);
}

Result<TagRecord*> BuildCollectionTag(Codex& codex, const StandardBuildOptions& options, std::optional<uint32_t> tagid,
                                      bool overwrite, const BuildLog& log) {
    Result<NewTag> created = CreateTag(codex, kCollectionGroupCode, tagid, options.name, overwrite);
    if (!created) {
        log.Line(1, "%s\n", CreateTagFailureMessage(options.name).c_str());
        return Fail(CreateTagFailureMessage(options.name));
    }
    TagRecord* record = created->record;
    log.Line(0, "****************** Begin BuildCollection log for '%s' ******************\n", options.folder.c_str());
    const auto start = std::chrono::steady_clock::now();
    Result<std::unique_ptr<Collection>> collection = AssembleStandardCollection(options, log);
    Status written = Ok();
    if (collection) {
        log.Line(0, "Writing collection data to disk...");
        log.Step("Writing collection data to disk", 0, 1);
        written = WriteCollectionTag(codex, record, created->header, **collection);
        log.Line(written ? 0 : 1, "%s\n", written ? "ok." : "failed!");
        if (!written) log.Line(1, "ERROR: %s\n", written.error().c_str());
    } else {
        written = std::move(collection).TakeError();
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    log.Line(0, "%.2lfs elpased\n", seconds);
    if (!written) {
        // The tag made for this build goes again (an older copy it would replace stays).
        record->superseded.clear();
        codex.DestroyRecordIfUnused(record);
        return std::move(written).TakeError();
    }
    return record;
}

}  // namespace tamber::collections::builder
