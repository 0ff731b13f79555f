// Recursive image conversion: the path checks, relative paths kept, each target
// format, own and shared palettes with their kept entries, existing targets, and
// writes that never leave the destination.
#include <gtest/gtest.h>

#include <algorithm>

#include "images/ImageConversion.h"
#include "images/MediaFile.h"
#include "tests/images/ImageTestSupport.h"

using namespace tamber::images;

namespace fs = std::filesystem;

namespace {

void SaveAs(const Image& image, const std::string& path) {
    fs::create_directories(fs::path(path).parent_path());
    MediaFile file(path);
    file.image = image;
    ASSERT_TRUE(SaveImage(file)) << path;
}

Image Load(const std::string& path) {
    MediaFile file(path);
    EXPECT_TRUE(LoadImage(file)) << path;
    return file.image;
}

// An RGBA picture of many colours whose left column is fully transparent.
Image Sprite(uint32_t seed) {
    Image image = MakeTestImage(kPixelRGBA, 24, 16, seed);
    for (size_t i = 0; i < image.PixelCount(); ++i) image.pixels[i * 4 + 3] = i % 24 == 0 ? 0 : 255;
    return image;
}

class ImageConversionTest : public ::testing::Test {
protected:
    void SetUp() override {
        SaveAs(Sprite(1), src_ + "/a.png");
        SaveAs(MakeTestImage(kPixelRGB, 10, 7, 2), src_ + "/sub/b.bmp");
        SaveAs(Sprite(3), src_ + "/sub/deeper/c.tiff");
        WriteFileBytes(src_ + "/notes.txt", {'h', 'i'});
        WriteFileBytes(src_ + "/sub/broken.png", {0x89, 'P', 'N', 'G', 1, 2, 3});
    }
    ImageConversionSummary Run(const std::string& source, const std::string& dest, ImageConversionOptions options,
                               const ReplaceQuestion& mayReplace = nullptr) {
        log_.clear();
        auto log = [this](int level, const std::string& line) { log_ += std::to_string(level) + " " + line; };
        return ConvertImageTree(source, dest, options, log, nullptr, mayReplace);
    }

    ScratchFolder scratch_;
    const std::string src_ = scratch_.File("source"), dest_ = scratch_.File("out");
    std::string log_;
};

const char* const kInside = "0 ERROR: the destination folder must not be the same as, or inside of the source folder.";

}  // namespace

TEST_F(ImageConversionTest, RefusesBadPathsAndPaletteSizes) {
    for (const auto& [source, dest] : {std::pair{src_, src_ + "/sub/out"}, {src_ + "/", src_}, {src_, src_ + "/sub/.."},
                                       {src_ + "/a.png", src_}}) {  // a file would replace itself
        EXPECT_FALSE(Run(source, dest, {}).started) << dest;
        EXPECT_EQ(log_.rfind("0 ------------------- Begin Recursive image conversion", 0), 0u);
        EXPECT_NE(log_.find(kInside), std::string::npos);
    }
    EXPECT_FALSE(fs::exists(src_ + "/sub/out"));
    EXPECT_FALSE(Run(scratch_.File("missing"), dest_, {}).started);
    EXPECT_NE(log_.find("2 ERROR: source path must be a valid file or folder.\n"), std::string::npos);
    EXPECT_FALSE(fs::exists(dest_));
    EXPECT_EQ(ParsePaletteSize("1"), 1u);
    EXPECT_EQ(ParsePaletteSize(" 256 "), 256u);
    for (const char* bad : {"0", "257", "", "12a", "-5", "1000000000000"}) EXPECT_FALSE(ParsePaletteSize(bad)) << bad;
}

TEST_F(ImageConversionTest, KeepsRelativePathsInEachFormat) {
    for (const auto& [format, pixels] : {std::pair{kConvertRGB, kPixelRGB}, {kConvertRGBA, kPixelRGBA},
                                         {kConvertAlpha, kPixelGrey}, {kConvertIndexed, kPixelPaletted}}) {
        const std::string dest = dest_ + std::to_string(format);
        const ImageConversionSummary summary = Run(src_, dest, {.format = format});
        EXPECT_EQ(summary.images, 4u);  // the broken PNG counts, notes.txt does not
        EXPECT_EQ(summary.written, 3u);
        // The warning says why: the damaged PNG is no file Tamber knows.
        const std::string warning =
            "1 WARNING: image file '" + fs::weakly_canonical(src_ + "/sub/broken.png").string() + "' could not be read: ";
        ASSERT_NE(log_.find(warning), std::string::npos) << log_;
        EXPECT_NE(log_.find("not a file of any kind", log_.find(warning) + warning.size()), std::string::npos) << log_;
        for (const char* name : {"/a.png", "/sub/b.bmp", "/sub/deeper/c.tiff"})
            EXPECT_EQ(Load(dest + name).format, pixels) << name;
        EXPECT_FALSE(fs::exists(dest + "/notes.txt"));
    }
    // Copy Source keeps the pixels; existing targets are replaced only when allowed.
    EXPECT_TRUE(Run(src_ + "/sub/b.bmp", dest_, {}).started);
    EXPECT_EQ(Load(dest_ + "/b.bmp").pixels, Load(src_ + "/sub/b.bmp").pixels);
    EXPECT_FALSE(Run(src_ + "/sub/b.bmp", dest_, {}).started);
    EXPECT_FALSE(Run(src_ + "/sub/b.bmp", dest_, {}, [](const auto& existing) { return existing.empty(); }).started);
    EXPECT_TRUE(Run(src_ + "/sub/b.bmp", dest_, {}, [](const auto& existing) { return existing.size() == 1; }).started);
}

TEST_F(ImageConversionTest, OwnOrSharedPalettesWithKeptEntries) {
    ImageConversionOptions options{.format = kConvertIndexed, .paletteSize = 16};
    ASSERT_TRUE(Run(src_, dest_ + "-own", options).started);
    EXPECT_LE(Load(dest_ + "-own/a.png").paletteCount, 16u);
    EXPECT_NE(Load(dest_ + "-own/a.png").palette, Load(dest_ + "-own/sub/deeper/c.tiff").palette);

    // One palette for all; entries 0 and 1 kept; transparent pixels on entry 0.
    options = {.format = kConvertIndexed, .indexing = kIndexGlobal, .reserveFirstTwo = true,
               .zeroIndexTransparent = true, .paletteSize = 16};
    ASSERT_TRUE(Run(src_, dest_ + "-shared", options).started);
    const Image a = Load(dest_ + "-shared/a.png"), b = Load(dest_ + "-shared/sub/b.bmp");
    EXPECT_EQ(a.paletteCount, 16u);
    EXPECT_EQ(a.palette, b.palette);
    // Transparent pixels take 0, the others 2 and up.
    for (size_t i = 0; i < a.pixels.size(); ++i) EXPECT_EQ(i % 24 ? std::max<int>(a.pixels[i], 2) : 0, a.pixels[i]);
    EXPECT_GE(*std::min_element(b.pixels.begin(), b.pixels.end()), 2);
}

TEST_F(ImageConversionTest, NeverWritesThroughALinkOutOfTheDestination) {
    const std::string outside = scratch_.File("outside");
    fs::create_directories(outside);
    fs::create_directories(dest_);
    fs::create_directory_symlink(outside, dest_ + "/sub");
    const ImageConversionSummary summary = Run(src_, dest_, {});
    EXPECT_EQ(summary.written, 1u);  // a.png only
    EXPECT_EQ(summary.unwritable, 2u);
    EXPECT_TRUE(fs::is_empty(outside));
    // A link in the source back up the tree is not followed; a broken one stops nothing.
    fs::create_directory_symlink(src_, src_ + "/sub/loop");
    fs::create_symlink(scratch_.File("gone.png"), src_ + "/sub/aa.png");
    EXPECT_EQ(Run(src_, dest_ + "2", {}).images, 4u);
}
