#include <gtest/gtest.h>

#include "terrain/editor/DetailImages.h"

using namespace tamber::base;
using namespace tamber::images;
using namespace tamber::terrain::painting;

namespace {

HighlightTable Colours() {
    HighlightTable table{};
    for (size_t i = 0; i < table.size(); ++i) table[i] = uint8_t(i * 7);
    return table;
}

}  // namespace

TEST(DetailImages, ExportImportRoundTripsBothModes) {
    for (BrushMode mode : {BrushMode::kVertex, BrushMode::kTriangle}) {
        DetailGrid grid = DetailGrid::Make(mode, 32, 64);
        for (size_t i = 0; i < grid.bytes.size(); ++i) grid.bytes[i] = uint8_t((i * 37 + i / 5) % 128);
        Image image = ExportDetailImage(grid, mode, 32, 64, Colours());
        ASSERT_EQ(image.width, 256);
        ASSERT_EQ(image.height, 512);
        EXPECT_EQ(image.format, kPixelPaletted);
        EXPECT_EQ(image.palette[30], 210);
        DetailGrid back = DetailGrid::Make(mode, 32, 64);
        Result<DetailImport> imported = ImportDetailImage(image, mode, 32, 64, PaintValue{}, back);
        ASSERT_TRUE(imported);
        EXPECT_TRUE(imported->perfect);
        EXPECT_EQ(back.bytes, grid.bytes);
        EXPECT_EQ(ImportedHighlightColours(image), Colours());
    }
}

TEST(DetailImages, RowsAreMirroredAndTrianglesSplitAlongTheDiagonal) {
    DetailGrid vertex = DetailGrid::Make(BrushMode::kVertex, 32, 32);
    vertex.At(0, 0) = 3;
    Image image = ExportDetailImage(vertex, BrushMode::kVertex, 32, 32, Colours());
    EXPECT_EQ(image.pixels[255], 3);  // point 0 sits at the right end of the row
    EXPECT_EQ(image.pixels[0], 0);

    DetailGrid triangles = DetailGrid::Make(BrushMode::kTriangle, 32, 32);
    triangles.At(0, 0) = 1, triangles.At(1, 0) = 2;  // cell (0, 0) is even
    triangles.At(2, 0) = 3, triangles.At(3, 0) = 4;  // cell (1, 0) is odd
    Image split = ExportDetailImage(triangles, BrushMode::kTriangle, 32, 32, Colours());
    auto pixel = [&](int x, int y) { return split.pixels[size_t(y) * 256 + size_t(255 - x)]; };
    EXPECT_EQ(pixel(0, 0), 2);  // even, row 0: all second triangle
    EXPECT_EQ(pixel(2, 3), 1);  // even, row 3: three pixels of the first
    EXPECT_EQ(pixel(3, 3), 2);
    EXPECT_EQ(pixel(8 + 7, 0), 3);  // odd, row 0: all first triangle
    EXPECT_EQ(pixel(8 + 4, 4), 4);  // odd, row 4: four of the first, then the second
    EXPECT_EQ(pixel(8 + 3, 4), 3);
}

TEST(DetailImages, MajorityRuleLocksAndRefusals) {
    DetailGrid grid = DetailGrid::Make(BrushMode::kVertex, 32, 32);
    grid.At(2, 2) = 50;  // locked material: spared
    Image image = ExportDetailImage(DetailGrid::Make(BrushMode::kVertex, 32, 32), BrushMode::kVertex, 32, 32, Colours());
    auto block = [&](int x, int z, int px, int row) -> uint8_t& {
        return image.pixels[size_t(z * 8 + row) * 256 + size_t(255 - (x * 8 + px))];
    };
    for (int i = 0; i < 64; ++i) block(1, 1, i % 8, i / 8) = i < 40 ? 9 : 200;  // mixed: 9 wins
    for (int i = 0; i < 64; ++i) block(3, 1, i % 8, i / 8) = 200;             // cut to 127
    for (int i = 0; i < 64; ++i) block(2, 2, i % 8, i / 8) = 5;
    for (int i = 0; i < 64; ++i) block(4, 1, i % 8, i / 8) = i < 32 ? 20 : 10;  // tie: the lower
    MaterialLocks locks;
    locks.set(50);
    Result<DetailImport> imported = ImportDetailImage(image, BrushMode::kVertex, 32, 32, PaintValue{0, &locks}, grid);
    ASSERT_TRUE(imported);
    EXPECT_FALSE(imported->perfect);
    EXPECT_EQ(grid.At(1, 1), 9);
    EXPECT_EQ(grid.At(3, 1), 127);
    EXPECT_EQ(grid.At(2, 2), 50);
    EXPECT_EQ(grid.At(4, 1), 10);

    const DetailGrid kept = grid;
    Image small;
    ASSERT_TRUE(CreateImage(small, 248, 256, kPixelPaletted));
    Result<DetailImport> wrongSize = ImportDetailImage(small, BrushMode::kVertex, 32, 32, PaintValue{}, grid);
    ASSERT_FALSE(wrongSize);
    EXPECT_EQ(wrongSize.error(), "Image dimensions (248,256) do not match mesh dimensions (256,256)");
    DetailGrid triangles = DetailGrid::Make(BrushMode::kTriangle, 32, 32);
    EXPECT_EQ(ImportDetailImage(small, BrushMode::kTriangle, 32, 32, PaintValue{}, triangles).error(),
              "Image dimensions (248,256) do not match expected dimensions (256,256)");
    Image rgb;
    ASSERT_TRUE(CreateImage(rgb, 256, 256, kPixelRGB));
    EXPECT_EQ(ImportDetailImage(rgb, BrushMode::kVertex, 32, 32, PaintValue{}, grid).error(),
              "Image must be 8-bit paletted or greyscale.");
    EXPECT_EQ(grid.bytes, kept.bytes);

    Image grey;
    ASSERT_TRUE(CreateImage(grey, 256, 256, kPixelGrey));
    EXPECT_TRUE(ImportDetailImage(grey, BrushMode::kVertex, 32, 32, PaintValue{}, grid));
    EXPECT_EQ(ImportedHighlightColours(grey)[3 * 77 + 1], 77);
}
