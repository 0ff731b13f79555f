// Reads arbitrary bytes as a geometry tag's payload. Whatever is accepted must
// name only vertices and materials it has, build a model without textures, and
// be written back to bytes that read as the same geometry.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "models/import/GeometryPayload.h"
#include "models/import/ModelFromGeometry.h"

using namespace tamber::base;
using namespace tamber::models;
using namespace tamber::models::import;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Result<Geometry> geometry = ReadGeometryPayload(std::span<const uint8_t>(data, size));
    if (!geometry) return 0;
    const Model model = ModelFromGeometry(*geometry, nullptr);
    for (const ModelTriangle& triangle : model.triangles) {
        if (triangle.material >= model.materials.size()) std::abort();
        for (const ModelCorner& corner : triangle.corners) {
            if (corner.vertex >= model.vertices.size()) std::abort();
        }
    }
    const std::vector<uint8_t> written = WriteGeometryPayload(*geometry);
    Result<Geometry> again = ReadGeometryPayload(written);
    if (!again || WriteGeometryPayload(*again) != written) std::abort();
    return 0;
}
