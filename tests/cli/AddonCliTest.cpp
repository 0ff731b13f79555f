// tamber-cli addon on the demo game folder: the build, replacing only with
// --force, the field check and the detail-texture error with their exit statuses.
#include "tags/Archive.h"
#include "tests/cli/CliTestSupport.h"

using namespace tamber::tags;

TEST_F(CliTest, Addon) {
    const std::string path = game_ + "/plugins/cli addon";
    const CliRun built = Run({"addon", game_, "--name", "cli addon", "--url", "http://example.org"});
    ASSERT_EQ(built.status, 0) << built.err;
    EXPECT_EQ(built.out, "The addon has been written to the plugins folder as 'cli addon'\n");
    const Result<std::unique_ptr<Archive>> read = ReadArchive(path);
    ASSERT_TRUE(read) << read.error();
    const std::unique_ptr<Archive>& archive = *read;
    EXPECT_EQ(archive->header.type * 1000 + archive->header.priority, 6100);
    EXPECT_FALSE(archive->entries.empty());

    const std::string before = cli_test::ReadText(path);
    const CliRun refused = Run({"addon", game_, "--name", "cli addon", "--url", "u", "--priority", "400"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("exists (use --force to replace it)"), std::string::npos);
    EXPECT_EQ(cli_test::ReadText(path), before);
    EXPECT_EQ(Run({"addon", game_, "--name", "cli addon", "--url", "u", "--priority", "400", "--force"}).status, 0);
    EXPECT_EQ((*ReadArchive(path))->header.priority, 400);

    const CliRun invalid = Run({"addon", game_, "--priority", "40000"});
    EXPECT_EQ(invalid.status, 1);
    EXPECT_NE(invalid.err.find("tamber-cli: The following fields are invalid:  name url version\n"),
              std::string::npos);
    const CliRun dtex = Run({"addon", "--dtex", game_, "--name", "textures", "--url", "u"});
    EXPECT_EQ(dtex.status, 1);
    EXPECT_NE(dtex.err.find("tamber-cli: The detail map 'demo old valley details' (told) referenced a detail "
                            "texture ('lava') which could not be found. Aborting.\n"),
              std::string::npos);
    EXPECT_FALSE(ReadArchive(game_ + "/plugins/textures"));
    for (const std::vector<std::string>& usage :
         {std::vector<std::string>{"addon"}, {"addon", game_, "--name"}, {"addon", game_, "--bogus"}})
        EXPECT_EQ(Run(usage).status, 2);
}
