#include "images/MediaFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "images/BmpCodec.h"
#include "images/JpegCodec.h"
#include "images/PngCodec.h"
#include "images/TiffCodec.h"
#include "platform/fs/FileBytes.h"
#include "platform/fs/InputFile.h"

namespace tamber::images {
using namespace tamber::base;
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

namespace {

struct Identity {
    uint32_t kind;
    uint32_t format;
};

// Applies the identification rules in order; the first rule whose signature and
// validation both pass decides.
Result<Identity> Recognise(MediaFile& file, const uint8_t* head, size_t size) {
    auto at = [&](size_t offset, const char* text) {
        size_t n = std::strlen(text);
        return size >= offset + n && std::memcmp(head + offset, text, n) == 0;
    };
    if (at(0, "II") || at(0, "MM")) {
        // libtiff needs the whole file to find the first directory.
        Result<std::vector<uint8_t>> whole = ReadFileBytes(file.path, kMaxImageFileBytes);
        if (whole && CanOpenTiff(whole->data(), whole->size()))
            return Identity{kMediaImage, kFormatTiff};
    }
    if (at(0, "\x89PNG") && ReadPngHeader(head, size))
        return Identity{kMediaImage, kFormatPng};
    if (IsJpeg(head, size))
        return Identity{kMediaImage, kFormatJpeg};
    if (at(0, "BM") && ReadBmpHeader(head, size))
        return Identity{kMediaImage, kFormatBmp};
    if (at(8, "LWOB") || at(8, "LWO2"))
        return Identity{kMediaModel, kFormatLightWave};
    if (at(0, "3DMe"))
        return Identity{kMediaModel, kFormat3DMetafile};
    if (at(8, "WAVE"))
        return Identity{kMediaSound, kFormatWav};
    if (size >= kTagHeaderSize && ValidateTagHeader(file.tagHeader, head, file.fileSize))
        return Identity{kMediaTagFile, kFormatTagFile};
    if (ValidateArchiveHeader(file.archiveHeader, head, size, file.fileSize))
        return Identity{kMediaArchive, kFormatArchive};
    return Fail("'" + file.path + "' is not a file of any kind Tamber reads");
}

}  // namespace

Status Identify(MediaFile& file) {
    if (file.identified)
        return Ok();
    Result<InputFile> input = OpenInputFile(file.path, UINT64_MAX);
    if (!input)
        return Fail("couldn't read '" + file.path + "': " + input.error());
    file.fileSize = input->size;
    uint8_t head[128];
    const size_t size = std::fread(head, 1, sizeof head, input->file.get());
    if (size < sizeof head && std::ferror(input->file.get()))
        return Fail("couldn't read '" + file.path + "': " + std::strerror(errno));
    Result<Identity> found = Recognise(file, head, size);
    if (!found)
        return std::move(found).TakeError();
    if ((file.kind != kMediaUnknown && file.kind != found->kind) ||
        (file.format != kFormatUnknown && file.format != found->format))
        return Fail("'" + file.path + "' is not a file of the kind asked for");
    file.kind = found->kind;
    file.format = found->format;
    file.identified = true;
    return Ok();
}

Result<Image> DecodeImage(const uint8_t* data, size_t size, uint32_t format, Transparency transparency) {
    Result<Image> image = Fail("not an image file");
    switch (format) {
    case kFormatBmp:
        image = ReadBmp(data, size);
        break;
    case kFormatPng:
        image = ReadPng(data, size, transparency);
        break;
    case kFormatTiff:
        image = ReadTiff(data, size);
        break;
    case kFormatJpeg:
        image = ReadJpeg(data, size);
        break;
    default:
        return image;
    }
    // A palette that is the grey ramp (or absent) says the picture is grey, as long
    // as no pixel uses an index past the palette (such pixels show black).
    if (image && image->format == kPixelPaletted && HasGreyRampPalette(*image) &&
        std::all_of(image->pixels.begin(), image->pixels.end(),
                    [&](uint8_t index) { return image->paletteCount == 0 || index < image->paletteCount; })) {
        image->format = kPixelGrey;
        image->palette.clear();
        image->paletteCount = 0;
    }
    return image;
}

Status LoadImage(MediaFile& file) {
    if (file.loaded)
        return Ok();
    if (Status identified = Identify(file); !identified)
        return identified;
    if (file.kind != kMediaImage)
        return Fail("'" + file.path + "' is not a BMP, PNG, TIFF or JPEG image");
    Result<std::vector<uint8_t>> bytes = ReadFileBytes(file.path, kMaxImageFileBytes);
    if (!bytes)
        return std::move(bytes).TakeError();
    Result<Image> image = DecodeImage(bytes->data(), bytes->size(), file.format, file.transparency);
    if (!image)
        return Fail("couldn't read the image '" + file.path + "': " + image.error());
    file.image = std::move(*image);
    file.loaded = true;
    return Ok();
}

Result<std::vector<uint8_t>> EncodeImage(const Image& image, uint32_t format) {
    switch (format) {
    case kFormatBmp:
        return WriteBmp(image);
    case kFormatPng:
        return WritePng(image);
    case kFormatTiff:
        return WriteTiff(image);
    default:
        return Fail("images are written only as BMP, PNG or TIFF");
    }
}

Status SaveImage(MediaFile& file) {
    const uint32_t format = file.format != kFormatUnknown ? file.format : FormatFromExtension(file.path);
    Result<std::vector<uint8_t>> bytes = EncodeImage(file.image, format);
    if (!bytes)
        return Fail("couldn't write '" + file.path + "': " + bytes.error());
    return WriteFileAtomically(file.path, bytes->data(), bytes->size());
}

}  // namespace tamber::images
