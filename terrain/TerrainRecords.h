#pragma once
// The records of mesh, media, detail-map and detail-texture payloads in memory
// form, with their byte-swap descriptors.
#include <cstdint>

#include "tags/ByteSwap.h"

namespace tamber::terrain {
using namespace tamber::tags;

// The mesh header is kept whole (1024 bytes, memory form); these are the offsets used.
namespace mesh_header {
constexpr size_t kSize = 1024;
constexpr size_t kColourMap = 0, kMedia = 4, kBlocksWide = 8, kBlocksHigh = 10, kDataOffset = 12,
                 kCellOffset = 24, kShadeBelow = 88, kShadeAbove = 90, kShadeTarget = 92, kShadePivot = 108;
}  // namespace mesh_header

struct MeshCellRecord {
    int16_t height;
    uint16_t word1, flags, cleared3;
    int16_t media;
    uint16_t cleared5;
};

struct MediaWaveRecord {
    uint16_t amplitude[3], frequency[3];  // x, y, z
};
constexpr size_t kMediaWaveOffset = 104;
constexpr size_t kMediaPayloadSize = 256;

struct DetailMapHeaderRecord {
    uint32_t width, height, vertexOffset, cleared1, triangleOffset, cleared2, materialOffset;
    uint8_t reserved[228];
};

struct DetailMaterialRecord {
    uint32_t tagid;
    uint8_t scaleMinusOne, red, green, blue;
    uint8_t reserved[24];
    char description[32];
};

struct OldDetailMapHeaderRecord {
    uint32_t width, height, cleared[2];
    uint32_t tagids[128];
    uint8_t scales[128];
    uint8_t reserved[8];
};

struct DetailTextureHeaderRecord {
    uint32_t width, height, pointer, word12;
};

static_assert(sizeof(MeshCellRecord) == 12 && sizeof(MediaWaveRecord) == 12 && sizeof(DetailMapHeaderRecord) == 256 &&
              sizeof(DetailMaterialRecord) == 64 && sizeof(OldDetailMapHeaderRecord) == 664 &&
              sizeof(DetailTextureHeaderRecord) == 16);

extern const uint16_t kMeshHeaderDescriptor[];
extern const uint16_t kMeshCellDescriptor[];
extern const uint16_t kMediaWaveDescriptor[];
extern const uint16_t kDetailMapHeaderDescriptor[];
extern const uint16_t kDetailMaterialDescriptor[];
extern const uint16_t kOldDetailMapHeaderDescriptor[];
extern const uint16_t kDetailTextureHeaderDescriptor[];

}  // namespace tamber::terrain
