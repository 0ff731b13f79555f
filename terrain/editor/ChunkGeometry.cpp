#include "terrain/editor/ChunkGeometry.h"

#include <algorithm>

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

std::vector<GroundVertex> BuildGround(const Mesh& mesh, const ChunkCells& cells, const VertexPlacement& place) {
    std::vector<GroundVertex> vertices;
    vertices.reserve(size_t(cells.x1 - cells.x0 + 1) * size_t(cells.z1 - cells.z0 + 1) * 2);
    for (int z = cells.z0; z <= cells.z1; ++z)
        for (int x = cells.x0; x <= cells.x1; ++x) {
            const auto p = place.At(mesh, x, z);
            vertices.push_back({float(x - cells.x0) * kTexelsPerCell, float(z - cells.z0) * kTexelsPerCell, float(x),
                                float(z), p[0], p[1], p[2]});
        }
    const size_t points = vertices.size();
    for (size_t i = 0; i < points; ++i) vertices.push_back(vertices[i]);
    return vertices;
}

std::array<uint16_t, 3> GroundTriangle(const ChunkCells& cells, int x, int z, int t) {
    const auto corners = TriangleCorners(x, z, t);
    const int rowLength = cells.x1 - cells.x0 + 1, points = rowLength * (cells.z1 - cells.z0 + 1);
    // The first triangle always has corner (x, z), the second (x + 1, z + 1).
    const std::array<int, 2> own = t == 0 ? std::array<int, 2>{x, z} : std::array<int, 2>{x + 1, z + 1};
    const size_t last = corners[0] == own ? 0 : corners[1] == own ? 1 : 2;
    std::array<uint16_t, 3> indices{};
    for (size_t k = 0; k < 3; ++k) {
        const auto& c = corners[(last + 1 + k) % 3];
        const int point = (c[1] - cells.z0) * rowLength + (c[0] - cells.x0);
        indices[k] = uint16_t(k == 2 ? point + t * points : point);
    }
    return indices;
}

ChunkTriangles SortTriangles(const Mesh& mesh, const ChunkCells& cells, const VertexPlacement& place,
                             const DetailGrid* vertex, const DetailGrid* triangle,
                             const std::array<DetailScale, 128>& scales) {
    const bool details = vertex && triangle && vertex->width == mesh.width && triangle->width == mesh.width * 2 &&
                         vertex->height == mesh.height && triangle->height == mesh.height;
    std::array<std::vector<LayerVertex>, 128> layers;
    std::vector<uint16_t> plain, detailed;
    plain.reserve(size_t(cells.Count()) * 6);
    auto textured = [&](int material) { return scales[size_t(material)].u > 0 && scales[size_t(material)].v > 0; };
    ForEachTriangle(cells, [&](int x, int z, int t, const auto& corners) {
        const std::array<uint16_t, 3> ground = GroundTriangle(cells, x, z, t);
        std::array<DetailLayer, 3> found;
        int count = 0;
        if (details) {
            const uint8_t a = vertex->At(corners[0][0], corners[0][1]), b = vertex->At(corners[1][0], corners[1][1]),
                          c = vertex->At(corners[2][0], corners[2][1]);
            count = UnpackLayers(MakeLayerWord(triangle->At(x * 2 + t, z), a, b, c), found);
        }
        // Runs are drawn by material: so are a triangle's layers, first to last.
        std::sort(found.begin(), found.begin() + count,
                  [](const DetailLayer& l, const DetailLayer& r) { return l.material < r.material; });
        int drawn = 0;
        for (int k = 0; k < count; ++k) {
            const DetailLayer& layer = found[size_t(k)];
            if (!textured(layer.material)) continue;
            const bool first = drawn++ == 0;
            for (size_t corner = 0; corner < 3; ++corner) {
                const auto& g = corners[corner];
                const auto p = place.At(mesh, g[0], g[1]);
                const uint8_t alpha = (layer.cornerMask >> corner) & 1 ? 255 : 0, mix = first ? alpha : 255;
                layers[size_t(layer.material)].push_back({float(g[0] - cells.x0) * kTexelsPerCell,
                                                          float(g[1] - cells.z0) * kTexelsPerCell, float(g[0]),
                                                          float(g[1]), mix, mix, mix, first ? uint8_t(255) : alpha,
                                                          p[0], p[1], p[2]});
            }
        }
        auto& list = drawn == 0 ? plain : detailed;
        list.insert(list.end(), ground.begin(), ground.end());
    });
    ChunkTriangles sorted;
    sorted.indices = std::move(plain);
    sorted.plainCount = int(sorted.indices.size());
    sorted.detailedCount = int(detailed.size());
    sorted.indices.insert(sorted.indices.end(), detailed.begin(), detailed.end());
    for (size_t m = 0; m < layers.size(); ++m) {
        if (layers[m].empty()) continue;
        sorted.layerRuns.push_back({int(m), int(sorted.layers.size()), int(layers[m].size())});
        sorted.layers.insert(sorted.layers.end(), layers[m].begin(), layers[m].end());
    }
    return sorted;
}

HighlightMode NextHighlightMode(HighlightMode mode) { return HighlightMode((int(mode) + 1) % 3); }

const char* HighlightModeName(HighlightMode mode) {
    switch (mode) {
    case HighlightMode::kReflectivity: return "Reflectivity";
    case HighlightMode::kTerrainType: return "Terrain Type";
    default: return "Texture Index";
    }
}

namespace {

Rgba TableColour(const std::array<uint8_t, 768>& colours, int index, uint8_t alpha) {
    return {colours[size_t(index) * 3], colours[size_t(index) * 3 + 1], colours[size_t(index) * 3 + 2], alpha};
}

// The tint of triangle t of cell (x, z) in a per-triangle mode (alpha 0: none).
Rgba TriangleTint(const Mesh& mesh, int x, int z, int t, const HighlightInput& input) {
    const uint16_t flags = mesh.Cell(x, z).flags;
    switch (input.mode) {
    case HighlightMode::kReflectivity:
        return flags & (t == 0 ? kCellFirstReflective : kCellSecondReflective) ? TableColour(*input.colours, 0, 127)
                                                                                : Rgba{};
    case HighlightMode::kTerrainType: {
        const TerrainType& type = GetTerrainType(t == 0 ? (flags & kCellFirstTypeMask) >> 4 : flags & kCellSecondTypeMask);
        return {type.red, type.green, type.blue, 127};
    }
    case HighlightMode::kTextureIndex:
        break;
    }
    if (!input.highlighted || !input.triangle || input.triangle->width != mesh.width * 2 ||
        input.triangle->height != mesh.height)
        return {};
    const int material = input.triangle->At(x * 2 + t, z) & 127;
    return (*input.highlighted)[size_t(material)] ? TableColour(*input.colours, material, 127) : Rgba{};
}

}  // namespace

std::vector<Rgba> FlatTint(const Mesh& mesh, const ChunkCells& cells, const HighlightInput& input) {
    const size_t points = size_t(cells.x1 - cells.x0 + 1) * size_t(cells.z1 - cells.z0 + 1);
    std::vector<Rgba> colours(points * 2);
    ForEachTriangle(cells, [&](int x, int z, int t, const auto&) {
        colours[GroundTriangle(cells, x, z, t)[2]] = TriangleTint(mesh, x, z, t, input);
    });
    return colours;
}

std::vector<TintVertex> VertexTint(const Mesh& mesh, const ChunkCells& cells, const VertexPlacement& place,
                                   const HighlightInput& input) {
    std::vector<TintVertex> vertices;
    if (!input.highlighted || !input.vertex || input.vertex->width != mesh.width || input.vertex->height != mesh.height)
        return vertices;
    ForEachTriangle(cells, [&](int, int, int, const auto& corners) {
        for (size_t corner = 0; corner < 3; ++corner) {
            const int material = input.vertex->At(corners[corner][0], corners[corner][1]) & 127;
            if (!(*input.highlighted)[size_t(material)])
                continue;
            for (size_t k = 0; k < 3; ++k) {
                const Rgba rgba = TableColour(*input.colours, material, k == corner ? 127 : 0);
                const auto p = place.At(mesh, corners[k][0], corners[k][1]);
                vertices.push_back({rgba[0], rgba[1], rgba[2], rgba[3], p[0], p[1], p[2]});
            }
        }
    });
    return vertices;
}

}  // namespace tamber::terrain::painting
