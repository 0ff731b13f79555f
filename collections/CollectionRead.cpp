#include <algorithm>
#include <cstring>
#include <string>

#include "collections/CollectionFile.h"
#include "collections/CollectionLayout.h"
#include "collections/CollectionRecords.h"
#include "collections/RecordIO.h"

namespace tamber::collections {

using namespace tamber::base;
using namespace collection_layout;

namespace {

// Limits the work a payload can make the reader do beyond its own bytes. Decoded
// pixels and views draw from one pool: run-length rows can honestly describe
// thousands of pixels per byte, so it has a fixed part. The stored bytes that are
// decoded, and placeholders, draw from pools that grow only with the payload:
// many bitmap references to one data block, or to damaged ones, must not
// multiply the work.
class ReadBudget {
public:
    explicit ReadBudget(size_t payloadSize)
        : decoded_((size_t(16) << 20) + payloadSize * 32),
          stored_(kStoredAllowance + payloadSize * 2),
          placeholders_(kFullPlaceholders + payloadSize * 16) {}
    bool TakeDecoded(uint64_t bytes) { return Take(decoded_, bytes); }
    bool TakeStored(uint64_t bytes) { return Take(stored_, bytes); }
    bool TakePlaceholder(uint64_t bytes) { return Take(placeholders_, bytes); }

private:
    static constexpr size_t kStoredAllowance = size_t(1) << 16;
    // Enough for one placeholder of 256 x 256 in any payload.
    static constexpr size_t kFullPlaceholders = 256 * 256 * 3;

    static bool Take(size_t& left, uint64_t bytes) {
        if (bytes > left)
            return false;
        left -= size_t(bytes);
        return true;
    }

    size_t decoded_;
    size_t stored_;
    size_t placeholders_;
};

// The records of the tables, as read.
struct Tables {
    std::vector<ViewRecord> views;
    std::vector<SequenceRefRecord> sequences;
    std::vector<FrameRecord> frames;
    std::vector<BitmapRefRecord> bitmaps;
};

std::string NameOf(const char (&field)[kNameSize]) { return std::string(field, strnlen(field, kNameSize)); }

bool SeekTable(BigEndianReader& in, const TableRecord& table) { return in.Seek(uint64_t(kHeaderSize) + table.offset); }

template <typename Record>
bool ReadTable(BigEndianReader& in, const TableRecord& table, std::vector<Record>& out, Descriptor descriptor) {
    return table.count == 0 || (SeekTable(in, table) && UnpackTable(in, out, table.count, descriptor));
}

bool ReadPalette(BigEndianReader& in, const TableRecord& table, Collection& collection) {
    ColourTableRecord colours;
    if (!SeekTable(in, table) || !UnpackAt(in, &colours, 1, kColourTableDescriptor))
        return false;
    for (size_t i = 0; i < 256; ++i)
        for (size_t c = 0; c < 3; ++c)
            collection.palette[i * 3 + c] = uint8_t(colours.entries[i][c] >> 8);
    return true;
}

bool ReadHueChanges(BigEndianReader& in, const TableRecord& table, Collection& collection) {
    std::vector<HueChangeRecord> records;
    if (!ReadTable(in, table, records, kHueChangeDescriptor))
        return false;
    for (const HueChangeRecord& r : records) {
        HueChange& hue = collection.hueChanges.emplace_back();
        hue.name = NameOf(r.name);
        hue.startHue = r.startHue;
        hue.endHue = r.endHue;
        std::copy(std::begin(r.affected), std::end(r.affected), hue.affected.begin());
        hue.minSaturation = r.minSaturation;
        hue.medianHue = r.medianHue;
        hue.use = r.use;
        std::copy(std::begin(r.kept), std::end(r.kept), hue.kept.begin());
        hue.red = r.red;
        hue.green = r.green;
        hue.blue = r.blue;
        hue.reversed = r.reversed;
        std::copy(std::begin(r.solid), std::end(r.solid), hue.solid.begin());
    }
    return true;
}

// Parses a bitmap data block into `bitmap` (header fields and encoded data) and
// decodes it. False when the block is invalid or the data cannot be decoded.
bool ReadBitmapBlock(std::span<const uint8_t> payload, const BitmapRefRecord& ref, const uint8_t* palette,
                     ReadBudget& budget, Bitmap& bitmap) {
    BigEndianReader in(payload);
    if (!in.Seek(uint64_t(kHeaderSize) + ref.offset) || !in.Has(ref.size) || ref.size < kBitmapHeaderSize)
        return false;
    BigEndianReader block(in.Take(ref.size));
    BitmapHeaderRecord h;
    UnpackAt(block, &h, 1, kBitmapHeaderDescriptor);
    uint16_t flags = h.flags;
    if (h.width <= 0 || h.height <= 0 || h.sizeCode >= 3)
        return false;
    if (h.encoding == 0) {
        const uint16_t expected = (flags & kBitmap16Bit) ? 16 : 8;
        if (h.bitsPerPixel != 8 * (h.sizeCode + 1) || h.bitsPerPixel != expected || (flags & kBitmapHighColour))
            return false;
    } else if (h.encoding != 1 || !(flags & kBitmapHighColour)) {
        return false;
    }
    if (!(flags & kBitmapNoRowTable) && !block.Skip(uint64_t(h.height) * 4 - 4))
        return false;
    flags &= kBitmapReadMask;
    if (flags & kBitmapFileColourAlpha)
        flags = uint16_t((flags & ~kBitmapFileColourAlpha) |
                         ((flags & kBitmap16Bit) ? kBitmapColourAlpha16 : kBitmapColourAlpha8));
    bitmap.width = h.width;
    bitmap.height = h.height;
    bitmap.flags = flags;
    bitmap.pixelSizeCode = h.sizeCode;
    std::span<const uint8_t> data = block.Take(block.Remaining());
    if (data.empty() || !budget.TakeStored(data.size()) ||
        !budget.TakeDecoded(uint64_t(bitmap.PixelCount()) * size_t(bitmap.DecodedPixelBytes())))
        return false;
    bitmap.encoded.assign(data.begin(), data.end());
    if (!bitmap.Decode(palette).ok()) {
        bitmap.encoded.clear();
        return false;
    }
    return true;
}

// Replaces an undecodable bitmap by a checkerboard of its own size when that size
// is known and affordable, else of 256 x 256 (or 16 x 16 once the budget is spent).
void MakePlaceholder(std::span<const uint8_t> payload, const BitmapRefRecord& ref, const uint8_t* palette,
                     ReadBudget& budget, Bitmap& bitmap) {
    int16_t width = bitmap.width > 0 && bitmap.height > 0 ? bitmap.width : ref.width;
    int16_t height = bitmap.width > 0 && bitmap.height > 0 ? bitmap.height : ref.height;
    const uint64_t ownPixels = width > 0 && height > 0 ? uint64_t(width) * uint64_t(height) : 0;
    // The size claimed by the reference counts only as far as the payload holds it.
    const uint64_t start = uint64_t(kHeaderSize) + ref.offset;
    const uint64_t present = start < payload.size() ? std::min<uint64_t>(ref.size, payload.size() - start) : 0;
    if (ref.size == 0 || ownPixels == 0 || ownPixels > 65536 + present * 4)
        width = height = 256;
    if (!budget.TakePlaceholder(uint64_t(width) * uint64_t(height) * 3))
        width = height = 16;
    bitmap.MakePlaceholder(palette, width, height);
}

void CopyHeader(const SequenceHeaderRecord& r, SequenceHeader& h) {
    h.flags = r.flags;
    h.kept4 = r.kept4;
    h.viewCount = r.viewCount;
    h.ticksPerFrame = r.ticksPerFrame;
    h.keyFrame = r.keyFrame;
    h.loopFrame = r.loopFrame;
    std::copy(std::begin(r.kept18), std::end(r.kept18), h.kept18.begin());
    h.firstSound = r.firstSound;
    h.keySound = r.keySound;
    h.lastSound = r.lastSound;
    h.mode = r.mode;
    h.transferPeriod = r.transferPeriod;
    h.regX = r.regX;
    h.kept44 = r.kept44;
    h.regY = r.regY;
    std::copy(std::begin(r.kept52), std::end(r.kept52), h.kept52.begin());
}

View ViewFrom(const ViewRecord& r, const Collection& collection) {
    auto bitmapAt = [&](uint16_t index) {
        return index < collection.bitmaps.size() ? collection.bitmaps[index] : nullptr;
    };
    View view;
    view.flags = r.flags;
    view.sets[0] = {bitmapAt(r.bitmap), r.regX, r.regY, kFirstSetScale};
    view.pointX = r.pointX;
    view.pointY = r.pointY;
    // The second set's bytes count only with its flag; without it they read as zero.
    if (view.HasSecondSet())
        view.sets[1] = {bitmapAt(r.secondBitmap), r.secondRegX, r.secondRegY, r.secondScale};
    else
        view.sets[1] = {nullptr, 0, 0, 0};
    return view;
}

bool ReadSequence(std::span<const uint8_t> payload, const SequenceRefRecord& ref, const Tables& tables,
                  const Collection& collection, ReadBudget& budget, Sequence& sequence) {
    BigEndianReader in(payload);
    SequenceHeaderRecord header;
    if (!in.Seek(uint64_t(kHeaderSize) + ref.offset) || !UnpackAt(in, &header, 1, kSequenceHeaderDescriptor))
        return false;
    const uint16_t views = header.viewCount, frames = header.frameCount;
    const uint64_t entryBytes = kFrameEntrySize + uint64_t(views) * 2;
    if (!in.Has(entryBytes * frames) || !budget.TakeDecoded(uint64_t(frames) * (sizeof(Frame) + views * sizeof(View))))
        return false;
    sequence.name = NameOf(ref.name);
    CopyHeader(header, sequence.header);
    sequence.frames.resize(frames);
    std::vector<uint16_t> indices(views);
    for (Frame& frame : sequence.frames) {
        FrameEntryRecord entry;
        UnpackAt(in, &entry, 1, kFrameEntryDescriptor);
        std::copy(std::begin(entry.words), std::end(entry.words), frame.words.begin());
        if (entry.frameRecord < tables.frames.size()) {
            const FrameRecord& r = tables.frames[entry.frameRecord];
            frame.shadow = {r.flags, r.word4, r.word8,
                            r.bitmap < collection.bitmaps.size() ? collection.bitmaps[r.bitmap] : nullptr};
        }
        if (views)
            SwapElements(indices.data(), in.Take(size_t(views) * 2).data(), views, ByteSwap::kSwap16);
        frame.views.resize(views);
        for (size_t v = 0; v < views; ++v)
            if (indices[v] < tables.views.size())
                frame.views[v] = ViewFrom(tables.views[indices[v]], collection);
    }
    return in.Ok();
}

}  // namespace

Result<std::unique_ptr<Collection>> ReadCollection(std::span<const uint8_t> payload, uint32_t userFlags, bool full) {
    BigEndianReader in(payload);
    CollectionHeaderRecord header;
    if (!UnpackAt(in, &header, 1, kCollectionHeaderDescriptor))
        return Fail("couldn't read the collection: its header is cut short");
    if (header.tables[kColourTables].count == 0)
        return Fail("couldn't read the collection: it has no colour table");
    auto collection = std::make_unique<Collection>();
    collection->headerWord = header.word;
    collection->flags = userFlags;
    const TableRecord* t = header.tables;
    Tables tables;
    if (!ReadPalette(in, t[kColourTables], *collection))
        return Fail("couldn't read the collection: its colour table lies outside the data");
    if (!ReadHueChanges(in, t[kHueChanges], *collection) ||
        !ReadTable(in, t[kViewRecords], tables.views, kViewRecordDescriptor) ||
        !ReadTable(in, t[kSequenceRefs], tables.sequences, kSequenceRefDescriptor) ||
        !ReadTable(in, t[kFrameRecords], tables.frames, kFrameRecordDescriptor) ||
        !ReadTable(in, t[kBitmapRefs], tables.bitmaps, kBitmapRefDescriptor))
        return Fail("couldn't read the collection: one of its tables lies outside the data");

    ReadBudget budget(payload.size());
    const uint8_t* palette = collection->palette.data();
    collection->bitmaps.reserve(tables.bitmaps.size());
    for (const BitmapRefRecord& ref : tables.bitmaps) {
        auto bitmap = std::make_shared<Bitmap>();
        bitmap->name = NameOf(ref.name);
        std::copy(std::begin(ref.kept), std::end(ref.kept), bitmap->kept.begin());
        bitmap->width = ref.width;
        bitmap->height = ref.height;
        if (full && !ReadBitmapBlock(payload, ref, palette, budget, *bitmap))
            MakePlaceholder(payload, ref, palette, budget, *bitmap);
        collection->bitmaps.push_back(std::move(bitmap));
    }
    collection->sequences.resize(tables.sequences.size());
    for (size_t i = 0; i < tables.sequences.size(); ++i)
        if (!ReadSequence(payload, tables.sequences[i], tables, *collection, budget, collection->sequences[i]))
            return Fail("couldn't read the collection: sequence " + std::to_string(i) + " ('" +
                        NameOf(tables.sequences[i].name) + "') is damaged");
    if (full)
        for (Sequence& sequence : collection->sequences)
            sequence.Complete();
    collection->complete = full;
    return collection;
}

}  // namespace tamber::collections
