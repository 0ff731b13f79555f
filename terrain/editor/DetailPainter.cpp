#include "terrain/editor/DetailPainter.h"

#include <cmath>

namespace tamber::terrain::painting {
using namespace tamber::base;
using namespace tamber::terrain;

void DetailPainter::Create(int width, int height) {
    width_ = width, height_ = height;
    vertex_ = committedVertex_ = DetailGrid::Make(BrushMode::kVertex, width, height);
    triangle_ = committedTriangle_ = DetailGrid::Make(BrushMode::kTriangle, width, height);
    stroke_.reset();
    exists_ = true;
}

Status DetailPainter::Load(const DetailMap& map, int width, int height) {
    const size_t points = size_t(width) * size_t(height);
    if (map.width != uint32_t(width) || map.height != uint32_t(height) || map.vertex.size() != points ||
        map.triangle.size() != points * 2)
        return Fail("The detail map's dimensions do not match the mesh.");
    Create(width, height);
    vertex_.bytes = committedVertex_.bytes = map.vertex;
    triangle_.bytes = committedTriangle_.bytes = map.triangle;
    return {};
}

DetailMap DetailPainter::MakeMap() const {
    DetailMap map = CreateDetailMap(uint32_t(width_), uint32_t(height_));
    map.vertex = vertex_.bytes;
    map.triangle = triangle_.bytes;
    return map;
}

void DetailPainter::BeginStroke(BrushMode mode) { stroke_ = Stroke{mode, {}}; }

GridRect DetailPainter::Paint(const Brush& brush, double px, double pz, const PaintValue& paint) {
    if (!stroke_ || !exists_)
        return {};
    Brush inMode = brush;
    inMode.mode = stroke_->mode;
    const GridRect range = ApplyBrush(Working(stroke_->mode), inMode, px, pz, paint, width_, height_);
    stroke_->rect.Include(range);
    return range;
}

std::optional<StrokeRecord> DetailPainter::EndStroke() {
    if (!stroke_)
        return std::nullopt;
    const Stroke stroke = *stroke_;
    stroke_.reset();
    StrokeRecord record{stroke.mode, stroke.rect, CommittedGrid(stroke.mode).Copy(stroke.rect),
                        Working(stroke.mode).Copy(stroke.rect)};
    if (record.before == record.after)
        return std::nullopt;
    CommittedGrid(stroke.mode).Paste(stroke.rect, record.after);
    return record;
}

void DetailPainter::Apply(const StrokeRecord& stroke, bool redo) {
    const std::vector<uint8_t>& data = redo ? stroke.after : stroke.before;
    Working(stroke.mode).Paste(stroke.rect, data);
    CommittedGrid(stroke.mode).Paste(stroke.rect, data);
}

std::optional<FillRecord> DetailPainter::Fill(BrushMode mode, double px, double pz, uint8_t value) {
    if (!exists_ || !std::isfinite(px) || !std::isfinite(pz) || std::fabs(px) > 1e6 || std::fabs(pz) > 1e6)
        return std::nullopt;
    int x = 0, y = 0;
    if (mode == BrushMode::kVertex) {
        x = int(std::lround(px)), y = int(std::lround(pz));
    } else {
        const MeshTriangle triangle = TriangleAt(px, pz);
        if (triangle.x < 0 || triangle.x >= width_)
            return std::nullopt;
        x = triangle.x * 2 + triangle.t, y = triangle.z;
    }
    std::optional<FillRecord> fill = FloodFill(Working(mode), x, y, value);
    if (fill)
        ApplyFill(CommittedGrid(mode), *fill, value);
    return fill;
}

void DetailPainter::Apply(BrushMode mode, const FillRecord& fill, bool redo) {
    const uint8_t value = redo ? fill.newValue : fill.oldValue;
    ApplyFill(Working(mode), fill, value);
    ApplyFill(CommittedGrid(mode), fill, value);
}

void DetailPainter::FillFromTerrain(const Mesh& mesh, const PaintValue& spare) {
    if (!exists_ || mesh.width != width_ || mesh.height != height_)
        return;
    for (int z = 0; z < height_; ++z)
        for (int x = 0; x < width_; ++x) {
            uint8_t& element = vertex_.At(x, z);
            if (!spare.Spares(element))
                element = uint8_t(((mesh.Cell(x, z).flags & kCellFirstTypeMask) >> 4) + 1);
        }
}

void DetailPainter::CommitAll() {
    committedVertex_ = vertex_;
    committedTriangle_ = triangle_;
}

}  // namespace tamber::terrain::painting
