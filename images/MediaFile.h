#pragma once
// A file the user chose: identified by its first bytes, and for images loaded
// into (or saved from) an Image.
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

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
};

enum MediaOpenMode : int { kMediaClosed = 0, kMediaReading = 1 };

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

class MediaFile {
public:
    explicit MediaFile(std::string path) : path(std::move(path)) {}
    ~MediaFile() { Close(); }
    MediaFile(const MediaFile&) = delete;
    MediaFile& operator=(const MediaFile&) = delete;

    bool OpenForReading();
    void Close();

    std::string path;
    uint32_t kind = kMediaUnknown;      // preset by a caller to accept only that kind
    uint32_t format = kFormatUnknown;   // preset by a caller to accept only that format
    int openMode = kMediaClosed;
    std::FILE* stream = nullptr;
    uint64_t fileSize = 0;
    bool identified = false;
    bool loaded = false;
    TagHeader tagHeader{};          // kept when identified as a tag file
    ArchiveHeader archiveHeader{};  // kept when identified as an archive
    Image image;
    size_t bmpPixelOffset = 0;
    bool bmpBottomUp = true;
};

// Sets kind and format from the file's first bytes; true when identified (the
// result is remembered). A preset kind or format must match.
bool Identify(MediaFile& file);

// Identifies and reads a BMP, PNG or TIFF into `file.image`. A paletted picture
// without a palette, or with the grey ramp as its palette, becomes grey.
bool LoadImage(MediaFile& file);

// Writes `file.image` in the file's format (from the extension when none is set).
// The file is replaced only once the whole picture has been written.
bool SaveImage(MediaFile& file);

// Encodes or decodes an image in memory for one of the three image formats.
bool EncodeImage(const Image& image, uint32_t format, std::vector<uint8_t>& out);
bool DecodeImage(const uint8_t* data, size_t size, uint32_t format, Image& image);

}  // namespace tamber::images
