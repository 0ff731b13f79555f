#include "models/ModelFromLwo.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "images/MediaFile.h"
#include "images/PixelConvert.h"
#include "models/PolygonTriangulation.h"

namespace tamber::models {
using namespace tamber::base;
using namespace tamber::images;

std::string ClipFileName(const std::string& imageName) {
    const size_t cut = imageName.find_last_of(":/\\");
    return cut == std::string::npos ? imageName : imageName.substr(cut + 1);
}

namespace {

// The folders of a relative image name that stay inside the object's folder
// ("images/" of "images/hull.png", with '\\' read as '/'); empty for a bare
// file name, an absolute or drive-letter name, or one that climbs with "..".
std::string FolderInside(const std::string& imageName) {
    std::string name = imageName;
    std::replace(name.begin(), name.end(), '\\', '/');
    const size_t slash = name.find_last_of('/');
    if (slash == std::string::npos || name[0] == '/' || name.find(':') != std::string::npos) return "";
    std::string folders;
    size_t start = 0;
    while (start <= slash) {
        const size_t end = name.find('/', start);
        const std::string part = name.substr(start, end - start);
        if (part == "..") return "";
        if (!part.empty() && part != ".") folders += part + "/";
        start = end + 1;
    }
    return folders;
}

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

// Faces and subdivision patches (taken as their cage) are surfaces; curves,
// bones and the like are not, nor is anything of fewer than three corners.
bool IsSurface(const LwPolygon& polygon) {
    const bool surfaceType =
        polygon.type == FourCC("FACE") || polygon.type == FourCC("PTCH") || polygon.type == FourCC("SUBD");
    return surfaceType && polygon.vertices.size() >= 3;
}

class LwoModelBuilder {
public:
    LwoModelBuilder(const LwObject& object, const std::string& folder, LwoConversionNotes* notes)
        : object_(object), folder_(folder), notes_(notes) {}

    Model Build();

private:
    uint32_t MaterialFor(int32_t surface);
    void AddLayer(const LwLayer& layer);
    void CornerCoords(const LwLayer& layer, const LwPolygonVertex& vertex, const std::string& mapName,
                      ModelCorner& corner) const;

    const LwObject& object_;
    const std::string& folder_;
    LwoConversionNotes* notes_;
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
    const std::string inFolder = folder_.empty() ? "" : folder_ + "/";
    const std::string below = FolderInside(clip->stillName);
    const bool loaded = usable && ((!below.empty() && LoadTexture(inFolder + below + fileName, material.texture)) ||
                                   LoadTexture(inFolder + fileName, material.texture));
    if (!loaded) {
        material.texture = Image();
        if (notes_) notes_->unreadTextures.push_back(fileName);
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
    std::vector<std::array<float, 3>> positions;
    for (const LwPolygon& polygon : layer.polygons) {
        if (!IsSurface(polygon)) {
            if (notes_) ++notes_->skippedPolygons;
            continue;
        }
        const uint32_t material = MaterialFor(polygon.surface);
        const LwTexture* map =
            polygon.surface >= 0 ? object_.surfaces[size_t(polygon.surface)].FirstUvImageMap() : nullptr;
        positions.clear();
        for (const LwPolygonVertex& vertex : polygon.vertices) {
            const float* p = layer.points[vertex.index].position;
            positions.push_back({p[0], p[1], p[2]});
            float* sum = &normalSums_[size_t(first + vertex.index) * 3];
            sum[0] -= vertex.normal[0];
            sum[1] += vertex.normal[1];
            sum[2] += vertex.normal[2];
        }
        for (const CornerTriangle& corners : TriangulatePolygon(positions)) {
            ModelTriangle& triangle = model_.triangles.emplace_back();
            triangle.material = material;
            for (int k = 0; k < 3; ++k) {
                const LwPolygonVertex& vertex = polygon.vertices[corners[size_t(k)]];
                triangle.corners[k].vertex = first + vertex.index;
                if (map) CornerCoords(layer, vertex, map->vmapName, triangle.corners[k]);
            }
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

Model ModelFromLwObject(const LwObject& object, const std::string& textureFolder, LwoConversionNotes* notes) {
    return LwoModelBuilder(object, textureFolder, notes).Build();
}

Result<Model> ModelFromLwoFile(const std::string& path, LwoConversionNotes* notes) {
    Result<LwObject> object = ReadLwObjectFile(path);
    if (!object) return std::move(object).TakeError();
    const size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    return ModelFromLwObject(*object, folder, notes);
}

}  // namespace tamber::models
