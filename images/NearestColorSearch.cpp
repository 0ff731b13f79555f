#include "images/NearestColorSearch.h"

#include <algorithm>
#include <climits>

namespace tamber::images {

NearestColorSearch::NearestColorSearch(const uint8_t* palette, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* p = palette + i * 3;
        sorted_.push_back({p[0], p[1], p[2], p[0] + p[1] + p[2], i});
    }
    std::stable_sort(sorted_.begin(), sorted_.end(), [](const Entry& a, const Entry& b) { return a.sum < b.sum; });
    // Each sum starts at the first entry whose sum is not below it (the last entry past the end).
    int place = 0;
    int last = std::max(0, int(sorted_.size()) - 1);
    for (int sum = 0; sum <= 765; ++sum) {
        while (place < int(sorted_.size()) && sorted_[place].sum < sum)
            ++place;
        start_[sum] = std::min(place, last);
    }
}

uint32_t NearestColorSearch::Find(int r, int g, int b) const {
    if (sorted_.empty())
        return 0;
    int sum = r + g + b;
    int n = int(sorted_.size());
    if (sum == 0)
        return sorted_[start_[0]].index;
    int above = start_[sum];
    int below = above - 1;
    int best = INT_MAX;
    uint32_t bestIndex = sorted_[above].index;
    while (above < n || below >= 0) {
        int pick;
        if (above >= n) {
            pick = below--;
        } else if (below < 0) {
            pick = above++;
        } else {
            int da = sorted_[above].sum - sum;
            int db = sum - sorted_[below].sum;
            pick = std::abs(da) < std::abs(db) ? above++ : below--;
        }
        const Entry& e = sorted_[pick];
        int ds = e.sum - sum;
        if (best != INT_MAX && ds * ds > 3 * best)
            break;
        int dr = e.r - r, dg = e.g - g, db = e.b - b;
        int distance = dr * dr + dg * dg + db * db;
        if (distance < best) {
            best = distance;
            bestIndex = e.index;
        }
    }
    return bestIndex;
}

}  // namespace tamber::images
