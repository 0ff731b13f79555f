#include "images/MakeTexture.h"

#include <GL/gl.h>

#include <string>

#include "images/MediaFile.h"
#include "images/PixelConvert.h"

namespace tamber::images {
using namespace tamber::base;

Result<uint32_t> MakeTexture(MediaFile& file) {
    if (!file.loaded)
        file.transparency = Transparency::kApply;
    if (Status loaded = LoadImage(file); !loaded)
        return std::move(loaded).TakeError();
    const Image* image = &file.image;
    Image expanded;
    if (image->IsPaletted()) {
        expanded = *image;
        if (!Convert(expanded, image->format == kPixelPalettedAlpha ? kPixelRGBA : kPixelRGB))
            return Fail("the picture's palette cannot be expanded");
        image = &expanded;
    }
    if (image->format != kPixelGrey && image->format != kPixelRGB && image->format != kPixelRGBA)
        return Fail("only grey, RGB, RGBA and paletted pictures become textures");
    GLuint name = 0;
    glGenTextures(1, &name);
    if (name == 0)
        return Fail("OpenGL gave no texture name");
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // Rows have no padding: 3-byte and 1-byte rows need an alignment of one.
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    // The format codes are OpenGL's own: grey uploads as an alpha texture.
    GLenum format = GLenum(image->format);
    glTexImage2D(GL_TEXTURE_2D, 0, GLint(format), image->width, image->height, 0, format, GL_UNSIGNED_BYTE,
                 image->pixels.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    if (GLenum error = glGetError(); error != GL_NO_ERROR) {
        glDeleteTextures(1, &name);
        return Fail("OpenGL refused the texture (error " + std::to_string(error) + ")");
    }
    return uint32_t(name);
}

}  // namespace tamber::images
