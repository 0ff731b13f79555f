// Mesh and media payloads: any input loads without fault, and the geometry of a
// loaded mesh can be sampled everywhere, including just outside its edges.
#include <cstdint>

#include "terrain/MediaWave.h"
#include "terrain/Mesh.h"

using namespace tamber::terrain;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::span<const uint8_t> payload(data, size);
    const MediaWave wave = LoadMediaWave(payload);
    ComputeWave(wave, 3, 4, 1000);
    auto mesh = LoadMesh(payload, kMeshTagVersion);
    if (!mesh)
        return 0;
    for (int z = -1; z <= mesh->height; z += 7)
        for (int x = -1; x <= mesh->width; x += 5)
            mesh->HeightAt(x + 0.3, z + 0.6);
    return 0;
}
