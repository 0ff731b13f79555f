// "collection build" on a demo game folder: the log on standard error, the exit
// statuses, and the same tag bytes as the library's build for the same inputs.
#include "collections/builder/CollectionBuild.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/collections_builder/BuilderTestSupport.h"

namespace {

class CollectionBuildCli : public CliTest {};

TEST_F(CollectionBuildCli, BuildsTheSameTagAsTheLibrary) {
    const std::string renders = root_ + "/renders/";
    WriteRenders(renders + "walk(2,3)", 6);
    WriteRenders(renders + "bad", 5);

    CliRun run = Run({"collection", "build", renders, game_, "--name", "cli walker", "--tagid", "cwlk", "--reg",
                      "7,-3", "--frames-then-views"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("scanning sequence folder 'walk(2,3)'\n"), std::string::npos);
    EXPECT_NE(run.err.find("ERROR: the sequence folder 'bad' had invalid dimensions"), std::string::npos);
    EXPECT_NE(run.err.find("Writing collection data to disk...ok.\n"), std::string::npos);
    const std::string path = cli_test::Lines(run.out).at(0);
    const std::string fromCli = cli_test::ReadText(path);

    // A second run without --force is refused and changes nothing.
    CliRun again = Run({"collection", "build", renders, game_, "--name", "cli walker", "--tagid", "cwlk"});
    EXPECT_EQ(again.status, 1);
    EXPECT_EQ(cli_test::ReadText(path), fromCli);
    // Invalid fields are usage errors with the dialog's messages.
    CliRun reg = Run({"collection", "build", renders, game_, "--name", "x", "--reg", "4097,0"});
    EXPECT_EQ(reg.status, 2);
    EXPECT_NE(reg.err.find("The Reg Point X value is invalid."), std::string::npos);
    // Nothing buildable: exit 1, no tag.
    CliRun none = Run({"collection", "build", renders + "bad", game_, "--name", "nothing"});
    EXPECT_EQ(none.status, 1);

    // The library with the same inputs writes the same bytes.
    Codex codex;
    std::filesystem::rename(path, root_ + "/cli.256");
    codex.Init(game_);
    StandardBuildOptions options{renders, "cli walker", 7, -3, kFramesThenViews, false};
    Result<TagRecord*> built = BuildCollectionTag(codex, options, FourCCFromText("cwlk"), true, BuildLog());
    ASSERT_TRUE(built.ok()) << built.error();
    EXPECT_EQ(cli_test::ReadText(*(*built)->localEntry->path), fromCli);
}

TEST_F(CollectionBuildCli, UpResWritesSecondSetsOnlyWhenTheScaleHolds) {
    // Renders of twice the size for every view of "glow (second set)" of the demo sprites.
    Codex codex;
    codex.Init(game_);
    TagRecord* record = codex.FindTag(kCollectionGroupCode, FourCCFromText("spri"));
    ASSERT_TRUE(record);
    auto data = ReadCurrentTagData(codex, record);
    ASSERT_TRUE(data.ok());
    auto original = ReadCollection(*data, codex.CurrentEntry(record)->header.user, true);
    ASSERT_TRUE(original.ok());
    const std::string folder = root_ + "/hires/";
    CliRun prepared = Run({"collection", "upres-folder", game_, "spri", folder});
    ASSERT_EQ(prepared.status, 0) << prepared.err;
    const std::string sprites = cli_test::Lines(prepared.out).at(0);
    EXPECT_EQ(sprites, folder + "demo sprites/");
    const Sequence* glow = nullptr;
    for (const Sequence& sequence : (*original)->sequences)
        if (sequence.name == "glow (second set)") glow = &sequence;
    ASSERT_TRUE(glow);
    for (size_t f = 0; f < glow->frames.size(); ++f) {
        const Bitmap& bitmap = *glow->frames[f].views[0].sets[0].bitmap;
        SaveTestImage(RenderImage(100, 100, Block{5, 5, bitmap.width * 2, bitmap.height * 2}),
                      sprites + glow->name + "/f" + std::to_string(f) + ".png");
    }

    CliRun fatal = Run({"collection", "upres", game_, "spri", sprites, "--scale", "2.5"});
    EXPECT_EQ(fatal.status, 1);
    EXPECT_NE(fatal.err.find("FATAL: computed scale (2.00) must not be less than the target scale (2.50).\n"),
              std::string::npos) << fatal.err;
    EXPECT_FALSE(std::filesystem::exists(game_ + "/local/collections/demo sprites"));
    CliRun bad = Run({"collection", "upres", game_, "spri", sprites, "--scale", "33"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("Invalid scale."), std::string::npos);

    CliRun run = Run({"collection", "upres", game_, "spri", sprites, "--scale", "2"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("computed global scale: 2.00\n"), std::string::npos);
    auto upres = ReadBack(cli_test::Lines(run.out).at(0));
    ASSERT_TRUE(upres);
    EXPECT_EQ(upres->BitmapCount(), (*original)->BitmapCount() + int(glow->frames.size()));
    for (const Sequence& sequence : upres->sequences) {
        if (sequence.name != glow->name) continue;
        for (const Frame& frame : sequence.frames) {
            ASSERT_TRUE(frame.views[0].HasSecondSet());
            EXPECT_EQ(frame.views[0].sets[1].bitmap->width, frame.views[0].sets[0].bitmap->width * 2);
        }
    }
    // The local copy now overrides the archived one: replaced only with --force.
    EXPECT_EQ(Run({"collection", "upres", game_, "spri", sprites, "--scale", "2"}).status, 1);
    EXPECT_EQ(Run({"collection", "upres", game_, "spri", sprites, "--scale", "2", "--force"}).status, 0);
    // A collection only in the local folder is refused.
    CliRun local = Run({"collection", "upres", game_, "losp", sprites, "--scale", "2"});
    EXPECT_EQ(local.status, 1);
    EXPECT_NE(local.err.find("Cannot Up-Res a collection from the local folder."), std::string::npos);
}

}  // namespace
