#pragma once
// Record transfers between payload bytes and memory records through byte-swap
// descriptors, bounds-checked against the bytes present.
#include <cstddef>
#include <vector>

#include "collections/BigEndianReader.h"
#include "collections/BigEndianWriter.h"
#include "tags/ByteSwap.h"

namespace tamber::collections {
using namespace tamber::tags;

// Unpacks `count` records at the reader's position into `out`; false (and the
// reader failed) when they do not all fit.
template <typename Record>
bool UnpackAt(BigEndianReader& in, Record* out, size_t count, Descriptor descriptor) {
    const uint64_t bytes = uint64_t(count) * RecordDiskSize(1, descriptor);
    if (!in.Has(bytes)) {
        in.Skip(bytes);  // marks the reader failed
        return false;
    }
    if (count)
        UnpackRecords(out, in.Take(size_t(bytes)).data(), count, descriptor);
    return true;
}

// Unpacks a table of `count` records, checking the count against the bytes before allocating.
template <typename Record>
bool UnpackTable(BigEndianReader& in, std::vector<Record>& out, size_t count, Descriptor descriptor) {
    if (!in.Has(uint64_t(count) * RecordDiskSize(1, descriptor))) {
        in.Skip(uint64_t(count) * RecordDiskSize(1, descriptor));
        return false;
    }
    out.resize(count);
    return UnpackAt(in, out.data(), count, descriptor);
}

template <typename Record>
void PackAt(BigEndianWriter& out, const Record* records, size_t count, Descriptor descriptor) {
    std::vector<uint8_t> disk(RecordDiskSize(count, descriptor));
    if (count)
        PackRecords(disk.data(), records, count, descriptor);
    out.Bytes(disk);
}

}  // namespace tamber::collections
