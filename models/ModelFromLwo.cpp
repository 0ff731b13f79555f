#include "models/ModelFromLwo.h"

#include <cmath>
#include <map>

#include "images/MediaFile.h"
#include "images/PixelConvert.h"

namespace tamber::models {
using namespace tamber::base;
using namespace tamber::images;

std::string ClipFileName(const std::string& imageName) {
    const size_t cut = imageName.find_last_of(":/\\");
    return cut == std::string::npos ? imageName : imageName.substr(cut + 1);
}

namespace {

// Reads a texture file as RGBA, with its transparency applied; other pixel
// formats are expanded to RGBA.
bool LoadTexture(const std::string& path, Image& texture) {
    MediaFile file(path);
    file.kind = kMediaImage;
    file.transparency = Transparency::kApply;
    if (!LoadImage(file)) return false;
    if (file.image.format != kPixelRGBA && !Convert(file.image, kPixelRGBA)) return false;
    texture = std::move(file.image);
    return true;
}

class LwoModelBuilder {
public:
    LwoModelBuilder(const LwObject& object, const std::string& folder, std::vector<std::string>* unread)
        : object_(object), folder_(folder), unread_(unread) {}

    Model Build();

private:
    uint32_t MaterialFor(int32_t surface);
    void AddLayer(const LwLayer& layer);
    void CornerCoords(const LwLayer& layer, const LwPolygonVertex& vertex, const std::string& mapName,
                      ModelCorner& corner) const;

    const LwObject& object_;
    const std::string& folder_;
    std::vector<std::string>* unread_;
    Model model_;
    std::map<int32_t, uint32_t> materialOfSurface_;
    std::vector<float> normalSums_;
};

uint32_t LwoModelBuilder::MaterialFor(int32_t surfaceIndex) {
    auto found = materialOfSurface_.find(surfaceIndex);
    if (found != materialOfSurface_.end()) return found->second;
    const uint32_t index = uint32_t(model_.materials.size());
    materialOfSurface_[surfaceIndex] = index;
    ModelMaterial& material = model_.materials.emplace_back();
    if (surfaceIndex < 0) {
        material.name = material.label = "Default";
        return index;
    }
    const LwSurface& surface = object_.surfaces[size_t(surfaceIndex)];
    material.name = material.label = surface.name;
    const LwTexture* map = surface.FirstUvImageMap();
    const LwClip* clip = map ? object_.FindClip(map->clipIndex) : nullptr;
    if (!clip || clip->sequence) return index;
    const std::string fileName = ClipFileName(clip->stillName);
    material.label = fileName;
    const bool usable = !fileName.empty() && fileName != "." && fileName != "..";
    if (!usable || !LoadTexture(folder_.empty() ? fileName : folder_ + "/" + fileName, material.texture)) {
        material.texture = Image();
        if (unread_) unread_->push_back(fileName);
    }
    return index;
}

void LwoModelBuilder::CornerCoords(const LwLayer& layer, const LwPolygonVertex& vertex, const std::string& mapName,
                                   ModelCorner& corner) const {
    auto lookup = [&](const std::vector<LwVMapRef>& refs) -> const float* {
        for (const LwVMapRef& ref : refs) {
            const LwVMap& map = layer.vmaps[ref.vmap];
            if (map.type == FourCC("TXUV") && map.dimension >= 2 && map.name == mapName) return map.Value(ref.entry);
        }
        return nullptr;
    };
    const float* uv = lookup(vertex.vmaps);
    if (!uv) uv = lookup(layer.points[vertex.index].vmaps);
    if (uv) {
        corner.u = uv[0];
        corner.v = 1.0f - uv[1];
    }
}

void LwoModelBuilder::AddLayer(const LwLayer& layer) {
    const uint32_t first = uint32_t(model_.vertices.size());
    for (const LwPoint& point : layer.points) {
        ModelVertex& vertex = model_.vertices.emplace_back();
        vertex.position[0] = -point.position[0];
        vertex.position[1] = point.position[1];
        vertex.position[2] = point.position[2];
    }
    normalSums_.resize(model_.vertices.size() * 3, 0.0f);
    for (const LwPolygon& polygon : layer.polygons) {
        if (polygon.type != FourCC("FACE") || polygon.vertices.size() < 3) continue;
        ModelTriangle& triangle = model_.triangles.emplace_back();
        triangle.material = MaterialFor(polygon.surface);
        const LwTexture* map =
            polygon.surface >= 0 ? object_.surfaces[size_t(polygon.surface)].FirstUvImageMap() : nullptr;
        for (int k = 0; k < 3; ++k) {
            const LwPolygonVertex& vertex = polygon.vertices[size_t(k)];
            triangle.corners[k].vertex = first + vertex.index;
            if (map) CornerCoords(layer, vertex, map->vmapName, triangle.corners[k]);
            float* sum = &normalSums_[size_t(first + vertex.index) * 3];
            sum[0] -= vertex.normal[0];
            sum[1] += vertex.normal[1];
            sum[2] += vertex.normal[2];
        }
    }
}

Model LwoModelBuilder::Build() {
    for (const LwLayer& layer : object_.layers) AddLayer(layer);
    for (size_t i = 0; i < model_.vertices.size(); ++i) {
        const float* sum = &normalSums_[i * 3];
        const float length = std::sqrt(sum[0] * sum[0] + sum[1] * sum[1] + sum[2] * sum[2]);
        if (length > 0 && std::isfinite(length)) {
            for (int axis = 0; axis < 3; ++axis) model_.vertices[i].normal[axis] = sum[axis] / length;
        }
    }
    model_.ComputeBounds();
    return std::move(model_);
}

}  // namespace

Model ModelFromLwObject(const LwObject& object, const std::string& textureFolder,
                        std::vector<std::string>* unreadTextures) {
    return LwoModelBuilder(object, textureFolder, unreadTextures).Build();
}

Result<Model> ModelFromLwoFile(const std::string& path, std::vector<std::string>* unreadTextures) {
    Result<LwObject> object = ReadLwObjectFile(path);
    if (!object) return std::move(object).TakeError();
    const size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    return ModelFromLwObject(*object, folder, unreadTextures);
}

}  // namespace tamber::models
