// tamber-cli detail export and import on the demo valley: an exported image reads
// back unchanged, a stray pixel still imports by majority with a warning, and a
// refused image leaves the detail map as it was.
#include "images/MediaFile.h"
#include "tests/cli/CliTestSupport.h"

using namespace tamber::images;

namespace {

Result<Image> ReadImage(const std::string& path) {
    MediaFile file(path);
    file.kind = kMediaImage;
    if (Status loaded = LoadImage(file); !loaded) return std::move(loaded).TakeError();
    return std::move(file.image);
}

}  // namespace

TEST_F(CliTest, DetailExportAndImport) {
    const std::string exported = root_ + "/vertex.bmp", again = root_ + "/again.bmp";
    const CliRun exporting = Run({"detail", "export", game_, "tval", "vertex", exported});
    ASSERT_EQ(exporting.status, 0) << exporting.err;
    Result<Image> image = ReadImage(exported);
    ASSERT_TRUE(image) << image.error();
    EXPECT_EQ(image->width, 64 * 8);
    EXPECT_EQ(image->height, 64 * 8);
    EXPECT_TRUE(image->IsPaletted());
    EXPECT_EQ(Run({"detail", "export", game_, "tval", "vertex", exported}).status, 1);  // no --force

    // Importing the export changes nothing and warns of nothing.
    const CliRun same = Run({"detail", "import", game_, "tval", "vertex", exported});
    ASSERT_EQ(same.status, 0) << same.err;
    const std::string warning = "WARNING: The map wasn't 100% perfect, so please carefully check the results.\n";
    EXPECT_EQ(same.err.find(warning), std::string::npos);
    ASSERT_EQ(Run({"detail", "export", game_, "tval", "vertex", again}).status, 0);
    EXPECT_EQ(ReadImage(again)->pixels, image->pixels);

    // One stray pixel in a block: the block keeps its majority value, with a warning.
    MediaFile stray(root_ + "/stray.bmp");
    stray.image = *image;
    stray.image.pixels[size_t(3 * 8 + 2) * size_t(image->width) + 5 * 8 + 1] ^= 1;
    ASSERT_TRUE(SaveImage(stray));
    const CliRun partial = Run({"detail", "import", game_, "tval", "vertex", stray.path});
    ASSERT_EQ(partial.status, 0) << partial.err;
    EXPECT_NE(partial.err.find(warning), std::string::npos);
    ASSERT_EQ(Run({"detail", "export", game_, "tval", "vertex", again, "--force"}).status, 0);
    EXPECT_EQ(ReadImage(again)->pixels, image->pixels);

    // A block changed as a whole is taken; an image of the wrong size is refused
    // and leaves the map as it was.
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) stray.image.pixels[size_t(y) * size_t(image->width) + size_t(x)] = uint8_t(image->pixels[0] ^ 1);
    ASSERT_TRUE(SaveImage(stray));
    ASSERT_EQ(Run({"detail", "import", game_, "tval", "vertex", stray.path}).status, 0);
    ASSERT_EQ(Run({"detail", "export", game_, "tval", "vertex", again, "--force"}).status, 0);
    const std::vector<uint8_t> changed = ReadImage(again)->pixels;
    EXPECT_NE(changed, image->pixels);
    MediaFile small(root_ + "/small.bmp");
    ASSERT_TRUE(CreateImage(small.image, 64, 64, kPixelPaletted));
    ASSERT_TRUE(SaveImage(small));
    const CliRun refused = Run({"detail", "import", game_, "tval", "vertex", small.path});
    EXPECT_EQ(refused.status, 1);
    ASSERT_EQ(Run({"detail", "export", game_, "tval", "vertex", again, "--force"}).status, 0);
    EXPECT_EQ(ReadImage(again)->pixels, changed);

    EXPECT_EQ(Run({"detail", "import", game_, "tval", "sideways", exported}).status, 1);
    EXPECT_EQ(Run({"detail", "export", game_, "nope", "vertex", again}).status, 1);
    EXPECT_EQ(Run({"detail", "export", game_, "tval"}).status, 2);
}
