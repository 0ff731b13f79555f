#include <gtest/gtest.h>

#include <random>

#include "ui/Atlas.h"
#include "ui/RectPacker.h"

using namespace tamber::ui;

namespace {

struct Box {
    int page, x, y, w, h;
};

Box Occupied(const PackSize& size, const PackPlacement& at) {
    return at.rotated ? Box{at.page, at.x, at.y, size.height, size.width} : Box{at.page, at.x, at.y, size.width, size.height};
}

void ExpectValidPacking(const std::vector<PackSize>& sizes, const std::vector<PackPlacement>& placements, int side) {
    ASSERT_EQ(sizes.size(), placements.size());
    std::vector<Box> boxes;
    for (size_t i = 0; i < sizes.size(); ++i) {
        if (sizes[i].width == 0 || sizes[i].height == 0)
            continue;
        Box b = Occupied(sizes[i], placements[i]);
        EXPECT_GE(b.x, 0);
        EXPECT_GE(b.y, 0);
        EXPECT_LE(b.x + b.w, side) << "piece " << i;
        EXPECT_LE(b.y + b.h, side) << "piece " << i;
        for (const Box& o : boxes)
            EXPECT_FALSE(o.page == b.page && b.x < o.x + o.w && o.x < b.x + b.w && b.y < o.y + o.h && o.y < b.y + b.h)
                << "piece " << i << " overlaps";
        boxes.push_back(b);
    }
}

}  // namespace

TEST(RectPacker, PacksManyRandomRectanglesWithoutOverlapAcrossPages) {
    std::mt19937 random(7);
    std::vector<PackSize> sizes;
    for (int i = 0; i < 600; ++i)
        sizes.push_back(PackSize{int(random() % 90) + 1, int(random() % 40) + 1});
    sizes.push_back(PackSize{0, 30});
    sizes.push_back(PackSize{12, 0});
    int pages = 0;
    auto placements = RectPacker::PackAll(sizes, 256, &pages);
    ASSERT_TRUE(placements);
    ExpectValidPacking(sizes, *placements, 256);
    EXPECT_GT(pages, 1);
    // Reasonably tight: total area over page area, with some slack.
    long area = 0;
    for (const PackSize& s : sizes)
        area += long(s.width) * s.height;
    EXPECT_LE(pages, area / (256 * 256) + 2);
}

TEST(RectPacker, TurnsTallPiecesAndRefusesOversizedOnes) {
    // A 512 page holding a 500-wide strip has room for a 400 x 10 piece only when turned.
    RectPacker packer(512);
    auto strip = packer.Insert(512, 500);
    ASSERT_TRUE(strip);
    auto tall = packer.Insert(10, 400);
    ASSERT_TRUE(tall);
    EXPECT_EQ(tall->page, 0);
    EXPECT_TRUE(tall->rotated);
    EXPECT_EQ(tall->y, 500);
    EXPECT_EQ(packer.PageCount(), 1);

    EXPECT_FALSE(packer.Insert(513, 10));
    EXPECT_FALSE(RectPacker::PackAll({{100, 100}, {600, 20}}, 512));
    auto zero = packer.Insert(0, 0);
    ASSERT_TRUE(zero);
    EXPECT_EQ(packer.PageCount(), 1);
}

TEST(Atlas, CopiesPixelsUprightAndTransposed) {
    // A 3 x 2 picture and a 1 x 4 picture in an 4-texel page: the second must turn.
    const uint8_t wide[] = {1, 2, 3, 4, 5, 6};
    const uint8_t tall[] = {7, 8, 9, 10};
    auto atlas = BuildAtlas({{3, 2, wide}, {1, 4, tall}, {0, 5, nullptr}}, 4, 1);
    ASSERT_TRUE(atlas);
    ASSERT_EQ(atlas->pages.size(), 1u);
    auto texel = [&](const PackPlacement& at, int px, int py) {
        int x = at.rotated ? at.x + py : at.x + px;
        int y = at.rotated ? at.y + px : at.y + py;
        return atlas->pages[at.page][y * 4 + x];
    };
    for (int py = 0; py < 2; ++py)
        for (int px = 0; px < 3; ++px)
            EXPECT_EQ(texel(atlas->placements[0], px, py), wide[py * 3 + px]);
    EXPECT_TRUE(atlas->placements[1].rotated);
    for (int py = 0; py < 4; ++py)
        EXPECT_EQ(texel(atlas->placements[1], 0, py), tall[py]);
}
