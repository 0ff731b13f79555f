#include "ui/TamberGL.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstring>

#include "platform/Os.h"

namespace tamber::ui {
using namespace tamber::platform;

namespace {

struct Capabilities {
    bool nonPowerOfTwo = false;
    bool anisotropic = false;
    bool intel = false;
    GLMultiTexCoord2fProc multiTexCoord2f = nullptr;
    GLActiveTextureProc activeTexture = nullptr;
    GLAddSwapHintRectProc addSwapHintRect = nullptr;
};
Capabilities gCaps;

}  // namespace

void TamberGL_Init() {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    OsSwapBuffers();
    gCaps.multiTexCoord2f = reinterpret_cast<GLMultiTexCoord2fProc>(OsGetProcAddress("glMultiTexCoord2f"));
    gCaps.activeTexture = reinterpret_cast<GLActiveTextureProc>(OsGetProcAddress("glActiveTexture"));
    gCaps.addSwapHintRect = reinterpret_cast<GLAddSwapHintRectProc>(OsGetProcAddress("glAddSwapHintRectWIN"));
    gCaps.nonPowerOfTwo = OsExtensionSupported("GL_ARB_texture_non_power_of_two");
    gCaps.anisotropic = OsExtensionSupported("GL_EXT_texture_filter_anisotropic");
    const char* vendor = reinterpret_cast<const char*>(glGetString(GL_VENDOR));
    gCaps.intel = vendor && std::strstr(vendor, "Intel");
    glFrontFace(GL_CW);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
}

bool HasNonPowerOfTwoTextures() { return gCaps.nonPowerOfTwo; }
bool HasAnisotropicFiltering() { return gCaps.anisotropic; }
bool HasIntelVendor() { return gCaps.intel; }
GLMultiTexCoord2fProc GetMultiTexCoord2f() { return gCaps.multiTexCoord2f; }
GLActiveTextureProc GetActiveTexture() { return gCaps.activeTexture; }
GLAddSwapHintRectProc GetAddSwapHintRect() { return gCaps.addSwapHintRect; }

int AtlasPageSide() {
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    return std::clamp(int(maxSize), 64, 1024);
}

std::vector<uint32_t> UploadAtlasPages(const std::vector<std::vector<uint8_t>>& pages, int side, bool alphaOnly) {
    std::vector<uint32_t> textures(pages.size());
    if (pages.empty())
        return textures;
    glPushAttrib(GL_TEXTURE_BIT);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glGenTextures(GLsizei(textures.size()), textures.data());
    const GLint filter = alphaOnly ? GL_LINEAR : GL_NEAREST;
    const GLenum format = alphaOnly ? GL_ALPHA : GL_RGBA;
    for (size_t i = 0; i < pages.size(); ++i) {
        glBindTexture(GL_TEXTURE_2D, textures[i]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
        glTexImage2D(GL_TEXTURE_2D, 0, GLint(format), side, side, 0, format, GL_UNSIGNED_BYTE, pages[i].data());
    }
    glPopClientAttrib();
    glPopAttrib();
    return textures;
}

void DeleteTextures(std::vector<uint32_t>& textures) {
    if (!textures.empty())
        glDeleteTextures(GLsizei(textures.size()), textures.data());
    textures.clear();
}

}  // namespace tamber::ui
