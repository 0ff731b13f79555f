#include "tags/ByteSwap.h"

#include <cstring>
#include <memory>
#include <new>

namespace tamber::tags {

namespace {

enum class Mode { Swap, Unpack, Pack, Measure };

struct Walk {
    Mode mode;
    uint8_t* destination;
    const uint8_t* source;
    size_t disk = 0;    // position on the disk side
    size_t memory = 0;  // position on the memory side

    size_t SourcePos() const { return mode == Mode::Unpack ? disk : memory; }
    size_t DestinationPos() const { return mode == Mode::Pack ? disk : memory; }
};

size_t ElementSize(uint16_t code) { return size_t{1} << (code & 3); }

// Reverses the bytes of each element; works in place too.
template <typename T>
void ReverseEach(uint8_t* destination, const uint8_t* source, size_t count) {
    for (size_t i = 0; i < count; ++i, destination += sizeof(T), source += sizeof(T)) {
        T value;
        std::memcpy(&value, source, sizeof(T));
        if constexpr (sizeof(T) == 2) value = __builtin_bswap16(value);
        else if constexpr (sizeof(T) == 4) value = __builtin_bswap32(value);
        else value = __builtin_bswap64(value);
        std::memcpy(destination, &value, sizeof(T));
    }
}

// Walks one record's runs; returns the word after the record's descriptor.
Descriptor WalkRecord(Descriptor descriptor, Walk& walk) {
    const size_t size = descriptor[0] & 0x7fff;
    Descriptor run = descriptor + 1;
    size_t consumed = 0;
    while (consumed < size) {
        const size_t count = run[0];
        const uint16_t code = run[1];
        run += 2;
        if (code == ByteSwap::kNested) {
            Descriptor nested = run;
            Walk skip{Mode::Measure, nullptr, nullptr};
            run = WalkRecord(nested, skip);
            for (size_t i = 0; i < count; ++i) WalkRecord(nested, walk);
            consumed += count * (nested[0] & 0x7fff);
        } else if (code == ByteSwap::kPointer) {
            if (walk.memory % 8 != 0) {
                if (walk.mode == Mode::Unpack || walk.mode == Mode::Swap) {
                    std::memset(walk.destination + walk.memory, 0, 4);
                }
                walk.memory += 4;
            }
            if (walk.mode != Mode::Measure) {
                std::memset(walk.destination + walk.DestinationPos(), 0, (walk.mode == Mode::Pack ? 4 : 8) * count);
            }
            walk.disk += 4 * count;
            walk.memory += 8 * count;
            consumed += 4 * count;
        } else {
            const size_t bytes = count * ElementSize(code);
            if (walk.mode != Mode::Measure) {
                SwapElements(walk.destination + walk.DestinationPos(), walk.source + walk.SourcePos(), count, code);
            }
            walk.disk += bytes;
            walk.memory += bytes;
            consumed += bytes;
        }
    }
    return run;
}

void WalkRecords(Mode mode, void* destination, const void* source, size_t count, Descriptor descriptor) {
    Walk walk{mode, static_cast<uint8_t*>(destination), static_cast<const uint8_t*>(source)};
    for (size_t i = 0; i < count; ++i) WalkRecord(descriptor, walk);
}

bool HasPointers(Descriptor descriptor) { return (descriptor[0] & ByteSwap::kHasPointers) != 0; }

}  // namespace

void SwapElements(void* destination, const void* source, size_t count, uint16_t code) {
    const size_t size = ElementSize(code);
    auto* d = static_cast<uint8_t*>(destination);
    const auto* s = static_cast<const uint8_t*>(source);
    if (code & 4) {
        std::memset(d, 0, count * size);
    } else if ((code & 16) || size == 1) {
        if (d != s) std::memmove(d, s, count * size);
    } else if (size == 2) {
        ReverseEach<uint16_t>(d, s, count);
    } else if (size == 4) {
        ReverseEach<uint32_t>(d, s, count);
    } else {
        ReverseEach<uint64_t>(d, s, count);
    }
}

void SwapElementsInPlace(void* buffer, size_t count, uint16_t code) { SwapElements(buffer, buffer, count, code); }

size_t ReadElements(void* buffer, size_t count, uint16_t code, FILE* file) {
    const size_t bytes = count * ElementSize(code);
    if (!file || std::fread(buffer, 1, bytes, file) != bytes) return 0;
    SwapElementsInPlace(buffer, count, code);
    return bytes;
}

size_t WriteElements(const void* buffer, size_t count, uint16_t code, FILE* file) {
    const size_t bytes = count * ElementSize(code);
    if (!buffer) return bytes;
    std::unique_ptr<uint8_t[]> temp(new (std::nothrow) uint8_t[bytes ? bytes : 1]);
    if (!temp || !file) return 0;
    SwapElements(temp.get(), buffer, count, code);
    return std::fwrite(temp.get(), 1, bytes, file) == bytes ? bytes : 0;
}

void SwapRecords(void* destination, const void* source, size_t count, Descriptor descriptor) {
    WalkRecords(Mode::Swap, destination, source, count, descriptor);
}

void SwapRecordsInPlace(void* buffer, size_t count, Descriptor descriptor) {
    WalkRecords(Mode::Swap, buffer, buffer, count, descriptor);
}

void UnpackRecords(void* memory, const void* disk, size_t count, Descriptor descriptor) {
    WalkRecords(Mode::Unpack, memory, disk, count, descriptor);
}

void PackRecords(void* disk, const void* memory, size_t count, Descriptor descriptor) {
    WalkRecords(Mode::Pack, disk, memory, count, descriptor);
}

size_t RecordDiskSize(size_t count, Descriptor descriptor) { return count * (descriptor[0] & 0x7fff); }

size_t RecordMemorySize(size_t count, Descriptor descriptor) {
    if (!HasPointers(descriptor)) return RecordDiskSize(count, descriptor);
    Walk walk{Mode::Measure, nullptr, nullptr};
    for (size_t i = 0; i < count; ++i) WalkRecord(descriptor, walk);
    return walk.memory;
}

size_t ReadRecords(void* buffer, size_t count, Descriptor descriptor, FILE* file) {
    const size_t diskBytes = RecordDiskSize(count, descriptor);
    if (!file) return 0;
    if (!HasPointers(descriptor)) {
        if (std::fread(buffer, 1, diskBytes, file) != diskBytes) return 0;
        SwapRecordsInPlace(buffer, count, descriptor);
        return diskBytes;
    }
    std::unique_ptr<uint8_t[]> temp(new (std::nothrow) uint8_t[diskBytes ? diskBytes : 1]);
    if (!temp || std::fread(temp.get(), 1, diskBytes, file) != diskBytes) return 0;
    UnpackRecords(buffer, temp.get(), count, descriptor);
    return diskBytes;
}

size_t WriteRecords(const void* buffer, size_t count, Descriptor descriptor, FILE* file) {
    const size_t diskBytes = RecordDiskSize(count, descriptor);
    if (!buffer) return diskBytes;
    std::unique_ptr<uint8_t[]> temp(new (std::nothrow) uint8_t[diskBytes ? diskBytes : 1]);
    if (!temp || !file) return 0;
    PackRecords(temp.get(), buffer, count, descriptor);
    return std::fwrite(temp.get(), 1, diskBytes, file) == diskBytes ? diskBytes : 0;
}

}  // namespace tamber::tags
