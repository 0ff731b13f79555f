// Collection payloads: any input reads without fault, and what a full read gives
// writes and reads back to the same bytes.
#include <cstdint>
#include <vector>

#include "collections/CollectionFile.h"

using namespace tamber::collections;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::span<const uint8_t> payload(data, size);
    ReadCollection(payload, 0, false);
    auto collection = ReadCollection(payload, 0, true);
    if (!collection)
        return 0;
    std::vector<uint8_t> first, second;
    CollectionTagFields fields;
    if (!WriteCollection(*collection, first, fields))
        return 0;
    auto again = ReadCollection(first, fields.user, true);
    if (!again || !WriteCollection(*again, second, fields) || first != second)
        __builtin_trap();
    return 0;
}
