// tamber-cli search and image convert: output lines, options and their
// refusals, files already in the destination.
#include <algorithm>
#include <filesystem>

#include "images/MediaFile.h"
#include "tests/cli/CliTestSupport.h"

using namespace tamber::images;

namespace fs = std::filesystem;
using cli_test::Lines;

namespace {

Image Load(const std::string& path) {
    MediaFile file(path);
    EXPECT_TRUE(LoadImage(file)) << path;
    return file.image;
}

}  // namespace

TEST_F(CliTest, SearchPrintsTheLogLines) {
    CliRun run = Run({"search", game_, "RIVER SONG"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 5u) << run.out;
    EXPECT_EQ(lines[0].rfind("text | ", 0), 0u);
    EXPECT_EQ(lines[0].substr(lines[0].find(" | river song | ")), " | river song | " + game_ + "/plugins/bravo.dng");
    EXPECT_EQ(lines[2], "List of unique match locations ------------------");
    EXPECT_EQ(lines[4], game_ + "/plugins/charlie.dng");
    run = Run({"search", game_, "RIVER SONG", "--case-sensitive"});
    EXPECT_EQ(Lines(run.out), std::vector<std::string>{"List of unique match locations ------------------"});
    EXPECT_EQ(Run({"search", game_, ""}).status, 1);
    EXPECT_EQ(Run({"search", root_ + "/missing", "x"}).status, 1);
}

TEST_F(CliTest, ImageConvertMapsItsOptionsAndRefusesToReplace) {
    const std::string source = root_ + "/art", dest = root_ + "/out";
    for (const char* name : {"/one.png", "/deep/er/two.tiff"}) {
        fs::create_directories(fs::path(source + name).parent_path());
        MediaFile file(source + name);
        EXPECT_TRUE(CreateImage(file.image, 9, 6, kPixelRGBA));
        for (size_t i = 0; i < file.image.pixels.size(); ++i) file.image.pixels[i] = uint8_t(i * 13);
        ASSERT_TRUE(SaveImage(file));
    }
    CliRun run = Run({"image", "convert", source, dest, "--format", "indexed", "--palette", "8", "--global",
                      "--reserve-two"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Lines(run.out).back(), "------------------- End Recursive image conversion: 2 of 2 images written");
    const Image one = Load(dest + "/one.png");
    EXPECT_EQ(one.paletteCount, 8u);
    EXPECT_EQ(one.palette, Load(dest + "/deep/er/two.tiff").palette);
    EXPECT_GE(*std::min_element(one.pixels.begin(), one.pixels.end()), 2);

    // Without dithering every pixel takes its nearest entry.
    run = Run({"image", "convert", source, dest, "--format", "indexed", "--palette", "8", "--no-dither", "--force"});
    ASSERT_EQ(run.status, 0) << run.err;
    const Image plain = Load(dest + "/one.png");
    MediaFile original(source + "/one.png");
    ASSERT_TRUE(LoadImage(original));
    for (size_t i = 0; i < plain.pixels.size(); ++i) {
        auto distance = [&](uint32_t entry) {
            int sum = 0;
            for (int ch = 0; ch < 3; ++ch) {
                const int d = int(original.image.pixels[i * 4 + size_t(ch)]) - plain.palette[entry * 3 + size_t(ch)];
                sum += d * d;
            }
            return sum;
        };
        for (uint32_t entry = 0; entry < plain.paletteCount; ++entry)
            ASSERT_LE(distance(plain.pixels[i]), distance(entry)) << "pixel " << i;
    }

    // Files already there are replaced only with --force.
    run = Run({"image", "convert", source, dest, "--format", "rgb"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("--force"), std::string::npos);
    EXPECT_EQ(Load(dest + "/one.png").format, kPixelPaletted);
    EXPECT_EQ(Run({"image", "convert", source, dest, "--format", "alpha", "--force"}).status, 0);
    EXPECT_EQ(Load(dest + "/deep/er/two.tiff").format, kPixelGrey);

    run = Run({"image", "convert", source, source + "/deep"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("ERROR: the destination folder must not be the same as, or inside of the source"),
              std::string::npos);
    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {"--format", "cmyk"}, {"--format", "indexed", "--palette", "257"}, {"--palette", "16"}, {"--no-dither"}}) {
        std::vector<std::string> args{"image", "convert", source, dest};
        args.insert(args.end(), bad.begin(), bad.end());
        EXPECT_EQ(Run(args).status, 2) << bad[0];
    }
    EXPECT_EQ(Run({"image", "info", dest + "/one.png"}).status, 0);  // beside "image convert"
}
