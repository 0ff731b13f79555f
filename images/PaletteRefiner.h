#pragma once
// Improves a palette against the colour histogram, each distinct colour weighted
// by its pixel count. Weighted k-means passes move each entry to the mean of the
// colours nearest to it; between passes, the entries that do the least work are
// moved into the clusters with the largest error, split along their widest
// channel, which lets the palette leave the local optimum plain k-means keeps.
// A palette with fewer entries than allowed (Wu's quantiser stops at boxes of a
// single grid cell) grows the same way, by splitting its worst clusters.
#include <cstdint>
#include <vector>

#include "images/ColorHistogram.h"

namespace tamber::images {

class PaletteRefiner {
public:
    explicit PaletteRefiner(const std::vector<ColorCount>& colors) : colors_(colors) {}

    // Refines `palette` (red, green, blue triples) in place over `passes` passes,
    // growing it up to `maxColors` entries, and keeps the best palette seen.
    void Refine(std::vector<uint8_t>& palette, uint32_t maxColors, int passes);

    // The weighted squared error of mapping every colour to its nearest entry.
    double Distortion(const std::vector<uint8_t>& palette) const;

private:
    struct Cluster {
        double weight = 0, error = 0;
        double sum[3] = {0, 0, 0};
        double squares[3] = {0, 0, 0};
    };

    // Sums every colour into the cluster of its nearest entry (`nearest`, per colour);
    // returns the total error.
    double Assign(const std::vector<uint8_t>& palette, const std::vector<uint8_t>& nearest,
                  std::vector<Cluster>& clusters) const;
    static bool MoveToMeans(std::vector<uint8_t>& palette, const std::vector<Cluster>& clusters);
    static void Relocate(std::vector<uint8_t>& palette, const std::vector<Cluster>& clusters, int moves);
    static void Grow(std::vector<uint8_t>& palette, const std::vector<Cluster>& clusters, uint32_t maxColors);
    // Moves entry `from` and entry `to` to either side of cluster `from`'s mean along its widest channel.
    static void Split(std::vector<uint8_t>& palette, const Cluster& cluster, size_t from, size_t to);

    const std::vector<ColorCount>& colors_;
};

}  // namespace tamber::images
