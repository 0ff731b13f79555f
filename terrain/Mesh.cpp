#include "terrain/Mesh.h"

#include <cmath>
#include <cstring>
#include <string>

#include "collections/RecordIO.h"
#include "terrain/TerrainRecords.h"

namespace tamber::terrain {
using namespace tamber::base;
using namespace tamber::collections;

namespace {

using namespace mesh_header;

// The cell holding a coordinate; coordinates that are not finite or lie far
// outside any mesh map to a cell outside it.
int FloorCell(double v) { return v > -1e9 && v < 1e9 ? int(std::floor(v)) : -1000000000; }

template <typename T>
T Field(const std::array<uint8_t, kSize>& header, size_t offset) {
    T value;
    std::memcpy(&value, header.data() + offset, sizeof value);
    return value;
}

template <typename T>
void SetField(std::array<uint8_t, kSize>& header, size_t offset, T value) {
    std::memcpy(header.data() + offset, &value, sizeof value);
}

// Sets bit 10 where all four cells around a grid point have both reflective bits,
// and clears bits 9 and 14; row 0 and column 0 stay as read.
void ApplyCellRules(Mesh& mesh) {
    constexpr uint16_t both = kCellFirstReflective | kCellSecondReflective;
    auto reflective = [&](int x, int z) { return (mesh.Cell(x, z).flags & both) == both; };
    for (int z = 1; z < mesh.height; ++z)
        for (int x = 1; x < mesh.width; ++x) {
            uint16_t& flags = mesh.cells[size_t(z) * size_t(mesh.width) + size_t(x)].flags;
            const bool animated = reflective(x, z) && reflective(x - 1, z - 1) && reflective(x, z - 1) &&
                                  reflective(x - 1, z);
            flags &= uint16_t(~(kCellCleared9 | kCellCleared14 | kCellAnimatedMedia));
            if (animated)
                flags |= kCellAnimatedMedia;
        }
}

}  // namespace

Result<Mesh> LoadMesh(std::span<const uint8_t> payload, uint16_t version) {
    BigEndianReader in(payload);
    Mesh mesh;
    if (version != kMeshTagVersion)
        return Fail("couldn't read the mesh: version " + std::to_string(version) + " is not known");
    if (!UnpackAt(in, mesh.header.data(), 1, kMeshHeaderDescriptor))
        return Fail("couldn't read the mesh: its header is cut short");
    const auto& h = mesh.header;
    mesh.colourMap = Field<uint32_t>(h, kColourMap);
    mesh.media = Field<uint32_t>(h, kMedia);
    mesh.blocksWide = Field<uint16_t>(h, kBlocksWide);
    mesh.blocksHigh = Field<uint16_t>(h, kBlocksHigh);
    mesh.width = mesh.blocksWide * kMeshBlockCells;
    mesh.height = mesh.blocksHigh * kMeshBlockCells;
    mesh.shading.below = Field<int16_t>(h, kShadeBelow);
    mesh.shading.above = Field<int16_t>(h, kShadeAbove);
    for (size_t c = 0; c < 3; ++c)
        mesh.shading.target[c] = Field<uint16_t>(h, kShadeTarget + c * 2);
    mesh.shading.pivot = Field<uint32_t>(h, kShadePivot);
    if (mesh.width == 0 || mesh.height == 0)
        return Fail("couldn't read the mesh: it has no cells");

    const uint64_t cellOffset = uint64_t(Field<uint32_t>(h, kDataOffset)) + Field<uint32_t>(h, kCellOffset);
    std::vector<MeshCellRecord> records;
    if (!in.Seek(cellOffset) || !UnpackTable(in, records, size_t(mesh.width) * size_t(mesh.height), kMeshCellDescriptor))
        return Fail("couldn't read the mesh: its cells lie outside the data");
    mesh.cells.reserve(records.size());
    for (const MeshCellRecord& r : records)
        mesh.cells.push_back({r.height, r.word1, r.flags, r.media});
    ApplyCellRules(mesh);
    return mesh;
}

int Mesh::SurfaceHeight(int x, int z) const {
    if (x < 0 || z < 0 || x >= width || z >= height)
        return 0;
    const MeshCell& cell = Cell(x, z);
    return cell.flags & (kCellFirstReflective | kCellSecondReflective) ? cell.media : cell.height;
}

double Mesh::HeightAt(double x, double z) const {
    const int cx = FloorCell(x), cz = FloorCell(z);
    const double u = x - cx, v = z - cz;
    const double h00 = SurfaceHeight(cx, cz), h10 = SurfaceHeight(cx + 1, cz);
    const double h11 = SurfaceHeight(cx + 1, cz + 1), h01 = SurfaceHeight(cx, cz + 1);
    if ((cx ^ cz) & 1) {
        if (u + v < 1)
            return h00 + (h10 - h00) * u + (h01 - h00) * v;
        return h11 + (h01 - h11) * (1 - u) + (h10 - h11) * (1 - v);
    }
    if (u >= v)
        return h10 + (h00 - h10) * (1 - u) + (h11 - h10) * v;
    return h01 + (h00 - h01) * (1 - v) + (h11 - h01) * u;
}

MeshTriangle TriangleAt(double x, double z) {
    MeshTriangle triangle{FloorCell(x), FloorCell(z), 0};
    const double u = x - triangle.x, v = z - triangle.z;
    if ((triangle.x ^ triangle.z) & 1)
        triangle.t = u + v < 1 ? 0 : 1;
    else
        triangle.t = u < v ? 0 : 1;
    return triangle;
}

std::array<double, 2> TriangleCentre(const MeshTriangle& triangle) {
    const int parity = (triangle.x ^ triangle.z) & 1;
    return {triangle.x + (triangle.t == 1 ? 2.0 / 3 : 1.0 / 3), triangle.z + (parity != triangle.t ? 1.0 / 3 : 2.0 / 3)};
}

std::vector<uint8_t> SaveMesh(const Mesh& mesh) {
    std::array<uint8_t, kSize> header = mesh.header;
    SetField(header, kColourMap, mesh.colourMap);
    SetField(header, kMedia, mesh.media);
    SetField(header, kBlocksWide, uint16_t(mesh.blocksWide));
    SetField(header, kBlocksHigh, uint16_t(mesh.blocksHigh));
    SetField(header, kDataOffset, uint32_t(kSize));
    SetField(header, kCellOffset, uint32_t(0));
    SetField(header, kShadeBelow, mesh.shading.below);
    SetField(header, kShadeAbove, mesh.shading.above);
    for (size_t c = 0; c < 3; ++c)
        SetField(header, kShadeTarget + c * 2, mesh.shading.target[c]);
    SetField(header, kShadePivot, mesh.shading.pivot);
    std::vector<MeshCellRecord> records;
    records.reserve(mesh.cells.size());
    for (const MeshCell& cell : mesh.cells)
        records.push_back({cell.height, cell.word1, cell.flags, 0, cell.media, 0});
    std::vector<uint8_t> payload;
    BigEndianWriter out(payload);
    PackAt(out, header.data(), 1, kMeshHeaderDescriptor);
    PackAt(out, records.data(), records.size(), kMeshCellDescriptor);
    return payload;
}

}  // namespace tamber::terrain
