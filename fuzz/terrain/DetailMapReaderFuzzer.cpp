// Detail map payloads of both versions (the first byte picks the version): any
// input loads without fault, and a loaded map saves and loads back unchanged.
#include <cstdint>
#include <vector>

#include "terrain/DetailMap.h"

using namespace tamber::terrain;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    auto map = LoadDetailMap(std::span<const uint8_t>(data + 1, size - 1), uint16_t(1 + (data[0] & 1)));
    if (!map)
        return 0;
    auto payload = SaveDetailMap(*map);
    if (!payload)
        __builtin_trap();
    auto again = LoadDetailMap(*payload, kDetailMapTagVersion);
    if (!again || again->vertex != map->vertex || again->triangle != map->triangle)
        __builtin_trap();
    return 0;
}
