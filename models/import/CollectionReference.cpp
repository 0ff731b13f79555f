#include "models/import/CollectionReference.h"

#include "collections/BigEndianReader.h"
#include "collections/BigEndianWriter.h"

namespace tamber::models::import {
using namespace tamber::base;
using namespace tamber::collections;

std::vector<uint8_t> WriteCollectionReference(uint32_t collectionTagid) {
    std::vector<uint8_t> bytes(kCollectionReferenceSize, 0);
    BigEndianWriter out(bytes);
    out.U32(collectionTagid);
    out.U32(1);
    for (int i = 0; i < 80; ++i) out.U32(0xFFFFFFFF);
    out.U32(0xFFFFFFFF);
    return bytes;
}

Result<uint32_t> ReadCollectionReference(std::span<const uint8_t> payload) {
    BigEndianReader in(payload);
    const uint32_t tagid = in.U32();
    if (!in.Ok()) return Fail("the collection reference is cut short");
    return tagid;
}

}  // namespace tamber::models::import
