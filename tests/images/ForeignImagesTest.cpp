// Pictures that other tools write: ImageMagick in every PNG bit depth and colour
// type, interlaced, and with each BMP header version; pngquant's small palettes;
// ImageMagick's paletted TIFFs, which it packs to 1, 2 or 4 bits for few colours.
// Each reads with the pixels ImageMagick itself decodes. Transparency chunks are
// applied where a picture becomes RGBA and ignored where palette indices are kept.
#include <gtest/gtest.h>

#include <tiffio.h>

#include <cstdlib>

#include "images/ByteOrder.h"
#include "images/ImageConversion.h"
#include "images/MediaFile.h"
#include "images/PixelConvert.h"
#include "tests/images/ImageTestSupport.h"

using namespace tamber::base;
using namespace tamber::images;

namespace {

bool HasTool(const char* name) {
    return std::system(("command -v " + std::string(name) + " >/dev/null 2>&1").c_str()) == 0;
}

bool RunTool(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

#define REQUIRE_TOOL(name) \
    if (!HasTool(name))    \
    GTEST_SKIP() << "\"" name "\" is not installed; pictures written by other tools are not checked"

class ForeignImages : public ::testing::Test {
protected:
    void SetUp() override {
        if (!HasTool("convert"))
            return;
        // A 16-bit plasma, and the same with alpha growing from left to right.
        ASSERT_TRUE(RunTool("convert -seed 3 -size 23x17 plasma: " + opaque_));
        ASSERT_TRUE(RunTool("convert " + opaque_ + " \\( +clone -fx i/w \\) -alpha off -compose CopyOpacity -composite " +
                            translucent_));
    }

    // ImageMagick's decoding of a file as 8-bit RGBA. 16-bit samples keep their
    // high byte (ImageMagick would round them).
    std::vector<uint8_t> Theirs(const std::string& path, bool sixteenBits = false) {
        const std::string raw = folder_.File("theirs.rgba");
        const std::string depth = sixteenBits ? " -depth 16 -endian MSB" : " -depth 8";
        EXPECT_TRUE(RunTool("convert " + path + depth + " rgba:" + raw)) << path;
        std::vector<uint8_t> bytes = ReadFileBytes(raw);
        if (sixteenBits) {
            for (size_t i = 0; i < bytes.size() / 2; ++i)
                bytes[i] = bytes[i * 2];
            bytes.resize(bytes.size() / 2);
        }
        return bytes;
    }

    static std::vector<uint8_t> AsRGBA(Image image) {
        EXPECT_TRUE(Convert(image, kPixelRGBA));
        return image.pixels;
    }

    // Runs the command with the file's path appended and gives the file's bytes.
    std::vector<uint8_t> Written(const std::string& command, const std::string& path) {
        EXPECT_TRUE(RunTool(command + path));
        return ReadFileBytes(path);
    }

    // Reads the file in the program's format, with ImageMagick's pixels.
    void ExpectTheirPixels(const std::string& path, uint32_t format, bool sixteenBits = false) {
        Result<Image> image = Load(path);
        ASSERT_TRUE(image) << image.error();
        EXPECT_EQ(image->format, format);
        EXPECT_EQ(AsRGBA(*image), Theirs(path, sixteenBits));
    }

    static Result<Image> Load(const std::string& path, Transparency transparency = Transparency::kIgnore) {
        MediaFile file(path);
        file.transparency = transparency;
        if (Status loaded = LoadImage(file); !loaded)
            return std::move(loaded).TakeError();
        return std::move(file.image);
    }

    ScratchFolder folder_;
    const std::string opaque_ = folder_.File("opaque.png"), translucent_ = folder_.File("translucent.png");
};

TEST_F(ForeignImages, PngsOfEveryDepthAndColourTypeReadAsTheWriterMeantThem) {
    REQUIRE_TOOL("convert");
    struct Case {
        const char* name;
        std::string command;  // writes the file named last
        int depth, colourType;
        bool interlaced;
        uint32_t format;  // ours
    } cases[] = {
        {"rgb16.png", "convert " + opaque_ + " -depth 16 PNG48:", 16, 2, false, kPixelRGB},
        {"rgba16.png", "convert " + translucent_ + " -depth 16 PNG64:", 16, 6, false, kPixelRGBA},
        {"grey16.png", "convert " + opaque_ + " -colorspace Gray -depth 16 PNG:", 16, 0, false, kPixelGrey},
        {"grey4.png", "convert " + opaque_ + " -colorspace Gray -depth 4 PNG:", 4, 0, false, kPixelGrey},
        {"grey2.png", "convert " + opaque_ + " -colorspace Gray -depth 2 PNG:", 2, 0, false, kPixelGrey},
        {"grey1.png", "convert " + opaque_ + " -monochrome PNG:", 1, 0, false, kPixelGrey},
        {"grey-alpha.png", "convert " + translucent_ + " -depth 8 -colorspace Gray -type GrayscaleAlpha PNG:", 8, 4,
         false, kPixelRGBA},
        {"grey-alpha16.png", "convert " + translucent_ + " -colorspace Gray -type GrayscaleAlpha PNG:", 16, 4, false,
         kPixelRGBA},
        {"palette4.png", "convert " + opaque_ + " -depth 8 -colors 16 PNG:", 4, 3, false, kPixelPaletted},
        {"interlaced.png", "convert " + opaque_ + " -interlace PNG PNG24:", 8, 2, true, kPixelRGB},
        {"interlaced4.png", "convert " + opaque_ + " -depth 8 -colors 16 -interlace PNG PNG:", 4, 3, true,
         kPixelPaletted},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder_.File(c.name);
        const std::vector<uint8_t> bytes = Written(c.command, path);
        ASSERT_GT(bytes.size(), 28u);
        EXPECT_EQ(bytes[24], c.depth);
        EXPECT_EQ(bytes[25], c.colourType);
        EXPECT_EQ(bytes[28] != 0, c.interlaced);
        ExpectTheirPixels(path, c.format, c.depth == 16);
    }
}

TEST_F(ForeignImages, SmallPalettesFromPngquantStayPaletted) {
    REQUIRE_TOOL("convert");
    REQUIRE_TOOL("pngquant");
    for (const auto& [colours, depth] : {std::pair{16, 4}, {4, 2}, {2, 1}}) {
        const std::string path = folder_.File("quantised" + std::to_string(colours) + ".png");
        const std::vector<uint8_t> bytes =
            Written("pngquant " + std::to_string(colours) + " --force " + opaque_ + " --output ", path);
        ASSERT_GT(bytes.size(), 25u);
        EXPECT_EQ(bytes[24], depth);
        ExpectTheirPixels(path, kPixelPaletted);
    }
}

TEST_F(ForeignImages, BmpsOfEveryHeaderVersionAndDepthReadAsTheWriterMeantThem) {
    REQUIRE_TOOL("convert");
    struct Case {
        const char* name;
        std::string command;
        uint32_t infoSize, bits, compression;
        uint32_t format;
    } cases[] = {
        {"v5.bmp", "convert " + opaque_ + " BMP:", 124, 24, 0, kPixelRGB},
        {"v5-alpha.bmp", "convert " + translucent_ + " BMP:", 124, 32, 3, kPixelRGBA},
        {"v5-palette8.bmp", "convert " + opaque_ + " -colors 200 BMP:", 124, 8, 1, kPixelPaletted},
        {"v5-palette4.bmp", "convert " + opaque_ + " -colors 16 BMP:", 124, 4, 0, kPixelPaletted},
        {"v5-palette1.bmp", "convert " + opaque_ + " -colors 2 BMP:", 124, 1, 0, kPixelPaletted},
        {"v3-rle.bmp", "convert " + opaque_ + " -colors 200 BMP3:", 40, 8, 1, kPixelPaletted},
        {"v3.bmp", "convert " + opaque_ + " BMP3:", 40, 24, 0, kPixelRGB},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder_.File(c.name);
        const std::vector<uint8_t> bytes = Written(c.command, path);
        ASSERT_GT(bytes.size(), 34u);
        EXPECT_EQ(GetLE32(&bytes[14]), c.infoSize);
        EXPECT_EQ(GetLE16(&bytes[28]), c.bits);
        EXPECT_EQ(GetLE32(&bytes[30]), c.compression);
        ExpectTheirPixels(path, c.format);
    }

    // ImageMagick 6 writes no V4 header: the V5 file cut down to one, with its
    // pixel offset moved to match.
    std::vector<uint8_t> v4 = ReadFileBytes(folder_.File("v5-palette4.bmp"));
    ASSERT_GT(v4.size(), 14u + 124u);
    const uint32_t offset = GetLE32(&v4[10]);
    v4.erase(v4.begin() + 14 + 108, v4.begin() + 14 + 124);
    for (int i = 0; i < 4; ++i) {
        v4[2 + i] = uint8_t(v4.size() >> (8 * i));
        v4[10 + i] = uint8_t((offset - 16) >> (8 * i));
    }
    v4[14] = 108;
    const std::string path = folder_.File("v4.bmp");
    ASSERT_TRUE(WriteFileBytes(path, v4));
    ExpectTheirPixels(path, kPixelPaletted);
}

TEST_F(ForeignImages, PaletteTransparencyIsKeptWhereAPictureBecomesRGBA) {
    REQUIRE_TOOL("convert");
    REQUIRE_TOOL("pngquant");
    const std::string path = folder_.File("transparent.png");
    ASSERT_TRUE(RunTool("pngquant 4 --force --output " + path + " " + translucent_));
    const std::vector<uint8_t> theirs = Theirs(path);
    ASSERT_EQ(theirs.size(), 23u * 17u * 4u);
    std::vector<uint8_t> opaqueTheirs = theirs;
    for (size_t i = 3; i < opaqueTheirs.size(); i += 4)
        opaqueTheirs[i] = 255;
    ASSERT_NE(opaqueTheirs, theirs) << "the picture should have transparent entries";

    // Entering a collection: palette indices, the alpha left to masks and plates.
    Result<Image> indices = Load(path);
    ASSERT_TRUE(indices);
    EXPECT_EQ(indices->format, kPixelPaletted);
    EXPECT_EQ(AsRGBA(*indices), opaqueTheirs);
    // Becoming RGBA: the palette's alpha applies.
    Result<Image> rgba = Load(path, Transparency::kApply);
    ASSERT_TRUE(rgba);
    EXPECT_EQ(rgba->format, kPixelRGBA);
    EXPECT_EQ(rgba->pixels, theirs);

    // A conversion to RGBA keeps the transparency; copying the source keeps the indices.
    const std::string rgbaFolder = folder_.File("as-rgba"), copyFolder = folder_.File("as-source");
    auto quiet = [](int, const std::string&) {};
    ASSERT_EQ(ConvertImageTree(path, rgbaFolder, {.format = kConvertRGBA}, quiet).written, 1u);
    ASSERT_EQ(ConvertImageTree(path, copyFolder, {.format = kConvertCopySource}, quiet).written, 1u);
    Result<Image> converted = Load(rgbaFolder + "/transparent.png");
    ASSERT_TRUE(converted);
    EXPECT_EQ(converted->pixels, theirs);
    EXPECT_EQ(Load(copyFolder + "/transparent.png")->format, kPixelPaletted);
}

TEST_F(ForeignImages, PalettedTiffsOfFewColoursReadAsTheWriterMeantThem) {
    REQUIRE_TOOL("convert");
    struct Case {
        const char* name;
        std::string command;  // writes the file named last
        uint16_t bits;
    } cases[] = {
        {"two.tiff", "convert " + opaque_ + " -colors 2 -type palette TIFF:", 1},
        {"four.tiff", "convert " + opaque_ + " -colors 4 -type palette TIFF:", 2},
        {"sixteen.tiff", "convert " + opaque_ + " -colors 16 -type palette TIFF:", 4},
        {"sixteen-lzw.tiff", "convert " + opaque_ + " -colors 16 -type palette -compress lzw TIFF:", 4},
        {"sixteen-lsb.tiff",
         "convert " + opaque_ + " -colors 16 -type palette -define tiff:fill-order=lsb TIFF:", 4},
        {"many.tiff", "convert " + opaque_ + " -colors 200 -type palette TIFF:", 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder_.File(c.name);
        ASSERT_TRUE(RunTool(c.command + path));
        TIFF* tiff = TIFFOpen(path.c_str(), "r");
        ASSERT_NE(tiff, nullptr);
        uint16_t bits = 0;
        TIFFGetField(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
        TIFFClose(tiff);
        EXPECT_EQ(bits, c.bits);
        ExpectTheirPixels(path, kPixelPaletted);
        EXPECT_EQ(Load(path)->paletteCount, 1u << c.bits);
    }
}

}  // namespace
