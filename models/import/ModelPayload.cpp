#include "models/import/ModelPayload.h"

#include "collections/BigEndianWriter.h"
#include "models/import/Footprint.h"

namespace tamber::models::import {
using namespace tamber::collections;

std::vector<uint8_t> WriteModelPayload(const Geometry& geometry, uint32_t geometryTagid) {
    const std::vector<FootprintCell> footprint = ComputeFootprint(geometry);
    const size_t flagCount = geometry.vertices.size();
    const size_t partCount = 1;

    std::vector<uint8_t> bytes;
    BigEndianWriter out(bytes);
    // The arrays first, from the data start on; an empty one takes no place.
    out.Seek(kModelDataStart);
    for (const auto& vertex : geometry.vertices) out.U32(vertex[2] == 0 ? 1 : 0);
    const uint32_t flagsSize = uint32_t(out.Position() - kModelDataStart);
    // The part record: a zero word, 32 carried bytes (zero for a new model) and 30 zero bytes.
    out.Zeros(kModelPartSize * partCount);
    const uint32_t partsSize = uint32_t(kModelPartSize * partCount);
    for (const FootprintCell& cell : footprint) {
        out.U16(uint16_t(cell.x));
        out.U16(uint16_t(cell.y));
        out.U16(cell.value);
        out.U16(0);
    }
    const uint32_t footprintSize = uint32_t(footprint.size() * kFootprintEntrySize);

    const uint32_t flagsAt = 0, partsAt = flagsSize, footprintAt = flagsSize + partsSize;
    out.Seek(0);
    out.U32(0);
    out.U32(geometryTagid);
    out.U16(0);
    out.U16(uint16_t(flagCount));
    out.U16(uint16_t(partCount));
    out.U16(uint16_t(footprint.size()));
    out.U32(flagCount ? flagsAt : 0);
    out.U32(flagsSize);
    out.U32(0);
    out.U32(partsAt);
    out.U32(partsSize);
    out.U32(0);
    out.U32(footprint.empty() ? 0 : footprintAt);
    out.U32(footprintSize);
    out.U32(0);
    out.U32(kModelDataStart);
    out.U32(flagsSize + partsSize + footprintSize);
    out.U32(0);
    return bytes;
}

}  // namespace tamber::models::import
