#include "models/import/GeometryFromModel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace tamber::models::import {
using namespace tamber::base;

namespace {

constexpr double kLowest = std::numeric_limits<int16_t>::min();
constexpr double kHighest = std::numeric_limits<int16_t>::max();
const char* const kAxisNames[3] = {"x", "y", "z"};

std::string Printf(const char* format, auto... values) {
    char text[256];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

void CheckCount(std::vector<std::string>& problems, size_t count, size_t limit, const char* what, const char* holder) {
    if (count > limit)
        problems.push_back(Printf("The model has %zu %s, %zu more than the %zu %s can hold.", count, what,
                                  count - limit, limit, holder));
}

// Game coordinates before rounding.
std::array<double, 3> GamePosition(const float* p) {
    return {-kGameUnitsPerModelUnit * p[0], kGameUnitsPerModelUnit * p[2], kGameUnitsPerModelUnit * p[1]};
}

// Checks the game coordinates of every vertex against signed 16 bits.
void CheckCoordinates(std::vector<std::string>& problems, const Model& model) {
    double low[3] = {0, 0, 0}, high[3] = {0, 0, 0};
    for (const ModelVertex& vertex : model.vertices) {
        const std::array<double, 3> game = GamePosition(vertex.position);
        for (int axis = 0; axis < 3; ++axis) {
            if (!std::isfinite(game[axis])) {
                problems.push_back("The model has coordinates that are not numbers.");
                return;
            }
            low[axis] = std::min(low[axis], std::round(game[axis]));
            high[axis] = std::max(high[axis], std::round(game[axis]));
        }
    }
    for (int axis = 0; axis < 3; ++axis) {
        const double beyond = std::max(kLowest - low[axis], high[axis] - kHighest);
        if (beyond > 0)
            problems.push_back(Printf("The model reaches game %s = %.0f, %.0f beyond the range of %.0f to %.0f a "
                                      "geometry can hold; scale it down by a factor of at least %.2f.",
                                      kAxisNames[axis], low[axis] < kLowest ? low[axis] : high[axis], beyond,
                                      kLowest, kHighest, (beyond + std::max(-kLowest, kHighest)) / kHighest));
    }
}

uint16_t Fraction(float value) {
    if (!std::isfinite(value)) return 0;
    return uint16_t(std::lround(std::clamp(double(value), 0.0, 1.0) * 65535.0));
}

GeometryTriangle MakeTriangle(const ModelTriangle& source, const Geometry& geometry) {
    GeometryTriangle triangle;
    triangle.material = uint16_t(source.material);
    for (int k = 0; k < 3; ++k) {
        triangle.vertex[size_t(k)] = uint16_t(source.corners[k].vertex);
        triangle.u[size_t(k)] = Fraction(source.corners[k].u);
        triangle.v[size_t(k)] = Fraction(source.corners[k].v);
    }
    const auto& a = geometry.vertices[triangle.vertex[0]];
    const auto& b = geometry.vertices[triangle.vertex[1]];
    const auto& c = geometry.vertices[triangle.vertex[2]];
    double e1[3], e2[3];
    for (int axis = 0; axis < 3; ++axis) {
        e1[axis] = (b[size_t(axis)] - a[size_t(axis)]) / kGameUnitsPerModelUnit;
        e2[axis] = (c[size_t(axis)] - a[size_t(axis)]) / kGameUnitsPerModelUnit;
    }
    const double n[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2], e1[0] * e2[1] - e1[1] * e2[0]};
    const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    int64_t dot = 0;
    for (int axis = 0; axis < 3; ++axis) {
        // A triangle without area keeps a zero normal.
        const double unit = length > 0 ? n[axis] / length : 0.0;
        triangle.normal[size_t(axis)] = int16_t(std::lround(unit * 16384.0));
        dot += int64_t(triangle.normal[size_t(axis)]) * a[size_t(axis)];
    }
    // |normal| <= 16384 * sqrt(3) and |vertex| < 32769 * sqrt(3): the product fits 32 bits.
    triangle.planeConstant = int32_t(-dot);
    // The collection's colour table is opaque, so every material is: transparency 0.
    triangle.transparency = 0;
    return triangle;
}

}  // namespace

void ModelPosition(const std::array<int16_t, 3>& game, float (&position)[3]) {
    position[0] = float(-game[0] / kGameUnitsPerModelUnit);
    position[1] = float(game[2] / kGameUnitsPerModelUnit);
    position[2] = float(game[1] / kGameUnitsPerModelUnit);
}

Result<Geometry> GeometryFromModel(const Model& model) {
    std::vector<std::string> problems;
    if (model.triangles.empty()) problems.push_back("The model has no triangles.");
    CheckCount(problems, model.vertices.size(), kMaxGeometryCount, "vertices", "a geometry");
    CheckCount(problems, model.triangles.size(), kMaxGeometryCount, "triangles", "a geometry");
    CheckCount(problems, model.materials.size(), kMaxCollectionMaterials, "materials", "a collection");
    CheckCoordinates(problems, model);
    for (const ModelTriangle& triangle : model.triangles) {
        bool inside = triangle.material < model.materials.size();
        for (const ModelCorner& corner : triangle.corners) inside = inside && corner.vertex < model.vertices.size();
        if (!inside) {
            problems.push_back("The model has a triangle naming a vertex or material it does not have.");
            break;
        }
    }
    if (!problems.empty()) {
        std::string text = problems[0];
        for (size_t i = 1; i < problems.size(); ++i) text += "\n" + problems[i];
        return Fail(text);
    }

    Geometry geometry;
    for (size_t i = 0; i < model.materials.size(); ++i) {
        GeometryMaterial& material = geometry.materials.emplace_back();
        material.name = model.materials[i].name.substr(0, kMaxMaterialName);
        material.sequence = uint16_t(i);
    }
    geometry.vertices.reserve(model.vertices.size());
    for (const ModelVertex& vertex : model.vertices) {
        const std::array<double, 3> game = GamePosition(vertex.position);
        std::array<int16_t, 3>& out = geometry.vertices.emplace_back();
        for (int axis = 0; axis < 3; ++axis) out[size_t(axis)] = int16_t(std::lround(game[size_t(axis)]));
    }
    for (int axis = 0; axis < 3; ++axis) {
        int16_t low = geometry.vertices.empty() ? 0 : geometry.vertices[0][size_t(axis)], high = low;
        for (const auto& vertex : geometry.vertices) {
            low = std::min(low, vertex[size_t(axis)]);
            high = std::max(high, vertex[size_t(axis)]);
        }
        geometry.boundsMin[size_t(axis)] = low;
        geometry.boundsMax[size_t(axis)] = high;
    }
    geometry.triangles.reserve(model.triangles.size());
    for (const ModelTriangle& triangle : model.triangles) geometry.triangles.push_back(MakeTriangle(triangle, geometry));
    return geometry;
}

}  // namespace tamber::models::import
