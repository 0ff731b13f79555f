#include "images/TiffCodec.h"

#include <tiffio.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace tamber::images {
using namespace tamber::base;

namespace {

// libtiff's codecs expand data by at most a few thousand to one (LZW's longest
// string per 9-bit code); rows needing more than that cannot be in the file.
constexpr double kMaxExpansion = 4096;
constexpr double kSlack = 1 << 16;

// A libtiff stream over bytes in memory; writes grow the buffer.
struct MemoryStream {
    const uint8_t* readData = nullptr;
    std::vector<uint8_t>* writeData = nullptr;
    uint64_t size = 0;
    uint64_t pos = 0;
};

tmsize_t StreamRead(thandle_t handle, void* dest, tmsize_t length) {
    auto* s = static_cast<MemoryStream*>(handle);
    if (length < 0 || s->pos >= s->size)
        return 0;
    uint64_t n = std::min<uint64_t>(uint64_t(length), s->size - s->pos);
    const uint8_t* src = s->readData ? s->readData : s->writeData->data();
    std::memcpy(dest, src + s->pos, n);
    s->pos += n;
    return tmsize_t(n);
}

tmsize_t StreamWrite(thandle_t handle, void* src, tmsize_t length) {
    auto* s = static_cast<MemoryStream*>(handle);
    if (!s->writeData || length < 0)
        return -1;
    uint64_t end = s->pos + uint64_t(length);
    if (end > s->writeData->size())
        s->writeData->resize(end);
    std::memcpy(s->writeData->data() + s->pos, src, size_t(length));
    s->pos = end;
    s->size = std::max<uint64_t>(s->size, end);
    return length;
}

toff_t StreamSeek(thandle_t handle, toff_t offset, int whence) {
    auto* s = static_cast<MemoryStream*>(handle);
    uint64_t base = whence == SEEK_CUR ? s->pos : whence == SEEK_END ? s->size : 0;
    s->pos = base + offset;
    return s->pos;
}

int StreamClose(thandle_t) { return 0; }
toff_t StreamSize(thandle_t handle) { return static_cast<MemoryStream*>(handle)->size; }
int NoMap(thandle_t, void**, toff_t*) { return 0; }
void NoUnmap(thandle_t, void*, toff_t) {}

int Quiet(TIFF*, void*, const char*, const char*, va_list) { return 1; }

struct TiffCloser {
    void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};
using TiffHandle = std::unique_ptr<TIFF, TiffCloser>;

// Opens with libtiff's messages silenced and its single allocations bounded by
// what the file could plausibly need.
TiffHandle OpenStream(MemoryStream& stream, const char* mode) {
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options)
        return nullptr;
    TIFFOpenOptionsSetErrorHandlerExtR(options, Quiet, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, Quiet, nullptr);
    if (stream.readData)
        TIFFOpenOptionsSetMaxSingleMemAlloc(options, tmsize_t(std::min(double(stream.size) * kMaxExpansion + kSlack, 1e12)));
    TIFF* tiff = TIFFClientOpenExt("memory", mode, &stream, StreamRead, StreamWrite, StreamSeek, StreamClose,
                                   StreamSize, NoMap, NoUnmap, options);
    TIFFOpenOptionsFree(options);
    return TiffHandle(tiff);
}

uint32_t FormatOfDirectory(TIFF* tiff) {
    uint16_t bits = 0, samples = 0, photometric = 0, planar = PLANARCONFIG_CONTIG;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
    if (!TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric))
        return 0;
    if (TIFFIsTiled(tiff))
        return 0;
    // Paletted pictures of few colours are often stored at 1, 2 or 4 bits.
    if (photometric == PHOTOMETRIC_PALETTE && samples == 1 && (bits == 1 || bits == 2 || bits == 4 || bits == 8))
        return kPixelPaletted;
    if (bits != 8)
        return 0;
    if (photometric == PHOTOMETRIC_MINISBLACK && samples == 1)
        return kPixelGrey;
    if (photometric == PHOTOMETRIC_RGB && planar == PLANARCONFIG_CONTIG)
        return samples == 3 ? uint32_t(kPixelRGB) : samples == 4 ? uint32_t(kPixelRGBA) : 0u;
    return 0;
}

// Spreads indices packed most significant bits first into one byte each.
void UnpackIndices(const uint8_t* packed, uint16_t bits, uint32_t width, uint8_t* out) {
    const uint32_t perByte = 8u / bits;
    const uint8_t mask = uint8_t((1u << bits) - 1);
    for (uint32_t x = 0; x < width; ++x) {
        uint32_t shift = 8u - bits * (x % perByte + 1);
        out[x] = uint8_t(packed[x / perByte] >> shift) & mask;
    }
}

}  // namespace

bool CanOpenTiff(const uint8_t* data, size_t size) {
    if (!data || size < 8)
        return false;
    MemoryStream stream{data, nullptr, size, 0};
    return OpenStream(stream, "rm") != nullptr;
}

Result<Image> ReadTiff(const uint8_t* data, size_t size, bool headerOnly) {
    if (!data || size < 8)
        return Fail("the TIFF file is cut short");
    MemoryStream stream{data, nullptr, size, 0};
    TiffHandle tiff = OpenStream(stream, "rm");
    if (!tiff)
        return Fail("the TIFF file's header or first directory is damaged");
    uint32_t format = FormatOfDirectory(tiff.get());
    uint32_t width = 0, height = 0;
    if (format == 0)
        return Fail("only untiled TIFF pictures of 8 bits per sample in grey, RGB, RGBA, or of 1, 2, 4 or 8 bits "
                    "in a palette are read");
    if (!TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &width) || !TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &height) ||
        width == 0 || height == 0 || width > 0x7fffffff || height > 0x7fffffff)
        return Fail("the TIFF picture's size is missing or invalid");
    uint16_t bits = 8;
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_BITSPERSAMPLE, &bits);
    size_t rowBytes = size_t(width) * BytesPerPixel(format);
    size_t storedRowBytes = (size_t(width) * BytesPerPixel(format) * bits + 7) / 8;
    if (double(storedRowBytes) * double(height) > double(size) * kMaxExpansion + kSlack ||
        tmsize_t(storedRowBytes) != TIFFScanlineSize(tiff.get()))
        return Fail("the TIFF picture's size does not match its data");
    Image result;
    if (headerOnly) {
        result.format = format;
        result.width = int32_t(width);
        result.height = int32_t(height);
        return result;
    }
    if (!CreateImage(result, int32_t(width), int32_t(height), format))
        return Fail("the TIFF picture is too large to hold in memory");
    if (format == kPixelPaletted) {
        uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
        if (!TIFFGetField(tiff.get(), TIFFTAG_COLORMAP, &red, &green, &blue))
            return Fail("the paletted TIFF picture has no colour map");
        // libtiff's colour map holds exactly 2^bits entries.
        uint32_t count = 1u << bits;
        uint8_t entries[768];
        for (uint32_t i = 0; i < count; ++i) {
            entries[i * 3] = uint8_t(uint32_t(red[i]) * 255 / 65535);
            entries[i * 3 + 1] = uint8_t(uint32_t(green[i]) * 255 / 65535);
            entries[i * 3 + 2] = uint8_t(uint32_t(blue[i]) * 255 / 65535);
        }
        SetPalette(result, count, entries);
    }
    std::vector<uint8_t> packed(bits < 8 ? storedRowBytes : 0);
    for (uint32_t y = 0; y < height; ++y) {
        uint8_t* row = result.pixels.data() + size_t(y) * rowBytes;
        if (TIFFReadScanline(tiff.get(), bits < 8 ? packed.data() : row, y, 0) < 0)
            return Fail("row " + std::to_string(y) + " of the TIFF picture is damaged");
        if (bits < 8)
            UnpackIndices(packed.data(), bits, width, row);
    }
    return result;
}

Result<std::vector<uint8_t>> WriteTiff(const Image& image) {
    uint16_t photometric, samples;
    switch (image.format) {
    case kPixelPaletted:
        photometric = PHOTOMETRIC_PALETTE;
        samples = 1;
        break;
    case kPixelGrey:
        photometric = PHOTOMETRIC_MINISBLACK;
        samples = 1;
        break;
    case kPixelRGB:
        photometric = PHOTOMETRIC_RGB;
        samples = 3;
        break;
    case kPixelRGBA:
        photometric = PHOTOMETRIC_RGB;
        samples = 4;
        break;
    default:
        return Fail(UnwritableFormatMessage("TIFF"));
    }
    size_t rowBytes = size_t(image.width) * samples;
    if (image.width < 1 || image.height < 1 || image.pixels.size() != rowBytes * size_t(image.height))
        return Fail(EmptyImageMessage());
    std::vector<uint8_t> out;
    MemoryStream stream{nullptr, &out, 0, 0};
    TiffHandle tiff = OpenStream(stream, "w");
    if (!tiff)
        return Fail("libtiff could not start the TIFF file");
    TIFF* t = tiff.get();
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, uint32_t(image.width));
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, uint32_t(image.height));
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_DEFLATE);
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t, TIFFTAG_IMAGEDEPTH, 1);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, photometric);
    if (samples == 4) {
        uint16_t extra = EXTRASAMPLE_UNASSALPHA;
        TIFFSetField(t, TIFFTAG_EXTRASAMPLES, 1, &extra);
    }
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(t, 0));
    if (photometric == PHOTOMETRIC_PALETTE) {
        uint16_t red[256] = {}, green[256] = {}, blue[256] = {};
        bool own = image.paletteCount > 0 && image.palette.size() >= 768;
        uint32_t count = own ? image.paletteCount : 256;
        for (uint32_t i = 0; i < count; ++i) {
            red[i] = uint16_t((own ? image.palette[i * 3] : i) * 257);
            green[i] = uint16_t((own ? image.palette[i * 3 + 1] : i) * 257);
            blue[i] = uint16_t((own ? image.palette[i * 3 + 2] : i) * 257);
        }
        TIFFSetField(t, TIFFTAG_COLORMAP, red, green, blue);
    }
    for (int32_t y = 0; y < image.height; ++y) {
        auto* row = const_cast<uint8_t*>(image.pixels.data() + size_t(y) * rowBytes);
        if (TIFFWriteScanline(t, row, uint32_t(y), 0) < 0)
            return Fail("libtiff could not encode the TIFF picture");
    }
    if (!TIFFFlush(t))
        return Fail("libtiff could not encode the TIFF picture");
    tiff.reset();
    if (out.empty())
        return Fail("libtiff could not encode the TIFF picture");
    return out;
}

}  // namespace tamber::images
