#include "ui/RectPacker.h"

#include <algorithm>
#include <cstdint>
#include <numeric>

namespace tamber::ui {

RectPacker::RectPacker(int pageSide) : side_(std::max(pageSide, 1)) {}

std::optional<RectPacker::Fit> RectPacker::FindFit(const Skyline& skyline, int width, int height) const {
    std::optional<Fit> best;
    int bestTop = 0;
    for (size_t i = 0; i < skyline.size(); ++i) {
        int x = skyline[i].x;
        if (x + width > side_)
            break;
        // The rectangle rests on the highest run it spans.
        int y = 0;
        int covered = 0;
        for (size_t j = i; j < skyline.size() && covered < width; ++j) {
            y = std::max(y, skyline[j].y);
            covered = skyline[j].x + skyline[j].width - x;
        }
        if (y + height > side_)
            continue;
        if (!best || y + height < bestTop) {
            best = Fit{i, x, y};
            bestTop = y + height;
        }
    }
    return best;
}

void RectPacker::Place(Skyline& skyline, const Fit& fit, int width, int height) {
    const int right = fit.x + width;
    Skyline next;
    next.reserve(skyline.size() + 2);
    for (size_t i = 0; i < fit.segment; ++i)
        next.push_back(skyline[i]);
    next.push_back(Segment{fit.x, fit.y + height, width});
    for (size_t i = fit.segment; i < skyline.size(); ++i) {
        const Segment& s = skyline[i];
        int end = s.x + s.width;
        if (end <= right)
            continue;
        int start = std::max(s.x, right);
        next.push_back(Segment{start, s.y, end - start});
    }
    // Merge neighbouring runs of equal height so the skyline stays short.
    skyline.clear();
    for (const Segment& s : next) {
        if (!skyline.empty() && skyline.back().y == s.y)
            skyline.back().width += s.width;
        else
            skyline.push_back(s);
    }
}

std::optional<PackPlacement> RectPacker::Insert(int width, int height) {
    if (width < 0 || height < 0)
        return std::nullopt;
    if (width == 0 || height == 0)
        return PackPlacement{0, 0, 0, false};
    auto tryPage = [&](size_t page) -> std::optional<PackPlacement> {
        Skyline& skyline = pages_[page];
        std::optional<Fit> upright = FindFit(skyline, width, height);
        std::optional<Fit> turned = width != height ? FindFit(skyline, height, width) : std::nullopt;
        bool useTurned = turned && (!upright || turned->y + width < upright->y + height);
        if (!upright && !turned)
            return std::nullopt;
        const Fit& fit = useTurned ? *turned : *upright;
        Place(skyline, fit, useTurned ? height : width, useTurned ? width : height);
        return PackPlacement{static_cast<int>(page), fit.x, fit.y, useTurned};
    };
    for (size_t page = 0; page < pages_.size(); ++page)
        if (auto placed = tryPage(page))
            return placed;
    // A square page takes a rectangle in either orientation or in neither.
    if (width > side_ || height > side_)
        return std::nullopt;
    pages_.push_back(Skyline{Segment{0, 0, side_}});
    if (auto placed = tryPage(pages_.size() - 1))
        return placed;
    pages_.pop_back();
    return std::nullopt;
}

std::optional<std::vector<PackPlacement>> RectPacker::PackAll(const std::vector<PackSize>& sizes, int pageSide,
                                                              int* pageCount) {
    std::vector<size_t> order(sizes.size());
    std::iota(order.begin(), order.end(), size_t{0});
    auto key = [&](size_t i) { return std::max(sizes[i].width, sizes[i].height); };
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        if (key(a) != key(b))
            return key(a) > key(b);
        return int64_t{sizes[a].width} * sizes[a].height > int64_t{sizes[b].width} * sizes[b].height;
    });
    RectPacker packer(pageSide);
    std::vector<PackPlacement> placements(sizes.size());
    for (size_t i : order) {
        auto placed = packer.Insert(sizes[i].width, sizes[i].height);
        if (!placed)
            return std::nullopt;
        placements[i] = *placed;
    }
    if (pageCount)
        *pageCount = packer.PageCount();
    return placements;
}

}  // namespace tamber::ui
