// The five collection optimisations, their reports, the references they keep
// right (second sets, shadows), and undo through a snapshot, checked on the bytes
// a tag would hold.
#include <gtest/gtest.h>

#include <functional>

#include "collections/CollectionFile.h"
#include "collections/CollectionOptimizer.h"
#include "collections/BitmapCrop.h"
#include "tests/collections/TestCollections.h"

using namespace tamber::base;

namespace {

std::vector<uint8_t> Bytes(const Collection& c) {
    Result<CollectionPayload> written = WriteCollection(c);
    EXPECT_TRUE(written) << (written ? "" : written.error());
    return written ? written->bytes : std::vector<uint8_t>{};
}

std::unique_ptr<Collection> ReadBack(const std::vector<uint8_t>& bytes, uint32_t flags = 0) {
    Result<std::unique_ptr<Collection>> read = ReadCollection(bytes, flags, true);
    EXPECT_TRUE(read);
    return read ? std::move(read).value() : nullptr;
}

// A bitmap with one opaque rectangle inside a transparent canvas.
std::shared_ptr<Bitmap> Box(const char* name, int w, int h, PixelRect opaque, uint16_t flags = kBitmapRle) {
    auto b = std::make_shared<Bitmap>();
    b->name = name;
    b->width = int16_t(w);
    b->height = int16_t(h);
    b->flags = flags;
    b->pixels.assign(b->PixelCount() * 2, 0);
    for (int y = opaque.top; y < opaque.bottom; ++y)
        for (int x = opaque.left; x < opaque.right; ++x) {
            b->pixels[size_t(y * w + x) * 2] = 255;
            b->pixels[size_t(y * w + x) * 2 + 1] = uint8_t(1 + (x * 3 + y) % 200);
        }
    EXPECT_TRUE(b->Encode());
    return b;
}

Sequence OneViewSequence(const char* name, const std::vector<std::shared_ptr<Bitmap>>& frames) {
    Sequence s;
    s.name = name;
    s.header.viewCount = 1;
    for (const auto& bitmap : frames) {
        Frame frame;
        frame.views.resize(1);
        frame.views[0].sets[0].bitmap = bitmap;
        s.frames.push_back(frame);
    }
    return s;
}

}  // namespace

TEST(CollectionOptimizer, RuntimeSizeRoundsSidesToPowersOfTwo) {
    Collection c;
    c.bitmaps.push_back(Box("a", 100, 30, {0, 0, 100, 30}));
    const RuntimeSize size = ComputeRuntimeSize(c);
    EXPECT_EQ(size.area, 3000u);
    EXPECT_EQ(size.po2Area, 4096u);
    c.bitmaps.push_back(Box("b", 64, 1, {0, 0, 64, 1}));
    EXPECT_EQ(ComputeRuntimeSize(c).po2Area, 4096u + 64u);
    const OptimizeReport report = RuntimeSizeReport(c);
    EXPECT_FALSE(report.changed);
    EXPECT_EQ(report.title, "Information");
    EXPECT_EQ(report.text, "Approximate texture cache consumption, by format:\n16 bit po2 => 0.01 MB\n16 bit npo2 => "
                           "0.01 MB\n32 bit po2 => 0.02 MB\n32 bit npo2 => 0.01 MB\n");
}

TEST(CollectionOptimizer, AutoRenameNamesBitmapsAfterTheirFirstUse) {
    Collection c;
    for (int i = 0; i < 8; ++i) c.bitmaps.push_back(Box("x", 4, 4, {0, 0, 4, 4}));
    c.sequences.push_back(OneViewSequence("stand", {c.bitmaps[0]}));
    c.sequences.push_back(OneViewSequence("walk", {c.bitmaps[1], c.bitmaps[2], c.bitmaps[3]}));
    c.sequences.push_back(OneViewSequence("again", {c.bitmaps[0], nullptr}));
    Sequence turn;  // four views with mirroring: three drawn, over two frames
    turn.name = "turn";
    turn.header.viewCount = 4;
    turn.header.flags = kSequenceMirroring;
    for (int f = 0; f < 2; ++f) {
        Frame frame;
        frame.views.resize(4);
        for (int v = 0; v < 4; ++v) frame.views[size_t(v)].sets[0].bitmap = c.bitmaps[size_t(4 + (v % 3 == 0 ? v / 3 : 2) + f)];
        turn.frames.push_back(frame);
    }
    c.sequences.push_back(turn);

    const OptimizeReport report = AutoRenameBitmaps(c);
    EXPECT_TRUE(report.changed);
    EXPECT_EQ(report.title, "Rename operation");
    EXPECT_EQ(report.text, "8 Bitmaps Renamed.");
    EXPECT_EQ(c.bitmaps[0]->name, "stand");  // the second sequence's use does not rename it
    EXPECT_EQ(c.bitmaps[1]->name, "walk 00");
    EXPECT_EQ(c.bitmaps[2]->name, "walk 01");
    EXPECT_EQ(c.bitmaps[3]->name, "walk 02");
    EXPECT_EQ(c.bitmaps[4]->name, "turn 00~00");
    EXPECT_EQ(c.bitmaps[5]->name, "turn 01~00");
    EXPECT_EQ(c.bitmaps[6]->name, "turn 00~01");  // views 1 and 2 share bitmap 6: the first use names it
    EXPECT_EQ(c.bitmaps[7]->name, "turn 01~01");

    Collection unused;
    unused.bitmaps.push_back(Box("keep", 2, 2, {0, 0, 2, 2}));
    EXPECT_EQ(AutoRenameBitmaps(unused).text, "");
    EXPECT_EQ(unused.bitmaps[0]->name, "keep");
}

TEST(CollectionOptimizer, MergeAndDeleteKeepEveryReferenceRight) {
    Collection c;
    for (int i = 0; i < 8; ++i) c.bitmaps.push_back(Box(std::to_string(i).c_str(), 6, 6 + i, {0, 0, 6, 1}));
    c.bitmaps[5] = Box("5", 6, 8, {0, 0, 6, 1});  // identical to bitmap 2
    Sequence s = OneViewSequence("s", {c.bitmaps[5], c.bitmaps[0]});
    View& second = s.frames[0].views[0];
    second.flags |= kViewSecondSet;
    second.sets[1].bitmap = c.bitmaps[7];  // only the second set uses bitmap 7
    s.frames[1].shadow.bitmap = c.bitmaps[6];
    c.sequences.push_back(s);

    OptimizeReport merged = MergeIdenticalBitmaps(c);
    EXPECT_EQ(merged.text, "1 bitmap was deleted after merging.");
    ASSERT_EQ(c.BitmapCount(), 7);
    EXPECT_EQ(c.sequences[0].frames[0].views[0].sets[0].bitmap, c.bitmaps[2]);

    OptimizeReport deleted = DeleteUnusedBitmaps(c);
    EXPECT_TRUE(deleted.changed);
    EXPECT_EQ(deleted.text, "3 unused bitmaps were removed.");  // 1, 3 and 4
    ASSERT_EQ(c.BitmapCount(), 4);
    EXPECT_EQ(c.bitmaps[0]->name, "0");
    EXPECT_EQ(c.bitmaps[1]->name, "2");
    EXPECT_EQ(c.bitmaps[2]->name, "6");
    EXPECT_EQ(c.bitmaps[3]->name, "7");

    // The indices written for both sets and the shadow still name the right bitmaps.
    const std::unique_ptr<Collection> back = ReadBack(Bytes(c));
    ASSERT_TRUE(back);
    const Sequence& read = back->sequences[0];
    EXPECT_EQ(read.frames[0].views[0].sets[0].bitmap->name, "2");
    EXPECT_EQ(read.frames[0].views[0].sets[1].bitmap->name, "7");
    EXPECT_EQ(read.frames[1].shadow.bitmap->name, "6");
    EXPECT_EQ(read.frames[1].views[0].sets[0].bitmap->name, "0");

    Collection none;
    EXPECT_EQ(MergeIdenticalBitmaps(none).text, "0 bitmaps were deleted after merging.");
    EXPECT_EQ(DeleteUnusedBitmaps(none).text, "0 unused bitmaps were removed.");
    EXPECT_FALSE(DeleteUnusedBitmaps(none).changed);
}

TEST(CollectionOptimizer, CropAllMovesPointsAndDropsTransparentBitmaps) {
    Collection c;
    c.bitmaps.push_back(Box("margins", 10, 8, {1, 2, 7, 6}));
    c.bitmaps.push_back(Box("clear", 5, 5, {0, 0, 0, 0}));
    c.bitmaps.push_back(Box("raw po2", 8, 8, {2, 2, 4, 4}, 0));
    c.bitmaps.push_back(Box("full", 5, 3, {0, 0, 5, 3}));
    Sequence s = OneViewSequence("s", {c.bitmaps[0], c.bitmaps[0], c.bitmaps[1]});
    s.frames[0].views[0].sets[0].regX = 5;
    s.frames[0].views[0].sets[0].regY = 7;
    s.frames[0].views[0].pointX = 3;
    s.frames[1].views[0].flags = kViewMirrorH | kViewMirrorV;
    s.frames[1].views[0].sets[0].regX = 5;
    s.frames[1].views[0].sets[0].regY = 7;
    c.sequences.push_back(s);

    const OptimizeReport report = CropAllBitmaps(c);
    EXPECT_TRUE(report.changed);
    EXPECT_EQ(report.text, "2 bitmaps were cropped (81 pixels removed).\n Additionally, 1 bitmap was removed due to "
                           "being completely transparent.");
    ASSERT_EQ(c.BitmapCount(), 3);
    EXPECT_EQ(c.bitmaps[0]->width, 6);
    EXPECT_EQ(c.bitmaps[0]->height, 4);
    EXPECT_EQ(c.bitmaps[1]->name, "raw po2");
    EXPECT_EQ(c.bitmaps[1]->width, 8);
    const Sequence& after = c.sequences[0];
    EXPECT_EQ(after.frames[0].views[0].sets[0].bitmap, c.bitmaps[0]);
    EXPECT_EQ(after.frames[0].views[0].sets[0].regX, 4);  // left margin 1
    EXPECT_EQ(after.frames[0].views[0].sets[0].regY, 5);  // top margin 2
    EXPECT_EQ(after.frames[0].views[0].pointX, 2);
    EXPECT_EQ(after.frames[1].views[0].sets[0].regX, 2);  // right margin 3
    EXPECT_EQ(after.frames[1].views[0].sets[0].regY, 5);  // bottom margin 2
    EXPECT_FALSE(after.frames[2].views[0].sets[0].bitmap);

    const std::unique_ptr<Collection> back = ReadBack(Bytes(c));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->bitmaps[0]->pixels, c.bitmaps[0]->pixels);
    EXPECT_EQ(CropAllBitmaps(c).text, "0 bitmaps were cropped (0 pixels removed).");
}

// Every operation leaves a copy taken before it as it was, so restoring the copy
// (undo) gives back the very bytes it started from; what it writes reads back and
// writes again unchanged.
TEST(CollectionOptimizer, EveryOperationRoundTripsAndUndoes) {
    const std::function<OptimizeReport(Collection&)> operations[] = {DeleteUnusedBitmaps, MergeIdenticalBitmaps,
                                                                      CropAllBitmaps, AutoRenameBitmaps};
    for (const auto& operation : operations) {
        SCOPED_TRACE(&operation - operations);
        std::unique_ptr<Collection> c = MakeTestCollection();
        c->bitmaps.push_back(std::make_shared<Bitmap>(*c->bitmaps[2]));
        c->bitmaps.push_back(Box("clear", 5, 5, {0, 0, 0, 0}));
        c->bitmaps.back()->name = "unused and clear";
        const std::vector<uint8_t> before = Bytes(*c);
        const Collection copy = *c;
        EXPECT_TRUE(operation(*c).changed);
        const std::vector<uint8_t> after = Bytes(*c);
        EXPECT_NE(after, before);
        const std::unique_ptr<Collection> back = ReadBack(after, c->flags);
        ASSERT_TRUE(back);
        const std::vector<uint8_t> again = Bytes(*back);
        ASSERT_EQ(again.size(), after.size());
        EXPECT_TRUE(again == after) << "first difference at " << std::mismatch(again.begin(), again.end(), after.begin()).first - again.begin();
        EXPECT_EQ(Bytes(copy), before);
        *c = copy;
        EXPECT_EQ(Bytes(*c), before);
    }
}
