#pragma once
// The in-memory model shared by every model format: vertices, triangles with
// per-corner texture coordinates, and materials with their texture images.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "images/Image.h"

namespace tamber::models {
using namespace tamber::images;

// Model files (3D Metafiles, LightWave objects) larger than this are refused
// before they are read.
constexpr size_t kMaxModelFileBytes = size_t(256) << 20;

struct ModelVertex {
    float position[3] = {0, 0, 0};
    float normal[3] = {0, 0, 0};  // smoothed over the triangles that use the vertex
};

struct ModelCorner {
    uint32_t vertex = 0;
    float u = 0;
    float v = 0;
};

struct ModelTriangle {
    uint32_t material = 0;
    ModelCorner corners[3];
};

struct ModelMaterial {
    Image texture;             // RGBA, or empty when the material has none
    Image alpha;               // optional alpha image, empty when absent
    uint32_t textureName = 0;  // OpenGL texture made by a viewer; 0 when none
    std::string name;
    std::string label;

    // True when the texture has pixels, exactly as many as its size and format need.
    bool HasTexture() const;
};

class Model {
public:
    // Sets the bounding box to the extent of every vertex position; all zero
    // for a model without vertices.
    void ComputeBounds();

    // Sets every vertex normal to the normalised sum of the normals of the
    // triangles that use it (a vertex no triangle uses keeps a zero normal).
    void ComputeVertexNormals();

    float boundsMin[3] = {0, 0, 0};
    float boundsMax[3] = {0, 0, 0};
    std::vector<ModelVertex> vertices;
    std::vector<ModelTriangle> triangles;
    std::vector<ModelMaterial> materials;
};

}  // namespace tamber::models
