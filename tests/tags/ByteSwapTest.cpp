#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/fs/UniqueFile.h"
#include "tags/ByteSwap.h"
#include "tags/TagHeader.h"

using namespace tamber::platform;
using namespace tamber::tags;

namespace {

UniqueFile TempStream() { return UniqueFile(std::tmpfile()); }

}  // namespace

TEST(ByteSwap, ElementCodesConvertCopyAndZero) {
    const uint8_t source[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    uint8_t out[8];
    SwapElements(out, source, 2, ByteSwap::kSwap32);
    EXPECT_EQ(0, std::memcmp(out, "\4\3\2\1\10\7\6\5", 8));
    SwapElements(out, source, 4, ByteSwap::kSwap16);
    EXPECT_EQ(0, std::memcmp(out, "\2\1\4\3\6\5\10\7", 8));
    SwapElements(out, source, 2, ByteSwap::kCopy32);
    EXPECT_EQ(0, std::memcmp(out, source, 8));
    SwapElements(out, source, 2, ByteSwap::kZero32);
    EXPECT_EQ(0, std::memcmp(out, "\0\0\0\0\0\0\0\0", 8));
    uint8_t inPlace[4] = {9, 8, 7, 6};
    SwapElementsInPlace(inPlace, 1, ByteSwap::kSwap32);
    EXPECT_EQ(0, std::memcmp(inPlace, "\6\7\10\11", 4));
}

TEST(ByteSwap, RecordsWithoutPointersRoundTripAndMeasure) {
    // Archive header descriptor: no pointers, so memory and disk sizes agree.
    const uint16_t descriptor[] = {128, 2, 1, 31, 0, 1, 4, 63, 0, 1, 4, 2, 1, 6, 2};
    std::vector<uint8_t> disk(256);
    for (size_t i = 0; i < disk.size(); ++i) disk[i] = static_cast<uint8_t>(i * 7 + 1);
    // Terminator bytes of the two text fields are zero on a well-formed record.
    disk[35] = disk[99] = disk[128 + 35] = disk[128 + 99] = 0;
    std::vector<uint8_t> memory(256), back(256);
    UnpackRecords(memory.data(), disk.data(), 2, descriptor);
    PackRecords(back.data(), memory.data(), 2, descriptor);
    EXPECT_EQ(disk, back);
    EXPECT_EQ(memory[0], disk[1]);  // the 16-bit type swapped
    EXPECT_EQ(256u, RecordMemorySize(2, descriptor));
    std::vector<uint8_t> swapped(256);
    SwapRecords(swapped.data(), disk.data(), 2, descriptor);
    EXPECT_EQ(memory, swapped);
}

TEST(ByteSwap, PointerRunsArePaddedToEightInMemory) {
    const uint16_t descriptor[] = {16 | ByteSwap::kHasPointers, 2, 2, 1, 14, 1, 2};
    EXPECT_EQ(20u, RecordMemorySize(1, descriptor));
    EXPECT_EQ(44u, RecordMemorySize(2, descriptor));

    alignas(8) uint8_t memory[44];
    std::memset(memory, 0xAB, sizeof memory);
    const uint8_t disk[32] = {0, 0, 0, 1, 0, 0, 0, 2, 9, 9, 9, 9, 0, 0, 0, 3,
                              0, 0, 0, 4, 0, 0, 0, 5, 9, 9, 9, 9, 0, 0, 0, 6};
    UnpackRecords(memory, disk, 2, descriptor);
    uint32_t v;
    std::memcpy(&v, memory + 4, 4);
    EXPECT_EQ(2u, v);
    for (int i = 8; i < 16; ++i) EXPECT_EQ(0, memory[i]) << i;  // first pointer
    std::memcpy(&v, memory + 16, 4);
    EXPECT_EQ(3u, v);
    std::memcpy(&v, memory + 20, 4);
    EXPECT_EQ(4u, v);  // second record starts at 20
    for (int i = 28; i < 40; ++i) EXPECT_EQ(0, memory[i]) << i;  // padding, then the pointer at 32
    std::memcpy(&v, memory + 40, 4);
    EXPECT_EQ(6u, v);

    // Pointers in memory are never written to disk.
    std::memset(memory + 8, 0x55, 8);
    std::memset(memory + 32, 0x55, 8);
    uint8_t packed[32];
    std::memset(packed, 0xEE, sizeof packed);
    PackRecords(packed, memory, 2, descriptor);
    for (int i : {8, 9, 10, 11, 24, 25, 26, 27}) EXPECT_EQ(0, packed[i]) << i;
    EXPECT_EQ(6, packed[31]);
    EXPECT_EQ(1, packed[3]);

    const UniqueFile stream = TempStream();
    FILE* f = stream.get();
    EXPECT_EQ(32u, WriteRecords(memory, 2, descriptor, f));
    EXPECT_EQ(32u, WriteRecords(nullptr, 2, descriptor, nullptr));
    EXPECT_EQ(32, std::ftell(f));
    std::rewind(f);
    alignas(8) uint8_t reread[44];
    EXPECT_EQ(32u, ReadRecords(reread, 2, descriptor, f));
    std::memcpy(&v, reread + 40, 4);
    EXPECT_EQ(6u, v);
    std::rewind(f);
    EXPECT_EQ(0u, ReadRecords(reread, 3, descriptor, f));  // short read
}

TEST(ByteSwap, NestedRecordsFollowTheirInlineDescriptor) {
    // Outer: a 32-bit count, two nested {32-bit, pointer} records, a trailing 32-bit value.
    const uint16_t descriptor[] = {24 | ByteSwap::kHasPointers, 1, 2, 2, 32, 8 | ByteSwap::kHasPointers,
                                   1, 2, 1, 14, 1, 2};
    // Memory: count 0, first value 4, pointer 8, second value 16, padding, pointer 24, last 32.
    EXPECT_EQ(36u, RecordMemorySize(1, descriptor));
    const uint8_t disk[24] = {0, 0, 0, 2, 0, 0, 0, 7, 1, 1, 1, 1, 0, 0, 0, 8, 1, 1, 1, 1, 0, 0, 0, 9};
    alignas(8) uint8_t memory[36];
    std::memset(memory, 0xAB, sizeof memory);
    UnpackRecords(memory, disk, 1, descriptor);
    uint32_t count, first, second, last;
    std::memcpy(&count, memory, 4);
    std::memcpy(&first, memory + 4, 4);
    std::memcpy(&second, memory + 16, 4);
    std::memcpy(&last, memory + 32, 4);
    EXPECT_EQ(2u, count);
    EXPECT_EQ(7u, first);
    EXPECT_EQ(8u, second);
    EXPECT_EQ(9u, last);
    for (int i = 20; i < 32; ++i) EXPECT_EQ(0, memory[i]) << i;
    uint8_t back[24];
    PackRecords(back, memory, 1, descriptor);
    const uint8_t expected[24] = {0, 0, 0, 2, 0, 0, 0, 7, 0, 0, 0, 0, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0, 9};
    EXPECT_EQ(0, std::memcmp(back, expected, 24));
}

TEST(ByteSwap, NameFieldAlwaysEndsInZeroAndFileElements) {
    const uint16_t descriptor[] = {32, 31, 0, 1, 4};
    uint8_t disk[32];
    std::memset(disk, 'x', sizeof disk);
    char name[32];
    UnpackRecords(name, disk, 1, descriptor);
    EXPECT_EQ(31u, strnlen(name, 32));

    const UniqueFile stream = TempStream();
    FILE* f = stream.get();
    const uint16_t values[2] = {0x1234, 0xABCD};
    EXPECT_EQ(4u, WriteElements(values, 2, ByteSwap::kSwap16, f));
    EXPECT_EQ(4u, WriteElements(nullptr, 2, ByteSwap::kSwap16, f));
    std::rewind(f);
    uint8_t raw[4];
    ASSERT_EQ(4u, std::fread(raw, 1, 4, f));
    EXPECT_EQ(0, std::memcmp(raw, "\x12\x34\xAB\xCD", 4));
    std::rewind(f);
    uint16_t reread[2];
    EXPECT_EQ(4u, ReadElements(reread, 2, ByteSwap::kSwap16, f));
    EXPECT_EQ(0xABCD, reread[1]);
    EXPECT_EQ(0u, ReadElements(reread, 1, ByteSwap::kSwap16, f));
}
