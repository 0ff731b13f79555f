#pragma once
// Packs rectangles into square pages of a fixed side. A rectangle may be turned by
// 90 degrees when that fits better; a new page opens whenever one does not fit into
// the pages already open. Rectangles of zero width or height take no space.
#include <optional>
#include <vector>

namespace tamber::ui {

struct PackSize {
    int width = 0;
    int height = 0;
};

struct PackPlacement {
    int page = 0;
    int x = 0;
    int y = 0;
    // Stored turned: the rectangle occupies height x width in its page.
    bool rotated = false;
};

class RectPacker {
public:
    explicit RectPacker(int pageSide);

    // Places one rectangle; nothing when it is larger than a page in both orientations.
    std::optional<PackPlacement> Insert(int width, int height);
    int PageCount() const { return static_cast<int>(pages_.size()); }
    int PageSide() const { return side_; }

    // Packs a whole set, largest first for a tight result; placements come back in the
    // order of the input. Nothing when any rectangle cannot be placed.
    static std::optional<std::vector<PackPlacement>> PackAll(const std::vector<PackSize>& sizes, int pageSide,
                                                             int* pageCount = nullptr);

private:
    // Skyline of one page: runs of equal height, left to right, covering the side.
    struct Segment {
        int x;
        int y;
        int width;
    };
    using Skyline = std::vector<Segment>;

    struct Fit {
        size_t segment;
        int x;
        int y;
    };
    std::optional<Fit> FindFit(const Skyline& skyline, int width, int height) const;
    static void Place(Skyline& skyline, const Fit& fit, int width, int height);

    int side_;
    std::vector<Skyline> pages_;
};

}  // namespace tamber::ui
