// Commands over the format libraries: images, collections, sounds and detail
// textures.
#include <cstdio>
#include <memory>

#include "cli/CliCommand.h"
#include "cli/TagSource.h"
#include "cli/TagStream.h"
#include "collections/BitmapExport.h"
#include "collections/CollectionFile.h"
#include "images/MediaFile.h"
#include "platform/fs/FileSystem.h"
#include "sounds/SoundExport.h"
#include "sounds/SoundPayload.h"
#include "tags/TagGroups.h"
#include "tags/TagOperations.h"
#include "terrain/DetailTexture.h"

namespace tamber::cli {
using namespace tamber::collections;
using namespace tamber::images;
using namespace tamber::platform;
using namespace tamber::sounds;
using namespace tamber::tags;
using namespace tamber::terrain;

namespace {

constexpr uint32_t kDetailTextureGroup = FourCC("dtex");
constexpr uint16_t kDetailTextureTagVersion = 1;

// Loads the tag named by all positional arguments but the last `after`, and
// checks its group. Sets `status` to the exit status on failure.
std::optional<TagData> TagOfGroup(const CliCommand& command, const CliArgs& args, size_t after, uint32_t group,
                                  int& status) {
    const std::vector<std::string> words(args.positional.begin(), args.positional.end() - after);
    if (Status shape = CheckTagArgument(words); !shape) {
        status = UsageError(command, shape.error());
        return std::nullopt;
    }
    Result<TagData> tag = LoadTagArgument(words);
    if (!tag) {
        status = FailExit(tag.error());
        return std::nullopt;
    }
    if (tag->header.group != group) {
        status = FailExit("'" + tag->header.Name() + "' is a tag of group " + TagIdText(tag->header.group) + ", not " +
                          TagIdText(group));
        return std::nullopt;
    }
    return std::move(*tag);
}

// The image format a file name's extension asks for; none when it names no image.
std::optional<uint32_t> ImageFormatOf(const std::string& path) {
    const uint32_t format = FormatFromExtension(path);
    if (format == kFormatBmp || format == kFormatPng || format == kFormatTiff) return format;
    return std::nullopt;
}

Status SaveImageAs(const Image& image, const std::string& path, uint32_t format) {
    MediaFile file(path);
    file.format = format;
    file.kind = kMediaImage;
    file.image = image;
    return SaveImage(file);
}

const char* PixelFormatName(uint32_t format) {
    switch (format) {
        case kPixelPaletted: return "paletted";
        case kPixelGrey: return "grey";
        case kPixelRGB: return "rgb";
        case kPixelRGBA: return "rgba";
        case kPixelPalettedAlpha: return "paletted-alpha";
        default: return "other";
    }
}

int RunImageInfo(const CliCommand&, const CliArgs& args) {
    MediaFile file(args.positional[0]);
    if (Status loaded = LoadImage(file); !loaded)
        return FailExit("'" + args.positional[0] + "' is not a readable BMP, PNG, TIFF or JPEG image: " + loaded.error());
    const Image& image = file.image;
    const char* type = file.format == kFormatBmp    ? "BMP"
                       : file.format == kFormatPng  ? "PNG"
                       : file.format == kFormatJpeg ? "JPEG"
                                                    : "TIFF";
    std::printf("format: %s\nwidth: %d\nheight: %d\npixels: %s\npalette entries: %u\n", type, image.width,
                image.height, PixelFormatName(image.format), image.paletteCount);
    return kExitOk;
}

std::string BitmapKind(const Bitmap& bitmap) {
    if (bitmap.IsHighColour()) return "high-colour";
    std::string kind = bitmap.Is16Bit() ? "16-bit " : "8-bit ";
    kind += bitmap.IsRle() ? "rle" : "raw";
    if (bitmap.HasColourAlpha()) kind += " colour-alpha";
    return bitmap.placeholder ? kind + " damaged" : kind;
}

int RunCollectionInfo(const CliCommand& command, const CliArgs& args) {
    int status = kExitOk;
    const std::optional<TagData> tag = TagOfGroup(command, args, 0, kCollectionGroupCode, status);
    if (!tag) return status;
    Result<std::unique_ptr<Collection>> read = ReadCollection(tag->payload, tag->header.user, true);
    if (!read) return FailExit("'" + tag->header.Name() + "' is not a valid collection");
    const std::unique_ptr<Collection> collection = std::move(read).value();
    std::printf("name: %s\nflags: 0x%x\nbitmaps: %d\n", PrintableText(tag->header.Name()).c_str(), collection->flags,
                collection->BitmapCount());
    for (int i = 0; i < collection->BitmapCount(); ++i) {
        const Bitmap& bitmap = *collection->GetBitmap(i);
        std::printf("  %d\t%s\t%dx%d\t%s\n", i, PrintableText(bitmap.name).c_str(), bitmap.width, bitmap.height,
                    BitmapKind(bitmap).c_str());
    }
    std::printf("sequences: %d\n", collection->SequenceCount());
    for (int i = 0; i < collection->SequenceCount(); ++i) {
        const Sequence& sequence = collection->sequences[size_t(i)];
        std::printf("  %d\t%s\t%zu frame%s\t%u view%s\n", i, PrintableText(sequence.name).c_str(), sequence.frames.size(),
                    sequence.frames.size() == 1 ? "" : "s", unsigned(sequence.header.viewCount),
                    sequence.header.viewCount == 1 ? "" : "s");
    }
    std::printf("hue changes: %d\n", collection->HueChangeCount());
    for (int i = 0; i < collection->HueChangeCount(); ++i)
        std::printf("  %d\t%s\n", i, PrintableText(collection->hueChanges[size_t(i)].name).c_str());
    return kExitOk;
}

int RunCollectionExport(const CliCommand& command, const CliArgs& args) {
    const std::string type = args.Value("--type", "png");
    const std::optional<uint32_t> format = ImageFormatOf("." + type);
    if (!format) return UsageError(command, "--type is bmp, png or tiff");
    int status = kExitOk;
    const std::optional<TagData> tag = TagOfGroup(command, args, 1, kCollectionGroupCode, status);
    if (!tag) return status;
    Result<std::unique_ptr<Collection>> read = ReadCollection(tag->payload, tag->header.user, true);
    if (!read) return FailExit("'" + tag->header.Name() + "' is not a valid collection");
    const std::unique_ptr<Collection> collection = std::move(read).value();
    std::vector<const Bitmap*> bitmaps;
    for (const auto& bitmap : collection->bitmaps) bitmaps.push_back(bitmap.get());
    const Result<std::vector<std::string>> stems = ExportFileStems(
        bitmaps, args.Has("--by-name") ? ExportNaming::kByName : ExportNaming::kByNumber, "bitmap", false);
    if (!stems) return FailExit(stems.error());
    const std::string folder = NormaliseFolderPath(args.positional.back());
    std::vector<std::string> paths;
    for (const std::string& stem : *stems) paths.push_back(folder + stem + "." + type);
    if (Status prepared = PrepareOutputs(paths, folder, args.Has("--force")); !prepared)
        return FailExit(prepared.error());
    int failed = 0;
    for (int i = 0; i < collection->BitmapCount(); ++i) {
        const std::string& path = paths[size_t(i)];
        const Bitmap& bitmap = *collection->GetBitmap(i);
        // A damaged bitmap reads as a placeholder picture, which is not the bitmap: it is not exported.
        const std::optional<Image> image = bitmap.placeholder ? std::nullopt : BitmapToImage(*collection, bitmap);
        if (!image) {
            std::fprintf(stderr, "WARNING: bitmap %d is %s and was not exported\n", i,
                         bitmap.placeholder ? "damaged" : "high-colour");
        } else if (Status saved = SaveImageAs(*image, path, *format); !saved) {
            std::fprintf(stderr, "ERROR: couldn't write '%s': %s\n", path.c_str(), saved.error().c_str());
            ++failed;
        } else {
            std::printf("%s\n", path.c_str());
        }
    }
    return failed ? kExitFailed : kExitOk;
}

SoundByteReader PayloadOf(TagStream& stream) {
    return [&stream](uint64_t offset, uint8_t* out, size_t bytes) { return stream.ReadAt(offset, out, bytes); };
}

// The sound's layout (names, descriptors, where the packets lie) read from the tag
// in place; the packets stay in the stream for the caller to read a block at a time.
std::optional<Sound> ReadSoundLayoutOf(const CliCommand& command, const CliArgs& args, size_t after, int& status,
                                       std::unique_ptr<TagStream>& stream) {
    const std::vector<std::string> words(args.positional.begin(), args.positional.end() - after);
    if (Status shape = CheckTagArgument(words); !shape) {
        status = UsageError(command, shape.error());
        return std::nullopt;
    }
    Result<std::unique_ptr<TagStream>> opened = TagStream::Open(words);
    if (!opened) {
        status = FailExit(opened.error());
        return std::nullopt;
    }
    stream = std::move(*opened);
    const TagHeader& header = stream->Header();
    if (header.group != FourCC("soun")) {
        status = FailExit("'" + header.Name() + "' is a tag of group " + TagIdText(header.group) + ", not soun");
        return std::nullopt;
    }
    Result<Sound> sound = ReadSoundLayout(PayloadOf(*stream), header.size);
    if (!sound) {
        status = FailExit("'" + header.Name() + "' is not a valid sound: " + sound.error());
        return std::nullopt;
    }
    return std::move(sound).value();
}

int RunSoundInfo(const CliCommand& command, const CliArgs& args) {
    int status = kExitOk;
    std::unique_ptr<TagStream> stream;
    const std::optional<Sound> sound = ReadSoundLayoutOf(command, args, 0, status, stream);
    if (!sound) return status;
    for (const SoundPermutation& permutation : sound->permutations) {
        const SoundDescriptor& d = permutation.descriptor;
        std::printf("%s\t%s\t%u\t%s\t%u Hz\n", PrintableText(permutation.Name()).c_str(), SoundDurationText(d).c_str(),
                    unsigned(d.bitsPerSample), SoundChannelsText(d.channels).c_str(), d.Rate());
    }
    return kExitOk;
}

int RunSoundExport(const CliCommand& command, const CliArgs& args) {
    int status = kExitOk;
    std::unique_ptr<TagStream> stream;
    const std::optional<Sound> sound = ReadSoundLayoutOf(command, args, 1, status, stream);
    if (!sound) return status;
    const std::string folder = NormaliseFolderPath(args.positional.back());
    const std::vector<WavExportItem> items = PlanWavExport(*sound, AllPermutations(*sound), folder);
    std::vector<std::string> paths;
    for (const WavExportItem& item : items) paths.push_back(item.path);
    if (Status prepared = PrepareOutputs(paths, folder, args.Has("--force")); !prepared)
        return FailExit(prepared.error());
    const size_t failed = ExportWavs(*sound, items, [](const WavExportOutcome& outcome) {
        if (!outcome.status) std::fprintf(stderr, "ERROR: %s\n", outcome.status.error().c_str());
        else std::printf("%s\n", outcome.path.c_str());
        if (outcome.status && outcome.replaced) std::fprintf(stderr, "INFO: replaced '%s'\n", outcome.path.c_str());
    }, PayloadOf(*stream));
    return failed ? kExitFailed : kExitOk;
}

int RunDtexExport(const CliCommand& command, const CliArgs& args) {
    const std::string& path = args.positional.back();
    const std::optional<uint32_t> format = ImageFormatOf(path);
    if (!format) return UsageError(command, "the image file name must end in .bmp, .png or .tiff");
    int status = kExitOk;
    const std::optional<TagData> tag = TagOfGroup(command, args, 1, kDetailTextureGroup, status);
    if (!tag) return status;
    const Result<DetailTexture> texture = ReadDetailTexture(tag->payload);
    if (!texture) return FailExit("'" + tag->header.Name() + "' is not a valid detail texture");
    // Like the other exports, the folder the file goes into is made when missing.
    const size_t slash = path.rfind('/');
    if (Status prepared = PrepareOutputs({path}, slash == std::string::npos ? "" : path.substr(0, slash + 1),
                                         args.Has("--force"));
        !prepared)
        return FailExit(prepared.error());
    Image image;
    if (!CreateImage(image, int32_t(texture->width), int32_t(texture->height), kPixelRGB, texture->pixels.data()))
        return FailExit("The file could not be written: the texture's size is not valid");
    if (Status saved = SaveImageAs(image, path, *format); !saved)
        return FailExit("The file could not be written: " + saved.error());
    return kExitOk;
}

int RunDtexImport(const CliCommand&, const CliArgs& args) {
    const std::string& imagePath = args.positional[0];
    MediaFile file(imagePath);
    if (Status loaded = LoadImage(file); !loaded) return FailExit("Failed to load image data: " + loaded.error());
    const Image& image = file.image;
    if (image.format != kPixelRGB) return FailExit("Image must be 24 bit RGB.");
    if (!IsPowerOfTwo(uint32_t(image.width)) || !IsPowerOfTwo(uint32_t(image.height)))
        return FailExit("The texture must have dimensions that are powers of two.");
    DetailTexture texture;
    texture.width = uint32_t(image.width);
    texture.height = uint32_t(image.height);
    texture.pixels = image.pixels;
    const Result<std::vector<uint8_t>> payload = WriteDetailTexture(texture);
    if (!payload) return FailExit("the image cannot be stored as a detail texture");

    Codex& codex = Codex::Instance();
    if (Status opened = OpenGameFolder(codex, args.positional[2], ""); !opened) return FailExit(opened.error());
    Result<NewTag> created =
        CreateTag(codex, kDetailTextureGroup, std::nullopt, args.positional[1], args.Has("--force"));
    if (!created) return FailExit(created.error() + (args.Has("--force") ? "" : " (--force replaces it)"));
    TagRecord* record = created->record;
    TagHeader header = created->header;
    header.version = kDetailTextureTagVersion;
    // The old tag file, if any, is replaced only once the new one is complete.
    Result<FILE*> out = BeginTagWrite(codex, record, header);
    if (!out) return FailExit("couldn't write the tag to the local folder: " + out.error());
    const bool written = std::fwrite(payload->data(), 1, payload->size(), *out) == payload->size();
    if (Status finished = FinishTagWrite(codex, record, &header, written); !finished)
        return FailExit("couldn't write the tag to the local folder: " + finished.error());
    std::printf("%s\n", record->localEntry->path->c_str());
    return kExitOk;
}

}  // namespace

std::vector<CliCommand> MediaCommands() {
    return {
        {"image info", "FILE", "describe a BMP, PNG or TIFF image",
         "Prints the image's file format, size, pixel format and palette size.", {}, 1, 1, RunImageInfo},
        {"collection info", "TAG-OR-FILE", "list a collection's bitmaps, sequences and hue changes",
         "Prints the collection's flags, then one line per bitmap (number, name, size,\n"
         "encoding), per sequence (number, name, frames, views) and per hue change.\n"
         "TAG-OR-FILE is a loose tag file or GAMEFOLDER GROUP TAGID.",
         {}, 1, 3, RunCollectionInfo},
        {"collection export", "TAG-OR-FILE DEST [--by-name] [--type png|bmp|tiff] [--force]",
         "export a collection's bitmaps as images",
         "Writes every paletted bitmap into the folder DEST as a paletted image with the\n"
         "collection's palette, named \"bitmap #0000\" and on by number, or by bitmap\n"
         "name. High-colour and damaged bitmaps are skipped with a warning. Prints each\n"
         "file written.\n\n"
         "  --by-name  name the files after the bitmaps (refused when two share a name)\n"
         "  --type T   png (default), bmp or tiff\n"
         "  --force    replace existing files",
         {{"--by-name", false}, {"--type", true}, {"--force", false}}, 2, 4, RunCollectionExport},
        {"sound info", "TAG-OR-FILE", "list a sound's permutations",
         "Prints one line per permutation: name, duration, bit depth, channels, rate.", {}, 1, 3, RunSoundInfo},
        {"sound export", "TAG-OR-FILE DEST [--force]", "export a sound's permutations as WAV files",
         "Writes DEST/<permutation name>.wav for every permutation (16-bit PCM) and\n"
         "prints each file written. A name an earlier permutation took gets \" (2)\",\n"
         "\" (3)\", ...; a permutation without samples gives a WAV with no data.\n\n"
         "  --force  replace existing files",
         {{"--force", false}}, 2, 4, RunSoundExport},
        {"dtex export", "TAG-OR-FILE IMAGE [--force]", "write a detail texture as a 24-bit RGB image",
         "Writes the detail texture to IMAGE; the extension (.bmp, .png, .tiff) picks\n"
         "the format. A missing folder is made.\n\n"
         "  --force  replace an existing file",
         {{"--force", false}}, 2, 4, RunDtexExport},
        {"dtex import", "IMAGE NAME GAMEFOLDER [--force]", "make a detail texture tag from an image",
         "Creates the loose dtex tag NAME in the game folder's local folder from a\n"
         "24-bit RGB image whose sides are powers of two, and prints its path.\n\n"
         "  --force  replace a tag of the same name or tagid",
         {{"--force", false}}, 3, 3, RunDtexImport},
    };
}

}  // namespace tamber::cli
