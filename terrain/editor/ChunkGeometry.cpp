#include "terrain/editor/ChunkGeometry.h"

#include <algorithm>
#include <map>

#include "terrain/TerrainTypes.h"
#include "terrain/editor/LayerWord.h"

namespace tamber::terrain::painting {

namespace {

constexpr float kTexelsPerCell = 1.0f / kMeshBlockCells;

template <class Visit>
void ForEachTriangle(const ChunkCells& cells, Visit visit) {
    for (int z = cells.z0; z < cells.z1; ++z)
        for (int x = cells.x0; x < cells.x1; ++x)
            for (int t = 0; t < 2; ++t)
                visit(x, z, t, TriangleCorners(x, z, t));
}

}  // namespace

ChunkCells ChunkCells::Of(const Mesh& mesh, int blockX, int blockZ) {
    ChunkCells cells;
    cells.x0 = blockX * kMeshBlockCells, cells.z0 = blockZ * kMeshBlockCells;
    cells.x1 = std::min(cells.x0 + kMeshBlockCells, mesh.width - 1);
    cells.z1 = std::min(cells.z0 + kMeshBlockCells, mesh.height - 1);
    cells.x1 = std::max(cells.x1, cells.x0), cells.z1 = std::max(cells.z1, cells.z0);
    return cells;
}

bool VertexPlacement::Animates(const Mesh& mesh, int x, int z) const {
    return wave && x < mesh.width && z < mesh.height && (mesh.Cell(x, z).flags & kCellAnimatedMedia);
}

std::array<float, 3> VertexPlacement::At(const Mesh& mesh, int x, int z) const {
    std::array<float, 3> p{float(x), float(mesh.SurfaceHeight(x, z)), float(z)};
    if (Animates(mesh, x, z)) {
        const WaveOffset offset = ComputeWave(*wave, x, z, ticks);
        p[0] += float(offset.dx), p[1] += float(offset.dHeight), p[2] += float(offset.dz);
    }
    return p;
}

GroundMesh BuildGround(const Mesh& mesh, const ChunkCells& cells, const VertexPlacement& place) {
    GroundMesh ground;
    const int rowLength = cells.x1 - cells.x0 + 1;
    ground.vertices.reserve(size_t(rowLength) * size_t(cells.z1 - cells.z0 + 1));
    for (int z = cells.z0; z <= cells.z1; ++z)
        for (int x = cells.x0; x <= cells.x1; ++x) {
            const auto p = place.At(mesh, x, z);
            ground.vertices.push_back(
                {float(x - cells.x0) * kTexelsPerCell, float(z - cells.z0) * kTexelsPerCell, p[0], p[1], p[2]});
        }
    ground.indices.reserve(size_t(cells.Count()) * 6);
    ForEachTriangle(cells, [&](int, int, int, const auto& corners) {
        for (const auto& c : corners)
            ground.indices.push_back(uint16_t((c[1] - cells.z0) * rowLength + (c[0] - cells.x0)));
    });
    return ground;
}

std::vector<DetailBatch> BuildDetail(const Mesh& mesh, const ChunkCells& cells, const VertexPlacement& place,
                                     const DetailGrid& vertex, const DetailGrid& triangle,
                                     const std::array<DetailScale, 128>& scales) {
    std::map<int, std::vector<DetailVertex>> batches;
    if (vertex.width != mesh.width || triangle.width != mesh.width * 2)
        return {};
    ForEachTriangle(cells, [&](int x, int z, int t, const auto& corners) {
        const uint8_t a = vertex.At(corners[0][0], corners[0][1]), b = vertex.At(corners[1][0], corners[1][1]),
                      c = vertex.At(corners[2][0], corners[2][1]);
        std::array<DetailLayer, 3> layers;
        const int count = UnpackLayers(MakeLayerWord(triangle.At(x * 2 + t, z), a, b, c), layers);
        for (int k = 0; k < count; ++k) {
            const DetailScale& scale = scales[size_t(layers[size_t(k)].material)];
            if (scale.u <= 0 || scale.v <= 0)
                continue;
            std::vector<DetailVertex>& out = batches[layers[size_t(k)].material];
            for (int corner = 0; corner < 3; ++corner) {
                const auto& g = corners[size_t(corner)];
                const auto p = place.At(mesh, g[0], g[1]);
                const uint8_t alpha = (layers[size_t(k)].cornerMask >> corner) & 1 ? 255 : 0;
                out.push_back({float(g[0]) * scale.u, float(g[1]) * scale.v, 255, 255, 255, alpha, p[0], p[1], p[2]});
            }
        }
    });
    std::vector<DetailBatch> result;
    for (auto& [material, vertices] : batches)
        result.push_back({material, std::move(vertices)});
    return result;
}

HighlightMode NextHighlightMode(HighlightMode mode) { return HighlightMode((int(mode) + 1) % 3); }

const char* HighlightModeName(HighlightMode mode) {
    switch (mode) {
    case HighlightMode::kReflectivity: return "Reflectivity";
    case HighlightMode::kTerrainType: return "Terrain Type";
    default: return "Texture Index";
    }
}

std::vector<TintVertex> BuildHighlight(const Mesh& mesh, const ChunkCells& cells, const VertexPlacement& place,
                                       const HighlightInput& input) {
    std::vector<TintVertex> vertices;
    const auto& colours = *input.colours;
    auto emit = [&](const auto& corners, const std::array<uint8_t, 3>& rgb, const std::array<uint8_t, 3>& alpha) {
        for (size_t corner = 0; corner < 3; ++corner) {
            const auto p = place.At(mesh, corners[corner][0], corners[corner][1]);
            vertices.push_back({rgb[0], rgb[1], rgb[2], alpha[corner], p[0], p[1], p[2]});
        }
    };
    auto colourOf = [&](int index) {
        return std::array<uint8_t, 3>{colours[size_t(index) * 3], colours[size_t(index) * 3 + 1], colours[size_t(index) * 3 + 2]};
    };
    ForEachTriangle(cells, [&](int x, int z, int t, const auto& corners) {
        const uint16_t flags = mesh.Cell(x, z).flags;
        switch (input.mode) {
        case HighlightMode::kReflectivity:
            if (flags & (t == 0 ? kCellFirstReflective : kCellSecondReflective))
                emit(corners, colourOf(0), {127, 127, 127});
            break;
        case HighlightMode::kTerrainType: {
            const TerrainType& type = GetTerrainType(t == 0 ? (flags & kCellFirstTypeMask) >> 4 : flags & kCellSecondTypeMask);
            emit(corners, {type.red, type.green, type.blue}, {127, 127, 127});
            break;
        }
        case HighlightMode::kTextureIndex:
            if (!input.highlighted || !input.vertex || !input.triangle)
                break;
            if (input.brushMode == BrushMode::kTriangle) {
                const uint8_t value = input.triangle->At(x * 2 + t, z);
                if ((*input.highlighted)[value])
                    emit(corners, colourOf(value), {127, 127, 127});
                break;
            }
            // Each highlighted corner tints the triangle, fading towards the others.
            for (size_t corner = 0; corner < 3; ++corner) {
                const uint8_t value = input.vertex->At(corners[corner][0], corners[corner][1]);
                if (!(*input.highlighted)[value])
                    continue;
                std::array<uint8_t, 3> alpha{0, 0, 0};
                alpha[corner] = 127;
                emit(corners, colourOf(value), alpha);
            }
            break;
        }
    });
    return vertices;
}

}  // namespace tamber::terrain::painting
