#include "terrain/TerrainRecords.h"

namespace tamber::terrain {

using namespace ByteSwap;

// Runtime fields are zero-filled; the three 64-byte strings and the 32-byte string
// lose their last byte.
const uint16_t kMeshHeaderDescriptor[] = {
    1024,
    2, kSwap32, 2, kSwap16, 2, kSwap32, 4, kZero8,   // 0: tagids, block counts, data offset, 16, cleared 20
    2, kSwap32, 4, kZero8, 3, kSwap32, 4, kZero8,    // 24: cell offset, 28, cleared 32, 36, cleared 48
    3, kSwap32, 4, kZero8, 5, kSwap32,               // 52, cleared 64, 68
    10, kSwap16, 1, kSwap32, 1, kSwap16, 2, kZero8,  // 88: shading, 98, pivot 108, 112, cleared 114
    4, kSwap16, 17, kSwap32, 2, kSwap32, 4, kZero8,  // 116, 124, 192, cleared 200
    2, kSwap32, 4, kZero8, 5, kSwap16, 2, kZero8,    // 204, cleared 212, 216, cleared 226
    4, kSwap32, 4, kSwap16, 8, kSwap32, 3, kSwap32, 4, kZero8,  // 228 .. 295, cleared 296
    63, kBytes, 1, kZero8, 63, kBytes, 1, kZero8, 63, kBytes, 1, kZero8,  // strings at 300, 364, 428
    1, kSwap32, 4, kSwap16, 3, kSwap32,              // 492
    31, kBytes, 1, kZero8,                           // string at 516
    446, kZero8,                                     // cleared 548
    7, kSwap16, 16, kBytes,                          // 994, 1008
};
const uint16_t kMeshCellDescriptor[] = {12, 3, kSwap16, 1, kZero16, 1, kSwap16, 1, kZero16};
const uint16_t kMediaWaveDescriptor[] = {12, 6, kSwap16};
const uint16_t kDetailMapHeaderDescriptor[] = {256, 3, kSwap32, 1, kZero32, 1, kSwap32, 1, kZero32, 1, kSwap32,
                                               228, kZero8};
const uint16_t kDetailMaterialDescriptor[] = {64, 1, kSwap32, 4, kBytes, 24, kZero8, 31, kBytes, 1, kZero8};
const uint16_t kOldDetailMapHeaderDescriptor[] = {664, 2, kSwap32, 2, kZero32, 128, kSwap32, 128, kBytes, 8, kZero8};
const uint16_t kDetailTextureHeaderDescriptor[] = {16, 2, kSwap32, 1, kZero32, 1, kSwap32};

}  // namespace tamber::terrain
