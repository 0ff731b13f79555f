#include "terrain/MediaWave.h"

#include <cmath>
#include <numbers>

#include "collections/RecordIO.h"
#include "terrain/Mesh.h"
#include "terrain/TerrainRecords.h"

namespace tamber::terrain {
using namespace tamber::collections;

MediaWave LoadMediaWave(std::optional<std::span<const uint8_t>> payload) {
    MediaWave wave;
    if (!payload || payload->size() < kMediaPayloadSize)
        return wave;
    BigEndianReader in(*payload);
    MediaWaveRecord r;
    if (!in.Seek(kMediaWaveOffset) || !UnpackAt(in, &r, 1, kMediaWaveDescriptor))
        return wave;
    const double amplitude = 1.0 / kHeightUnitsPerCell;
    const double angle = 2 * std::numbers::pi / 65536;
    wave.ax = r.amplitude[0] * amplitude;
    wave.ay = r.amplitude[1] * amplitude;
    wave.az = r.amplitude[2] * amplitude;
    wave.fx = r.frequency[0] * angle;
    wave.fy = r.frequency[1] * angle;
    wave.fz = r.frequency[2] * angle;
    return wave;
}

WaveOffset ComputeWave(const MediaWave& wave, int x, int z, uint32_t ticks) {
    const double s = 377.0 * x + 211.0 * z + uint16_t(ticks / 2);
    return {wave.ax * std::sin(s * wave.fx), wave.az * kHeightUnitsPerCell * std::sin(s * wave.fz),
            wave.ay * std::sin(s * wave.fy)};
}

}  // namespace tamber::terrain
