#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_map>

#include "collections/CollectionFile.h"
#include "collections/CollectionLayout.h"
#include "collections/CollectionRecords.h"
#include "collections/RecordIO.h"

namespace tamber::collections {

using namespace tamber::base;
using namespace collection_layout;

namespace {

void SetName(char (&field)[kNameSize], const std::string& name) {
    std::memset(field, 0, kNameSize);
    std::memcpy(field, name.data(), std::min(name.size(), kNameSize - 1));
}

class Writer {
public:
    Writer(const Collection& collection, std::vector<uint8_t>& out) : c_(collection), w_(out) {
        for (size_t i = 0; i < collection.bitmaps.size(); ++i)
            index_.emplace(collection.bitmaps[i].get(), uint16_t(i));
    }

    void Write();

private:
    uint16_t IndexOf(const std::shared_ptr<Bitmap>& bitmap) const {
        auto it = bitmap ? index_.find(bitmap.get()) : index_.end();
        return it == index_.end() ? kNoIndex : it->second;
    }
    uint32_t Here() const { return uint32_t(w_.Position() - kHeaderSize); }
    void BeginTable(Table t, size_t count) {
        header_.tables[t].count = uint32_t(count);
        header_.tables[t].offset = Here();
    }
    void EndTable(Table t) { header_.tables[t].size = Here() - header_.tables[t].offset; }

    void WriteColourTable();
    void WriteHueChanges();
    void WriteViews();
    TableRecord WriteSequenceBlock(const Sequence& sequence, size_t& viewIndex, size_t& frameIndex);
    void WriteFrameRecords();
    TableRecord WriteBitmapBlock(const Bitmap& bitmap);

    const Collection& c_;
    BigEndianWriter w_;
    std::unordered_map<const Bitmap*, uint16_t> index_;
    CollectionHeaderRecord header_{};
};

void Writer::WriteColourTable() {
    ColourTableRecord colours{};
    colours.count = 256;
    for (size_t i = 0; i < 256; ++i)
        for (size_t ch = 0; ch < 3; ++ch)
            colours.entries[i][ch] = uint16_t(c_.palette[i * 3 + ch] << 8);
    BeginTable(kColourTables, 1);
    PackAt(w_, &colours, 1, kColourTableDescriptor);
    EndTable(kColourTables);
}

void Writer::WriteHueChanges() {
    std::vector<HueChangeRecord> records(c_.hueChanges.size());
    for (size_t i = 0; i < records.size(); ++i) {
        HueChange hue = c_.hueChanges[i];
        hue.ComputeAffected(c_.palette.data());
        HueChangeRecord& r = records[i];
        r = {};
        SetName(r.name, hue.name);
        r.startHue = hue.startHue;
        r.endHue = hue.endHue;
        std::copy(hue.affected.begin(), hue.affected.end(), r.affected);
        r.minSaturation = hue.minSaturation;
        r.medianHue = hue.medianHue;
        r.use = hue.use;
        std::copy(hue.kept.begin(), hue.kept.end(), r.kept);
        r.red = hue.red;
        r.green = hue.green;
        r.blue = hue.blue;
        r.reversed = hue.reversed;
        std::copy(hue.solid.begin(), hue.solid.end(), r.solid);
    }
    BeginTable(kHueChanges, records.size());
    PackAt(w_, records.data(), records.size(), kHueChangeDescriptor);
    EndTable(kHueChanges);
}

// One record per frame and view, in sequence, frame and view order.
void Writer::WriteViews() {
    std::vector<ViewRecord> records;
    const View none;
    for (const Sequence& sequence : c_.sequences)
        for (const Frame& frame : sequence.frames)
            for (size_t v = 0; v < sequence.header.viewCount; ++v) {
                const View& view = v < frame.views.size() ? frame.views[v] : none;
                ViewRecord& r = records.emplace_back();
                r = {};
                const Bitmap* bitmap = view.sets[0].bitmap.get();
                r.flags = view.flags & ~uint32_t(kView16Bit);
                if (bitmap && bitmap->Is16Bit())
                    r.flags |= kView16Bit;
                r.regX = view.sets[0].regX;
                r.regY = view.sets[0].regY;
                r.pointX = view.pointX;
                r.pointY = view.pointY;
                r.bitmap = IndexOf(view.sets[0].bitmap);
                if (view.HasSecondSet()) {
                    r.secondBitmap = IndexOf(view.sets[1].bitmap);
                    r.secondScale = view.sets[1].scale;
                    r.secondRegX = view.sets[1].regX;
                    r.secondRegY = view.sets[1].regY;
                }
            }
    BeginTable(kViewRecords, records.size());
    PackAt(w_, records.data(), records.size(), kViewRecordDescriptor);
    EndTable(kViewRecords);
}

TableRecord Writer::WriteSequenceBlock(const Sequence& sequence, size_t& viewIndex, size_t& frameIndex) {
    TableRecord block{0, Here(), 0, 0};
    const SequenceHeader& h = sequence.header;
    SequenceHeaderRecord r{};
    r.flags = h.flags & ~uint32_t(kSequenceHasFrames);
    if (!sequence.frames.empty())
        r.flags |= kSequenceHasFrames;
    r.kept4 = h.kept4;
    r.viewCount = h.viewCount;
    r.frameCount = uint16_t(sequence.frames.size());
    r.ticksPerFrame = h.ticksPerFrame;
    r.keyFrame = h.keyFrame;
    r.loopFrame = h.loopFrame;
    std::copy(h.kept18.begin(), h.kept18.end(), r.kept18);
    r.firstSound = h.firstSound;
    r.keySound = h.keySound;
    r.lastSound = h.lastSound;
    r.mode = h.mode;
    r.transferPeriod = h.transferPeriod;
    r.regX = h.regX;
    r.kept44 = h.kept44;
    r.regY = h.regY;
    std::copy(h.kept52.begin(), h.kept52.end(), r.kept52);
    PackAt(w_, &r, 1, kSequenceHeaderDescriptor);
    std::vector<uint16_t> indices(h.viewCount);
    std::vector<uint8_t> disk(indices.size() * 2);
    for (const Frame& frame : sequence.frames) {
        FrameEntryRecord entry{};
        entry.frameRecord = uint16_t(frameIndex++);
        std::copy(frame.words.begin(), frame.words.end(), entry.words);
        PackAt(w_, &entry, 1, kFrameEntryDescriptor);
        for (uint16_t& index : indices)
            index = uint16_t(viewIndex++);
        SwapElements(disk.data(), indices.data(), indices.size(), ByteSwap::kSwap16);
        w_.Bytes(disk);
    }
    block.size = Here() - block.offset;
    return block;
}

void Writer::WriteFrameRecords() {
    std::vector<FrameRecord> records;
    for (const Sequence& sequence : c_.sequences)
        for (const Frame& frame : sequence.frames) {
            FrameRecord& r = records.emplace_back();
            r = {};
            r.flags = frame.shadow.flags;
            r.word4 = frame.shadow.word4;
            r.word8 = frame.shadow.word8;
            r.bitmap = IndexOf(frame.shadow.bitmap);
        }
    BeginTable(kFrameRecords, records.size());
    PackAt(w_, records.data(), records.size(), kFrameRecordDescriptor);
    EndTable(kFrameRecords);
}

TableRecord Writer::WriteBitmapBlock(const Bitmap& bitmap) {
    TableRecord block{0, Here(), 0, 0};
    const bool high = bitmap.IsHighColour();
    BitmapHeaderRecord h{};
    h.flags = uint16_t(bitmap.flags & kBitmapWriteMask);
    if (high) {
        h.flags |= kBitmapHighColour | kBitmapNoRowTable;
    } else {
        if (bitmap.Is16Bit())
            h.flags |= kBitmap16Bit;
        // Keep colour alpha across a save; without it the pixels would read back opaque.
        if (bitmap.HasColourAlpha())
            h.flags |= kBitmapFileColourAlpha;
    }
    h.width = bitmap.width;
    h.height = bitmap.height;
    h.bytesPerRow = uint16_t(bitmap.width * bitmap.StoredPixelBytes());
    h.bitsPerPixel = uint16_t(bitmap.StoredPixelBytes() * 8);
    h.sizeCode = high ? bitmap.pixelSizeCode : bitmap.Is16Bit() ? 1 : 0;
    h.encoding = high ? 1 : 0;
    PackAt(w_, &h, 1, kBitmapHeaderDescriptor);
    if (!(h.flags & kBitmapNoRowTable))
        w_.Zeros(size_t(bitmap.height) * 4 - 4);  // the row table is never used
    w_.Bytes(bitmap.encoded);
    block.size = Here() - block.offset;
    return block;
}

void Writer::Write() {
    w_.Seek(kHeaderSize);
    WriteColourTable();
    WriteHueChanges();
    WriteViews();

    std::vector<SequenceRefRecord> sequenceRefs(c_.sequences.size());
    BeginTable(kSequenceRefs, sequenceRefs.size());
    const size_t sequenceRefsAt = w_.Position();
    w_.Zeros(sequenceRefs.size() * kSequenceRefSize);
    EndTable(kSequenceRefs);
    size_t viewIndex = 0, frameIndex = 0;
    for (size_t i = 0; i < c_.sequences.size(); ++i) {
        SequenceRefRecord& r = sequenceRefs[i];
        r = {};
        SetName(r.name, c_.sequences[i].name);
        const TableRecord block = WriteSequenceBlock(c_.sequences[i], viewIndex, frameIndex);
        r.offset = block.offset;
        r.size = block.size;
    }
    WriteFrameRecords();

    std::vector<BitmapRefRecord> bitmapRefs(c_.bitmaps.size());
    BeginTable(kBitmapRefs, bitmapRefs.size());
    const size_t bitmapRefsAt = w_.Position();
    w_.Zeros(bitmapRefs.size() * kBitmapRefSize);
    EndTable(kBitmapRefs);
    for (size_t i = 0; i < c_.bitmaps.size(); ++i) {
        const Bitmap& bitmap = *c_.bitmaps[i];
        BitmapRefRecord& r = bitmapRefs[i];
        r = {};
        SetName(r.name, bitmap.name);
        const TableRecord block = WriteBitmapBlock(bitmap);
        r.offset = block.offset;
        r.size = block.size;
        r.width = bitmap.width;
        r.height = bitmap.height;
        std::copy(bitmap.kept.begin(), bitmap.kept.end(), r.kept);
    }
    const size_t end = w_.Position();

    w_.Seek(sequenceRefsAt);
    PackAt(w_, sequenceRefs.data(), sequenceRefs.size(), kSequenceRefDescriptor);
    w_.Seek(bitmapRefsAt);
    PackAt(w_, bitmapRefs.data(), bitmapRefs.size(), kBitmapRefDescriptor);
    header_.word = c_.headerWord;
    header_.flags = c_.flags;
    header_.tableBase = kHeaderSize;
    header_.totalSize = uint32_t(end - kHeaderSize);
    w_.Seek(0);
    PackAt(w_, &header_, 1, kCollectionHeaderDescriptor);
}

// Why the collection cannot be stored, or nothing when it can.
Status Storable(const Collection& collection) {
    if (!collection.complete)
        return Fail("the collection was read without its bitmap data");
    if (collection.bitmaps.size() >= kNoIndex)
        return Fail("it has more bitmaps than a collection can hold");
    uint64_t views = 0, frames = 0;
    for (const Sequence& sequence : collection.sequences) {
        if (sequence.frames.size() > 0xFFFF)
            return Fail("sequence '" + sequence.name + "' has more frames than a collection can hold");
        frames += sequence.frames.size();
        views += uint64_t(sequence.frames.size()) * sequence.header.viewCount;
    }
    // A bitmap without stored data would read back as a placeholder: refuse rather than lose it.
    for (size_t i = 0; i < collection.bitmaps.size(); ++i) {
        const Bitmap* bitmap = collection.bitmaps[i].get();
        if (!bitmap || bitmap->width <= 0 || bitmap->height <= 0 || bitmap->encoded.empty())
            return Fail("bitmap " + std::to_string(i) + " has no stored pixel data");
    }
    if (views > 0x10000 || frames > 0x10000)
        return Fail("its sequences have more frames or views than a collection can hold");
    return Ok();
}

}  // namespace

Result<CollectionPayload> WriteCollection(const Collection& collection) {
    if (Status storable = Storable(collection); !storable)
        return Fail("couldn't write the collection: " + storable.error());
    CollectionPayload out;
    Writer(collection, out.bytes).Write();
    out.fields.user = collection.flags;
    out.fields.size = uint32_t(out.bytes.size());
    return out;
}

}  // namespace tamber::collections
