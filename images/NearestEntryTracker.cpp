#include "images/NearestEntryTracker.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>

#include "images/NearestColorSearch.h"

namespace tamber::images {

namespace {

// Allowance for rounding in the bounds; distinct distances between integer colours
// differ by far more (square roots of integers up to 195,075).
constexpr double kSlack = 1e-6;
// Below this many colours per palette entry every update searches all colours.
constexpr size_t kColorsPerEntry = 64;

int SquaredDistance(const uint8_t* a, const uint8_t* b) {
    const int dr = a[0] - b[0], dg = a[1] - b[1], db = a[2] - b[2];
    return dr * dr + dg * dg + db * db;
}

}  // namespace

void NearestEntryTracker::Restart(const std::vector<uint8_t>& palette) {
    NearestColorSearch search(palette.data(), uint32_t(palette.size() / 3));
    nearest_.resize(colors_.size());
    lower_.assign(colors_.size(), 0.0);
    for (size_t i = 0; i < colors_.size(); ++i) {
        const uint32_t rgb = colors_[i].rgb;
        nearest_[i] = uint8_t(search.Find(int(rgb >> 16 & 0xFF), int(rgb >> 8 & 0xFF), int(rgb & 0xFF)));
    }
    searched_ = colors_.size();
}

const uint32_t* NearestEntryTracker::Neighbours(const std::vector<uint8_t>& palette, uint32_t entry) {
    const size_t count = palette.size() / 3;
    const size_t row = count - 1;
    uint32_t* first = &neighbours_[entry * row];
    if (!sorted_[entry]) {
        uint32_t* out = first;
        for (size_t k = 0; k < count; ++k)
            if (k != entry)
                *out++ = uint32_t(SquaredDistance(&palette[entry * 3], &palette[k * 3])) << 8 | uint32_t(k);
        std::sort(first, out);
        sorted_[entry] = 1;
    }
    return first;
}

const std::vector<uint8_t>& NearestEntryTracker::Update(const std::vector<uint8_t>& palette) {
    const size_t count = palette.size() / 3;
    // Ordering the neighbours costs about as much as searching a few thousand colours.
    if (count == 0 || colors_.size() < count * kColorsPerEntry || previous_.size() > palette.size() ||
        nearest_.size() != colors_.size()) {
        previous_ = palette;
        Restart(palette);
        return nearest_;
    }
    // A colour's bound shrinks by the largest move among the entries other than its own.
    // New entries void every bound, but the old nearest entries still make good starts.
    const size_t known = previous_.size() / 3;
    const double grown = known < count ? std::numeric_limits<double>::infinity() : 0;
    double most = grown, second = grown;
    size_t mostIndex = 0;
    for (size_t k = 0; k < known; ++k) {
        const double move = std::sqrt(double(SquaredDistance(&previous_[k * 3], &palette[k * 3])));
        if (move > most) {
            second = most;
            most = move;
            mostIndex = k;
        } else if (move > second) {
            second = move;
        }
    }
    previous_ = palette;
    searched_ = 0;
    if (most == 0)
        return nearest_;
    neighbours_.resize(count * (count - 1));
    sorted_.assign(count, 0);
    const NearestColorSearch search(palette.data(), uint32_t(count));
    for (size_t i = 0; i < colors_.size(); ++i) {
        const uint32_t rgb = colors_[i].rgb;
        const uint8_t color[3] = {uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb)};
        const uint32_t own = nearest_[i];
        const int ownSquared = SquaredDistance(color, &palette[own * 3]);
        const double ownDistance = std::sqrt(double(ownSquared));
        const double bound = lower_[i] - (own == mostIndex ? second : most);
        if (rgb != 0 && ownDistance < bound - kSlack) {
            lower_[i] = bound;
            continue;
        }
        ++searched_;
        // Every entry at most as near as the own one lies within twice the own distance of it.
        const uint32_t reach = uint32_t(4 * ownSquared) << 8 | 0xFF;
        int best = ownSquared, runnerUp = INT_MAX, ties = 1;
        uint32_t bestIndex = own;
        const uint32_t* next = Neighbours(palette, own);
        const uint32_t* end = next + (count - 1);
        for (; next != end && *next <= reach; ++next) {
            const uint32_t index = *next & 0xFF;
            const int d = SquaredDistance(color, &palette[index * 3]);
            if (d < best) {
                runnerUp = best;
                best = d;
                bestIndex = index;
                ties = 1;
            } else if (d == best) {
                ++ties;
                runnerUp = d;
            } else if (d < runnerUp) {
                runnerUp = d;
            }
        }
        double lower = runnerUp == INT_MAX ? std::numeric_limits<double>::infinity() : std::sqrt(double(runnerUp));
        if (next != end)
            lower = std::min(lower, std::sqrt(double(*next >> 8)) - ownDistance);
        // Equally near entries (and pure black) take the entry the search's own order gives.
        if (ties > 1 || rgb == 0) {
            bestIndex = search.Find(color[0], color[1], color[2]);
            lower = 0;
        }
        nearest_[i] = uint8_t(bestIndex);
        lower_[i] = lower;
    }
    return nearest_;
}

}  // namespace tamber::images
