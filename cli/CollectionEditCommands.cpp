// Commands of the collection editor's pages for scripts: adding and replacing
// bitmaps from image files and plates, plate export, hue-change listing and the
// palette as a colour table. A command that changes the collection writes the tag
// only when every part of it succeeded, through a temporary file and a rename.
#include "cli/CollectionEditCommands.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "cli/TagSource.h"
#include "collections/BitmapExport.h"
#include "collections/BitmapImport.h"
#include "collections/CollectionFile.h"
#include "collections/ColorPlate.h"
#include "collections/HueChangeValues.h"
#include "collections/PaletteFile.h"
#include "images/MediaFile.h"
#include "platform/fs/AtomicFileWriter.h"
#include "platform/fs/FileSystem.h"
#include "tags/TagOperations.h"

namespace tamber::cli {
using namespace tamber::collections;
using namespace tamber::images;
using namespace tamber::platform;
using namespace tamber::tags;

namespace {

constexpr uint16_t kShadowFlag = 0x80;

// A collection named by the first positional arguments: a loose tag file, or
// GAMEFOLDER GROUP TAGID when the first argument is a folder.
struct OpenCollection {
    std::vector<std::string> tagWords;
    std::vector<std::string> rest;  // the positional arguments after the tag
    TagData tag;
    std::unique_ptr<Collection> collection;
};

Result<OpenCollection> LoadCollection(const CliArgs& args) {
    OpenCollection open;
    const size_t words = GetFileStatus(args.positional[0]).isFolder ? 3 : 1;
    if (args.positional.size() < words) return Fail("expected a tag file or GAMEFOLDER GROUP TAGID");
    open.tagWords.assign(args.positional.begin(), args.positional.begin() + ptrdiff_t(words));
    open.rest.assign(args.positional.begin() + ptrdiff_t(words), args.positional.end());
    if (Status shape = CheckTagArgument(open.tagWords); !shape) return std::move(shape).TakeError();
    Result<TagData> tag = LoadTagArgument(open.tagWords);
    if (!tag) return std::move(tag).TakeError();
    if (tag->header.group != kCollectionGroupCode)
        return Fail("'" + tag->header.Name() + "' is a tag of group " + TagIdText(tag->header.group) + ", not .256");
    Result<std::unique_ptr<Collection>> read = ReadCollection(tag->payload, tag->header.user, true);
    if (!read) return Fail("'" + tag->header.Name() + "' is not a valid collection");
    if ((*read)->flags & kCollectionColourMap)
        return Fail("The collection is a color map, which is currently not supported for editing.");
    open.tag = std::move(*tag);
    open.collection = std::move(*read);
    return open;
}

// Writes the collection back where it came from: the loose tag file itself, or the
// game folder's local copy of the tag.
Status StoreCollection(const OpenCollection& open) {
    Result<CollectionPayload> payload = WriteCollection(*open.collection);
    if (!payload) return std::move(payload).TakeError();
    TagHeader header = open.tag.header;
    header.size = uint32_t(payload->bytes.size());
    header.user = payload->fields.user;
    header.version = payload->fields.version;
    if (open.tagWords.size() == 1) {
        AtomicFileWriter writer;
        if (Status opened = writer.Open(open.tagWords[0]); !opened) return opened;
        if (!WriteTagHeader(header, writer.File())) return writer.WriteFailure();
        if (Status written = writer.Write(payload->bytes.data(), payload->bytes.size()); !written) return written;
        return writer.Commit();
    }
    Codex& codex = Codex::Instance();
    TagRecord* record = codex.FindTag(header.group, header.tagid);
    if (!record) return Fail("the tag is no longer in the game folder");
    Result<FILE*> out = BeginTagWrite(codex, record, header);
    if (!out) return std::move(out).TakeError();
    const bool written = std::fwrite(payload->bytes.data(), 1, payload->bytes.size(), *out) == payload->bytes.size();
    return FinishTagWrite(codex, record, &header, written);
}

int Store(const OpenCollection& open, const std::string& done) {
    if (Status stored = StoreCollection(open); !stored)
        return FailExit("couldn't write the collection: " + stored.error());
    std::printf("%s\n", done.c_str());
    return kExitOk;
}

// The bitmaps a command works on: those of the page (bitmaps or shadows), or the
// ones numbered in --bitmaps (indices into the collection, comma-separated).
Result<std::vector<const Bitmap*>> Targets(const Collection& collection, const CliArgs& args) {
    std::vector<const Bitmap*> targets;
    if (!args.Has("--bitmaps")) {
        const bool shadows = args.Has("--shadows");
        for (const auto& bitmap : collection.bitmaps)
            if (bool(bitmap->flags & kShadowFlag) == shadows) targets.push_back(bitmap.get());
        return targets;
    }
    const std::string list = args.Value("--bitmaps");
    for (size_t pos = 0; pos <= list.size();) {
        const size_t comma = std::min(list.find(',', pos), list.size());
        const std::string word = list.substr(pos, comma - pos);
        char* end = nullptr;
        const long index = std::strtol(word.c_str(), &end, 10);
        if (word.empty() || *end || !collection.GetBitmap(int(index)) || index > 65535)
            return Fail("--bitmaps: '" + word + "' is not the number of a bitmap");
        targets.push_back(collection.GetBitmap(int(index)));
        pos = comma + 1;
    }
    return targets;
}

PaletteQuestion AnswerFrom(const CliArgs& args, bool& asked) {
    return [&asked, replace = args.Has("--replace-palette")] {
        asked = true;
        return replace;
    };
}

// Reports an import; true when it is complete (nothing refused or cancelled).
bool Reported(const ImportOutcome& outcome, bool asked) {
    for (const std::string& refusal : outcome.refusals) std::fprintf(stderr, "ERROR: %s\n", refusal.c_str());
    if (outcome.cancelled)
        std::fprintf(stderr, "ERROR: %s (--replace-palette replaces it)\n",
                     std::string(kOverwritePaletteText).substr(0, std::string(kOverwritePaletteText).find('\n')).c_str());
    else if (asked)
        std::fprintf(stderr, "INFO: the collection's color table was replaced by the image's\n");
    return outcome.refusals.empty() && !outcome.cancelled;
}

int Finish(const OpenCollection& open, const ImportOutcome& outcome, bool asked, const char* what) {
    if (!Reported(outcome, asked)) return FailExit("nothing was written");
    return Store(open, std::to_string(outcome.changed) + " " + what);
}

int RunAdd(const CliCommand& command, const CliArgs& args) {
    Result<OpenCollection> open = LoadCollection(args);
    if (!open) return FailExit(open.error());
    if (open->rest.empty()) return UsageError(command, "no image files given");
    bool asked = false;
    const bool shadows = args.Has("--shadows");
    ImportOutcome outcome;
    if (args.Has("--plate")) {
        if (open->rest.size() != 1) return UsageError(command, "--plate takes one plate image");
        outcome = AddBitmapsFromPlate(*open->collection, open->rest[0], shadows, AnswerFrom(args, asked));
    } else {
        outcome = AddBitmapsFromFiles(*open->collection, open->rest, shadows, AnswerFrom(args, asked));
    }
    return Finish(*open, outcome, asked, shadows ? "shadow(s) added" : "bitmap(s) added");
}

int RunReplace(const CliCommand& command, const CliArgs& args) {
    Result<OpenCollection> open = LoadCollection(args);
    if (!open) return FailExit(open.error());
    if (open->rest.empty()) return UsageError(command, "no image files given");
    Result<std::vector<const Bitmap*>> targets = Targets(*open->collection, args);
    if (!targets) return UsageError(command, targets.error());
    std::string unmatched;
    Result<FileMapping> mapping = MapReplacementFiles(
        *targets, open->rest, args.Has("--by-name") ? MappingMode::kByName : MappingMode::kByOrder, unmatched);
    if (!mapping) return FailExit(mapping.error());
    if (!unmatched.empty()) return FailExit(unmatched);
    bool asked = false;
    const ImportOutcome outcome = args.Has("--alpha") ? ReplaceAlphas(*open->collection, *mapping)
                                                      : ReplaceBitmaps(*open->collection, *mapping, AnswerFrom(args, asked));
    return Finish(*open, outcome, asked, "bitmap(s) replaced");
}

int RunPlateExport(const CliCommand& command, const CliArgs& args) {
    Result<OpenCollection> open = LoadCollection(args);
    if (!open) return FailExit(open.error());
    if (open->rest.size() != 1) return UsageError(command, "expected one plate image");
    Result<std::vector<const Bitmap*>> targets = Targets(*open->collection, args);
    if (!targets) return UsageError(command, targets.error());
    *targets = PlateBitmaps(*targets);
    if (targets->empty()) return FailExit("there are no paletted bitmaps to export");
    const std::string& path = open->rest[0];
    if (Status may = MayWrite(path, args.Has("--force")); !may) return FailExit(may.error());
    if (Status written = ExportPlate(*open->collection, *targets, path, args.Has("--alpha")); !written)
        return FailExit(written.error());
    std::printf("%s\n", path.c_str());
    return kExitOk;
}

int RunPlateImport(const CliCommand& command, const CliArgs& args) {
    Result<OpenCollection> open = LoadCollection(args);
    if (!open) return FailExit(open.error());
    if (open->rest.size() != 1) return UsageError(command, "expected one plate image");
    Result<std::vector<const Bitmap*>> targets = Targets(*open->collection, args);
    if (!targets) return UsageError(command, targets.error());
    *targets = PlateBitmaps(*targets);
    bool asked = false;
    const ImportOutcome outcome =
        args.Has("--alpha") ? ReplaceAlphasFromPlate(*open->collection, *targets, open->rest[0])
                            : ReplaceFromPlate(*open->collection, *targets, open->rest[0], AnswerFrom(args, asked));
    return Finish(*open, outcome, asked, "bitmap(s) replaced");
}

int RunHueList(const CliCommand&, const CliArgs& args) {
    Result<OpenCollection> open = LoadCollection(args);
    if (!open) return FailExit(open.error());
    static const char* const kUses[] = {"none", "primary", "secondary"};
    int index = 0;
    for (HueChange hue : open->collection->hueChanges) {
        hue.ComputeAffected(open->collection->palette.data());
        int affected = 0;
        for (uint8_t byte : hue.affected) affected += __builtin_popcount(byte);
        std::printf("%d\t%s\t%d-%d\tmedian %d\tmin saturation %d%%\t%s\t#%02x%02x%02x%s%s\t%d colour%s\n", index++,
                    PrintableText(hue.name).c_str(), HueDegrees(hue.startHue), HueDegrees(hue.endHue),
                    HueDegrees(hue.medianHue), SaturationPercent(hue.minSaturation),
                    hue.use < 3 ? kUses[hue.use] : "other", hue.red >> 8, hue.green >> 8, hue.blue >> 8,
                    hue.reversed & 1 ? "\treversed" : "", hue.solid[0] & 1 ? "\tsolid" : "", affected,
                    affected == 1 ? "" : "s");
    }
    return kExitOk;
}

int RunPaletteExport(const CliCommand& command, const CliArgs& args) {
    Result<OpenCollection> open = LoadCollection(args);
    if (!open) return FailExit(open.error());
    if (open->rest.size() != 1) return UsageError(command, "expected one .act file");
    const std::string& path = open->rest[0];
    if (Status may = MayWrite(path, args.Has("--force")); !may) return FailExit(may.error());
    if (Status saved = SavePalette(*open->collection, path); !saved) return FailExit(saved.error());
    std::printf("%s\n", path.c_str());
    return kExitOk;
}

int RunPaletteImport(const CliCommand& command, const CliArgs& args) {
    Result<OpenCollection> open = LoadCollection(args);
    if (!open) return FailExit(open.error());
    if (open->rest.size() != 1) return UsageError(command, "expected one .act file");
    if (Status loaded = LoadPalette(*open->collection, open->rest[0]); !loaded) return FailExit(loaded.error());
    return Store(*open, "color table replaced");
}

}  // namespace

std::vector<CliCommand> CollectionEditCommands() {
    const CliOption shadows{"--shadows", false}, bitmaps{"--bitmaps", true}, alpha{"--alpha", false},
        replacePalette{"--replace-palette", false}, force{"--force", false};
    return {
        {"collection add", "TAG-OR-FILE IMAGE... [--shadows] [--plate] [--replace-palette]",
         "add bitmaps or shadows from images or a plate",
         "Adds one bitmap per 8-bit paletted image, named after the file, or the\n"
         "bitmaps of one colour plate (--plate). The images' colours are merged into\n"
         "the palette; when they do not fit, --replace-palette gives the collection the\n"
         "image's palette, otherwise nothing is written. Any refused file fails the\n"
         "whole command.\n\n"
         "  --shadows          add shadows\n"
         "  --plate            IMAGE is a colour plate\n"
         "  --replace-palette  replace an incompatible palette",
         {shadows, {"--plate", false}, replacePalette}, 2, 1000, RunAdd},
        {"collection replace", "TAG-OR-FILE IMAGE... [--by-name] [--alpha] [--bitmaps N,...] [--shadows]",
         "replace bitmaps' pixels or alphas from images",
         "Replaces the pixels (or, with --alpha, the alpha from 8-bit grey masks of the\n"
         "same size) of the bitmaps of the page, or of the bitmaps numbered in\n"
         "--bitmaps: by order (the files in order) or by name (--by-name: each bitmap\n"
         "takes the file named like it; a bitmap without one fails the command).\n\n"
         "  --by-name          map files to bitmaps by name\n"
         "  --alpha            the files are alpha masks\n"
         "  --bitmaps N,...    the bitmaps' numbers (see 'collection info')\n"
         "  --shadows          the shadows rather than the bitmaps\n"
         "  --replace-palette  replace an incompatible palette",
         {{"--by-name", false}, alpha, bitmaps, shadows, replacePalette}, 2, 1000, RunReplace},
        {"collection plate export", "TAG-OR-FILE IMAGE [--alpha] [--bitmaps N,...] [--shadows] [--force]",
         "write bitmaps into one plate image",
         "Writes the bitmaps of the page (or those numbered in --bitmaps) into one\n"
         "colour plate, or alpha plate with --alpha, that 'collection plate import'\n"
         "reads back (high-colour bitmaps are left out). The extension of IMAGE (.png,\n"
         ".bmp, .tiff) picks the format.",
         {alpha, bitmaps, shadows, force}, 2, 4, RunPlateExport},
        {"collection plate import", "TAG-OR-FILE IMAGE [--alpha] [--bitmaps N,...] [--shadows]",
         "replace bitmaps from a plate image",
         "Replaces the pixels (or alphas) of the bitmaps of the page, or of those\n"
         "numbered in --bitmaps, from a colour plate (or alpha plate) holding exactly\n"
         "that many bitmaps.",
         {alpha, bitmaps, shadows, replacePalette}, 2, 4, RunPlateImport},
        {"collection hue list", "TAG-OR-FILE", "list a collection's hue changes",
         "Prints one line per hue change: number, name, hue range and median in\n"
         "degrees, minimum saturation, use, replacement colour, flags and the number\n"
         "of palette colours it affects.",
         {}, 1, 3, RunHueList},
        {"collection palette export", "TAG-OR-FILE FILE.act [--force]", "write a collection's palette as a color table",
         "Writes all 256 palette entries to an .act colour table.", {force}, 2, 4, RunPaletteExport},
        {"collection palette import", "TAG-OR-FILE FILE.act", "replace a collection's palette from a color table",
         "Replaces the palette with the colour table's colours; entries past its count\n"
         "become black.",
         {}, 2, 4, RunPaletteImport},
    };
}

}  // namespace tamber::cli
