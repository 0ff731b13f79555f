// How the mesh editor composes detail layers and the highlight tint on screen:
// triangles whose layers fade across them lie on a white base (the plain ground,
// which detail leaves as it is), so mid-grey detail textures leave the picture as it
// is with or without the tint, while a bright texture shows; and the processor-made
// mipmap levels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "editing/TagEditorRegistry.h"
#include "terrain/editor/DtexTag.h"
#include "terrain/editor/MeshEdit.h"
#include "terrain/editor/RgbMipmap.h"
#include "tests/support/DemoFolder.h"
#include "tests/terrain_editor/TerrainEditorSupport.h"
#include "tests/terrain_editor/ValleyEditor.h"
#include "tests/ui/support/UiTestDriver.h"

using namespace tamber::terrain;
using namespace tamber::terrain::editor;
using namespace tamber::terrain::painting;

namespace {

struct Difference {
    int changed = 0;  // pixels off by more than rounding in some channel
    int pixels = 0;
};

// Compares the view (the client area left of the palette) of two RGBA screens.
Difference Compare(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, const MeshEdit& edit) {
    Difference d;
    const Rect client = edit.Client();
    for (int y = client.top + 2; y < client.bottom - 2; ++y)
        for (int x = client.left + 2; x < client.right - MeshEdit::kPaletteWidth - 2; ++x) {
            const size_t at = (size_t(y) * 1024 + size_t(x)) * 4;
            bool off = false;
            for (size_t c = 0; c < 3; ++c) off = off || std::abs(int(a[at + c]) - int(b[at + c])) > 6;
            d.changed += off ? 1 : 0;
            ++d.pixels;
        }
    return d;
}

void FillTexture(DtexTag& tag, uint8_t value) { tag.SetPixels(SolidTexture(16, 16, value, value, value)); }

}  // namespace

TEST(MeshDrawing, FadedLayersLieOnAWhiteBase) {
    test_support::DemoFolder demo;
    ASSERT_TRUE(demo.Ok());
    test_support::RunOnValleyEditor([&](UiTestDriver& ui, MeshEdit* edit) {
        edit->Camera() = MeshCamera{-32, 40, 32, 0, -90};
        ASSERT_TRUE(edit->HasDetailMap());
        ui.key('`');  // the information overlay off: its text changes with the toggles
        // Two textured materials, the first two found.
        std::vector<int> textured;
        for (int m = 1; m < 128 && textured.size() < 2; ++m)
            if (edit->MaterialAt(m).texture) textured.push_back(m);
        ASSERT_EQ(textured.size(), 2u);

        // A checkerboard of the two materials: every triangle has both, faded across it.
        DetailGrid& vertex = edit->Painter().Working(BrushMode::kVertex);
        DetailGrid& triangle = edit->Painter().Working(BrushMode::kTriangle);
        for (int z = 0; z < vertex.height; ++z)
            for (int x = 0; x < vertex.width; ++x) vertex.At(x, z) = uint8_t(textured[size_t((x + z) & 1)]);
        std::fill(triangle.bytes.begin(), triangle.bytes.end(), 0);
        edit->DetailChanged(BrushMode::kVertex, GridRect{0, 0, vertex.width, vertex.height});
        auto screen = [&](bool details) {
            edit->SetDetailsShown(details);
            edit->InvalidateClient();
            ui.step();
            return ui.pixels();
        };

        for (DtexTag* tag : {edit->MaterialAt(textured[0]).texture, edit->MaterialAt(textured[1]).texture})
            FillTexture(*tag, 128);
        const std::vector<uint8_t> plain = screen(false);
        Difference neutral = Compare(plain, screen(true), *edit);
        ASSERT_GT(neutral.pixels, 100000);
        EXPECT_LT(neutral.changed, neutral.pixels / 200) << "mid-grey detail changed the ground";

        // The per-triangle tint is laid once over the layers, as over the plain ground.
        edit->SetHighlighting(true);
        ui.key(103 + 1);  // F7: Reflectivity
        ui.key(103 + 1);  // F7: Terrain Type
        ASSERT_EQ(edit->GetHighlightMode(), HighlightMode::kTerrainType);
        const std::vector<uint8_t> tinted = screen(false);
        EXPECT_GT(Compare(plain, tinted, *edit).changed, neutral.pixels / 2);
        neutral = Compare(tinted, screen(true), *edit);
        EXPECT_LT(neutral.changed, neutral.pixels / 200) << "the tint differs under faded layers";
        edit->SetHighlighting(false);

        // A bright texture on one material brightens the ground towards its points.
        FillTexture(*edit->MaterialAt(textured[0]).texture, 255);
        const std::vector<uint8_t> bright = screen(true);
        EXPECT_GT(Compare(plain, bright, *edit).changed, neutral.pixels / 4);
        int darker = 0;
        const Rect client = edit->Client();
        for (int y = client.top + 2; y < client.bottom - 2; ++y)
            for (int x = client.left + 2; x < client.right - MeshEdit::kPaletteWidth - 2; ++x) {
                const size_t at = (size_t(y) * 1024 + size_t(x)) * 4;
                darker += bright[at] + 4 < plain[at] ? 1 : 0;
            }
        EXPECT_EQ(darker, 0);
        edit->SetModified(0);
        edit->Close();
        ui.step();
    });
    SetTagEditorFactory(FourCC("mesh"), nullptr);
}

TEST(RgbMipmap, HalvesByTheMeanOfEachSquare) {
    // 4 x 2: two squares; odd and one-pixel sides.
    const std::vector<uint8_t> image = {0, 0, 0,   2, 4, 6,   10, 10, 10, 10, 10, 10,
                                        4, 8, 12,  6, 8, 10,  10, 10, 10, 11, 12, 13};
    EXPECT_EQ(HalveRgb(image.data(), 4, 2), (std::vector<uint8_t>{3, 5, 7, 10, 11, 11}));
    const std::vector<uint8_t> column = {0, 0, 0, 255, 255, 255, 7, 7, 7};
    EXPECT_EQ(HalveRgb(column.data(), 1, 3), (std::vector<uint8_t>{128, 128, 128}));
    const std::vector<uint8_t> one = {9, 8, 7};
    EXPECT_EQ(HalveRgb(one.data(), 1, 1), one);
}
