#pragma once
// Sizes and offsets of the collection payload's records, shared by reader and writer.
#include <cstddef>
#include <cstdint>

namespace tamber::collections {

namespace collection_layout {

constexpr size_t kHeaderSize = 320;
constexpr size_t kTableEntries = 64;      // offset of the first of eight table entries
constexpr size_t kTableBase = 248;
constexpr size_t kTotalSize = 252;
constexpr size_t kColourTableSize = 2080;
constexpr size_t kHueChangeSize = 128;
constexpr size_t kBitmapRefSize = 128;
constexpr size_t kViewRecordSize = 64;
constexpr size_t kSequenceRefSize = 128;
constexpr size_t kFrameRecordSize = 32;
constexpr size_t kSequenceHeaderSize = 64;
constexpr size_t kFrameEntrySize = 46;
constexpr size_t kBitmapHeaderSize = 52;
constexpr size_t kNameSize = 64;

enum Table { kColourTables = 0, kHueChanges, kBitmapRefs, kViewRecords, kSequenceRefs, kFrameRecords };

constexpr uint16_t kNoIndex = 0xFFFF;

}  // namespace collection_layout

}  // namespace tamber::collections
