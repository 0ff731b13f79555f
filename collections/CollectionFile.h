#pragma once
// Reading and writing the payload of a collection tag (all numbers big-endian).
// The payload is the tag's data, which starts at the tag header's data offset.
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "base/Result.h"
#include "collections/Collection.h"

namespace tamber::collections {

constexpr uint32_t kCollectionGroupCode = 0x2E323536;  // ".256"
constexpr uint16_t kCollectionTagVersion = 4;

// Reads a collection payload. `userFlags` is the tag header's `user` field (the
// collection flags). With `full` false the bitmap data blocks are not decoded and
// sequences are not completed (enough for sequence lists). Fails when a table or
// sequence is damaged; a damaged bitmap alone does not fail the read but becomes a
// placeholder.
base::Result<std::unique_ptr<Collection>> ReadCollection(std::span<const uint8_t> payload, uint32_t userFlags, bool full);

// The tag header fields a collection write fills.
struct CollectionTagFields {
    uint32_t group = kCollectionGroupCode;
    uint32_t user = 0;
    uint16_t version = kCollectionTagVersion;
    uint32_t size = 0;
};

// A written collection: the payload and the tag header fields that go with it.
struct CollectionPayload {
    std::vector<uint8_t> bytes;
    CollectionTagFields fields;
};

// Writes the collection's payload. Fails when the collection cannot be stored: it
// was read without its bitmap data, a bitmap has no stored data (call
// Bitmap::Encode first), or a count exceeds what the 16-bit indices can address.
base::Result<CollectionPayload> WriteCollection(const Collection& collection);

}  // namespace tamber::collections
