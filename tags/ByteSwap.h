#pragma once
// Byte-swap descriptors: a record layout as a list of 16-bit words (the disk size,
// then count/code runs) that one engine walks to convert records between their
// big-endian disk form and native memory form.
//
// Element codes: bits 0-1 give the element size (1, 2, 4 or 8 bytes), bit 2 fills
// with zeros, bit 4 copies without swapping. kPointer marks pointers (4 zero bytes
// on disk, 8 in memory, 8-aligned in memory); kNested introduces `count` records
// whose own descriptor follows inline.
//
// Word 0 holds the disk size in its low 15 bits; kHasPointers is set when the
// record contains pointer runs, so that its memory size differs.
#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace tamber::tags {

namespace ByteSwap {
constexpr uint16_t kBytes = 0;
constexpr uint16_t kSwap16 = 1;
constexpr uint16_t kSwap32 = 2;
constexpr uint16_t kZero8 = 4;
constexpr uint16_t kZero16 = 5;
constexpr uint16_t kZero32 = 6;
constexpr uint16_t kPointer = 14;
constexpr uint16_t kCopy16 = 17;
constexpr uint16_t kCopy32 = 18;
constexpr uint16_t kNested = 32;
constexpr uint16_t kHasPointers = 0x8000;
}  // namespace ByteSwap

using Descriptor = const uint16_t*;

// Element conversion; source and destination may be the same buffer.
void SwapElements(void* destination, const void* source, size_t count, uint16_t code);
void SwapElementsInPlace(void* buffer, size_t count, uint16_t code);
// Reads count elements and converts them in place; the bytes read, or 0 on a short read.
size_t ReadElements(void* buffer, size_t count, uint16_t code, FILE* file);
// Converts a copy and writes it; a null buffer only returns the byte count. 0 on failure.
size_t WriteElements(const void* buffer, size_t count, uint16_t code, FILE* file);

// Same layout on both sides (memory form); pointer runs are zeroed as 8-byte values.
void SwapRecords(void* destination, const void* source, size_t count, Descriptor descriptor);
void SwapRecordsInPlace(void* buffer, size_t count, Descriptor descriptor);
// Disk form to memory form and back. The memory buffer must be 8-aligned.
void UnpackRecords(void* memory, const void* disk, size_t count, Descriptor descriptor);
void PackRecords(void* disk, const void* memory, size_t count, Descriptor descriptor);
size_t RecordDiskSize(size_t count, Descriptor descriptor);
size_t RecordMemorySize(size_t count, Descriptor descriptor);

// Bulk file I/O: one read or write per call. Both return the disk byte count, or
// 0 on a short read or write or a failed allocation. WriteRecords with a null
// buffer writes nothing and returns the size it would write.
size_t ReadRecords(void* buffer, size_t count, Descriptor descriptor, FILE* file);
size_t WriteRecords(const void* buffer, size_t count, Descriptor descriptor, FILE* file);

}  // namespace tamber::tags
