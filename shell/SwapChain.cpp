#include "shell/SwapChain.h"

#include <GL/gl.h>
#include <cstring>
#include <ctime>

#include "platform/Os.h"

namespace tamber::shell {
using namespace tamber::platform;

int DetermineSwapChainLength() {
    glDrawBuffer(GL_BACK);
    glReadBuffer(GL_BACK);
    glDisable(GL_DEPTH_TEST);
    glViewport(0, 0, 1, 1);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 1, 1, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    uint32_t now = uint32_t(std::time(nullptr));
    uint8_t colour[4] = {uint8_t(now), uint8_t(now >> 8), uint8_t(now >> 16), 255};
    uint8_t reference[4] = {};
    for (int n = 1; n <= 3; ++n) {
        glColor4ub(colour[0], colour[1], colour[2], colour[3]);
        glBegin(GL_QUADS);
        glVertex2i(0, 0);
        glVertex2i(1, 0);
        glVertex2i(1, 1);
        glVertex2i(0, 1);
        glEnd();
        if (n == 1) glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, reference);
        OsSwapBuffers();
        uint8_t seen[4] = {};
        glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, seen);
        if (std::memcmp(seen, reference, 4) == 0) return n;
    }
    return 3;
}

}  // namespace tamber::shell
