#include "ui/SurfaceBuffer.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include "platform/Os.h"

namespace tamber::ui {
using namespace tamber::platform;

namespace {

// Framebuffer objects are core in OpenGL 3.0 and widely offered as an extension.
bool FramebuffersSupported() {
    static const bool supported = OsExtensionSupported("GL_ARB_framebuffer_object") ||
                                  OsExtensionSupported("GL_EXT_framebuffer_object") ||
                                  OsGetProcAddress("glGenFramebuffers") != nullptr;
    return supported;
}

}  // namespace

SurfaceBuffer::~SurfaceBuffer() { Release(); }

void SurfaceBuffer::Release() {
    if (framebuffer_) glDeleteFramebuffers(1, &framebuffer_);
    if (colour_) glDeleteRenderbuffers(1, &colour_);
    if (depth_) glDeleteRenderbuffers(1, &depth_);
    framebuffer_ = colour_ = depth_ = 0;
}

bool SurfaceBuffer::Resize(int width, int height) {
    if (width == width_ && height == height_ && framebuffer_) return true;
    Release();
    width_ = width;
    height_ = height;
    if (width <= 0 || height <= 0 || !FramebuffersSupported()) return false;
    glGenFramebuffers(1, &framebuffer_);
    glGenRenderbuffers(1, &colour_);
    glGenRenderbuffers(1, &depth_);
    glBindRenderbuffer(GL_RENDERBUFFER, colour_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, depth_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth_);
    bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    if (!complete) {
        Release();
        return false;
    }
    Bind();
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    return true;
}

void SurfaceBuffer::Bind() const { glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_); }

void SurfaceBuffer::PresentToBackBuffer() const {
    if (!framebuffer_) return;
    GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    glDisable(GL_SCISSOR_TEST);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glDrawBuffer(GL_BACK);
    glBlitFramebuffer(0, 0, width_, height_, 0, 0, width_, height_, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    if (scissor) glEnable(GL_SCISSOR_TEST);
}

}  // namespace tamber::ui
