#include <GL/gl.h>
#include <gtest/gtest.h>
#include <png.h>

#include "images/MakeTexture.h"
#include "images/MediaFile.h"
#include "images/PixelConvert.h"
#include "tests/images/ImageTestSupport.h"
#include "tests/ui/support/OffscreenGL.h"

using namespace tamber::base;
using namespace tamber::images;

namespace {

std::vector<uint8_t> TextureBytes(uint32_t name, GLenum format, size_t size) {
    std::vector<uint8_t> bytes(size);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, bytes.data());
    return bytes;
}

TEST(MakeTexture, UploadsPalettedAndGreyPictures) {
    OffscreenGL gl(8, 8);
    if (!gl.Ok())
        GTEST_SKIP() << "no offscreen OpenGL context: " << gl.Error();
    ScratchFolder folder;

    // Paletted pictures are expanded through the palette; odd widths need byte-aligned rows.
    MediaFile paletted(folder.File("p.bmp"));
    paletted.image = MakeTestImage(kPixelPaletted, 5, 3);
    ASSERT_TRUE(SaveImage(paletted));
    Image expected = paletted.image;
    ASSERT_TRUE(Convert(expected, kPixelRGB));
    MediaFile in(paletted.path);
    Result<uint32_t> made = MakeTexture(in);
    ASSERT_TRUE(made) << made.error();
    uint32_t name = *made;
    EXPECT_EQ(TextureBytes(name, GL_RGB, expected.pixels.size()), expected.pixels);
    GLint minFilter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    EXPECT_EQ(minFilter, GL_LINEAR);
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4);

    // Grey goes up as it is, an alpha texture.
    MediaFile grey(folder.File("g.png"));
    grey.image = MakeTestImage(kPixelGrey, 3, 3);
    ASSERT_TRUE(SaveImage(grey));
    MediaFile greyIn(grey.path);
    made = MakeTexture(greyIn);
    ASSERT_TRUE(made);
    EXPECT_EQ(TextureBytes(*made, GL_ALPHA, 9), grey.image.pixels);

    // A palette with transparent entries becomes an RGBA texture that keeps them.
    const uint8_t colormap[8] = {255, 0, 0, 255, 0, 0, 255, 0};  // opaque red, clear blue
    const uint8_t indices[4] = {0, 1, 1, 0};
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = png.height = 2;
    png.format = PNG_FORMAT_RGBA | PNG_FORMAT_FLAG_COLORMAP;
    png.colormap_entries = 2;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&png, nullptr, &size, 0, indices, 0, colormap);
    std::vector<uint8_t> bytes(size);
    ASSERT_TRUE(png_image_write_to_memory(&png, bytes.data(), &size, 0, indices, 0, colormap));
    bytes.resize(size);
    ASSERT_TRUE(WriteFileBytes(folder.File("t.png"), bytes));
    MediaFile transparent(folder.File("t.png"));
    made = MakeTexture(transparent);
    ASSERT_TRUE(made) << made.error();
    EXPECT_EQ(TextureBytes(*made, GL_RGBA, 16),
              (std::vector<uint8_t>{255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 255, 0, 255, 0, 0, 255}));

    MediaFile missing(folder.File("missing.png"));
    EXPECT_FALSE(MakeTexture(missing));
}

}  // namespace
