#include <gtest/gtest.h>
#include <png.h>
#include <tiffio.h>
#include <zlib.h>

#include "images/MediaFile.h"
#include "images/PngCodec.h"
#include "images/TiffCodec.h"
#include "tests/images/ImageTestSupport.h"

using namespace tamber::base;
using namespace tamber::images;

namespace {

// Writes a PNG with any depth and colour type through libpng's simplified API.
std::vector<uint8_t> EncodeRawPng(int width, int height, uint32_t format, int depth) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(width);
    image.height = png_uint_32(height);
    image.format = format | (depth == 16 ? PNG_FORMAT_FLAG_LINEAR : 0);
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image), 0x55);
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr);
    std::vector<uint8_t> out(size);
    png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, nullptr);
    out.resize(size);
    return out;
}

// Opens a TIFF for writing one strip with the given fields.
TIFF* StartTiff(const std::string& path, uint32_t width, uint32_t height, uint16_t bits, uint16_t samples,
                uint16_t photometric) {
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    if (!tiff)
        return nullptr;
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, bits);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, photometric);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, height);
    return tiff;
}

// Writes a 4 x 2 TIFF with the given fields, every sample byte 0x80.
bool WriteRawTiff(const std::string& path, uint16_t bits, uint16_t samples, uint16_t photometric) {
    TIFF* tiff = StartTiff(path, 4, 2, bits, samples, photometric);
    if (!tiff)
        return false;
    std::vector<uint8_t> row(4 * samples * bits / 8, 0x80);
    for (uint32_t y = 0; y < 2; ++y)
        TIFFWriteScanline(tiff, row.data(), y, 0);
    TIFFClose(tiff);
    return true;
}

TEST(PngCodec, ReadsSixteenBitsAndGreyWithAlphaAndTheHeaderAlone) {
    std::vector<uint8_t> file = EncodeRawPng(3, 2, PNG_FORMAT_RGB, 8);
    Result<Image> image = ReadPng(file.data(), file.size());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->format, kPixelRGB);
    // 16-bit samples keep their high byte; grey with alpha becomes RGBA.
    file = EncodeRawPng(3, 2, PNG_FORMAT_RGB, 16);
    image = ReadPng(file.data(), file.size());
    ASSERT_TRUE(image) << image.error();
    EXPECT_EQ(image->format, kPixelRGB);
    EXPECT_EQ(image->pixels, std::vector<uint8_t>(18, 0x55));
    file = EncodeRawPng(3, 2, PNG_FORMAT_GA, 8);
    image = ReadPng(file.data(), file.size());
    ASSERT_TRUE(image) << image.error();
    EXPECT_EQ(image->format, kPixelRGBA);
    EXPECT_EQ(image->pixels, std::vector<uint8_t>(24, 0x55));
    EXPECT_EQ(ReadPngHeader(file.data(), file.size())->format, kPixelRGBA);

    // The header alone can be read from the first bytes; the rows need the whole file.
    file = EncodeRawPng(300, 200, PNG_FORMAT_RGBA, 8);
    Result<Image> header = ReadPngHeader(file.data(), 40);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->width, 300);
    EXPECT_EQ(header->height, 200);
    EXPECT_EQ(header->format, kPixelRGBA);
    EXPECT_TRUE(header->pixels.empty());
    EXPECT_FALSE(ReadPng(file.data(), file.size() - 20));
}

TEST(TiffCodec, RefusesOtherDepthsAndPhotometrics) {
    ScratchFolder folder;
    struct Case {
        uint16_t bits, samples, photometric;
        uint32_t format;  // 0: refused
    } cases[] = {
        {8, 1, PHOTOMETRIC_MINISBLACK, kPixelGrey}, {8, 3, PHOTOMETRIC_RGB, kPixelRGB},
        {8, 4, PHOTOMETRIC_RGB, kPixelRGBA},        {16, 1, PHOTOMETRIC_MINISBLACK, 0},
        {8, 1, PHOTOMETRIC_MINISWHITE, 0},          {8, 2, PHOTOMETRIC_MINISBLACK, 0},
        {8, 4, PHOTOMETRIC_SEPARATED, 0},           {16, 3, PHOTOMETRIC_RGB, 0},
    };
    for (const Case& c : cases) {
        std::string path = folder.File("case.tiff");
        ASSERT_TRUE(WriteRawTiff(path, c.bits, c.samples, c.photometric));
        std::vector<uint8_t> file = ReadFileBytes(path);
        EXPECT_TRUE(CanOpenTiff(file.data(), file.size()));
        Result<Image> image = ReadTiff(file.data(), file.size());
        EXPECT_EQ(bool(image), c.format != 0) << c.bits << "/" << c.photometric;
        if (c.format != 0 && image) {
            EXPECT_EQ(image->format, c.format);
            EXPECT_EQ(image->pixels, std::vector<uint8_t>(8 * BytesPerPixel(c.format), 0x80));
        }
    }
}

TEST(TiffCodec, ColourMapEntriesAreTruncatedToEightBits) {
    Image image = MakeTestImage(kPixelPaletted, 4, 4);
    std::vector<uint8_t> file = *WriteTiff(image);
    // The writer stores value x 257, which reads back exactly.
    Result<Image> back = ReadTiff(file.data(), file.size());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->palette, image.palette);

    ScratchFolder folder;
    std::string path = folder.File("map.tiff");
    TIFF* tiff = StartTiff(path, 1, 1, 8, 1, PHOTOMETRIC_PALETTE);
    ASSERT_NE(tiff, nullptr);
    uint16_t red[256] = {65535, 257 * 100 + 256}, green[256] = {256, 65534}, blue[256] = {};
    TIFFSetField(tiff, TIFFTAG_COLORMAP, red, green, blue);
    uint8_t pixel = 1;
    TIFFWriteScanline(tiff, &pixel, 0, 0);
    TIFFClose(tiff);
    file = ReadFileBytes(path);
    back = ReadTiff(file.data(), file.size());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->palette[0], 255);
    EXPECT_EQ(back->palette[1], 0);      // 256 x 255 / 65535 truncates to 0
    EXPECT_EQ(back->palette[3], 100);    // 25956 x 255 / 65535 = 100.99
    EXPECT_EQ(back->palette[4], 254);    // 65534 x 255 / 65535 = 254.99
}

TEST(ImageCodecs, HostileSizesAreRefusedBeforeAllocating) {
    // A small PNG whose header claims 30000 x 30000 RGBA pixels (3.6 GB).
    std::vector<uint8_t> png = EncodeRawPng(2, 2, PNG_FORMAT_RGBA, 8);
    for (int i = 0; i < 2; ++i) {
        png[16 + 4 * i] = 0;
        png[17 + 4 * i] = 0;
        png[18 + 4 * i] = 0x75;
        png[19 + 4 * i] = 0x30;
    }
    uLong crc = crc32(0, png.data() + 12, 17);
    for (int i = 0; i < 4; ++i)
        png[29 + i] = uint8_t(crc >> (24 - 8 * i));
    ASSERT_TRUE(ReadPngHeader(png.data(), png.size()));
    EXPECT_EQ(ReadPngHeader(png.data(), png.size())->width, 30000);
    EXPECT_FALSE(ReadPng(png.data(), png.size()));

    // A TIFF directory for 60000 x 60000 RGB pixels with no strips written.
    ScratchFolder folder;
    std::string path = folder.File("huge.tiff");
    TIFF* tiff = StartTiff(path, 60000, 60000, 8, 3, PHOTOMETRIC_RGB);
    ASSERT_NE(tiff, nullptr);
    TIFFWriteDirectory(tiff);
    TIFFClose(tiff);
    std::vector<uint8_t> file = ReadFileBytes(path);
    EXPECT_FALSE(ReadTiff(file.data(), file.size()));
}

TEST(ImageCodecs, EveryFormatRoundTripsEveryPixelFormat) {
    ScratchFolder folder;
    for (uint32_t fileFormat : {kFormatBmp, kFormatPng, kFormatTiff}) {
        for (uint32_t pixelFormat : {kPixelPaletted, kPixelGrey, kPixelRGB, kPixelRGBA}) {
            Image source = MakeTestImage(pixelFormat, 13, 7, pixelFormat + fileFormat);
            MediaFile out(folder.File("round" + std::to_string(fileFormat)));
            out.format = fileFormat;
            out.image = source;
            ASSERT_TRUE(SaveImage(out)) << fileFormat << "/" << pixelFormat;
            MediaFile in(out.path);
            ASSERT_TRUE(LoadImage(in)) << fileFormat << "/" << pixelFormat;
            EXPECT_EQ(in.format, fileFormat);
            EXPECT_EQ(in.image.format, pixelFormat);
            EXPECT_EQ(in.image.pixels, source.pixels) << fileFormat << "/" << pixelFormat;
            EXPECT_EQ(in.image.palette, source.palette);
        }
        MediaFile refused(folder.File("alpha"));
        refused.format = fileFormat;
        refused.image = MakeTestImage(kPixelPalettedAlpha, 3, 3);
        EXPECT_FALSE(SaveImage(refused));
        EXPECT_FALSE(std::filesystem::exists(refused.path));
    }
    // Nothing but the written files is left in the folder: no temporaries.
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        ++files;
    EXPECT_EQ(files, 3u);
}

}  // namespace
