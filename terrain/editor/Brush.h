#pragma once
// The detail brush: which grid points (vertex mode) or triangle centres (triangle
// mode) a round or square brush of radius r at (px, pz) takes, and painting them.
#include <bitset>
#include <cstdint>

#include "terrain/editor/DetailGrid.h"

namespace tamber::terrain::painting {

constexpr int kMaterialCount = 128;
constexpr int kMaxMaterial = 127;
using MaterialLocks = std::bitset<kMaterialCount>;

enum class BrushShape { kRound, kSquare };

struct Brush {
    static constexpr double kMinRadius = 0.2, kMaxRadius = 10.0, kRadiusStep = 0.2;

    double radius = 3.0;
    BrushShape shape = BrushShape::kRound;
    BrushMode mode = BrushMode::kVertex;

    // True when an element dx, dz away from the brush centre is under the brush.
    bool Takes(double dx, double dz) const;
};

// Radius kept within the brush's bounds.
double ClampRadius(double radius);

// What a paint or fill writes, and whom it spares.
struct PaintValue {
    int material = 0;           // the current material; values above 127 paint 127
    const MaterialLocks* locks = nullptr;
    bool shift = false;         // Shift at the press paints over locked materials

    uint8_t Value() const { return uint8_t(material < 0 ? 0 : material > kMaxMaterial ? kMaxMaterial : material); }
    bool Spares(uint8_t present) const { return locks && !shift && locks->test(present & kMaxMaterial); }
};

// Paints the brush at (px, pz) into the grid of the brush's mode for a mesh of
// meshWidth x meshHeight grid points. Returns the examined range of grid elements
// (cells floor(p - r) to ceil(p + r), cut to the mesh), which the caller redraws
// and adds to the stroke; empty when the brush is off the mesh.
GridRect ApplyBrush(DetailGrid& grid, const Brush& brush, double px, double pz, const PaintValue& paint,
                    int meshWidth, int meshHeight);

}  // namespace tamber::terrain::painting
