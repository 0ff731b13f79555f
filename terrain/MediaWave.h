#pragma once
// The wave of animated media, read from a media tag (`medi`).
#include <cstdint>
#include <optional>
#include <span>

namespace tamber::terrain {

struct MediaWave {
    // Amplitudes in cells along x, horizontal y and vertical z; frequencies in
    // radians per phase unit.
    double ax = 0.1, ay = 0.2, az = 0.1;
    double fx = 0.5, fy = 1.0, fz = 0.5;
};

struct WaveOffset {
    double dx = 0, dHeight = 0, dz = 0;
};

// The wave of a media payload; the defaults when there is none or it is too short.
MediaWave LoadMediaWave(std::optional<std::span<const uint8_t>> payload);

// Displacement of an animated media vertex (x, z) at frame counter `ticks`
// (60 per second); the height offset is in height units.
WaveOffset ComputeWave(const MediaWave& wave, int x, int z, uint32_t ticks);

}  // namespace tamber::terrain
