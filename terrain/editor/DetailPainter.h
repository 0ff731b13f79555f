#pragma once
// The detail grids of a mesh being painted: working grids (shown and painted) and
// committed grids (the state after the last finished stroke), for vertex and
// triangle details. Strokes and fills hand back records that undo and redo them.
#include <optional>
#include <vector>

#include "base/Result.h"
#include "terrain/DetailMap.h"
#include "terrain/Mesh.h"
#include "terrain/editor/Brush.h"
#include "terrain/editor/DetailGrid.h"
#include "terrain/editor/FloodFill.h"

namespace tamber::terrain::painting {

// A finished stroke: the rectangle of the mode's grid before and after it.
struct StrokeRecord {
    BrushMode mode = BrushMode::kVertex;
    GridRect rect;
    std::vector<uint8_t> before, after;
};

class DetailPainter {
public:
    // Zeroed grids for a mesh of width x height grid points; the map then exists.
    void Create(int width, int height);
    // Takes a detail map's grids; fails, changing nothing, when its size is not the mesh's.
    [[nodiscard]] base::Status Load(const DetailMap& map, int width, int height);
    // A detail map with the working grids and no materials set.
    DetailMap MakeMap() const;

    bool Exists() const { return exists_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    DetailGrid& Working(BrushMode mode) { return mode == BrushMode::kVertex ? vertex_ : triangle_; }
    const DetailGrid& Working(BrushMode mode) const { return mode == BrushMode::kVertex ? vertex_ : triangle_; }
    const DetailGrid& Committed(BrushMode mode) const { return mode == BrushMode::kVertex ? committedVertex_ : committedTriangle_; }

    // A stroke runs from the press to the release; each Paint grows its rectangle.
    void BeginStroke(BrushMode mode);
    GridRect Paint(const Brush& brush, double px, double pz, const PaintValue& paint);
    bool StrokeActive() const { return stroke_.has_value(); }
    // Ends the stroke and commits its rectangle; none when it changed nothing.
    std::optional<StrokeRecord> EndStroke();
    // Writes the stroke's after (redo) or before (undo) into both grids of its mode.
    void Apply(const StrokeRecord& stroke, bool redo);

    // Fills the working and committed grids from the element under (px, pz): the
    // nearest grid point or the triangle holding the point. None when nothing changed.
    std::optional<FillRecord> Fill(BrushMode mode, double px, double pz, uint8_t value);
    void Apply(BrushMode mode, const FillRecord& fill, bool redo);

    // Every grid point's vertex detail from the terrain type of its cell's first
    // triangle, plus one, except where `spare` spares the present value.
    void FillFromTerrain(const Mesh& mesh, const PaintValue& spare);
    // The committed grids take the working grids (after imports and whole-map changes).
    void CommitAll();

private:
    struct Stroke {
        BrushMode mode;
        GridRect rect;
    };

    bool exists_ = false;
    int width_ = 0, height_ = 0;
    DetailGrid vertex_, triangle_, committedVertex_, committedTriangle_;
    std::optional<Stroke> stroke_;

    DetailGrid& CommittedGrid(BrushMode mode) { return mode == BrushMode::kVertex ? committedVertex_ : committedTriangle_; }
};

}  // namespace tamber::terrain::painting
