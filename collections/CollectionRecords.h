#pragma once
// The records of a collection payload in memory form, with their byte-swap
// descriptors. Field names follow the disk layout; reserved fields are zero-filled.
#include <cstdint>

#include "tags/ByteSwap.h"

namespace tamber::collections {
using namespace tamber::tags;

struct TableRecord {
    uint32_t count, offset, size, reserved;
};

struct CollectionHeaderRecord {
    uint32_t word, flags;
    uint8_t reserved1[56];
    TableRecord tables[8];
    uint8_t reserved2[56];
    uint32_t tableBase, totalSize;
    uint8_t reserved3[64];
};

struct ColourTableRecord {
    uint32_t count;
    uint8_t reserved[28];
    uint16_t entries[256][4];  // red, green, blue (8 bits in the high byte), zero
};

struct HueChangeRecord {
    char name[64];
    uint16_t startHue, endHue;
    uint8_t affected[32];
    uint16_t minSaturation, medianHue, use, kept[3], red, green, blue, reversed;
    uint8_t solid[8];
};

struct BitmapRefRecord {
    char name[64];
    uint32_t offset, size, reserved;
    int16_t width, height;
    uint8_t reserved2[32];
    uint8_t kept[16];
};

struct ViewRecord {
    uint32_t flags;
    uint8_t reserved1[8];
    int16_t regX, regY;
    uint8_t reserved2[8];
    int16_t pointX, pointY;
    uint16_t bitmap, secondBitmap;
    uint32_t secondScale;
    int16_t secondRegX, secondRegY;
    uint8_t reserved3[24];
};

struct SequenceRefRecord {
    char name[64];
    uint32_t offset, size;
    uint8_t reserved[56];
};

struct FrameRecord {
    uint32_t flags, word4, word8;
    uint16_t bitmap, reserved;
    uint8_t reserved2[16];
};

struct SequenceHeaderRecord {
    uint32_t flags, kept4;
    uint16_t viewCount, frameCount, ticksPerFrame, keyFrame, loopFrame, kept18[3];
    uint32_t firstSound, keySound, lastSound;
    uint16_t mode, transferPeriod;
    uint32_t regX, kept44, regY;
    uint16_t kept52[3];
    uint8_t reserved[6];
};

struct FrameEntryRecord {
    uint16_t frameRecord, words[3];
    uint8_t reserved[38];
};

struct BitmapHeaderRecord {
    int16_t width, height;
    uint16_t bytesPerRow, flags, bitsPerPixel;
    uint8_t reserved[4];
    uint16_t sizeCode, encoding;
    uint8_t reserved2[34];
};

static_assert(sizeof(CollectionHeaderRecord) == 320 && sizeof(ColourTableRecord) == 2080 &&
              sizeof(HueChangeRecord) == 128 && sizeof(BitmapRefRecord) == 128 && sizeof(ViewRecord) == 64 &&
              sizeof(SequenceRefRecord) == 128 && sizeof(FrameRecord) == 32 && sizeof(SequenceHeaderRecord) == 64 &&
              sizeof(FrameEntryRecord) == 46 && sizeof(BitmapHeaderRecord) == 52);

extern const uint16_t kCollectionHeaderDescriptor[];
extern const uint16_t kColourTableDescriptor[];
extern const uint16_t kHueChangeDescriptor[];
extern const uint16_t kBitmapRefDescriptor[];
extern const uint16_t kViewRecordDescriptor[];
extern const uint16_t kSequenceRefDescriptor[];
extern const uint16_t kFrameRecordDescriptor[];
extern const uint16_t kSequenceHeaderDescriptor[];
extern const uint16_t kFrameEntryDescriptor[];
extern const uint16_t kBitmapHeaderDescriptor[];

}  // namespace tamber::collections
