// Files written here must open in other programs and theirs here. Each test
// skips when its tool is not installed.
#include <gtest/gtest.h>

#include <cstdlib>

#include "images/MediaFile.h"
#include "images/PixelConvert.h"
#include "tests/images/ImageTestSupport.h"

using namespace tamber::images;

namespace {

bool HasTool(const char* name) {
    return std::system(("command -v " + std::string(name) + " >/dev/null 2>&1").c_str()) == 0;
}

bool RunTool(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

std::string Output(const std::string& command) {
    std::string text;
    if (std::FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe))
            text += buffer;
        pclose(pipe);
    }
    return text;
}

Image AsRGBA(Image image) {
    EXPECT_TRUE(Convert(image, kPixelRGBA));
    return image;
}

// A picture with `colours` distinct colours, so other programs keep them all.
Image FewColours(uint32_t format, uint32_t colours) {
    Image image;
    EXPECT_TRUE(CreateImage(image, 37, 21, kPixelRGBA));
    for (size_t i = 0; i < image.PixelCount(); ++i) {
        uint32_t c = uint32_t(i * 31 % colours);
        uint8_t* p = &image.pixels[i * 4];
        p[0] = uint8_t(c * 37);
        p[1] = uint8_t(c * 11 + 3);
        p[2] = uint8_t(255 - c);
        p[3] = uint8_t(255 - c % 64);
    }
    EXPECT_TRUE(Convert(image, format));
    return image;
}

#define REQUIRE_TOOL(name) \
    if (!HasTool(name))    \
    GTEST_SKIP() << "\"" name "\" is not installed; the interoperability check is skipped"

TEST(Interop, OtherProgramsReadWhatWeWrite) {
    REQUIRE_TOOL("convert");
    REQUIRE_TOOL("identify");
    ScratchFolder folder;
    const char* extensions[] = {"", "", "", "", "", "", "bmp", "png", "tiff"};
    for (uint32_t fileFormat : {kFormatBmp, kFormatPng, kFormatTiff}) {
        for (uint32_t pixelFormat : {kPixelPaletted, kPixelGrey, kPixelRGB, kPixelRGBA}) {
            SCOPED_TRACE(std::string(extensions[fileFormat]) + " " + std::to_string(pixelFormat));
            MediaFile file(folder.File(std::string("ours.") + extensions[fileFormat]));
            file.image = FewColours(pixelFormat, 200);
            ASSERT_TRUE(SaveImage(file));
            EXPECT_EQ(Output("identify -format '%w %h' " + file.path), "37 21");
            std::string raw = folder.File("theirs.rgba");
            ASSERT_TRUE(RunTool("convert " + file.path + " -depth 8 rgba:" + raw));
            Image expected = AsRGBA(file.image);
            EXPECT_EQ(ReadFileBytes(raw), expected.pixels);
        }
    }
}

TEST(Interop, LibtiffToolsSeeTheWrittenFields) {
    REQUIRE_TOOL("tiffinfo");
    ScratchFolder folder;
    struct Case {
        uint32_t format;
        const char* photometric;
    } cases[] = {{kPixelPaletted, "palette color"}, {kPixelGrey, "min-is-black"}, {kPixelRGB, "RGB color"},
                 {kPixelRGBA, "RGB color"}};
    for (const Case& c : cases) {
        MediaFile file(folder.File("fields.tiff"));
        file.image = FewColours(c.format, 200);
        ASSERT_TRUE(SaveImage(file));
        std::string info = Output("tiffinfo " + file.path);
        EXPECT_NE(info.find("Image Width: 37 Image Length: 21"), std::string::npos) << info;
        EXPECT_NE(info.find("Bits/Sample: 8"), std::string::npos) << info;
        EXPECT_NE(info.find("Deflate"), std::string::npos) << info;
        EXPECT_NE(info.find(c.photometric), std::string::npos) << info;
        EXPECT_NE(info.find("Samples/Pixel: " + std::to_string(BytesPerPixel(c.format))), std::string::npos) << info;
    }
}

TEST(Interop, WeReadWhatOtherProgramsWrite) {
    REQUIRE_TOOL("convert");
    ScratchFolder folder;
    Image source = FewColours(kPixelRGBA, 200);
    MediaFile master(folder.File("master.png"));
    master.image = source;
    ASSERT_TRUE(SaveImage(master));
    Image opaque = source;
    ASSERT_TRUE(Convert(opaque, kPixelRGB));
    MediaFile opaqueMaster(folder.File("opaque.png"));
    opaqueMaster.image = opaque;
    ASSERT_TRUE(SaveImage(opaqueMaster));
    // A grey master stored as RGB: ImageMagick must turn it into a grey file itself.
    Image grey = source;
    ASSERT_TRUE(Convert(grey, kPixelGrey));
    MediaFile greyMaster(folder.File("greyrgb.png"));
    greyMaster.image = grey;
    ASSERT_TRUE(Convert(greyMaster.image, kPixelRGB));
    ASSERT_TRUE(SaveImage(greyMaster));

    struct Case {
        const char* name;
        std::string arguments;
        uint32_t format;
        const Image* expected;
    } cases[] = {
        {"theirs.bmp", opaqueMaster.path + " -type Palette -compress None bmp3:", kPixelPaletted, &opaque},
        {"theirs8.png", opaqueMaster.path + " png8:", kPixelPaletted, &opaque},
        {"grey.png", greyMaster.path + " -type Grayscale -depth 8 png:", kPixelGrey, &grey},
        {"grey.tiff", greyMaster.path + " -type Grayscale -depth 8 tiff:", kPixelGrey, &grey},
        {"rgb.png", opaqueMaster.path + " png24:", kPixelRGB, &opaque},
        {"rgba.png", master.path + " png32:", kPixelRGBA, &source},
        {"palette.tiff", opaqueMaster.path + " -type Palette -depth 8 tiff:", kPixelPaletted, &opaque},
        {"rgb.tiff", opaqueMaster.path + " -depth 8 -type TrueColor tiff:", kPixelRGB, &opaque},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = folder.File(c.name);
        ASSERT_TRUE(RunTool("convert " + c.arguments + path));
        MediaFile file(path);
        ASSERT_TRUE(LoadImage(file));
        EXPECT_EQ(file.image.format, c.format);
        EXPECT_EQ(AsRGBA(file.image).pixels, AsRGBA(*c.expected).pixels);
    }
}

}  // namespace
