#include "images/PngCodec.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <string>

namespace tamber::images {
using namespace tamber::base;

namespace {

// Deflate cannot expand data by more than about 1032 to 1; a file whose rows
// would need more than that is lying about its size and is refused before the
// row buffer is allocated.
constexpr size_t kMaxDeflateRatio = 1032;
constexpr size_t kSlack = 1 << 16;
// Decoded pictures larger than this are refused, however well they compress.
constexpr size_t kMaxPixelBytes = size_t(1) << 30;

// The signature and the IHDR chunk take the first 33 bytes.
constexpr size_t kHeaderEnd = 33;

struct MemoryReader {
    const uint8_t* data;
    size_t size;
    size_t pos;
    bool headerDone;  // libpng asked for bytes past IHDR, so it has checked IHDR
};

void ReadFromMemory(png_structp png, png_bytep dest, png_size_t length) {
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (reader->pos >= kHeaderEnd)
        reader->headerDone = true;
    if (length > reader->size - reader->pos)
        png_error(png, "read past end");
    std::memcpy(dest, reader->data + reader->pos, length);
    reader->pos += length;
}

void WriteToMemory(png_structp png, png_bytep src, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), src, src + length);
}

void FlushNothing(png_structp) {}

// Errors end the read through longjmp; warnings are not interesting.
void OnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void OnWarning(png_structp, png_const_charp) {}

// The program's format for a stored colour type, transparency aside: grey with
// alpha becomes RGBA.
uint32_t FormatOfColorType(int colorType) {
    switch (colorType) {
    case PNG_COLOR_TYPE_GRAY:
        return kPixelGrey;
    case PNG_COLOR_TYPE_RGB:
        return kPixelRGB;
    case PNG_COLOR_TYPE_PALETTE:
        return kPixelPaletted;
    case PNG_COLOR_TYPE_RGB_ALPHA:
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        return kPixelRGBA;
    default:
        return 0;
    }
}

// Holds the row pointers outside the setjmp frame so nothing with a destructor
// is skipped or left indeterminate by a longjmp.
struct ReadState {
    MemoryReader reader;
    std::vector<png_bytep> rows;
    Image result;
    std::string refusal;  // why a well-formed file is not read
};

// Fills the header fields from the checked IHDR; false when it is refused. Uses
// the plain getters: png_get_IHDR checks again and may raise an error, which
// would jump back into the error handler.
bool TakeHeader(png_structp png, png_infop info, Image& image) {
    png_uint_32 width = png_get_image_width(png, info), height = png_get_image_height(png, info);
    uint32_t format = FormatOfColorType(png_get_color_type(png, info));
    if (format == 0 || width == 0 || height == 0 || width > 0x7fffffff || height > 0x7fffffff)
        return false;
    image = Image();
    image.format = format;
    image.width = int32_t(width);
    image.height = int32_t(height);
    return true;
}

// Asks libpng to deliver 8-bit samples in one of the program's layouts: 16-bit
// samples keep their high byte, small indices and grey levels take a byte each
// (grey scaled to 0..255), grey with alpha becomes RGBA, and with `transparency`
// applied a tRNS chunk becomes an alpha channel.
void RequestTransforms(png_structp png, png_infop info, Transparency transparency) {
    const int type = png_get_color_type(png, info);
    const int depth = png_get_bit_depth(png, info);
    if (depth == 16)
        png_set_strip_16(png);
    if (type == PNG_COLOR_TYPE_PALETTE && depth < 8)
        png_set_packing(png);
    if (type == PNG_COLOR_TYPE_GRAY && depth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    const bool keyed = transparency == Transparency::kApply && png_get_valid(png, info, PNG_INFO_tRNS);
    if (keyed)
        png_set_tRNS_to_alpha(png);
    if (type == PNG_COLOR_TYPE_GRAY_ALPHA || (keyed && type == PNG_COLOR_TYPE_GRAY))
        png_set_gray_to_rgb(png);
    if (png_get_interlace_type(png, info) != PNG_INTERLACE_NONE)
        png_set_interlace_handling(png);
}

// The format libpng delivers after the transformations; 0 when it is none of ours.
uint32_t DeliveredFormat(png_structp png, png_infop info) {
    if (png_get_bit_depth(png, info) != 8)
        return 0;
    switch (png_get_channels(png, info)) {
    case 1:
        return png_get_color_type(png, info) == PNG_COLOR_TYPE_PALETTE ? kPixelPaletted : kPixelGrey;
    case 3:
        return kPixelRGB;
    case 4:
        return kPixelRGBA;
    default:
        return 0;
    }
}

bool ReadInto(png_structp png, png_infop info, ReadState& state, bool headerOnly, Transparency transparency) {
    // The header alone may be checked from the first bytes of a file, so running
    // out of data after the IHDR chunk still counts for a header-only read.
    if (setjmp(png_jmpbuf(png)))
        return headerOnly && state.reader.headerDone && TakeHeader(png, info, state.result);
    png_set_read_fn(png, &state.reader, ReadFromMemory);
    png_set_user_limits(png, 0x7fffffff, 0x7fffffff);
    png_read_info(png, info);
    Image& image = state.result;
    if (!TakeHeader(png, info, image))
        return false;
    if (headerOnly)
        return true;
    png_uint_32 width = png_uint_32(image.width), height = png_uint_32(image.height);
    // The stored rows come out of deflate, which cannot expand data beyond its ratio.
    const double storedRow = double(png_get_rowbytes(png, info)) + 1;
    if (double(height) * storedRow > double(state.reader.size) * kMaxDeflateRatio + kSlack) {
        state.refusal = "the PNG file is too short for the size of its picture";
        return false;
    }
    RequestTransforms(png, info, transparency);
    png_read_update_info(png, info);
    const uint32_t format = DeliveredFormat(png, info);
    const size_t rowBytes = size_t(width) * BytesPerPixel(format);
    if (format == 0 || png_get_rowbytes(png, info) != rowBytes)
        return false;
    if (double(rowBytes) * double(height) > double(kMaxPixelBytes)) {
        state.refusal = "the PNG picture is too large to read";
        return false;
    }
    if (!CreateImage(image, int32_t(width), int32_t(height), format)) {
        state.refusal = "the PNG picture is too large to hold in memory";
        return false;
    }
    if (format == kPixelPaletted) {
        png_colorp entries = nullptr;
        int count = 0;
        if (png_get_PLTE(png, info, &entries, &count) && count > 0)
            SetPalette(image, uint32_t(std::min(count, 256)), reinterpret_cast<const uint8_t*>(entries));
    }
    state.rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        state.rows[y] = image.pixels.data() + size_t(y) * rowBytes;
    png_read_image(png, state.rows.data());
    png_read_end(png, nullptr);
    return true;
}

Result<Image> Read(const uint8_t* data, size_t size, bool headerOnly, Transparency transparency) {
    if (!data || size < 8 || png_sig_cmp(data, 0, 8) != 0)
        return Fail("not a PNG file");
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
    if (!png)
        return Fail("libpng could not start reading");
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return Fail("libpng could not start reading");
    }
    ReadState state{{data, size, 0, false}, {}, {}, {}};
    const bool ok = ReadInto(png, info, state, headerOnly, transparency);
    png_destroy_read_struct(&png, &info, nullptr);
    if (!ok)
        return Fail(state.refusal.empty() ? "the PNG file is damaged or cut short" : state.refusal);
    return std::move(state.result);
}

bool WriteFrom(png_structp png, png_infop info, const Image& image, std::vector<png_bytep>& rows,
               std::vector<uint8_t>& out) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    int colorType;
    switch (image.format) {
    case kPixelPaletted:
        colorType = PNG_COLOR_TYPE_PALETTE;
        break;
    case kPixelGrey:
        colorType = PNG_COLOR_TYPE_GRAY;
        break;
    case kPixelRGB:
        colorType = PNG_COLOR_TYPE_RGB;
        break;
    case kPixelRGBA:
        colorType = PNG_COLOR_TYPE_RGB_ALPHA;
        break;
    default:
        return false;
    }
    png_set_write_fn(png, &out, WriteToMemory, FlushNothing);
    png_set_IHDR(png, info, png_uint_32(image.width), png_uint_32(image.height), 8, colorType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (colorType == PNG_COLOR_TYPE_PALETTE) {
        // A PNG palette needs at least one entry; an image without one gets the grey ramp.
        // Pixels may use indices past the palette count (they show the zeroed
        // entries); libpng refuses to write those, so the palette is extended to them.
        png_color entries[256];
        bool own = image.paletteCount > 0 && image.palette.size() >= 768;
        uint32_t count = own ? image.paletteCount : 256;
        for (uint8_t index : image.pixels)
            count = std::max<uint32_t>(count, index + 1u);
        for (uint32_t i = 0; i < count; ++i) {
            entries[i].red = own ? image.palette[i * 3] : uint8_t(i);
            entries[i].green = own ? image.palette[i * 3 + 1] : uint8_t(i);
            entries[i].blue = own ? image.palette[i * 3 + 2] : uint8_t(i);
        }
        png_set_PLTE(png, info, entries, int(count));
    }
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, info);
    return true;
}

}  // namespace

Result<Image> ReadPngHeader(const uint8_t* data, size_t size) {
    return Read(data, size, true, Transparency::kIgnore);
}

Result<Image> ReadPng(const uint8_t* data, size_t size, Transparency transparency) {
    return Read(data, size, false, transparency);
}

Result<std::vector<uint8_t>> WritePng(const Image& image) {
    if (image.format != kPixelPaletted && image.format != kPixelGrey && image.format != kPixelRGB &&
        image.format != kPixelRGBA)
        return Fail(UnwritableFormatMessage("PNG"));
    size_t bpp = BytesPerPixel(image.format);
    if (image.width < 1 || image.height < 1 || image.pixels.size() != image.PixelCount() * bpp)
        return Fail(EmptyImageMessage());
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
    if (!png)
        return Fail("libpng could not start writing");
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return Fail("libpng could not start writing");
    }
    std::vector<png_bytep> rows(size_t(image.height));
    size_t rowBytes = size_t(image.width) * bpp;
    for (size_t y = 0; y < rows.size(); ++y)
        rows[y] = const_cast<png_bytep>(image.pixels.data() + y * rowBytes);
    std::vector<uint8_t> out;
    bool ok = WriteFrom(png, info, image, rows, out);
    png_destroy_write_struct(&png, &info);
    if (!ok)
        return Fail("libpng could not encode the picture");
    return out;
}

}  // namespace tamber::images
