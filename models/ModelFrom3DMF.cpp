#include "models/ModelFrom3DMF.h"

#include <cstdio>

namespace tamber::models {
using namespace tamber::base;

namespace {

void AddMeshMaterial(Model& model, ParsedMesh& mesh, size_t index) {
    ModelMaterial& material = model.materials.emplace_back();
    char name[32];
    std::snprintf(name, sizeof name, "Pixmap%zu", index);
    material.name = name;
    material.label = name;
    if (mesh.pixmap.width > 0 && mesh.pixmap.height > 0) {
        material.texture.format = kPixelRGBA;
        material.texture.width = int32_t(mesh.pixmap.width);
        material.texture.height = int32_t(mesh.pixmap.height);
        material.texture.pixels = std::move(mesh.pixmap.pixels);
    }
}

}  // namespace

Model ModelFromParsedMeshes(std::vector<ParsedMesh>& meshes) {
    Model model;
    size_t pointTotal = 0;
    size_t triangleTotal = 0;
    for (const ParsedMesh& mesh : meshes) {
        pointTotal += mesh.points.size();
        triangleTotal += mesh.triangles.size();
    }
    model.vertices.reserve(pointTotal);
    model.triangles.reserve(triangleTotal);
    for (size_t m = 0; m < meshes.size(); ++m) {
        ParsedMesh& mesh = meshes[m];
        const size_t first = model.vertices.size();
        const size_t pointCount = mesh.points.size();
        AddMeshMaterial(model, mesh, m);
        for (const auto& point : mesh.points) {
            ModelVertex& vertex = model.vertices.emplace_back();
            for (int axis = 0; axis < 3; ++axis) vertex.position[axis] = point[axis];
        }
        const bool hasCoords = mesh.textureCoords.size() == pointCount;
        for (const auto& indices : mesh.triangles) {
            ModelTriangle triangle;
            triangle.material = uint32_t(m);
            bool inMesh = true;
            bool inModel = true;
            for (int k = 0; k < 3; ++k) {
                const int64_t index = indices[k];
                inMesh = inMesh && index >= 0 && size_t(index) < pointCount;
                inModel = inModel && index >= 0 && first + size_t(index) < pointTotal;
                triangle.corners[k].vertex = uint32_t(first + size_t(std::max<int64_t>(index, 0)));
            }
            // A corner outside every mesh names no vertex at all: such a triangle is dropped.
            if (!inModel) continue;
            if (inMesh && hasCoords) {
                for (int k = 0; k < 3; ++k) {
                    triangle.corners[k].u = mesh.textureCoords[size_t(indices[k])][0];
                    triangle.corners[k].v = mesh.textureCoords[size_t(indices[k])][1];
                }
            }
            model.triangles.push_back(triangle);
        }
    }
    model.ComputeBounds();
    model.ComputeVertexNormals();
    return model;
}

Result<Model> ModelFrom3DMF(const std::string& path, std::string* warning) {
    auto meshes = Read3DMFFile(path, warning);
    if (!meshes) return std::move(meshes).TakeError();
    if (meshes->empty()) return Fail("the 3D Metafile holds no mesh");
    return ModelFromParsedMeshes(*meshes);
}

}  // namespace tamber::models
