// Collection payloads: any input reads without fault, and what a full read gives
// writes and reads back to the same bytes.
#include <cstdint>
#include <vector>

#include "collections/CollectionFile.h"

using namespace tamber::collections;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::span<const uint8_t> payload(data, size);
    (void)ReadCollection(payload, 0, false);
    auto collection = ReadCollection(payload, 0, true);
    if (!collection)
        return 0;
    auto first = WriteCollection(**collection);
    if (!first)
        return 0;
    auto again = ReadCollection(first->bytes, first->fields.user, true);
    if (!again)
        __builtin_trap();
    auto second = WriteCollection(**again);
    if (!second || first->bytes != second->bytes)
        __builtin_trap();
    return 0;
}
