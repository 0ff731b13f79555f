#include "models/Model.h"

#include <algorithm>
#include <cmath>

namespace tamber::models {

bool ModelMaterial::HasTexture() const {
    return texture.width > 0 && texture.height > 0 && BytesPerPixel(texture.format) > 0 &&
           texture.pixels.size() == texture.PixelCount() * BytesPerPixel(texture.format);
}

void Model::ComputeBounds() {
    for (int axis = 0; axis < 3; ++axis) {
        boundsMin[axis] = vertices.empty() ? 0.0f : vertices[0].position[axis];
        boundsMax[axis] = boundsMin[axis];
    }
    for (const ModelVertex& vertex : vertices) {
        for (int axis = 0; axis < 3; ++axis) {
            boundsMin[axis] = std::min(boundsMin[axis], vertex.position[axis]);
            boundsMax[axis] = std::max(boundsMax[axis], vertex.position[axis]);
        }
    }
}

void Model::ComputeVertexNormals() {
    for (ModelVertex& vertex : vertices) std::fill(std::begin(vertex.normal), std::end(vertex.normal), 0.0f);
    for (const ModelTriangle& triangle : triangles) {
        const ModelCorner* c = triangle.corners;
        if (c[0].vertex >= vertices.size() || c[1].vertex >= vertices.size() || c[2].vertex >= vertices.size())
            continue;
        const float* a = vertices[c[0].vertex].position;
        const float* b = vertices[c[1].vertex].position;
        const float* d = vertices[c[2].vertex].position;
        const float e1[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
        const float e2[3] = {d[0] - a[0], d[1] - a[1], d[2] - a[2]};
        const float n[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2], e1[0] * e2[1] - e1[1] * e2[0]};
        for (const ModelCorner& corner : triangle.corners) {
            for (int axis = 0; axis < 3; ++axis) vertices[corner.vertex].normal[axis] += n[axis];
        }
    }
    for (ModelVertex& vertex : vertices) {
        float* n = vertex.normal;
        const float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        if (length > 0 && std::isfinite(length)) {
            for (int axis = 0; axis < 3; ++axis) n[axis] /= length;
        } else {
            std::fill(n, n + 3, 0.0f);
        }
    }
}

}  // namespace tamber::models
