// `collection optimise` and `collection runtime-size` on the demo game folder:
// the page's reports, the local copy written only when something changed, and
// refusals that leave the game folder as it was.
#include <sys/stat.h>

#include "tests/cli/CliTestSupport.h"

TEST_F(CliTest, OptimiseReportsLikeThePageAndWritesOnlyChanges) {
    const std::vector<std::string> tag = {game_, ".256", "spri"};
    auto with = [&](std::vector<std::string> words, std::vector<std::string> more = {}) {
        words.insert(words.end(), tag.begin(), tag.end());
        words.insert(words.end(), more.begin(), more.end());
        return Run(words);
    };
    const std::string local = game_ + "/local/collections/demo sprites";
    struct stat info {};

    const CliRun size = with({"collection", "runtime-size"});
    ASSERT_EQ(size.status, 0) << size.err;
    EXPECT_EQ(size.out.rfind("Information:\nApproximate texture cache consumption, by format:\n16 bit po2 => ", 0), 0u)
        << size.out;
    EXPECT_EQ(with({"collection", "optimise"}).status, 2) << "no operation chosen";

    const CliRun unchanged = with({"collection", "optimise"}, {"--delete-unused", "--merge-identical"});
    ASSERT_EQ(unchanged.status, 0) << unchanged.err;
    EXPECT_EQ(unchanged.out, "0 unused bitmaps were removed.\n0 bitmaps were deleted after merging.\n");
    EXPECT_NE(::stat(local.c_str(), &info), 0) << "nothing changed, nothing written";

    const CliRun renamed = with({"collection", "optimise"}, {"--auto-rename"});
    ASSERT_EQ(renamed.status, 0) << renamed.err;
    EXPECT_EQ(renamed.out, "Rename operation:\n8 Bitmaps Renamed.\n");
    ASSERT_EQ(::stat(local.c_str(), &info), 0);
    const std::vector<std::string> lines = cli_test::Lines(with({"collection", "info"}).out);
    ASSERT_GT(lines.size(), 4u);
    EXPECT_EQ(lines[3], "  0\twalk (8 views, mirrored) 00~00\t24x24\t8-bit raw");

    // A colour map is refused and left alone.
    const CliRun map = Run({"collection", "optimise", game_, ".256", "tval", "--crop"});
    EXPECT_EQ(map.status, 1);
    EXPECT_NE(map.err.find("color map"), std::string::npos);
    EXPECT_NE(::stat((game_ + "/local/collections/demo valley colour map").c_str(), &info), 0);
}
