#pragma once
// What the image stream's encoder and decoder share: the block layout, the
// residual mapping and the pixel prediction of each mode.
#include <algorithm>
#include <cstdint>

namespace tamber::terrain::dtex {

constexpr int kModes = 3;
constexpr int kBlock = 8;
constexpr int kZeroParameter = 7;  // every value of the block channel is 0
// Residual channel i of mode m reconstructs pixel channel kChannel[m][i]; the
// first is the mode's base channel.
constexpr int kChannel[kModes][3] = {{0, 2, 1}, {1, 0, 2}, {2, 1, 0}};

inline int BlockCount(int side) { return (side + kBlock - 1) / kBlock; }

// Selects with masks rather than branches: on noisy pictures a branch would be
// mispredicted about every other pixel.
inline int Pred(int u, int l, int c) {
    const int lo = std::min(u, l), hi = std::max(u, l);
    const int towardLo = (7 * lo + hi) >> 3, towardHi = (7 * hi + lo) >> 3, plane = u + l - c;
    const int belowLo = -int(c <= lo), aboveHi = -int(c >= hi);
    const int inside = plane ^ ((plane ^ towardHi) & belowLo);
    return inside ^ ((inside ^ towardLo) & aboveHi);
}

inline uint8_t ToResidual(int d) {
    const int s = int8_t(uint8_t(d));
    return uint8_t(s >= 0 ? 2 * s : -2 * s - 1);
}

// The prediction of a pixel's channels in mode M: the base channel's value and,
// for the other two, their difference to the base. An edge pixel is predicted from
// its one known neighbour `n`; an interior one from the pixels above (`u`), to the
// left (`l`) and above left (`c`).
template <int M>
struct Predictor {
    static constexpr int b = kChannel[M][0], c1 = kChannel[M][1], c2 = kChannel[M][2];

    static void Edge(const uint8_t* n, int& base, int& d1, int& d2) {
        base = n[b];
        d1 = n[b] - n[c1];
        d2 = n[b] - n[c2];
    }
    static void Interior(const uint8_t* u, const uint8_t* l, const uint8_t* c, int& base, int& d1, int& d2) {
        base = Pred(u[b], l[b], c[b]);
        d1 = Pred(u[b] - u[c1], l[b] - l[c1], c[b] - c[c1]);
        d2 = Pred(u[b] - u[c2], l[b] - l[c2], c[b] - c[c2]);
    }
    static void Encode(const uint8_t* px, int base, int d1, int d2, uint8_t* out) {
        out[0] = ToResidual(base - px[b]);
        out[1] = ToResidual(px[c1] - px[b] + d1);
        out[2] = ToResidual(px[c2] - px[b] + d2);
    }
};

}  // namespace tamber::terrain::dtex
