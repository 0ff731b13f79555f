// Reads arbitrary bytes as a LightWave object and builds a model from it.
#include <cstdint>

#include "models/LwObject.h"
#include "models/ModelFromLwo.h"

using namespace tamber::base;
using namespace tamber::models;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Result<LwObject> object = ReadLwObject(data, size);
    if (!object) return 0;
    // Texture names come from the input: look for them where nothing is.
    Model model = ModelFromLwObject(*object, "/nonexistent/tamber-fuzz");
    for (const ModelTriangle& triangle : model.triangles) {
        if (triangle.material >= model.materials.size()) __builtin_trap();
        for (const ModelCorner& corner : triangle.corners) {
            if (corner.vertex >= model.vertices.size()) __builtin_trap();
        }
    }
    return 0;
}
