// Sequence shape rules, the sequence list operations, registration-point
// operations and shadow generation.
#include <gtest/gtest.h>

#include "collections/CollectionFile.h"
#include "collections/RegistrationPoints.h"
#include "collections/SequenceLayout.h"
#include "collections/ShadowGeneration.h"
#include "tests/collections/TestCollections.h"

using namespace tamber::base;

namespace {

// A paletted bitmap, opaque inside `opaque`.
std::shared_ptr<Bitmap> Picture(int w, int h, PixelRect opaque) {
    auto b = std::make_shared<Bitmap>();
    b->name = "picture";
    b->width = int16_t(w);
    b->height = int16_t(h);
    b->flags = kBitmapRle;
    b->pixels.assign(b->PixelCount() * 2, 0);
    for (int y = opaque.top; y < opaque.bottom; ++y)
        for (int x = opaque.left; x < opaque.right; ++x) b->pixels[size_t(y * w + x) * 2] = 255;
    EXPECT_TRUE(b->Encode());
    return b;
}

}  // namespace

TEST(SequenceLayout, ViewsAndFramesFollowTheResizeRules) {
    Sequence s;
    s.header.regX = 0x00050000;
    s.header.regY = 0xFFFE0000;  // -2
    ResizeSequence(s, 0, 0);
    ASSERT_EQ(s.frames.size(), 1u);
    EXPECT_EQ(s.header.viewCount, 1);
    EXPECT_EQ(s.frames[0].views[0].sets[0].regX, 5);
    EXPECT_EQ(s.frames[0].views[0].sets[0].regY, -2);

    ResizeSequence(s, 4, 2);
    for (Frame& frame : s.frames) frame.views[0].sets[0].regX = 40;
    ResizeSequence(s, 6, 2);  // same views: frames 0 to 3 stay as they were
    ASSERT_EQ(s.frames.size(), 6u);
    for (int f = 0; f < 4; ++f) EXPECT_EQ(s.frames[size_t(f)].views[0].sets[0].regX, 40);
    EXPECT_EQ(s.frames[5].views.size(), 2u);
    EXPECT_EQ(s.frames[5].views[1].sets[0].regX, 5);

    ResizeSequence(s, 3, 8);
    ASSERT_EQ(s.frames.size(), 3u);
    for (const Frame& frame : s.frames) EXPECT_EQ(frame.views.size(), 8u);
    EXPECT_EQ(s.frames[0].views[0].sets[0].regX, 40);
    EXPECT_EQ(s.frames[0].views[7].sets[0].regY, -2);

    const char* expected[] = {"0", "45", "90", "135", "180", "225", "270", "315"};
    for (int v = 0; v < 8; ++v) EXPECT_EQ(DirectionHeading(v, 8), std::string(expected[v]) + '\xA1');
}

TEST(SequenceLayout, FlagsAndListOperations) {
    std::unique_ptr<Collection> c = MakeTestCollection();
    Sequence& idle = c->sequences[1];
    idle.frames[0].views[1].sets[0] = {c->bitmaps[3], 2, 0, kFirstSetScale};
    EXPECT_FALSE(SetSequenceFlags(idle, false, true));
    EXPECT_TRUE(SetSequenceFlags(idle, true, false));  // three views: view 2 mirrors view 1
    EXPECT_EQ(idle.frames[0].views[2].sets[0].bitmap, c->bitmaps[3]);
    EXPECT_EQ(idle.frames[0].views[2].sets[0].regX, c->bitmaps[3]->width - 2);
    EXPECT_EQ(idle.frames[0].views[2].flags & kViewMirrorH, kViewMirrorH);
    EXPECT_EQ(idle.header.flags & (kSequenceMirroring | kSequenceNoRotation), kSequenceMirroring);

    const int copy = DuplicateSequence(*c, 0);
    EXPECT_EQ(copy, 1);
    EXPECT_EQ(c->sequences[1].name, "walk copy");
    EXPECT_EQ(c->sequences[2].name, "idle");
    RenameSequence(c->sequences[1], std::string(80, 'n'));
    EXPECT_EQ(c->sequences[1].name.size(), 63u);
    const int added = AddNewSequence(*c);
    EXPECT_EQ(c->sequences[size_t(added)].name, "New Sequence");
    EXPECT_TRUE(WriteCollection(*c));
}

TEST(RegistrationPoints, PasteOffsetPresetAndReplacement) {
    Collection c;
    c.bitmaps.push_back(Picture(20, 10, {4, 2, 10, 8}));
    Sequence s;
    ResizeSequence(s, 3, 2);
    for (Frame& frame : s.frames)
        for (View& view : frame.views) view.sets[0].bitmap = c.bitmaps[0];
    s.frames[1].views[0].flags = kViewMirrorH;
    s.frames[2].views[1].flags = kViewSecondSet;
    s.frames[2].views[1].sets[1].bitmap = c.bitmaps[0];
    const std::vector<ViewCell> all = {{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 0}, {2, 1}};

    EXPECT_EQ(PasteRegPoint(s, all, {7, 9}, RegAxes::Both, 0), 6);
    EXPECT_EQ(PasteRegPoint(s, {{0, 0}}, {1, 1}, RegAxes::X, 0), 1);
    EXPECT_EQ(RegPointOf(s, {0, 0}, 0), (RegPoint{1, 9}));
    EXPECT_EQ(PasteRegPoint(s, {{0, 0}, {9, 9}}, {1, 9}, RegAxes::Y, 0), 0);  // unchanged and out of range
    OffsetRegPoints(s, {{0, 1}}, -3, 2, 0);
    EXPECT_EQ(RegPointOf(s, {0, 1}, 0), (RegPoint{4, 11}));
    // Display set 1 changes only the second set of views that have one.
    PasteRegPoint(s, {{2, 1}}, {-5, -6}, RegAxes::Both, 1);
    EXPECT_EQ(RegPointOf(s, {2, 1}, 1), (RegPoint{-5, -6}));
    EXPECT_EQ(RegPointOf(s, {2, 1}, 0), (RegPoint{7, 9}));

    PlaceRegPoints(s, {{0, 0}, {1, 0}}, RegPreset::BottomCentre, 0);
    EXPECT_EQ(RegPointOf(s, {0, 0}, 0), (RegPoint{7, 8}));
    EXPECT_EQ(RegPointOf(s, {1, 0}, 0), (RegPoint{13, 8}));  // measured on the mirrored picture
    PlaceRegPoints(s, {{0, 0}}, RegPreset::TopCentre, 0);
    EXPECT_EQ(RegPointOf(s, {0, 0}, 0), (RegPoint{7, 2}));
    PlaceRegPoints(s, {{0, 0}}, RegPreset::Centre, 0);
    EXPECT_EQ(RegPointOf(s, {0, 0}, 0), (RegPoint{7, 5}));

    // A picture rendered at twice the size with a wider margin: the point stays on
    // the same place of the visible picture.
    c.sequences.push_back(s);
    const auto bigger = Picture(40, 20, {10, 4, 22, 16});
    KeepRegPointsRelative(c, c.bitmaps[0].get(), *c.bitmaps[0], *bigger);
    EXPECT_EQ(RegPointOf(c.sequences[0], {0, 0}, 0), (RegPoint{16, 10}));
    EXPECT_EQ(RegPointOf(c.sequences[0], {1, 0}, 0), (RegPoint{24, 16}));  // the middle of [10,16) mirrored, on [18,30)
}

TEST(RegistrationPoints, MoveModesMoveTheirCells) {
    Sequence s;
    ResizeSequence(s, 2, 2);
    auto reg = [&](int f, int v) { return RegPointOf(s, {f, v}, 0).value(); };
    EXPECT_EQ(MoveInMode(s, MoveMode::Bitmap, {1, 1}, 3, -2, 0), 1);
    EXPECT_EQ(reg(1, 1), (RegPoint{-3, 2}));  // the picture moved right and up
    EXPECT_EQ(reg(0, 1), (RegPoint{0, 0}));
    EXPECT_EQ(MoveInMode(s, MoveMode::View, {0, 1}, 1, 0, 0), 2);
    EXPECT_EQ(reg(0, 1), (RegPoint{-1, 0}));
    EXPECT_EQ(reg(1, 0), (RegPoint{0, 0}));
    EXPECT_EQ(MoveInMode(s, MoveMode::Frame, {0, 0}, 0, 1, 0), 2);
    EXPECT_EQ(reg(0, 0), (RegPoint{0, -1}));
    EXPECT_EQ(reg(1, 0), (RegPoint{0, 0}));
    EXPECT_EQ(MoveInMode(s, MoveMode::Sequence, {0, 0}, 1, 1, 0), 4);
    EXPECT_EQ(reg(1, 1), (RegPoint{-5, 1}));
    EXPECT_EQ(MoveInMode(s, MoveMode::KeyPoint, {1, 0}, 2, 5, 0), 1);
    EXPECT_EQ(s.frames[1].views[0].pointX, 2);
    EXPECT_EQ(s.frames[1].views[0].pointY, 5);
    EXPECT_EQ(reg(1, 0), (RegPoint{-1, -1}));
    EXPECT_STREQ(MoveModeName(MoveMode::KeyPoint), "Move Keypoint");
}

TEST(ShadowGeneration, ProjectsTheFourthViewOfEachFrame) {
    Collection c;
    c.palette[3 * 9] = c.palette[3 * 9 + 1] = c.palette[3 * 9 + 2] = 0;  // darkest: entry 9... and 0 is skipped
    for (int i = 1; i < 256; ++i) c.palette[size_t(i * 3)] = i == 9 ? 0 : 200;
    c.bitmaps.push_back(Picture(8, 16, {2, 0, 6, 16}));
    Sequence s;
    s.name = "run";
    ResizeSequence(s, 3, 8);
    s.frames[0].views[3].sets[0] = {c.bitmaps[0], 4, 16, kFirstSetScale};
    s.frames[1].views[3].sets[0] = {c.bitmaps[0], 4, 16, kFirstSetScale};
    c.sequences.push_back(s);
    Sequence few;
    ResizeSequence(few, 1, 3);
    few.frames[0].views[0].sets[0].bitmap = c.bitmaps[0];
    c.sequences.push_back(few);

    Collection large = c;
    EXPECT_EQ(GenerateShadows(c, ShadowScaleFor("anything")), 1);
    ASSERT_EQ(c.BitmapCount(), 2);
    const Bitmap& shadow = *c.bitmaps[1];
    EXPECT_EQ(shadow.name, "run shadow 00");
    EXPECT_EQ(shadow.flags, kShadowBitmapFlag | kBitmap16Bit | kBitmapRle);
    EXPECT_EQ(c.sequences[0].frames[0].shadow.bitmap, c.bitmaps[1]);
    EXPECT_EQ(c.sequences[0].frames[1].shadow.bitmap, c.bitmaps[1]);
    EXPECT_FALSE(c.sequences[0].frames[2].shadow.bitmap);
    EXPECT_FALSE(c.sequences[1].frames[0].shadow.bitmap);
    // The feet lie at the canvas centre; the head's shadow falls up and to the right.
    const int cx = shadow.width / 2, feetRow = shadow.height / 2 - 1;
    auto alpha = [&](int x, int y) { return shadow.pixels[size_t(y * shadow.width + x) * 2]; };
    EXPECT_EQ(alpha(cx, feetRow), 136);
    EXPECT_EQ(shadow.pixels[size_t(feetRow * shadow.width + cx) * 2 + 1], 9);
    int headPixels = 0;
    for (int x = 0; x < shadow.width; ++x) {
        EXPECT_TRUE(alpha(x, 1) == 0 || x > cx + 8) << x;
        headPixels += alpha(x, 1) != 0;
    }
    EXPECT_GT(headPixels, 2);

    EXPECT_EQ(ShadowScaleFor("Myrkyl Giant"), 1.6);
    large.bitmaps = {std::make_shared<Bitmap>(*c.bitmaps[0])};
    large.sequences[0].frames[0].views[3].sets[0].bitmap = large.bitmaps[0];
    large.sequences[0].frames[1].views[3].sets[0].bitmap = large.bitmaps[0];
    EXPECT_EQ(GenerateShadows(large, 1.6), 1);
    EXPECT_GT(large.bitmaps[1]->height, shadow.height + 4);

    Result<CollectionPayload> written = WriteCollection(c);
    ASSERT_TRUE(written);
    Result<std::unique_ptr<Collection>> back = ReadCollection(written->bytes, 0, true);
    ASSERT_TRUE(back);
    EXPECT_EQ((*back)->sequences[0].frames[1].shadow.bitmap->pixels, shadow.pixels);
}
