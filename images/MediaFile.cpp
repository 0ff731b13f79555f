#include "images/MediaFile.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

#include "images/BmpCodec.h"
#include "platform/fs/FileBytes.h"
#include "images/PngCodec.h"
#include "images/TiffCodec.h"

namespace tamber::images {
using namespace tamber::platform;

const std::array<MediaExtension, 6> kMediaExtensions = {{
    {".unknown", kFormatUnknown, kMediaUnknown},
    {".lwo", kFormatLightWave, kMediaModel},
    {".wav", kFormatWav, kMediaSound},
    {".bmp", kFormatBmp, kMediaImage},
    {".png", kFormatPng, kMediaImage},
    {".tiff", kFormatTiff, kMediaImage},
}};

uint32_t FormatFromExtension(std::string_view name) {
    size_t dot = name.rfind('.');
    std::string_view ext = dot == std::string_view::npos ? name : name.substr(dot + 1);
    for (const MediaExtension& entry : kMediaExtensions) {
        std::string_view known = entry.extension + 1;
        if (known.size() == ext.size() &&
            std::equal(ext.begin(), ext.end(), known.begin(),
                       [](char a, char b) { return std::tolower(uint8_t(a)) == std::tolower(uint8_t(b)); }))
            return entry.format;
    }
    return kFormatUnknown;
}

bool MediaFile::OpenForReading() {
    if (openMode == kMediaReading)
        return std::fseek(stream, 0, SEEK_SET) == 0;
    Close();
    stream = std::fopen(path.c_str(), "rb");
    if (!stream)
        return false;
    openMode = kMediaReading;
    if (std::fseek(stream, 0, SEEK_END) != 0) {
        Close();
        return false;
    }
    long size = std::ftell(stream);
    if (size < 0 || std::fseek(stream, 0, SEEK_SET) != 0) {
        Close();
        return false;
    }
    fileSize = uint64_t(size);
    return true;
}

void MediaFile::Close() {
    if (stream)
        std::fclose(stream);
    stream = nullptr;
    openMode = kMediaClosed;
}

namespace {

struct Identity {
    uint32_t kind;
    uint32_t format;
};

bool ReadWholeFile(MediaFile& file, std::vector<uint8_t>& bytes) {
    return file.OpenForReading() && ReadRest(file.stream, bytes);
}

// Applies the identification rules in order; the first rule whose signature and
// validation both pass decides.
Identity Recognise(MediaFile& file, const uint8_t* head, size_t size) {
    auto at = [&](size_t offset, const char* text) {
        size_t n = std::strlen(text);
        return size >= offset + n && std::memcmp(head + offset, text, n) == 0;
    };
    if (at(0, "II") || at(0, "MM")) {
        std::vector<uint8_t> whole;
        if (ReadWholeFile(file, whole) && CanOpenTiff(whole.data(), whole.size()))
            return {kMediaImage, kFormatTiff};
    }
    Image probe;
    if (at(0, "\x89PNG") && ReadPng(head, size, probe, true))
        return {kMediaImage, kFormatPng};
    BmpHeader bmp;
    if (at(0, "BM") && ReadBmpHeader(head, size, bmp)) {
        file.bmpPixelOffset = bmp.pixelOffset;
        file.bmpBottomUp = bmp.bottomUp;
        return {kMediaImage, kFormatBmp};
    }
    if (at(8, "LWOB") || at(8, "LWO2"))
        return {kMediaModel, kFormatLightWave};
    if (at(0, "3DMe"))
        return {kMediaModel, kFormat3DMetafile};
    if (at(8, "WAVE"))
        return {kMediaSound, kFormatWav};
    if (size >= kTagHeaderSize && ValidateTagHeader(file.tagHeader, head, file.fileSize))
        return {kMediaTagFile, kFormatTagFile};
    if (ValidateArchiveHeader(file.archiveHeader, head, size, file.fileSize))
        return {kMediaArchive, kFormatArchive};
    return {kMediaUnknown, kFormatUnknown};
}

}  // namespace

bool Identify(MediaFile& file) {
    if (file.identified)
        return true;
    if (!file.OpenForReading())
        return false;
    uint8_t head[128];
    size_t size = std::fread(head, 1, sizeof head, file.stream);
    Identity found = Recognise(file, head, size);
    if (found.format == kFormatUnknown || (file.kind != kMediaUnknown && file.kind != found.kind) ||
        (file.format != kFormatUnknown && file.format != found.format))
        return false;
    file.kind = found.kind;
    file.format = found.format;
    file.identified = true;
    return true;
}

bool DecodeImage(const uint8_t* data, size_t size, uint32_t format, Image& image) {
    bool ok = false;
    switch (format) {
    case kFormatBmp:
        ok = ReadBmp(data, size, image);
        break;
    case kFormatPng:
        ok = ReadPng(data, size, image);
        break;
    case kFormatTiff:
        ok = ReadTiff(data, size, image);
        break;
    default:
        return false;
    }
    // A palette that is the grey ramp (or absent) says the picture is grey, as long
    // as no pixel uses an index past the palette (such pixels show black).
    if (ok && image.format == kPixelPaletted && HasGreyRampPalette(image) &&
        std::all_of(image.pixels.begin(), image.pixels.end(),
                    [&](uint8_t index) { return image.paletteCount == 0 || index < image.paletteCount; })) {
        image.format = kPixelGrey;
        image.palette.clear();
        image.paletteCount = 0;
    }
    return ok;
}

bool LoadImage(MediaFile& file) {
    if (file.loaded)
        return true;
    std::vector<uint8_t> bytes;
    bool ok = Identify(file) && file.kind == kMediaImage && ReadWholeFile(file, bytes) &&
              DecodeImage(bytes.data(), bytes.size(), file.format, file.image);
    file.Close();
    file.loaded = ok;
    return ok;
}

bool EncodeImage(const Image& image, uint32_t format, std::vector<uint8_t>& out) {
    switch (format) {
    case kFormatBmp:
        return WriteBmp(image, out);
    case kFormatPng:
        return WritePng(image, out);
    case kFormatTiff:
        return WriteTiff(image, out);
    default:
        return false;
    }
}

bool SaveImage(MediaFile& file) {
    uint32_t format = file.format != kFormatUnknown ? file.format : FormatFromExtension(file.path);
    std::vector<uint8_t> bytes;
    file.Close();
    if (!EncodeImage(file.image, format, bytes))
        return false;
    return WriteFileAtomically(file.path, bytes.data(), bytes.size());
}

}  // namespace tamber::images
