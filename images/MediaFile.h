#pragma once
// A file the user chose: identified by its first bytes, and for images loaded
// into (or saved from) an Image.
#include <array>
#include <cstdint>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"
#include "images/Image.h"
#include "tags/ArchiveHeader.h"
#include "tags/TagHeader.h"

namespace tamber::images {
using namespace tamber::tags;

enum MediaKind : uint32_t {
    kMediaUnknown = 0,
    kMediaTagFile = 1,
    kMediaArchive = 2,
    kMediaSound = 3,
    kMediaModel = 4,
    kMediaImage = 5,
};

enum MediaFormat : uint32_t {
    kFormatUnknown = 0,
    kFormatTagFile = 1,
    kFormatArchive = 2,
    kFormatWav = 3,
    kFormatLightWave = 4,
    kFormat3DMetafile = 5,
    kFormatBmp = 6,
    kFormatPng = 7,
    kFormatTiff = 8,
    kFormatJpeg = 9,  // read only
};

// What the file pickers show when picked files cannot be identified (title "Error",
// button "OK"): one file, and some of several.
constexpr const char* kUnreadableFileMessage =
    "The selected file could not be read (inaccessable or invalid format).";
constexpr const char* kSomeUnreadableFilesMessage =
    "Some of the selected files could not be read (inaccessable or invalid format).";

struct MediaExtension {
    const char* extension;
    uint32_t format;
    uint32_t kind;
};
extern const std::array<MediaExtension, 6> kMediaExtensions;

// The format of a file name's extension (the text after the last "."), or of a
// bare extension with or without its dot, ignoring case; 0 when not in the table.
uint32_t FormatFromExtension(std::string_view name);

// Image files larger than this are refused before they are read.
constexpr size_t kMaxImageFileBytes = size_t(512) << 20;

struct MediaFile {
    explicit MediaFile(std::string path) : path(std::move(path)) {}

    std::string path;
    uint32_t kind = kMediaUnknown;      // preset by a caller to accept only that kind
    uint32_t format = kFormatUnknown;   // preset by a caller to accept only that format
    // Preset by a caller that makes an RGB or RGBA picture of the image.
    Transparency transparency = Transparency::kIgnore;
    uint64_t fileSize = 0;
    bool identified = false;
    bool loaded = false;
    TagHeader tagHeader{};          // kept when identified as a tag file
    ArchiveHeader archiveHeader{};  // kept when identified as an archive
    Image image;
};

// Sets kind and format from the first bytes of the file, which must be a regular
// file; the result is remembered. A preset kind or format must match.
base::Status Identify(MediaFile& file);

// Identifies and reads a BMP, PNG, TIFF or JPEG into `file.image`. A paletted picture
// without a palette, or with the grey ramp as its palette, becomes grey.
base::Status LoadImage(MediaFile& file);

// Writes `file.image` in the file's format (from the extension when none is set).
// The file is replaced only once the whole picture has been written.
base::Status SaveImage(MediaFile& file);

// Encodes an image in memory as BMP, PNG or TIFF, or decodes one of those or a JPEG.
base::Result<std::vector<uint8_t>> EncodeImage(const Image& image, uint32_t format);
base::Result<Image> DecodeImage(const uint8_t* data, size_t size, uint32_t format,
                                Transparency transparency = Transparency::kIgnore);

}  // namespace tamber::images
