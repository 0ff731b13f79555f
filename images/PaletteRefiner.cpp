#include "images/PaletteRefiner.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "images/NearestEntryTracker.h"

namespace tamber::images {

namespace {

uint8_t ToByte(double v) { return uint8_t(std::clamp(std::lround(v), 0L, 255L)); }

int SquaredDistance(const uint8_t* a, const uint8_t* b) {
    int dr = a[0] - b[0], dg = a[1] - b[1], db = a[2] - b[2];
    return dr * dr + dg * dg + db * db;
}

}  // namespace

double PaletteRefiner::Assign(const std::vector<uint8_t>& palette, const std::vector<uint8_t>& nearest,
                              std::vector<Cluster>& clusters) const {
    clusters.assign(palette.size() / 3, Cluster());
    double total = 0;
    for (size_t i = 0; i < colors_.size(); ++i) {
        const ColorCount& c = colors_[i];
        uint8_t rgb[3] = {uint8_t(c.rgb >> 16), uint8_t(c.rgb >> 8), uint8_t(c.rgb)};
        uint32_t k = nearest[i];
        Cluster& cluster = clusters[k];
        double w = c.count;
        double error = w * SquaredDistance(rgb, &palette[k * 3]);
        cluster.weight += w;
        cluster.error += error;
        for (int ch = 0; ch < 3; ++ch) {
            cluster.sum[ch] += w * rgb[ch];
            cluster.squares[ch] += w * double(rgb[ch]) * rgb[ch];
        }
        total += error;
    }
    return total;
}

double PaletteRefiner::Distortion(const std::vector<uint8_t>& palette) const {
    std::vector<Cluster> clusters;
    return Assign(palette, NearestEntryTracker(colors_).Update(palette), clusters);
}

bool PaletteRefiner::MoveToMeans(std::vector<uint8_t>& palette, const std::vector<Cluster>& clusters) {
    bool moved = false;
    for (size_t k = 0; k < clusters.size(); ++k) {
        if (clusters[k].weight <= 0)
            continue;  // an entry nothing maps to keeps its colour
        for (int ch = 0; ch < 3; ++ch) {
            uint8_t value = ToByte(clusters[k].sum[ch] / clusters[k].weight);
            moved = moved || value != palette[k * 3 + ch];
            palette[k * 3 + ch] = value;
        }
    }
    return moved;
}

void PaletteRefiner::Split(std::vector<uint8_t>& palette, const Cluster& cluster, size_t from, size_t to) {
    int axis = 0;
    double spread = -1;
    double mean[3];
    for (int ch = 0; ch < 3; ++ch) {
        mean[ch] = cluster.sum[ch] / cluster.weight;
        double variance = cluster.squares[ch] / cluster.weight - mean[ch] * mean[ch];
        if (variance > spread) {
            spread = variance;
            axis = ch;
        }
    }
    double offset = std::max(1.0, std::sqrt(std::max(spread, 0.0)));
    for (int ch = 0; ch < 3; ++ch) {
        palette[from * 3 + ch] = ToByte(mean[ch] - (ch == axis ? offset : 0));
        palette[to * 3 + ch] = ToByte(mean[ch] + (ch == axis ? offset : 0));
    }
}

void PaletteRefiner::Grow(std::vector<uint8_t>& palette, const std::vector<Cluster>& clusters, uint32_t maxColors) {
    size_t count = clusters.size();
    std::vector<size_t> busy(count);
    std::iota(busy.begin(), busy.end(), 0);
    std::sort(busy.begin(), busy.end(), [&](size_t a, size_t b) { return clusters[a].error > clusters[b].error; });
    for (size_t source : busy) {
        if (palette.size() / 3 >= maxColors || clusters[source].error <= 0)
            break;
        size_t target = palette.size() / 3;
        palette.resize(palette.size() + 3);
        Split(palette, clusters[source], source, target);
    }
}

void PaletteRefiner::Relocate(std::vector<uint8_t>& palette, const std::vector<Cluster>& clusters, int moves) {
    size_t count = clusters.size();
    if (count < 2)
        return;
    // Work an entry does: roughly what its colours would cost if they went to the
    // nearest other entry instead.
    std::vector<double> usefulness(count);
    for (size_t j = 0; j < count; ++j) {
        int nearest = std::numeric_limits<int>::max();
        for (size_t k = 0; k < count; ++k) {
            if (k != j)
                nearest = std::min(nearest, SquaredDistance(&palette[j * 3], &palette[k * 3]));
        }
        usefulness[j] = clusters[j].weight * nearest;
    }
    std::vector<size_t> idle(count), busy(count);
    std::iota(idle.begin(), idle.end(), 0);
    std::iota(busy.begin(), busy.end(), 0);
    std::sort(idle.begin(), idle.end(), [&](size_t a, size_t b) { return usefulness[a] < usefulness[b]; });
    std::sort(busy.begin(), busy.end(), [&](size_t a, size_t b) { return clusters[a].error > clusters[b].error; });
    std::vector<bool> touched(count, false);
    size_t next = 0;
    for (size_t source : busy) {
        if (moves <= 0 || next >= count)
            break;
        const Cluster& cluster = clusters[source];
        if (touched[source] || cluster.weight <= 0)
            continue;
        while (next < count && (touched[idle[next]] || idle[next] == source))
            ++next;
        if (next >= count)
            break;
        size_t target = idle[next];
        // Only worth it when the idle entry does less than the busy cluster's error.
        if (usefulness[target] >= cluster.error)
            break;
        Split(palette, cluster, source, target);
        touched[source] = touched[target] = true;
        --moves;
    }
}

void PaletteRefiner::Refine(std::vector<uint8_t>& palette, uint32_t maxColors, int passes) {
    std::vector<uint8_t> best = palette;
    double bestError = std::numeric_limits<double>::infinity();
    std::vector<Cluster> clusters;
    NearestEntryTracker tracker(colors_);
    // Relocation runs in the first two thirds of the passes; the rest settle.
    int relocating = passes * 2 / 3;
    for (int pass = 0; pass < passes; ++pass) {
        double error = Assign(palette, tracker.Update(palette), clusters);
        if (error < bestError) {
            bestError = error;
            best = palette;
        }
        bool moved = MoveToMeans(palette, clusters);
        if (palette.size() / 3 < maxColors) {
            Grow(palette, clusters, maxColors);
            // A larger palette is better even where the first passes are not yet.
            bestError = std::numeric_limits<double>::infinity();
        } else if (pass < relocating) {
            Relocate(palette, clusters, int(clusters.size() / 8) + 1);
        } else if (!moved) {
            break;
        }
    }
    if (Assign(palette, tracker.Update(palette), clusters) < bestError)
        best = palette;
    palette = std::move(best);
}

}  // namespace tamber::images
