// The standard build: folder layouts, names with dimensions, scripts, alpha
// pairing, cropping, registration points, the shared palette and the tag write.
#include <filesystem>
#include <fstream>

#include "collections/builder/CollectionBuild.h"
#include "collections/builder/SequenceFolderScan.h"
#include "platform/fs/AtomicFileWriter.h"
#include "tests/collections_builder/BuilderTestSupport.h"

namespace {

Result<TagRecord*> Build(TestGame& game, LogLines& log, const std::string& name = "built", bool overwrite = false,
                         int regX = 0, int regY = 0, BitmapOrder order = kViewsThenFrames) {
    StandardBuildOptions options{game.Renders(), name, regX, regY, order, false};
    return BuildCollectionTag(game.codex, options, std::nullopt, overwrite, log.Log());
}

const Sequence* Find(const Collection& collection, const std::string& name) {
    for (const Sequence& sequence : collection.sequences)
        if (sequence.name == name) return &sequence;
    return nullptr;
}

void WriteScript(const std::string& folder, const std::string& text) {
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/script.txt") << text;
}

TEST(StandardBuild, NamedDimensionsDefaultViewsAndInvalidDimensions) {
    TestGame game;
    WriteRenders(game.Renders() + "run(8,12)", 96);
    WriteRenders(game.Renders() + "idle", 16);
    WriteRenders(game.Renders() + "bad", 12);
    LogLines log;
    const std::string title = NextBuildLogTitle(game.Renders());
    EXPECT_EQ(title, "BuildCollection 0 (" + game.Renders() + ")");  // the first build of the process
    EXPECT_EQ(NextBuildLogTitle("x"), "BuildCollection 1 (x)");

    Result<TagRecord*> built = Build(game, log);
    ASSERT_TRUE(built.ok()) << log.All();
    EXPECT_TRUE(log.Has("****************** Begin BuildCollection log for '" + game.Renders() +
                        "' ******************\n"));
    EXPECT_TRUE(log.Has("scanning sequence folder 'run(8,12)'\n", 0));
    EXPECT_TRUE(log.Has("INFO: Sequence dimensions not specified for 'idle'; Assuming the default of 8 views.\n", 0));
    EXPECT_TRUE(log.Has("ERROR: the sequence folder 'bad' had invalid dimensions, no dimensions in script.txt and no "
                        "dimensions in the name.\n", 1));
    EXPECT_TRUE(log.Has("Writing collection data to disk..."));
    EXPECT_TRUE(log.Has("ok.\n"));
    ASSERT_FALSE(log.lines.empty());
    const std::string elapsed = log.lines.back().second;  // "%.2lfs elpased\n"
    EXPECT_TRUE(elapsed.ends_with("s elpased\n") && elapsed[elapsed.size() - 13] == '.') << elapsed;

    auto collection = ReadBack(*(*built)->localEntry->path);
    ASSERT_TRUE(collection);
    ASSERT_EQ(collection->SequenceCount(), 2);
    EXPECT_EQ(collection->BitmapCount(), 96 + 16);
    const Sequence* run = Find(*collection, "run");
    ASSERT_TRUE(run);
    EXPECT_EQ(run->header.viewCount, 8);
    EXPECT_EQ(run->frames.size(), 12u);
    const Sequence* idle = Find(*collection, "idle");
    ASSERT_TRUE(idle);
    EXPECT_EQ(idle->header.viewCount, 8);
    EXPECT_EQ(idle->frames.size(), 2u);
    // Views then frames: frame 1, view 3 is the 12th file; cropped, registered at -offset.
    const ViewSet& set = run->frames[1].views[3].sets[0];
    ASSERT_TRUE(set.bitmap);
    EXPECT_EQ(set.bitmap->name, "img_011");
    EXPECT_EQ(set.bitmap->width, 3 + 11 % 3);
    EXPECT_EQ(set.bitmap->height, 2 + 11 % 4);
    EXPECT_EQ(set.regX, -(1 + 11 % 5));
    EXPECT_EQ(set.regY, -(1 + 11 % 4));
    EXPECT_TRUE(set.bitmap->Is16Bit());
    // One shared table: a visible pixel keeps its colour closely.
    const Bitmap& bitmap = *set.bitmap;
    const uint8_t index = bitmap.pixels[1];
    EXPECT_EQ(bitmap.pixels[0], 255);
    EXPECT_NE(index, 0);
    EXPECT_NEAR(collection->palette[index * 3], 20 + 11 * 2, 4);
}

TEST(StandardBuild, SplitLayoutsPairAlphasAndReportMismatches) {
    TestGame game;
    const std::string root = game.Renders();
    const Block block{3, 2, 5, 4};
    // Sequence folders with bitmaps/ and alphas/ inside, colours opaque everywhere.
    for (int i = 0; i < 8; ++i) {
        const std::string n = std::to_string(i) + ".png";
        SaveTestImage(RenderImage(12, 10, block, true), root + "walk(8,1)/bitmaps/" + n);
        SaveTestImage(AlphaImage(12, 10, block), root + "walk(8,1)/alphas/" + n);
        SaveTestImage(RenderImage(12, 10, block, true), root + "same(8,1)/" + n);
        SaveTestImage(AlphaImage(12, 10, block), root + "same(8,1)/" + std::to_string(i) + ".alpha.png");
        SaveTestImage(RenderImage(12, 10, block, true), root + "odd(8,1)/" + n);
        SaveTestImage(i == 5 ? AlphaImage(11, 10, block) : AlphaImage(12, 10, block),
                      root + "odd(8,1)/" + std::to_string(i) + ".alpha.png");
        if (i < 7) SaveTestImage(AlphaImage(12, 10, block), root + "few(8,1)/" + std::to_string(i) + ".alpha.png");
        SaveTestImage(RenderImage(12, 10, block, true), root + "few(8,1)/" + n);
    }
    LogLines log;
    Result<TagRecord*> built = Build(game, log);
    ASSERT_TRUE(built.ok()) << log.All();
    EXPECT_TRUE(log.Has("ERROR: found 7 alphas for sequence 'few', expected 8\n", 1));
    EXPECT_TRUE(log.Has("ERROR: the alpha bitmap file '" + root + "odd(8,1)/5.alpha.png' had different dimensions than "
                        "its color counterpart, '" + root + "odd(8,1)/5.png'.\n", 1));
    auto collection = ReadBack(*(*built)->localEntry->path);
    ASSERT_TRUE(collection);
    for (const char* name : {"walk", "same"}) {
        const Sequence* sequence = Find(*collection, name);
        ASSERT_TRUE(sequence) << name;
        const ViewSet& set = sequence->frames[0].views[7].sets[0];
        ASSERT_TRUE(set.bitmap);
        EXPECT_EQ(set.bitmap->width, block.width) << name;  // cut by the alpha mask
        EXPECT_EQ(set.bitmap->height, block.height);
        EXPECT_EQ(set.regX, -block.left);
    }
    // The pair of another size leaves its slot empty; the rest of the sequence builds.
    const Sequence* odd = Find(*collection, "odd");
    ASSERT_TRUE(odd);
    EXPECT_FALSE(odd->frames[0].views[5].sets[0].bitmap);
    EXPECT_TRUE(odd->frames[0].views[4].sets[0].bitmap);

    // Collection-wide bitmaps/ and alphas/ folders.
    TestGame other;
    for (int i = 0; i < 8; ++i) {
        SaveTestImage(RenderImage(12, 10, block, true), other.Renders() + "bitmaps/fly/" + std::to_string(i) + ".png");
        SaveTestImage(AlphaImage(12, 10, block), other.Renders() + "alphas/fly/" + std::to_string(i) + ".png");
    }
    LogLines second;
    Result<TagRecord*> flat = Build(other, second);
    ASSERT_TRUE(flat.ok()) << second.All();
    auto fly = ReadBack(*(*flat)->localEntry->path);
    ASSERT_TRUE(fly && fly->SequenceCount() == 1);
    EXPECT_EQ(fly->sequences[0].name, "fly");
    EXPECT_EQ(fly->sequences[0].frames[0].views[0].sets[0].bitmap->width, block.width);
}

TEST(StandardBuild, FrameListsAndBitmapOrder) {
    TestGame game;
    const std::string root = game.Renders();
    // Two views; bitmaps 1 and 2 are used, 1 twice, and frame 2 is empty.
    WriteRenders(root + "list(2,4)", 4);
    WriteScript(root + "list(2,4)", "BitmapOrder FramesThenViews\n(1 ~ 2 1)\n");
    WriteRenders(root + "short(2,3)", 4);
    WriteScript(root + "short(2,3)", "(1 2)\n");
    WriteRenders(root + "missing(2,2)", 2);
    WriteScript(root + "missing(2,2)", "(1 2)\n");
    WriteRenders(root + "huge(32767,32767)", 1);
    WriteRenders(root + "spare(2,1)", 4);
    WriteScript(root + "spare(2,1)", "(2)\n");
    LogLines log;
    Result<TagRecord*> built = Build(game, log);
    ASSERT_TRUE(built.ok()) << log.All();
    EXPECT_TRUE(log.Has("ERROR: script.txt in sequence folder 'short(2,3)' specifies 2 frames, expected 3\n", 1));
    EXPECT_TRUE(log.Has("ERROR: sequence folder 'missing(2,2)' contains 2 bitmaps, expected 4\n", 1));
    EXPECT_TRUE(log.Has("WARNING: sequence folder 'spare(2,1)' contains 4 bitmaps, expected 2. Some bitmaps will not be "
                        "used.\n", 1));
    EXPECT_TRUE(log.Has("ERROR: the sequence folder 'huge(32767,32767)' asks for 32767 views of 32767 frames; a "
                        "collection holds at most 65535 views.\n", 1));
    auto collection = ReadBack(*(*built)->localEntry->path);
    ASSERT_TRUE(collection);
    EXPECT_EQ(collection->SequenceCount(), 2);
    const Sequence* list = Find(*collection, "list");
    ASSERT_TRUE(list);
    ASSERT_EQ(list->frames.size(), 4u);
    // Frames then views: files 0, 1 are view 0's bitmaps 1, 2; files 2, 3 view 1's.
    EXPECT_EQ(list->frames[0].views[0].sets[0].bitmap->name, "img_000");
    EXPECT_EQ(list->frames[0].views[1].sets[0].bitmap->name, "img_002");
    EXPECT_FALSE(list->frames[1].views[0].sets[0].bitmap);
    EXPECT_EQ(list->frames[2].views[1].sets[0].bitmap->name, "img_003");
    EXPECT_EQ(list->frames[3].views[0].sets[0].bitmap, list->frames[0].views[0].sets[0].bitmap);  // reused
    const Sequence* spare = Find(*collection, "spare");
    ASSERT_TRUE(spare);
    EXPECT_EQ(spare->frames[0].views[1].sets[0].bitmap->name, "img_003");
    EXPECT_EQ(collection->BitmapCount(), 4 + 2);  // unused renders are not added
}

TEST(StandardBuild, FieldChecksInTheirOrder) {
    Scratch scratch;
    StandardBuildOptions options;
    auto check = [&](const std::string& folder, const std::string& name, const std::string& x, const std::string& y) {
        Status status = CheckStandardBuildFields(folder, name, x, y, options);
        return status ? std::string("ok") : status.error();
    };
    EXPECT_EQ(check("", "", "", ""), "Specified folder not found.");
    EXPECT_EQ(check(scratch / "none", "a", "0", "0"), "Specified folder not found.");
    EXPECT_EQ(check(scratch.Path(), "", "0", "0"), "The name field is invalid.");
    EXPECT_EQ(check(scratch.Path(), std::string(32, 'n'), "0", "0"), "The name field is invalid.");
    EXPECT_EQ(check(scratch.Path(), "a", "4097", "x"), "The Reg Point X value is invalid.");
    EXPECT_EQ(check(scratch.Path(), "a", "-4097", "0"), "The Reg Point X value is invalid.");
    EXPECT_EQ(check(scratch.Path(), "a", "1.5", "0"), "The Reg Point X value is invalid.");
    EXPECT_EQ(check(scratch.Path(), "a", "4096", "-4097"), "The Reg Point Y value is invalid.");
    EXPECT_EQ(check(scratch.Path(), "a", "4096", "-4096"), "ok");
    EXPECT_EQ(options.folder, scratch.Path() + "/");
    EXPECT_EQ(options.regX, 4096);
    EXPECT_EQ(options.regY, -4096);
}

TEST(StandardBuild, RefusedImagesAndSafeTagWrites) {
    TestGame game;
    const std::string root = game.Renders();
    WriteRenders(root + "walk(1,1)", 1);
    SaveTestImage(RenderImage(32768, 1, Block{0, 0, 32768, 1}), root + "wide(1,1)/wide.png");
    SaveTestImage(RenderImage(6, 6, Block{0, 0, 0, 0}), root + "clear(1,1)/clear.png");
    std::filesystem::create_directories(root + "broken(1,1)");
    std::ofstream(root + "broken(1,1)/broken.png") << "not a picture";
    LogLines log;
    Result<TagRecord*> built = Build(game, log, "walker", false, 10, 20);
    ASSERT_TRUE(built.ok()) << log.All();
    EXPECT_TRUE(log.Has("ERROR: the color bitmap file '" + root + "wide(1,1)/wide.png' is 32768x1 pixels; collection "
                        "bitmaps can be at most 32767x32767.\n", 1));
    EXPECT_TRUE(log.Has("ERROR: bitmap '" + root + "clear(1,1)/clear.png' is empty after cropping (missing alpha "
                        "channel?)\n", 1));
    EXPECT_TRUE(log.Has("ERROR: the color bitmap file '" + root + "broken(1,1)/broken.png' could not be loaded.\n", 1));
    const std::string path = *(*built)->localEntry->path;
    auto first = ReadBack(path);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->sequences.size(), 4u);  // sequences whose images failed are kept, empty
    EXPECT_EQ(first->sequences[2].name, "walk");
    EXPECT_EQ(first->sequences[2].frames[0].views[0].sets[0].regX, 10 - 1);

    // Same name without overwrite: refused, old file untouched.
    const auto before = tamber::platform::ReadFileBytes(path, 1 << 24);
    LogLines again;
    EXPECT_FALSE(Build(game, again, "walker").ok());
    EXPECT_TRUE(again.Has("Could not create the collection tag 'walker'; it may already exist.\n"));
    // Overwrite whose write fails: the old tag stays as it was, no temporary is left.
    tamber::platform::AtomicFileWriter::FailNextWriterAfter(100);
    LogLines failed;
    EXPECT_FALSE(Build(game, failed, "walker", true).ok());
    EXPECT_TRUE(failed.Has("failed!\n", 1));
    EXPECT_EQ(tamber::platform::ReadFileBytes(path, 1 << 24).value(), before.value());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(std::filesystem::path(path).parent_path()),
                            std::filesystem::directory_iterator()), 1);
    // Overwrite that succeeds replaces the file.
    LogLines replaced;
    ASSERT_TRUE(Build(game, replaced, "walker", true, 0, 0).ok()) << replaced.All();
    EXPECT_EQ(ReadBack(path)->sequences[2].frames[0].views[0].sets[0].regX, -1);

    // Nothing to build: no tag at all.
    TestGame empty;
    WriteRenders(empty.Renders() + "bad", 3);
    LogLines none;
    EXPECT_FALSE(Build(empty, none, "nothing").ok());
    EXPECT_TRUE(none.Has("ERROR: no sequence of '" + empty.Renders() + "' could be built.\n", 1));
    EXPECT_FALSE(std::filesystem::exists(empty.scratch / "game/local/collections"));
    EXPECT_EQ(empty.codex.LocalTags().size(), 0u);
}

}  // namespace
