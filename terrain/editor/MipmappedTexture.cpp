#include "terrain/editor/MipmappedTexture.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <vector>

#include "terrain/editor/RgbMipmap.h"

namespace tamber::terrain::editor {
using namespace tamber::terrain::painting;

bool LoadMipmappedRgb(uint32_t texture, int width, int height, const uint8_t* rgb, bool repeat) {
    // Errors left by earlier calls are not this upload's.
    for (int i = 0; i < 8 && glGetError() != GL_NO_ERROR; ++i) {}
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    const GLint wrap = repeat ? GL_REPEAT : GL_CLAMP_TO_EDGE;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    // Every level down to 1 x 1, halved on the processor.
    std::vector<uint8_t> smaller;
    for (int level = 0;; ++level) {
        glTexImage2D(GL_TEXTURE_2D, level, GL_RGB, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb);
        if (width == 1 && height == 1)
            break;
        smaller = HalveRgb(rgb, width, height);
        rgb = smaller.data();
        width = std::max(1, width / 2), height = std::max(1, height / 2);
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    return glGetError() == GL_NO_ERROR;
}

}  // namespace tamber::terrain::editor
