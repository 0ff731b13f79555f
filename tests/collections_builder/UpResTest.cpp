// The high-resolution build: scripts, the global scale rounds, the scale checks,
// resampling, recovered renders and second sets read back from the written tag.
#include <filesystem>
#include <fstream>

#include "collections/builder/CollectionUpRes.h"
#include "collections/builder/HighResFolder.h"
#include "collections/builder/Resampler.h"
#include "collections/builder/SharedPalette.h"
#include "tests/collections_builder/BuilderTestSupport.h"

namespace {

struct Original {
    int width, height, regX, regY;
};
const Original kOriginals[4] = {{4, 3, 2, 3}, {5, 4, 1, 2}, {3, 6, 0, 5}, {6, 2, 3, 1}};

// A collection whose sequence "walk" shows four bitmaps in 2 frames x 2 views;
// "run" shows the same bitmaps, "extra" has no renders.
std::unique_ptr<Collection> MakeOriginal() {
    auto collection = std::make_unique<Collection>();
    for (int i = 0; i < 256; ++i)
        for (int c = 0; c < 3; ++c) collection->palette[size_t(i * 3 + c)] = uint8_t(i);
    for (int i = 0; i < 4; ++i) {
        const Original& o = kOriginals[i];
        collection->bitmaps.push_back(MakePalettedBitmap(RenderImage(o.width, o.height, Block{0, 0, o.width, o.height}),
                                                         collection->palette, "orig" + std::to_string(i), false));
    }
    for (const char* name : {"walk", "run"}) {
        Sequence sequence;
        sequence.name = name;
        sequence.header.viewCount = 2;
        sequence.frames.resize(2);
        for (int f = 0; f < 2; ++f) {
            sequence.frames[size_t(f)].views.resize(2);
            for (int v = 0; v < 2; ++v) {
                const Original& o = kOriginals[f * 2 + v];
                ViewSet& set = sequence.frames[size_t(f)].views[size_t(v)].sets[0];
                set.bitmap = collection->bitmaps[size_t(f * 2 + v)];
                set.regX = int16_t(o.regX);
                set.regY = int16_t(o.regY);
            }
        }
        collection->sequences.push_back(sequence);
    }
    collection->hueChanges.resize(1);
    return collection;
}

// Renders `factor` times the originals' size, placed at (3 + i, 2) in 40 x 40 pictures.
void WriteHighRes(const std::string& folder, int factor, int oddOne = -1) {
    for (int i = 0; i < 4; ++i) {
        const Original& o = kOriginals[i];
        const int stretch = i == oddOne ? 2 : 0;
        SaveTestImage(RenderImage(40, 40, Block{3 + i, 2, o.width * factor + stretch, o.height * factor}),
                      folder + "walk/r" + std::to_string(i) + ".png");
    }
}

struct UpResFixture : ::testing::Test {
    Scratch scratch;
    std::string folder = scratch.Path() + "/hires/";
    LogLines log;
    Status Run(Collection& collection, double target, double tolerance = 0.05) {
        UpResOptions options{folder, target, tolerance, false, kViewsThenFrames, false};
        return UpResCollection(collection, options, log.Log());
    }
};

TEST_F(UpResFixture, TwiceTheSizeGivesScaleTwoAndSecondSetsReadBack) {
    WriteHighRes(folder, 2);
    auto collection = MakeOriginal();
    ASSERT_TRUE(Run(*collection, 2.0).ok()) << log.All();
    EXPECT_TRUE(log.Has("****************** Begin UpRes log for '" + folder + "' ******************\n"));
    EXPECT_TRUE(log.Has("scanning sequence 'walk'\n", 0));
    EXPECT_TRUE(log.Has("********* All folders loaded, now attempting upres process\n"));
    EXPECT_TRUE(log.Has("computed global scale: 2.00\n", 0));
    EXPECT_TRUE(log.Has("'run': recovered 4/4 bitmaps from other sequences\n", 0));
    EXPECT_TRUE(log.Has("8 instances, 4 unique\n"));
    EXPECT_TRUE(log.All().find("s elpased\n") != std::string::npos);

    Result<CollectionPayload> payload = WriteCollection(*collection);
    ASSERT_TRUE(payload.ok());
    auto back = ReadCollection(payload->bytes, payload->fields.user, true);
    ASSERT_TRUE(back.ok());
    const Collection& read = **back;
    ASSERT_EQ(read.BitmapCount(), 8);
    for (const Sequence& sequence : read.sequences)
        for (int f = 0; f < 2; ++f)
            for (int v = 0; v < 2; ++v) {
                const int i = f * 2 + v;
                const View& view = sequence.frames[size_t(f)].views[size_t(v)];
                ASSERT_TRUE(view.HasSecondSet());
                EXPECT_EQ(read.IndexOfBitmap(view.sets[1].bitmap.get()), 4 + i);  // former count + render index
                EXPECT_EQ(view.sets[1].bitmap->name, "r" + std::to_string(i));
                EXPECT_EQ(view.sets[1].bitmap->width, kOriginals[i].width * 2);
                EXPECT_EQ(view.sets[1].bitmap->height, kOriginals[i].height * 2);
                EXPECT_EQ(view.sets[1].scale, 327680u);  // 10.0 / 2
                EXPECT_EQ(view.sets[1].regX, kOriginals[i].regX * 2);
                EXPECT_EQ(view.sets[1].regY, kOriginals[i].regY * 2);
                EXPECT_EQ(view.sets[0].scale, kFirstSetScale);
                EXPECT_EQ(read.IndexOfBitmap(view.sets[0].bitmap.get()), i);
                EXPECT_FALSE(view.sets[1].bitmap->Is16Bit());
            }
}

TEST_F(UpResFixture, ScaleChecksAndWarnFraction) {
    WriteHighRes(folder, 2, 3);
    auto collection = MakeOriginal();
    // Tolerance 0: nothing passes until the fraction is raised.
    ASSERT_TRUE(Run(*collection, 1.0, 0).ok()) << log.All();
    EXPECT_TRUE(log.Has("WARNING: no bitmaps passed; warn_fraction too low. raising warn_fraction to 0.10\n", 1));
    // r3 is 2 pixels wider than twice its original: it fails the last round.
    EXPECT_TRUE(log.Has("SCALE WARNING: orig3(6x2) vs r3(14x4) - dimensions differ by (16.7%, 0.0%)\n", 1)) << log.All();
    // At target 1, every render is halved back to its original's size.
    EXPECT_EQ(collection->bitmaps[4]->width, kOriginals[0].width);

    // A target above the computed scale writes nothing.
    auto untouched = MakeOriginal();
    LogLines fatal;
    UpResOptions options{folder, 2.5, 0.05, false, kViewsThenFrames, false};
    EXPECT_FALSE(UpResCollection(*untouched, options, fatal.Log()).ok());
    EXPECT_TRUE(fatal.Has("FATAL: computed scale (2.00) must not be less than the target scale (2.50).\n", 1));
    EXPECT_EQ(untouched->BitmapCount(), 4);
    EXPECT_FALSE(untouched->sequences[0].frames[0].views[0].HasSecondSet());

    UpResOptions checked;
    auto check = [&](const char* scale, const char* tolerance, const char* object) {
        Status status = CheckUpResFields(scale, tolerance, object, checked);
        return status ? std::string("ok") : status.error();
    };
    EXPECT_EQ(check("0.005", "0.05", "1"), "Invalid scale.");
    EXPECT_EQ(check("33", "0.05", "1"), "Invalid scale.");
    EXPECT_EQ(check("2", "0.05", "33"), "Invalid object scale.");
    EXPECT_EQ(check("2", "-1", "1"), "Invalid tolerance.");
    EXPECT_EQ(check("2", "0", "1.5"), "ok");
    EXPECT_DOUBLE_EQ(checked.targetScale, 3.0);
}

TEST_F(UpResFixture, ScriptsHuesAndMissingRenders) {
    WriteHighRes(folder, 2);
    std::ofstream(folder + "script.txt") << "HueChange \"skin\" 1 2 3 4\nHueChange 5 6 7 8\n";
    // "run" has its own renders for bitmaps 1 and 2, in frames-then-views order,
    // with the views reversed; its other frames come from "walk".
    SaveTestImage(RenderImage(40, 40, Block{0, 0, 10, 8}), folder + "run/a.png");
    SaveTestImage(RenderImage(40, 40, Block{0, 0, 8, 6}), folder + "run/b.png");
    std::ofstream(folder + "run/script.txt") << "(1 ~)\nReverseViews Yes\nImageScale 2\nAffectsGlobalScale No\n";
    auto collection = MakeOriginal();
    ASSERT_TRUE(Run(*collection, 2.0).ok()) << log.All();
    EXPECT_TRUE(log.Has("ERROR: 2 hue changes specified in script.txt, expected 1. Script hues ignored.\n", 1));
    EXPECT_TRUE(log.Has("WARNING: sequence folder 'run' contains 2 bitmaps, expected 2\n") == false);
    EXPECT_TRUE(log.Has("'run': recovered 2/2 bitmaps from other sequences\n"));
    const Sequence& run = collection->sequences[1];
    EXPECT_EQ(run.frames[0].views[0].sets[1].bitmap->name, "b");  // reversed views
    EXPECT_EQ(run.frames[0].views[1].sets[1].bitmap->name, "a");
    EXPECT_EQ(run.frames[1].views[0].sets[1].bitmap->name, "r2");  // recovered

    // Renders of one size with alignment preserved: one anchor for the sequence;
    // renders of different sizes cannot keep it.
    SaveTestImage(RenderImage(30, 30, Block{0, 0, 8, 6}), folder + "run/b.png");
    LogLines second;
    auto other = MakeOriginal();
    UpResOptions options{folder, 2.0, 0.05, true, kViewsThenFrames, false};
    ASSERT_TRUE(UpResCollection(*other, options, second.Log()).ok()) << second.All();
    EXPECT_TRUE(second.Has("ERROR: sequence 'run': not all bitmaps are the same size; Alignment not preserved!\n", 1));
    EXPECT_FALSE(second.Has("ERROR: sequence 'walk': not all bitmaps are the same size; Alignment not preserved!\n"));
    const View& a = other->sequences[0].frames[0].views[0];
    const View& b = other->sequences[0].frames[1].views[1];
    EXPECT_EQ(3 + a.sets[1].regX, 6 + b.sets[1].regX);  // renders placed at x 3 and 6

    // A frame list of the wrong length skips the sequence, named in the log.
    std::ofstream(folder + "run/script.txt") << "(1 2 1)\n";
    auto last = MakeOriginal();
    ASSERT_TRUE(Run(*last, 2.0).ok());
    EXPECT_TRUE(log.Has("ERROR: script.txt in sequence folder 'run' specifies 3 frames, expected 2\n", 1));
}

TEST(HighResFolder, MakesOneFolderPerSequenceInside) {
    Scratch scratch;
    auto collection = std::make_unique<Collection>();
    for (const char* name : {"walk", "../up", ".."}) {
        Sequence sequence;
        sequence.name = name;
        collection->sequences.push_back(sequence);
    }
    Result<std::string> made = PrepareHighResFolder(*collection, "my/coll", scratch.Path());
    ASSERT_TRUE(made.ok()) << made.error();
    EXPECT_EQ(*made, scratch.Path() + "/my_coll/");
    EXPECT_TRUE(std::filesystem::is_directory(*made + "walk"));
    EXPECT_TRUE(std::filesystem::is_directory(*made + ".._up"));
    EXPECT_TRUE(std::filesystem::is_directory(*made + "_.."));
}

TEST(Resampler, KeepsFlatColourAndClearEdges) {
    Image image = RenderImage(24, 24, Block{4, 4, 16, 16});
    for (size_t i = 0; i < image.PixelCount(); ++i)
        if (image.pixels[i * 4 + 3]) image.pixels[i * 4 + 1] = 150, image.pixels[i * 4 + 2] = 200;
    const Image big = ResampleLanczos(image, 48, 48);
    ASSERT_EQ(big.width, 48);
    const uint8_t* centre = &big.pixels[(24 * 48 + 24) * 4];
    EXPECT_EQ(centre[0], 200);
    EXPECT_EQ(centre[1], 150);
    EXPECT_EQ(centre[3], 255);
    EXPECT_EQ(big.pixels[3], 0);  // a far corner stays clear
    const Image small = ResampleLanczos(image, 12, 12);
    const uint8_t* edge = &small.pixels[(6 * 12 + 2) * 4];  // where the block meets the clear border
    EXPECT_GT(edge[3], 0);
    EXPECT_NEAR(edge[2], 200, 2);  // premultiplied: no dark fringe
}

}  // namespace
