// The collection editor's commands of tamber-cli on the demo game folder: adding,
// replacing, plates, hue changes and colour tables, and that a failed command
// leaves the tag as it was.
#include <filesystem>

#include "images/ColorTable.h"
#include "images/MediaFile.h"
#include "tests/cli/CliTestSupport.h"

using namespace tamber::images;

namespace {

// The loose collection written last.
std::string LocalCollection(const std::string& game) {
    std::string newest;
    std::filesystem::file_time_type when{};
    for (const auto& entry : std::filesystem::directory_iterator(game + "/local/collections"))
        if (newest.empty() || entry.last_write_time() > when) newest = entry.path(), when = entry.last_write_time();
    return newest;
}

void WritePicture(const std::string& path, int w, int h, uint32_t format, uint8_t value) {
    MediaFile file(path);
    ASSERT_TRUE(CreateImage(file.image, w, h, format));
    std::fill(file.image.pixels.begin(), file.image.pixels.end(), value);
    if (format == kPixelPaletted) {
        const uint8_t colours[] = {1, 2, 3, 4, 5, 6};
        SetPalette(file.image, 2, colours);
    }
    ASSERT_TRUE(SaveImage(file).ok());
}

}  // namespace

TEST_F(CliTest, CollectionEditCommandsWriteOnlyWhatFullySucceeded) {
    const std::vector<std::string> tag = {game_, ".256", "spri"};
    auto with = [&](std::vector<std::string> words, std::vector<std::string> more) {
        words.insert(words.end(), tag.begin(), tag.end());
        words.insert(words.end(), more.begin(), more.end());
        return Run(words);
    };
    const CliRun before = with({"collection", "info"}, {});
    ASSERT_EQ(before.status, 0) << before.err;

    // A plate of every page bitmap, read back unchanged into the same bitmaps.
    const std::string plate = root_ + "/plate.png", alphaPlate = root_ + "/alpha plate.png";
    ASSERT_EQ(with({"collection", "plate", "export"}, {plate}).status, 0);
    ASSERT_EQ(with({"collection", "plate", "export"}, {alphaPlate, "--alpha"}).status, 0);
    EXPECT_EQ(with({"collection", "plate", "export"}, {plate}).status, 1) << "an existing file needs --force";
    const CliRun imported = with({"collection", "plate", "import"}, {plate});
    ASSERT_EQ(imported.status, 0) << imported.err;
    ASSERT_EQ(with({"collection", "plate", "import"}, {alphaPlate, "--alpha"}).status, 0);
    const std::string local = LocalCollection(game_);
    ASSERT_FALSE(local.empty());
    EXPECT_EQ(with({"collection", "info"}, {}).out, before.out);

    // A refused file fails the whole command: the tag stays byte for byte.
    const std::string saved = cli_test::ReadText(local);
    WritePicture(root_ + "/new.png", 4, 3, kPixelPaletted, 1);
    WritePicture(root_ + "/rgb.png", 4, 3, kPixelRGB, 1);
    const CliRun refused = with({"collection", "add"}, {root_ + "/new.png", root_ + "/rgb.png"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("'rgb.png': The image is not 8-bit paletted."), std::string::npos) << refused.err;
    EXPECT_EQ(cli_test::ReadText(local), saved);
    const CliRun added = with({"collection", "add"}, {root_ + "/new.png", "--shadows"});
    ASSERT_EQ(added.status, 0) << added.err;
    const CliRun info = with({"collection", "info"}, {});
    EXPECT_NE(info.out.find("\tnew\t4x3\t"), std::string::npos) << info.out;

    // A mask one pixel too narrow, by name.
    WritePicture(root_ + "/new.bmp", 3, 3, kPixelGrey, 128);
    const CliRun narrow = with({"collection", "replace"}, {root_ + "/new.bmp", "--alpha", "--by-name", "--shadows"});
    EXPECT_EQ(narrow.status, 1);
    EXPECT_NE(narrow.err.find("Found: 3 x 3. Expected: 4 x 3."), std::string::npos) << narrow.err;

    // Colour tables out and in; a 16-colour table leaves the rest black.
    const std::string act = root_ + "/sixteen.act";
    std::vector<uint8_t> colours(48, 50);
    ASSERT_TRUE(WriteColorTable(act, colours.data(), 16).ok());
    ASSERT_EQ(with({"collection", "palette", "import"}, {act}).status, 0);
    ASSERT_EQ(with({"collection", "palette", "export"}, {root_ + "/out.act"}).status, 0);
    const auto table = ReadColorTable(root_ + "/out.act");
    ASSERT_TRUE(table.ok());
    EXPECT_EQ(table->entries[15 * 3], 50);
    EXPECT_EQ(table->entries[16 * 3], 0);

    const CliRun hues = with({"collection", "hue", "list"}, {});
    EXPECT_EQ(hues.status, 0);
    EXPECT_EQ(Run({"collection", "add", root_ + "/none.256", root_ + "/new.png"}).status, 1);
}
