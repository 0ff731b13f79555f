#include <gtest/gtest.h>


#include "collections/CollectionFile.h"
#include "collections/CollectionLayout.h"
#include "tests/collections/TestCollections.h"

using namespace tamber::base;
using namespace tamber::collections;

using namespace collection_layout;

namespace {

uint32_t Be32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}
void PutBe16(std::vector<uint8_t>& b, size_t at, uint16_t v) {
    b[at] = uint8_t(v >> 8);
    b[at + 1] = uint8_t(v);
}
// Payload position of a table's first record.
size_t TableStart(const std::vector<uint8_t>& b, Table t) { return kHeaderSize + Be32(b, kTableEntries + t * 16 + 4); }
uint32_t TableCount(const std::vector<uint8_t>& b, Table t) { return Be32(b, kTableEntries + t * 16); }

std::vector<uint8_t> Write(const Collection& c) {
    Result<CollectionPayload> written = WriteCollection(c);
    if (!written) {
        ADD_FAILURE() << written.error();
        return {};
    }
    EXPECT_EQ(written->fields.user, c.flags);
    EXPECT_EQ(written->fields.version, 4);
    EXPECT_EQ(written->fields.size, written->bytes.size());
    return std::move(written->bytes);
}

// A read that is expected to succeed; null (and a test failure) otherwise.
std::unique_ptr<Collection> Read(std::span<const uint8_t> payload, uint32_t flags, bool full) {
    Result<std::unique_ptr<Collection>> read = ReadCollection(payload, flags, full);
    if (!read) {
        ADD_FAILURE() << read.error();
        return nullptr;
    }
    return std::move(read).value();
}

}  // namespace

TEST(CollectionFile, RoundTripIsByteExactInEveryEncoding) {
    auto original = MakeTestCollection();
    const std::vector<uint8_t> first = Write(*original);
    EXPECT_EQ(Be32(first, kTotalSize), first.size() - kHeaderSize);
    EXPECT_EQ(Be32(first, kTableBase), kHeaderSize);

    auto read = Read(first, original->flags, true);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->flags, original->flags);
    EXPECT_EQ(read->headerWord, 0x12345678u);
    EXPECT_EQ(read->palette, original->palette);
    ASSERT_EQ(read->BitmapCount(), original->BitmapCount());
    for (int i = 0; i < read->BitmapCount(); ++i) {
        const Bitmap& a = *original->GetBitmap(i);
        const Bitmap& b = *read->GetBitmap(i);
        SCOPED_TRACE(a.name);
        EXPECT_EQ(b.name, a.name);
        EXPECT_EQ(b.flags, a.flags);
        EXPECT_FALSE(b.placeholder);
        EXPECT_EQ(b.encoded, a.encoded);
        EXPECT_EQ(b.pixels, a.pixels);
        EXPECT_EQ(b.kept, a.kept);
    }
    ASSERT_EQ(read->HueChangeCount(), 2);
    EXPECT_EQ(read->hueChanges[1].solid, original->hueChanges[1].solid);
    EXPECT_EQ(read->hueChanges[0].kept, original->hueChanges[0].kept);
    ASSERT_EQ(read->SequenceCount(), 3);
    EXPECT_EQ(*read->SequenceName(1), "idle");
    EXPECT_EQ(read->sequences[0].header.kept52, original->sequences[0].header.kept52);
    EXPECT_EQ(read->GetShadow(0, 1)->bitmap.get(), read->GetBitmap(1));
    EXPECT_EQ(read->GetView(0, 0, 2)->sets[1].bitmap.get(), read->GetBitmap(6));
    EXPECT_EQ(read->GetView(0, 0, 2)->sets[1].scale, 0x00050000u);
    EXPECT_EQ(read->GetView(1, 0, 1)->sets[0].bitmap, nullptr);
    EXPECT_EQ(read->GetView(1, 0, 3), nullptr);
    EXPECT_EQ(read->IndexOfBitmap(read->GetBitmap(4)), 4);
    EXPECT_EQ(read->IndexOfBitmap(original->GetBitmap(4)), -1);
    EXPECT_EQ(read->sequences[2].header.flags & kSequenceHasFrames, 0u);
    EXPECT_EQ(read->sequences[0].header.flags & kSequenceHasFrames, uint32_t(kSequenceHasFrames));

    EXPECT_EQ(Write(*read), first);

    // A sequence-list read keeps the structure but not the pixels, and refuses to be written.
    auto partial = Read(first, original->flags, false);
    ASSERT_TRUE(partial);
    EXPECT_EQ(partial->SequenceCount(), 3);
    EXPECT_TRUE(partial->GetBitmap(0)->pixels.empty());
    Result<CollectionPayload> refused = WriteCollection(*partial);
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.error().find("without its bitmap data"), std::string::npos) << refused.error();
    original->GetBitmap(3)->encoded.clear();
    refused = WriteCollection(*original);
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.error().find("bitmap 3 has no stored pixel data"), std::string::npos) << refused.error();
}

TEST(CollectionFile, TablesAndRecordRules) {
    auto c = MakeTestCollection();
    c->sequences.clear();
    std::vector<uint8_t> bytes = Write(*c);
    EXPECT_EQ(TableCount(bytes, kSequenceRefs), 0u);
    EXPECT_EQ(TableCount(bytes, kViewRecords), 0u);
    EXPECT_EQ(Be32(bytes, kTableEntries + kSequenceRefs * 16 + 8), 0u);

    // View records without the second-set flag lose bytes 30 to 39.
    c = MakeTestCollection();
    bytes = Write(*c);
    const size_t views = TableStart(bytes, kViewRecords);
    const size_t plain = views;  // frame 0, view 0 has no second set
    for (size_t i = 30; i < 40; ++i)
        bytes[plain + i] = 0xAB;
    auto read = Read(bytes, 0, true);
    ASSERT_TRUE(read);
    const std::vector<uint8_t> again = Write(*read);
    for (size_t i = 30; i < 40; ++i)
        EXPECT_EQ(again[plain + i], 0) << i;
    EXPECT_EQ(Be32(again, views + kViewRecordSize + 32), 0x00050000u);  // view 1 keeps its second set

    // A colour table count of 0 fails the read; so does a table past the payload.
    std::vector<uint8_t> broken = bytes;
    broken[kTableEntries + 3] = 0;
    Result<std::unique_ptr<Collection>> failed = ReadCollection(broken, 0, true);
    ASSERT_FALSE(failed);
    EXPECT_NE(failed.error().find("no colour table"), std::string::npos) << failed.error();
    broken = bytes;
    broken[kTableEntries + kBitmapRefs * 16 + 1] = 0x7F;
    failed = ReadCollection(broken, 0, true);
    ASSERT_FALSE(failed);
    EXPECT_NE(failed.error().find("lies outside the data"), std::string::npos) << failed.error();
    failed = ReadCollection(std::span<const uint8_t>(bytes.data(), 319), 0, true);
    ASSERT_FALSE(failed);
    EXPECT_NE(failed.error().find("header is cut short"), std::string::npos) << failed.error();
}

TEST(CollectionFile, SequenceCompletion) {
    auto c = MakeTestCollection();
    // Both mirroring and no rotation: a full read drops no rotation, a list read keeps it.
    c->sequences[0].header.flags |= kSequenceNoRotation;
    const std::vector<uint8_t> bytes = Write(*c);
    EXPECT_NE(Read(bytes, 0, false)->sequences[0].header.flags & kSequenceNoRotation, 0u);
    auto read = Read(bytes, 0, true);
    ASSERT_TRUE(read);
    const Sequence& walk = read->sequences[0];
    EXPECT_EQ(walk.header.flags & kSequenceNoRotation, 0u);
    EXPECT_EQ(read->sequences[1].header.flags & kSequenceNoRotation, uint32_t(kSequenceNoRotation));
    EXPECT_EQ(walk.DrawnViews(), 5);
    for (const Frame& frame : walk.frames)
        for (auto [mirror, source] : {std::pair{5, 3}, {6, 2}, {7, 1}}) {
            const View& m = frame.views[size_t(mirror)];
            const View& s = frame.views[size_t(source)];
            EXPECT_EQ(m.sets[0].bitmap, s.sets[0].bitmap);
            EXPECT_EQ(m.flags, s.flags ^ kViewMirrorH);
            EXPECT_EQ(m.sets[0].regX, s.sets[0].bitmap->width - s.sets[0].regX);
            EXPECT_EQ(m.sets[0].regY, s.sets[0].regY);
        }
    // Extents over views with bitmaps: largest x, y, width - x, height - y.
    int left = 0, top = 0, right = 0, bottom = 0;
    for (const Frame& frame : walk.frames)
        for (const View& view : frame.views) {
            const Bitmap& b = *view.sets[0].bitmap;
            left = std::max(left, int(view.sets[0].regX));
            top = std::max(top, int(view.sets[0].regY));
            right = std::max(right, b.width - view.sets[0].regX);
            bottom = std::max(bottom, b.height - view.sets[0].regY);
        }
    EXPECT_EQ(walk.extents.left, left);
    EXPECT_EQ(walk.extents.top, top);
    EXPECT_EQ(walk.extents.right, right);
    EXPECT_EQ(walk.extents.bottom, bottom);
    // The second set is shown only when selected.
    EXPECT_EQ(&walk.frames[0].views[1].Shown(1), &walk.frames[0].views[1].sets[1]);
    EXPECT_EQ(&walk.frames[0].views[0].Shown(1), &walk.frames[0].views[0].sets[0]);
}

TEST(CollectionFile, DamagedBitmapsBecomePlaceholders) {
    auto c = MakeTestCollection();
    std::vector<uint8_t> bytes = Write(*c);
    const size_t refs = TableStart(bytes, kBitmapRefs);
    auto block = [&](int i) { return kHeaderSize + Be32(bytes, refs + size_t(i) * kBitmapRefSize + 64); };
    // rle8 (index 2): make the first run of row 0 end past the width.
    const size_t rle = block(2) + kBitmapHeaderSize + (8 - 1) * 4;
    ASSERT_GE(bytes[rle + 1], 1);
    PutBe16(bytes, rle + 6, 13);
    // raw16 (index 4): claim a 64-bit pixel size, which paletted data cannot have.
    PutBe16(bytes, block(4) + 8, 64);
    // high colour (index 6): no block at all.
    for (int i = 64; i < 72; ++i)
        bytes[refs + 6 * kBitmapRefSize + size_t(i)] = 0;

    auto read = Read(bytes, 0, true);
    ASSERT_TRUE(read);
    for (int i = 0; i < read->BitmapCount(); ++i) {
        const Bitmap& b = *read->GetBitmap(i);
        SCOPED_TRACE(b.name);
        const bool damaged = i == 2 || i == 4 || i == 6;
        EXPECT_EQ(b.placeholder, damaged);
        if (!damaged) {
            EXPECT_EQ(b.pixels, c->GetBitmap(i)->pixels);
            continue;
        }
        const int size = i == 6 ? 256 : c->GetBitmap(i)->width;
        EXPECT_EQ(b.width, size);
        // Checkerboard of 16-pixel squares: palette entries nearest to white and black.
        ASSERT_EQ(b.pixels.size(), b.PixelCount() * 2);
        EXPECT_EQ(b.pixels[0], 255);
        const uint8_t white = b.pixels[1];
        EXPECT_EQ(read->palette[white * 3 + 1] + read->palette[white * 3], 255);
        if (i == 6) {
            EXPECT_NE(b.pixels[16 * 2 + 1], white);
            EXPECT_EQ(b.pixels[(16 * 256 + 16) * 2 + 1], white);
        }
    }
    // A placeholder saves as a valid bitmap.
    auto again = Read(Write(*read), 0, true);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->GetBitmap(6)->pixels, read->GetBitmap(6)->pixels);
}

TEST(CollectionFile, ColourAlphaSurvivesSaving) {
    auto c = MakeTestCollection();
    for (int i = 0; i < 256; ++i)
        c->palette[size_t(i) * 3 + 1] = uint8_t(i / 2);
    auto bitmap = MakeTestBitmap("colour alpha", 5, 3, kBitmapRle | kBitmapColourAlpha8, 4);
    for (size_t p = 0; p < bitmap->PixelCount(); ++p)
        if (bitmap->pixels[p * 2 + 1])
            bitmap->pixels[p * 2] = std::max({c->palette[bitmap->pixels[p * 2 + 1] * 3u],
                                              c->palette[bitmap->pixels[p * 2 + 1] * 3u + 1],
                                              c->palette[bitmap->pixels[p * 2 + 1] * 3u + 2]});
    ASSERT_TRUE(bitmap->Encode());
    c->bitmaps.push_back(bitmap);
    const std::vector<uint8_t> bytes = Write(*c);
    auto read = Read(bytes, c->flags, true);
    ASSERT_TRUE(read);
    const Bitmap& b = *read->bitmaps.back();
    EXPECT_EQ(b.flags & (kBitmapColourAlpha8 | kBitmapFileColourAlpha), kBitmapColourAlpha8);
    EXPECT_EQ(b.pixels, bitmap->pixels);
    EXPECT_EQ(Write(*read), bytes);
}

TEST(CollectionFile, HueChangesAffectedColoursAreComputedOnWriting) {
    Collection c;
    const uint8_t colours[][3] = {{255, 0, 0}, {128, 128, 128}, {0, 0, 255}, {255, 250, 250}};
    for (size_t i = 0; i < 4; ++i)
        std::copy(colours[i], colours[i] + 3, &c.palette[(i + 1) * 3]);
    HueChange wrapping;
    wrapping.startHue = 60000;
    wrapping.endHue = 5000;
    wrapping.affected.fill(0xFF);  // stale bits are recomputed
    HueChange blues = wrapping;
    blues.startHue = 0x5556;
    blues.endHue = 0xAAAB;
    blues.minSaturation = 0x1000;
    c.hueChanges = {wrapping, blues};
    auto read = Read(Write(c), 0, true);
    ASSERT_TRUE(read);
    // Entry 1 red (hue 0), 2 grey (saturation 0), 3 blue, 4 a barely saturated red.
    EXPECT_EQ(read->hueChanges[0].affected[0], 0x2 | 0x10);
    EXPECT_EQ(read->hueChanges[1].affected[0], 0x8);
    for (size_t i = 1; i < 32; ++i)
        EXPECT_EQ(read->hueChanges[0].affected[i], 0);
}

TEST(CollectionFile, RepeatedReferencesCannotMultiplyTheWork) {
    // A large, empty run-length bitmap: 8 MB of pixels from 8 KB of rows.
    auto c = MakeTestCollection();
    auto empty = std::make_shared<Bitmap>();
    empty->name = "empty";
    empty->width = 4096;
    empty->height = 1024;
    empty->flags = kBitmapRle;
    empty->pixels.assign(empty->PixelCount() * 2, 0);
    ASSERT_TRUE(empty->Encode());
    c->bitmaps.push_back(empty);
    std::vector<uint8_t> bytes = Write(*c);

    // Thousands of references to that bitmap, to a real one and to no data at
    // all, and as many to one sequence, appended as new tables.
    const size_t refs = TableStart(bytes, kBitmapRefs);
    const size_t emptyRef = refs + size_t(c->BitmapCount() - 1) * kBitmapRefSize;
    std::vector<uint8_t> damaged(bytes.begin() + long(refs), bytes.begin() + long(refs + kBitmapRefSize));
    std::fill(damaged.begin() + 64, damaged.begin() + 72, 0xFF);  // offset and size point nowhere
    const size_t kCopies = 3000;
    auto appendTable = [&](Table table, auto record) {
        const size_t start = bytes.size();
        for (size_t i = 0; i < kCopies; ++i) record(i);
        const uint32_t offset = uint32_t(start - kHeaderSize);
        for (int k = 0; k < 4; ++k) {
            bytes[kTableEntries + table * 16 + size_t(k)] = uint8_t(kCopies >> (24 - 8 * k));
            bytes[kTableEntries + table * 16 + 4 + size_t(k)] = uint8_t(offset >> (24 - 8 * k));
        }
    };
    const std::vector<uint8_t> original = bytes;
    appendTable(kBitmapRefs, [&](size_t i) {
        const size_t from = i % 3 == 0 ? emptyRef : refs;
        if (i % 3 == 2)
            bytes.insert(bytes.end(), damaged.begin(), damaged.end());
        else
            bytes.insert(bytes.end(), original.begin() + long(from), original.begin() + long(from + kBitmapRefSize));
    });
    const size_t sequence = TableStart(original, kSequenceRefs);
    appendTable(kSequenceRefs, [&](size_t) {
        bytes.insert(bytes.end(), original.begin() + long(sequence), original.begin() + long(sequence + kSequenceRefSize));
    });

    auto read = Read(bytes, 0, true);
    ASSERT_TRUE(read);
    ASSERT_EQ(read->BitmapCount(), int(kCopies));
    size_t decodedEmpty = 0, fullPlaceholders = 0, pixelBytes = 0;
    for (int i = 0; i < read->BitmapCount(); ++i) {
        const Bitmap& b = *read->GetBitmap(i);
        decodedEmpty += !b.placeholder && b.width == 4096;
        fullPlaceholders += b.placeholder && b.width == 256;
        pixelBytes += b.pixels.size();
    }
    // The budget decodes the large bitmap a few times, not a thousand; the
    // placeholders grow with the payload, not with the number of references.
    EXPECT_GE(decodedEmpty, 1u);
    EXPECT_LE(decodedEmpty, 4u);
    EXPECT_LE(fullPlaceholders * 256 * 256 * 3, 256 * 256 * 3 + bytes.size() * 16);
    EXPECT_LT(pixelBytes, (size_t(16) << 20) + bytes.size() * 64);
}
