#include <GL/gl.h>
#include <gtest/gtest.h>

#include "images/MakeTexture.h"
#include "images/MediaFile.h"
#include "images/PixelConvert.h"
#include "tests/images/ImageTestSupport.h"
#include "tests/ui/support/OffscreenGL.h"

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
    uint32_t name = MakeTexture(in);
    ASSERT_NE(name, 0u);
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
    name = MakeTexture(greyIn);
    ASSERT_NE(name, 0u);
    EXPECT_EQ(TextureBytes(name, GL_ALPHA, 9), grey.image.pixels);

    MediaFile missing(folder.File("missing.png"));
    EXPECT_EQ(MakeTexture(missing), 0u);
}

}  // namespace
