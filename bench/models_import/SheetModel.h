#pragma once
// The benchmarks' 60,000-triangle textured model: a subdivided, rippled sheet
// with a 512 x 512 texture.
#include <cmath>

#include "models/Model.h"

namespace tamber::bench {

constexpr int kSide = 174;  // 173 x 173 quads: 59,858 triangles

inline models::Model Sheet() {
    using namespace tamber::models;
    Model model;
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            ModelVertex& vertex = model.vertices.emplace_back();
            vertex.position[0] = float(x) / 16;
            vertex.position[1] = 0.25f * std::sin(float(x) * 0.2f) * std::cos(float(y) * 0.15f);
            vertex.position[2] = float(y) / 16;
        }
    }
    auto corner = [&](int x, int y) {
        return ModelCorner{uint32_t(y * kSide + x), float(x) / (kSide - 1), float(y) / (kSide - 1)};
    };
    for (int y = 0; y + 1 < kSide; ++y) {
        for (int x = 0; x + 1 < kSide; ++x) {
            model.triangles.push_back({0, {corner(x, y), corner(x + 1, y), corner(x + 1, y + 1)}});
            model.triangles.push_back({0, {corner(x, y), corner(x + 1, y + 1), corner(x, y + 1)}});
        }
    }
    ModelMaterial& material = model.materials.emplace_back();
    material.name = "ripples";
    [[maybe_unused]] const bool made = images::CreateImage(material.texture, 512, 512, images::kPixelRGBA);
    for (size_t i = 0; i < material.texture.PixelCount(); ++i) {
        const size_t x = i % 512, y = i / 512;
        uint8_t* p = &material.texture.pixels[i * 4];
        p[0] = uint8_t(x / 2);
        p[1] = uint8_t(128 + 100 * std::sin(double(y) * 0.05));
        p[2] = uint8_t((x ^ y) & 0xFF);
        p[3] = 255;
    }
    model.ComputeBounds();
    return model;
}

}  // namespace tamber::bench
