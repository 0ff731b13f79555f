#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstdio>

#include "tests/ui/TestFont.h"
#include "tests/ui/support/OffscreenGL.h"
#include "ui/DrawBatch.h"
#include "ui/FontFile.h"
#include "ui/PieceQuads.h"
#include "ui/Skin.h"
#include "ui/TextLayout.h"

using namespace tamber::ui;

namespace {

// A piece whose every pixel is distinct, so any misplaced texel shows.
PieceImage Pattern(uint32_t id, int width, int height) {
    PieceImage image;
    image.id = id;
    image.width = uint16_t(width);
    image.height = uint16_t(height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.rgba.insert(image.rgba.end(), {uint8_t(x * 9 + id), uint8_t(y * 7), uint8_t(id * 40), 255});
    return image;
}

// The picture expected for a piece drawn at natural size with a mode: rotation
// clockwise first, then the mirrors.
uint32_t Expected(const PieceImage& image, int mode, int dx, int dy) {
    int w = (mode & kPieceRotate) ? image.height : image.width;
    int h = (mode & kPieceRotate) ? image.width : image.height;
    if (mode & kPieceMirrorX)
        dx = w - 1 - dx;
    if (mode & kPieceMirrorY)
        dy = h - 1 - dy;
    int sx = dx, sy = dy;
    if (mode & kPieceRotate) {
        sx = dy;
        sy = image.height - 1 - dx;
    }
    const uint8_t* p = &image.rgba[(size_t(sy) * image.width + sx) * 4];
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

class DrawingGL : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gl.Ok()) << gl.Error();
        Clear();
        SetDrawColor(255, 255, 255, 255);
    }
    // Clears and sets the program's face culling (clockwise fronts, backs culled), so
    // a quad wound the wrong way disappears.
    void Clear(uint8_t r = 0, uint8_t g = 0, uint8_t b = 0) {
        gl.Clear(r, g, b);
        glFrontFace(GL_CW);
        glCullFace(GL_BACK);
        glEnable(GL_CULL_FACE);
    }
    OffscreenGL gl{256, 128};
};

}  // namespace

TEST_F(DrawingGL, PiecesArePixelExactInEveryModeAcrossPagesAndRotatedStorage) {
    // 32-texel pages: a 30 x 8 piece fills most of a page, so the 6 x 28 piece that
    // follows is stored turned; the rest spill onto further pages.
    std::vector<PieceImage> images = {Pattern(1, 30, 8), Pattern(2, 6, 28), Pattern(3, 20, 20), Pattern(4, 0, 5),
                                      Pattern(5, 17, 9)};
    auto built = BuildTexturePack(images, 32);
    ASSERT_TRUE(built);
    EXPECT_GE(built->pagePixels.size(), 2u);
    bool anyRotated = false;
    for (const Piece& piece : built->pieces)
        anyRotated = anyRotated || (piece.flags & kPieceStoredRotated);
    EXPECT_TRUE(anyRotated);
    UploadedPack owned = UploadTexturePack(std::move(built));
    TexturePack* pack = owned.get();
    ASSERT_TRUE(pack);
    int w, h;
    GetPieceSize(FindPiece(pack, 4), w, h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 5);
    EXPECT_FALSE(FindPiece(pack, 99));

    for (int mode : {0, 2, 4, 8, 6, 14}) {
        Clear();
        int x = 2;
        for (const PieceImage& image : images) {
            const Piece* piece = FindPiece(pack, image.id);
            GetPieceSizeForMode(piece, mode, w, h);
            DrawPiece(pack, piece, x, 3, w, h, mode);
            x += w + 3;
        }
        // Side by side, the pieces of one page share a draw call.
        EXPECT_EQ(InterfaceBatch().Flush(), int(pack->pageTextures.size()));
        x = 2;
        for (const PieceImage& image : images) {
            GetPieceSizeForMode(FindPiece(pack, image.id), mode, w, h);
            for (int dy = 0; dy < h; ++dy)
                for (int dx = 0; dx < w; ++dx)
                    ASSERT_EQ(gl.Pixel(x + dx, 3 + dy), Expected(image, mode, dx, dy))
                        << "piece " << image.id << " mode " << mode << " at " << dx << "," << dy;
            x += w + 3;
        }
    }

    // Repeat mode tiles at natural size and cuts the last column and row.
    Clear();
    const Piece* tile = FindPiece(pack, 2);
    DrawPiece(pack, tile, 10, 10, 15, 40, kPieceRepeat);
    FlushDrawing();
    for (int dy = 0; dy < 40; dy += 3)
        for (int dx = 0; dx < 15; ++dx)
            ASSERT_EQ(gl.Pixel(10 + dx, 10 + dy), Expected(images[1], 0, dx % 6, dy % 28)) << dx << "," << dy;
    EXPECT_EQ(gl.Pixel(25, 10), 0x000000FFu);
}

TEST_F(DrawingGL, BatchKeepsTheOrderOfOverlappingQuadsAndJoinsTheRest) {
    std::vector<PieceImage> images;
    for (uint32_t id = 0; id < 3; ++id)
        images.push_back(Pattern(id, 20, 20));  // one per 20-texel page
    UploadedPack owned = UploadTexturePack(BuildTexturePack(images, 20));
    TexturePack* pack = owned.get();
    ASSERT_TRUE(pack);
    ASSERT_EQ(pack->pageTextures.size(), 3u);
    DrawBatch& batch = InterfaceBatch();

    // Apart, rows of pieces and fills from three pages share one draw per texture.
    for (int row = 0; row < 4; ++row) {
        for (uint32_t id = 0; id < 3; ++id)
            DrawPiece(pack, FindPiece(pack, id), 24 * int(id), 24 * row, 20, 20, 0);
        Skin::FillRect({72, 24 * row, 92, 24 * row + 20});
    }
    EXPECT_EQ(batch.QuadCount(), 16u);
    EXPECT_EQ(batch.Flush(), 4);
    EXPECT_EQ(batch.QuadCount(), 0u);
    EXPECT_EQ(gl.Pixel(24 * 2 + 5, 24 * 3 + 6), Expected(images[2], 0, 5, 6));
    EXPECT_EQ(gl.Pixel(80, 24 * 3 + 1), 0xFFFFFFFFu);

    // Stacked, every layer is drawn in turn: the last one shows, in its colour.
    Clear();
    for (int round = 0; round < 3; ++round)
        for (uint32_t id = 0; id < 3; ++id)
            DrawPiece(pack, FindPiece(pack, id), 0, 0, 20, 20, 0);
    SetDrawColor(0, 255, 0, 255);
    Skin::FillRect({5, 5, 10, 10});
    SetDrawColor(255, 255, 255, 255);
    DrawPiece(pack, FindPiece(pack, 0), 8, 8, 20, 20, 0);
    EXPECT_EQ(batch.Flush(), 11);
    EXPECT_EQ(gl.Pixel(15, 3), Expected(images[2], 0, 15, 3));
    EXPECT_EQ(gl.Pixel(6, 6), 0x00FF00FFu);
    EXPECT_EQ(gl.Pixel(9, 9), Expected(images[0], 0, 1, 1));

    // Quads without area are dropped; a full batch draws itself and starts again.
    Skin::FillRect({3, 3, 3, 30});
    EXPECT_EQ(batch.QuadCount(), 0u);
    for (size_t i = 0; i < DrawBatch::kMaxQuads + 5; ++i)
        Skin::FillRect({0, 0, 1, 1});
    EXPECT_EQ(batch.QuadCount(), 5u);
    batch.Flush();

    // Drawing leaves OpenGL's enables and current colour as they were.
    glColor4ub(10, 20, 30, 40);
    glEnable(GL_DEPTH_TEST);
    SetDrawColor(255, 0, 0, 255);
    Skin::FillRect({0, 0, 4, 4});
    DrawPiece(pack, FindPiece(pack, 1), 0, 0, 4, 4, 0);
    batch.Flush();
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[0], 10 / 255.0f);
    EXPECT_FLOAT_EQ(colour[3], 40 / 255.0f);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    glDisable(GL_DEPTH_TEST);
    SetDrawColor(255, 255, 255, 255);
    owned.reset();

    // An overlay on an earlier page than its base still lands on top: the arrow of a
    // drop-down button (packed first, page 0) over its face (page 1).
    PieceImage arrow = Pattern(kSkinDropdownArrow, 16, 16), face = Pattern(kSkinSmallButton, 16, 16);
    for (size_t i = 3; i < arrow.rgba.size(); i += 4)
        arrow.rgba[i] = (i / 4) % 16 == 8 ? 255 : 0;  // one opaque column
    owned = UploadTexturePack(BuildTexturePack({arrow, face}, 16));
    pack = owned.get();
    ASSERT_TRUE(pack);
    ASSERT_LT(FindPiece(pack, kSkinDropdownArrow)->page, FindPiece(pack, kSkinSmallButton)->page);
    Skin skin(pack);
    Clear();
    skin.DrawDropdownButton(Rect{0, 0, 16, 16}, false, false);
    FlushDrawing();
    EXPECT_EQ(gl.Pixel(8, 5), Expected(arrow, 0, 8, 5));
    EXPECT_EQ(gl.Pixel(3, 5), Expected(face, 0, 3, 5));
}

TEST_F(DrawingGL, TextDrawsGlyphsStylesAndShadow) {
    std::string path = testing::TempDir() + "test.tamberfont";
    std::vector<uint8_t> bytes = EncodeFont(*MakeTestFont());
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(file);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    UploadedFont owned = LoadFont(path);
    Font* font = owned.get();
    std::remove(path.c_str());
    ASSERT_TRUE(font);

    // Plain "a" is a 5 x 7 block whose top is 7 above the baseline at y 10 + 10.
    EXPECT_EQ(DrawText(font, "a|bb", 0, 0, Rect{20, 10, 200, 40}), 14);
    FlushDrawing();
    auto pixels = gl.ReadPixels();
    EXPECT_EQ(CountPixelsNot(pixels, 256, 20, 13, 25, 20, 0x000000), 35);
    EXPECT_EQ(CountPixelsNot(pixels, 256, 0, 0, 256, 128, 0x000000), 35 + 49);
    EXPECT_EQ(gl.Pixel(26, 19), 0xFFFFFFFFu);  // bold b from pen 26, 7 wide
    EXPECT_EQ(gl.Pixel(32, 19), 0xFFFFFFFFu);
    EXPECT_EQ(gl.Pixel(33, 19), 0x000000FFu);

    // The shadow lies one pixel right and down, black, under the text.
    Clear(0, 0, 255);
    DrawText(font, "a", 0, kTextShadow, Rect{20, 10, 200, 40});
    FlushDrawing();
    EXPECT_EQ(gl.Pixel(24, 19), 0xFFFFFFFFu);
    EXPECT_EQ(gl.Pixel(25, 20), 0x000000FFu);
    EXPECT_EQ(gl.Pixel(25, 12), 0x0000FFFFu);

    // Measuring draws nothing.
    Clear();
    EXPECT_EQ(DrawText(font, "abc", 0, kTextMeasureOnly, Rect{0, 0, 200, 40}), 18);
    pixels = gl.ReadPixels();
    EXPECT_EQ(CountPixelsNot(pixels, 256, 0, 0, 256, 128, 0x000000), 0);
}

TEST_F(DrawingGL, RealFontBoldCoversMoreThanPlain) {
    UploadedFont owned = LoadFont("res/kanterel.tamberfont");
    Font* font = owned.get();
    ASSERT_TRUE(font);
    auto lit = [&](const char* text) {
        Clear();
        DrawText(font, text, 0, 0, Rect{4, 4, 250, 40});
        FlushDrawing();
        auto pixels = gl.ReadPixels();
        return CountPixelsNot(pixels, 256, 0, 0, 256, 128, 0x000000);
    };
    int plain = lit("Hamburgefonts");
    int bold = lit("|bHamburgefonts");
    EXPECT_GT(plain, 100);
    EXPECT_GT(bold, plain + plain / 5);
    EXPECT_GT(lit("|iHamburgefonts"), 100);
    EXPECT_GT(lit("|oHamburgefonts"), plain);
}

TEST_F(DrawingGL, SkinFromTheRealTexturePack) {
    UploadedPack owned = LoadTexturePack("res/texturepack");
    TexturePack* pack = owned.get();
    ASSERT_TRUE(pack);
    Skin skin(pack);
    // Every piece the widgets ask for is in the pack.
    for (int id : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 18, 19, 20, 21, 22, 23, 25, 26, 27, 38, 39, 40,
                   43, 44, 45, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61, 62, 63, 64, 65, 66, 67, 68, 71, 74, 76})
        EXPECT_TRUE(skin.GetPiece(id)) << id;
    EXPECT_TRUE(skin.GetPiece(kSkinPanelA));
    EXPECT_TRUE(skin.GetPiece(kSkinPanelB));
    EXPECT_GT(skin.ThickBorder(), 0);
    EXPECT_EQ(skin.ThinBorder(), 1);
    EXPECT_EQ(skin.ScrollBarWidth(), Skin::kScrollArrowLength);

    // Up and pressed buttons look different; the face fills its rectangle.
    Clear(255, 0, 255);
    skin.DrawButtonFace(Rect{10, 10, 90, 30}, false);
    skin.DrawButtonFace(Rect{110, 10, 190, 30}, true);
    FlushDrawing();
    auto pixels = gl.ReadPixels();
    EXPECT_EQ(CountPixelsNot(pixels, 256, 12, 12, 88, 28, 0xFF00FF), 76 * 16);
    EXPECT_NE(gl.Pixel(50, 20), gl.Pixel(150, 20));
    // Four check-box states, all distinct.
    Clear();
    int size = skin.CheckBoxWidth();
    for (int state = 0; state < 4; ++state)
        skin.DrawCheckBox(Rect{10 + 30 * state, 50, 10 + 30 * state + size, 50 + size}, state);
    FlushDrawing();
    pixels = gl.ReadPixels();
    auto region = [&](int state) {
        std::vector<uint8_t> out;
        for (int y = 50; y < 50 + size; ++y)
            for (int x = 10 + 30 * state; x < 10 + 30 * state + size; ++x)
                out.insert(out.end(), &pixels[(y * 256 + x) * 4], &pixels[(y * 256 + x) * 4] + 4);
        return out;
    };
    for (int a = 0; a < 4; ++a)
        for (int b = a + 1; b < 4; ++b)
            EXPECT_NE(region(a), region(b)) << a << " " << b;
}

TEST_F(DrawingGL, SkinLooksTheSameOnSmallPages) {
    // Small pages put the skin on many pages, turn pieces in storage and split the
    // batch into many runs; none of that may show.
    auto drawAll = [&](const TexturePack* pack) {
        Skin skin(pack);
        Clear();
        skin.DrawPanelA(Rect{0, 0, 256, 128});
        Rect frame{8, 8, 200, 120};
        skin.DrawDropShadow(frame);
        skin.DrawPanelB(frame);
        skin.DrawFrameBorder(frame);
        Rect band{13, 13, 195, 35};
        skin.DrawTitleBar(band, true);
        for (int box = 0; box < 3; ++box)
            skin.DrawTitleBox(skin.TitleBoxRect(band, box), box, box == 1);
        skin.DrawDropdownButton(Rect{20, 40, 38, 58}, false, true);
        skin.DrawCheckBox(Rect{44, 40, 60, 56}, 1);
        skin.DrawExpandMark(Rect{64, 40, 80, 56}, false);
        skin.DrawTableHeader(Rect{20, 62, 180, 78}, false);
        skin.DrawSortMark(Rect{90, 62, 106, 78}, true);
        skin.DrawTab(Rect{20, 82, 80, 82 + skin.TabHeight()}, true);
        skin.DrawScrollBar(Rect{181, 35, 195, 115}, true, 20, 40, 1);
        skin.DrawScrollBar(Rect{20, 104, 180, 118}, false, 30, 50, 2);
        FlushDrawing();
        return gl.ReadPixels();
    };
    UploadedPack large = LoadTexturePack("res/texturepack");
    UploadedPack limited = LoadTexturePack("res/texturepack", 512);
    UploadedPack small = LoadTexturePack("res/texturepack", 64);
    ASSERT_TRUE(large && limited && small);
    EXPECT_EQ(limited->pageSide, 512);
    EXPECT_EQ(large->pageTextures.size(), 1u);
    EXPECT_GT(small->pageTextures.size(), 2u);
    std::vector<uint8_t> reference = drawAll(large.get());
    EXPECT_EQ(drawAll(limited.get()), reference);
    EXPECT_EQ(drawAll(small.get()), reference);
}

