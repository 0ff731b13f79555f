#pragma once
// The detail layers of a mesh triangle, packed in a 32-bit word from its triangle
// detail and the vertex details of its three corners, and unpacked for drawing.
#include <array>
#include <cstdint>

namespace tamber::terrain::painting {

constexpr uint32_t kLayerWhiteBase = 0x40000000;  // draw the triangle white before its layers

struct DetailLayer {
    int material = 0;
    uint32_t cornerMask = 0;  // bit 0 corner a, bit 1 b, bit 2 c
};

// Grid points (x, z) of the corners a, b, c of triangle t of cell (x, z).
std::array<std::array<int, 2>, 3> TriangleCorners(int x, int z, int t);

// t: the triangle's detail; a, b, c: its corners' vertex details.
uint32_t MakeLayerWord(uint8_t t, uint8_t a, uint8_t b, uint8_t c);

// The layers of a word, in drawing order; returns their count (0 to 3).
int UnpackLayers(uint32_t word, std::array<DetailLayer, 3>& layers);

}  // namespace tamber::terrain::painting
